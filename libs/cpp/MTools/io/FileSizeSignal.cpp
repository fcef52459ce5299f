#include "FileSizeSignal.h"

#include <csignal>

namespace MTools {

void ignoreFileSizeSignal()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

}  // namespace MTools
