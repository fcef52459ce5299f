#pragma once

#include <QtGlobal>

#include <vector>

namespace MGraphX {

// Drawing on any raster that can set and read one pixel. Every primitive goes
// through setPixel() and pixel() only, so pixels outside the raster are
// ignored by the raster itself; ranges are half-open unless said otherwise.
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
    struct FillSeed { int x; int y; };
    // Fills the span of region pixels through the seed and queues one seed
    // per run of region pixels in the rows above and below it. Returns the
    // span's right end (below the seed's x when the seed was not in the region).
    int floodFillSpan(const FillSeed& seed, int nRegion, int nValue, std::vector<FillSeed>& vecStack);
    bool fillIfRegion(int x, int y, int nRegion, int nValue);
    // Coordinates are worked in 64 bits; points beyond the int range lie
    // outside every raster and are dropped.
    void put(qint64 x, qint64 y, int nValue);
    void run(qint64 x1, qint64 x2, qint64 y, int nValue);
    void ellipse(int cx, int cy, int rx, int ry, int nValue, bool bFilled);
};

} // namespace MGraphX
