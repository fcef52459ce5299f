#pragma once

#include <vector>

namespace MTools {

// An FFT of 2^n points (n from 0 to 15) with a precomputed bit-reversal
// table. Another n leaves every transform a no-op.
class MFft
{
public:
    explicit MFft(int n);
    virtual ~MFft();

    // In place. Without positive: (1/N) times the sum with e^(-2 pi i jk / N);
    // with positive: the unscaled sum with e^(+2 pi i jk / N).
    void transform(float* re, float* im, bool positive);

    // Entry i is i with its lowest n bits reversed (32768 entries, those from
    // 2^n on are 0).
    const std::vector<int>& table() const { return m_table; }

private:
    std::vector<int> m_table;
    int m_nBits;
};

}  // namespace MTools
