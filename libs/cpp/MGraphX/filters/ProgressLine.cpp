#include "ProgressLine.h"

#include <algorithm>

namespace MGraphX {

namespace {
constexpr int kFull = 100;
}

ProgressLine::ProgressLine(const int& nFirst, const int& nSecond, const int& nThird,
                           const int& nFourth, const int& nFifth)
    : m_nValues{nFirst, nSecond, nThird, nFourth, nFifth}
{
}

void ProgressLine::setProgress(const int& nValue)
{
    if (nValue < 0)
        return;
    m_nProgress = std::min(std::max(m_nProgress, nValue), kFull);
}

void ProgressLine::addProgress(const int& nStep)
{
    if (nStep < 0)
        return;
    // Compared against the room left, so a huge step cannot overflow.
    m_nProgress = nStep >= kFull - m_nProgress ? kFull : m_nProgress + nStep;
}

} // namespace MGraphX
