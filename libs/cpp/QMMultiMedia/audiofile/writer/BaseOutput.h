#pragma once

#include "AudioFloatBuffer.h"
#include "AudioIO.h"
#include "Handle.h"
#include "RawBuffer.h"

// The base of every audio output: raw bytes and interleaved float samples in,
// an integer tag for the caller's bookkeeping (-1 until set).
namespace QMMultiMedia {

class BaseOutput : public AudioIO
{
public:
    BaseOutput();
    ~BaseOutput() override;

    // True when all count bytes were written.
    virtual bool writeBytes(const char* data, int count) = 0;
    // count interleaved samples, all channels together.
    virtual bool write(const float* data, int count) = 0;
    // The first frames frames of the buffer; a count past the buffer's
    // content (or below 0) writes nothing and answers false.
    virtual bool writeBuffer(const MTools::Handle<AudioFloatBuffer>& buffer, int frames);
    // The first count bytes of the buffer, under the same rule.
    virtual bool writeRawBuffer(const MTools::Handle<RawBuffer>& buffer, int count);
    virtual bool setOutputId(int id);
    virtual int outputId() const;
    // Writes the debug line "Test".
    virtual bool test();

private:
    int m_nOutputId = -1;
};

}  // namespace QMMultiMedia
