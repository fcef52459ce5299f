#include "NativeDurationProbe.h"

#include <QUrl>

namespace QMMultiMedia {

bool isNativeDurationProbeAvailable()
{
    return false;
}

int nativeDurationInSeconds(const QUrl &)
{
    return -1;
}

} // namespace QMMultiMedia
