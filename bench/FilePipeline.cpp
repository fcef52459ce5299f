#include "FilePipeline.h"

#include "ColorReducer.h"
#include "ImageFilters.h"
#include "ImageIO.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>

#include <cmath>
#include <utility>

LoadedFile loadFile(const QString& strInPath, const QString& strOutPath,
                    const PipelineOptions& options)
{
    LoadedFile file;
    file.strOutPath = strOutPath;
    PipelineResult& result = file.result;
    QElapsedTimer timer;
    timer.start();

    QFile input(strInPath);
    if (!input.open(QIODevice::ReadOnly)) {
        result.strError = input.errorString();
        return file;
    }
    file.source = input.readAll();
    input.close();
    result.nBytesIn = file.source.size();

    QImage image;
    if (!MGraphX::loadImageChecked(file.source, &image, &result.strError))
        return file;
    if (options.nResizePercent < 100) {
        const int p = qBound(1, options.nResizePercent, 100);
        const int nWidth = int(std::floor(image.width() * p / 100.0 + 0.5));
        const int nHeight = int(std::floor(image.height() * p / 100.0 + 0.5));
        image = image.scaled(nWidth, nHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (image.isNull()) {
            result.strError = QStringLiteral("the picture is too small to scale to %1 %").arg(p);
            return file;
        }
    }
    if (options.bGray)
        image = MGraphX::toGray(image);
    // 16-bit pictures hold 8 bytes per pixel; the reducer needs only 32-bit
    // pixels, so drop the wide copy before reducing.
    if (image.depth() > 32)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                              : QImage::Format_RGB32);
    file.image = image;
    result.nPixels = qint64(image.width()) * image.height();
    result.nDecodeMs = timer.elapsed();
    return file;
}

PipelineResult finishFile(LoadedFile file, const PipelineOptions& options)
{
    PipelineResult result = file.result;
    if (file.image.isNull())
        return result;
    QElapsedTimer timer;
    timer.start();
    QByteArray png;
    {
        MGraphX::ColorReducer reducer(file.image);
        file.image = QImage();
        reducer.setDithering(options.bDithering);
        png = reducer.reduceToPng(options.nColors, nullptr, &result.nEncodeMs);
    }
    result.nReduceMs = timer.elapsed() - result.nEncodeMs;
    if (png.isEmpty()) {
        result.strError = QStringLiteral("the picture could not be reduced and encoded");
        return result;
    }

    result.bKeptSource = png.size() > file.source.size();
    const QByteArray& output = result.bKeptSource ? file.source : png;
    // Written beside the target and renamed, so a failed write leaves no
    // half-written file behind.
    QSaveFile out(file.strOutPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(output) != output.size() || !out.commit()) {
        result.strError = QStringLiteral("cannot write %1: %2").arg(file.strOutPath, out.errorString());
        return result;
    }
    result.nBytesOut = output.size();
    result.bOk = true;
    return result;
}

PipelineResult optimizeFile(const QString& strInPath, const QString& strOutPath,
                            const PipelineOptions& options)
{
    return finishFile(loadFile(strInPath, strOutPath, options), options);
}
