#pragma once

#include <QList>
#include <QStringList>

#include <sys/types.h>

// The files a program has mapped (its executable, libraries, data files and
// fonts), as /proc shows them for its processes now.
QStringList mappedFiles(const QList<pid_t> &processes);

// How many bytes of `files` are in the page cache now, of how many in all.
struct CacheUse
{
    qint64 resident = 0, total = 0;
};
CacheUse pageCacheUse(const QStringList &files);

// Asks the kernel to drop the pages of `files` from the page cache, so that
// the next start reads them from disk. Pages that another process has mapped
// stay in memory.
void dropFromPageCache(const QStringList &files);
