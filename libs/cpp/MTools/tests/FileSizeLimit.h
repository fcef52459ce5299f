#pragma once

#include <QByteArray>
#include <QString>

#include <csignal>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// While alive, no file of this process may grow past nBytes: a longer write
// fails as on a full disk (EFBIG; the signal that would end the process is
// ignored meanwhile).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t nBytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = nBytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};

// Runs work in a forked child whose files may not grow past nBytes, with the
// size-limit signal as a program has it by default (it ends the process).
// Gives what work returned, or how the child ended when it did not return.
// The child leaves through _exit(), so none of the test's own clean-up runs
// twice.
inline QString runUnderFileSizeLimit(rlim_t nBytes, const std::function<QString()>& work)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return QStringLiteral("no pipe: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    const pid_t pid = ::fork();
    if (pid < 0)
        return QStringLiteral("no child: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    if (pid == 0) {
        ::close(fds[0]);
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit {};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = nBytes;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(2);
        const QByteArray answer = work().toUtf8();
        const bool bSent = ::write(fds[1], answer.constData(), size_t(answer.size())) == answer.size();
        ::_exit(bSent ? 0 : 3);
    }
    ::close(fds[1]);
    QByteArray answer;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            answer.append(buffer, int(n));
        else if (errno != EINTR)
            break;
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        return QStringLiteral("ended by signal %1 (%2)").arg(signal).arg(QString::fromLocal8Bit(strsignal(signal)));
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("child failed with status %1").arg(WEXITSTATUS(status));
    return QString::fromUtf8(answer);
}
