#pragma once

#include "BaseOutput.h"
#include "EBUEnvelope.h"
#include "EBUInfo.h"
#include "FileInfo.h"
#include "PeakVector.h"

#include <cstdio>
#include <vector>

// The base of outputs that write a file: it keeps the file's broadcast-wave
// record (when there is one), the header of its peak envelope, the peaks
// gathered per block of 256 samples of each channel, and the file's facts.
namespace QMMultiMedia {

class FileOutput : public BaseOutput
{
public:
    // path is the file name in the local 8-bit encoding (QFile::encodeName);
    // the broadcast-wave flag is for the derived output.
    FileOutput(const char* path, const Settings& settings, const QString& comment,
               MTools::Handle<EBUInfo> metadata, bool broadcastWave);
    ~FileOutput() override;
    FileOutput(const FileOutput&) = delete;
    FileOutput& operator=(const FileOutput&) = delete;

    // A share of the broadcast-wave record; empty when the file has none.
    virtual MTools::Handle<EBUInfo> ebuInfo() const;
    FileInfo fileInfo() const { return m_info; }

protected:
    static constexpr int kMaxChannels = 32;  // the peak envelope's limit

    // The (maximum, minimum) of one channel's current block.
    struct Accumulator
    {
        float max = 0.0f;
        float min = 0.0f;
        int inBlock = 0;
        qint64 count = 0;  // samples of this channel so far
    };

    // Takes count interleaved samples into the per-channel blocks: frames =
    // count / channels, samples beyond whole frames are not counted. A full
    // block appends its pair to the peaks and starts again from (0, 0). The
    // largest magnitude so far and its position within its channel go to the
    // envelope (the first such sample, channel 0 before channel 1 ...).
    void accumulatePeaks(const float* data, int count);
    // Appends every channel's current pair, also of an empty block.
    void flushPeaks();

    MTools::Handle<EBUInfo> m_metadata;
    MTools::Handle<EBUEnvelope> m_envelope;
    PeakVector m_peaks;
    FileInfo m_info;
    FILE* m_pFile = nullptr;
    int m_nBlockSize = 256;
    float m_fPeakOfPeaks = 0.0f;
    std::vector<Accumulator> m_accumulators;
};

}  // namespace QMMultiMedia
