#pragma once

#include <QtGlobal>

namespace MGraphX {

// One box of the median cut: a range of the reducer's key list with its pixel
// count and the channel bounds of its keys (multiples of 8).
class Cube
{
public:
    virtual ~Cube() = default;

    int m_nLower = 0;     // first position in the key list
    int m_nUpper = -1;    // last position, inclusive
    qint64 m_nCount = 0;  // pixels whose key lies in the box
    int m_nLevel = 0;     // splits that produced the box
    int m_nRedMin = 255;
    int m_nRedMax = 0;
    int m_nGreenMin = 255;
    int m_nGreenMax = 0;
    int m_nBlueMin = 255;
    int m_nBlueMax = 0;
};

} // namespace MGraphX
