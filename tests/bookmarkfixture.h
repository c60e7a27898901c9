#pragma once

#include "bookmarkfile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#ifndef _WIN32
#include <csignal>
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

#ifndef _WIN32
// While it lives, no file this process writes may grow past `bytes`: a write
// beyond fails as it does on a full disk. Root is held to it too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};
#endif

} // namespace bookmarkfixture
