#include "ImageEncoding.h"

#include "Codecs.h"
#include "ImageIO.h"

#include <QBuffer>
#include <QByteArray>

namespace MGraphX {

namespace {

const QString kImageMarker = QStringLiteral(":image/");
const QString kBase64Marker = QStringLiteral(";base64,");

bool encode(const QImage& image, const QString& strFormat, int nQuality, QByteArray* pBytes)
{
    QBuffer buffer(pBytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, strFormat.toLocal8Bit().constData(), nQuality);
}

} // namespace

QImage fromDataUri(const QString& strText)
{
    const int nImage = strText.indexOf(kImageMarker);
    if (nImage < 0)
        return QImage();
    const int nFormat = nImage + kImageMarker.size();
    const int nBase64 = strText.indexOf(kBase64Marker, nFormat);
    if (nBase64 < 0)
        return QImage();
    // The format named in the text is not trusted: the bytes are decoded by
    // what they hold, with the loaders' size limit.
    const QByteArray bytes = MTools::fromBase64(strText.mid(nBase64 + kBase64Marker.size()));
    QImage image;
    loadImageChecked(bytes, &image);
    return image;
}

QString toDataUri(const QImage& image, const QString& strFormat, const int& nQuality)
{
    const QString strPrefix = QStringLiteral("data:image/") + strFormat.toLower() + kBase64Marker;
    QByteArray bytes;
    if (!encode(image, strFormat, nQuality, &bytes))
        return strPrefix;
    return strPrefix + MTools::toBase64(bytes);
}

QImage recompress(const QImage& image, const QString& strFormat, const int& nQuality)
{
    QByteArray bytes;
    if (!encode(image, strFormat, nQuality, &bytes))
        return QImage();
    // Decoded from the finished bytes: reading back through the buffer that
    // was written would start at its end and find nothing.
    return QImage::fromData(bytes, strFormat.toLocal8Bit().constData());
}

} // namespace MGraphX
