#pragma once

#include <QImage>

// Level and channel-scaling filters. The level filters map the red, green and
// blue of every pixel through a 256-entry table and return ARGB32 that is
// always opaque, whatever the source's alpha; table entries are worked in
// floating point, truncated toward zero and kept modulo 256.
namespace MGraphX {

// Values below black become 0, values from 255 - whiteCut up become 255, the
// range between is stretched over 0..255.
QImage inputLevels(const QImage& image, int nBlack, int nWhiteCut);
// 0..255 squeezed into low..255 - high: T[i] = low + i x (255 - high - low) / 256.
QImage outputLevels(const QImage& image, int nLow, int nHigh);
// outputLevels(amount, amount), then inputLevels(amount, amount) of that.
QImage squeezeLevels(const QImage& image, int nAmount);
// Black and white points from the red channel's histogram, clipping the
// given share of pixels at each end (in half-percent steps, at most 100%),
// then the range between stretched over 0..255 in all three channels.
QImage autoLevels(const QImage& image, int nWhiteClip, int nBlackClip);

// Each channel times value / 127 (127 keeps it), truncated and clamped;
// alpha is kept.
QImage scaleChannels(const QImage& image, const int& nRed, const int& nGreen, const int& nBlue);
// Every colour channel times percent / 100, truncated and clamped.
QImage scaleBrightness(const QImage& image, const int& nPercent);

} // namespace MGraphX
