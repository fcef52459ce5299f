#include "TriBool.h"

TriBool::TriBool(int value)
    : m_nValue(value)
{
}

TriBool::TriBool(bool value)
    : m_nValue(value ? 1 : 0)
{
}

TriBool::TriBool(const TriBool& other) = default;

TriBool& TriBool::operator=(const TriBool& other) = default;

TriBool& TriBool::operator=(bool value)
{
    m_nValue = value ? 1 : 0;
    return *this;
}

bool TriBool::operator==(const TriBool& other) const
{
    return m_nValue == other.m_nValue;
}

bool TriBool::operator!=(const TriBool& other) const
{
    return !(*this == other);
}

bool TriBool::toBool(bool* ok) const
{
    if (m_nValue == kUnset) {
        if (ok)
            *ok = false;
        return false;
    }
    return m_nValue == 1;
}
