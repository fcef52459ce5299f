#include "PrivateFolder.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace MTools {

namespace {

constexpr mode_t kPrivateMode = 0700;

QString systemReason(const QString& path, int error)
{
    return path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
}

// Why the status does not show a private folder of this user's; empty when
// it does.
QString unfitness(const QString& path, const struct stat& status)
{
    if (S_ISLNK(status.st_mode))
        return path + QStringLiteral(" is a link");
    if (!S_ISDIR(status.st_mode))
        return path + QStringLiteral(" is not a folder");
    if (status.st_uid != ::geteuid())
        return path + QStringLiteral(" belongs to another user");
    if ((status.st_mode & 0777) != kPrivateMode)
        return path + QStringLiteral(" has mode ") + QString::number(status.st_mode & 0777, 8);
    return {};
}

// Gives an own folder the mode 0700: through a descriptor that follows no
// link, and only while it is still the folder lstat saw.
bool narrow(const QByteArray& name, const struct stat& seen)
{
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat now;
    const bool same = ::fstat(fd, &now) == 0 && now.st_dev == seen.st_dev && now.st_ino == seen.st_ino
        && now.st_uid == ::geteuid();
    const bool done = same && ::fchmod(fd, kPrivateMode) == 0;
    ::close(fd);
    return done;
}

// Makes path a private folder of this user's where it may: answers empty
// when it is one now, else why it is not.
QString take(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status;
    if (::lstat(name.constData(), &status) != 0) {
        if (errno != ENOENT)
            return systemReason(path, errno);
        // Another may make it between the two calls: then it is judged as
        // any folder found there.
        if (::mkdir(name.constData(), kPrivateMode) != 0 && errno != EEXIST)
            return systemReason(path, errno);
        if (::lstat(name.constData(), &status) != 0)
            return systemReason(path, errno);
    }
    const QString reason = unfitness(path, status);
    if (reason.isEmpty())
        return {};
    // Only an own real folder is mended; nothing else here is ours to change.
    if (S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() && narrow(name, status))
        return {};
    return reason;
}

// A trailing '/' would make lstat follow a link.
QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

}  // namespace

PrivateFolder::PrivateFolder(const QString& base, const QString& name)
{
    const QString root = withoutTrailingSlash(base);
    if (root.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('/'))) {
        m_strError = QStringLiteral("No private folder: no base or no name");
        return;
    }
    // The base is shared: it is made when missing, but not judged.
    QDir().mkpath(root);
    const QString shared = root + QLatin1Char('/') + name;
    const QString sharedReason = take(shared);
    if (sharedReason.isEmpty()) {
        m_strPath = shared;
        return;
    }
    const QString own = shared + QLatin1Char('-') + QString::number(::geteuid());
    const QString ownReason = take(own);
    if (ownReason.isEmpty()) {
        m_strPath = own;
        return;
    }
    m_strError = QStringLiteral("No private folder: ") + sharedReason + QStringLiteral("; ") + ownReason;
}

bool PrivateFolder::isValid() const
{
    return !m_strPath.isEmpty();
}

QString PrivateFolder::path() const
{
    return m_strPath;
}

QString PrivateFolder::errorString() const
{
    return m_strError;
}

bool PrivateFolder::isPrivate(const QString& path, QString* reason)
{
    const QString folder = withoutTrailingSlash(path);
    struct stat status;
    QString why;
    if (folder.isEmpty())
        why = QStringLiteral("no folder given");
    else if (::lstat(QFile::encodeName(folder).constData(), &status) != 0)
        why = systemReason(folder, errno);
    else
        why = unfitness(folder, status);
    if (reason)
        *reason = why;
    return why.isEmpty();
}

}  // namespace MTools
