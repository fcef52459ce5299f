#include "FilePipeline.h"

#include "ColorReducer.h"
#include "ImageFilters.h"
#include "ImageIO.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>

#include <cmath>

namespace {

bool writeFile(const QString& strPath, const QByteArray& bytes, QString* pError)
{
    // Written beside the target and renamed, so a failed write leaves no
    // half-written file behind.
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *pError = QStringLiteral("cannot write %1: %2").arg(strPath, file.errorString());
        return false;
    }
    return true;
}

} // namespace

PipelineResult optimizeFile(const QString& strInPath, const QString& strOutPath,
                            const PipelineOptions& options)
{
    PipelineResult result;
    QElapsedTimer timer;
    timer.start();

    QFile file(strInPath);
    if (!file.open(QIODevice::ReadOnly)) {
        result.strError = file.errorString();
        return result;
    }
    const QByteArray source = file.readAll();
    file.close();
    result.nBytesIn = source.size();

    QImage image;
    if (!MGraphX::loadImageChecked(source, &image, &result.strError))
        return result;
    if (options.nResizePercent < 100) {
        const int p = qBound(1, options.nResizePercent, 100);
        const int nWidth = int(std::floor(image.width() * p / 100.0 + 0.5));
        const int nHeight = int(std::floor(image.height() * p / 100.0 + 0.5));
        image = image.scaled(nWidth, nHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (image.isNull()) {
            result.strError = QStringLiteral("the picture is too small to scale to %1 %").arg(p);
            return result;
        }
    }
    if (options.bGray)
        image = MGraphX::toGray(image);
    // 16-bit pictures hold 8 bytes per pixel; the reducer needs only 32-bit
    // pixels, so drop the wide copy before reducing.
    if (image.depth() > 32)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                              : QImage::Format_RGB32);
    result.nPixels = qint64(image.width()) * image.height();
    result.nDecodeMs = timer.restart();

    QImage reduced;
    {
        MGraphX::ColorReducer reducer(image);
        reducer.setDithering(options.bDithering);
        reduced = reducer.reduce(options.nColors);
    }
    image = QImage();
    result.nReduceMs = timer.restart();
    if (reduced.isNull()) {
        result.strError = QStringLiteral("the picture could not be reduced");
        return result;
    }

    const QByteArray encoded = MGraphX::encodePng(reduced);
    reduced = QImage();
    result.nEncodeMs = timer.restart();
    if (encoded.isEmpty()) {
        result.strError = QStringLiteral("the PNG encoder failed");
        return result;
    }

    result.bKeptSource = encoded.size() > source.size();
    const QByteArray& output = result.bKeptSource ? source : encoded;
    if (!writeFile(strOutPath, output, &result.strError))
        return result;
    result.nBytesOut = output.size();
    result.bOk = true;
    return result;
}
