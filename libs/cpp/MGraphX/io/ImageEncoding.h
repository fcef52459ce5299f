#pragma once

#include <QImage>
#include <QString>

// Pictures through encoded bytes: data URIs ("data:image/<format>;base64,"
// followed by the Base64 of the file's bytes) and a save-and-load round trip.
namespace MGraphX {

// The picture of a data URI. Null when the text holds no ":image/" or no
// ";base64," after it, or when the bytes do not decode (pictures above
// kMaxImagePixels included).
QImage fromDataUri(const QString& strText);
// "data:image/" + the format in lower case + ";base64," + the encoded bytes;
// the prefix alone when the picture cannot be encoded in that format.
QString toDataUri(const QImage& image, const QString& strFormat, const int& nQuality);
// The picture encoded in the format at the quality and decoded again, to see
// what the encoding keeps. Null when it cannot be encoded.
QImage recompress(const QImage& image, const QString& strFormat, const int& nQuality);

} // namespace MGraphX
