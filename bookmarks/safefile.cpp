#include "safefile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>

namespace bookmarkfile::safefile {

namespace {

// How long an operation waits for another process to finish with the file:
// far longer than any change takes, short enough for a person to wait.
constexpr int ProgramLockWait = 5000;
int lockWait = ProgramLockWait;
// Shorter than the wait, so that a waiter outlasts a lock without an owner.
constexpr int StaleLockTime = 3000;

// In the context lupdate gives the texts here.
QString tr(const char *text)
{
    return QCoreApplication::translate("bookmarkfile::safefile", text);
}

// QLockFile does not say why it could not make its file; making one in its
// place does.
QString whyNoLock(const QString &lockPath)
{
    QFile probe(lockPath);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return probe.errorString();
    probe.remove();
    return tr("The bookmark file cannot be locked: %1 cannot be written.").arg(QDir::toNativeSeparators(lockPath));
}

} // namespace

QString refusal(const QString &path, Purpose purpose, const QString &owner)
{
    // By whose it is (not an ordinary file, another account's) and purpose.
    static const char *const texts[2][3] = {
        {QT_TRANSLATE_NOOP("bookmarkfile::safefile",
                           "The bookmarks cannot be read: %1 is a link, a pipe, a device or a folder, not an ordinary "
                           "file. Remove it and try again."),
         QT_TRANSLATE_NOOP("bookmarkfile::safefile",
                           "The bookmark file cannot be changed: %1 is a link, a pipe, a device or a folder, not an "
                           "ordinary file. Nothing was changed; remove it and try again."),
         QT_TRANSLATE_NOOP("bookmarkfile::safefile",
                           "The bookmark file cannot be locked: %1 is a link, a pipe or a device, not an ordinary "
                           "file. Nothing was changed; remove it and try again.")},
        {QT_TRANSLATE_NOOP("bookmarkfile::safefile",
                           "The bookmarks cannot be read: %1 belongs to another user (%2). Nothing was read from it; "
                           "have it removed and try again."),
         QT_TRANSLATE_NOOP("bookmarkfile::safefile",
                           "The bookmark file cannot be changed: %1 belongs to another user (%2). Nothing was "
                           "changed; have it removed and try again."),
         QT_TRANSLATE_NOOP("bookmarkfile::safefile",
                           "The bookmark file cannot be locked: %1 belongs to another user (%2). Nothing was "
                           "changed; have it removed and try again.")}};
    const QString text = tr(texts[owner.isEmpty() ? 0 : 1][int(purpose)]).arg(QDir::toNativeSeparators(path));
    return owner.isEmpty() ? text : text.arg(owner);
}

QString withLeftOver(const QString &failure, const QString &why)
{
    return tr("%1\nPart of the bookmark is left at the end of the file: %2").arg(failure, why);
}

qint64 writeAll(QFileDevice &file, const QByteArray &bytes, QString &error)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            error = file.errorString();
            return done;
        }
        done += written;
    }
    return done;
}

QByteArray read(const QString &path, Purpose purpose, Result &result, Standing *standing)
{
    QFile file;
    if (!openToRead(path, purpose, result, file, standing))
        return {};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        result.error = file.errorString();
    return bytes;
}

Standing look(const QString &path, Result &result)
{
    QFile file;
    Standing standing;
    openToRead(path, Purpose::Change, result, file, &standing);
    return standing;
}

QByteArray readInstalled(const QString &source, Result &result)
{
    QFile file;
    if (!openInstalled(source, file))
        return {};
    // One byte more than the limit tells a file that has grown since.
    QByteArray bytes = file.read(SeedLimit + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        return {};
    }
    return bytes.size() > SeedLimit ? QByteArray() : bytes;
}

Result underLock(const QString &path, const std::function<Result()> &change)
{
    QLockFile lock(path + QStringLiteral(".lock"));
    // A process that dies between making the lock file and writing its name
    // in it leaves a lock nobody can tell the owner of: it is taken over once
    // it is this old. A live owner keeps its lock however long it takes,
    // since QLockFile removes none that is still locked natively.
    lock.setStaleLockTime(StaleLockTime);
    const QDeadlineTimer deadline(lockWait);
    // Short pauses with some jitter: QLockFile's own wait starts at 100 ms
    // and doubles, and would sleep through every gap another process leaves
    // between two changes.
    for (quint32 pause = 1;; pause = std::min(pause * 2, quint32(16))) {
        // QLockFile makes its file only where nothing stands, but to find a
        // stale owner it opens and reads whatever it finds, there or where it
        // makes a file to take a stale lock over: a pipe would hold it until
        // someone writes, a device or a link to one could feed it without
        // end, and another account's file, not this one's to take over, would
        // keep every change waiting. So both places are asked before every
        // try, not once: what stands there may be swapped while this process
        // waits. Someone who may write in the folder can still swap a file
        // for a pipe between this look and QLockFile's read; the look before
        // every try leaves that instant only.
        for (const QString &at : {lock.fileName(), lock.fileName() + QStringLiteral(".rmlock")}) {
            if (QString refused = refusedLock(at); !refused.isEmpty())
                return {refused};
        }
        if (lock.tryLock(0))
            return change();
        if (lock.error() != QLockFile::LockFailedError)
            return {whyNoLock(lock.fileName())};
        if (deadline.hasExpired()) {
            return {tr("The bookmark file is busy: another program is changing it. Nothing was changed; "
                       "try again in a moment."),
                    true};
        }
        QThread::msleep(pause + QRandomGenerator::global()->bounded(pause));
    }
}

void setLockWaitForTesting(int milliseconds)
{
    lockWait = milliseconds < 0 ? ProgramLockWait : milliseconds;
}

} // namespace bookmarkfile::safefile
