#pragma once

#include <QRect>
#include <QtGlobal>

#include <vector>

namespace MGraphX {

// Drawing on any raster that can set and read one pixel. Every primitive goes
// through setPixel() and pixel() only; ranges are half-open unless said
// otherwise. Each primitive gives exactly the pixels its walk would set, but
// only visits those inside bounds(), so its cost follows the raster, not the
// size of the shape (a line across the whole int range, a disc of radius
// 100000 on a 10 x 10 raster).
//
// The remaining virtual operations are extension points for derived rasters
// (the planar images leave the hooks empty).
class GraphX
{
public:
    GraphX() = default;
    GraphX(const GraphX&) = default;
    GraphX& operator=(const GraphX&) = default;
    virtual ~GraphX() = default;

    virtual void setPixel(int x, int y, int nValue) = 0;
    virtual int pixel(int x, int y) const = 0;

    virtual int sharedInt1() const = 0;
    virtual int sharedInt2() const = 0;
    virtual bool sharedFlag() const = 0;
    virtual void hook1() = 0;
    virtual void hook2(int& nFirst, int& nSecond) = 0;
    virtual void hook3(int a, int b, int c, int d) = 0;
    virtual void hook4(int a) = 0;
    virtual void hook5(int a) = 0;
    virtual void hook6(int a, int b, int c, int d, int e, int f) = 0;
    // The pixels setPixel() can change; the primitives set nothing outside.
    virtual QRect bounds() const = 0;

    // Bresenham from (x1, y1) to (x2, y2), both ends included.
    void drawLine(int x1, int y1, int x2, int y2, int nValue);
    // x from x1 to x2 - 1.
    void drawHLine(int x1, int x2, int y, int nValue);
    // y from y1 to y2 - 1.
    void drawVLine(int y1, int y2, int x, int nValue);
    // Outline of the w x h rectangle at (x, y).
    void drawRect(int x, int y, int w, int h, int nValue);
    void fillRect(int x, int y, int w, int h, int nValue);
    void drawCircle(int cx, int cy, int r, int nValue);
    void fillCircle(int cx, int cy, int r, int nValue);
    // Ellipses walk the larger radius and scale the other axis in 16.16 fixed
    // point. Both radii 0 give the centre point (outline) or nothing (filled).
    void drawEllipse(int cx, int cy, int rx, int ry, int nValue);
    void fillEllipse(int cx, int cy, int rx, int ry, int nValue);

    // Fills the 4-connected region of pixels that read like (x, y). Nothing
    // happens when setting the start pixel does not change what it reads
    // (outside the raster, or a value that reads back as the region's own),
    // so the fill always ends; it keeps its work on the heap, not the stack.
    void floodFill(int x, int y, int nValue);

private:
    class ConicWalk;
    struct FillSeed { int x; int y; };
    // Fills the span of region pixels through the seed and queues one seed
    // per run of region pixels in the rows above and below it. Returns the
    // span's right end (below the seed's x when the seed was not in the region).
    int floodFillSpan(const FillSeed& seed, int nRegion, int nValue, std::vector<FillSeed>& vecStack);
    bool fillIfRegion(int x, int y, int nRegion, int nValue);
    // Coordinates are worked in 64 bits and clipped to the raster's bounds.
    void put(const QRect& clip, qint64 x, qint64 y, int nValue);
    void run(const QRect& clip, qint64 x1, qint64 x2, qint64 y, int nValue);
    void column(const QRect& clip, qint64 x, qint64 y1, qint64 y2, int nValue);
    // Circles and ellipses: see GraphX.cpp.
    void conic(const QRect& clip, qint64 cx, qint64 cy, const ConicWalk& walk, bool bFilled, int nValue);
};

} // namespace MGraphX
