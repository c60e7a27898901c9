#include "privatefolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("privatefolder", text);
}

constexpr QFile::Permissions OwnerOnly =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
} // namespace

QString privatefolder::make(const QString &path)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    // The folders to make, outermost first.
    QStringList missing;
    for (QString at = clean; !QFileInfo(at).exists(); at = QFileInfo(at).path()) {
        if (QFileInfo(at).path() == at)
            break;
        missing.prepend(at);
    }
    for (const QString &folder : missing) {
        if (!QDir().mkdir(folder, OwnerOnly) && !QFileInfo(folder).isDir())
            return tr("The folder %1 could not be made.").arg(QDir::toNativeSeparators(folder));
    }
    return check(clean);
}

QString privatefolder::check(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
#ifdef Q_OS_UNIX
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return tr("The folder %1 is missing.").arg(shown);
    if (S_ISLNK(status.st_mode))
        return tr("The folder %1 is a link to another place.").arg(shown);
    if (!S_ISDIR(status.st_mode))
        return tr("%1 is not a folder.").arg(shown);
    if (status.st_uid != ::geteuid())
        return tr("The folder %1 belongs to another user.").arg(shown);
    if ((status.st_mode & 077) != 0) {
        if (::chmod(QFile::encodeName(path).constData(), 0700) != 0 || ::lstat(QFile::encodeName(path).constData(), &status) != 0
            || (status.st_mode & 077) != 0)
            return tr("The folder %1 is open to other users and could not be closed to them.").arg(shown);
    }
    return QString();
#else
    const QFileInfo info(path);
    if (info.isSymLink() || info.isJunction())
        return tr("The folder %1 is a link to another place.").arg(shown);
    if (!info.isDir())
        return tr("%1 is not a folder.").arg(shown);
    return QString();
#endif
}
