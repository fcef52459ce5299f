#include "LevelFilters.h"

#include "ColorMatrix.h"
#include "ImageProcess.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace MGraphX {

namespace {

using Table = std::array<uchar, 256>;

// The low byte of the value truncated toward zero.
uchar tableEntry(double v)
{
    return uchar(qint64(std::trunc(v)) & 0xFF);
}

QImage applyLevels(const QImage& image, const Table& table)
{
    ImageProcess planes(image);
    planes.applyTable(table.data());
    return planes.toImage().convertToFormat(QImage::Format_ARGB32);
}

// 0 below the black point, a ramp from it up to the white point (only when
// white lies above black), 255 from the larger of the two up.
Table stretchTable(qint64 nBlack, qint64 nWhite)
{
    Table table;
    for (qint64 v = 0; v < 256; ++v) {
        if (v >= std::max(nBlack, nWhite))
            table[v] = 255;
        else if (v < nBlack)
            table[v] = 0;
        else
            table[v] = tableEntry(double(v - nBlack) * (256.0 / double(nWhite - nBlack)));
    }
    return table;
}

QImage scaled(const QImage& image, float r, float g, float b)
{
    ColorMatrix matrix;
    matrix.setScale(r, g, b, 1.0f);
    return matrix.apply(image);
}

} // namespace

QImage inputLevels(const QImage& image, int nBlack, int nWhiteCut)
{
    return applyLevels(image, stretchTable(nBlack, 255 - qint64(nWhiteCut)));
}

QImage outputLevels(const QImage& image, int nLow, int nHigh)
{
    const double fStep = double(255 - qint64(nHigh) - nLow) / 256.0;
    Table table;
    for (int i = 0; i < 256; ++i)
        table[i] = tableEntry((nLow & 0xFF) + i * fStep);
    return applyLevels(image, table);
}

QImage squeezeLevels(const QImage& image, int nAmount)
{
    return inputLevels(outputLevels(image, nAmount, nAmount), nAmount, nAmount);
}

QImage autoLevels(const QImage& image, int nWhiteClip, int nBlackClip)
{
    ImageProcess planes(image);
    const double n = double(planes.width()) * planes.height();
    const double fLowCount = std::trunc(n * std::min(nBlackClip * 0.5, 100.0) / 100.0);
    const double fHighCount = std::trunc(n * std::min(nWhiteClip * 0.5, 100.0) / 100.0);
    int bins[256];
    planes.histogram(bins);

    int nBlack = 256;
    qint64 nSum = 0;
    for (int v = 0; v < 256; ++v) {
        nSum += bins[v];
        if (nSum > fLowCount) {
            nBlack = v;
            break;
        }
    }
    int nWhite = -1;
    nSum = 0;
    for (int v = 255; v >= 0; --v) {
        nSum += bins[v];
        if (nSum > fHighCount) {
            nWhite = v;
            break;
        }
    }
    // With no black point (256) nothing reaches 255.
    const Table table = stretchTable(nBlack, nWhite);
    planes.applyTable(table.data());
    return planes.toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage scaleChannels(const QImage& image, const int& nRed, const int& nGreen, const int& nBlue)
{
    return scaled(image, float(nRed / 127.0), float(nGreen / 127.0), float(nBlue / 127.0));
}

QImage scaleBrightness(const QImage& image, const int& nPercent)
{
    const float x = float(nPercent) / 100.0f;
    return scaled(image, x, x, x);
}

} // namespace MGraphX
