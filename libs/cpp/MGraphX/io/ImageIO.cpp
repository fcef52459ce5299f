#include "ImageIO.h"

#include "RegularFile.h"

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

// A GIF decoder paints on the logical screen of the file header, while
// QImageReader::size() reports the first frame: a few bytes can declare a
// screen far beyond the limit around a tiny frame. Invalid when the data is
// not a GIF.
QSize gifScreenSize(QIODevice* pDevice)
{
    const QByteArray head = pDevice->peek(10);
    if (head.size() < 10 || !(head.startsWith("GIF87a") || head.startsWith("GIF89a")))
        return QSize();
    const auto* p = reinterpret_cast<const uchar*>(head.constData());
    return QSize(p[6] | p[7] << 8, p[8] | p[9] << 8);
}

bool tooLarge(const QSize& size, QString* pError)
{
    const qint64 nPixels = qint64(size.width()) * size.height();
    return fail(pError, tr("The picture is too large: %1 x %2 pixels (%3 megapixels); "
                           "at most %4 megapixels can be processed.")
                            .arg(size.width()).arg(size.height())
                            .arg(double(nPixels) / 1e6, 0, 'f', 1)
                            .arg(kMaxImagePixels / 1000000));
}

bool readChecked(QIODevice* pDevice, QImage* pImage, QString* pError)
{
    if (pImage)
        *pImage = QImage();
    const QSize gifScreen = gifScreenSize(pDevice);
    QImageReader reader(pDevice);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead())
        return fail(pError, tr("The file is not a picture in a supported format."));
    QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return fail(pError, tr("The picture's size cannot be read; the file is damaged."));
    if (gifScreen.isValid())
        size = size.expandedTo(gifScreen);
    if (qint64(size.width()) * size.height() > kMaxImagePixels)
        return tooLarge(size, pError);
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return fail(pError, tr("The picture cannot be decoded: %1.").arg(reader.errorString()));
    // Whatever a decoder made of the header, the limit holds for the result.
    if (qint64(image.width()) * image.height() > kMaxImagePixels)
        return tooLarge(image.size(), pError);
    if (pImage)
        *pImage = image;
    return true;
}

} // namespace

bool loadImageChecked(const QString& strPath, QImage* pImage, QString* pError)
{
    // Only a regular file, opened without waiting: a pipe or a device at the
    // path would otherwise hold the caller or feed it without end.
    QFile file;
    QString reason;
    if (!MTools::RegularFile::openFile(strPath, &file, MTools::RegularFile::NoOption, &reason)) {
        if (pImage)
            *pImage = QImage();
        return fail(pError, tr("The file cannot be opened: %1.").arg(reason));
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
