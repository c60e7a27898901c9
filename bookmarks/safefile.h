#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QFile;
class QFileDevice;

namespace bookmarkfile {

// What a failed operation reports: the failure's description, empty on success.
struct Result
{
    QString error;
    // The lock was not had in time: another process is changing the file,
    // and this operation changed nothing.
    bool busy = false;
    bool ok() const { return error.isEmpty(); }
};

// The bookmark file as a file: opened, read, added to, replaced and locked.
// It may lie in a folder other accounts may write to (a portable copy in a
// shared folder), where another account can put a link (to the user's own
// start-up script, say), a pipe that would hold the program in open() for
// ever, or a file of its own. So on Unix no open follows a link at the end of
// its path or waits on a pipe, and the file, its lock and the file a stale
// lock is taken over with are used only when each is an ordinary file with no
// other name, of the user's or root's; anything else is refused, saying why.
// One implementation a system, chosen by the build (safefile_posix.cpp,
// safefile_windows.cpp); safefile.cpp holds what they share.
namespace safefile {

// What an operation does with the file, for the words of a refusal.
enum class Purpose { Read, Change, Lock };

// What stood at a path when it was looked at: whether a file did, and on
// Unix its owner, group and mode, for a rewrite to keep.
struct Standing { bool exists = false; uint owner = 0, group = 0, mode = 0; };

// What a rewrite that makes a new file gives it: the mode a new file gets
// (0666 less the umask), or one that only its owner may read and write.
enum class NewFile { AsMade, Private };

// The whole file; a missing file is empty and no failure. `standing`, when
// given, says what was read. look: the same for a change, without the bytes.
QByteArray read(const QString &path, Purpose purpose, Result &result, Standing *standing = nullptr);
Standing look(const QString &path, Result &result);

// Adds `bytes` at the end of the file, creating it if needed, in one write
// to a file opened for appending; if they cannot go out whole, the file is
// cut back to exactly what it held before. Under the caller's lock.
Result append(const QString &path, const QByteArray &bytes);

// Replaces the whole file with `bytes` through a new file beside it and a
// rename: a failed or interrupted rewrite leaves the earlier file whole, and
// the rename replaces a link that stands there by then instead of writing
// through it. The new file keeps the owner, group and mode of `old` where
// this process may set them. Under the caller's lock.
Result replace(const QString &path, const QByteArray &bytes, const Standing &old,
               NewFile newFile = NewFile::AsMade);

// The bytes of `source` when it is a bookmark file installed with the
// program: an ordinary file (a link is not followed) of at most SeedLimit
// bytes, far more than any list of bookmarks a person keeps and little enough
// to read at once; on Unix also owned by root and writable by nobody else, so
// that no account's own file is handed to every other. Anything else gives no
// bytes and no failure.
constexpr qint64 SeedLimit = 16 * 1024 * 1024;
QByteArray readInstalled(const QString &source, Result &result);

// Makes a write past the process's file size limit fail instead of ending the
// program, so that a bookmark that does not fit is reported and taken back.
void failWritesPastSizeLimit();

// Runs `change` under the lock every change to the file at `path` holds from
// its start to its end (a lock file beside it, "bookmark.dat.lock"), waiting
// for it as long as the program allows. When the lock is not had, the result
// says why, and `change` does not run.
Result underLock(const QString &path, const std::function<Result()> &change);

// Tests only: how long underLock waits before it reports the file busy (a
// negative value restores the program's own wait).
void setLockWaitForTesting(int milliseconds);

// Shared by the implementations. refusal: why the file at `path` may not be
// used for `purpose`: it is not an ordinary file, or with an `owner` (by
// name) it is another account's. withLeftOver: `failure`, and on the next
// line `why` its partial record could not be cut off again. writeAll: writes
// all of `bytes` (a short write is no failure of its own: a full disk or a
// size limit shows as one) and returns how many went out, a failure in `error`.
QString refusal(const QString &path, Purpose purpose, const QString &owner = QString());
QString withLeftOver(const QString &failure, const QString &why);
qint64 writeAll(QFileDevice &file, const QByteArray &bytes, QString &error);

// Each system's own. openToRead: opens the file to read it (false: nothing
// there, or a failure in `result`); openInstalled: opens `source` when
// readInstalled may read it; refusedLock: why what stands where the lock or
// its helper goes may not be used (empty: nothing, or it may), unopened.
bool openToRead(const QString &path, Purpose purpose, Result &result, QFile &file, Standing *standing);
bool openInstalled(const QString &source, QFile &file);
QString refusedLock(const QString &path);

} // namespace safefile
} // namespace bookmarkfile
