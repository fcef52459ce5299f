#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>

class QPainter;

// Image filters: free functions that take a picture and return a new one; the
// source is never changed. Filters that work on pixel values convert pictures
// that are not 32 bits per pixel (indexed, grey, 16-bit, 24-bit) to ARGB32 or
// RGB32 first, as their alpha channel requires, and keep 32-bit formats.
namespace MGraphX {

// Grey (R + G + B) / 3 in all three channels, alpha kept.
QImage toGray(const QImage& image);

// The image scaled smoothly into size (aspect kept) and centred on a canvas of
// exactly that size filled with the colour. The canvas keeps a 32-bit source
// format; other formats are painted on ARGB32 premultiplied.
QImage fitIntoSize(const QImage& image, const QSize& size, const QColor& fill);

QImage brightnessContrast(const QImage& image, int nBrightness, int nContrast);
QImage saturate(const QImage& image, float fSaturation);
QImage adjustColors(const QImage& image, int nBrightness, int nContrast, float fSaturation);
QImage threshold(const QImage& image, int nThreshold);
QImage swapRedBlue(const QImage& image);
QImage swapRedGreen(const QImage& image);
QImage swapGreenBlue(const QImage& image);
// Each channel snaps to the nearer of the two ascending levels around it (a
// tie takes the upper); below the first level 0, above the last 255.
QImage snapToLevels(const QImage& image, const QVector<int>& vecLevels);

QImage invert(const QImage& image);
QImage mirror(const QImage& image, bool bHorizontal, bool bVertical);
QImage rotateLeft(const QImage& image);
QImage rotateRight(const QImage& image);
QImage rotate180(const QImage& image);
// A margin of percent of the width on every side; a negative percent counts
// as 0.
QImage addBorder(const QImage& image, int nPercent, const QColor& color);
// Negative margins count as 0; margins that leave nothing give a null image.
QImage cropMargins(const QImage& image, int nLeft, int nRight, int nTop, int nBottom);
QImage cropPercent(const QImage& image, int nLeft, int nRight, int nTop, int nBottom);
// 3x3 edge detector; pixels it does not compute are 0.
QImage edges(const QImage& image);

// Two-image operations over the common area; the rest keeps the first image.
QImage difference(const QImage& first, const QImage& second);
QImage average(const QImage& first, const QImage& second);
// The replacement where the mask is black; limited to the area the mask covers.
QImage maskReplace(const QImage& base, const QImage& replacement, const QImage& mask);
QImage replaceSimilar(const QImage& base, const QImage& other, const int& nTolerance);

QImage blendHalf(const QImage& first, const QImage& second);
QImage blendThreeQuarters(const QImage& first, const QImage& second);

// Pixels within 9 of from's hue take to's hue, saturation and value scaled.
// Returned in ARGB32 premultiplied.
QImage replaceHue(const QImage& image, const QColor& from, const QColor& to);
// Exponential blur of the rectangle (clipped to the picture) along rows and
// columns in both directions; ARGB32 premultiplied. A rectangle outside the
// picture gives the converted copy unchanged.
QImage blurRect(const QImage& image, const QRect& rect, int nRadius, bool bAlphaOnly);
QPixmap alphaFromMask(const QPixmap& picture, const QPixmap& mask);
void drawBadge(QPainter* pPainter, const QPoint& pos, const QString& strText, const QFont& font,
               const QColor& color, bool bOutlined, float fOpacity);
int midRange(int a, int b, int c, int d);

} // namespace MGraphX
