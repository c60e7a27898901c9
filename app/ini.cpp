#include "ini.h"

#include "bookmarkfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

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

// Whether the program runs from a copy installed on the system, looked at
// where the folder really is.
bool installedCopy(const QString &programFolder)
{
#ifdef Q_OS_UNIX
    const QString real = QFileInfo(programFolder).canonicalFilePath();
    struct stat status;
    if (real.isEmpty() || ::stat(QFile::encodeName(real).constData(), &status) != 0)
        return false;
    return ini::isInstalledFolder(real, {status.st_uid == 0, (status.st_mode & S_IWOTH) != 0}, ini::systemFolders(),
                                  ini::PathRules::Unix);
#else
    return ini::isInstalledFolder(QFileInfo(programFolder).absoluteFilePath(), {true, false}, ini::systemFolders(),
                                  ini::PathRules::Windows);
#endif
}

// Makes the user's data folder when it is not there and leaves it to its
// owner alone (0700 whatever the umask), then looks at what came of it: a
// folder of this user's, not a link, that nobody else may enter. One of the
// user's made open before (by an earlier version, or on the way to the web
// profile's folder inside it) is closed too.
bool makePrivateFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    QDir().mkpath(QFileInfo(folder).absolutePath());
    QDir().mkdir(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QByteArray native = QFile::encodeName(folder);
    struct stat status;
    if (::lstat(native.constData(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != geteuid())
        return false;
    if ((status.st_mode & 07777) != S_IRWXU && ::chmod(native.constData(), S_IRWXU) != 0)
        return false;
    return ::lstat(native.constData(), &status) == 0 && (status.st_mode & 07777) == S_IRWXU;
#else
    // The user's own profile folder already keeps other accounts out.
    QDir().mkpath(folder);
    return QFileInfo(folder).isDir();
#endif
}
}

QString ini::bookmarkPathIn(const QString &programFolder)
{
    return QDir::toNativeSeparators(programFolder) + QDir::separator() + QStringLiteral("bookmark.dat");
}

bool ini::isInstalledFolder(const QString &folder, FolderOwner owner, const QStringList &systemFolders, PathRules rules)
{
    if (!owner.root || owner.othersMayWrite)
        return false;
    const bool windows = rules == PathRules::Windows;
    const Qt::CaseSensitivity sensitivity = windows ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const auto clean = [windows](QString path) {
        if (windows)
            path.replace(u'\\', u'/');
        return QDir::cleanPath(path);
    };
    const QString path = clean(folder);
    for (const QString &system : systemFolders) {
        if (system.isEmpty())
            continue;
        const QString top = clean(system);
        if (path.compare(top, sensitivity) == 0)
            return true;
        // Inside it, not only named alike: "/usr2" is not inside "/usr".
        if (path.startsWith(top, sensitivity) && (top.endsWith(u'/') || path.at(top.size()) == u'/'))
            return true;
    }
    return false;
}

QStringList ini::systemFolders()
{
#ifdef Q_OS_WIN
    QStringList folders;
    for (const char *name : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"})
        folders << qEnvironmentVariable(name);
    return folders;
#else
    return {QStringLiteral("/usr"), QStringLiteral("/opt"), QStringLiteral("/bin"), QStringLiteral("/sbin"),
            QStringLiteral("/snap")};
#endif
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
    // An installed copy never writes beside itself, whoever runs it: root's
    // bookmarks there would start every other account's. Otherwise both the
    // file and its lock are made beside it, so the folder must take new
    // files, not only the file take changes.
    const bool installed = installedCopy(programFolder);
    if (!installed && (canWriteIn(programFolder) || own.isEmpty())) {
        BookmarkFilePath = beside;
        return;
    }
    if (own.isEmpty()) {
        // Nowhere of the user's own: every change reports that it cannot be made.
        BookmarkFilePath.clear();
        return;
    }
    if (!makePrivateFolder(own))
        qWarning("The bookmark folder %s cannot be made private to its user",
                 qPrintable(QDir::toNativeSeparators(own)));
    BookmarkFilePath = ini::bookmarkPathIn(own);
    // Failing that, the file is made by the first bookmark added, and a
    // failure there is reported.
    bookmarkfile::seed(BookmarkFilePath, beside);
}
