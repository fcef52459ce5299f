#include "ImageProcess.h"

#include <QtTest>

#include <algorithm>
#include <limits>

using namespace MGraphX;

namespace {

// "x,y x,y ..." -> points, sorted by row then column.
QVector<QPoint> points(const QString& strPoints)
{
    QVector<QPoint> vec;
    for (const QString& strPair : strPoints.split(' ', Qt::SkipEmptyParts)) {
        const QStringList xy = strPair.split(',');
        vec.append(QPoint(xy[0].toInt(), xy[1].toInt()));
    }
    std::sort(vec.begin(), vec.end(), [](const QPoint& a, const QPoint& b) {
        return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
    });
    return vec;
}

// "row: x x x; row: x x" -> points, for filled shapes.
QVector<QPoint> rows(const QString& strRows)
{
    QString strPoints;
    for (const QString& strRow : strRows.split(';', Qt::SkipEmptyParts)) {
        const QStringList parts = strRow.split(':');
        for (const QString& strX : parts[1].split(' ', Qt::SkipEmptyParts))
            strPoints += strX + ',' + parts[0].trimmed() + ' ';
    }
    return points(strPoints);
}

QVector<QPoint> pointsWithValue(const GraphX& raster, int nWidth, int nHeight, int nValue)
{
    QVector<QPoint> vec;
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            if (raster.pixel(x, y) == nValue)
                vec.append(QPoint(x, y));
    return vec;
}

// Draws one primitive named as in the tables below.
bool drawShape(GraphX& raster, const QString& shape, const QVector<int>& a, int v)
{
    if (shape == "line") raster.drawLine(a[0], a[1], a[2], a[3], v);
    else if (shape == "hline") raster.drawHLine(a[0], a[1], a[2], v);
    else if (shape == "vline") raster.drawVLine(a[0], a[1], a[2], v);
    else if (shape == "rect") raster.drawRect(a[0], a[1], a[2], a[3], v);
    else if (shape == "fillrect") raster.fillRect(a[0], a[1], a[2], a[3], v);
    else if (shape == "circle") raster.drawCircle(a[0], a[1], a[2], v);
    else if (shape == "fillcircle") raster.fillCircle(a[0], a[1], a[2], v);
    else if (shape == "ellipse") raster.drawEllipse(a[0], a[1], a[2], a[3], v);
    else if (shape == "fillellipse") raster.fillEllipse(a[0], a[1], a[2], a[3], v);
    else return false;
    return true;
}

// The walks of the lines, circles and ellipses step by step as they are
// defined, over the whole shape, keeping the pixels that fall on a w x h
// raster: the expectation for shapes far larger than the raster. Runs are cut
// to the raster by arithmetic, so a walk costs its steps only.
class WalkReference
{
public:
    WalkReference(int w, int h) : m_nWidth(w), m_nHeight(h), m_vecSet(w * h, false) {}

    bool draw(const QString& shape, const QVector<int>& a)
    {
        if (shape == "line") line(a[0], a[1], a[2], a[3]);
        else if (shape == "circle") circle(a[0], a[1], a[2], false);
        else if (shape == "fillcircle") circle(a[0], a[1], a[2], true);
        else if (shape == "ellipse") ellipse(a[0], a[1], a[2], a[3], false);
        else if (shape == "fillellipse") ellipse(a[0], a[1], a[2], a[3], true);
        else return false;
        return true;
    }

    QVector<QPoint> points() const
    {
        QVector<QPoint> vec;
        for (int y = 0; y < m_nHeight; ++y)
            for (int x = 0; x < m_nWidth; ++x)
                if (m_vecSet[y * m_nWidth + x])
                    vec.append(QPoint(x, y));
        return vec;
    }

private:
    void point(qint64 x, qint64 y)
    {
        if (x >= 0 && x < m_nWidth && y >= 0 && y < m_nHeight)
            m_vecSet[int(y * m_nWidth + x)] = true;
    }
    // x from x1 to x2 - 1.
    void run(qint64 x1, qint64 x2, qint64 y)
    {
        for (qint64 x = std::max<qint64>(x1, 0); x < std::min<qint64>(x2, m_nWidth); ++x)
            point(x, y);
    }

    // Bresenham along the axis with the larger difference (y on a tie),
    // from the end with the smaller major coordinate.
    void line(qint64 x1, qint64 y1, qint64 x2, qint64 y2)
    {
        const bool bMajorX = qAbs(x2 - x1) > qAbs(y2 - y1);
        if (!bMajorX) {
            std::swap(x1, y1);
            std::swap(x2, y2);
        }
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        qint64 nError = x2 - x1, y = y1;
        for (qint64 x = x1; x <= x2; ++x) {
            bMajorX ? point(x, y) : point(y, x);
            nError -= 2 * qAbs(y2 - y1);
            if (nError <= 0) {
                nError += 2 * (x2 - x1);
                y += y2 >= y1 ? 1 : -1;
            }
        }
    }

    void circle(qint64 cx, qint64 cy, qint64 r, bool bFilled)
    {
        for (qint64 x = 0, y = r, d = r; x <= y;) {
            if (d < 0) {
                --y;
                d += 2 * y;
            }
            if (bFilled) {
                for (qint64 s : {-1, 1}) {
                    run(cx - y, cx + y, cy + s * x);
                    run(cx - x, cx + x, cy + s * y);
                }
                ++x;
                d -= 2 * x;
                continue;
            }
            for (qint64 sx : {-1, 1}) {
                for (qint64 sy : {-1, 1}) {
                    point(cx + sx * x, cy + sy * y);
                    point(cx + sx * y, cy + sy * x);
                }
            }
            d -= 2 * x + 1;
            ++x;
        }
    }

    void ellipse(qint64 cx, qint64 cy, qint64 rx, qint64 ry, bool bFilled)
    {
        const bool bWide = ry < rx;
        const qint64 nLarger = bWide ? rx : ry, nSmaller = bWide ? ry : rx;
        const qint64 f = nLarger > 0 ? nSmaller * 65536 / nLarger : 0;
        qint64 i = 0, y = nLarger, d = nLarger, acc = 0;
        for (;;) {
            const qint64 yNext = d < 0 ? y - 1 : y;
            const qint64 nScaled = (f * yNext) >> 16, nAcc = acc >> 16;
            // (column or half width, row) of the two kinds of pixels.
            const qint64 kinds[2][2] = {{bWide ? i : nAcc, bWide ? nScaled : yNext},
                                        {bWide ? yNext : nScaled, bWide ? nAcc : i}};
            for (const auto& kind : kinds) {
                for (qint64 sy : {-1, 1}) {
                    if (bFilled)
                        run(cx - kind[0], cx + kind[0], cy + sy * kind[1]);
                    else
                        for (qint64 sx : {-1, 1})
                            point(cx + sx * kind[0], cy + sy * kind[1]);
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

    int m_nWidth;
    int m_nHeight;
    std::vector<bool> m_vecSet;
};

// Paints a picture given as text rows of digits onto a depth-8 raster.
void paint(ImageProcess& raster, const QStringList& picture)
{
    for (int y = 0; y < picture.size(); ++y)
        for (int x = 0; x < picture[y].size(); ++x)
            raster.setPixel(x, y, picture[y][x].digitValue());
}

} // namespace

class TestGraphX : public QObject
{
    Q_OBJECT

private slots:
    void primitives_data();
    void primitives();
    void clippedPrimitives_data();
    void clippedPrimitives();
    void clippedWalks_data();
    void clippedWalks();
    void floodFill_data();
    void floodFill();
    void floodFillEnds_data();
    void floodFillEnds();
    void floodFillTallRegion();
};

void TestGraphX::primitives_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QVector<int>>("args");
    QTest::addColumn<QVector<QPoint>>("expected");

    QTest::newRow("line shallow") << "line" << QVector<int>{0, 0, 3, 1} << points("0,0 1,0 2,1 3,1");
    QTest::newRow("line shallow reversed") << "line" << QVector<int>{3, 1, 0, 0} << points("0,0 1,0 2,1 3,1");
    QTest::newRow("line steep") << "line" << QVector<int>{0, 0, 1, 3} << points("0,0 0,1 1,2 1,3");
    QTest::newRow("line diagonal walks y") << "line" << QVector<int>{2, 0, 0, 2} << points("2,0 1,1 0,2");
    QTest::newRow("line one point") << "line" << QVector<int>{4, 4, 4, 4} << points("4,4");
    QTest::newRow("line leaving the raster") << "line" << QVector<int>{-2, 0, 2, 0} << points("0,0 1,0 2,0");
    QTest::newRow("hline empty") << "hline" << QVector<int>{2, 2, 1} << points("");
    QTest::newRow("hline half-open") << "hline" << QVector<int>{2, 5, 1} << points("2,1 3,1 4,1");
    QTest::newRow("vline half-open") << "vline" << QVector<int>{1, 3, 0} << points("0,1 0,2");
    QTest::newRow("rect outline") << "rect" << QVector<int>{1, 1, 3, 3}
                                  << points("1,1 2,1 3,1 1,2 3,2 1,3 2,3 3,3");
    QTest::newRow("rect filled") << "fillrect" << QVector<int>{1, 1, 2, 3} << rows("1: 1 2; 2: 1 2; 3: 1 2");
    QTest::newRow("circle r3") << "circle" << QVector<int>{4, 4, 3}
                               << points("3,1 4,1 5,1 2,2 6,2 1,3 7,3 1,4 7,4 1,5 7,5 2,6 6,6 3,7 4,7 5,7");
    QTest::newRow("circle r0") << "circle" << QVector<int>{4, 4, 0} << points("4,4");
    // Runs are half-open, so the disc leans left by one column.
    QTest::newRow("disc r2") << "fillcircle" << QVector<int>{3, 3, 2}
                             << rows("1: 2 3; 2: 1 2 3 4; 3: 1 2 3 4; 4: 1 2 3 4; 5: 2 3");
    QTest::newRow("ellipse wide") << "ellipse" << QVector<int>{5, 3, 4, 2}
                                  << rows("1: 3 4 5 6 7; 2: 1 2 8 9; 3: 1 9; 4: 1 2 8 9; 5: 3 4 5 6 7");
    QTest::newRow("ellipse tall") << "ellipse" << QVector<int>{3, 5, 2, 4}
                                  << rows("1: 2 3 4; 2: 2 4; 3: 1 5; 4: 1 5; 5: 1 5; 6: 1 5; 7: 1 5; "
                                          "8: 2 4; 9: 2 3 4");
    QTest::newRow("ellipse filled wide") << "fillellipse" << QVector<int>{5, 3, 4, 2}
                                         << rows("1: 3 4 5 6; 2: 1 2 3 4 5 6 7 8; 3: 1 2 3 4 5 6 7 8; "
                                                 "4: 1 2 3 4 5 6 7 8; 5: 3 4 5 6");
    QTest::newRow("ellipse both radii 0") << "ellipse" << QVector<int>{2, 2, 0, 0} << points("2,2");
    QTest::newRow("ellipse filled both radii 0") << "fillellipse" << QVector<int>{2, 2, 0, 0} << points("");
}

void TestGraphX::primitives()
{
    QFETCH(QString, shape);
    QFETCH(QVector<int>, args);
    QFETCH(QVector<QPoint>, expected);
    const int w = 11, h = 11, v = 3;
    ImageProcess raster(8, w, h, 0);
    QVERIFY2(drawShape(raster, shape, args, v), "unknown shape");
    QCOMPARE(pointsWithValue(raster, w, h, v), expected);
}

void TestGraphX::clippedPrimitives_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QVector<int>>("args");
    QTest::addColumn<QVector<QPoint>>("expected");

    // Shapes far larger than the 10 x 10 raster, whose pixels on it follow by
    // hand; walked in full they take seconds to minutes.
    const int kMin = std::numeric_limits<int>::min();
    const int kMax = std::numeric_limits<int>::max();
    QString strFull;
    for (int y = 0; y < 10; ++y)
        strFull += QString("%1: 0 1 2 3 4 5 6 7 8 9;").arg(y);
    QTest::newRow("hline across the int range") << "hline" << QVector<int>{kMin, kMax, 3}
                                                << rows("3: 0 1 2 3 4 5 6 7 8 9");
    QTest::newRow("vline across the int range") << "vline" << QVector<int>{kMin, kMax, 4}
                                                << points("4,0 4,1 4,2 4,3 4,4 4,5 4,6 4,7 4,8 4,9");
    QTest::newRow("line across the int range, diagonal") << "line" << QVector<int>{kMin, kMin, kMax, kMax}
                                                         << points("0,0 1,1 2,2 3,3 4,4 5,5 6,6 7,7 8,8 9,9");
    // The walk steps y halfway along, at x = 0.
    QTest::newRow("line across the int range, one step") << "line" << QVector<int>{kMax, 1, kMin, 0}
                                                         << rows("1: 0 1 2 3 4 5 6 7 8 9");
    // Slope exactly 1/3: y is (x + 2^31) / 3 rounded, less 715827882.
    QTest::newRow("line across the int range, slope 1/3")
        << "line" << QVector<int>{kMin, -715827882, kMax, 715827883}
        << points("0,1 1,1 2,1 3,2 4,2 5,2 6,3 7,3 8,3 9,4");
    QTest::newRow("line across the int range, steep")
        << "line" << QVector<int>{-715827882, kMin, 715827883, kMax}
        << points("1,0 1,1 1,2 2,3 2,4 2,5 3,6 3,7 3,8 4,9");
    QTest::newRow("line across the int range, falling")
        << "line" << QVector<int>{kMin, 9 + 715827882, kMax, 9 - 715827883}
        << points("0,8 1,8 2,8 3,7 4,7 5,7 6,6 7,6 8,6 9,5");
    // Slope exactly 1/2 from an odd distance: x = 0 and every even x is a
    // tie, which the walk rounds up.
    QTest::newRow("line across the int range, ties round up")
        << "line" << QVector<int>{kMin + 1, -1073741824, kMax, 1073741823}
        << points("0,0 1,0 2,1 3,1 4,2 5,2 6,3 7,3 8,4 9,4");
    QTest::newRow("rect from far left") << "rect" << QVector<int>{-2000000000, 2, 2000000006, 5}
                                        << rows("2: 0 1 2 3 4 5; 3: 5; 4: 5; 5: 5; 6: 0 1 2 3 4 5");
    QTest::newRow("rect from far above") << "rect" << QVector<int>{2, -2000000000, 5, 2000000006}
                                         << rows("0: 2 6; 1: 2 6; 2: 2 6; 3: 2 6; 4: 2 6; 5: 2 3 4 5 6");
    QTest::newRow("filled rect from far outside")
        << "fillrect" << QVector<int>{-2000000000, -2000000000, 2000000005, 2000000003}
        << rows("0: 0 1 2 3 4; 1: 0 1 2 3 4; 2: 0 1 2 3 4");
    QTest::newRow("filled rect of the int range, left of the raster")
        << "fillrect" << QVector<int>{kMin, kMin, kMax, kMax} << points("");
    QTest::newRow("disc r100000 over the raster") << "fillcircle" << QVector<int>{5, 5, 100000} << rows(strFull);
    QTest::newRow("disc of int-range radius over the raster") << "fillcircle" << QVector<int>{5, 5, kMax}
                                                              << rows(strFull);
    // Offsets stay at the radius while i^2 <= r, so the edge is a column.
    QTest::newRow("circle of int-range radius, right edge")
        << "circle" << QVector<int>{4 - kMax, 5, kMax} << points("4,0 4,1 4,2 4,3 4,4 4,5 4,6 4,7 4,8 4,9");
    QTest::newRow("circle of int-range radius, left edge")
        << "circle" << QVector<int>{kMax, 5, kMax} << points("0,0 0,1 0,2 0,3 0,4 0,5 0,6 0,7 0,8 0,9");
    // 3 x 65536 / 100000 is 1 in 16.16, so the ellipse spans rows 4..6 only.
    QTest::newRow("ellipse 100000 x 3 over the raster")
        << "fillellipse" << QVector<int>{5, 5, 100000, 3}
        << rows("4: 0 1 2 3 4 5 6 7 8 9; 5: 0 1 2 3 4 5 6 7 8 9; 6: 0 1 2 3 4 5 6 7 8 9");
    QTest::newRow("ellipse outline 100000 x 3 through the raster")
        << "ellipse" << QVector<int>{5, 5, 100000, 3}
        << rows("4: 0 1 2 3 4 5 6 7 8 9; 6: 0 1 2 3 4 5 6 7 8 9");
    // 3 / (2^31 - 1) scales to 0: the outline keeps its axis, the filled
    // form has only empty runs.
    QTest::newRow("ellipse outline of int-range height")
        << "ellipse" << QVector<int>{5, 5, 3, kMax} << points("5,0 5,1 5,2 5,3 5,4 5,5 5,6 5,7 5,8 5,9");
    QTest::newRow("filled ellipse of int-range height") << "fillellipse" << QVector<int>{5, 5, 3, kMax}
                                                        << points("");
}

void TestGraphX::clippedPrimitives()
{
    QFETCH(QString, shape);
    QFETCH(QVector<int>, args);
    QFETCH(QVector<QPoint>, expected);
    ImageProcess raster(8, 10, 10, 0);
    QVERIFY2(drawShape(raster, shape, args, 3), "unknown shape");
    QCOMPARE(pointsWithValue(raster, 10, 10, 3), expected);
}

void TestGraphX::clippedWalks_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QVector<int>>("args");
    QTest::addColumn<QSize>("size");

    // Large shapes seen through a small raster at the places where their
    // walks turn: the flat top, where many steps share a row; the octant
    // diagonal, where the walk ends; the steep side; the tips of ellipses.
    const QSize small(10, 10), odd(13, 7);
    QTest::newRow("circle top") << "circle" << QVector<int>{5, 100003, 100000} << small;
    QTest::newRow("circle octant") << "circle" << QVector<int>{5 - 70711, 5 + 70711, 100000} << small;
    QTest::newRow("circle side") << "circle" << QVector<int>{5 - 100000, 5, 100000} << small;
    QTest::newRow("circle r1000000 octant") << "circle" << QVector<int>{6 - 707107, 3 + 707107, 1000000} << odd;
    QTest::newRow("disc top") << "fillcircle" << QVector<int>{5, 100003, 100000} << small;
    QTest::newRow("disc octant") << "fillcircle" << QVector<int>{5 - 70711, 5 + 70711, 100000} << small;
    QTest::newRow("disc r1000000 octant") << "fillcircle" << QVector<int>{6 - 707107, 3 + 707107, 1000000} << odd;
    QTest::newRow("ellipse wide tip") << "ellipse" << QVector<int>{5 - 100000, 5, 100000, 3} << small;
    QTest::newRow("ellipse wide octant") << "ellipse" << QVector<int>{5 - 70711, 5 + 28284, 100000, 40000} << small;
    QTest::newRow("ellipse tall top") << "ellipse" << QVector<int>{5, 100003, 40000, 100000} << small;
    QTest::newRow("ellipse tall octant") << "ellipse" << QVector<int>{5 + 28284, 5 - 70711, 40000, 100000} << odd;
    // A negative smaller radius scales by -3: the keys jump by three.
    QTest::newRow("ellipse negative radius") << "ellipse" << QVector<int>{5 - 600, 5 - 2400, 1000, -3000} << small;
    QTest::newRow("filled ellipse wide tip") << "fillellipse" << QVector<int>{5 - 100000, 5, 100000, 3} << small;
    QTest::newRow("filled ellipse wide octant")
        << "fillellipse" << QVector<int>{5 - 70711, 5 + 28284, 100000, 40000} << small;
    QTest::newRow("filled ellipse tall top") << "fillellipse" << QVector<int>{5, 100003, 40000, 100000} << odd;
    // Small shapes across the border, stepped through rather than read by
    // rows, and thin ones through the raster, read by rows.
    QTest::newRow("disc across the corner") << "fillcircle" << QVector<int>{2, 3, 9} << odd;
    QTest::newRow("ellipse across the border") << "ellipse" << QVector<int>{-3, 4, 12, 5} << odd;
    QTest::newRow("thin ellipse through the raster") << "ellipse" << QVector<int>{6, 3, 30, 2} << odd;
    QTest::newRow("thin filled ellipse through the raster") << "fillellipse" << QVector<int>{6, 3, 30, 2} << odd;
    QTest::newRow("line shallow") << "line" << QVector<int>{-1000000, -333333, 1000005, 333340} << small;
    QTest::newRow("line steep") << "line" << QVector<int>{-333333, -1000000, 333340, 1000005} << odd;
    QTest::newRow("line falling") << "line" << QVector<int>{-1000000, 666673, 1000005, -666660} << small;
}

void TestGraphX::clippedWalks()
{
    QFETCH(QString, shape);
    QFETCH(QVector<int>, args);
    QFETCH(QSize, size);
    WalkReference reference(size.width(), size.height());
    QVERIFY2(reference.draw(shape, args), "unknown shape");
    ImageProcess raster(8, size.width(), size.height(), 0);
    QVERIFY2(drawShape(raster, shape, args, 3), "unknown shape");
    QCOMPARE(pointsWithValue(raster, size.width(), size.height(), 3), reference.points());
}

void TestGraphX::floodFill_data()
{
    QTest::addColumn<QStringList>("picture");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QVector<QPoint>>("filled");

    QTest::newRow("one-pixel-wide column")
        << QStringList{"00100", "00100", "00100", "00100"} << QPoint(2, 3) << rows("0: 2; 1: 2; 2: 2; 3: 2");
    // The region goes down one leg and up the other, and reaches the border
    // where pixel() reads 0 outside the raster.
    QTest::newRow("U shape at the border")
        << QStringList{"10101", "10101", "10001", "11111"} << QPoint(1, 0) << rows("0: 1 3; 1: 1 3; 2: 1 2 3");
    QTest::newRow("4-connected only")
        << QStringList{"110", "101", "011"} << QPoint(0, 0) << rows("0: 0 1; 1: 0");
    QTest::newRow("whole raster") << QStringList{"222", "222"} << QPoint(1, 1) << rows("0: 0 1 2; 1: 0 1 2");
}

void TestGraphX::floodFill()
{
    QFETCH(QStringList, picture);
    QFETCH(QPoint, start);
    QFETCH(QVector<QPoint>, filled);
    const int w = picture[0].size(), h = picture.size();
    ImageProcess raster(8, w, h, 0);
    paint(raster, picture);
    raster.floodFill(start.x(), start.y(), 7);
    QCOMPARE(pointsWithValue(raster, w, h, 7), filled);
}

void TestGraphX::floodFillEnds_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("value");
    QTest::addColumn<QPoint>("start");
    QTest::newRow("same value") << 8 << 0 << QPoint(1, 1);
    // Depth 8 keeps the low byte: 0x100 reads back as 0, the region's value.
    QTest::newRow("value reading back as the region") << 8 << 0x100 << QPoint(1, 1);
    // Depth 1 bytes take the negated value: 129 gives 127, read as clear.
    QTest::newRow("depth 1 value reading back as clear") << 1 << 129 << QPoint(0, 0);
    QTest::newRow("start outside") << 8 << 5 << QPoint(-1, 2);
}

void TestGraphX::floodFillEnds()
{
    QFETCH(int, depth);
    QFETCH(int, value);
    QFETCH(QPoint, start);
    ImageProcess raster(depth, 4, 3, 0);
    raster.floodFill(start.x(), start.y(), value);
    QCOMPARE(pointsWithValue(raster, 4, 3, 0).size(), 12);
}

void TestGraphX::floodFillTallRegion()
{
    // A region a recursive fill would descend row by row.
    const int h = 200000;
    ImageProcess column(8, 1, h, 4);
    column.floodFill(0, h / 2, 9);
    QCOMPARE(column.pixel(0, 0), 9);
    QCOMPARE(column.pixel(0, h - 1), 9);

    // A serpentine corridor, so the fill turns back and forth.
    ImageProcess maze(8, 41, 41, 0);
    for (int y = 1; y < 41; y += 2)
        maze.drawHLine(y % 4 == 1 ? 0 : 1, y % 4 == 1 ? 40 : 41, y, 1);
    maze.floodFill(0, 0, 6);
    QCOMPARE(pointsWithValue(maze, 41, 41, 0).size(), 0);
    QCOMPARE(maze.pixel(40, 40), 6);
}

QTEST_GUILESS_MAIN(TestGraphX)
#include "tst_GraphX.moc"
