#include "GraphX.h"

#include <cstdlib>
#include <limits>
#include <utility>

namespace MGraphX {

namespace {

bool inIntRange(qint64 v)
{
    return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
}

} // namespace

void GraphX::put(qint64 x, qint64 y, int nValue)
{
    if (inIntRange(x) && inIntRange(y))
        setPixel(int(x), int(y), nValue);
}

void GraphX::run(qint64 x1, qint64 x2, qint64 y, int nValue)
{
    if (!inIntRange(y))
        return;
    // Nothing of the run beyond the int range can be inside a raster.
    x1 = qMax<qint64>(x1, std::numeric_limits<int>::min());
    x2 = qMin<qint64>(x2, qint64(std::numeric_limits<int>::max()) + 1);
    for (qint64 x = x1; x < x2; ++x)
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
    qint64 nError = nMajor;
    qint64 b = b1;
    for (qint64 a = a1; a <= a2; ++a) {
        if (bMajorX)
            put(a, b, nValue);
        else
            put(b, a, nValue);
        nError -= 2 * nMinor;
        if (nError <= 0) {
            nError += 2 * nMajor;
            b += nStep;
        }
    }
}

void GraphX::drawHLine(int x1, int x2, int y, int nValue)
{
    run(x1, x2, y, nValue);
}

void GraphX::drawVLine(int y1, int y2, int x, int nValue)
{
    for (qint64 y = y1; y < y2; ++y)
        put(x, y, nValue);
}

void GraphX::drawRect(int x, int y, int w, int h, int nValue)
{
    const qint64 nRight = qint64(x) + w - 1;
    const qint64 nBottom = qint64(y) + h - 1;
    if (w > 0) {
        run(x, nRight + 1, y, nValue);
        run(x, nRight + 1, nBottom, nValue);
    }
    for (qint64 yy = qint64(y) + 1; yy <= nBottom; ++yy)
        put(x, yy, nValue);
    for (qint64 yy = qint64(y) + 1; yy <= nBottom - 1; ++yy)
        put(nRight, yy, nValue);
}

void GraphX::fillRect(int x, int y, int w, int h, int nValue)
{
    for (qint64 yy = qint64(y) + h - 1; yy >= y; --yy)
        run(x, qint64(x) + w, yy, nValue);
}

void GraphX::drawCircle(int cx, int cy, int r, int nValue)
{
    qint64 x = 0, y = r, d = r;
    while (x <= y) {
        if (d < 0) {
            --y;
            d += 2 * y;
        }
        put(cx + x, cy - y, nValue);
        put(cx - x, cy - y, nValue);
        put(cx + x, cy + y, nValue);
        put(cx - x, cy + y, nValue);
        put(cx + y, cy - x, nValue);
        put(cx - y, cy - x, nValue);
        put(cx + y, cy + x, nValue);
        put(cx - y, cy + x, nValue);
        d -= 2 * x + 1;
        ++x;
    }
}

void GraphX::fillCircle(int cx, int cy, int r, int nValue)
{
    qint64 x = 0, y = r, d = r;
    while (x <= y) {
        if (d < 0) {
            --y;
            d += 2 * y;
        }
        run(cx - y, cx + y, cy - x, nValue);
        run(cx - y, cx + y, cy + x, nValue);
        run(cx - x, cx + x, cy - y, nValue);
        run(cx - x, cx + x, cy + y, nValue);
        ++x;
        d -= 2 * x;
    }
}

void GraphX::drawEllipse(int cx, int cy, int rx, int ry, int nValue)
{
    ellipse(cx, cy, rx, ry, nValue, false);
}

void GraphX::fillEllipse(int cx, int cy, int rx, int ry, int nValue)
{
    ellipse(cx, cy, rx, ry, nValue, true);
}

void GraphX::ellipse(int cx, int cy, int rx, int ry, int nValue, bool bFilled)
{
    const bool bWide = ry < rx;
    const qint64 nLarger = bWide ? rx : ry;
    const qint64 nSmaller = bWide ? ry : rx;
    // 16.16 scale of the smaller axis; a zero (or negative) larger radius has
    // no axis to scale against.
    const qint64 f = nLarger > 0 ? nSmaller * 65536 / nLarger : 0;
    qint64 i = 0, y = nLarger, d = nLarger, acc = 0;
    for (;;) {
        const qint64 yNext = d < 0 ? y - 1 : y;
        const qint64 nScaled = (f * yNext) >> 16;
        const qint64 nAcc = acc >> 16;
        if (bWide) {
            if (bFilled) {
                run(cx - i, cx + i, cy - nScaled, nValue);
                run(cx - i, cx + i, cy + nScaled, nValue);
                run(cx - yNext, cx + yNext, cy - nAcc, nValue);
                run(cx - yNext, cx + yNext, cy + nAcc, nValue);
            } else {
                for (qint64 sy : {-nScaled, nScaled}) {
                    put(cx + i, cy + sy, nValue);
                    put(cx - i, cy + sy, nValue);
                }
                for (qint64 sy : {-nAcc, nAcc}) {
                    put(cx + yNext, cy + sy, nValue);
                    put(cx - yNext, cy + sy, nValue);
                }
            }
        } else {
            if (bFilled) {
                run(cx - nAcc, cx + nAcc, cy - yNext, nValue);
                run(cx - nAcc, cx + nAcc, cy + yNext, nValue);
                run(cx - nScaled, cx + nScaled, cy - i, nValue);
                run(cx - nScaled, cx + nScaled, cy + i, nValue);
            } else {
                for (qint64 sy : {-yNext, yNext}) {
                    put(cx + nAcc, cy + sy, nValue);
                    put(cx - nAcc, cy + sy, nValue);
                }
                for (qint64 sy : {-i, i}) {
                    put(cx + nScaled, cy + sy, nValue);
                    put(cx - nScaled, cy + sy, nValue);
                }
            }
        }
        acc += f;
        d = (d < 0 ? d + 2 * y - 2 : d) - 2 * i - 1;
        y = yNext;
        ++i;
        if (yNext < i)
            break;
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
