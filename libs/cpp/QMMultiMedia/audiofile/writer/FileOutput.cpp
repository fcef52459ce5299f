#include "FileOutput.h"

#include <QFile>

#include <algorithm>
#include <cmath>

namespace QMMultiMedia {

namespace {

// Folds n frames of c interleaved channels into each channel's minimum,
// maximum and largest magnitude. Each channel's values are folded with the
// same comparisons in any order: minima and maxima start from +0 at a block
// start, so neither ever becomes -0 and NaN never enters; the fold therefore
// gives the same values however the samples are grouped. With 1, 2, 4 or 8
// channels eight lanes run side by side on the interleaved samples (one lane
// per channel and position mod 8), which the compiler turns into vector code.
template <int C>
void scanLanes(const float* q, qint64 total, qint64& i, float* lo, float* hi, float* big)
{
    float l[8], h[8], b[8];
    for (int j = 0; j < 8; ++j) {
        l[j] = lo[j % C];
        h[j] = hi[j % C];
        b[j] = big[j % C];
    }
    for (; i + 8 <= total; i += 8) {
        for (int j = 0; j < 8; ++j) {
            const float x = q[i + j];
            l[j] = x < l[j] ? x : l[j];
            h[j] = x > h[j] ? x : h[j];
            const float m = std::fabs(x);
            b[j] = m > b[j] ? m : b[j];
        }
    }
    for (int j = 0; j < 8; ++j) {
        const int k = j % C;
        lo[k] = l[j] < lo[k] ? l[j] : lo[k];
        hi[k] = h[j] > hi[k] ? h[j] : hi[k];
        big[k] = b[j] > big[k] ? b[j] : big[k];
    }
}

void scanFrames(const float* q, int n, int c, float* lo, float* hi, float* big)
{
    const qint64 total = qint64(n) * c;
    qint64 i = 0;
    switch (c) {
    case 1: scanLanes<1>(q, total, i, lo, hi, big); break;
    case 2: scanLanes<2>(q, total, i, lo, hi, big); break;
    case 4: scanLanes<4>(q, total, i, lo, hi, big); break;
    case 8: scanLanes<8>(q, total, i, lo, hi, big); break;
    default: break;
    }
    for (; i < total; ++i) {
        const int k = int(i % c);
        const float x = q[i];
        lo[k] = x < lo[k] ? x : lo[k];
        hi[k] = x > hi[k] ? x : hi[k];
        const float m = std::fabs(x);
        big[k] = m > big[k] ? m : big[k];
    }
}

}  // namespace

FileOutput::FileOutput(const char* path, const Settings& settings, const QString& comment,
                       MTools::Handle<EBUInfo> metadata, bool)
    : m_metadata(metadata),
      m_envelope(new EBUEnvelope)
{
    m_envelope->setBlockSize(m_nBlockSize);
    setSettings(settings);
    m_info.setComment(comment);
    m_info.setUrl(QUrl::fromLocalFile(QFile::decodeName(path ? path : "")));
    m_accumulators.resize(size_t(settings.channels()));
}

FileOutput::~FileOutput()
{
    if (m_pFile)
        std::fclose(m_pFile);
}

MTools::Handle<EBUInfo> FileOutput::ebuInfo() const
{
    return m_metadata;
}

void FileOutput::accumulatePeaks(const float* data, int count)
{
    const int channels = int(m_accumulators.size());
    if (channels <= 0 || channels > kMaxChannels || count <= 0)
        return;
    const int frames = count / channels;
    if (frames == 0)
        return;
    // Every channel receives the same frames, so all of them stand at the same
    // place in their blocks.
    const qint64 countBefore = m_accumulators.front().count;
    float lo[kMaxChannels], hi[kMaxChannels], largest[kMaxChannels];
    for (int k = 0; k < channels; ++k) {
        lo[k] = m_accumulators[size_t(k)].min;
        hi[k] = m_accumulators[size_t(k)].max;
        largest[k] = 0.0f;
    }
    int inBlock = m_accumulators.front().inBlock;
    for (int f = 0; f < frames;) {
        const int n = std::min(frames - f, m_nBlockSize - inBlock);
        scanFrames(data + qint64(f) * channels, n, channels, lo, hi, largest);
        f += n;
        inBlock += n;
        if (inBlock == m_nBlockSize) {
            for (int k = 0; k < channels; ++k) {
                m_peaks.append(hi[k], lo[k], k);
                lo[k] = hi[k] = 0.0f;
            }
            inBlock = 0;
        }
    }
    for (int k = 0; k < channels; ++k) {
        Accumulator& a = m_accumulators[size_t(k)];
        a.min = lo[k];
        a.max = hi[k];
        a.inBlock = inBlock;
        a.count = countBefore + frames;
    }
    // The peak of peaks as if every channel were scanned in turn, sample after
    // sample: a channel takes it when its largest magnitude beats the one so
    // far, at the first sample of that magnitude.
    for (int k = 0; k < channels; ++k) {
        if (largest[k] > m_fPeakOfPeaks) {
            int i = 0;
            while (std::fabs(data[qint64(i) * channels + k]) != largest[k])
                ++i;
            m_fPeakOfPeaks = largest[k];
            // The position field is 32 bits wide in the file.
            m_envelope->setPosPeakOfPeaks(qint32(quint32(countBefore + i)));
        }
    }
}

void FileOutput::flushPeaks()
{
    for (size_t k = 0; k < m_accumulators.size(); ++k) {
        Accumulator& a = m_accumulators[k];
        m_peaks.append(a.max, a.min, int(k));
        a.max = a.min = 0.0f;
        a.inBlock = 0;
    }
}

}  // namespace QMMultiMedia
