#pragma once

#include "FileOutput.h"

#include <QString>

#include <vector>

// Writes a RIFF/WAVE file from float samples. The header goes out when the
// output is made: "RIFF", "bext" (broadcast-wave metadata, when held),
// "LIST"/"INFO"/"ICMT" (a comment, when given, as UTF-8: see WaveComment.h),
// "fmt " (integer PCM) and the "data" header. Samples are converted to 8-bit
// unsigned or 16-, 24- or 32-bit signed little-endian integers as they are
// written, while the peaks of every block of 256 samples per channel are
// gathered; close() appends the "levl" peak envelope and patches the sizes.
//
// Refused: settings outside 1..32 channels, 8/16/24/32 bits and rates from 1
// (the output then holds no file), and any write that would take the file past
// the 4 GiB a RIFF header can state. Every write step is checked: write(),
// writeBytes() and close() answer whether all of it reached the file.
namespace QMMultiMedia {

class WaveOutput : public FileOutput
{
public:
    // path in the local 8-bit encoding (QFile::encodeName). With the
    // broadcast-wave flag the output holds a record (the given one, or a new
    // one) filled with the defaults of a new recording.
    WaveOutput(const char* path, const Settings& settings, const QString& comment,
               MTools::Handle<EBUInfo> metadata, bool broadcastWave);
    ~WaveOutput() override;

    bool writeBytes(const char* data, int count) override;
    bool write(const float* data, int count) override;

    // Opens (creates or truncates) the file and writes everything up to the
    // first sample. A file still open is closed first, and the peaks start
    // afresh.
    virtual bool writeHeader(const char* path);
    // Pads the data, appends the envelope, patches the sizes and closes.
    // An output without a file answers false.
    virtual bool close();
    virtual int waveVersion() const;
    // Timecode texts at the metadata's frame rate when it is at least 1, else
    // at the production's (see effectiveFps).
    virtual QString lengthTimecode() const;
    virtual QString timecodeAt(qint64 samplePosition) const;
    virtual QString timeReferenceTimecode() const;

    void dumpInfo() override;
    const char* name() const override;

    // 2 for 16-bit peak values (the default), 1 for 8-bit.
    void setEnvelopeFormat(int format) { m_nEnvelopeFormat = format; }
    int envelopeFormat() const { return m_nEnvelopeFormat; }
    // The current peaks as an envelope file of their own.
    bool saveEnvelope(const char* path);
    // Samples written, all channels together.
    quint64 sampleCount() const;
    // The metadata's frame rate; 0 without metadata.
    float ebuFps() const;

private:
    bool settingsAreWritable() const;
    int bytesPerStoredSample() const;
    bool fitsInRiff(qint64 addedBytes, qint64 addedFrames) const;
    QString timecodeOfFrames(double frames) const;

    int m_nEnvelopeFormat = EBUEnvelope::TwoBytes;
    std::vector<char> m_stored;  // converted samples on their way to the file
};

}  // namespace QMMultiMedia
