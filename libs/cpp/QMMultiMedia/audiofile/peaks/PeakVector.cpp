#include "PeakVector.h"

#include <QDebug>

#include <algorithm>
#include <climits>
#include <new>

// Always on, unlike Q_ASSERT: an index that slips through would write out of
// bounds in a release build.
#define QMM_REQUIRE(condition, text) \
    do { \
        if (!(condition)) \
            qt_assert(text, __FILE__, __LINE__); \
    } while (false)

namespace QMMultiMedia {

PeakVector::PeakVector()
    : m_zeroPeak(0.0f, 0.0f)
{
}

PeakVector::PeakVector(int nChannels)
    : m_zeroPeak(0.0f, 0.0f)
{
    QMM_REQUIRE(nChannels >= 0, "nChannels>=0");
    _vectorVector.resize(nChannels);
}

PeakVector::PeakVector(int nPeaks, int nChannels)
    : m_zeroPeak(0.0f, 0.0f)
{
    QMM_REQUIRE(nChannels >= 0, "nChannels>=0");
    _vectorVector.fill(PeakArray(std::max(nPeaks, 0), Peak(0.0f, 0.0f)), nChannels);
}

PeakVector::~PeakVector() = default;

PeakVector::PeakVector(const PeakVector& other)
    : _vectorVector(other._vectorVector),
      m_zeroPeak(0.0f, 0.0f)
{
}

PeakVector& PeakVector::operator=(const PeakVector& other)
{
    _vectorVector = other._vectorVector;
    return *this;
}

int PeakVector::numberOfChannels() const
{
    return _vectorVector.size();
}

int PeakVector::numberOfPeaks() const
{
    int n = 0;
    for (const PeakArray& peaks : _vectorVector)
        n = std::max(n, peaks.size());
    return n;
}

bool PeakVector::isEmpty() const
{
    return _vectorVector.isEmpty();
}

PeakArray& PeakVector::channel(int ch)
{
    QMM_REQUIRE(ch >= 0, "ch>=0");
    QMM_REQUIRE(ch < _vectorVector.size(), "ch < _vectorVector.size()");
    return _vectorVector[ch];
}

const Peak& PeakVector::peak(int x, int ch) const
{
    if (ch < 0 || x < 0 || ch >= _vectorVector.size())
        return m_zeroPeak;
    const PeakArray& peaks = _vectorVector.at(ch);
    return x < peaks.size() ? peaks.at(x) : m_zeroPeak;
}

Peak& PeakVector::peakRef(int x, int ch)
{
    QMM_REQUIRE(x >= 0, "x>=0");
    QMM_REQUIRE(ch >= 0, "ch>=0");
    QMM_REQUIRE(ch < 32, "ch<32");
    ensureChannel(ch);
    PeakArray& peaks = _vectorVector[ch];
    if (x >= peaks.size()) {
        if (x == INT_MAX)
            throw std::bad_alloc();  // one more peak than an array can count
        peaks.resize(x + 1);  // QPair<float, float>() is (0, 0)
    }
    return peaks[x];
}

void PeakVector::append(float first, float second, int ch)
{
    QMM_REQUIRE(ch >= 0, "ch>=0");
    ensureChannel(ch);
    PeakArray& peaks = _vectorVector[ch];
    // A writer appends a pair per block for as long as it records: large
    // steps copy less, and every copy lands on pages never touched before.
    if (peaks.size() == peaks.capacity() && peaks.size() >= 4096 && peaks.size() <= INT_MAX / 4)
        peaks.reserve(peaks.size() * 4);
    peaks.append(Peak(first, second));
}

void PeakVector::setChannel(const PeakArray& peaks, int ch)
{
    QMM_REQUIRE(ch >= 0, "ch>=0");
    ensureChannel(ch);
    _vectorVector[ch] = peaks;
}

void PeakVector::insert(float first, float second, int ch, int pos, int n)
{
    QMM_REQUIRE(ch >= 0, "ch>=0");
    QMM_REQUIRE(pos >= 0, "pos>=0");
    QMM_REQUIRE(n >= 0, "n>=0");
    ensureChannel(ch);
    PeakArray& peaks = _vectorVector[ch];
    if (peaks.size() < pos)
        peaks.resize(pos);
    peaks.insert(pos, n, Peak(first, second));
}

void PeakVector::shift(int n)
{
    if (n == 0)
        return;
    const qint64 magnitude = n < 0 ? -qint64(n) : qint64(n);
    for (PeakArray& peaks : _vectorVector) {
        const int length = peaks.size();
        if (magnitude >= length) {
            peaks.fill(Peak(0.0f, 0.0f));
            continue;
        }
        const int m = int(magnitude);
        if (n > 0) {
            std::move(peaks.begin() + m, peaks.end(), peaks.begin());
            std::fill(peaks.end() - m, peaks.end(), Peak(0.0f, 0.0f));
        } else {
            std::move_backward(peaks.begin(), peaks.end() - m, peaks.end());
            std::fill(peaks.begin(), peaks.begin() + m, Peak(0.0f, 0.0f));
        }
    }
}

void PeakVector::clear()
{
    _vectorVector.clear();
}

void PeakVector::dumpInfo() const
{
    qDebug() << "---- PeakVector Info Begin -----";
    qDebug() << "Number of peaks = " << numberOfPeaks();
    qDebug() << "Number of channels = " << numberOfChannels();
    qDebug() << "---- PeakVector Info End-----";
}

void PeakVector::ensureChannel(int ch)
{
    if (ch >= _vectorVector.size())
        _vectorVector.resize(ch + 1);
}

}  // namespace QMMultiMedia
