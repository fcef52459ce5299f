#pragma once

#include "FileInput.h"

// Opens an audio file without knowing its format: a WaveInput is tried
// first, then an AiffInput, and the one that accepts the file becomes the
// inner reader, to which almost every operation goes. A failed open keeps
// the previous inner reader. Its own stream never opens; its Settings and
// FileInfo are copies taken at open.
//
// Without an inner reader every forwarded operation answers a fixed value:
// nothing happens, 0, -1, false, an empty handle or a null name. Note that
// the seeks, flush and rewind then answer 0, the success code of a reader.
namespace QMMultiMedia {

class GeneralFileInput : public FileInput
{
public:
    enum FileType { Bwf = 0, Wave = 1, Aiff = 2, Unknown = 3 };

    GeneralFileInput();
    ~GeneralFileInput() override;

    // Always false: only openChecked() opens files.
    bool open(const char* path) override;
    bool openChecked(const char* path, bool skipExtensionCheck = false) override;
    const char* extensions() const override;

    // "BWF" (a WAV with a broadcast record), "WAVE", "AIFF" or "UNKNOWN".
    QString fileTypeName() const;
    int fileType() const;
    // The inner reader's; 0 without one.
    int bitsPerSample() const;
    int sampleRate() const;
    int channels() const;

    void dumpInfo() override;
    const char* name() const override;
    int sampleFormat() const override;
    void buildPeaks() override;
    const Peak* peak(const PeakRequest& request) override;
    int readBytes(char* buffer, int count) override;
    int readRaw(MTools::Handle<RawBuffer> buffer) override;
    int readBuffer(MTools::Handle<AudioFloatBuffer> buffer) override;
    int readBufferAt(MTools::Handle<AudioFloatBuffer> buffer, int startFrame) override;
    int read(float* data, int count) override;
    int seekBytes(qint64 offset) override;
    qint64 tellBytes() override;
    int flush() override;
    int rewind() override;
    qint64 filePosition() override;
    int seekFrames(int frame, int channels) override;
    int seekFrame(int frame) override;
    int seekAndRead(int frame, float* data, int frames, int channels) override;
    int readFrames(float* data, int frames, int channels) override;
    bool saveEnvelope(const char* path, int format) override;
    bool loadEnvelope(const char* path) override;
    bool saveInfo(const char* path) override;
    bool loadInfo(const char* path) override;
    MTools::Handle<EBUInfo> ebuInfo() const override;
    MTools::Handle<EBUEnvelope> envelope() const override;
    const FileInfo* fileInfo() const override;
    MTools::Handle<PeakVector> peakVector() const override;
    FILE* file() const override;
    int close() override;
    int ltcStatus(int channel) override;
    LTCData ltcAt(int audioFrame) override;
    qint64 frameOfTimecode(int hours, int minutes, int seconds, int frames) override;
    qint64 frameOfTimecodeText(const QString& text) override;
    bool hasLtc() override;
    int ltcChannel() override;
    float ltcFps() override;

private:
    MTools::Handle<FileInput> m_inner;
};

}  // namespace QMMultiMedia
