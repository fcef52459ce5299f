#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <sys/stat.h>

// A named pipe at a path with `cat` reading it into a file of its own: what
// a writer sends through the pipe, received() gives back. The reader is
// another process, so a writer blocked on the pipe cannot hold it up.
class FifoReader
{
public:
    explicit FifoReader(const QString& strPath) : m_strPath(strPath)
    {
        if (!m_output.isValid() || ::mkfifo(QFile::encodeName(strPath).constData(), 0600) != 0)
            return;
        m_reader.setStandardOutputFile(m_output.filePath(QStringLiteral("received")));
        m_reader.start(QStringLiteral("cat"), {strPath});
        m_bReady = m_reader.waitForStarted();
    }
    ~FifoReader()
    {
        // A reader still waiting (nothing ever opened the pipe) is ended.
        m_reader.kill();
        m_reader.waitForFinished();
    }
    FifoReader(const FifoReader&) = delete;
    FifoReader& operator=(const FifoReader&) = delete;

    bool isReady() const { return m_bReady; }

    // What the reader got, once the writer has closed the pipe; null when
    // the reader did not see the end within ten seconds.
    QByteArray received()
    {
        if (!m_reader.waitForFinished(10000))
            return QByteArray();
        QFile file(m_output.filePath(QStringLiteral("received")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static bool isFifo(const QString& strPath)
    {
        struct stat info {};
        return ::stat(QFile::encodeName(strPath).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
    }

private:
    QString m_strPath;
    QTemporaryDir m_output;
    QProcess m_reader;
    bool m_bReady = false;
};
