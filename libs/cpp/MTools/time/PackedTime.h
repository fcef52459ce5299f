#pragma once

#include <QTime>
#include <QtGlobal>

namespace MTools {

// A time of day in 17 bits of a word: hour in bits 0-4, minute in bits
// 5-10, second in bits 11-16, each cut to its width. Converts to and from
// the DOS (FAT) file time, which keeps seconds in steps of two.
class PackedTime
{
public:
    explicit PackedTime(const QTime& time);
    PackedTime(const int& hour, const uchar& minute, const uchar& second);

    // hour << 11 | minute << 5 | second / 2
    quint16 asDosTime() const;
    int hour() const { return static_cast<int>(m_nValue & 31u); }
    int minute() const { return static_cast<int>((m_nValue >> 5) & 63u); }
    int second() const { return static_cast<int>((m_nValue >> 11) & 63u); }

private:
    friend void setPackedTimeFromDos(PackedTime& time, const quint16& dos);

    quint32 m_nValue;
};

// Hour, minute and second (twice the stored two-second count) of a DOS time.
void setPackedTimeFromDos(PackedTime& time, const quint16& dos);

}  // namespace MTools
