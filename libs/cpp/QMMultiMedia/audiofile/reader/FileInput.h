#pragma once

#include "AudioFloatBuffer.h"
#include "BaseInput.h"
#include "EBUEnvelope.h"
#include "EBUInfo.h"
#include "EnvelopeCache.h"
#include "FileInfo.h"
#include "Handle.h"
#include "LTCData.h"
#include "LTCDecoder.h"
#include "PeakCache.h"
#include "PeakVector.h"
#include "RawBuffer.h"

#include <QList>
#include <QString>

#include <cstdio>
#include <vector>

// The common reader of audio files. A concrete reader (WaveInput, AiffInput)
// parses its container in open(); everything else is here: reading bytes and
// float samples up to the end of the sample data, seeking by bytes and
// frames, the broadcast-wave record and peak envelope, waveform peaks at any
// zoom (from the file's "levl" chunk, a cached envelope file or one pass over
// the samples), timecode texts and a linear-timecode decoder made on first
// use.
//
// Positions inside the file are 64-bit. Sizes read from files are never
// trusted: a peak envelope is used only when its sizes fit the bytes present
// and the file it describes, and a cached one only beside a record of
// exactly the file open now; otherwise the samples are scanned again.
// Failures answer false, 0 or -1 (see each operation) and write one line to
// the standard error or debug stream; nothing is thrown, except "Null handle"
// from saveEnvelope() when peaks exist but no envelope does.
//
// Inputs are not copyable; the process-wide base folder and registry of
// live inputs are not locked (one thread).
namespace QMMultiMedia {

class FileInput : public BaseInput
{
public:
    // A waveform request: the peak index at a zoom of scale frames per peak.
    struct PeakRequest
    {
        int index;
        int channel;
        float scale;
    };

    FileInput();
    ~FileInput() override;
    FileInput(const FileInput&) = delete;
    FileInput& operator=(const FileInput&) = delete;

    void dumpInfo() override;
    const char* name() const override;

    // Reads 8 bytes; with bigEndian bytes 4 to 7 are reversed. 1, 0 at the
    // end of the file, -1 without a file.
    virtual int readChunkHeader(char* header, bool bigEndian);
    // Parses the container (path in the local 8-bit encoding), fills the
    // Settings and the FileInfo and leaves the stream at the first sample.
    virtual bool open(const char* path) = 0;
    // Fills the peak vector: from the file's own "levl" chunk, else from the
    // cached envelope file, else by one pass over the samples (which writes
    // the cache). Does nothing without an open file.
    virtual void buildPeaks();
    // The (maximum, minimum) peak of a channel at a zoom above 256 frames
    // per peak, (minimum, maximum) between 1 and 256, (sample, 0) at 1 and
    // below; (0, 0) where there is none. The address stays valid until the
    // next call.
    virtual const Peak* peak(const PeakRequest& request);
    // The extension check (case-sensitive, against extensions()), a regular
    // file of at least 40 bytes, then open(). A file open before is closed
    // once the checks pass, and what was known of it is forgotten.
    virtual bool openChecked(const char* path, bool skipExtensionCheck = false);

    // Raw sample bytes from the stream's position, never past the data.
    virtual int readBytes(char* buffer, int count);
    virtual int readRaw(MTools::Handle<RawBuffer> buffer);
    // The buffer's samples; answers whole frames.
    virtual int readBuffer(MTools::Handle<AudioFloatBuffer> buffer);
    virtual int readBufferAt(MTools::Handle<AudioFloatBuffer> buffer, int startFrame);
    // count samples as floats (full scale at -1 and 1); all count places are
    // written (0 past the data). Answers the whole samples read; 0 for
    // samples other than 8, 16, 24 or 32 bits (with an error line).
    virtual int read(float* data, int count);
    // frames of one channel; -1 for a channel outside the file's, 0 without
    // channels. Answers the frames read.
    virtual int readChannel(float* data, int frames, int channel);
    // Byte offsets count from the first sample byte. The seeks answer 0 on
    // success; every operation here answers -1 without a file.
    virtual int seekBytes(qint64 offset);
    virtual qint64 tellBytes();
    virtual int flush();
    virtual int rewind();
    // The stream's absolute position.
    virtual qint64 filePosition();
    virtual int seekFrames(int frame, int channels);
    virtual int seekFrame(int frame);
    virtual int seekAndRead(int frame, float* data, int frames, int channels);
    // Answers whole frames; 0 when channels is not positive.
    virtual int readFrames(float* data, int frames, int channels);

    // The peaks as an envelope file (format 1: 8-bit, 2: 16-bit), built
    // first when there are none.
    virtual bool saveEnvelope(const char* path, int format);
    // An envelope file into the envelope and the peak vector; true when its
    // peaks were read (the peaks are unchanged otherwise).
    virtual bool loadEnvelope(const char* path);
    virtual bool saveInfo(const char* path);
    virtual bool loadInfo(const char* path);
    virtual MTools::Handle<EBUInfo> ebuInfo() const;
    virtual MTools::Handle<EBUEnvelope> envelope() const;
    virtual const FileInfo* fileInfo() const;
    // Accepted file-name endings, separated by blanks.
    virtual const char* extensions() const;
    virtual MTools::Handle<PeakVector> peakVector() const;
    virtual FILE* file() const;
    // The close's result; 0 without a file.
    virtual int close();

    // Linear timecode. ltcStatus, hasLtc, ltcChannel and ltcFps make the
    // decoder (which reads the start of the file and seeks to frame 0).
    virtual int ltcStatus(int channel);
    virtual LTCData ltcAt(int audioFrame);
    virtual qint64 frameOfTimecode(int hours, int minutes, int seconds, int frames);
    // "H:M:S:F"; -1 with fewer than four parts.
    virtual qint64 frameOfTimecodeText(const QString& text);
    virtual bool hasLtc();
    virtual int ltcChannel();
    virtual QString ltcText(int audioFrame, bool userBits);
    virtual float ltcFps();

    // The broadcast record's frame rate, 0 without one. The texts below count
    // at that rate when it is at least 1, else at the production's.
    float fps() const;
    QString durationTimecode() const;
    QString startTimecode() const;
    QString endTimecode() const;
    QString timecodeAtSample(qint64 offset) const;
    QString timecodeOfSamples(qint64 count) const;
    QString scene() const;
    QString take() const;
    float durationIn(float rate) const;
    // Reads 4 bytes: the number read, -1 without a file.
    int readTag(char* tag);

    // Caches and temporary files lie in folders of the base folder that
    // only this user can reach (see MTools::PrivateFolder): "Envelopes" and
    // "AudioTemp", or the name followed by '-' and the user id where that
    // name is taken. Without such a folder there is no cache and no temporary
    // name (empty texts), and a warning says why.
    //
    // The envelope cache's body: <Envelopes>/<name>.bef, where <name> is the
    // file's absolute path with ':' '.' '/' as '_' (its end only, when long)
    // and a hash of the path; <name>.origin beside it records the source
    // (see EnvelopeCache).
    QString envelopeFileName() const;
    // The file's envelope cache: its body and the record of its source.
    EnvelopeCache envelopeCache() const;
    // <AudioTemp>/, the folder made when missing.
    QString audioTempFolder() const;
    // <AudioTemp>/<name>: named as the cache is, but with the dots kept and
    // no ending.
    QString audioTempFileName() const;

    // Where envelope caches and temporary files go; "/tmp" by default.
    static void setBaseFolder(const QString& folder);
    static QString baseFolder();
    // Every live input, in order of construction.
    static const QList<FileInput*>& instances();

protected:
    // Reads the peak values of the envelope header held from position on;
    // false (peaks unchanged) when its sizes do not fit the file.
    bool buildPeakVector(FILE* stream, qint64 position);
    // One pass over the samples, all channels together.
    void scanPeaks();
    // The cache's body, when it is fit to stand for this file, read into the
    // envelope and the peak vector.
    bool cacheFitsTheFile(const EnvelopeCache& cache);
    // An envelope file open as stream into the envelope and the peak vector.
    bool readEnvelope(FILE* stream);
    void makeDecoder();
    QString timecodeOf(double samples) const;
    int convert(const char* bytes, float* data, int count);

    FileInfo m_info;
    MTools::Handle<EBUInfo> m_ebuInfo;
    MTools::Handle<EBUEnvelope> m_envelope;
    MTools::Handle<LTCDecoder> m_ltcDecoder;
    FILE* m_pFile = nullptr;
    qint64 m_nDataEnd = 0;
    qint32 m_nSamplesPerPeak = 256;
    MTools::Handle<PeakVector> m_peakVector;
    Peak m_peakResult;
    PeakCache m_peakCache;
    QString m_strEnvelopeFolder;
    // Set by a reader that met a "levl" chunk: where its header starts.
    qint64 m_nLevlPosition = -1;

private:
    std::vector<char> m_bytes;    // raw samples on their way to floats
    std::vector<qint32> m_ints;   // unsigned samples on their way to floats
    std::vector<float> m_frames;  // interleaved frames of readChannel
    std::vector<float> m_block;   // one channel's frames of a zoomed peak
};

}  // namespace QMMultiMedia
