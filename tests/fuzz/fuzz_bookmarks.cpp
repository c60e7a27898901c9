// Reading bookmark.dat: decoding, line and record splitting. Every record
// that comes out must go back into a line that reads as the same record.

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
        if (again.size() != 1 || (plain && !(again.front() == record)))
            std::abort();
    }
    return 0;
}
