#pragma once

#include "AudioIO.h"

// The abstract input of the audio-file library: a stream of samples with
// Settings, read by the file inputs. It keeps the AudioIO defaults (48000 Hz,
// 2 channels, format code 1, 16 bits) until a reader sets its own.
namespace QMMultiMedia {

class BaseInput : public AudioIO
{
public:
    BaseInput();
    ~BaseInput() override;

    int sampleRate() const { return settings().sampleRate(); }
    int channels() const { return settings().channels(); }
    int bitsPerSample() const { return settings().bitsPerSample(); }

    // "Name = " and the name, then the Settings.
    void dumpInfo() override;
    const char* name() const override;
    // The SampleFormat code the samples are stored in; here the Settings'.
    virtual int sampleFormat() const;
};

}  // namespace QMMultiMedia
