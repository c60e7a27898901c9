#include "bookmarkfile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#ifdef Q_OS_WIN
#include <QDir>
#include <windows.h>
#endif

#include <utility>

namespace bookmarkfile {

namespace {

// Decodes lines one at a time, so that a file holding both older records in
// the 8-bit code page and newer ones in UTF-8 reads right line by line.
class LineDecoder
{
public:
    QString operator()(QByteArrayView bytes)
    {
        m_utf8.resetState();
        QString text = m_utf8.decode(bytes);
        if (!m_utf8.hasError())
            return text;
        if (!m_legacy) {
#ifdef Q_OS_WIN
            m_legacy.emplace(QStringConverter::System, QStringConverter::Flag::Stateless);
#else
            m_legacy.emplace("windows-1252", QStringConverter::Flag::Stateless);
#endif
        }
        if (!m_legacy->isValid())
            return QString::fromLatin1(bytes);
        m_legacy->resetState();
        return m_legacy->decode(bytes);
    }

private:
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

using Key = std::pair<QString, QString>;

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

// Writes all of `bytes` and returns how many went out; on a failure `error`
// holds its description. A short write is no failure of its own (a full disk
// or a size limit shows as one), so the rest is written until it goes or fails.
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

} // namespace

QByteArray encodeRecord(const QString &name, const QString &address)
{
    const QString line = oneLine(name).replace(u'|', QChar(0x00A6)) + u'|' + oneLine(address)
                         + QStringLiteral("\r\n");
#ifdef Q_OS_WIN
    QStringEncoder ansi(QStringConverter::System);
    return ansi.encode(line);
#else
    return line.toUtf8();
#endif
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

namespace {
// The whole file; a missing file is empty and no failure.
QByteArray readAll(const QString &path, Result &result)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (QFileInfo::exists(path))
            result.error = file.errorString();
        return {};
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        result.error = file.errorString();
    return bytes;
}
}

std::vector<Bookmark> read(const QString &path, Result *result)
{
    Result local;
    const QByteArray bytes = readAll(path, local);
    if (result)
        *result = local;
    return local.ok() ? parse(bytes) : std::vector<Bookmark>{};
}

Result append(const QString &path, const QString &name, const QString &address)
{
    const QByteArray record = encodeRecord(name, address);
#ifdef Q_OS_WIN
    // Only a handle opened for appending alone makes each write land whole at
    // the end of the file, whoever else appends at the same time.
    const QString nativePath = QDir::toNativeSeparators(path);
    HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(nativePath.utf16()), FILE_APPEND_DATA | SYNCHRONIZE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {qt_error_string()};
    DWORD written = 0;
    const bool ok = WriteFile(handle, record.constData(), DWORD(record.size()), &written, nullptr)
                    && written == DWORD(record.size());
    Result result{ok ? QString() : qt_error_string()};
    if (!CloseHandle(handle) && result.ok())
        result.error = qt_error_string();
    return result;
#else
    // Unbuffered: the record goes to the kernel in one write, and O_APPEND
    // puts it at the end of the file as it is at that moment.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return {file.errorString()};
    Result result;
    const qint64 written = writeAll(file, record, result.error);
    // A torn record would run into the next one appended: take it back.
    if (!result.ok() && written > 0)
        file.resize(file.size() - written);
    return result;
#endif
}

Result remove(const QString &path, const std::vector<Bookmark> &records)
{
    Result result;
    const QByteArray bytes = readAll(path, result);
    if (!result.ok())
        return result;

    QHash<Key, int> pending;
    for (const Bookmark &record : records)
        ++pending[Key(record.name, record.address)];

    QByteArray kept;
    kept.reserve(bytes.size());
    bool changed = false;
    LineDecoder decode;
    forEachLine(bytes, [&](QByteArrayView text, QByteArrayView whole) {
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
    return changed ? rewrite(path, kept) : result;
}

Result rewrite(const QString &path, const QByteArray &bytes)
{
    // Unbuffered, so that every write reports what it really wrote: a
    // buffered one can end short at commit, which then still renames.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {file.errorString()};
    Result result;
    writeAll(file, bytes, result.error);
    if (!result.ok())
        file.cancelWriting();
    else if (!file.commit())
        result.error = file.errorString();
    return result;
}

} // namespace bookmarkfile
