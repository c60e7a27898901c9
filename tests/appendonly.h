#pragma once

#include <QFile>
#include <QString>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

// While it lives, the file at `path` may only be appended to: nobody, root
// included, may replace or remove it, as when an administrator has set the
// attribute. Where the file system or the process may not set it (or off
// Linux), isSet() is false and the file is as it was.
class AppendOnly
{
public:
    explicit AppendOnly(const QString &path) : m_path(path), m_set(change(true)) {}
    ~AppendOnly()
    {
        if (m_set)
            change(false);
    }
    bool isSet() const { return m_set; }

private:
    bool change(bool on) const
    {
#ifdef __linux__
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_CLOEXEC);
        int flags = 0;
        bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_APPEND_FL : flags & ~FS_APPEND_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0)
            ::close(fd);
        return done;
#else
        Q_UNUSED(on);
        return false;
#endif
    }

    QString m_path;
    bool m_set;
};
