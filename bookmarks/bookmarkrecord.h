#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

// The bookmark file's records, as bytes and back; no files here. One record
// per line: the name, "|" and the address, each line ended by CR LF, no
// header.
namespace bookmarkfile {

struct Bookmark
{
    QString name;
    QString address;
    bool operator==(const Bookmark &other) const { return name == other.name && address == other.address; }
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

// `fileBytes` without `records`: one line taken out for each, matched by its
// name and address as parse reads them; every other line stays byte for
// byte. Nothing when no line matches.
std::optional<QByteArray> without(const QByteArray &fileBytes, const std::vector<Bookmark> &records);

} // namespace bookmarkfile
