#include "ImageProcess.h"

#include <QtTest>

#include <algorithm>

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
    const auto& a = args;
    if (shape == "line") raster.drawLine(a[0], a[1], a[2], a[3], v);
    else if (shape == "hline") raster.drawHLine(a[0], a[1], a[2], v);
    else if (shape == "vline") raster.drawVLine(a[0], a[1], a[2], v);
    else if (shape == "rect") raster.drawRect(a[0], a[1], a[2], a[3], v);
    else if (shape == "fillrect") raster.fillRect(a[0], a[1], a[2], a[3], v);
    else if (shape == "circle") raster.drawCircle(a[0], a[1], a[2], v);
    else if (shape == "fillcircle") raster.fillCircle(a[0], a[1], a[2], v);
    else if (shape == "ellipse") raster.drawEllipse(a[0], a[1], a[2], a[3], v);
    else if (shape == "fillellipse") raster.fillEllipse(a[0], a[1], a[2], a[3], v);
    else QFAIL("unknown shape");
    QCOMPARE(pointsWithValue(raster, w, h, v), expected);
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
