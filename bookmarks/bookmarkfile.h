#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// The bookmark file: one record per line, the name, "|" and the address,
// each line ended by CR LF, no header. Plain functions over a path; every
// operation opens and closes its own file.
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
    bool ok() const { return error.isEmpty(); }
};

// The bytes of one record, CR LF included, in the code page the program
// writes. A "|" in the name becomes a broken bar and CR, LF and NUL become
// spaces, so the record reads back as written and stays on one line.
QByteArray encodeRecord(const QString &name, const QString &address);

// Every record of `fileBytes` in file order. Each line is read on its own:
// valid UTF-8 as UTF-8, anything else in the legacy 8-bit code page; CR LF and
// bare LF both end a line, and a last line needs no line end. A record is split
// at the first "|" and spaces at the start of its name are dropped; a line
// without "|" holds no record and is passed over.
std::vector<Bookmark> parse(const QByteArray &fileBytes);

// Every record of the file at `path`. A missing file holds no records and is
// no failure; a file that cannot be read is.
std::vector<Bookmark> read(const QString &path, Result *result = nullptr);

// Adds one record at the end of the file, creating it if needed. The record
// goes out in one write to a file opened for appending, so records that
// other processes append at the same time never interleave with it.
Result append(const QString &path, const QString &name, const QString &address);

// Takes `records` out of the file as it is now: one line per record, matched
// by its name and address as read; every other line stays byte for byte.
// Nothing is written when no line matches.
Result remove(const QString &path, const std::vector<Bookmark> &records);

// Replaces the whole file with `bytes` through a temporary file and a rename:
// a failed or interrupted rewrite leaves the earlier file whole.
Result rewrite(const QString &path, const QByteArray &bytes);

} // namespace bookmarkfile
