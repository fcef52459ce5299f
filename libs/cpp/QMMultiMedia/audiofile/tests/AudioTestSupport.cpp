#include "AudioTestSupport.h"

#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryFile>

#include <cstdio>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace AudioTest {

namespace {

QStringList g_debugLines;
QtMessageHandler g_previousHandler = nullptr;
QLoggingCategory::CategoryFilter g_previousFilter = nullptr;

void collect(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtDebugMsg)
        g_debugLines << text;
    else if (g_previousHandler)
        g_previousHandler(type, context, text);
}

void enableDebug(QLoggingCategory* category)
{
    if (g_previousFilter)
        g_previousFilter(category);
    if (qstrcmp(category->categoryName(), "default") == 0)
        category->setEnabled(QtDebugMsg, true);
}

}  // namespace

CapturedDebug::CapturedDebug()
{
    g_debugLines.clear();
    g_previousHandler = qInstallMessageHandler(collect);
    g_previousFilter = QLoggingCategory::installFilter(enableDebug);
}

CapturedDebug::~CapturedDebug()
{
    QLoggingCategory::installFilter(g_previousFilter);
    qInstallMessageHandler(g_previousHandler);
}

QStringList CapturedDebug::lines() const
{
    return g_debugLines;
}

CapturedStderr::CapturedStderr()
{
    QTemporaryFile file;
    file.setAutoRemove(false);
    if (!file.open())
        return;
    m_strPath = file.fileName();
    file.close();
    std::fflush(stderr);
    m_nSaved = dup(2);
    FILE* pCapture = std::fopen(QFile::encodeName(m_strPath).constData(), "w");
    if (pCapture) {
        dup2(fileno(pCapture), 2);
        std::fclose(pCapture);
    }
}

CapturedStderr::~CapturedStderr()
{
    text();
}

QString CapturedStderr::text()
{
    if (m_nSaved >= 0) {
        std::fflush(stderr);
        dup2(m_nSaved, 2);
        close(m_nSaved);
        m_nSaved = -1;
        m_strText = QString::fromLocal8Bit(fileBytes(m_strPath));
        QFile::remove(m_strPath);
    }
    return m_strText;
}

bool aborts(const std::function<void()>& function, QString* pOutput)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        dup2(fds[1], 1);
        dup2(fds[1], 2);
        qInstallMessageHandler(nullptr);  // Qt's own: fatal messages to stderr, then abort
        function();
        _exit(0);
    }
    close(fds[1]);
    QByteArray output;
    char buffer[512];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, int(n));
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (pOutput)
        *pOutput = QString::fromLocal8Bit(output);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGABRT;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

quint32 le32(const QByteArray& bytes, int offset)
{
    if (offset < 0 || offset + 4 > bytes.size())
        return 0xDEADBEEF;
    quint32 v = 0;
    for (int i = 0; i < 4; ++i)
        v |= quint32(quint8(bytes[offset + i])) << (8 * i);
    return v;
}

quint16 le16(const QByteArray& bytes, int offset)
{
    if (offset < 0 || offset + 2 > bytes.size())
        return 0xBEEF;
    return quint16(quint8(bytes[offset]) | (quint8(bytes[offset + 1]) << 8));
}

Bytes& Bytes::tag(const char* fourChars)
{
    m_bytes.append(fourChars, 4);
    return *this;
}

Bytes& Bytes::le16(quint32 value)
{
    m_bytes.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF));
    return *this;
}

Bytes& Bytes::le32(quint32 value)
{
    for (int i = 0; i < 4; ++i)
        m_bytes.append(char((value >> (8 * i)) & 0xFF));
    return *this;
}

Bytes& Bytes::be16(quint32 value)
{
    m_bytes.append(char((value >> 8) & 0xFF)).append(char(value & 0xFF));
    return *this;
}

Bytes& Bytes::be32(quint32 value)
{
    for (int i = 3; i >= 0; --i)
        m_bytes.append(char((value >> (8 * i)) & 0xFF));
    return *this;
}

Bytes& Bytes::raw(const QByteArray& bytes)
{
    m_bytes.append(bytes);
    return *this;
}

Bytes& Bytes::zeros(int count)
{
    m_bytes.append(QByteArray(count, '\0'));
    return *this;
}

Bytes& Bytes::chunk(const char* id, const QByteArray& body)
{
    return chunk(id, quint32(body.size()), body);
}

Bytes& Bytes::chunk(const char* id, quint32 statedSize, const QByteArray& body)
{
    tag(id).le32(statedSize).raw(body);
    if (body.size() % 2)
        m_bytes.append('\0');
    return *this;
}

}  // namespace AudioTest
