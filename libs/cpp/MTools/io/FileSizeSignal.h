#pragma once

namespace MTools {

// Ignores SIGXFSZ for the whole process, as a program does first thing: a
// write past the file size limit then fails with EFBIG ("File too large"),
// which every writer reports as it does a full disk, instead of the signal
// ending the process part way through a file. Nothing where the system has
// no such signal.
void ignoreFileSizeSignal();

}  // namespace MTools
