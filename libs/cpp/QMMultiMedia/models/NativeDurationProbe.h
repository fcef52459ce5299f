#ifndef QMMULTIMEDIA_NATIVEDURATIONPROBE_H
#define QMMULTIMEDIA_NATIVEDURATIONPROBE_H

class QUrl;

namespace QMMultiMedia {

// A quick look at a media file's length without a media player. No platform
// offers one here yet: the probe reports itself unavailable and every length
// as unknown (-1), so lists show 00:00:00 instead of starting a player per
// row.
bool isNativeDurationProbeAvailable();
int nativeDurationInSeconds(const QUrl &url);

} // namespace QMMultiMedia

#endif
