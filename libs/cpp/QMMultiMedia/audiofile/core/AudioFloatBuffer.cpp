#include "AudioFloatBuffer.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace QMMultiMedia {

namespace {

// Channels times frames in 64 bits; 0 when either is not positive or the
// product does not fit the 32-bit count.
qint32 floatCount(int frames, int channels)
{
    if (frames <= 0 || channels <= 0)
        return 0;
    const qint64 n = qint64(frames) * channels;
    return n > INT_MAX ? 0 : qint32(n);
}

qint32 toUpperInt16(float v)
{
    const double x = double(v) * 32768.0;
    qint32 t;
    if (x > 32767.0)
        t = 32767;
    else if (x < -32767.0)
        t = -32767;
    else if (x == x)
        t = qint32(x);
    else
        t = 0;  // NaN
    return t * 65536;
}

}  // namespace

AudioFloatBuffer::AudioFloatBuffer(int frames, int channels)
    : m_nChannels(channels),
      m_nFrames(frames),
      m_nSize(floatCount(frames, channels)),
      m_data(size_t(m_nSize))
{
}

AudioFloatBuffer::~AudioFloatBuffer() = default;

void AudioFloatBuffer::setFrames(int n)
{
    if (n == m_nFrames)
        return;
    const qint32 nSize = floatCount(n, m_nChannels);
    m_data.resize(size_t(nSize), 0.0f);
    m_nFrames = n;
    m_nSize = nSize;
}

void AudioFloatBuffer::reverse()
{
    if (m_nSize == 0)
        return;
    const int c = m_nChannels;
    for (int i = 0, j = m_nFrames - 1; i < j; ++i, --j)
        std::swap_ranges(m_data.begin() + qint64(i) * c, m_data.begin() + qint64(i + 1) * c,
                         m_data.begin() + qint64(j) * c);
}

void AudioFloatBuffer::shift(int n)
{
    if (n == 0 || m_nSize == 0)
        return;
    const qint64 magnitude = n < 0 ? -qint64(n) : qint64(n);
    if (magnitude >= m_nFrames) {
        std::fill(m_data.begin(), m_data.end(), 0.0f);
        return;
    }
    const qint64 moved = magnitude * m_nChannels;
    if (n > 0) {
        std::move(m_data.begin() + moved, m_data.end(), m_data.begin());
        std::fill(m_data.end() - moved, m_data.end(), 0.0f);
    } else {
        std::move_backward(m_data.begin(), m_data.end() - moved, m_data.end());
        std::fill(m_data.begin(), m_data.begin() + moved, 0.0f);
    }
}

void AudioFloatBuffer::copyFrames(const MTools::Handle<AudioFloatBuffer>& source, int a, int b, int count)
{
    const AudioFloatBuffer& src = *source;
    const qint64 srcFrames = src.m_nSize ? src.m_nFrames : 0;
    const qint64 dstFrames = m_nSize ? m_nFrames : 0;
    if (a < 0 || b < 0 || count <= 0)
        return;
    const qint64 n = std::min<qint64>({qint64(count), srcFrames - a, dstFrames - b});
    if (n <= 0)
        return;
    const int nc = src.m_nChannels;
    const int mc = m_nChannels;
    const float* pIn = src.m_data.data() + qint64(a) * nc;
    float* pOut = m_data.data() + qint64(b) * mc;
    if (nc == mc) {
        // The source may be this very buffer, with overlapping ranges.
        std::memmove(pOut, pIn, size_t(n * nc) * sizeof(float));
        return;
    }
    const int common = std::min(nc, mc);
    for (qint64 f = 0; f < n; ++f) {
        const float* pFrame = pIn + f * nc;
        float* pTarget = pOut + f * mc;
        std::copy_n(pFrame, common, pTarget);
        std::fill(pTarget + common, pTarget + mc, 0.0f);
    }
}

void AudioFloatBuffer::toInt16Frames(const float* source, qint32* target, int frames, int n, int m)
{
    if (frames <= 0 || n <= 0 || m <= 0)
        return;
    const int common = std::min(n, m);
    for (int f = 0; f < frames; ++f) {
        const float* pIn = source + qint64(f) * n;
        qint32* pOut = target + qint64(f) * m;
        for (int k = 0; k < common; ++k)
            pOut[k] = toUpperInt16(pIn[k]);
        for (int k = common; k < m; ++k)
            pOut[k] = 0;
    }
}

MTools::Handle<AudioFloatBuffer> AudioFloatBuffer::fromInt16Frames(const qint32* source, int frames, int n, int m)
{
    MTools::Handle<AudioFloatBuffer> result(new AudioFloatBuffer(frames, m));
    if (result->size() == 0 || n <= 0)
        return result;
    const int common = std::min(n, m);
    float* pData = result->data();
    for (int f = 0; f < frames; ++f) {
        const qint32* pIn = source + qint64(f) * n;
        float* pOut = pData + qint64(f) * m;
        for (int k = 0; k < common; ++k)
            pOut[k] = float(qint16(quint32(pIn[k]) >> 16)) / 32768.0f;
        for (int k = common; k < m; ++k)
            pOut[k] = 0.0f;
    }
    return result;
}

}  // namespace QMMultiMedia
