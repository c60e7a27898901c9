#include "ini.h"

#include "bookmarkfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

QString BookmarkFilePath;

namespace {
QString &programFolderOverride()
{
    static QString folder;
    return folder;
}

// Whether this process can make files in `folder`. Tried for real: only that
// answers alike for permissions, access lists, read-only mounts and a folder
// that is not there.
bool canWriteIn(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("bookmark.dat.XXXXXX")));
    return probe.open();
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
    const QString programFolder = override.isEmpty() ? QCoreApplication::applicationDirPath() : override;
    const QString beside = ini::bookmarkPathIn(programFolder);
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // Both the file and its lock are made beside it, so the folder must take
    // new files, not only the file take changes.
    if (canWriteIn(programFolder) || own.isEmpty()) {
        BookmarkFilePath = beside;
        return;
    }
    QDir().mkpath(own);
    BookmarkFilePath = ini::bookmarkPathIn(own);
    // Failing that, the file is made by the first bookmark added, and a
    // failure there is reported.
    bookmarkfile::seed(BookmarkFilePath, beside);
}
