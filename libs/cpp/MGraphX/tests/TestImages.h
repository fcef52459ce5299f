#pragma once

#include <QImage>

// One colour all over, in the given format.
QImage filled(int w, int h, QRgb rgb, QImage::Format format = QImage::Format_ARGB32);

// Seeded pictures for the reducer's tests: a colour field with gradients,
// flat patches and noise, so that the cut sees many keys with uneven counts.
// With bAlpha the alpha channel varies, including values around 126/127.
QImage makeRandomImage(quint32 nSeed, int nWidth, int nHeight, bool bAlpha, bool bGray);

// Bytes of every row (width bytes, without padding) and the colour table.
QByteArray indexedImageBytes(const QImage& image);

// A PNG whose header declares the size, followed by a few bytes of pixel data
// that do not decode.
QByteArray pngHeaderOnly(quint32 nWidth, quint32 nHeight);
