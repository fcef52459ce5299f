#include "SafeSave.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <ctime>
#endif
#ifdef Q_OS_LINUX
#include <sys/xattr.h>
#endif

namespace MTools {

namespace {

// The most a save in place holds for commit(): half of what a QByteArray
// can hold, so that the buffer's growth stays clear of that limit.
constexpr qint64 kMaxHeldBytes = qint64(1) << 30;

// An existing target that is neither a regular file nor a folder (QFileInfo
// follows links). A folder is left to QSaveFile, which names the fault.
bool isSpecialFile(const QFileInfo& target)
{
    return target.exists() && !target.isFile() && !target.isDir();
}

// QSaveFile's own direct-write fallback reacts only to EACCES: root never
// gets it, and a folder marked immutable answers EPERM. Asking the folder
// covers both; a file that is new, or a temporary file that failed for
// another reason (no space left), keeps the failure rather than risk the
// old content.
bool folderRefusesNewFiles(const QFileInfo& target)
{
    if (!target.isFile())
        return false;
    const QString strFolder = QFileInfo(target.canonicalFilePath()).absolutePath();
#ifdef Q_OS_UNIX
    // Asked for the effective user, who makes the files (QFileInfo asks for
    // the real one).
    return ::faccessat(AT_FDCWD, QFile::encodeName(strFolder).constData(), W_OK, AT_EACCESS) != 0;
#else
    return !QFileInfo(strFolder).isWritable();
#endif
}

// Writes all of it: a short write gives no cause, the next attempt fails
// with the system's reason, which the device then keeps.
bool writeAll(QIODevice& device, const char* pData, qint64 nSize)
{
    while (nSize > 0) {
        const qint64 nWritten = device.write(pData, nSize);
        if (nWritten <= 0)
            return false;
        pData += nWritten;
        nSize -= nWritten;
    }
    return true;
}

// Puts bytes in place of a regular file's content. The part beyond the old
// end goes first: a full disk or a size limit fails there, and cutting that
// part off again leaves the old bytes as they were. Writing over the old
// bytes then needs no new room.
bool writeOver(QFileDevice& file, const QByteArray& bytes, QString* pError)
{
    const qint64 nOld = file.size();
    const qint64 nNew = bytes.size();
    if (nNew > nOld && !(file.seek(nOld) && writeAll(file, bytes.constData() + nOld, nNew - nOld))) {
        *pError = file.errorString();  // before resize() clears it
        file.resize(nOld);
        return false;
    }
    if (!file.seek(0) || !writeAll(file, bytes.constData(), qMin(nOld, nNew)) || (nNew < nOld && !file.resize(nNew))) {
        *pError = file.errorString();
        return false;
    }
    return true;
}

#ifdef Q_OS_UNIX
// The existing regular file that a save would replace (a link is followed).
bool statRegularFile(const QString& strPath, struct stat* pInfo)
{
    return ::stat(QFile::encodeName(strPath).constData(), pInfo) == 0 && S_ISREG(pInfo->st_mode);
}

// Gives the file open as fd the access ACL of the one at path, or none when
// that has none (the new file may have taken one from its folder's
// default); true also where the file system keeps no ACL.
bool carryAccessAcl(const QByteArray& path, int fd)
{
#ifdef Q_OS_LINUX
    static const char kName[] = "system.posix_acl_access";
    const ssize_t nSize = ::getxattr(path.constData(), kName, nullptr, 0);
    if (nSize < 0 && errno == ENODATA)
        return ::fremovexattr(fd, kName) == 0 || errno == ENODATA;
    if (nSize < 0)
        return errno == ENOTSUP;
    QByteArray value(int(nSize), '\0');
    const ssize_t nRead = ::getxattr(path.constData(), kName, value.data(), size_t(value.size()));
    return nRead >= 0 && ::fsetxattr(fd, kName, value.constData(), size_t(nRead), 0) == 0;
#else
    Q_UNUSED(path);
    Q_UNUSED(fd);
    return true;
#endif
}

// Gives the new file open as fd what the old one had: its owner and group,
// its access ACL and its permission bits (last: a change of owner clears the
// set-id bits, and they agree with the ACL). False where the saver may not
// do that: only root gives a file away, and an ordinary user gives hers only
// a group she is in.
bool carryMetadata(const QString& strOld, const struct stat& old, int fd)
{
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    return carryAccessAcl(QFile::encodeName(strOld), fd) && ::fchmod(fd, old.st_mode & 07777) == 0;
}

// While alive, SIGPIPE and SIGXFSZ are held back from this thread, so that a
// write to a pipe whose reader has gone fails with EPIPE, and one past the
// file size limit with EFBIG (as on a full disk), instead of ending the
// process (a blocked SIGXFSZ makes the write fail just as an ignored one
// does). Both signals are raised for the writing thread itself, so holding
// them back here leaves other threads and the process's handlers alone, where
// ignoring them would change them for every thread meanwhile. A signal raised
// meanwhile is taken back, unless one was pending before.
class WriteSignalBlock
{
public:
    WriteSignalBlock()
    {
        sigset_t pending;
        sigpending(&pending);
        sigemptyset(&m_set);
        for (int i = 0; i < kCount; ++i) {
            m_bWasPending[i] = sigismember(&pending, kSignals[i]) == 1;
            sigaddset(&m_set, kSignals[i]);
        }
        pthread_sigmask(SIG_BLOCK, &m_set, &m_old);
    }
    ~WriteSignalBlock()
    {
        sigset_t pending;
        sigpending(&pending);
        for (int i = 0; i < kCount; ++i) {
            if (!m_bWasPending[i] && sigismember(&pending, kSignals[i]) == 1) {
                sigset_t one;
                sigemptyset(&one);
                sigaddset(&one, kSignals[i]);
                const timespec noWait {};
                sigtimedwait(&one, nullptr, &noWait);
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }
    WriteSignalBlock(const WriteSignalBlock&) = delete;
    WriteSignalBlock& operator=(const WriteSignalBlock&) = delete;

private:
    static constexpr int kCount = 2;
    static constexpr int kSignals[kCount] = {SIGPIPE, SIGXFSZ};
    sigset_t m_set;
    sigset_t m_old;
    bool m_bWasPending[kCount] = {};
};
#else
class WriteSignalBlock
{
public:
    WriteSignalBlock() {}
};
#endif

}  // namespace

SafeSave::SafeSave(const QString& strFileName, Target target, QObject* parent)
    : QIODevice(parent), m_strFileName(strFileName), m_target(target)
{
}

SafeSave::~SafeSave()
{
    finish();
}

QString SafeSave::fileName() const
{
    return m_strFileName;
}

bool SafeSave::open(OpenMode mode)
{
    if (isOpen() || !(mode & WriteOnly) || (mode & (ReadOnly | Append))) {
        setErrorString(tr("A save of %1 opens once, for writing only").arg(m_strFileName));
        return false;
    }
    const QFileInfo target(m_strFileName);
    if (isSpecialFile(target) && m_target == RegularFileOnly) {
        setErrorString(tr("%1 is not a regular file").arg(m_strFileName));
        return false;
    }
    // Line ends are converted by this device's write(); the file must not
    // convert them again.
    const bool bOpened = isSpecialFile(target) ? openInPlace() : openReplacement(mode & ~Text);
    if (!bOpened) {
        finish();
        return false;
    }
    m_bWriteFailed = false;
    return QIODevice::open(mode);
}

// A new file that takes the target's place on commit(), or the target
// itself where a new file would lose what the old one has.
bool SafeSave::openReplacement(OpenMode fileMode)
{
#ifdef Q_OS_UNIX
    struct stat old {};
    const bool bExisting = statRegularFile(m_strFileName, &old);
    if (bExisting && old.st_nlink > 1)
        return openInPlace();
#endif
    auto pSave = std::make_unique<QSaveFile>(m_strFileName);
    if (!pSave->open(fileMode)) {
        if (folderRefusesNewFiles(QFileInfo(m_strFileName)))
            return openInPlace();
        setErrorString(pSave->errorString());
        return false;
    }
#ifdef Q_OS_UNIX
    if (bExisting && !carryMetadata(m_strFileName, old, int(pSave->handle()))) {
        pSave.reset();  // an uncommitted QSaveFile removes its temporary file
        return openInPlace();
    }
#endif
    m_pFile = std::move(pSave);
    return true;
}

// The target itself, opened for writing but not cut (as QFile's WriteOnly
// would cut it): it keeps its bytes until commit() writes the held ones.
bool SafeSave::openInPlace()
{
    auto pFile = std::make_unique<QFile>(m_strFileName);
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(m_strFileName).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        setErrorString(qt_error_string(errno));
        return false;
    }
    if (!pFile->open(fd, WriteOnly | Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        setErrorString(pFile->errorString());
        return false;
    }
#else
    if (!pFile->open(ReadWrite | Unbuffered)) {
        setErrorString(pFile->errorString());
        return false;
    }
#endif
    m_pHeld = std::make_unique<QBuffer>();
    m_pHeld->open(WriteOnly);
    m_pFile = std::move(pFile);
    return true;
}

bool SafeSave::commit()
{
    if (!isOpen())
        return false;
    const WriteSignalBlock block;
    const bool bOk = !m_bWriteFailed && (m_pHeld ? commitInPlace() : commitReplacement());
    finish();
    return bOk;
}

bool SafeSave::commitReplacement()
{
    auto* pSave = static_cast<QSaveFile*>(m_pFile.get());
    // QSaveFile::commit() overlooks a failed flush of its buffer (the disk
    // filling up at the last bytes), so the flush is checked here first. A
    // flush that wrote a part gives no cause; a second one fails at once and
    // names it.
    if (!pSave->flush()) {
        pSave->flush();
        setErrorString(pSave->errorString());
        return false;
    }
    if (!pSave->commit()) {
        setErrorString(pSave->errorString());
        return false;
    }
    return true;
}

bool SafeSave::commitInPlace()
{
    QFileDevice& target = *m_pFile;
    const QByteArray& bytes = m_pHeld->data();
    QString strError;
    bool bOk = true;
    if (target.isSequential()) {
        bOk = writeAll(target, bytes.constData(), bytes.size());
        strError = target.errorString();
    } else {
        bOk = writeOver(target, bytes, &strError);
    }
    if (bOk) {
        target.close();
        bOk = target.error() == QFileDevice::NoError;
        strError = target.errorString();
    }
    if (!bOk)
        setErrorString(strError);
    return bOk;
}

void SafeSave::cancel()
{
    finish();
}

void SafeSave::close()
{
    finish();
}

void SafeSave::finish()
{
    // An uncommitted QSaveFile writes out its buffer, then removes its
    // temporary file as it goes; a target opened in place is closed
    // untouched.
    if (m_pFile) {
        const WriteSignalBlock block;
        m_pFile.reset();
    }
    m_pHeld.reset();
    if (isOpen())
        QIODevice::close();
}

bool SafeSave::isSequential() const
{
    return m_pFile && m_pFile->isSequential();
}

bool SafeSave::seek(qint64 nPos)
{
    if (!m_pFile || m_pFile->isSequential())
        return false;
    if (m_pHeld)
        return nPos <= kMaxHeldBytes && m_pHeld->seek(nPos) && QIODevice::seek(nPos);
    // The file writes out its buffer first.
    const WriteSignalBlock block;
    return m_pFile->seek(nPos) && QIODevice::seek(nPos);
}

qint64 SafeSave::size() const
{
    if (m_pHeld)
        return m_pHeld->size();
    if (!m_pFile)
        return 0;
    // The file writes out its buffer first.
    const WriteSignalBlock block;
    return m_pFile->size();
}

qint64 SafeSave::readData(char* pData, qint64 nMaxSize)
{
    Q_UNUSED(pData);
    Q_UNUSED(nMaxSize);
    return -1;
}

qint64 SafeSave::writeData(const char* pData, qint64 nSize)
{
    // Nothing after a failed write can make the file whole again.
    if (m_bWriteFailed)
        return -1;
    if (m_pHeld && m_pHeld->pos() + nSize > kMaxHeldBytes) {
        m_bWriteFailed = true;
        setErrorString(tr("%1 is written in place and too large to be held until the save ends").arg(m_strFileName));
        return -1;
    }
    QIODevice& device = m_pHeld ? static_cast<QIODevice&>(*m_pHeld) : *m_pFile;
    // The file writes out its buffer as it fills; held bytes stay in memory.
    std::optional<WriteSignalBlock> block;
    if (!m_pHeld)
        block.emplace();
    if (!writeAll(device, pData, nSize)) {
        m_bWriteFailed = true;
        setErrorString(device.errorString());
        return -1;
    }
    return nSize;
}

}  // namespace MTools
