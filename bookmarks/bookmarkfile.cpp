#include "bookmarkfile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QThread>
#include <QUrl>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <csignal>
#include <utility>

namespace bookmarkfile {

namespace {

// The decoder of the 8-bit code page that older records are in; `codePage`
// null: this system's.
QStringDecoder legacyDecoder(const char *codePage)
{
    constexpr auto stateless = QStringConverter::Flag::Stateless;
    if (codePage)
        return QStringDecoder(codePage, stateless);
#ifdef Q_OS_WIN
    return QStringDecoder(QStringConverter::System, stateless);
#else
    return QStringDecoder("windows-1252", stateless);
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
            m_legacy.emplace(legacyDecoder(m_codePage));
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

// How long an operation waits for another process to finish with the file:
// far longer than any change takes, short enough for a person to wait.
constexpr int ProgramLockWait = 5000;
int lockWait = ProgramLockWait;
// Shorter than the wait, so that a waiter outlasts a lock without an owner.
constexpr int StaleLockTime = 3000;

QString tr(const char *text)
{
    return QCoreApplication::translate("bookmarkfile", text);
}

// Whether something stands at `path` that is not an ordinary file: a link
// (to anything, or dangling), a pipe, a device, a socket or a folder. The
// link itself is looked at, never followed.
bool standsButIsNotAFile(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return false;   // nothing there (or nothing this process may see)
    return !S_ISREG(status.st_mode);
#else
    const QFileInfo info(path);
    return info.isSymLink() || info.isJunction() || (info.exists() && !info.isFile());
#endif
}

// The lock one change to the file holds from its start to its end: a lock
// file beside the bookmark file. QLockFile takes a lock file over when the
// process that left it has gone.
class FileLock
{
public:
    explicit FileLock(const QString &path) : m_path(path + QStringLiteral(".lock")), m_lock(m_path)
    {
        // A process that dies between making the lock file and writing its
        // name in it leaves a lock nobody can tell the owner of: it is taken
        // over once it is this old. A live owner keeps its lock however long
        // it takes, since QLockFile removes none that is still locked natively.
        m_lock.setStaleLockTime(StaleLockTime);
    }

    // Waits for the lock as long as the program allows. On a failure the
    // result says why, and the caller changes nothing.
    Result acquire()
    {
        const QDeadlineTimer deadline(lockWait);
        // Short pauses with some jitter: QLockFile's own wait starts at 100 ms
        // and doubles, and would sleep through every gap another process
        // leaves between two changes.
        quint32 pause = 1;
        for (;;) {
            // Asked before every try, not once: what stands there may be
            // swapped while this process waits for its turn.
            if (const QString planted = plantedLock(); !planted.isEmpty()) {
                return {tr("The bookmark file cannot be locked: %1 is a link, a pipe or a device, not an ordinary "
                           "file. Nothing was changed; remove it and try again.")
                            .arg(QDir::toNativeSeparators(planted))};
            }
            if (m_lock.tryLock(0))
                break;
            if (m_lock.error() != QLockFile::LockFailedError)
                return {whyNoLock()};
            if (deadline.hasExpired()) {
                return {tr("The bookmark file is busy: another program is changing it. Nothing was changed; "
                           "try again in a moment."),
                        true};
            }
            QThread::msleep(pause + QRandomGenerator::global()->bounded(pause));
            pause = std::min(pause * 2, quint32(16));
        }
        return {};
    }

private:
    // The lock file, or the one QLockFile makes beside it to take over a
    // stale lock, when something other than an ordinary file stands there;
    // empty when neither is. QLockFile makes its file only where nothing
    // stands, but to find a stale owner it opens and reads whatever it finds:
    // a pipe would hold it until someone writes, a device or a link to one
    // could feed it without end. Someone who may write in the folder can
    // still swap a file for a pipe between this look and QLockFile's read;
    // the look before every try leaves that instant only.
    QString plantedLock() const
    {
        for (const QString &lockPath : {m_path, m_path + QStringLiteral(".rmlock")}) {
            if (standsButIsNotAFile(lockPath))
                return lockPath;
        }
        return {};
    }

    // QLockFile does not say why it could not make its file; making one in
    // its place does.
    QString whyNoLock() const
    {
        QFile probe(m_path);
        if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return probe.errorString();
        probe.remove();
        return tr("The bookmark file cannot be locked: %1 cannot be written.").arg(QDir::toNativeSeparators(m_path));
    }

    QString m_path;
    QLockFile m_lock;
};

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
    constexpr auto stateless = QStringConverter::Flag::Stateless;
#ifdef Q_OS_WIN
    QStringEncoder legacy = codePage ? QStringEncoder(codePage, stateless)
                                     : QStringEncoder(QStringConverter::System, stateless);
#else
    QStringEncoder legacy(codePage ? codePage : "windows-1252", stateless);
#endif
    if (legacy.isValid()) {
        const QByteArray bytes = legacy.encode(line);
        if (LineDecoder(codePage)(bytes) == line)
            return bytes;
    }
    return line.toUtf8();
}

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

// The most a bookmark file copied at the start may hold: far more than any
// list of bookmarks a person keeps, little enough to read at once.
constexpr qint64 SeedLimit = 16 * 1024 * 1024;

// The bytes of `source` when it is a bookmark file installed with the
// program: an ordinary file (a link is not followed) of at most SeedLimit
// bytes; on Unix also owned by root and writable by nobody else, so that no
// account's own file is handed to every other. Anything else gives no bytes
// and no failure. Everything is asked of the file once it is open, so that
// nothing can be swapped in between; a pipe does not hold up the open.
QByteArray readInstalled(const QString &source, Result &result)
{
#ifdef Q_OS_UNIX
    const int fd =
        ::open(QFile::encodeName(source).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat status;
    QFile file;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != 0
        || (status.st_mode & (S_IWGRP | S_IWOTH)) != 0 || status.st_size > SeedLimit
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
#else
    const QFileInfo info(source);
    if (info.isSymLink() || info.isJunction() || !info.isFile() || info.size() > SeedLimit)
        return {};
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return {};
#endif
    // One byte more than the limit tells a file that has grown since.
    QByteArray bytes = file.read(SeedLimit + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        return {};
    }
    return bytes.size() > SeedLimit ? QByteArray() : bytes;
}

// A failure whose partial record could not be cut off again: `failure`, and
// on the next line `why` the cut failed.
QString withLeftOver(const QString &failure, const QString &why)
{
    return tr("%1\nPart of the bookmark is left at the end of the file: %2").arg(failure, why);
}

// Adds `record` at the end of the file under the caller's lock. On any
// failure the file is cut back to the size it had before: nobody else can
// have appended in between, so those bytes are all ours.
Result appendLocked(const QString &path, const QByteArray &record)
{
#ifdef Q_OS_WIN
    // No FILE_SHARE_DELETE: while the record goes in, no rename can put
    // another file in this one's place.
    const QString nativePath = QDir::toNativeSeparators(path);
    HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(nativePath.utf16()),
                                FILE_WRITE_DATA | FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {qt_error_string()};
    Result result;
    LARGE_INTEGER before{};
    if (!GetFileSizeEx(handle, &before)) {
        result.error = qt_error_string();
    } else {
        qint64 done = 0;
        while (done < record.size()) {
            // Both offsets all ones: at the end of the file as it is at the
            // moment of the write, as a handle opened for appending alone.
            OVERLAPPED atEnd{};
            atEnd.Offset = atEnd.OffsetHigh = 0xFFFFFFFF;
            DWORD written = 0;
            if (!WriteFile(handle, record.constData() + done, DWORD(record.size() - done), &written, &atEnd)
                || written == 0) {
                result.error = qt_error_string();
                break;
            }
            done += written;
        }
        LARGE_INTEGER now{};
        if (!result.ok() && (!GetFileSizeEx(handle, &now) || now.QuadPart != before.QuadPart)
            && !(SetFilePointerEx(handle, before, nullptr, FILE_BEGIN) && SetEndOfFile(handle)))
            result.error = withLeftOver(result.error, qt_error_string());
    }
    if (!CloseHandle(handle) && result.ok())
        result.error = qt_error_string();
    return result;
#else
    // Unbuffered: the record goes to the kernel in one write, and O_APPEND
    // puts it at the end of the file as it is at that moment.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return {file.errorString()};
    const qint64 before = file.size();
    Result result;
    writeAll(file, record, result.error);
    if (!result.ok() && file.size() != before && !file.resize(before))
        result.error = withLeftOver(result.error, file.errorString());
    return result;
#endif
}

// What a rewrite that makes a new file gives it: the mode QSaveFile makes
// it with (the umask's), or one that only its owner may read and write.
enum class NewFile { AsMade, Private };

// Gives the new file of a rewrite the owner, group and mode of the file it
// replaces, so that a delete run by another account (root's included) does
// not lock the owner out. A process that may not give a file away keeps at
// least the group where it may; what it may not set stays as made.
// A new file is left as QSaveFile makes it, or with `newFile` Private only
// its owner may read and write it, whatever the umask.
void keepOwnership(const QString &path, QSaveFile &file, NewFile newFile)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    Q_UNUSED(file);
    Q_UNUSED(newFile);
#else
    struct stat old;
    if (::stat(QFile::encodeName(path).constData(), &old) != 0) {
        // A new file: nothing to keep.
        if (newFile == NewFile::Private && fchmod(file.handle(), S_IRUSR | S_IWUSR) != 0) {
            // The folder it is made in is its owner's alone as well.
        }
        return;
    }
    const int fd = file.handle();
    if (fchown(fd, old.st_uid, old.st_gid) != 0 && fchown(fd, uid_t(-1), old.st_gid) != 0) {
        // Neither is ours to set.
    }
    // After the owner: a change of owner clears the set-ID bits.
    if (fchmod(fd, old.st_mode & 07777) != 0) {
        // The mode QSaveFile copied stays.
    }
#endif
}

// rewrite under the caller's lock.
Result rewriteLocked(const QString &path, const QByteArray &bytes, NewFile newFile = NewFile::AsMade)
{
    // Unbuffered, so that every write reports what it really wrote: a
    // buffered one can end short at commit, which then still renames.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {file.errorString()};
    keepOwnership(path, file, newFile);
    Result result;
    writeAll(file, bytes, result.error);
    if (!result.ok())
        file.cancelWriting();
    else if (!file.commit())
        result.error = file.errorString();
    return result;
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
    FileLock lock(path);
    const Result locked = lock.acquire();
    return locked.ok() ? appendLocked(path, record) : locked;
}

Result remove(const QString &path, const std::vector<Bookmark> &records)
{
    // Held from the read to the rename: a record appended in between would
    // be missing from the rewritten file.
    FileLock lock(path);
    Result result = lock.acquire();
    if (!result.ok())
        return result;
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
    return changed ? rewriteLocked(path, kept) : result;
}

Result rewrite(const QString &path, const QByteArray &bytes)
{
    FileLock lock(path);
    const Result locked = lock.acquire();
    return locked.ok() ? rewriteLocked(path, bytes) : locked;
}

Result seed(const QString &path, const QString &source)
{
    const auto nothingToDo = [&] { return QFileInfo::exists(path); };
    if (nothingToDo())
        return {};
    // Asked again under the lock: another process may have made the file.
    FileLock lock(path);
    Result result = lock.acquire();
    if (!result.ok() || nothingToDo())
        return result;
    const QByteArray bytes = readInstalled(source, result);
    return result.ok() ? rewriteLocked(path, bytes, NewFile::Private) : result;
}

void failWritesPastSizeLimit()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

void setLockWaitForTesting(int milliseconds)
{
    lockWait = milliseconds < 0 ? ProgramLockWait : milliseconds;
}

} // namespace bookmarkfile
