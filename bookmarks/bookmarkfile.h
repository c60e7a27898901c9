#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// The bookmark file: one record per line, the name, "|" and the address,
// each line ended by CR LF, no header. Plain functions over a path; every
// operation opens and closes its own file. Every change holds one lock file
// beside it ("bookmark.dat.lock"), so that two programs changing the file at
// once take turns instead of losing each other's records.
namespace bookmarkfile {

struct Bookmark
{
    QString name;
    QString address;
    bool operator==(const Bookmark &other) const { return name == other.name && address == other.address; }
};

// What a failed operation reports: the failure's description, empty on success.
struct Result
{
    QString error;
    // The lock was not had in time: another process is changing the file,
    // and this operation changed nothing.
    bool busy = false;
    bool ok() const { return error.isEmpty(); }
};

// The form an address is stored in: fully percent-encoded ASCII, so that it
// survives every code page and opens exactly the page it names.
QString storedAddress(const QString &address);

// The bytes of one record, CR LF included, as the program writes them: a "|"
// in the name becomes a broken bar and CR, LF and NUL become spaces, so the
// record reads back as written and stays on one line; the address is stored
// as storedAddress gives it. The line is UTF-8, on Windows the ANSI code page
// when that reads back as written (see the overload).
QByteArray encodeRecord(const QString &name, const QString &address);

// encodeRecord for a system whose 8-bit code page is `codePage` (a name
// QStringEncoder knows, such as "windows-1252"): the line goes out in that
// code page when it holds every character and the bytes read back as the same
// line, otherwise in UTF-8. No character is ever replaced.
QByteArray encodeRecord(const QString &name, const QString &address, const char *codePage);

// Every record of `fileBytes` in file order. Each line is read on its own:
// valid UTF-8 as UTF-8, anything else in the legacy 8-bit code page; CR LF and
// bare LF both end a line, and a last line needs no line end. A record is split
// at the first "|" and spaces at the start of its name are dropped; a line
// without "|" holds no record and is passed over.
std::vector<Bookmark> parse(const QByteArray &fileBytes);

// Every record of the file at `path`. A missing file holds no records and is
// no failure; a file that cannot be read is, and so is one that may not be
// used (see below).
//
// The file may lie in a folder other accounts may write to (a portable copy
// in a shared folder), so on Unix every operation opens it without following
// a link at the end of its path and without waiting on a pipe, and uses it
// only when it is an ordinary file with no other name, owned by the user or
// root; anything else is refused with a message that says why, and nothing
// is read from it or written through it.
std::vector<Bookmark> read(const QString &path, Result *result = nullptr);

// Adds one record at the end of the file, creating it if needed. The record
// goes out in one write to a file opened for appending; if it cannot go out
// whole, the file is cut back to exactly what it held before.
Result append(const QString &path, const QString &name, const QString &address);

// Takes `records` out of the file as it is now: one line per record, matched
// by its name and address as read; every other line stays byte for byte.
// Nothing is written when no line matches. No other change to the file comes
// between the read and the rewrite.
Result remove(const QString &path, const std::vector<Bookmark> &records);

// Replaces the whole file with `bytes` through a temporary file and a rename:
// a failed or interrupted rewrite leaves the earlier file whole, and the
// rename replaces a link that stands there by then instead of writing through
// it. The new file keeps the owner, group and mode of the one it replaces
// where this process may set them.
Result rewrite(const QString &path, const QByteArray &bytes);

// When there is no file at `path` yet, makes one that only its owner may
// read and write: a copy of `source` when that is a bookmark file installed
// with the program (an ordinary file, not a link, of at most 16 MiB; on Unix
// owned by root and writable by nobody else), otherwise empty. A file
// already at `path` is left as it is; something there that may not be used
// as the file (see read) is a failure.
Result seed(const QString &path, const QString &source);

// Makes a write past the process's file size limit fail with an error
// instead of ending the program, so that a bookmark that does not fit is
// reported and taken back. Called once at start-up.
void failWritesPastSizeLimit();

// Tests only: how long an operation waits for the lock before it reports the
// file busy (a negative value restores the program's own wait).
void setLockWaitForTesting(int milliseconds);

} // namespace bookmarkfile
