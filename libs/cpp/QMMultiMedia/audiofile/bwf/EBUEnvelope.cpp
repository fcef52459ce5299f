#include "EBUEnvelope.h"

#include "ChunkReader.h"
#include "Codecs.h"
#include "PeakVector.h"
#include "SampleConversion.h"
#include "Timecode.h"

#include <QByteArray>
#include <QDebug>

#include <cmath>

namespace QMMultiMedia {

namespace {

constexpr int kStampWidth = 28;
constexpr int kHeaderSize = 120;  // the chunk's size without peak values
constexpr int kValuesPerPiece = 2048;

void appendLe32(QByteArray& out, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        out.append(char(quint8(value >> (8 * i))));
}

// trunc(|v| x full), saturated at full scale (a wrapped value would draw a
// clipped block as a quiet one); NaN counts as silence.
qint32 magnitude(float v, double full)
{
    const double x = std::fabs(double(v)) * full;
    if (x >= full)
        return qint32(full);
    return x == x ? qint32(x) : 0;
}

}  // namespace

EBUEnvelope::EBUEnvelope()
    : m_strTimeStamp(kStampWidth, QLatin1Char(' '))
{
}

EBUEnvelope::~EBUEnvelope() = default;

void EBUEnvelope::setTimeStamp(const QString& text)
{
    m_strTimeStamp = text.left(kStampWidth).leftJustified(kStampWidth, QLatin1Char(' '));
}

bool EBUEnvelope::writeChunk(FILE* file, PeakVector& peaks, int format)
{
    const bool known = format == OneByte || format == TwoBytes;
    if (!known)
        std::fprintf(stderr, "Unknown envelopes creation format\n");
    const qint64 bytesPerValue = format == TwoBytes ? 2 : 1;
    const qint64 channels = peaks.numberOfChannels();
    const qint64 frames = known ? peaks.numberOfPeaks() : 0;
    const qint64 size = kHeaderSize + 2 * channels * frames * bytesPerValue;
    m_nVersion = 0;
    m_nPeakChannels = qint32(channels);
    m_nNumPeakFrames = qint32(frames);
    m_nFormat = format;
    m_nPointsPerValue = 2;
    m_nOffsetToPeaks = 128;
    m_nChunkSize = qint32(quint32(size));

    QByteArray header;
    header.append("levl", 4);
    for (qint32 field : {m_nChunkSize, m_nVersion, m_nFormat, m_nPointsPerValue, m_nBlockSize, m_nPeakChannels,
                         m_nNumPeakFrames, m_nPosPeakOfPeaks, m_nOffsetToPeaks})
        appendLe32(header, quint32(field));
    QByteArray stamp = MTools::currentTimeStamp().toLatin1().left(kStampWidth);
    stamp.append(kStampWidth - stamp.size(), '\0');
    header.append(stamp);
    header.append(reinterpret_cast<const char*>(m_reserved), sizeof m_reserved);
    if (!file || size > 0xFFFFFFFFLL
        || std::fwrite(header.constData(), 1, size_t(header.size()), file) != size_t(header.size())) {
        std::fprintf(stderr, "EBUEnvelope::save: header writing error\n");
        return false;
    }

    bool written = known;
    const double full = format == TwoBytes ? 65535.0 : 255.0;
    qint32 values[kValuesPerPiece];
    char bytes[2 * kValuesPerPiece];
    int n = 0;
    auto flush = [&] {
        const int byteCount = n * int(bytesPerValue);
        if (format == TwoBytes)
            int16ToBytes(values, bytes, byteCount, true);
        else
            int8ToBytes(values, bytes, byteCount);
        if (std::fwrite(bytes, 1, size_t(byteCount), file) != size_t(byteCount)) {
            std::fprintf(stderr, "EBUEnvelope::save: error while writing the peak data\n");
            written = false;
        }
        n = 0;
    };
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            const Peak& pair = peaks.peakRef(f, c);
            values[n++] = magnitude(pair.first, full);
            values[n++] = magnitude(pair.second, full);
            if (n == kValuesPerPiece)
                flush();
        }
    }
    if (n > 0)
        flush();
    return written;
}

void EBUEnvelope::readChunk(FILE* file)
{
    if (!file)
        return;
    m_nVersion = readInt32(file, false);
    m_nFormat = readInt32(file, false);
    m_nPointsPerValue = readInt32(file, false);
    m_nBlockSize = readInt32(file, false);
    m_nPeakChannels = readInt32(file, false);
    m_nNumPeakFrames = readInt32(file, false);
    m_nPosPeakOfPeaks = readInt32(file, false);
    m_nOffsetToPeaks = readInt32(file, false);
    unsigned char stamp[kStampWidth];
    ChunkReader::readFilled(file, stamp, kStampWidth);
    setTimeStamp(MTools::fromLatin1Bytes(stamp, kStampWidth));
    unsigned char reserved[60];
    ChunkReader::readFilled(file, reserved, sizeof reserved);
}

bool EBUEnvelope::save(const char* path, PeakVector& peaks, int format)
{
    FILE* file = path ? std::fopen(path, "wb") : nullptr;
    if (!file) {
        std::fprintf(stderr, "EBUEnvelope::save: file create error\n");
        return false;
    }
    const bool written = writeChunk(file, peaks, format);
    return std::fclose(file) == 0 && written;
}

bool EBUEnvelope::load(const char* path)
{
    FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file) {
        std::fprintf(stderr, "EBUEnvelope:load: file open error\n");
        return false;
    }
    ChunkReader reader(file, 0, ChunkReader::fileLength(file));
    ChunkHeader header;
    const bool found = reader.next(&header);
    if (found) {
        m_nChunkSize = qint32(header.size);
        readChunk(file);
    }
    std::fclose(file);
    return found;
}

void EBUEnvelope::dumpInfo() const
{
    qDebug() << "----- EBU Envelope Begin ------";
    qDebug() << "Version = " << m_nVersion;
    qDebug() << "Format = " << m_nFormat;
    qDebug() << "PointsPerValue = " << m_nPointsPerValue;
    qDebug() << "BlockSize = " << m_nBlockSize;
    qDebug() << "PeakChannels = " << m_nPeakChannels;
    qDebug() << "NumPeakFrames = " << m_nNumPeakFrames;
    qDebug() << "PosPeakOfPeaks = " << m_nPosPeakOfPeaks;
    qDebug() << "OffsetToPeaks = " << m_nOffsetToPeaks;
    qDebug() << "ChunkSize = " << m_nChunkSize;
    qDebug() << "TimeStamp = " << m_strTimeStamp;
    qDebug() << "----- EBU Envelope End ------";
}

}  // namespace QMMultiMedia
