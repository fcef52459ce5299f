#include "ImageFilters.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace MGraphX {

namespace {

bool is32Bit(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
           || format == QImage::Format_ARGB32_Premultiplied;
}

// Pixel-value filters read rows as 32-bit values; a palette, grey or 16-bit
// picture (as PNG files load) is converted first so that rows are never
// walked past their end.
QImage to32(const QImage& image)
{
    if (image.isNull() || is32Bit(image.format()))
        return image;
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                         : QImage::Format_RGB32);
}

inline int clampByte(int n)
{
    return n < 0 ? 0 : (n > 255 ? 255 : n);
}

// Applies fn(QRgb) -> QRgb to every pixel of a 32-bit copy.
template<typename Fn>
QImage mapPixels(const QImage& image, Fn fn)
{
    QImage result = to32(image);
    if (result.isNull())
        return result;
    const int nWidth = result.width();
    for (int y = 0; y < result.height(); ++y) {
        QRgb* pRow = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < nWidth; ++x)
            pRow[x] = fn(pRow[x]);
    }
    return result;
}

// Applies a per-channel function to red, green and blue; alpha kept.
template<typename Fn>
QImage mapChannels(const QImage& image, Fn fn)
{
    return mapPixels(image, [&](QRgb p) {
        return qRgba(clampByte(fn(qRed(p), p)), clampByte(fn(qGreen(p), p)),
                     clampByte(fn(qBlue(p), p)), qAlpha(p));
    });
}

float lightness(QRgb p)
{
    const float r = float(qRed(p)), g = float(qGreen(p)), b = float(qBlue(p));
    return std::sqrt(0.299f * r * r + 0.587f * g * g + 0.114f * b * b);
}

inline QRgb pixelAt(const QImage& image, int x, int y)
{
    return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x];
}

inline void setPixelAt(QImage& image, int x, int y, QRgb p)
{
    reinterpret_cast<QRgb*>(image.scanLine(y))[x] = p;
}

// A new picture of nWidth x nHeight whose pixel (x, y) is the 32-bit
// source's pixel at from(x, y): turns and crops.
template<typename Fn>
QImage remap(const QImage& src, int nWidth, int nHeight, Fn from)
{
    QImage result(nWidth, nHeight, src.format());
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x) {
            const QPoint pos = from(x, y);
            setPixelAt(result, x, y, pixelAt(src, pos.x(), pos.y()));
        }
    return result;
}

// Common-area walk of two pictures; the result starts as the first.
template<typename Fn>
QImage combine(const QImage& first, const QImage& second, int nMaxWidth, int nMaxHeight, Fn fn)
{
    QImage result = to32(first);
    const QImage other = to32(second);
    if (result.isNull() || other.isNull())
        return result;
    const int nWidth = qMin(qMin(result.width(), other.width()), nMaxWidth);
    const int nHeight = qMin(qMin(result.height(), other.height()), nMaxHeight);
    for (int y = 0; y < nHeight; ++y) {
        QRgb* pDst = reinterpret_cast<QRgb*>(result.scanLine(y));
        const QRgb* pSrc = reinterpret_cast<const QRgb*>(other.constScanLine(y));
        for (int x = 0; x < nWidth; ++x)
            pDst[x] = fn(pDst[x], pSrc[x], x, y);
    }
    return result;
}

QImage blendAtDoubleSize(const QImage& first, const QImage& second, bool bThreeQuarters)
{
    const QImage imgFirst = to32(first), imgSecond = to32(second);
    if (imgFirst.isNull() || imgSecond.isNull())
        return imgFirst;
    QImage a = imgFirst.scaled(imgFirst.width() * 2, imgFirst.height() * 2, Qt::IgnoreAspectRatio,
                               Qt::FastTransformation);
    const QImage b = imgSecond.scaled(imgSecond.width() * 2, imgSecond.height() * 2,
                                      Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const int nWidth = qMin(a.width(), b.width());
    const int nHeight = qMin(a.height(), b.height());
    for (int i = 0; i + 1 < nHeight; i += 2) {
        for (int j = 0; j + 1 < nWidth; j += 2) {
            const QRgb t = pixelAt(b, j, i);
            setPixelAt(a, j + 1, i, t);
            setPixelAt(a, j, i + 1, t);
            if (bThreeQuarters)
                setPixelAt(a, j + 1, i + 1, t);
        }
    }
    return a.scaled(imgFirst.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QImage toGray(const QImage& image)
{
    return mapPixels(image, [](QRgb p) {
        const int g = (qRed(p) + qGreen(p) + qBlue(p)) / 3;
        return qRgba(g, g, g, qAlpha(p));
    });
}

QImage fitIntoSize(const QImage& image, const QSize& size, const QColor& fill)
{
    if (image.isNull() || size.isEmpty())
        return QImage();
    const QImage scaled = image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    // A painter cannot draw on palette or 1-bit canvases; those would stay blank.
    const QImage::Format format = is32Bit(image.format()) ? image.format()
                                                          : QImage::Format_ARGB32_Premultiplied;
    QImage canvas(size, format);
    canvas.fill(fill);
    QPoint pos(0, 0);
    if (scaled.width() < canvas.width())
        pos = QPoint((canvas.width() - scaled.width()) / 2, 0);
    else if (scaled.height() < canvas.height())
        pos = QPoint(0, (canvas.height() - scaled.height()) / 2);
    QPainter painter(&canvas);
    painter.drawImage(pos, scaled);
    painter.end();
    return canvas;
}

QImage brightnessContrast(const QImage& image, int nBrightness, int nContrast)
{
    const float f = float((nContrast + 127) / 127.0);
    return mapChannels(image, [&](int c, QRgb) { return int(float(nBrightness + c) * f); });
}

QImage saturate(const QImage& image, float fSaturation)
{
    return mapChannels(image, [&](int c, QRgb p) {
        const float l = lightness(p);
        return int(l + fSaturation * (float(c) - l));
    });
}

QImage adjustColors(const QImage& image, int nBrightness, int nContrast, float fSaturation)
{
    const float f = float((nContrast + 127) / 127.0);
    return mapChannels(image, [&](int c, QRgb p) {
        const float l = lightness(p);
        return int((float(nBrightness) + (l + fSaturation * (float(c) - l))) * f);
    });
}

QImage threshold(const QImage& image, int nThreshold)
{
    return mapChannels(image, [&](int c, QRgb) { return c >= nThreshold ? 255 : 0; });
}

QImage swapRedBlue(const QImage& image)
{
    return mapPixels(image, [](QRgb p) { return qRgba(qBlue(p), qGreen(p), qRed(p), qAlpha(p)); });
}

QImage swapRedGreen(const QImage& image)
{
    return mapPixels(image, [](QRgb p) { return qRgba(qGreen(p), qRed(p), qBlue(p), qAlpha(p)); });
}

QImage swapGreenBlue(const QImage& image)
{
    return mapPixels(image, [](QRgb p) { return qRgba(qRed(p), qBlue(p), qGreen(p), qAlpha(p)); });
}

QImage snapToLevels(const QImage& image, const QVector<int>& vecLevels)
{
    const int n = vecLevels.size();
    std::array<int, 256> table;
    for (int value = 0; value < 256; ++value) {
        int v = value;
        for (int k = 0; k < n; ++k) {
            if (k == 0) {
                if (v < vecLevels[0])
                    v = 0;
                else if (n == 1 && v > vecLevels[0])
                    v = 255;
                continue;
            }
            const int m = vecLevels[k - 1], l = vecLevels[k];
            if (m <= v && v <= l)
                v = (v - m < l - v) ? m : l;
            else if (v > l && k == n - 1)
                v = 255;
        }
        table[value] = v;
    }
    return mapChannels(image, [&](int c, QRgb) { return table[c]; });
}

QImage invert(const QImage& image)
{
    // On a palette picture invertPixels would invert the indices, not the colours.
    QImage result = to32(image).copy();
    result.invertPixels(QImage::InvertRgb);
    return result;
}

QImage mirror(const QImage& image, bool bHorizontal, bool bVertical)
{
    return image.mirrored(bHorizontal, bVertical);
}

QImage rotateLeft(const QImage& image)
{
    const QImage src = to32(image);
    if (src.isNull())
        return QImage();
    const int w = src.width(), h = src.height();
    return remap(src, h, w, [&](int x, int y) { return QPoint(w - 1 - y, x); });
}

QImage rotateRight(const QImage& image)
{
    const QImage src = to32(image);
    if (src.isNull())
        return QImage();
    const int h = src.height();
    return remap(src, h, src.width(), [&](int x, int y) { return QPoint(y, h - 1 - x); });
}

QImage rotate180(const QImage& image)
{
    const QImage src = to32(image);
    if (src.isNull())
        return QImage();
    const int w = src.width(), h = src.height();
    return remap(src, w, h, [&](int x, int y) { return QPoint(w - 1 - x, h - 1 - y); });
}

QImage addBorder(const QImage& image, int nPercent, const QColor& color)
{
    const QImage src = to32(image);
    if (src.isNull())
        return QImage();
    // A negative margin would place the source outside the result.
    const double dMargin = qMax(nPercent, 0) * double(src.width()) / 100.0;
    // Rows that wide cannot be held (their bytes overflow an int): no picture.
    if (2.0 * dMargin + qMax(src.width(), src.height()) > double(INT_MAX / 4))
        return QImage();
    const int m = int(dMargin);
    QImage result(src.width() + 2 * m, src.height() + 2 * m, src.format());
    if (result.isNull())
        return QImage();
    result.fill(color);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            setPixelAt(result, x + m, y + m, pixelAt(src, x, y));
    return result;
}

QImage cropMargins(const QImage& image, int nLeft, int nRight, int nTop, int nBottom)
{
    nLeft = qMax(nLeft, 0), nRight = qMax(nRight, 0), nTop = qMax(nTop, 0), nBottom = qMax(nBottom, 0);
    const QImage src = to32(image);
    const int w = src.width() - nLeft - nRight, h = src.height() - nTop - nBottom;
    if (src.isNull() || w <= 0 || h <= 0)
        return QImage();
    return remap(src, w, h, [&](int x, int y) { return QPoint(nLeft + x, nTop + y); });
}

QImage cropPercent(const QImage& image, int nLeft, int nRight, int nTop, int nBottom)
{
    const int w = image.width(), h = image.height();
    return cropMargins(image, nLeft * w / 100, nRight * w / 100, nTop * h / 100, nBottom * h / 100);
}

QImage edges(const QImage& image)
{
    const QImage src = to32(image);
    if (src.isNull())
        return QImage();
    const int w = src.width(), h = src.height();
    QImage result(w, h, src.format());
    result.fill(0u);
    if (w <= 3)
        return result;
    for (int y = 1; y <= h - 3; ++y) {
        for (int x = 1; x <= w - 3; ++x) {
            int sum[3] = {0, 0, 0};
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    if (dx == 0 && dy == 0)
                        continue;
                    const QRgb p = pixelAt(src, x + dx, y + dy);
                    sum[0] += qRed(p), sum[1] += qGreen(p), sum[2] += qBlue(p);
                }
            const QRgb c = pixelAt(src, x, y);
            const int r = (8 * qRed(c) - sum[0]) / 9;
            const int g = (8 * qGreen(c) - sum[1]) / 9;
            const int b = (8 * qBlue(c) - sum[2]) / 9;
            setPixelAt(result, x, y, qRgba(qMax(r, 0), qMax(g, 0), qMax(b, 0), 255));
        }
    }
    return result;
}

QImage difference(const QImage& first, const QImage& second)
{
    return combine(first, second, INT_MAX, INT_MAX, [](QRgb a, QRgb b, int, int) {
        return qRgba(std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b)), 255);
    });
}

QImage average(const QImage& first, const QImage& second)
{
    return combine(first, second, INT_MAX, INT_MAX, [](QRgb a, QRgb b, int, int) {
        return qRgba((qRed(a) + qRed(b)) >> 1, (qGreen(a) + qGreen(b)) >> 1,
                     (qBlue(a) + qBlue(b)) >> 1, (qAlpha(a) + qAlpha(b)) >> 1);
    });
}

QImage maskReplace(const QImage& base, const QImage& replacement, const QImage& mask)
{
    const QImage imgMask = to32(mask);
    if (imgMask.isNull())
        return to32(base);
    return combine(base, replacement, imgMask.width(), imgMask.height(),
                   [&](QRgb a, QRgb b, int x, int y) {
                       return (pixelAt(imgMask, x, y) & 0x00FFFFFFu) == 0 ? b : a;
                   });
}

QImage replaceSimilar(const QImage& base, const QImage& other, const int& nTolerance)
{
    return combine(base, other, INT_MAX, INT_MAX, [&](QRgb a, QRgb b, int, int) {
        const bool bSimilar = std::abs(qGreen(a) - qGreen(b)) < nTolerance
                              && std::abs(qRed(a) - qRed(b)) < nTolerance
                              && std::abs(qBlue(a) - qBlue(b)) < nTolerance;
        return bSimilar ? b : a;
    });
}

QImage blendHalf(const QImage& first, const QImage& second)
{
    return blendAtDoubleSize(first, second, false);
}

QImage blendThreeQuarters(const QImage& first, const QImage& second)
{
    return blendAtDoubleSize(first, second, true);
}

QImage replaceHue(const QImage& image, const QColor& from, const QColor& to)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    if (result.isNull())
        return QImage();
    int hf, sf, vf, ht, st, vt;
    from.getHsv(&hf, &sf, &vf);
    to.getHsv(&ht, &st, &vt);
    const int nWidth = result.width();
    for (int y = 0; y < result.height(); ++y) {
        QRgb* pRow = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < nWidth; ++x) {
            int h, s, v, a;
            QColor::fromRgba(pRow[x]).getHsv(&h, &s, &v, &a);
            if (std::abs(h - hf) > 9)
                continue;
            int nHue = (h - hf + ht + 359) % 359;
            if (nHue < 0)
                nHue += 359;
            const int nSat = sf == 0 ? 0 : clampByte(int(s * (double(st) / sf)));
            const int nVal = vf == 0 ? 0 : clampByte(int(v * (double(vt) / vf)));
            pRow[x] = QColor::fromHsv(nHue, nSat, nVal, a).rgba();
        }
    }
    return result.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage blurRect(const QImage& image, const QRect& rect, int nRadius, bool bAlphaOnly)
{
    static const int kStrength[17] = {14, 10, 8, 6, 5, 5, 4, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2};
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (result.isNull())
        return result;
    const QRect r = rect.normalized();
    const int nLeft = qMax(r.left(), 0), nTop = qMax(r.top(), 0);
    const int nRight = qMin(r.right(), result.width() - 1);
    const int nBottom = qMin(r.bottom(), result.height() - 1);
    // Nothing of the rectangle lies on the picture.
    if (nLeft > nRight || nTop > nBottom)
        return result;
    const int a = nRadius < 1 ? 16 : (nRadius > 17 ? 1 : kStrength[nRadius - 1]);
    const int nFirstByte = bAlphaOnly ? 3 : 0;

    // One walk from (x0, y0) to (x1, y1), inclusive, in steps of (dx, dy).
    auto walk = [&](int x0, int y0, int dx, int dy, int nSteps) {
        uchar* p = result.scanLine(y0) + x0 * 4;
        const qsizetype nStep = qsizetype(dy) * result.bytesPerLine() + dx * 4;
        int running[4];
        for (int i = nFirstByte; i < 4; ++i)
            running[i] = p[i] * 16;
        for (int s = 0; s < nSteps; ++s) {
            p += nStep;
            for (int i = nFirstByte; i < 4; ++i) {
                running[i] += (p[i] * 16 - running[i]) * a / 16;
                p[i] = uchar(running[i] >> 4);
            }
        }
    };
    // QRgb byte order in memory is little-endian B, G, R, A.
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "alpha is taken as the fourth byte");
    const int nCols = nRight - nLeft, nRows = nBottom - nTop;
    for (int x = nLeft; x <= nRight; ++x)
        walk(x, nTop, 0, 1, nRows);
    for (int y = nTop; y <= nBottom; ++y)
        walk(nLeft, y, 1, 0, nCols);
    for (int x = nLeft; x <= nRight; ++x)
        walk(x, nBottom, 0, -1, nRows);
    for (int y = nTop; y <= nBottom; ++y)
        walk(nRight, y, -1, 0, nCols);
    return result;
}

QPixmap alphaFromMask(const QPixmap& picture, const QPixmap& mask)
{
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage imgMask = mask.toImage()
                               .scaled(image.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                               .convertToFormat(QImage::Format_ARGB32);
    if (image.isNull() || imgMask.isNull())
        return QPixmap::fromImage(image);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* pRow = reinterpret_cast<QRgb*>(image.scanLine(y));
        const QRgb* pMask = reinterpret_cast<const QRgb*>(imgMask.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            pRow[x] = (pRow[x] & 0x00FFFFFFu) | (uint(qRed(pMask[x])) << 24);
    }
    return QPixmap::fromImage(image);
}

void drawBadge(QPainter* pPainter, const QPoint& pos, const QString& strText, const QFont& font,
               const QColor& color, bool bOutlined, float fOpacity)
{
    if (!pPainter)
        return;
    const QFontMetrics metrics(font);
    const int tw = metrics.horizontalAdvance(strText);
    const int th = metrics.height();
    const int x = pos.x(), y = pos.y();
    pPainter->save();
    pPainter->setFont(font);
    pPainter->setRenderHint(QPainter::Antialiasing, true);
    pPainter->setPen(Qt::NoPen);
    pPainter->setOpacity(0.6);
    pPainter->setBrush(QBrush(Qt::black, Qt::SolidPattern));
    pPainter->drawRoundedRect(QRect(x, y, tw + 15, th + 6), 100, 100, Qt::RelativeSize);
    pPainter->setOpacity(1.0);
    pPainter->setOpacity(qreal(fOpacity));
    QRadialGradient gradient(QPointF(x + 2, y + 2), tw + 12, QPointF(x + 2, y + 2));
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, color);
    pPainter->setBrush(gradient);
    if (bOutlined)
        pPainter->setPen(Qt::white);
    pPainter->drawRoundedRect(QRect(x, y, tw + 12, th + 3), 100, 100, Qt::RelativeSize);
    pPainter->setPen(Qt::white);
    pPainter->drawText(QRect(QPoint(x, y), QPoint(x + tw + 11, y + th + 2)),
                       Qt::AlignHCenter | Qt::AlignVCenter, strText);
    pPainter->restore();
}

int midRange(int a, int b, int c, int d)
{
    const int nMax = std::max({a, b, c, d});
    const int nMin = std::min({a, b, c, d});
    return (nMax + nMin) / 2;
}

} // namespace MGraphX
