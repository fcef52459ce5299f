#include "Settings.h"

#include <QDebug>

namespace QMMultiMedia {

const char* sampleFormatText(int format)
{
    switch (format) {
    case Query: return "Query";
    case MuLaw: return "Mu-Law";
    case ALaw: return "A-Law";
    case ImaAdpcm: return "Ima ADPCM";
    case Unsigned8: return "Unsigned 8";
    case LittleEndianSigned: return "Little endian signed 16 or 32";
    case BigEndianSigned: return "Big endian signed 16 or 32";
    case Signed8: return "Signed 8";
    case LittleEndianUnsigned: return "Little endian unsigned 16 or 32";
    case BigEndianUnsigned: return "Big endian unsigned 16 or 32";
    case Mpeg: return "MPEG";
    case Ac3: return "AC3";
    case Signed24Normal: return "Signed 24 Normal";
    case Signed24Swapped: return "Signed 24 Swapped";
    default: return "Unknown";
    }
}

Settings::Settings(int sampleRate, int channels, int format, int bitsPerSample)
    : m_nSampleRate(sampleRate),
      m_nChannels(quint16(channels)),
      m_nFormat(quint16(format)),
      m_nBitsPerSample(quint16(bitsPerSample))
{
}

Settings::~Settings() = default;

bool Settings::operator==(const Settings& other) const
{
    return m_nSampleRate == other.m_nSampleRate && m_nChannels == other.m_nChannels
        && m_nFormat == other.m_nFormat && m_nBitsPerSample == other.m_nBitsPerSample;
}

void Settings::dumpInfo() const
{
    qDebug() << "---- Settings Info Begin -----";
    qDebug() << "Channels = " << channels();
    qDebug() << "Bits Per Sample = " << bitsPerSample();
    qDebug() << "Sample Rate = " << quint32(m_nSampleRate);
    qDebug() << "Format = " << format() << " (" << sampleFormatText(format()) << ")";
    qDebug() << "---- Settings Info End-----";
}

}  // namespace QMMultiMedia
