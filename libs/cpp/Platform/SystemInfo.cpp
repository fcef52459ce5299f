#include "SystemInfo.h"

#include <atomic>

namespace Platform {

namespace {
std::atomic<int> g_version{0};
}

int windowsVersion()
{
    return g_version.load();
}

void setWindowsVersionForTesting(int version)
{
    g_version.store(version < 0 ? 0 : version);
}

}  // namespace Platform
