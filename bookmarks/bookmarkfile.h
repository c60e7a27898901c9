#pragma once

#include "bookmarkrecord.h"
#include "safefile.h"

// The bookmark file's operations: its records (bookmarkrecord.h) over the
// safe file (safefile.h). Plain functions over a path; every operation opens
// and closes its own file, and every change holds the file's lock, so that
// two programs changing the file at once take turns instead of losing each
// other's records.
namespace bookmarkfile {

// Every record of the file at `path`. A missing file holds no records and is
// no failure; a file that cannot be read is, and so is one that may not be
// used (see safefile.h).
std::vector<Bookmark> read(const QString &path, Result *result = nullptr);

// Adds one record at the end of the file, creating it if needed; a record
// that cannot go out whole is taken back (see safefile::append).
Result append(const QString &path, const QString &name, const QString &address);

// Takes `records` out of the file as it is now: one line per record, matched
// by its name and address as read; every other line stays byte for byte.
// Nothing is written when no line matches. No other change to the file comes
// between the read and the rewrite.
Result remove(const QString &path, const std::vector<Bookmark> &records);

// Replaces the whole file with `bytes` (see safefile::replace).
Result rewrite(const QString &path, const QByteArray &bytes);

// When there is no file at `path` yet, makes one that only its owner may
// read and write: a copy of `source` when safefile::readInstalled takes it,
// otherwise empty. A file already at `path` is left as it is; something
// there that may not be used as the file is a failure.
Result seed(const QString &path, const QString &source);

} // namespace bookmarkfile
