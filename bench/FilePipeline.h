#pragma once

#include <QString>

// The per-file step of a batch: load, optional scale and grey, reduce, encode
// as indexed PNG at the strongest compression, and write the result, or the
// source bytes when the result would be larger (equal sizes keep the result).
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

PipelineResult optimizeFile(const QString& strInPath, const QString& strOutPath,
                            const PipelineOptions& options);
