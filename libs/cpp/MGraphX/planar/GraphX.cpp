#include "GraphX.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace MGraphX {

namespace {

bool inIntRange(qint64 v)
{
    return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
}

// Largest s with s * s <= n, for 0 <= n <= 2^63 - 2^33 (so (s + 1)^2 fits).
qint64 isqrt(qint64 n)
{
    qint64 s = qint64(std::sqrt(double(n)));
    while (s > 0 && s * s > n)
        --s;
    while ((s + 1) * (s + 1) <= n)
        ++s;
    return s;
}

// Largest y >= 0 with y (y - 1) <= n, for n >= 0: isqrt(n) or one more.
qint64 largestOffset(qint64 n)
{
    const qint64 s = isqrt(n);
    return (s + 1) * s <= n ? s + 1 : s;
}

// First step in [from, to] where pred holds (pred fails on a prefix and holds
// after it), or to + 1. Gallops from `from`, so a near answer costs a few
// probes and a far one a logarithm.
template <typename Pred>
qint64 firstStep(qint64 from, qint64 to, const Pred& pred)
{
    qint64 lo = from, hi = to + 1;
    for (qint64 nStride = 1; lo <= to; nStride *= 2) {
        const qint64 nProbe = std::min(to, lo + nStride - 1);
        if (pred(nProbe)) {
            hi = nProbe;
            break;
        }
        lo = nProbe + 1;
    }
    while (lo < hi) {
        const qint64 nMid = lo + (hi - lo) / 2;
        if (pred(nMid))
            hi = nMid;
        else
            lo = nMid + 1;
    }
    return lo;
}

// Calls fn(value, first, last) for every distinct value within [nMin, nMax]
// that g takes on the steps lo..hi, with the steps that give it. g must be
// monotone (either way) on those steps; each value found costs a search, the
// steps in between are not visited.
template <typename G, typename Fn>
void forEachValue(qint64 lo, qint64 hi, qint64 nMin, qint64 nMax, const G& g, const Fn& fn)
{
    if (lo > hi || nMin > nMax)
        return;
    const bool bRising = g(lo) <= g(hi);
    const auto key = [&](qint64 i) { return bRising ? g(i) : -g(i); };
    const qint64 nFrom = bRising ? nMin : -nMax;
    const qint64 nTo = bRising ? nMax : -nMin;
    qint64 i = firstStep(lo, hi, [&](qint64 j) { return key(j) >= nFrom; });
    while (i <= hi) {
        const qint64 nKey = key(i);
        if (nKey > nTo)
            break;
        const qint64 nNext = firstStep(i + 1, hi, [&](qint64 j) { return key(j) > nKey; });
        fn(bRising ? nKey : -nKey, i, nNext - 1);
        i = nNext;
    }
}

} // namespace

// The circle walk shared by circles and ellipses, in closed form so that any
// stretch of it can be read without walking up to it.
//
// Step i (i = 0, 1, ...) works with i and its offset y', the walk's y after the
// step's possible decrease. The error of a walk of radius R always equals
// R^2 - x^2 - k x - y (y - 1), where k = 0 for the walk that takes 2x + 1 off
// the error after a step (outlines, ellipses) and k = 1 for the one that takes
// twice the new x (discs). Writing Y(j) for the largest y with
// y (y - 1) <= R^2 - j^2 - k j, induction on the steps gives, for R >= 1:
//  - y'(0) = R; for i >= 1, with y = Y(i - 1): y'(i) = y - 1 when
//    y (y - 1) > R^2 - i^2 - k i, else y;
//  - step i >= 1 is taken exactly when i <= Y(i - 1), so the steps taken are
//    0..lastStep() and lastStep() is found by a search.
// Every product stays below 2^63 for radii in the int range.
class GraphX::ConicWalk
{
public:
    // The keys a primitive places its pixels by: the step i, its offset y', and
    // both scaled by the 16.16 factor ((f x t) >> 16).
    enum Key { Step, ScaledStep, Offset, ScaledOffset };
    // Each step sets two kinds of pixels, each at a row key and a column key
    // (a half width for filled shapes), mirrored about the centre.
    struct Part { Key row; Key column; };

    // drawCircle's walk, or fillCircle's with its own error update.
    static ConicWalk circle(int r, bool bDisc) { return ConicWalk(r, bDisc, false, 65536, false); }
    // The ellipses walk the larger radius, always take their first step and
    // scale the smaller axis by smaller x 65536 / larger (16.16); a zero (or
    // negative) larger radius has no axis to scale against.
    static ConicWalk ellipse(int rx, int ry)
    {
        const bool bWide = ry < rx;
        const qint64 nLarger = bWide ? rx : ry;
        const qint64 nSmaller = bWide ? ry : rx;
        return ConicWalk(nLarger, false, true, nLarger > 0 ? nSmaller * 65536 / nLarger : 0, bWide);
    }

    qint64 lastStep() const { return m_nLast; }
    const std::array<Part, 2>& parts() const { return m_parts; }

    // The key's value at step i, whose offset is y.
    qint64 key(Key k, qint64 i, qint64 y) const
    {
        switch (k) {
        case Step: return i;
        case ScaledStep: return (m_nScale * i) >> 16;
        case Offset: return y;
        case ScaledOffset: return (m_nScale * y) >> 16;
        }
        return 0;
    }
    qint64 key(Key k, qint64 i) const { return key(k, i, k == Offset || k == ScaledOffset ? offset(i) : 0); }

    // Calls fn(i, y') for every step, walking as the primitives define it.
    template <typename Fn>
    void forEachStep(const Fn& fn) const
    {
        qint64 y = m_nRadius, d = m_nRadius;
        for (qint64 i = 0; i <= m_nLast; ++i) {
            if (d < 0) {
                --y;
                d += 2 * y;
            }
            fn(i, y);
            d -= 2 * i + 1 + m_nK;
        }
    }

private:
    ConicWalk(qint64 nRadius, bool bDiscError, bool bFirstStepAlways, qint64 nScale, bool bWide)
        : m_nRadius(nRadius)
        , m_nK(bDiscError ? 1 : 0)
        , m_nScale(nScale)
        , m_parts(bWide ? std::array<Part, 2>{{{ScaledOffset, Step}, {ScaledStep, Offset}}}
                        : std::array<Part, 2>{{{Offset, ScaledStep}, {Step, ScaledOffset}}})
    {
        if (nRadius < 0)
            m_nLast = bFirstStepAlways ? 0 : -1; // a single step, at offset R - 1
        else if (nRadius == 0)
            m_nLast = 0;
        else
            m_nLast = firstStep(1, nRadius + 1, [this](qint64 i) { return !taken(i); }) - 1;
    }

    qint64 room(qint64 j) const { return m_nRadius * m_nRadius - j * j - m_nK * j; }
    bool taken(qint64 i) const { return room(i - 1) >= 0 && i <= largestOffset(room(i - 1)); }

    // Valid for the steps taken.
    qint64 offset(qint64 i) const
    {
        if (i == 0)
            return m_nRadius >= 0 ? m_nRadius : m_nRadius - 1;
        const qint64 y = largestOffset(room(i - 1));
        return y * (y - 1) > room(i) ? y - 1 : y;
    }

    qint64 m_nRadius;
    qint64 m_nK;
    qint64 m_nScale;
    std::array<Part, 2> m_parts;
    qint64 m_nLast = -1;
};

void GraphX::put(const QRect& clip, qint64 x, qint64 y, int nValue)
{
    if (x >= clip.left() && x <= clip.right() && y >= clip.top() && y <= clip.bottom())
        setPixel(int(x), int(y), nValue);
}

void GraphX::run(const QRect& clip, qint64 x1, qint64 x2, qint64 y, int nValue)
{
    if (y < clip.top() || y > clip.bottom())
        return;
    x1 = std::max<qint64>(x1, clip.left());
    x2 = std::min<qint64>(x2, qint64(clip.right()) + 1);
    for (qint64 x = x1; x < x2; ++x)
        setPixel(int(x), int(y), nValue);
}

void GraphX::column(const QRect& clip, qint64 x, qint64 y1, qint64 y2, int nValue)
{
    if (x < clip.left() || x > clip.right())
        return;
    y1 = std::max<qint64>(y1, clip.top());
    y2 = std::min<qint64>(y2, qint64(clip.bottom()) + 1);
    for (qint64 y = y1; y < y2; ++y)
        setPixel(int(x), int(y), nValue);
}

void GraphX::drawLine(int x1, int y1, int x2, int y2, int nValue)
{
    const qint64 dx = qint64(x2) - x1;
    const qint64 dy = qint64(y2) - y1;
    const bool bMajorX = std::llabs(dx) > std::llabs(dy); // equal differences walk y
    qint64 a1 = bMajorX ? x1 : y1, b1 = bMajorX ? y1 : x1;
    qint64 a2 = bMajorX ? x2 : y2, b2 = bMajorX ? y2 : x2;
    if (a1 > a2) {
        std::swap(a1, a2);
        std::swap(b1, b2);
    }
    const qint64 nMajor = a2 - a1;
    const qint64 nMinor = std::llabs(b2 - b1);
    const qint64 nStep = b2 >= b1 ? 1 : -1;

    // Only the stretch of the major axis that crosses the raster is walked.
    const QRect clip = bounds();
    const qint64 aFrom = std::max<qint64>(a1, bMajorX ? clip.left() : clip.top());
    const qint64 aTo = std::min<qint64>(a2, bMajorX ? clip.right() : clip.bottom());
    qint64 nError = nMajor;
    qint64 b = b1;
    if (aFrom > a1 && aFrom <= aTo) {
        // The error stays in (0, 2 major] after every pixel, so after n pixels
        // the minor coordinate has stepped floor((2 minor n + major) /
        // (2 major)) times: minor n / major rounded half up. The walk resumes
        // there with the error it would have had. minor n < 2^64, as both
        // are below 2^32.
        const quint64 nProduct = quint64(nMinor) * quint64(aFrom - a1);
        const qint64 nQuotient = qint64(nProduct / quint64(nMajor));
        const qint64 nRemainder = qint64(nProduct % quint64(nMajor));
        const bool bRoundUp = 2 * nRemainder >= nMajor;
        b += nStep * (nQuotient + (bRoundUp ? 1 : 0));
        nError = (bRoundUp ? 3 * nMajor : nMajor) - 2 * nRemainder;
    }
    for (qint64 a = aFrom; a <= aTo; ++a) {
        if (bMajorX)
            put(clip, a, b, nValue);
        else
            put(clip, b, a, nValue);
        nError -= 2 * nMinor;
        if (nError <= 0) {
            nError += 2 * nMajor;
            b += nStep;
        }
    }
}

void GraphX::drawHLine(int x1, int x2, int y, int nValue)
{
    run(bounds(), x1, x2, y, nValue);
}

void GraphX::drawVLine(int y1, int y2, int x, int nValue)
{
    column(bounds(), x, y1, y2, nValue);
}

void GraphX::drawRect(int x, int y, int w, int h, int nValue)
{
    const QRect clip = bounds();
    const qint64 nRight = qint64(x) + w - 1;
    const qint64 nBottom = qint64(y) + h - 1;
    if (w > 0) {
        run(clip, x, nRight + 1, y, nValue);
        run(clip, x, nRight + 1, nBottom, nValue);
    }
    column(clip, x, qint64(y) + 1, nBottom + 1, nValue);
    column(clip, nRight, qint64(y) + 1, nBottom, nValue);
}

void GraphX::fillRect(int x, int y, int w, int h, int nValue)
{
    const QRect clip = bounds();
    const qint64 nBottom = std::min<qint64>(qint64(y) + h - 1, clip.bottom());
    const qint64 nTop = std::max<qint64>(y, clip.top());
    for (qint64 yy = nBottom; yy >= nTop; --yy)
        run(clip, x, qint64(x) + w, yy, nValue);
}

void GraphX::drawCircle(int cx, int cy, int r, int nValue)
{
    conic(bounds(), cx, cy, ConicWalk::circle(r, false), false, nValue);
}

void GraphX::fillCircle(int cx, int cy, int r, int nValue)
{
    conic(bounds(), cx, cy, ConicWalk::circle(r, true), true, nValue);
}

void GraphX::drawEllipse(int cx, int cy, int rx, int ry, int nValue)
{
    conic(bounds(), cx, cy, ConicWalk::ellipse(rx, ry), false, nValue);
}

void GraphX::fillEllipse(int cx, int cy, int rx, int ry, int nValue)
{
    conic(bounds(), cx, cy, ConicWalk::ellipse(rx, ry), true, nValue);
}

// A circle is the tall form with a scale of 1.0: its parts are (cx +- i,
// cy +- y') and (cx +- y', cy +- i), or the runs on those rows.
//
// A walk no longer than the raster's rows and columns together is stepped
// through. A longer one is read row by row: the steps whose row key lands on
// a raster row form one stretch, as every key is monotone over the walk. On
// that stretch the column key is monotone too, so an outline sets each
// distinct column it takes within the raster once, and a filled shape draws
// the widest of its runs, which are centred on cx and so hold the narrower
// ones. Either way the pixels are those of the full walk; the cost follows
// the raster rows and columns reached, not the radius.
void GraphX::conic(const QRect& clip, qint64 cx, qint64 cy, const ConicWalk& walk, bool bFilled, int nValue)
{
    if (walk.lastStep() <= qint64(clip.width()) + clip.height()) {
        walk.forEachStep([&](qint64 i, qint64 nOffset) {
            for (const ConicWalk::Part& part : walk.parts()) {
                const qint64 nColumn = walk.key(part.column, i, nOffset);
                for (const qint64 y : {cy - walk.key(part.row, i, nOffset), cy + walk.key(part.row, i, nOffset)}) {
                    if (bFilled) {
                        run(clip, cx - nColumn, cx + nColumn, y, nValue);
                    } else {
                        put(clip, cx + nColumn, y, nValue);
                        put(clip, cx - nColumn, y, nValue);
                    }
                }
            }
        });
        return;
    }
    for (const ConicWalk::Part& part : walk.parts()) {
        for (const qint64 nRowSign : {-1, 1}) {
            const auto rowAt = [&](qint64 i) { return cy + nRowSign * walk.key(part.row, i); };
            forEachValue(0, walk.lastStep(), clip.top(), clip.bottom(), rowAt, [&](qint64 y, qint64 nFirst, qint64 nLast) {
                if (bFilled) {
                    const qint64 w = std::max(walk.key(part.column, nFirst), walk.key(part.column, nLast));
                    run(clip, cx - w, cx + w, y, nValue);
                    return;
                }
                for (const qint64 nColumnSign : {-1, 1}) {
                    const auto columnAt = [&](qint64 i) { return cx + nColumnSign * walk.key(part.column, i); };
                    forEachValue(nFirst, nLast, clip.left(), clip.right(), columnAt,
                                 [&](qint64 x, qint64, qint64) { put(clip, x, y, nValue); });
                }
            });
        }
    }
}

bool GraphX::fillIfRegion(int x, int y, int nRegion, int nValue)
{
    if (pixel(x, y) != nRegion)
        return false;
    setPixel(x, y, nValue);
    // A pixel that still reads like the region is outside the raster (pixel()
    // reads 0 there) or takes the value without change: a wall either way.
    return pixel(x, y) != nRegion;
}

int GraphX::floodFillSpan(const FillSeed& seed, int nRegion, int nValue, std::vector<FillSeed>& vecStack)
{
    if (!fillIfRegion(seed.x, seed.y, nRegion, nValue))
        return seed.x - 1;
    int nLeft = seed.x, nRight = seed.x;
    while (nLeft > std::numeric_limits<int>::min() && fillIfRegion(nLeft - 1, seed.y, nRegion, nValue))
        --nLeft;
    while (nRight < std::numeric_limits<int>::max() && fillIfRegion(nRight + 1, seed.y, nRegion, nValue))
        ++nRight;
    for (int nDirection : {-1, 1}) {
        const qint64 nRow = qint64(seed.y) + nDirection;
        if (!inIntRange(nRow))
            continue;
        bool bInRun = false;
        for (qint64 x = nLeft; x <= nRight; ++x) {
            const bool bRegion = pixel(int(x), int(nRow)) == nRegion;
            if (bRegion && !bInRun)
                vecStack.push_back({int(x), int(nRow)});
            bInRun = bRegion;
        }
    }
    return nRight;
}

void GraphX::floodFill(int x, int y, int nValue)
{
    const int nRegion = pixel(x, y);
    std::vector<FillSeed> vecStack;
    vecStack.push_back({x, y});
    while (!vecStack.empty()) {
        const FillSeed seed = vecStack.back();
        vecStack.pop_back();
        floodFillSpan(seed, nRegion, nValue, vecStack);
    }
}

} // namespace MGraphX
