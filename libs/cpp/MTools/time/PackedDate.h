#pragma once

#include <QDate>
#include <QtGlobal>

namespace MTools {

// A date in 16 bits: day in bits 0-4, month in bits 5-8, year - 1970 in bits
// 9-15 (1970..2097; other years wrap modulo 128). Each field is cut to its
// width, nothing is checked.
class PackedDate
{
public:
    explicit PackedDate(const QDate& date);
    PackedDate(const int& year, const uchar& month, const int& day);

    quint16 toUInt16() const { return m_nValue; }
    int day() const { return m_nValue & 31; }
    int month() const { return (m_nValue >> 5) & 15; }
    int year() const { return (m_nValue >> 9) + 1970; }

private:
    friend void setPackedDate(PackedDate& date, const quint16& value);

    quint16 m_nValue;
};

// The three fields from a 16-bit value in the same layout.
void setPackedDate(PackedDate& date, const quint16& value);

}  // namespace MTools
