#include "FrameCount.h"

#include <QByteArray>
#include <QDebug>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace MTools {

namespace {

constexpr qint64 kUnset = std::numeric_limits<qint64>::min();

// The text other tools of the maker grep for; the path is part of it.
void reportError(int nLine)
{
    qDebug("unexpected ERROR in ..\\..\\..\\..\\libs\\cpp\\MTools\\FrameCount:%d", nLine);
}

// 30 fps video frame of film frame 0..23 at phases 1..4. The 0 of film frame
// 23 at phase 4 is frame 0 of the next second.
const qint8 kFilmToVideo[24][4] = {
    {0, 0, 1, 1},     {1, 2, 2, 2},     {3, 3, 3, 3},     {4, 4, 4, 5},     {5, 5, 6, 6},
    {6, 7, 7, 7},     {8, 8, 8, 8},     {9, 9, 9, 10},    {10, 10, 11, 11}, {11, 12, 12, 12},
    {13, 13, 13, 13}, {14, 14, 14, 15}, {15, 15, 16, 16}, {16, 17, 17, 17}, {18, 18, 18, 18},
    {19, 19, 19, 20}, {20, 20, 21, 21}, {21, 22, 22, 22}, {23, 23, 23, 23}, {24, 24, 24, 25},
    {25, 25, 26, 26}, {26, 27, 27, 27}, {28, 28, 28, 28}, {29, 29, 29, 0},
};

// Film field (two per film frame) of 30 fps video frame 0..29 at phases 1..4;
// -1 is the field before film frame 0.
const qint8 kVideoToFilm[30][4] = {
    {0, 0, -1, -1},   {2, 1, 0, 0},     {3, 2, 2, 2},     {4, 4, 4, 4},     {6, 6, 6, 5},
    {8, 8, 7, 6},     {10, 9, 8, 8},    {11, 10, 10, 10}, {12, 12, 12, 12}, {14, 14, 14, 13},
    {16, 16, 15, 14}, {18, 17, 16, 16}, {19, 18, 18, 18}, {20, 20, 20, 20}, {22, 22, 22, 21},
    {24, 24, 23, 22}, {26, 25, 24, 24}, {27, 26, 26, 26}, {28, 28, 28, 28}, {30, 30, 30, 29},
    {32, 32, 31, 30}, {34, 33, 32, 32}, {35, 34, 34, 34}, {36, 36, 36, 36}, {38, 38, 38, 37},
    {40, 40, 39, 38}, {42, 41, 40, 40}, {43, 42, 42, 42}, {44, 44, 44, 44}, {46, 46, 46, 45},
};

bool isDropRate(float fFps)
{
    const float fMagnitude = std::fabs(fFps);
    return fMagnitude == 29.97f || fMagnitude == 23.98f;
}

// The rate a value counts in: its magnitude, or 0 when it is not finite or
// below 1 fps (which would divide by zero or never end a day).
float effectiveRate(float fFps)
{
    if (!std::isfinite(fFps))
        return 0.0f;
    const float fMagnitude = std::fabs(fFps);
    return fMagnitude < 1.0f ? 0.0f : fMagnitude;
}

struct RateConstants
{
    qint64 nPerSecond;      // timecode frames per second
    bool bDrop;
    qint64 nFirstMinute;    // frames in the first minute of ten
    qint64 nTenMinutes;
    qint64 nLaterMinute;
    qint64 nDay;
};

// False when the rate counts as 0.
bool rateConstants(float fFps, RateConstants& rc)
{
    const float fRate = effectiveRate(fFps);
    if (fRate == 0.0f)
        return false;
    if (fRate == 29.97f) {
        rc = {30, true, 1800, 17982, 1798, 17982 * 144};
    } else if (fRate == 23.98f) {
        rc = {24, true, 1440, 14382, 1438, 14382 * 144};
    } else {
        // Rates beyond 2^31 fps count like 2^31 - 1: no 32-bit count fills a
        // second there, and the day stays within 64 bits.
        const qint64 nPerSecond = fRate >= 2147483647.0f ? 2147483647 : static_cast<qint64>(fRate);
        rc = {nPerSecond, false, 0, 0, 0, nPerSecond * 86400};
    }
    return true;
}

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The low 32 bits as a signed number.
qint64 signed32(quint64 nValue)
{
    const auto nLow = static_cast<quint32>(nValue);
    return nLow > 0x7FFFFFFFu ? static_cast<qint64>(nLow) - 0x100000000LL : static_cast<qint64>(nLow);
}

int bcd(quint32 nPacked, int nUnitsShift, quint32 nTensMask)
{
    return static_cast<int>(((nPacked >> nUnitsShift) & 0xFu) + ((nPacked >> (nUnitsShift + 4)) & nTensMask) * 10);
}

}  // namespace

FrameCount::FrameCount()
    : FrameCount(kUnset, 30.0f)
{
}

FrameCount::FrameCount(qint64 frames, float fps)
    : m_nFrames(frames)
    , m_bValid(true)
    , m_fFps(fps)
    , m_nSmpte(0)
    , m_bHasSmpte(false)
{
}

FrameCount::~FrameCount() = default;

FrameCount::FrameCount(const FrameCount& other)
    : m_nFrames(other.m_bValid ? other.m_nFrames : kUnset)
    , m_bValid(other.m_bValid)
    , m_fFps(other.m_fFps)
    , m_nSmpte(other.m_bHasSmpte ? other.m_nSmpte : 0)
    , m_bHasSmpte(other.m_bHasSmpte)
{
}

FrameCount& FrameCount::operator=(const FrameCount& other)
{
    if (&other != this) {
        m_nFrames = other.m_bValid ? other.m_nFrames : kUnset;
        m_bValid = other.m_bValid;
        m_fFps = other.m_fFps;
        m_nSmpte = other.m_bHasSmpte ? other.m_nSmpte : 0;
        m_bHasSmpte = other.m_bHasSmpte;
    }
    return *this;
}

void FrameCount::setFrameCount(qint64 frames)
{
    m_nFrames = frames;
    m_bValid = true;
    m_nSmpte = 0;
    m_bHasSmpte = false;
}

void FrameCount::clear()
{
    m_nFrames = kUnset;
    m_fFps = 30.0f;
    m_bValid = false;
}

qint64 FrameCount::frameCount() const
{
    if (!m_bValid) {
        reportError(__LINE__);
        return -1;
    }
    return m_nFrames;
}

bool FrameCount::operator==(const FrameCount& other) const
{
    return m_nFrames == other.m_nFrames && m_fFps == other.m_fFps && m_bValid == other.m_bValid;
}

bool FrameCount::operator>(const FrameCount& other) const
{
    if (!m_bValid || !other.m_bValid) {
        reportError(__LINE__);
        return false;
    }
    return m_nFrames > other.m_nFrames;
}

bool FrameCount::operator<(const FrameCount& other) const
{
    if (!m_bValid || !other.m_bValid) {
        reportError(__LINE__);
        return false;
    }
    return m_nFrames < other.m_nFrames;
}

void FrameCount::timecodeFromFrameCount(int& hours, int& minutes, int& seconds, int& frames, bool wholeDay,
                                        int frameOffset, bool pulldown, int phase) const
{
    hours = minutes = seconds = frames = 0;
    if (!m_bValid) {
        reportError(__LINE__);
        return;
    }
    RateConstants rc;
    if (!rateConstants(m_fFps, rc))
        return;

    // A day is added to negative counts and taken from longer ones; with
    // wholeDay exactly one day stays (24:00:00:00).
    qint64 nCount = signed32(static_cast<quint64>(m_nFrames));
    if (nCount < 0)
        nCount = (nCount % rc.nDay + rc.nDay) % rc.nDay;
    if (!wholeDay)
        nCount %= rc.nDay;
    else if (nCount > rc.nDay)
        nCount = nCount % rc.nDay == 0 ? rc.nDay : nCount % rc.nDay;

    if (rc.bDrop) {
        // Two frame numbers are skipped at the start of every minute but
        // every tenth.
        const qint64 nBlock = nCount / rc.nTenMinutes;
        const qint64 nRest = nCount % rc.nTenMinutes;
        qint64 nMinute = 10 * nBlock;
        if (nRest >= rc.nFirstMinute)
            nMinute += 1 + (nRest - rc.nFirstMinute) / rc.nLaterMinute;
        nCount += 2 * (nMinute - nMinute / 10);
    }

    const qint64 nSeconds = nCount / rc.nPerSecond;
    frames = static_cast<int>(nCount % rc.nPerSecond);
    seconds = static_cast<int>(nSeconds % 60);
    minutes = static_cast<int>(nSeconds / 60 % 60);
    hours = static_cast<int>(nSeconds / 3600);

    if (!pulldown)
        return;
    if (phase < 1 || phase > 4) {
        qDebug("FrameCount::timecodeFromFrameCount wrong pulldown phase value: %d", phase);
        return;
    }
    if (frames > 23) {
        // Film frames past 23 (rates above 24) have no video frame.
        qDebug("FrameCount::timecodeFromFrameCount film frame outside the pulldown table: %d", frames);
        return;
    }
    qint64 nVideo = (frames == 23 && phase == 4) ? 30 : kFilmToVideo[frames][phase - 1];
    nVideo += frameOffset;
    qint64 nCarry = floorDiv(nVideo, 30);
    frames = static_cast<int>(nVideo - 30 * nCarry);
    if (nCarry == 0)
        return;
    // Carry into (or borrow from) the seconds, minutes and hours.
    const qint64 nNewSeconds = seconds + nCarry;
    nCarry = floorDiv(nNewSeconds, 60);
    seconds = static_cast<int>(nNewSeconds - 60 * nCarry);
    const qint64 nNewMinutes = minutes + nCarry;
    nCarry = floorDiv(nNewMinutes, 60);
    minutes = static_cast<int>(nNewMinutes - 60 * nCarry);
    if (nCarry != 0) {
        const qint64 nNewHours = hours + nCarry;
        hours = static_cast<int>(nNewHours - 24 * floorDiv(nNewHours, 24));
    }
}

qint64 FrameCount::frameCountFromTimecode(int hours, int minutes, int seconds, int frames, bool pulldown,
                                          int phase, int* field) const
{
    RateConstants rc;
    if (!rateConstants(m_fFps, rc))
        return kUnset;

    // Summed modulo 2^64 and read in its low 32 bits, as the count wraps.
    quint64 nSum = 0;
    if (!pulldown) {
        const auto n = static_cast<quint64>(rc.nPerSecond);
        nSum = static_cast<quint64>(static_cast<qint64>(frames)) + static_cast<quint64>(static_cast<qint64>(seconds)) * n
               + static_cast<quint64>(static_cast<qint64>(minutes)) * 60 * n
               + static_cast<quint64>(static_cast<qint64>(hours)) * 3600 * n;
    } else {
        if (frames < 0 || frames > 29 || phase < 1 || phase > 4) {
            qDebug("FrameCount::frameCountFromTimecode video frame %d or phase %d outside the pulldown table", frames,
                   phase);
            return kUnset;
        }
        const int nFields = kVideoToFilm[frames][phase - 1];
        if (field)
            *field = nFields % 2;
        nSum = static_cast<quint64>(static_cast<qint64>(nFields / 2))
               + static_cast<quint64>(static_cast<qint64>(seconds)) * 24
               + static_cast<quint64>(static_cast<qint64>(minutes)) * 1440
               + static_cast<quint64>(static_cast<qint64>(hours)) * 86400;
    }
    if (rc.bDrop) {
        const qint64 nMinutes = static_cast<qint64>(hours) * 60 + minutes;
        nSum -= static_cast<quint64>(2 * (nMinutes - nMinutes / 10));
    }
    return signed32(nSum);
}

void FrameCount::setFromTimecode(int hours, int minutes, int seconds, int frames, float fps, bool pulldown,
                                 int phase, int* field)
{
    m_nSmpte = 0;
    m_bHasSmpte = false;
    m_fFps = fps;
    m_nFrames = frameCountFromTimecode(hours, minutes, seconds, frames, pulldown, phase, field);
    m_bValid = true;
}

void FrameCount::setFromSmpte(quint32 packed, float fps, bool pulldown, int phase, int* field)
{
    m_bValid = true;
    const bool bDropFlag = (packed & 0x40u) != 0;
    if (fps != 23.98f && fps != 24.0f && fps != 25.0f && fps != 29.97f && fps != 30.0f)
        m_fFps = 30.0f;
    else if (fps == 23.98f && !bDropFlag)
        m_fFps = 24.0f;
    else if (fps == 29.97f && !bDropFlag)
        m_fFps = 30.0f;
    else
        m_fFps = fps;
    m_nSmpte = packed;
    m_bHasSmpte = true;
    m_nFrames = frameCountFromTimecode(bcd(packed, 24, 0x3u), bcd(packed, 16, 0x7u), bcd(packed, 8, 0x7u),
                                       bcd(packed, 0, 0x3u), pulldown, phase, field);
}

void FrameCount::setFromSmpte(float fps, quint32 packed, bool pulldown, int phase, int* field)
{
    setFromSmpte(packed, fps, pulldown, phase, field);
}

qint64 FrameCount::frameCountFromString(const QString& text, bool pulldown, int phase) const
{
    if (text.size() != 11)
        return kUnset;
    const auto field = [&text](int nAt) { return std::atoi(text.mid(nAt, 2).toLatin1().constData()); };
    return frameCountFromTimecode(field(0), field(3), field(6), field(9), pulldown, phase, nullptr);
}

quint32 FrameCount::smpteTimecode()
{
    if (m_bHasSmpte)
        return m_nSmpte;
    if (!m_bValid) {
        qDebug("FrameCount::smpteTimecode() wille framecount is unkonwn");
        return 0;
    }
    computeSmpte();
    return m_nSmpte;
}

void FrameCount::computeSmpte()
{
    int nHours, nMinutes, nSeconds, nFrames;
    timecodeFromFrameCount(nHours, nMinutes, nSeconds, nFrames);
    const QString text = QString::asprintf("%02d:%02d:%02d:%02d", nHours, nMinutes, nSeconds, nFrames);
    const auto digit = [&text](int nAt) { return static_cast<quint32>(text.at(nAt).unicode() & 0xFu); };
    quint32 nPacked = digit(0) << 28 | digit(1) << 24 | digit(3) << 20 | digit(4) << 16 | digit(6) << 12
                      | digit(7) << 8 | digit(9) << 4 | digit(10);
    // Without the drop-frame bit a drop-frame word would read back at 24 or
    // 30 fps, with another count.
    if (isDropRate(m_fFps))
        nPacked |= 0x40u;
    m_nSmpte = nPacked;
    m_bHasSmpte = true;
}

qint64 FrameCount::frameCountAtRate(float rate)
{
    if (!m_bValid) {
        reportError(__LINE__);
        return kUnset;
    }
    m_fFps = std::fabs(m_fFps);
    if (effectiveRate(m_fFps) == 0.0f)
        return kUnset;
    // In double: a float product would be exact only below 2^24 frames.
    const double fScaled = static_cast<double>(m_nFrames) * effectiveRate(rate) / m_fFps + 0.5;
    if (!(fScaled >= -9223372036854775808.0 && fScaled < 9223372036854775808.0))
        return kUnset;
    return static_cast<qint64>(fScaled);
}

void FrameCount::setFrameRate(float rate)
{
    m_nFrames = frameCountAtRate(rate);
    m_bValid = true;
    m_fFps = rate;
    m_nSmpte = 0;
    m_bHasSmpte = false;
}

QString FrameCount::formatTimecode(int hours, int minutes, int seconds, int frames, bool dropFrame) const
{
    return MTools::formatTimecode(hours, minutes, seconds, frames, dropFrame, m_fFps, false);
}

QString FrameCount::toTimecodeString(bool wholeDay, bool pulldown, int phase, bool rateMark) const
{
    if (effectiveRate(m_fFps) == 0.0f)
        return QString();
    int nHours, nMinutes, nSeconds, nFrames;
    timecodeFromFrameCount(nHours, nMinutes, nSeconds, nFrames, wholeDay, 0, pulldown, phase);
    return MTools::formatTimecode(nHours, nMinutes, nSeconds, nFrames, isDropRate(m_fFps), m_fFps, rateMark);
}

void FrameCount::printDebug() const
{
    if (m_bValid)
        qDebug("frame = %lld", static_cast<long long>(m_nFrames));
}

}  // namespace MTools
