#pragma once

#include <QString>

#include <cstdio>

// The header of the broadcast-wave peak-envelope chunk "levl": for every block
// of samples of each channel a pair of peak magnitudes, which a waveform view
// draws without reading the audio. The header is written together with the
// peaks of a PeakVector, at the end of a WAV file or into a file of its own;
// readers read the header here and the peak values themselves.
namespace QMMultiMedia {

class PeakVector;

class EBUEnvelope
{
public:
    // Format 1 stores each magnitude in one byte (x 255), format 2 in an
    // unsigned little-endian 16-bit value (x 65535).
    enum Format { OneByte = 1, TwoBytes = 2 };

    // Every number 0, a time stamp of 28 blanks.
    EBUEnvelope();
    virtual ~EBUEnvelope();
    EBUEnvelope(const EBUEnvelope& other) = default;
    EBUEnvelope& operator=(const EBUEnvelope& other) = default;

    int version() const { return m_nVersion; }
    void setVersion(int value) { m_nVersion = value; }
    int format() const { return m_nFormat; }
    void setFormat(int value) { m_nFormat = value; }
    int pointsPerValue() const { return m_nPointsPerValue; }
    void setPointsPerValue(int value) { m_nPointsPerValue = value; }
    int blockSize() const { return m_nBlockSize; }
    void setBlockSize(int value) { m_nBlockSize = value; }
    int peakChannels() const { return m_nPeakChannels; }
    void setPeakChannels(int value) { m_nPeakChannels = value; }
    int numPeakFrames() const { return m_nNumPeakFrames; }
    void setNumPeakFrames(int value) { m_nNumPeakFrames = value; }
    int posPeakOfPeaks() const { return m_nPosPeakOfPeaks; }
    void setPosPeakOfPeaks(int value) { m_nPosPeakOfPeaks = value; }
    int offsetToPeaks() const { return m_nOffsetToPeaks; }
    void setOffsetToPeaks(int value) { m_nOffsetToPeaks = value; }
    // The size of the chunk after its 8-byte header (32 bits, unsigned in the
    // file).
    int chunkSize() const { return m_nChunkSize; }
    void setChunkSize(int value) { m_nChunkSize = value; }
    // Exactly 28 characters: a longer text is cut, a shorter one filled with
    // blanks.
    QString timeStamp() const { return m_strTimeStamp; }
    void setTimeStamp(const QString& text);

    // Writes the chunk with the current local time stamp and the peaks, frame
    // after frame, channel after channel, in the given format; channels
    // shorter than the longest are lengthened with (0, 0) pairs. Magnitudes
    // above full scale are stored as full scale. A format other than 1 or 2
    // writes a header without peak frames (size 120), so the file promises no
    // bytes it lacks, and answers false. True when every byte was written.
    bool writeChunk(FILE* file, PeakVector& peaks, int format);
    // Reads the header fields from a stream standing after the chunk's 8-byte
    // header; neither the chunk size nor the peaks are read.
    void readChunk(FILE* file);
    // The chunk as a file of its own. save answers whether it was written
    // whole; load whether the file opened and held a chunk header (the object
    // is unchanged otherwise).
    bool save(const char* path, PeakVector& peaks, int format);
    bool load(const char* path);

    void dumpInfo() const;

private:
    qint32 m_nVersion = 0;
    qint32 m_nFormat = 0;
    qint32 m_nPointsPerValue = 0;
    qint32 m_nBlockSize = 0;
    qint32 m_nPeakChannels = 0;
    qint32 m_nNumPeakFrames = 0;
    qint32 m_nPosPeakOfPeaks = 0;
    qint32 m_nOffsetToPeaks = 0;
    qint32 m_nChunkSize = 0;
    QString m_strTimeStamp;
    unsigned char m_reserved[60] = {};
};

}  // namespace QMMultiMedia
