#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The per-file step of a batch: load, optional scale and grey, reduce, encode
// as indexed PNG at the strongest compression, and write the result, or the
// source bytes when the result would be larger (equal sizes keep the result).
// optimizeFile() runs it whole; loadFile() and finishFile() are its two
// halves, so that a caller may decode the next file while this one is reduced.
struct PipelineOptions
{
    int nColors = 256;
    bool bDithering = true;
    bool bGray = false;
    int nResizePercent = 100; // 1..100
};

struct PipelineResult
{
    bool bOk = false;
    QString strError;
    qint64 nPixels = 0;
    qint64 nDecodeMs = 0;   // reading, decoding, scaling and grey
    qint64 nReduceMs = 0;   // reduction, with the PNG compressed alongside
    qint64 nEncodeMs = 0;   // finishing the PNG after the reduction
    qint64 nBytesIn = 0;
    qint64 nBytesOut = 0;
    bool bKeptSource = false;
};

// What the first half hands to the second.
struct LoadedFile
{
    QString strOutPath;
    QByteArray source;  // the source file's bytes
    QImage image;       // ready to reduce; null when loading failed
    PipelineResult result;
};

LoadedFile loadFile(const QString& strInPath, const QString& strOutPath,
                    const PipelineOptions& options);
PipelineResult finishFile(LoadedFile file, const PipelineOptions& options);
PipelineResult optimizeFile(const QString& strInPath, const QString& strOutPath,
                            const PipelineOptions& options);
