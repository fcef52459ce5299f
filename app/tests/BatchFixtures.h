#pragma once

// Picture and file fixtures of the batch tests, generated in code.

#include "TestFiles.h"

#include <QByteArray>
#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRandomGenerator>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QtEndian>

namespace BatchFixtures {

// Writes the file, making the folders it lies in first.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return QMTest::writeFile(path, bytes);
}

using QMTest::readFile;

// The picture as a file of the given format ("PNG", "JPG", ...) would hold it.
inline QByteArray imageBytes(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

inline QByteArray pngBytes(const QImage& image)
{
    return imageBytes(image, "PNG");
}

// One colour all over.
inline QImage filledPicture(int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Many colours: a smooth gradient with seeded noise.
inline QImage rgbPicture(int width, int height, quint32 seed = 1)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 255 / qMax(1, width - 1) + random.bounded(40)) % 256,
                                      (y * 255 / qMax(1, height - 1) + random.bounded(40)) % 256,
                                      random.bounded(256)));
    return image;
}

// Left half opaque colours, right half fully transparent.
inline QImage alphaPicture(int width, int height)
{
    QImage image = rgbPicture(width, height, 7).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = width / 2; x < width; ++x)
            image.setPixel(x, y, qRgba(10, 20, 30, 0));
    return image;
}

inline QImage palettePicture(int width, int height, int colors)
{
    QImage image(width, height, QImage::Format_Indexed8);
    QVector<QRgb> table;
    for (int i = 0; i < colors; ++i)
        table << qRgb(i * 255 / colors, 255 - i * 255 / colors, (i * 77) % 256);
    image.setColorTable(table);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, uint((x / 3 + y / 2 + (x * y) % 7) % colors));
    return image;
}

// A noisy grey ramp: many levels, so fewer levels compress better.
inline QImage greyPicture(int width, int height)
{
    QRandomGenerator random(5);
    QImage image(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.scanLine(y)[x] = uchar((x * 2 + random.bounded(60)) % 256);
    return image;
}

// A 1 x 1 grey PNG as small as Qt writes it; its indexed re-encode is larger.
inline QByteArray tinyPng(int grey)
{
    QImage image(1, 1, QImage::Format_Grayscale8);
    image.scanLine(0)[0] = uchar(grey);
    return pngBytes(image);
}

inline quint32 crc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char c : data) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A valid small PNG whose header claims width x height pixels.
inline QByteArray pngWithDeclaredSize(quint32 width, quint32 height)
{
    QByteArray bytes = pngBytes(rgbPicture(4, 4));
    // Signature (8), length (4), "IHDR" (4), then width and height.
    qToBigEndian(width, reinterpret_cast<uchar*>(bytes.data() + 16));
    qToBigEndian(height, reinterpret_cast<uchar*>(bytes.data() + 20));
    const quint32 crc = crc32(bytes.mid(12, 17));
    qToBigEndian(crc, reinterpret_cast<uchar*>(bytes.data() + 29));
    return bytes;
}

// Every file and folder below root, relative, folders with a trailing "/".
inline QStringList treeOf(const QString& root)
{
    QStringList entries;
    const QDir dir(root);
    const auto infos = dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                         QDir::Name);
    for (const QFileInfo& info : infos) {
        if (info.isDir()) {
            entries << info.fileName() + QLatin1Char('/');
            for (const QString& below : treeOf(info.absoluteFilePath()))
                entries << info.fileName() + QLatin1Char('/') + below;
        } else {
            entries << info.fileName();
        }
    }
    return entries;
}

// The distinct colours that the visible pixels of an indexed picture use.
inline int usedOpaqueColors(const QImage& image)
{
    QSet<int> used;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int index = image.pixelIndex(x, y);
            if (qAlpha(image.color(index)) != 0)
                used.insert(index);
        }
    return used.size();
}

} // namespace BatchFixtures
