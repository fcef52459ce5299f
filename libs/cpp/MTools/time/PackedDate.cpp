#include "PackedDate.h"

namespace MTools {

PackedDate::PackedDate(const QDate& date)
    : PackedDate(date.year(), static_cast<uchar>(date.month()), date.day())
{
}

PackedDate::PackedDate(const int& year, const uchar& month, const int& day)
    : m_nValue(static_cast<quint16>((static_cast<unsigned>(year - 1970) & 127u) << 9
                                    | (month & 15u) << 5 | (static_cast<unsigned>(day) & 31u)))
{
}

void setPackedDate(PackedDate& date, const quint16& value)
{
    date.m_nValue = value;
}

}  // namespace MTools
