#pragma once

#include "Handle.h"

#include <QtGlobal>

#include <vector>

// Audio in memory: interleaved 32-bit float samples, frame after frame and
// channel after channel inside a frame, full scale at -1.0 and 1.0. The buffer
// holds exactly size() = channels times frames floats; when either count is
// not positive, or their product does not fit a 32-bit count, it holds none.
namespace QMMultiMedia {

class AudioFloatBuffer
{
public:
    AudioFloatBuffer(int frames, int channels);
    virtual ~AudioFloatBuffer();
    AudioFloatBuffer(const AudioFloatBuffer& other) = default;
    AudioFloatBuffer& operator=(const AudioFloatBuffer& other) = default;

    int channels() const { return m_nChannels; }
    int frames() const { return m_nFrames; }
    int size() const { return m_nSize; }
    float* data() { return m_data.data(); }
    const float* data() const { return m_data.data(); }

    // Resizes to n frames: the samples from the start that fit are kept, new
    // frames are 0.
    void setFrames(int n);
    void reverse();
    // n > 0 moves the frames n places towards the start, n < 0 towards the
    // end; the frames left behind become 0.
    void shift(int n);
    // Copies count frames of the source from its frame a to this buffer's
    // frame b; with fewer source channels the remaining target channels become
    // 0, with more the extra ones are left out. Frames outside either buffer
    // are not copied.
    void copyFrames(const MTools::Handle<AudioFloatBuffer>& source, int a, int b, int count);

    // Floats to 16-bit samples held in the upper half of 32-bit words,
    // clipped to -32767..32767, from n source channels to m target channels.
    static void toInt16Frames(const float* source, qint32* target, int frames, int n, int m);
    // The reverse: each word's signed upper half divided by 32768.
    static MTools::Handle<AudioFloatBuffer> fromInt16Frames(const qint32* source, int frames, int n, int m);

private:
    qint32 m_nChannels;
    qint32 m_nFrames;
    qint32 m_nSize;
    std::vector<float> m_data;
};

}  // namespace QMMultiMedia
