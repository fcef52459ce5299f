#include "PackedTime.h"

namespace MTools {

namespace {

quint32 pack(int nHour, unsigned nMinute, unsigned nSecond)
{
    return (static_cast<unsigned>(nHour) & 31u) | (nMinute & 63u) << 5 | (nSecond & 63u) << 11;
}

}  // namespace

PackedTime::PackedTime(const QTime& time)
    : m_nValue(pack(time.hour(), static_cast<unsigned>(time.minute()), static_cast<unsigned>(time.second())))
{
}

PackedTime::PackedTime(const int& hour, const uchar& minute, const uchar& second)
    : m_nValue(pack(hour, minute, second))
{
}

quint16 PackedTime::asDosTime() const
{
    return static_cast<quint16>(hour() << 11 | minute() << 5 | second() / 2);
}

void setPackedTimeFromDos(PackedTime& time, const quint16& dos)
{
    time.m_nValue = pack(dos >> 11, (dos >> 5) & 63u, (dos & 31u) * 2);
}

}  // namespace MTools
