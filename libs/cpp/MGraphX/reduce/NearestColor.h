#pragma once

#include <QRgb>
#include <QVector>

#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace MGraphX {

// Index of the colour of a list (up to 256 entries) nearest to a given colour
// by Euclidean distance; among equally near entries the lowest index wins.
// Squared integer distances order exactly like their square roots, so the
// result is the same as a search over float roots. Answers are remembered in
// a direct-mapped cache keyed by the full 24-bit colour.
class NearestColor
{
public:
    explicit NearestColor(const QVector<QRgb>& vecColors)
        : m_nCount(vecColors.size())
        , m_vecCache(kCacheSize, 0u)
    {
        // An empty slot holds a tag that never hashes to it: black everywhere
        // but in black's own slot, which holds white.
        m_vecCache[slotOf(0)] = 0xFFFFFFu << 8;
        // Entries are padded to a multiple of 4 with a colour too far away to
        // ever win (distances stay far below 2^23).
        const int nPadded = (m_nCount + 3) & ~3;
        m_vecRG.assign(size_t(nPadded) * 2, 1000);
        m_vecB0.assign(size_t(nPadded) * 2, 0);
        for (int i = 0; i < nPadded; ++i)
            m_vecB0[size_t(i) * 2] = 1000;
        for (int i = 0; i < m_nCount; ++i) {
            m_vecRG[size_t(i) * 2] = int16_t(qRed(vecColors[i]));
            m_vecRG[size_t(i) * 2 + 1] = int16_t(qGreen(vecColors[i]));
            m_vecB0[size_t(i) * 2] = int16_t(qBlue(vecColors[i]));
        }
        m_nPadded = nPadded;
    }

    int find(int r, int g, int b)
    {
        const uint32_t nRgb = uint32_t(r << 16 | g << 8 | b);
        uint32_t& nEntry = m_vecCache[slotOf(nRgb)];
        if ((nEntry >> 8) == nRgb)
            return int(nEntry & 0xFFu);
        const int nIndex = search(r, g, b);
        nEntry = (nRgb << 8) | uint32_t(nIndex);
        return nIndex;
    }

    // Uncached search: minimum of (distance << 8 | index), so the smaller
    // distance wins and the lower index breaks ties.
    int search(int r, int g, int b) const
    {
#if defined(__SSE2__)
        const __m128i rg = _mm_set1_epi32(int((uint32_t(uint16_t(g)) << 16) | uint16_t(r)));
        const __m128i b0 = _mm_set1_epi32(b);
        __m128i index = _mm_setr_epi32(0, 1, 2, 3);
        const __m128i step = _mm_set1_epi32(4);
        __m128i best = _mm_set1_epi32(0x7FFFFFFF);
        for (int i = 0; i < m_nPadded; i += 4) {
            const __m128i prg = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&m_vecRG[size_t(i) * 2]));
            const __m128i pb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&m_vecB0[size_t(i) * 2]));
            const __m128i d1 = _mm_sub_epi16(prg, rg);
            const __m128i d2 = _mm_sub_epi16(pb, b0);
            const __m128i dist = _mm_add_epi32(_mm_madd_epi16(d1, d1), _mm_madd_epi16(d2, d2));
            const __m128i packed = _mm_or_si128(_mm_slli_epi32(dist, 8), index);
            const __m128i less = _mm_cmplt_epi32(packed, best);
            best = _mm_or_si128(_mm_and_si128(less, packed), _mm_andnot_si128(less, best));
            index = _mm_add_epi32(index, step);
        }
        alignas(16) int32_t lanes[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes), best);
        int32_t nBest = lanes[0];
        for (int i = 1; i < 4; ++i)
            nBest = lanes[i] < nBest ? lanes[i] : nBest;
        return nBest & 0xFF;
#else
        int32_t nBest = 0x7FFFFFFF;
        for (int i = 0; i < m_nCount; ++i) {
            const int dr = m_vecRG[size_t(i) * 2] - r;
            const int dg = m_vecRG[size_t(i) * 2 + 1] - g;
            const int db = m_vecB0[size_t(i) * 2] - b;
            const int32_t nPacked = ((dr * dr + dg * dg + db * db) << 8) | i;
            nBest = nPacked < nBest ? nPacked : nBest;
        }
        return nBest & 0xFF;
#endif
    }

private:
    static uint32_t slotOf(uint32_t nRgb) { return (nRgb * 2654435761u) >> (32 - kCacheBits); }

    static constexpr int kCacheBits = 18;
    static constexpr int kCacheSize = 1 << kCacheBits;

    int m_nCount = 0;
    int m_nPadded = 0;
    std::vector<int16_t> m_vecRG;  // red, green per entry
    std::vector<int16_t> m_vecB0;  // blue, 0 per entry
    std::vector<uint32_t> m_vecCache; // colour << 8 | index
};

} // namespace MGraphX
