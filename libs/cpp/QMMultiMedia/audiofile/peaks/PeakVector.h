#pragma once

#include <QPair>
#include <QVector>

// The waveform overview of one file: per channel a list of peaks, each the
// (maximum, minimum) pair of a block of float samples. Channels may differ in
// length; the vector's number of peaks is that of its longest channel.
//
// Preconditions named below are checked in every build: a violation is a
// programming error and aborts with the condition's text. The read-only
// lookup never fails: a peak that does not exist reads as (0, 0).
namespace QMMultiMedia {

using Peak = QPair<float, float>;
using PeakArray = QVector<Peak>;

class PeakVector
{
public:
    PeakVector();
    // "nChannels>=0"
    explicit PeakVector(int nChannels);
    // Every channel holds nPeaks (0, 0) peaks.
    PeakVector(int nPeaks, int nChannels);
    virtual ~PeakVector();
    PeakVector(const PeakVector& other);
    PeakVector& operator=(const PeakVector& other);

    int numberOfChannels() const;
    int numberOfPeaks() const;
    bool isEmpty() const;

    // "ch>=0", "ch < _vectorVector.size()"
    PeakArray& channel(int ch);
    // The peak at x of channel ch, or (0, 0) when there is none (negative
    // indices included); never changes the vector.
    const Peak& peak(int x, int ch) const;
    // "x>=0", "ch>=0", "ch<32". Grows the vector until the peak exists:
    // channels are added empty, then channel ch is lengthened with (0, 0).
    Peak& peakRef(int x, int ch);
    // "ch>=0" for these three; missing channels are added empty.
    void append(float first, float second, int ch);
    void setChannel(const PeakArray& peaks, int ch);
    // "pos>=0", "n>=0": a channel shorter than pos is first lengthened to pos
    // with (0, 0); then n copies go before the peak at pos.
    void insert(float first, float second, int ch, int pos, int n);
    // n > 0 drops the first n peaks of every channel and appends n (0, 0)
    // peaks; n < 0 the reverse; lengths stay.
    void shift(int n);
    void clear();

    void dumpInfo() const;

private:
    void ensureChannel(int ch);

    QVector<PeakArray> _vectorVector;
    Peak m_zeroPeak;
};

}  // namespace QMMultiMedia
