#pragma once

// A folder in which no entry can be made while the guard lives (Linux).

#include <QFile>
#include <QString>

#include <cerrno>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// Root may make entries in any folder whatever its mode, so for root the
// folder is marked immutable (which needs a file system that knows the flag);
// for anyone else its write permission is taken away. isSet() tells whether
// either worked; errorCode() is the errno a new entry then gets.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString& path)
        : m_path(QFile::encodeName(path))
        , m_bRoot(::geteuid() == 0)
    {
        if (m_bRoot) {
            m_fd = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            int flags = 0;
            if (m_fd >= 0 && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags |= FS_IMMUTABLE_FL;
                m_bSet = ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0;
            }
        } else {
            m_bSet = ::chmod(m_path.constData(), 0555) == 0;
        }
    }
    ~ReadOnlyFolder()
    {
        if (m_bRoot) {
            int flags = 0;
            if (m_bSet && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags);
            }
            if (m_fd >= 0)
                ::close(m_fd);
        } else if (m_bSet) {
            ::chmod(m_path.constData(), 0755);
        }
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool isSet() const { return m_bSet; }
    int errorCode() const { return m_bRoot ? EPERM : EACCES; }

private:
    QByteArray m_path;
    bool m_bRoot = false;
    int m_fd = -1;
    bool m_bSet = false;
};
