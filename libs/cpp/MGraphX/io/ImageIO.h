#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace MGraphX {

// Largest picture the loaders decode, in pixels (150 megapixels). The size is
// read from the file header before any pixel memory is taken.
constexpr qint64 kMaxImagePixels = 150000000;

// Decodes a picture from a file (format detected from the content) into
// *pImage. Returns false with a readable sentence in *pError (when given) for
// a missing, empty, truncated, corrupt or unsupported file and for a picture
// whose header declares more than kMaxImagePixels.
bool loadImageChecked(const QString& strPath, QImage* pImage, QString* pError = nullptr);

// The same for a picture held in memory.
bool loadImageChecked(const QByteArray& data, QImage* pImage, QString* pError = nullptr);

// PNG bytes of the image at the strongest compression (quality 0). An empty
// array when the image is null or cannot be encoded.
QByteArray encodePng(const QImage& image);

} // namespace MGraphX
