#include "AudioTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QLoggingCategory>
#include <QTemporaryFile>

#include <cstdio>
#include <csignal>
#include <poll.h>
#include <sys/resource.h>
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

// Forks with a pipe from the child to this process: the child keeps the
// writing end fds[1], this process the reading end fds[0]. -1 when no child
// could be made (and no end is left open).
pid_t forkWithPipe(int fds[2])
{
    if (pipe(fds) != 0)
        return -1;
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        return 0;
    }
    close(fds[1]);
    if (child < 0)
        close(fds[0]);
    return child;
}

// Ends a forked child with the function's answer: exit status 0 for true,
// 1 for false, 2 for an exception.
[[noreturn]] void exitWithAnswer(const std::function<bool()>& function)
{
    // The test framework's crash handlers would start a debugger here.
    for (int sig : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(sig, SIG_DFL);
    try {
        _exit(function() ? 0 : 1);
    } catch (...) {
        _exit(2);
    }
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
    const pid_t child = forkWithPipe(fds);
    if (child < 0)
        return false;
    if (child == 0) {
        dup2(fds[1], 1);
        dup2(fds[1], 2);
        qInstallMessageHandler(nullptr);  // Qt's own: fatal messages to stderr, then abort
        function();
        _exit(0);
    }
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

Bytes& Bytes::beChunk(const char* id, const QByteArray& body)
{
    return beChunk(id, quint32(body.size()), body);
}

Bytes& Bytes::beChunk(const char* id, quint32 statedSize, const QByteArray& body)
{
    tag(id).be32(statedSize).raw(body);
    if (body.size() % 2)
        m_bytes.append('\0');
    return *this;
}

QByteArray riff(const QByteArray& chunks)
{
    return Bytes().tag("RIFF").le32(quint32(4 + chunks.size())).tag("WAVE").raw(chunks);
}

QByteArray fmtBody(int tag, int channels, int rate, int bits)
{
    const quint32 align = quint32(channels) * quint32(bits / 8);
    return Bytes().le16(quint32(tag)).le16(quint32(channels)).le32(quint32(rate)).le32(quint32(rate) * align)
        .le16(align).le16(quint32(bits));
}

QByteArray aiff(const QByteArray& chunks)
{
    return Bytes().tag("FORM").be32(quint32(4 + chunks.size())).tag("AIFF").raw(chunks);
}

QByteArray commBody(int channels, quint32 frames, int bits, const QByteArray& rate10)
{
    return Bytes().be16(quint32(channels)).be32(frames).be16(quint32(bits)).raw(rate10);
}

QByteArray rate44100()
{
    return QByteArray::fromHex("400EAC44000000000000");
}

QByteArray rate48000()
{
    return QByteArray::fromHex("400EBB80000000000000");
}

QByteArray runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QByteArray();
    const QByteArray out = process.readAllStandardOutput();
    return out.isNull() ? QByteArray("") : out;
}

bool haveTool(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QVector<qint32> soxSamples(const QString& path)
{
    const QByteArray raw = runTool("sox", {path, "-t", "raw", "-e", "signed", "-b", "32", "-L", "-"});
    QVector<qint32> samples(raw.size() / 4);
    for (int i = 0; i < samples.size(); ++i)
        samples[i] = qint32(le32(raw, 4 * i));
    return samples;
}

bool staysWithin(qint64 extraBytes, const std::function<bool()>& function)
{
#if defined(__SANITIZE_ADDRESS__)
    Q_UNUSED(extraBytes);
    return function();
#else
    // The address space the process holds now, from /proc/self/statm (pages).
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return false;
    const qint64 pages = statm.readAll().split(' ').value(0).toLongLong();
    const qint64 limit = pages * sysconf(_SC_PAGESIZE) + extraBytes;
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t child = fork();
    if (child == 0) {
        const struct rlimit r = {rlim_t(limit), rlim_t(limit)};
        setrlimit(RLIMIT_AS, &r);
        exitWithAnswer(function);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#endif
}

bool finishesWithin(int milliseconds, const std::function<bool()>& function, bool* pTimedOut)
{
    // The child holds the pipe's writing end: its end closes the pipe.
    int fds[2];
    const pid_t child = forkWithPipe(fds);
    if (child == 0)
        exitWithAnswer(function);
    if (pTimedOut)
        *pTimedOut = false;
    if (child < 0)
        return false;
    pollfd end = {fds[0], POLLIN, 0};
    const bool ended = poll(&end, 1, milliseconds) == 1;
    close(fds[0]);
    if (!ended)
        kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    if (pTimedOut)
        *pTimedOut = !ended;
    return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace AudioTest
