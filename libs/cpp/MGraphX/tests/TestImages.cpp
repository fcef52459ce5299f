#include "TestImages.h"

#include <QRandomGenerator>
#include <QtEndian>

QImage filled(int w, int h, QRgb rgb, QImage::Format format)
{
    QImage image(w, h, format);
    image.fill(rgb);
    return image;
}

QImage makeRandomImage(quint32 nSeed, int nWidth, int nHeight, bool bAlpha, bool bGray)
{
    QRandomGenerator rng(nSeed);
    QImage image(nWidth, nHeight, bAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const int nPatches = 6;
    QRgb patch[nPatches];
    for (QRgb& p : patch)
        p = rng.generate();
    for (int y = 0; y < nHeight; ++y) {
        QRgb* pRow = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < nWidth; ++x) {
            int r, g, b;
            const quint32 nKind = rng.bounded(10);
            if (nKind < 3) {
                const QRgb p = patch[(x / 8 + y / 8) % nPatches];
                r = qRed(p), g = qGreen(p), b = qBlue(p);
            } else if (nKind < 7) {
                r = (x * 255) / nWidth + int(rng.bounded(16));
                g = (y * 255) / nHeight + int(rng.bounded(16));
                b = ((x + y) * 127) / (nWidth + nHeight) + int(rng.bounded(64));
            } else {
                r = int(rng.bounded(256)), g = int(rng.bounded(256)), b = int(rng.bounded(256));
            }
            r = qMin(r, 255), g = qMin(g, 255), b = qMin(b, 255);
            if (bGray)
                g = b = r;
            int a = 255;
            if (bAlpha) {
                const quint32 nAlpha = rng.bounded(8);
                a = nAlpha == 0 ? 0 : nAlpha == 1 ? 126 : nAlpha == 2 ? 127 : nAlpha == 3 ? int(rng.bounded(256)) : 255;
            }
            pRow[x] = qRgba(r, g, b, a);
        }
    }
    return image;
}

QByteArray indexedImageBytes(const QImage& image)
{
    QByteArray bytes;
    for (int y = 0; y < image.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width());
    for (QRgb c : image.colorTable())
        bytes.append(QByteArray::number(c, 16)).append(',');
    return bytes;
}

static quint32 crc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : data) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

static QByteArray chunk(const char* pType, const QByteArray& data)
{
    QByteArray body = QByteArray(pType) + data;
    QByteArray out(4, '\0');
    qToBigEndian(quint32(data.size()), out.data());
    out += body;
    QByteArray crc(4, '\0');
    qToBigEndian(crc32(body), crc.data());
    return out + crc;
}

// A PNG whose header declares the size, followed by a few bytes of pixel data
// that do not decode.
QByteArray pngHeaderOnly(quint32 nWidth, quint32 nHeight)
{
    QByteArray ihdr(13, '\0');
    qToBigEndian(nWidth, ihdr.data());
    qToBigEndian(nHeight, ihdr.data() + 4);
    ihdr[8] = 8; // bit depth
    ihdr[9] = 6; // RGBA
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr)
           + chunk("IDAT", QByteArray("\x78\x9c\x01\x02", 4)) + chunk("IEND", QByteArray());
}
