#pragma once

namespace MGraphX {

// A progress value from 0 to 100 that only grows. The five construction
// values are kept for derived classes; the class itself does not read them.
class ProgressLine
{
public:
    ProgressLine(const int& nFirst, const int& nSecond, const int& nThird, const int& nFourth,
                 const int& nFifth);
    virtual ~ProgressLine() = default;

    int progress() const { return m_nProgress; }
    // Negative values are ignored; otherwise the larger of the two, at most 100.
    void setProgress(const int& nValue);
    // Negative steps are ignored; otherwise progress + step, at most 100.
    void addProgress(const int& nStep);

    virtual void hook1() {}
    virtual void hook2() {}

protected:
    int m_nValues[5];

private:
    int m_nProgress = 0;
};

} // namespace MGraphX
