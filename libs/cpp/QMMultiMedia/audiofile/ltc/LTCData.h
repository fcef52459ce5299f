#pragma once

#include <QString>
#include <QtGlobal>

// One frame of linear timecode (SMPTE 12M): the audio frame its 80-bit word
// belongs to, hours, minutes, seconds, frames, the drop-frame flag and the
// four user-bit bytes. A frame is valid only when made from exactly 80 bits
// at an audio frame above 0; the invalid frame has every field 0 and the
// audio frame it was asked for (-1 when none).
namespace QMMultiMedia {

class LTCData
{
public:
    // The invalid frame at audio frame -1.
    LTCData();
    LTCData(bool valid, qint64 audioFrame, quint8 hour, quint8 min, quint8 sec, quint8 frame, bool drop,
            quint8 u1, quint8 u2, quint8 u3, quint8 u4);
    // From the bits of one word in transmission order, character i being bit
    // i ("0" or "1"); each field is read least significant bit first. The
    // drop flag (bit 10) is ignored at 24 and 25 fps.
    LTCData(qint64 audioFrame, const QString& bits, float fps);
    virtual ~LTCData();
    LTCData(const LTCData& other) = default;
    LTCData& operator=(const LTCData& other) = default;

    bool isValid() const { return m_bValid; }
    qint64 audioFrame() const { return m_nAudioFrame; }
    int hour() const { return m_nHour; }
    int min() const { return m_nMin; }
    int sec() const { return m_nSec; }
    int frame() const { return m_nFrame; }
    bool isDrop() const { return m_bDrop; }
    // u1 to u4 for positions 0 to 3, -1 for any other position.
    int userByte(int position) const;

    // "HH:MM:SS:FF" (";" for drop frame) of the time, or with userBits of the
    // four user bytes; "" for an invalid frame.
    QString timecodeText(float fps, bool userBits) const;
    void dumpInfo() const;

private:
    bool m_bValid = false;
    qint64 m_nAudioFrame = -1;
    quint8 m_nHour = 0;
    quint8 m_nMin = 0;
    quint8 m_nSec = 0;
    quint8 m_nFrame = 0;
    bool m_bDrop = false;
    quint8 m_nU1 = 0;
    quint8 m_nU2 = 0;
    quint8 m_nU3 = 0;
    quint8 m_nU4 = 0;
};

}  // namespace QMMultiMedia
