#include "ImageIO.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>

namespace MGraphX {

namespace {

QString tr(const char* pText)
{
    return QCoreApplication::translate("MGraphX::ImageIO", pText);
}

bool fail(QString* pError, const QString& strMessage)
{
    if (pError)
        *pError = strMessage;
    return false;
}

bool readChecked(QIODevice* pDevice, QImage* pImage, QString* pError)
{
    if (pImage)
        *pImage = QImage();
    QImageReader reader(pDevice);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return fail(pError, tr("The file is not a picture in a supported format."));
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return fail(pError, tr("The picture's size cannot be read; the file is damaged."));
    const qint64 nPixels = qint64(size.width()) * size.height();
    if (nPixels > kMaxImagePixels) {
        return fail(pError, tr("The picture is too large: %1 x %2 pixels (%3 megapixels); "
                               "at most %4 megapixels can be processed.")
                                .arg(size.width()).arg(size.height())
                                .arg(double(nPixels) / 1e6, 0, 'f', 1)
                                .arg(kMaxImagePixels / 1000000));
    }
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return fail(pError, tr("The picture cannot be decoded: %1.").arg(reader.errorString()));
    if (pImage)
        *pImage = image;
    return true;
}

} // namespace

bool loadImageChecked(const QString& strPath, QImage* pImage, QString* pError)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        if (pImage)
            *pImage = QImage();
        return fail(pError, tr("The file cannot be opened: %1.").arg(file.errorString()));
    }
    if (file.size() == 0) {
        if (pImage)
            *pImage = QImage();
        return fail(pError, tr("The file is empty."));
    }
    return readChecked(&file, pImage, pError);
}

bool loadImageChecked(const QByteArray& data, QImage* pImage, QString* pError)
{
    if (data.isEmpty()) {
        if (pImage)
            *pImage = QImage();
        return fail(pError, tr("The file is empty."));
    }
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    return readChecked(&buffer, pImage, pError);
}

QByteArray encodePng(const QImage& image)
{
    if (image.isNull())
        return QByteArray();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG", 0))
        return QByteArray();
    return bytes;
}

} // namespace MGraphX
