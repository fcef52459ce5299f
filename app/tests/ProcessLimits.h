#pragma once

// Limits a test's child process sets on itself, to run the program short of
// address space or of room for new threads (Linux).

#include <QByteArray>
#include <QFile>

#include <cstddef>

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

namespace ProcessLimits {

// The address space the process uses now, in bytes; 0 when unknown.
inline long virtualMemoryBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(0).toLong() * sysconf(_SC_PAGESIZE);
}

// Threads started from now on get a stack of this size, whatever stack
// limit the process was started with.
inline void setThreadStackSize(std::size_t bytes)
{
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, bytes);
    pthread_setattr_default_np(&attributes);
    pthread_attr_destroy(&attributes);
}

// Caps the address space at what the process uses now plus the headroom;
// false when the system refuses.
inline bool capAddressSpace(long headroomBytes)
{
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = rlim_t(virtualMemoryBytes()) + rlim_t(headroomBytes);
    return setrlimit(RLIMIT_AS, &limit) == 0;
}

} // namespace ProcessLimits
