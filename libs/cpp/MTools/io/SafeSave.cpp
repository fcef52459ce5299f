#include "SafeSave.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#endif

namespace MTools {

namespace {

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

#ifdef Q_OS_UNIX
// While alive, SIGPIPE is held back from this thread, so that a write to a
// pipe whose reader has gone fails with EPIPE instead of ending the process.
// A SIGPIPE raised meanwhile is taken back, unless one was pending before.
class PipeSignalBlock
{
public:
    PipeSignalBlock()
    {
        sigemptyset(&m_set);
        sigaddset(&m_set, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_bWasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &m_set, &m_old);
    }
    ~PipeSignalBlock()
    {
        sigset_t pending;
        sigpending(&pending);
        if (!m_bWasPending && sigismember(&pending, SIGPIPE) == 1) {
            const timespec noWait {};
            sigtimedwait(&m_set, nullptr, &noWait);
        }
        pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
    }
    PipeSignalBlock(const PipeSignalBlock&) = delete;
    PipeSignalBlock& operator=(const PipeSignalBlock&) = delete;

private:
    sigset_t m_set;
    sigset_t m_old;
    bool m_bWasPending = false;
};
#else
class PipeSignalBlock
{
public:
    PipeSignalBlock() {}
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
    // Line ends are converted by this device's write(); the file must not
    // convert them again.
    const OpenMode fileMode = mode & ~Text;
    const QFileInfo target(m_strFileName);
    if (isSpecialFile(target) && m_target == RegularFileOnly) {
        setErrorString(tr("%1 is not a regular file").arg(m_strFileName));
        return false;
    }
    if (isSpecialFile(target))
        m_pFile = std::make_unique<QFile>(m_strFileName);
    else
        m_pFile = std::make_unique<QSaveFile>(m_strFileName);
    bool bOpened = m_pFile->open(fileMode);
    if (!bOpened && qobject_cast<QSaveFile*>(m_pFile.get()) && folderRefusesNewFiles(target)) {
        m_pFile = std::make_unique<QFile>(m_strFileName);
        bOpened = m_pFile->open(fileMode);
    }
    if (!bOpened) {
        setErrorString(m_pFile->errorString());
        m_pFile.reset();
        return false;
    }
    m_bWriteFailed = false;
    return QIODevice::open(mode);
}

bool SafeSave::commit()
{
    if (!isOpen())
        return false;
    const PipeSignalBlock block;
    // QSaveFile::commit() overlooks a failed flush of its buffer (the disk
    // filling up at the last bytes), so the flush is checked here first.
    bool bOk = !m_bWriteFailed && m_pFile->flush();
    if (bOk) {
        if (auto* pSave = qobject_cast<QSaveFile*>(m_pFile.get())) {
            bOk = pSave->commit();
        } else {
            m_pFile->close();
            bOk = m_pFile->error() == QFileDevice::NoError;
        }
    }
    if (!bOk && !m_bWriteFailed)
        setErrorString(m_pFile->errorString());
    finish();
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
    // An uncommitted QSaveFile removes its temporary file as it goes.
    m_pFile.reset();
    if (isOpen())
        QIODevice::close();
}

bool SafeSave::isSequential() const
{
    return m_pFile && m_pFile->isSequential();
}

bool SafeSave::seek(qint64 nPos)
{
    if (!m_pFile || m_pFile->isSequential() || !m_pFile->seek(nPos))
        return false;
    return QIODevice::seek(nPos);
}

qint64 SafeSave::size() const
{
    return m_pFile ? m_pFile->size() : 0;
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
    const PipeSignalBlock block;
    const qint64 nWritten = m_pFile->write(pData, nSize);
    if (nWritten != nSize) {
        m_bWriteFailed = true;
        setErrorString(m_pFile->errorString());
    }
    return nWritten;
}

}  // namespace MTools
