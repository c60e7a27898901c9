#include "safefile.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// The safe file on Unix: opened without following a link at the end of the
// path and without waiting on a pipe, then asked through its descriptor what
// it is and whose, so that nothing can be swapped in between.
namespace bookmarkfile::safefile {

namespace {

// The name of the account `uid`, or its number when it has none.
QString accountName(uid_t uid)
{
    passwd entry{};
    passwd *found = nullptr;
    char buffer[4096];
    return getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found
        ? QString::fromLocal8Bit(found->pw_name)
        : QString::number(uid);
}

// Why what stands at `path`, as `status` describes it, may not be used; empty
// when it may: an ordinary file with no other name (a hard link makes it
// another file's too), of this user's or root's. One with no name at all has
// just been replaced or removed, as a lock is when its owner lets it go.
QString whyNotUsable(const QString &path, const struct stat &status, Purpose purpose)
{
    if (!S_ISREG(status.st_mode) || status.st_nlink > 1)
        return refusal(path, purpose);
    if (status.st_uid != ::geteuid() && status.st_uid != 0)
        return refusal(path, purpose, accountName(status.st_uid));
    return {};
}

// Opens `path` with `flags`, asks what it opened (see whyNotUsable) and
// hands it to `file` in `mode`. False when nothing stands at `path` (and
// `flags` does not make it) or on a failure, which `result` says.
bool openOrdinary(const QString &path, int flags, QIODevice::OpenMode mode, Purpose purpose, Result &result,
                  QFile &file, Standing *standing = nullptr)
{
    const int fd =
        ::open(QFile::encodeName(path).constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT && !(flags & O_CREAT))
            return false;   // nothing there: no records, and no failure
        // A link at the end of the path (ELOOP, EMLINK on some systems), a
        // pipe nobody reads (ENXIO), a folder opened for writing.
        const bool planted = error == ELOOP || error == EMLINK || error == ENXIO || error == EISDIR;
        result.error = planted ? refusal(path, purpose) : qt_error_string(error);
        return false;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0) {
        result.error = qt_error_string(errno);
    } else if (QString why = whyNotUsable(path, status, purpose); !why.isEmpty()) {
        result.error = why;
    } else if (const int state = ::fcntl(fd, F_GETFL);
               state == -1 || ::fcntl(fd, F_SETFL, state & ~O_NONBLOCK) != 0) {
        // An ordinary file: from here on reads and writes wait as usual.
        result.error = qt_error_string(errno);
    } else if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        result.error = file.errorString();
    } else {
        if (standing)
            *standing = {true, status.st_uid, status.st_gid, status.st_mode & 07777u};
        return true;
    }
    ::close(fd);
    return false;
}

// Gives the new file of a rewrite the owner, group and mode of the file it
// replaces, so that a delete run by root does not lock the owner out. A
// process that may not give a file away keeps at least the group where it
// may; what it may not set stays as made. Without an old file, `newFile`
// Private leaves the new one to its owner alone whatever the umask.
void keepOwnership(int fd, const Standing &old, NewFile newFile)
{
    if (!old.exists) {
        if (newFile == NewFile::Private && fchmod(fd, S_IRUSR | S_IWUSR) != 0) {
            // The folder it is made in is its owner's alone as well.
        }
        return;
    }
    if (fchown(fd, old.owner, old.group) != 0 && fchown(fd, uid_t(-1), old.group) != 0) {
        // Neither is ours to set.
    }
    // After the owner: a change of owner clears the set-ID bits.
    if (fchmod(fd, old.mode) != 0) {
        // The mode it was made with stays.
    }
}

// A new file beside `path` for one rewrite, made by this call and by no one
// else (O_EXCL: nothing that stands there, a link included, is opened);
// `name` is its path. -1 on a failure, with errno set.
int makeTemporary(const QString &path, QByteArray &name)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = QFile::encodeName(path) + '.'
            + QByteArray::number(QRandomGenerator::global()->generate64() & 0xffffffffffff, 36);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool openToRead(const QString &path, Purpose purpose, Result &result, QFile &file, Standing *standing)
{
    return openOrdinary(path, O_RDONLY, QIODevice::ReadOnly, purpose, result, file, standing);
}

Result append(const QString &path, const QByteArray &bytes)
{
    // Unbuffered: the record goes to the kernel in one write, and O_APPEND
    // puts it at the end of the file as it is at that moment.
    Result result;
    QFile file;
    constexpr QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered;
    if (!openOrdinary(path, O_WRONLY | O_APPEND | O_CREAT, mode, Purpose::Change, result, file))
        return result;
    // Nobody else can have appended meanwhile, so the bytes past this are all ours.
    const qint64 before = file.size();
    writeAll(file, bytes, result.error);
    if (!result.ok() && file.size() != before && !file.resize(before))
        result.error = withLeftOver(result.error, file.errorString());
    return result;
}

Result replace(const QString &path, const QByteArray &bytes, const Standing &old, NewFile newFile)
{
    QByteArray temporary;
    const int fd = makeTemporary(path, temporary);
    if (fd < 0)
        return {qt_error_string(errno)};
    keepOwnership(fd, old, newFile);
    Result result;
    {
        // Unbuffered, so that every write reports what it really wrote.
        QFile file;
        if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            result.error = file.errorString();
        } else if (writeAll(file, bytes, result.error) == bytes.size() && ::fsync(fd) != 0) {
            // On the disk before it takes the old file's place.
            result.error = qt_error_string(errno);
        }
    }
    if (result.ok() && ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0)
        result.error = qt_error_string(errno);
    if (!result.ok())
        ::unlink(temporary.constData());
    return result;
}

bool openInstalled(const QString &source, QFile &file)
{
    const int fd =
        ::open(QFile::encodeName(source).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == 0
        && (status.st_mode & (S_IWGRP | S_IWOTH)) == 0 && status.st_size <= SeedLimit
        && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

QString refusedLock(const QString &path)
{
    // The link itself is looked at, never followed; nothing there (or
    // nothing this process may see) is QLockFile's to make.
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? whyNotUsable(path, status, Purpose::Lock)
                                                                      : QString();
}

void failWritesPastSizeLimit()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace bookmarkfile::safefile
