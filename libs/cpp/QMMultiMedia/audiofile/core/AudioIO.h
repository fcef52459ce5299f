#pragma once

#include "Settings.h"

// The base of every audio stream object (file readers and writers, byte
// buffers): it holds the stream's Settings, 48000 Hz, 2 channels, format code
// 1 (Mu-Law) and 16 bits until changed.
namespace QMMultiMedia {

class AudioIO
{
public:
    AudioIO();
    virtual ~AudioIO();
    AudioIO(const AudioIO& other) = default;
    AudioIO& operator=(const AudioIO& other) = default;

    // The object's settings, by reference: callers read and change them here.
    virtual Settings& settings();
    const Settings& settings() const { return m_settings; }
    virtual void setSettings(const Settings& settings);
    virtual void dumpInfo();
    virtual const char* name() const;

private:
    Settings m_settings;
};

}  // namespace QMMultiMedia
