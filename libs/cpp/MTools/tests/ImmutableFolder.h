#pragma once

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

// While alive, the folder is marked immutable (no entry can be added or
// removed there, even by root; its files stay writable). Needs a file system
// that knows the flag and the right to set it.
class ImmutableFolder
{
public:
    explicit ImmutableFolder(const QString& path)
        : m_fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        int flags = 0;
        if (m_fd >= 0 && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            m_bSet = ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~ImmutableFolder()
    {
        int flags = 0;
        if (m_bSet && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags);
        }
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ImmutableFolder(const ImmutableFolder&) = delete;
    ImmutableFolder& operator=(const ImmutableFolder&) = delete;

    bool isSet() const { return m_bSet; }

private:
    int m_fd = -1;
    bool m_bSet = false;
};
