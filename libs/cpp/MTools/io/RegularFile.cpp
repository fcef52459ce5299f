#include "RegularFile.h"

#include <QCoreApplication>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MTools {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("MTools::RegularFile", text);
}

}  // namespace

RegularFile::~RegularFile()
{
    close();
}

bool RegularFile::open(const QString& path, Options options)
{
    close();
    m_strError.clear();
    // O_NONBLOCK: opening a pipe would otherwise wait for a writer, and a
    // device could wait for its line; on a regular file it changes nothing.
    int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
    if (options & NoLinks)
        flags |= O_NOFOLLOW;
    m_fd = ::open(QFile::encodeName(path).constData(), flags);
    struct stat info {};
    // The system's text is taken before anything is closed (which may
    // change errno).
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        return refuse(qt_error_string(errno));
    if (!S_ISREG(info.st_mode))
        return refuse(tr("Not a regular file"));
    if ((options & OwnOnly) && info.st_uid != ::geteuid())
        return refuse(tr("The file belongs to another user"));
    m_nSize = qint64(info.st_size);
    m_nMode = info.st_mode;
    return true;
}

bool RegularFile::isOpen() const
{
    return m_fd >= 0;
}

void RegularFile::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_nSize = 0;
    m_nMode = 0;
}

int RegularFile::handle() const
{
    return m_fd;
}

int RegularFile::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

bool RegularFile::releaseTo(QFile* file)
{
    const int fd = release();
    if (fd < 0)
        return false;
    if (file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

bool RegularFile::openFile(const QString& path, QFile* file, Options options, QString* pError)
{
    RegularFile source;
    if (source.open(path, options) && source.releaseTo(file))
        return true;
    if (pError)
        *pError = source.errorString().isEmpty() ? file->errorString() : source.errorString();
    return false;
}

qint64 RegularFile::size() const
{
    return m_nSize;
}

mode_t RegularFile::mode() const
{
    return m_nMode;
}

QString RegularFile::errorString() const
{
    return m_strError;
}

bool RegularFile::refuse(const QString& reason)
{
    close();
    m_strError = reason;
    return false;
}

}  // namespace MTools
