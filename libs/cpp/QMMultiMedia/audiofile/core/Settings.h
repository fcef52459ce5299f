#pragma once

#include <QtGlobal>

// The format of a sample stream: rate, interleaved channels, how each sample
// is stored (a SampleFormat code) and its width in bits. A plain value; the
// fields keep the widths of the stored record (the rate 32 bits, the others
// 16), so a setter keeps only the low bits it has room for.
namespace QMMultiMedia {

// Sample-format codes. They are single bits (Query aside) but a Settings holds
// exactly one. LittleEndianSigned covers 16- and 32-bit samples; the bits per
// sample tell which.
enum SampleFormat {
    Query = 0,
    MuLaw = 1,
    ALaw = 2,
    ImaAdpcm = 4,
    Unsigned8 = 8,
    LittleEndianSigned = 16,
    BigEndianSigned = 32,
    Signed8 = 64,
    LittleEndianUnsigned = 128,
    BigEndianUnsigned = 256,
    Mpeg = 512,
    Ac3 = 1024,
    Signed24Normal = 2048,
    Signed24Swapped = 4096
};

// The display text of a code ("Mu-Law", ...); "Unknown" for any other value.
const char* sampleFormatText(int format);

class Settings
{
public:
    Settings(int sampleRate, int channels, int format, int bitsPerSample);
    virtual ~Settings();
    Settings(const Settings& other) = default;
    Settings& operator=(const Settings& other) = default;

    int sampleRate() const { return m_nSampleRate; }
    int channels() const { return m_nChannels; }
    int format() const { return m_nFormat; }
    int bitsPerSample() const { return m_nBitsPerSample; }

    void setSampleRate(int sampleRate) { m_nSampleRate = sampleRate; }
    void setChannels(int channels) { m_nChannels = quint16(channels); }
    void setFormat(int format) { m_nFormat = quint16(format); }
    void setBitsPerSample(int bits) { m_nBitsPerSample = quint16(bits); }

    bool operator==(const Settings& other) const;
    bool operator!=(const Settings& other) const { return !(*this == other); }

    void dumpInfo() const;

private:
    qint32 m_nSampleRate;
    quint16 m_nChannels;
    quint16 m_nFormat;
    quint16 m_nBitsPerSample;
};

}  // namespace QMMultiMedia
