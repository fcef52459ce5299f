#pragma once

#include <QString>

#include <cstdio>

// The broadcast-wave "bext" record (version 1 layout): 602 fixed bytes of
// texts, time reference, version, UMID and reserved bytes, then a free
// coding-history text. Texts travel as Latin-1, one byte per character; each
// fixed field is written at exactly its width (NUL-filled, or cut).
namespace QMMultiMedia {

class EBUInfo
{
public:
    // Empty texts (NUL-filled to their widths), date "0000-00-00", time
    // "00:00:00", every number and byte 0, frame rate -1 (none given).
    EBUInfo();
    // The time reference and a frame rate; the description becomes "sSPEED="
    // and the rate (6 significant digits at most).
    EBUInfo(qint32 timeReferenceLow, qint32 timeReferenceHigh, float fps);
    virtual ~EBUInfo();
    // Copies start with stored chunk size 0; an assigned record keeps its own.
    EBUInfo(const EBUInfo& other);
    EBUInfo& operator=(const EBUInfo& other);

    // The text setters fill a shorter text with NUL characters to 256, 32,
    // 32, 10 and 8; a longer one is kept whole and cut when written.
    void setDescription(const QString& text);
    void setOriginator(const QString& text);
    void setOriginatorReference(const QString& text);
    void setOriginationDate(const QString& text);
    void setOriginationTime(const QString& text);
    void setTimeReferenceLow(qint32 value) { m_nTimeReferenceLow = value; }
    void setTimeReferenceHigh(qint32 value) { m_nTimeReferenceHigh = value; }
    void setTimeReference(qint64 samples);
    void setVersion(int version) { m_nVersion = quint16(version); }
    // An index outside 0..63 changes nothing.
    void setUmidByte(int index, unsigned char value);
    void setCodingHistory(const QString& text) { m_strCodingHistory = text; }
    // The size a reader found in the chunk's header; readChunk reads the
    // coding history from it.
    void setChunkSize(quint32 size) { m_nStoredChunkSize = size; }

    QString description() const { return m_strDescription; }
    QString originator() const { return m_strOriginator; }
    QString originatorReference() const { return m_strOriginatorReference; }
    QString originationDate() const { return m_strOriginationDate; }
    QString originationTime() const { return m_strOriginationTime; }
    qint32 timeReferenceLow() const { return m_nTimeReferenceLow; }
    qint32 timeReferenceHigh() const { return m_nTimeReferenceHigh; }
    qint64 timeReference() const;
    int version() const { return m_nVersion; }
    // 0 outside 0..63.
    int umidByte(int index) const;
    unsigned char* umid() { return m_umid; }
    unsigned char* reserved() { return m_reserved; }
    QString codingHistory() const { return m_strCodingHistory; }
    float fps() const { return m_fFps; }
    // 602 plus the coding history's length (computed, not the stored size).
    quint32 chunkSize() const;
    quint32 storedChunkSize() const { return m_nStoredChunkSize; }

    QString scene() const { return QString(); }
    QString take() const { return QString(); }
    QString userBits() const { return QString(); }

    // Writes "bext", the size and the body; true when every write worked.
    bool writeChunk(FILE* file) const;
    // Reads the body from a stream standing just after the 8-byte header, the
    // stored chunk size set beforehand. Short reads fill with zero bytes; the
    // coding history (chunk size - 602 bytes, from 603 up) is bounded by the
    // bytes left in the file.
    void readChunk(FILE* file);
    // The chunk as a file of its own; save answers whether it was written
    // whole, load whether the file opened and held a chunk header (the record
    // is unchanged otherwise).
    bool save(const char* path) const;
    bool load(const char* path);

    // Fills the record for a newly recorded file: originator "CORVANE",
    // originator reference the application's name and ":", version 1, today's
    // date and time, the description of the file name, and one more
    // coding-history line.
    void setDefaults(const QString& fileName, int sampleRate, int bitsPerSample, int channels);
    // Appends "A=PCM,F=<rate>,W=<bits>,M=<mode>,T=" and CR LF.
    void appendCodingHistory(int sampleRate, int bitsPerSample, int channels);
    // The description of key=value lines joined by CR LF: user bits, speed,
    // software version, file and project name.
    void buildDescription(const QString& fileName);
    static QString replaceBlanks(const QString& text, QChar replacement);

    // Eight lines of eight lower-case hexadecimal UMID bytes.
    QString umidText() const;
    void dumpInfo() const;

private:
    void copyFields(const EBUInfo& other);

    QString m_strDescription;
    QString m_strOriginator;
    QString m_strOriginatorReference;
    QString m_strOriginationDate;
    QString m_strOriginationTime;
    qint32 m_nTimeReferenceLow = 0;
    qint32 m_nTimeReferenceHigh = 0;
    quint16 m_nVersion = 0;
    unsigned char m_umid[64] = {};
    unsigned char m_reserved[190] = {};
    QString m_strCodingHistory;
    quint32 m_nStoredChunkSize = 0;
    float m_fFps = -1.0f;
};

}  // namespace QMMultiMedia
