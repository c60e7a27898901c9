#pragma once

#include "bookmarkfile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QtTest>

#include <optional>

#ifndef _WIN32
#include <sys/resource.h>
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
        bookmarkfile::failWritesPastSizeLimit();
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};
#endif

// While it lives, every change to the bookmark file at `path` fails as `kind`
// says: "size limit" (files may not grow past `limit` bytes; without a size
// limit on Windows, nothing fails there) or "busy" (another process holds the
// file's lock). Any other kind changes nothing.
class FailingChanges
{
public:
    FailingChanges(const QString &kind, const QString &path, qint64 limit = LockFileRoom)
        : m_lock(path + QStringLiteral(".lock"))
    {
        if (kind == QLatin1String("busy")) {
            if (!m_lock.tryLock())
                qWarning("cannot hold the lock of %s", qPrintable(path));
            bookmarkfile::setLockWaitForTesting(50);
        }
#ifndef _WIN32
        if (kind == QLatin1String("size limit"))
            m_limit.emplace(rlim_t(limit));
#else
        Q_UNUSED(limit);
#endif
    }
    ~FailingChanges() { bookmarkfile::setLockWaitForTesting(-1); }

private:
    QLockFile m_lock;
#ifndef _WIN32
    std::optional<FileSizeLimit> m_limit;
#endif
};

} // namespace bookmarkfixture
