#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The per-file step of a batch: load, optional scale and grey, reduce, encode
// as indexed PNG at the strongest compression, and write the result, or the
// source bytes when the result would be larger (equal sizes keep the result).
// optimizeFile() runs it whole; reduceFile() and writeFile() are its two
// halves, so that a caller may encode one file while reducing the next.
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
    qint64 nDecodeMs = 0;
    qint64 nReduceMs = 0;
    qint64 nEncodeMs = 0;
    qint64 nBytesIn = 0;
    qint64 nBytesOut = 0;
    bool bKeptSource = false;
};

// What the first half hands to the second.
struct ReducedFile
{
    QString strOutPath;
    QByteArray source;  // the source file's bytes
    QImage reduced;     // Format_Indexed8; null when the first half failed
    PipelineResult result;
};

ReducedFile reduceFile(const QString& strInPath, const QString& strOutPath,
                       const PipelineOptions& options);
PipelineResult writeFile(ReducedFile file);
PipelineResult optimizeFile(const QString& strInPath, const QString& strOutPath,
                            const PipelineOptions& options);
