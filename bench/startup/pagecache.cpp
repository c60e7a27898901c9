#include "pagecache.h"

#include <QFile>
#include <QSet>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

QStringList mappedFiles(const QList<pid_t> &processes)
{
    QSet<QString> files;
    for (pid_t pid : processes) {
        QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
        if (!maps.open(QIODevice::ReadOnly))
            continue;
        // "start-end perms offset dev inode path"; anonymous and special
        // mappings have no path, or no inode, or one that is not a file.
        for (const QByteArray &line : maps.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() < 6 || fields[4] == "0" || !fields[5].startsWith('/') || fields.size() > 6)
                continue;
            const QString path = QFile::decodeName(fields[5]);
            if (!path.startsWith(QLatin1String("/dev/")) && !path.startsWith(QLatin1String("/memfd:")))
                files.insert(path);
        }
    }
    QStringList sorted(files.begin(), files.end());
    sorted.sort();
    return sorted;
}

CacheUse pageCacheUse(const QStringList &files)
{
    CacheUse use;
    const long page = sysconf(_SC_PAGESIZE);
    for (const QString &file : files) {
        const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info;
        if (::fstat(fd, &info) == 0 && info.st_size > 0) {
            use.total += info.st_size;
            void *map = ::mmap(nullptr, size_t(info.st_size), PROT_READ, MAP_SHARED, fd, 0);
            if (map != MAP_FAILED) {
                std::vector<unsigned char> pages(size_t((info.st_size + page - 1) / page));
                qint64 resident = 0;
                if (::mincore(map, size_t(info.st_size), pages.data()) == 0) {
                    for (unsigned char p : pages)
                        resident += (p & 1) ? page : 0;
                }
                use.resident += std::min<qint64>(resident, info.st_size);
                ::munmap(map, size_t(info.st_size));
            }
        }
        ::close(fd);
    }
    return use;
}

void dropFromPageCache(const QStringList &files)
{
    for (const QString &file : files) {
        const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}
