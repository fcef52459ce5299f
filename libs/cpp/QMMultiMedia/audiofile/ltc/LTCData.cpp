#include "LTCData.h"

#include "Timecode.h"

#include <QDebug>

namespace QMMultiMedia {

namespace {

constexpr int kWordBits = 80;

// The value of count bits from first on, least significant bit first.
int bitGroup(const QString& bits, int first, int count)
{
    int value = 0;
    for (int i = 0; i < count; ++i)
        if (bits.at(first + i) == QLatin1Char('1'))
            value |= 1 << i;
    return value;
}

}  // namespace

LTCData::LTCData() = default;

LTCData::LTCData(bool valid, qint64 audioFrame, quint8 hour, quint8 min, quint8 sec, quint8 frame, bool drop,
                 quint8 u1, quint8 u2, quint8 u3, quint8 u4)
    : m_bValid(valid),
      m_nAudioFrame(audioFrame),
      m_nHour(hour),
      m_nMin(min),
      m_nSec(sec),
      m_nFrame(frame),
      m_bDrop(drop),
      m_nU1(u1),
      m_nU2(u2),
      m_nU3(u3),
      m_nU4(u4)
{
}

LTCData::LTCData(qint64 audioFrame, const QString& bits, float fps)
    : m_nAudioFrame(audioFrame)
{
    if (bits.size() != kWordBits || audioFrame <= 0)
        return;
    m_bValid = true;
    m_nFrame = quint8(bitGroup(bits, 0, 4) + 10 * bitGroup(bits, 8, 2));
    m_bDrop = bits.at(10) == QLatin1Char('1') && fps != 24.0f && fps != 25.0f;
    m_nSec = quint8(bitGroup(bits, 16, 4) + 10 * bitGroup(bits, 24, 3));
    m_nMin = quint8(bitGroup(bits, 32, 4) + 10 * bitGroup(bits, 40, 3));
    m_nHour = quint8(bitGroup(bits, 48, 4) + 10 * bitGroup(bits, 56, 2));
    m_nU1 = quint8(bitGroup(bits, 4, 4) | (bitGroup(bits, 12, 4) << 4));
    m_nU2 = quint8(bitGroup(bits, 20, 4) | (bitGroup(bits, 28, 4) << 4));
    m_nU3 = quint8(bitGroup(bits, 36, 4) | (bitGroup(bits, 44, 4) << 4));
    m_nU4 = quint8(bitGroup(bits, 52, 4) | (bitGroup(bits, 60, 4) << 4));
}

LTCData::~LTCData() = default;

int LTCData::userByte(int position) const
{
    switch (position) {
    case 0: return m_nU1;
    case 1: return m_nU2;
    case 2: return m_nU3;
    case 3: return m_nU4;
    default: return -1;
    }
}

QString LTCData::timecodeText(float fps, bool userBits) const
{
    if (!m_bValid)
        return QString();
    if (userBits)
        return MTools::formatTimecode(m_nU1, m_nU2, m_nU3, m_nU4, m_bDrop, fps, false);
    return MTools::formatTimecode(m_nHour, m_nMin, m_nSec, m_nFrame, m_bDrop, fps, false);
}

void LTCData::dumpInfo() const
{
    // quint8 would print as a character.
    qDebug().nospace() << "LTC: AudioFrame=" << m_nAudioFrame << "; hour=" << int(m_nHour) << "; min=" << int(m_nMin)
                       << "; sec=" << int(m_nSec) << "; frame=" << int(m_nFrame) << "; u1=" << int(m_nU1)
                       << "; u2=" << int(m_nU2) << "; u3=" << int(m_nU3) << "; u4=" << int(m_nU4)
                       << "; drop=" << (m_bDrop ? "true" : "false") << "; valid=" << (m_bValid ? "true" : "false");
}

}  // namespace QMMultiMedia
