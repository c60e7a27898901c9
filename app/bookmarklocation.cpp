#include "bookmarklocation.h"

#include "bookmarkfile.h"
#include "privatefolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
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
    return bookmarklocation::isInstalledFolder(real, {status.st_uid == 0, (status.st_mode & S_IWOTH) != 0}, bookmarklocation::systemFolders(),
                                  bookmarklocation::PathRules::Unix);
#else
    return bookmarklocation::isInstalledFolder(QFileInfo(programFolder).absoluteFilePath(), {true, false}, bookmarklocation::systemFolders(),
                                  bookmarklocation::PathRules::Windows);
#endif
}

}

QString bookmarklocation::bookmarkPathIn(const QString &programFolder)
{
    return QDir::toNativeSeparators(programFolder) + QDir::separator() + QStringLiteral("bookmark.dat");
}

bool bookmarklocation::isInstalledFolder(const QString &folder, FolderOwner owner, const QStringList &systemFolders, PathRules rules)
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

QStringList bookmarklocation::systemFolders()
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

QString SetBookmarkPath(const QString &programFolder)
{
    const QString beside = bookmarklocation::bookmarkPathIn(programFolder);
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // An installed copy never writes beside itself, whoever runs it: root's
    // bookmarks there would start every other account's. Otherwise both the
    // file and its lock are made beside it, so the folder must take new
    // files, not only the file take changes.
    const bool installed = installedCopy(programFolder);
    if (!installed && (canWriteIn(programFolder) || own.isEmpty()))
        return beside;
    // Nowhere of the user's own: every change reports that it cannot be made.
    if (own.isEmpty())
        return {};
    // The user's data folder, private to its owner (0700 whatever the umask);
    // one of the user's made open before is closed too.
    if (const QString problem = privatefolder::make(own); !problem.isEmpty())
        qWarning("The bookmark folder cannot be made private to its user: %s", qPrintable(problem));
    const QString path = bookmarklocation::bookmarkPathIn(own);
    // Failing that, the file is made by the first bookmark added, and a
    // failure there is reported; so is something planted in its place, by
    // the bookmark window and the first bookmark added.
    if (const bookmarkfile::Result seeded = bookmarkfile::seed(path, beside); !seeded.ok())
        qWarning("%s", qPrintable(seeded.error));
    return path;
}
