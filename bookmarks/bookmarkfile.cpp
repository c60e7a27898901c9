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
#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
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

#ifdef Q_OS_UNIX
// The name of the account `uid`, or its number when it has none.
QString accountName(uid_t uid)
{
    passwd entry{};
    passwd *found = nullptr;
    char buffer[4096];
    return getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found
        ? QString::fromLocal8Bit(found->pw_name)
        : QString::number(uid);
}
#endif

// Why what stands at `path`, where a lock file goes, may not be used: a link
// (to anything, or dangling), a pipe, a device, a socket or a folder, or on
// Unix another account's file; empty when nothing stands there or it may.
// The link itself is looked at, never followed.
QString refusedLock(const QString &path)
{
    const QString native = QDir::toNativeSeparators(path);
#ifdef Q_OS_UNIX
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return {};   // nothing there (or nothing this process may see)
    if (S_ISREG(status.st_mode) && status.st_uid != ::geteuid() && status.st_uid != 0) {
        return tr("The bookmark file cannot be locked: %1 belongs to another user (%2). Nothing was changed; have it "
                  "removed and try again.")
            .arg(native, accountName(status.st_uid));
    }
    const bool planted = !S_ISREG(status.st_mode);
#else
    const QFileInfo info(path);
    const bool planted = info.isSymLink() || info.isJunction() || (info.exists() && !info.isFile());
#endif
    return planted ? tr("The bookmark file cannot be locked: %1 is a link, a pipe or a device, not an ordinary "
                        "file. Nothing was changed; remove it and try again.")
                         .arg(native)
                   : QString();
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
            if (const QString planted = plantedLock(); !planted.isEmpty())
                return {planted};
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
    // Why the lock file, or the one QLockFile makes beside it to take over
    // a stale lock, may not be used; empty when both may. QLockFile makes its
    // file only where nothing stands, but to find a stale owner it opens and
    // reads whatever it finds: a pipe would hold it until someone writes, a
    // device or a link to one could feed it without end, and another
    // account's file, not this one's to take over, would keep every change
    // waiting. Someone who may write in the folder can still swap a file for
    // a pipe between this look and QLockFile's read; the look before every
    // try leaves that instant only.
    QString plantedLock() const
    {
        for (const QString &lockPath : {m_path, m_path + QStringLiteral(".rmlock")}) {
            if (QString refused = refusedLock(lockPath); !refused.isEmpty())
                return refused;
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

// What an operation does with the file, for the words of a refusal.
enum class Purpose { Read, Change };

#ifdef Q_OS_UNIX
// Why the bookmark file at `path` is not used: it is not an ordinary file.
QString notOrdinary(const QString &path, Purpose purpose)
{
    const QString native = QDir::toNativeSeparators(path);
    return purpose == Purpose::Read
        ? tr("The bookmarks cannot be read: %1 is a link, a pipe, a device or a folder, not an ordinary file. "
             "Remove it and try again.")
              .arg(native)
        : tr("The bookmark file cannot be changed: %1 is a link, a pipe, a device or a folder, not an ordinary "
             "file. Nothing was changed; remove it and try again.")
              .arg(native);
}

// Why the bookmark file at `path` is not used: another account, `owner` by
// name, owns it.
QString notOurs(const QString &path, Purpose purpose, const QString &owner)
{
    const QString native = QDir::toNativeSeparators(path);
    return purpose == Purpose::Read
        ? tr("The bookmarks cannot be read: %1 belongs to another user (%2). Nothing was read from it; have it "
             "removed and try again.")
              .arg(native, owner)
        : tr("The bookmark file cannot be changed: %1 belongs to another user (%2). Nothing was changed; have it "
             "removed and try again.")
              .arg(native, owner);
}

// The bookmark file, opened as the one a portable copy keeps in a folder
// other accounts may write to must be: another account can put a link there
// (to the user's own start-up script, say), a pipe that would hold the
// program in open() for ever, or a file of its own. The open follows no link
// at the end of the path and does not wait on a pipe; what it opened is then
// asked, through the descriptor, to be an ordinary file with no other name,
// of this user's or root's. `descriptor` is -1 when nothing stands at `path`
// (and `flags` does not make it) or on a failure, which `result` says.
class OrdinaryFile
{
public:
    OrdinaryFile(const QString &path, int flags, Purpose purpose, Result &result)
    {
        const int fd = ::open(QFile::encodeName(path).constData(),
                              flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd < 0) {
            const int error = errno;
            if (error == ENOENT && !(flags & O_CREAT))
                return;   // nothing there: no records, and no failure
            // A link at the end of the path (ELOOP, EMLINK on some systems),
            // a pipe nobody reads (ENXIO), a folder opened for writing.
            const bool planted = error == ELOOP || error == EMLINK || error == ENXIO || error == EISDIR;
            result.error = planted ? notOrdinary(path, purpose) : qt_error_string(error);
            return;
        }
        if (::fstat(fd, &m_status) != 0) {
            result.error = qt_error_string(errno);
        } else if (!S_ISREG(m_status.st_mode) || m_status.st_nlink != 1) {
            // A second name (a hard link) makes it another file's too.
            result.error = notOrdinary(path, purpose);
        } else if (m_status.st_uid != ::geteuid() && m_status.st_uid != 0) {
            result.error = notOurs(path, purpose, accountName(m_status.st_uid));
        } else if (const int status = ::fcntl(fd, F_GETFL);
                   status == -1 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
            // An ordinary file: from here on reads and writes wait as usual.
            result.error = qt_error_string(errno);
        } else {
            m_fd = fd;
            return;
        }
        ::close(fd);
    }
    ~OrdinaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OrdinaryFile(const OrdinaryFile &) = delete;
    OrdinaryFile &operator=(const OrdinaryFile &) = delete;

    int descriptor() const { return m_fd; }
    // The file's owner, group and mode, as it was opened.
    const struct stat &status() const { return m_status; }

    // Hands the descriptor to `file`, which closes it.
    bool handTo(QFile &file, QIODevice::OpenMode mode)
    {
        if (!file.open(m_fd, mode, QFileDevice::AutoCloseHandle))
            return false;
        m_fd = -1;
        return true;
    }

private:
    int m_fd = -1;
    struct stat m_status{};
};
#endif

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

// What stood at the path when it was read: on Unix the file's owner, group
// and mode, for a rewrite to keep.
#ifdef Q_OS_UNIX
using Standing = std::optional<struct stat>;
#else
using Standing = std::optional<bool>;
#endif

// The whole file; a missing file is empty and no failure. `standing`, when
// given, says what was read (nothing when there was no file).
QByteArray readAll(const QString &path, Result &result, Purpose purpose, Standing *standing = nullptr)
{
#ifdef Q_OS_UNIX
    OrdinaryFile opened(path, O_RDONLY, purpose, result);
    if (opened.descriptor() < 0)
        return {};
    if (standing)
        *standing = opened.status();
    QFile file;
    if (!opened.handTo(file, QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return {};
    }
#else
    Q_UNUSED(purpose);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (QFileInfo::exists(path))
            result.error = file.errorString();
        return {};
    }
    if (standing)
        *standing = true;
#endif
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
    Result result;
    OrdinaryFile opened(path, O_WRONLY | O_APPEND | O_CREAT, Purpose::Change, result);
    if (opened.descriptor() < 0)
        return result;
    QFile file;
    if (!opened.handTo(file, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return {file.errorString()};
    const qint64 before = file.size();
    writeAll(file, record, result.error);
    if (!result.ok() && file.size() != before && !file.resize(before))
        result.error = withLeftOver(result.error, file.errorString());
    return result;
#endif
}

// What a rewrite that makes a new file gives it: the mode a new file gets
// (0666 less the umask), or one that only its owner may read and write.
enum class NewFile { AsMade, Private };

#ifdef Q_OS_UNIX
// Gives the new file of a rewrite the owner, group and mode of the file it
// replaces (`old`, as it was read), so that a delete run by root does not
// lock the owner out. A process that may not give a file away keeps at least
// the group where it may; what it may not set stays as made. Without an old
// file, `newFile` Private leaves the new one to its owner alone whatever the
// umask.
void keepOwnership(int fd, const Standing &old, NewFile newFile)
{
    if (!old) {
        if (newFile == NewFile::Private && fchmod(fd, S_IRUSR | S_IWUSR) != 0) {
            // The folder it is made in is its owner's alone as well.
        }
        return;
    }
    if (fchown(fd, old->st_uid, old->st_gid) != 0 && fchown(fd, uid_t(-1), old->st_gid) != 0) {
        // Neither is ours to set.
    }
    // After the owner: a change of owner clears the set-ID bits.
    if (fchmod(fd, old->st_mode & 07777) != 0) {
        // The mode it was made with stays.
    }
}

// A new file beside `path` for one rewrite, made by this call and by no one
// else (O_EXCL: nothing that stands there, a link included, is opened);
// `name` is its path. -1 on a failure, with errno set.
int makeTemporary(const QString &path, QByteArray &name)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = QFile::encodeName(path) + '.'
            + QByteArray::number(QRandomGenerator::global()->generate64() & 0xffffffffffff, 36);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// rewrite under the caller's lock; `old` is the file it replaces, as read.
// The new file is written beside it and renamed over it: a rename puts the
// new file in the path's place, replacing whatever stands there by then (a
// link included) rather than writing through it, and a failure before it
// leaves the old file whole.
Result rewriteLocked(const QString &path, const QByteArray &bytes, const Standing &old,
                     NewFile newFile = NewFile::AsMade)
{
    QByteArray temporary;
    const int fd = makeTemporary(path, temporary);
    if (fd < 0)
        return {qt_error_string(errno)};
    keepOwnership(fd, old, newFile);
    Result result;
    {
        // Unbuffered, so that every write reports what it really wrote.
        QFile file;
        if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            result.error = file.errorString();
        } else if (writeAll(file, bytes, result.error) == bytes.size() && ::fsync(fd) != 0) {
            // On the disk before it takes the old file's place.
            result.error = qt_error_string(errno);
        }
    }
    if (result.ok() && ::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0)
        result.error = qt_error_string(errno);
    if (!result.ok())
        ::unlink(temporary.constData());
    return result;
}
#else
// rewrite under the caller's lock.
Result rewriteLocked(const QString &path, const QByteArray &bytes, const Standing &,
                     NewFile = NewFile::AsMade)
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
#endif

// Whether the file at `path` is yet to be made: nothing stands there. What
// stands there but may not be used (a link, a pipe, another user's file) is
// a failure in `result`, not a file to make.
bool yetToMake(const QString &path, Result &result)
{
#ifdef Q_OS_UNIX
    const OrdinaryFile opened(path, O_RDONLY, Purpose::Change, result);
    return result.ok() && opened.descriptor() < 0;
#else
    Q_UNUSED(result);
    return !QFileInfo::exists(path);
#endif
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
    const QByteArray bytes = readAll(path, local, Purpose::Read);
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
    Standing old;
    const QByteArray bytes = readAll(path, result, Purpose::Change, &old);
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
    return changed ? rewriteLocked(path, kept, old) : result;
}

Result rewrite(const QString &path, const QByteArray &bytes)
{
    FileLock lock(path);
    Result result = lock.acquire();
    if (!result.ok())
        return result;
    // Read for what stands there: it is checked as a delete's would be, and
    // the new file keeps its owner and mode.
    Standing old;
    readAll(path, result, Purpose::Change, &old);
    return result.ok() ? rewriteLocked(path, bytes, old) : result;
}

Result seed(const QString &path, const QString &source)
{
    Result result;
    if (!yetToMake(path, result))
        return result;
    // Asked again under the lock: another process may have made the file.
    FileLock lock(path);
    result = lock.acquire();
    if (!result.ok() || !yetToMake(path, result))
        return result;
    const QByteArray bytes = readInstalled(source, result);
    return result.ok() ? rewriteLocked(path, bytes, Standing(), NewFile::Private) : result;
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
