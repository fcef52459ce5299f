#pragma once

namespace Platform {

// The Windows version number as Qt's QSysInfo::WinVersion gives it
// (0x20 2000 ... 0xC0 10). There is no Windows here, so the answer is 0
// unless a test sets another value.
int windowsVersion();

// For tests: pretend to run on the given version; a negative value restores 0.
void setWindowsVersionForTesting(int version);

}  // namespace Platform
