#pragma once

#include <QImage>
#include <QVector>

// A plain reducer written straight from the algorithm's description, pixel by
// pixel with QImage::pixel/setPixel, float square-root distances and Qt's own
// RGB32 -> Indexed8 conversion. Slow; used only to check the real one.
// Carries the same safety rules: 64-bit palette sums with floored means,
// 255 * k / d grey expansion, clamped colour counts and a null result for an
// empty source. The result's metadata (resolution, offset, text, colour
// space) is whatever those Qt calls carry: the dithered colour picture is a
// QImage::copy of the converted source and keeps it, the plainly mapped one
// and the grey result are new images without it.
struct ReferenceResult
{
    QImage image;
    QVector<int> progress;
};

ReferenceResult referenceReduce(const QImage& source, int nColors, bool bDithering,
                                bool bGrayAlgorithm = true);

QImage referenceStretch(const QImage& source, int nLevels);
