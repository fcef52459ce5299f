#include "MFft.h"

#include <cmath>
#include <utility>

namespace MTools {

namespace {

constexpr int kMaxBits = 15;
constexpr double kTwoPi = 6.283185307179586;

}  // namespace

MFft::MFft(int n)
    : m_table(1 << kMaxBits, 0)
    , m_nBits(n)
{
    if (n < 0 || n > kMaxBits)
        return;
    for (int i = 0; i < (1 << n); ++i) {
        int nReversed = 0;
        for (int b = 0; b < n; ++b)
            nReversed |= ((i >> b) & 1) << (n - 1 - b);
        m_table[static_cast<std::size_t>(i)] = nReversed;
    }
}

MFft::~MFft() = default;

void MFft::transform(float* re, float* im, bool positive)
{
    // An n outside 0..15 would index past the table.
    if (m_nBits < 0 || m_nBits > kMaxBits || !re || !im)
        return;
    const int nCount = 1 << m_nBits;
    // Butterflies on natural-order input with twiddles in bit-reversed block
    // order; the output comes out bit-reversed and is put in order below.
    for (int m = nCount / 2; m >= 1; m /= 2) {
        for (int d = 0; d < nCount; d += 2 * m) {
            for (int j = 0; j < m; ++j) {
                const int k = d + j;
                const auto fAngle = static_cast<float>(m_table[static_cast<std::size_t>(k / m)] * kTwoPi / nCount);
                const float c = std::cos(fAngle);
                const float s = positive ? -std::sin(fAngle) : std::sin(fAngle);
                // t = (c - i s) x[k + m]
                const float tr = c * re[k + m] + s * im[k + m];
                const float ti = c * im[k + m] - s * re[k + m];
                re[k + m] = re[k] - tr;
                im[k + m] = im[k] - ti;
                re[k] += tr;
                im[k] += ti;
            }
        }
    }
    for (int j = 0; j < nCount; ++j) {
        const int nTarget = m_table[static_cast<std::size_t>(j)];
        if (j < nTarget) {
            std::swap(re[j], re[nTarget]);
            std::swap(im[j], im[nTarget]);
        }
    }
    if (!positive) {
        const float fScale = 1.0f / static_cast<float>(nCount);
        for (int j = 0; j < nCount; ++j) {
            re[j] *= fScale;
            im[j] *= fScale;
        }
    }
}

}  // namespace MTools
