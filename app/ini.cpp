#include "ini.h"

#include <QCoreApplication>
#include <QDir>

QString BookmarkFilePath;

namespace {
QString &programFolderOverride()
{
    static QString folder;
    return folder;
}
}

QString ini::bookmarkPathIn(const QString &programFolder)
{
    return QDir::toNativeSeparators(programFolder) + QDir::separator() + QStringLiteral("bookmark.dat");
}

void ini::setProgramFolderForTesting(const QString &folder)
{
    programFolderOverride() = folder;
}

void SetBookmarkPath()
{
    const QString &override = programFolderOverride();
    BookmarkFilePath = ini::bookmarkPathIn(override.isEmpty() ? QCoreApplication::applicationDirPath()
                                                               : override);
}
