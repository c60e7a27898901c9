#include "bookmarkrecord.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QUrl>

#include <utility>

namespace bookmarkfile {

namespace {

// The decoder or encoder of the 8-bit code page that older records are in;
// `codePage` null: this system's.
template <typename Converter>
Converter legacy(const char *codePage)
{
    constexpr auto stateless = QStringConverter::Flag::Stateless;
    if (codePage)
        return Converter(codePage, stateless);
#ifdef Q_OS_WIN
    return Converter(QStringConverter::System, stateless);
#else
    return Converter("windows-1252", stateless);
#endif
}

// Decodes lines one at a time, so that a file holding both older records in
// the 8-bit code page and newer ones in UTF-8 reads right line by line.
class LineDecoder
{
public:
    explicit LineDecoder(const char *codePage = nullptr) : m_codePage(codePage) {}

    QString operator()(QByteArrayView bytes)
    {
        m_utf8.resetState();
        QString text = m_utf8.decode(bytes);
        if (!m_utf8.hasError())
            return text;
        if (!m_legacy)
            m_legacy.emplace(legacy<QStringDecoder>(m_codePage));
        if (!m_legacy->isValid())
            return QString::fromLatin1(bytes);
        m_legacy->resetState();
        return m_legacy->decode(bytes);
    }

private:
    const char *m_codePage;
    QStringDecoder m_utf8{QStringConverter::Utf8, QStringConverter::Flag::Stateless};
    std::optional<QStringDecoder> m_legacy;
};

// Calls `visit(text, whole)` for every line of `bytes`: `text` without its
// line end, `whole` with it, exactly as the line stands in the file.
template <typename Visit>
void forEachLine(const QByteArray &bytes, Visit &&visit)
{
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    while (start < size) {
        const qsizetype lf = bytes.indexOf('\n', start);
        const qsizetype end = lf < 0 ? size : lf + 1;
        qsizetype textEnd = lf < 0 ? size : lf;
        if (textEnd > start && bytes.at(textEnd - 1) == '\r')
            --textEnd;
        visit(QByteArrayView(bytes.constData() + start, textEnd - start),
              QByteArrayView(bytes.constData() + start, end - start));
        start = end;
    }
}

// Keeps a record on its one line.
QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c == u'\r' || c == u'\n' || c == QChar(0))
            c = u' ';
    }
    return text;
}

// The record a line holds, if it holds one.
std::optional<Bookmark> parseRecord(const QString &line)
{
    const qsizetype bar = line.indexOf(u'|');
    if (bar < 0)
        return std::nullopt;
    qsizetype start = 0;
    while (start < bar && line.at(start) == u' ')
        ++start;
    return Bookmark{line.mid(start, bar - start), line.mid(bar + 1)};
}

// The record's line, CR LF included, before it is turned into bytes.
QString recordLine(const QString &name, const QString &address)
{
    return oneLine(name).replace(u'|', QChar(0x00A6)) + u'|' + storedAddress(address) + QStringLiteral("\r\n");
}

// `line` in the 8-bit code page `codePage` (null: this system's) when those
// bytes read back as `line`, otherwise in UTF-8. An encoder puts "?" or a
// look-alike where the code page lacks a character, and some code-page bytes
// are valid UTF-8 that would read as other text: the round trip catches both.
QByteArray encodeLine(const QString &line, const char *codePage)
{
    QStringEncoder encoder = legacy<QStringEncoder>(codePage);
    if (encoder.isValid()) {
        const QByteArray bytes = encoder.encode(line);
        if (LineDecoder(codePage)(bytes) == line)
            return bytes;
    }
    return line.toUtf8();
}

} // namespace

QString storedAddress(const QString &address)
{
    const QString text = oneLine(address);
    const QUrl url(text, QUrl::TolerantMode);
    if (url.isValid())
        return url.toString(QUrl::FullyEncoded);
    // Not an address QUrl takes: kept as it is, with every byte outside
    // printable ASCII percent-encoded.
    static const QByteArray printable = [] {
        QByteArray ascii;
        for (char c = 0x20; c < 0x7f; ++c)
            ascii += c;
        return ascii;
    }();
    return QString::fromLatin1(QUrl::toPercentEncoding(text, printable));
}

QByteArray encodeRecord(const QString &name, const QString &address)
{
#ifdef Q_OS_WIN
    return encodeLine(recordLine(name, address), nullptr);
#else
    return recordLine(name, address).toUtf8();
#endif
}

QByteArray encodeRecord(const QString &name, const QString &address, const char *codePage)
{
    return encodeLine(recordLine(name, address), codePage);
}

std::vector<Bookmark> parse(const QByteArray &fileBytes)
{
    std::vector<Bookmark> records;
    LineDecoder decode;
    forEachLine(fileBytes, [&](QByteArrayView text, QByteArrayView) {
        if (auto record = parseRecord(decode(text)))
            records.push_back(std::move(*record));
    });
    return records;
}

std::optional<QByteArray> without(const QByteArray &fileBytes, const std::vector<Bookmark> &records)
{
    using Key = std::pair<QString, QString>;
    QHash<Key, int> pending;
    for (const Bookmark &record : records)
        ++pending[Key(record.name, record.address)];

    QByteArray kept;
    kept.reserve(fileBytes.size());
    bool changed = false;
    LineDecoder decode;
    forEachLine(fileBytes, [&](QByteArrayView text, QByteArrayView whole) {
        if (!pending.isEmpty()) {
            if (const auto record = parseRecord(decode(text))) {
                const auto found = pending.find(Key(record->name, record->address));
                if (found != pending.end()) {
                    if (--found.value() == 0)
                        pending.erase(found);
                    changed = true;
                    return;
                }
            }
        }
        kept.append(whole);
    });
    return changed ? std::optional<QByteArray>(std::move(kept)) : std::nullopt;
}

} // namespace bookmarkfile
