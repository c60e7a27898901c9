// Reading bookmark.dat: decoding, line and record splitting. Every record
// that comes out must go back into a line that reads as the same record, its
// address in the stored form, which is ASCII.

#include "bookmarkfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const bookmarkfile::Bookmark &record : bookmarkfile::parse(bytes)) {
        const QByteArray line = bookmarkfile::encodeRecord(record.name, record.address);
        if (!line.endsWith("\r\n") || line.count('\n') != 1)
            std::abort();
        const auto again = bookmarkfile::parse(line);
        // CR, LF and NUL are written as spaces, so only records free of them
        // come back exactly.
        const bool plain = !record.name.contains(QChar(0)) && !record.name.contains(QLatin1Char('\r'))
                           && !record.address.contains(QChar(0)) && !record.address.contains(QLatin1Char('\r'));
        const QString stored = bookmarkfile::storedAddress(record.address);
        for (const QChar c : stored) {
            if (c.unicode() < 0x20 || c.unicode() > 0x7e)
                std::abort();
        }
        if (again.size() != 1 || (plain && !(again.front() == bookmarkfile::Bookmark{record.name, stored})))
            std::abort();
    }
    return 0;
}
