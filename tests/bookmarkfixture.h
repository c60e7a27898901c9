#pragma once

#include "bookmarkfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QtTest>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

// Shared by the bookmark suites: file contents and failing writes.
namespace bookmarkfixture {

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        QFAIL(qPrintable(QStringLiteral("cannot write %1: %2").arg(path, file.errorString())));
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Records flattened to name, address, name, address, ...
inline QStringList flatten(const std::vector<bookmarkfile::Bookmark> &records)
{
    QStringList out;
    for (const bookmarkfile::Bookmark &record : records)
        out << record.name << record.address;
    return out;
}

inline std::vector<bookmarkfile::Bookmark> records(const QStringList &flat)
{
    std::vector<bookmarkfile::Bookmark> out;
    for (qsizetype i = 0; i + 1 < flat.size(); i += 2)
        out.push_back({flat.at(i), flat.at(i + 1)});
    return out;
}

// Sets a file's modification time well into the past, so that any rewrite shows.
inline QDateTime ageFile(const QString &path)
{
    const QDateTime past = QDateTime::currentDateTimeUtc().addDays(-3);
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(past, QFileDevice::FileModificationTime))
        qWarning("cannot age %s", qPrintable(path));
    return QFileInfo(path).lastModified();
}

// A size limit this low still lets the lock file be made (its pid, program,
// host and machine lines), so that what fails is the bookmark file's write.
constexpr int LockFileRoom = 1024;

#ifndef _WIN32
// While it lives, no file this process writes may grow past `bytes`: a write
// beyond fails as it does on a full disk. Root is held to it too. The process
// outlives such a write only as the program does, through the program's own
// start-up call.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        bookmarkfile::safefile::failWritesPastSizeLimit();
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};
#endif

#ifndef _WIN32
// What stands at `path`, the link itself rather than what it names: its type
// and, for a link, where it points; empty when nothing does.
inline QString standing(const QString &path)
{
    struct stat status;
    const QByteArray native = QFile::encodeName(path);
    if (lstat(native.constData(), &status) != 0)
        return {};
    char target[4096];
    const ssize_t size = S_ISLNK(status.st_mode) ? readlink(native.constData(), target, sizeof target) : 0;
    return QString::number(status.st_mode & S_IFMT, 8) + u' ' + QString::fromLocal8Bit(target, qMax<ssize_t>(size, 0));
}

// While it lives, lets out whoever stays stuck opening or reading the pipe
// at `path`: after a while that no correct program would wait (the program
// refuses pipes at once), it opens the pipe at either end and closes it
// again, as often as someone opens it again, and released() says so.
class PipeRelease
{
public:
    explicit PipeRelease(const QString &path) : m_path(QFile::encodeName(path))
    {
        m_writer = std::thread([this] { run(); });
    }
    ~PipeRelease()
    {
        {
            std::lock_guard<std::mutex> hold(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_writer.join();
    }
    bool released() const { return m_released; }

private:
    void run()
    {
        std::unique_lock<std::mutex> hold(m_mutex);
        if (m_wake.wait_for(hold, std::chrono::seconds(10), [this] { return m_done; }))
            return;
        m_released = true;
        while (!m_wake.wait_for(hold, std::chrono::milliseconds(10), [this] { return m_done; })) {
            // Either end lets out one waiting at the other.
            for (const int end : {O_RDONLY, O_WRONLY}) {
                const int fd = open(m_path.constData(), end | O_NONBLOCK);
                if (fd >= 0)
                    close(fd);
            }
        }
    }

    const QByteArray m_path;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    std::atomic<bool> m_released{false};
    std::thread m_writer;
};

// While it lives, something other than an ordinary lock file stands where a
// change to the bookmark file at `path` makes its lock, as `kind` says:
//   "lock is a pipe", "lock links to a pipe", "lock is a dangling link",
//   "lock links to a device" (/dev/null), "lock is a device" (root only),
//   "pipe beside a stale lock" (a lock whose owner has gone, and a pipe where
//   QLockFile makes its file to take such a lock over).
// A change that opens a pipe instead of refusing it would wait for a writer
// for ever; PipeRelease lets it out, and the plant no longer counts as
// untouched.
class PlantedLock
{
public:
    static QStringList kinds()
    {
        QStringList out{"lock is a pipe", "lock links to a pipe", "lock is a dangling link", "lock links to a device",
                        "pipe beside a stale lock"};
        if (geteuid() == 0)
            out << QStringLiteral("lock is a device");
        return out;
    }

    PlantedLock(const QString &kind, const QString &path)
    {
        const QString lock = path + QStringLiteral(".lock");
        const QString pipe = path + QStringLiteral(".pipe");
        const auto fifo = [](const QString &at) {
            if (mkfifo(QFile::encodeName(at).constData(), 0666) != 0)
                qWarning("cannot make a pipe at %s", qPrintable(at));
        };
        const auto link = [](const QString &to, const QString &at) {
            if (symlink(QFile::encodeName(to).constData(), QFile::encodeName(at).constData()) != 0)
                qWarning("cannot make a link at %s", qPrintable(at));
        };
        if (kind == QLatin1String("lock is a pipe")) {
            fifo(lock);
            m_pipe = lock;
        } else if (kind == QLatin1String("lock links to a pipe")) {
            fifo(pipe);
            link(pipe, lock);
            m_pipe = pipe;
        } else if (kind == QLatin1String("lock is a dangling link")) {
            link(path + QStringLiteral(".gone"), lock);
        } else if (kind == QLatin1String("lock links to a device")) {
            link(QStringLiteral("/dev/null"), lock);
        } else if (kind == QLatin1String("lock is a device")) {
            if (mknod(QFile::encodeName(lock).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
                qWarning("cannot make a device at %s", qPrintable(lock));
        } else if (kind == QLatin1String("pipe beside a stale lock")) {
            // No owner's name in it, and older than any lock is kept.
            writeFile(lock, "");
            ageFile(lock);
            m_pipe = lock + QStringLiteral(".rmlock");
            fifo(m_pipe);
        } else {
            return;
        }
        for (const QString &planted : {lock, pipe, lock + QStringLiteral(".rmlock")}) {
            if (!standing(planted).isEmpty())
                m_planted.append({planted, standing(planted)});
        }
        if (!m_pipe.isEmpty())
            m_release.emplace(m_pipe);
    }

    ~PlantedLock()
    {
        m_release.reset();
        for (const auto &planted : m_planted)
            QFile::remove(planted.first);
    }

    // Whether everything planted still stands as it was, and no change had
    // to be let out of a pipe.
    bool untouched() const
    {
        if (m_release && m_release->released())
            return false;
        for (const auto &planted : m_planted) {
            if (standing(planted.first) != planted.second)
                return false;
        }
        return true;
    }

private:
    QList<std::pair<QString, QString>> m_planted;
    QString m_pipe;
    std::optional<PipeRelease> m_release;
};

// While it lives, what another account of a folder both may write to put
// where the bookmark file at `path` should be, as `kind` says: "link to a
// file" (the user's start-up script, holding `content`), "dangling link",
// "pipe", "folder", "second name" (a hard link to that script) and, as root,
// "another user's file" (holding `content`).
class PlantedFile
{
public:
    static QStringList kinds()
    {
        return QStringList{"link to a file", "dangling link", "pipe", "folder", "second name"}
            + (geteuid() == 0 ? QStringList{"another user's file"} : QStringList());
    }

    PlantedFile(const QString &kind, const QString &path, const QByteArray &content)
        : m_path(path), m_script(path + QStringLiteral("-script"))
    {
        const QByteArray at = QFile::encodeName(path), script = QFile::encodeName(m_script);
        const bool other = kind == QLatin1String("another user's file");
        if (other || kind == QLatin1String("link to a file") || kind == QLatin1String("second name"))
            writeFile(other ? path : m_script, content);
        const bool made = kind == QLatin1String("link to a file") || kind == QLatin1String("dangling link")
            ? symlink(script.constData(), at.constData()) == 0
            : kind == QLatin1String("pipe")   ? mkfifo(at.constData(), 0666) == 0
            : kind == QLatin1String("folder") ? mkdir(at.constData(), 0777) == 0
            : other ? chown(at.constData(), 65534, 65534) == 0 : link(script.constData(), at.constData()) == 0;
        if (!made)
            qWarning("cannot plant %s at %s", qPrintable(kind), at.constData());
        if (kind == QLatin1String("pipe"))
            m_release.emplace(path);
        m_before = state();
    }

    // Whether the plant and the script stand as they were, nothing was made
    // beside them, and no call had to be let out of the pipe.
    bool untouched() const { return !(m_release && m_release->released()) && state() == m_before; }

    // What the program's refusal says of it.
    static QString why(const QString &kind)
    {
        return kind == QLatin1String("another user's file")
            ? QStringLiteral(" belongs to another user (nobody)")
            : QStringLiteral(" is a link, a pipe, a device or a folder, not an ordinary file");
    }

private:
    QStringList state() const
    {
        QStringList out = QFileInfo(m_path).dir().entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System);
        for (const QString &at : {m_path, m_script}) {
            const QFileInfo info(at);
            out << standing(at) << QString::number(info.ownerId())
                << (info.isFile() ? QString::fromLatin1(readFile(at).toHex()) : QString())
                << info.lastModified().toString(Qt::ISODateWithMs);
        }
        return out;
    }

    const QString m_path, m_script;
    QStringList m_before;
    std::optional<PipeRelease> m_release;
};

// While it lives, files and folders are made with the permissions given in
// `mask` taken away (0: as asked, nothing taken away).
struct Umask
{
    const mode_t saved;
    explicit Umask(mode_t mask) : saved(umask(mask)) {}
    ~Umask() { umask(saved); }
};

// The permission bits of what stands at `path`, links followed; -1 when
// nothing does.
inline int modeOf(const QString &path)
{
    struct stat status;
    return stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
}
#endif

// While it lives, every change to the bookmark file at `path` fails as `kind`
// says: "size limit" (files may not grow past `limit` bytes; without a size
// limit on Windows, nothing fails there), "busy" (another process holds the
// file's lock) or one of PlantedLock's kinds (not on Windows). Any other kind
// changes nothing.
class FailingChanges
{
public:
    FailingChanges(const QString &kind, const QString &path, qint64 limit = LockFileRoom)
        : m_lock(path + QStringLiteral(".lock"))
#ifndef _WIN32
        , m_planted(kind, path)
#endif
    {
        if (kind == QLatin1String("busy")) {
            if (!m_lock.tryLock())
                qWarning("cannot hold the lock of %s", qPrintable(path));
            bookmarkfile::safefile::setLockWaitForTesting(50);
        }
#ifndef _WIN32
        if (kind == QLatin1String("size limit"))
            m_limit.emplace(rlim_t(limit));
#else
        Q_UNUSED(limit);
#endif
    }
    ~FailingChanges() { bookmarkfile::safefile::setLockWaitForTesting(-1); }

    // Whether what was planted in the lock's place still stands untouched.
    bool plantUntouched() const
    {
#ifndef _WIN32
        return m_planted.untouched();
#else
        return true;
#endif
    }

private:
    QLockFile m_lock;
#ifndef _WIN32
    PlantedLock m_planted;
    std::optional<FileSizeLimit> m_limit;
#endif
};

} // namespace bookmarkfixture
