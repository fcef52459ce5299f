#include "ImageFilters.h"
#include "TestImages.h"

#include <QPainter>
#include <QtTest>

#include <climits>

using namespace MGraphX;

namespace {

// Each pixel holds its own coordinates, so moved pixels can be traced.
QImage coordinateImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x, y, 7));
    return image;
}

// Nine different opaque pixels, row by row; the expected pictures below are
// worked out from the formulas by hand (or by a few lines of script, in
// single precision where the filter computes in it).
QImage threeByThree()
{
    const QRgb pixels[9] = {qRgb(200, 100, 50), qRgb(0, 200, 0),   qRgb(10, 250, 100),
                            qRgb(255, 0, 0),    qRgb(0, 0, 200),   qRgb(120, 60, 30),
                            qRgb(33, 66, 99),   qRgb(250, 240, 230), qRgb(0, 0, 0)};
    QImage image(3, 3, QImage::Format_RGB32);
    for (int i = 0; i < 9; ++i)
        image.setPixel(i % 3, i / 3, pixels[i]);
    return image;
}

QImage threeByThree(const QVector<QRgb>& pixels)
{
    QImage image(3, 3, QImage::Format_RGB32);
    for (int i = 0; i < 9; ++i)
        image.setPixel(i % 3, i / 3, pixels.at(i));
    return image;
}

// Every pixel that differs, with its place, so a failure names it.
QString differences(const QImage& result, const QImage& expected)
{
    if (result.size() != expected.size())
        return QStringLiteral("size %1x%2").arg(result.width()).arg(result.height());
    QStringList out;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (result.pixel(x, y) != expected.pixel(x, y))
                out << QStringLiteral("(%1,%2): %3 instead of %4")
                           .arg(x).arg(y)
                           .arg(result.pixel(x, y), 8, 16, QLatin1Char('0'))
                           .arg(expected.pixel(x, y), 8, 16, QLatin1Char('0'));
    return out.join(QStringLiteral("; "));
}

} // namespace

class TestImageFilters : public QObject
{
    Q_OBJECT

private slots:
    void toGrayValues_data();
    void toGrayValues();
    void toGrayConvertsOtherFormats_data();
    void toGrayConvertsOtherFormats();
    void fitIntoSizePlacement_data();
    void fitIntoSizePlacement();
    void fitIntoSizeMargins_data();
    void fitIntoSizeMargins();
    void transforms_data();
    void transforms();
    void channelValues_data();
    void channelValues();
    void crops();
    void edgesComputesInnerPixels();
    void twoImageOperations();
    void exactPixels_data();
    void exactPixels();
    void borders_data();
    void borders();
    void replaceHueWrapsAt359();
    void blurStrength_data();
    void blurStrength();
    void blurRectOutsideLeavesImage_data();
    void blurRectOutsideLeavesImage();
    void alphaFromMaskTakesRed();
    void badgeDraws();
};

void TestImageFilters::toGrayValues_data()
{
    QTest::addColumn<QRgb>("input");
    QTest::addColumn<QRgb>("output");
    QTest::newRow("half-transparent red") << qRgba(255, 0, 0, 128) << qRgba(85, 85, 85, 128);
    QTest::newRow("transparent") << qRgba(1, 2, 3, 0) << qRgba(2, 2, 2, 0);
    QTest::newRow("white") << qRgb(255, 255, 255) << qRgb(255, 255, 255);
}

void TestImageFilters::toGrayValues()
{
    QFETCH(QRgb, input);
    QFETCH(QRgb, output);
    const QImage source = filled(3, 2, input);
    const QImage result = toGray(source);
    QCOMPARE(result.format(), QImage::Format_ARGB32);
    QCOMPARE(result.size(), QSize(3, 2));
    QCOMPARE(result.pixel(2, 1), output);
    QCOMPARE(source.pixel(2, 1), input); // source untouched
}

void TestImageFilters::toGrayConvertsOtherFormats_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("alpha");
    QTest::newRow("indexed") << int(QImage::Format_Indexed8) << false;
    QTest::newRow("grayscale8") << int(QImage::Format_Grayscale8) << false;
    QTest::newRow("mono") << int(QImage::Format_Mono) << false;
    QTest::newRow("rgba64") << int(QImage::Format_RGBA64) << true;
    QTest::newRow("rgb888") << int(QImage::Format_RGB888) << false;
}

void TestImageFilters::toGrayConvertsOtherFormats()
{
    QFETCH(int, format);
    QFETCH(bool, alpha);
    // 1-pixel-high and odd-width pictures have the shortest rows.
    for (const QSize size : {QSize(1, 1), QSize(5, 1), QSize(33, 3)}) {
        QImage base(size, QImage::Format_ARGB32);
        base.fill(qRgba(200, 100, 0, alpha ? 100 : 255));
        const QImage source = base.convertToFormat(QImage::Format(format));
        const QImage result = toGray(source);
        QCOMPARE(result.size(), size);
        QCOMPARE(result.format(), source.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        QCOMPARE(source.hasAlphaChannel(), alpha || format == QImage::Format_Indexed8);
        const QRgb p = source.pixel(size.width() - 1, size.height() - 1);
        const int g = (qRed(p) + qGreen(p) + qBlue(p)) / 3;
        QCOMPARE(result.pixel(size.width() - 1, size.height() - 1), qRgba(g, g, g, qAlpha(p)));
    }
}

void TestImageFilters::fitIntoSizePlacement_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QRect>("picture");
    QTest::newRow("wide") << QSize(100, 50) << QRect(0, 12, 48, 24);
    QTest::newRow("tall") << QSize(50, 100) << QRect(12, 0, 24, 48);
    QTest::newRow("square") << QSize(96, 96) << QRect(0, 0, 48, 48);
}

void TestImageFilters::fitIntoSizePlacement()
{
    QFETCH(QSize, source);
    QFETCH(QRect, picture);
    const QRgb red = qRgb(255, 0, 0);
    const QImage result = fitIntoSize(filled(source.width(), source.height(), red, QImage::Format_RGB32),
                                      QSize(48, 48), QColor(100, 100, 100, 0));
    QCOMPARE(result.size(), QSize(48, 48));
    QCOMPARE(result.pixel(picture.center()), red);
    QCOMPARE(result.pixel(picture.topLeft()), red);
    QCOMPARE(result.pixel(picture.bottomRight()), red);
    if (picture.top() > 0) {
        QCOMPARE(result.pixel(0, picture.top() - 1), qRgb(100, 100, 100));
        QCOMPARE(result.pixel(0, picture.bottom() + 1), qRgb(100, 100, 100));
    }
    if (picture.left() > 0)
        QCOMPARE(result.pixel(picture.left() - 1, 0), qRgb(100, 100, 100));
}

void TestImageFilters::fitIntoSizeMargins_data()
{
    QTest::addColumn<QImage>("source");
    QTest::addColumn<QRgb>("margin");
    const QImage wide = filled(100, 50, qRgb(0, 0, 255), QImage::Format_RGB32);
    QTest::newRow("rgb32 opaque grey") << wide << qRgb(100, 100, 100);
    QTest::newRow("argb32 transparent") << wide.convertToFormat(QImage::Format_ARGB32) << 0u;
    QTest::newRow("indexed shows its picture")
        << wide.convertToFormat(QImage::Format_Indexed8) << 0u;
    QTest::newRow("grayscale shows its picture")
        << wide.convertToFormat(QImage::Format_Grayscale8) << 0u;
}

void TestImageFilters::fitIntoSizeMargins()
{
    QFETCH(QImage, source);
    QFETCH(QRgb, margin);
    const QImage result = fitIntoSize(source, QSize(48, 48), QColor(100, 100, 100, 0));
    QCOMPARE(result.size(), QSize(48, 48));
    QCOMPARE(qAlpha(result.pixel(0, 0)), qAlpha(margin));
    if (qAlpha(margin) == 255)
        QCOMPARE(result.pixel(0, 0), margin);
    QCOMPARE(result.pixel(24, 24), source.pixel(50, 25));
    QVERIFY(fitIntoSize(QImage(), QSize(48, 48), Qt::gray).isNull());
}

void TestImageFilters::transforms_data()
{
    QTest::addColumn<QImage>("result");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QPoint>("from");
    const QImage source = coordinateImage(3, 2);
    QTest::newRow("rotateLeft") << rotateLeft(source) << QSize(2, 3) << QPoint(0, 0) << QPoint(2, 0);
    QTest::newRow("rotateLeft corner") << rotateLeft(source) << QSize(2, 3) << QPoint(1, 2) << QPoint(0, 1);
    QTest::newRow("rotateRight") << rotateRight(source) << QSize(2, 3) << QPoint(0, 0) << QPoint(0, 1);
    QTest::newRow("rotate180") << rotate180(source) << QSize(3, 2) << QPoint(0, 0) << QPoint(2, 1);
    QTest::newRow("mirror h") << mirror(source, true, false) << QSize(3, 2) << QPoint(0, 0) << QPoint(2, 0);
    QTest::newRow("crop") << cropMargins(source, 1, 0, 1, 0) << QSize(2, 1) << QPoint(1, 0) << QPoint(2, 1);
}

void TestImageFilters::transforms()
{
    QFETCH(QImage, result);
    QFETCH(QSize, size);
    QFETCH(QPoint, at);
    QFETCH(QPoint, from);
    QCOMPARE(result.size(), size);
    QCOMPARE(result.pixel(at), coordinateImage(3, 2).pixel(from));
}

void TestImageFilters::channelValues_data()
{
    QTest::addColumn<QImage>("result");
    QTest::addColumn<QRgb>("expected");
    auto one = [](int r, int g, int b) { return filled(1, 1, qRgba(r, g, b, 77)); };
    const QVector<int> levels{64, 128, 192};
    QTest::newRow("snap 10 95 96") << snapToLevels(one(10, 95, 96), levels) << qRgba(0, 64, 128, 77);
    QTest::newRow("snap 192 200 128") << snapToLevels(one(192, 200, 128), levels) << qRgba(192, 255, 128, 77);
    QTest::newRow("snap single level") << snapToLevels(one(10, 100, 101), {100}) << qRgba(0, 100, 255, 77);
    QTest::newRow("snap no levels") << snapToLevels(one(10, 100, 101), {}) << qRgba(10, 100, 101, 77);
    QTest::newRow("threshold") << threshold(one(127, 128, 255), 128) << qRgba(0, 255, 255, 77);
    QTest::newRow("invert") << invert(one(0, 100, 255)) << qRgba(255, 155, 0, 77);
    QImage palette(1, 1, QImage::Format_Indexed8);
    palette.setColorTable({qRgb(9, 9, 9), qRgba(0, 100, 255, 77)});
    palette.setPixel(0, 0, 1);
    QTest::newRow("invert palette") << invert(palette) << qRgba(255, 155, 0, 77);
    QTest::newRow("swap red blue") << swapRedBlue(one(1, 2, 3)) << qRgba(3, 2, 1, 77);
    QTest::newRow("swap red green") << swapRedGreen(one(1, 2, 3)) << qRgba(2, 1, 3, 77);
    QTest::newRow("swap green blue") << swapGreenBlue(one(1, 2, 3)) << qRgba(1, 3, 2, 77);
    QTest::newRow("brightness") << brightnessContrast(one(10, 250, 100), 10, 0) << qRgba(20, 255, 110, 77);
    QTest::newRow("contrast") << brightnessContrast(one(10, 250, 0), 0, 127) << qRgba(20, 255, 0, 77);
    QTest::newRow("desaturate") << saturate(one(100, 100, 100), 0.0f) << qRgba(100, 100, 100, 77);
    QTest::newRow("saturate 1") << saturate(one(10, 50, 90), 1.0f) << qRgba(10, 50, 90, 77);
    QTest::newRow("adjust") << adjustColors(one(10, 50, 90), 5, 0, 1.0f) << qRgba(15, 55, 95, 77);
}

void TestImageFilters::channelValues()
{
    QFETCH(QImage, result);
    QFETCH(QRgb, expected);
    QCOMPARE(result.pixel(0, 0), expected);
}

void TestImageFilters::crops()
{
    const QImage source = filled(200, 100, qRgb(1, 2, 3), QImage::Format_RGB32);
    QCOMPARE(cropPercent(source, 10, 10, 25, 25).size(), QSize(160, 50));
    QVERIFY(cropMargins(source, 100, 100, 0, 0).isNull());
    QCOMPARE(cropMargins(source, -5, 0, -5, 0).size(), QSize(200, 100));
    QCOMPARE(midRange(3, 9, -1, 4), 4);
}

void TestImageFilters::edgesComputesInnerPixels()
{
    QImage source = filled(4, 4, qRgb(10, 10, 10), QImage::Format_RGB32);
    source.setPixel(1, 1, qRgb(100, 0, 19));
    const QImage result = edges(source);
    // (8 * 100 - 80) / 9 = 80; green negative -> 0; (8 * 19 - 80) / 9 = 8.
    QCOMPARE(result.pixel(1, 1), qRgba(80, 0, 8, 255));
    QCOMPARE(result.pixel(2, 2) & 0xFFFFFFu, 0u); // outside the computed range
}

void TestImageFilters::twoImageOperations()
{
    const QImage a = filled(3, 3, qRgba(10, 200, 30, 100));
    const QImage b = filled(2, 2, qRgba(20, 100, 30, 201));
    QCOMPARE(difference(a, b).pixel(1, 1), qRgba(10, 100, 0, 255));
    QCOMPARE(difference(a, b).pixel(2, 2), a.pixel(2, 2)); // outside the common area
    QCOMPARE(average(a, b).pixel(0, 0), qRgba(15, 150, 30, 150));
    QImage mask = filled(1, 2, qRgb(0, 0, 0), QImage::Format_RGB32);
    mask.setPixel(0, 1, qRgb(0, 0, 1));
    const QImage replaced = maskReplace(a, b, mask);
    QCOMPARE(replaced.pixel(0, 0), b.pixel(0, 0));
    QCOMPARE(replaced.pixel(0, 1), a.pixel(0, 1));
    QCOMPARE(replaced.pixel(1, 0), a.pixel(1, 0)); // beyond the mask
    QCOMPARE(replaceSimilar(a, b, 11).pixel(0, 0), a.pixel(0, 0));
    const QImage near = filled(2, 2, qRgba(15, 195, 25, 1));
    QCOMPARE(replaceSimilar(a, near, 6).pixel(0, 0), near.pixel(0, 0));
}

void TestImageFilters::exactPixels_data()
{
    QTest::addColumn<QImage>("result");
    QTest::addColumn<QImage>("expected");
    const QImage source = threeByThree();

    // Lightness L = sqrt(0.299 R^2 + 0.587 G^2 + 0.114 B^2): (200, 100, 50)
    // gives sqrt(11960 + 5870 + 285) = 134.59; (0, 200, 0) 153.23, (255, 0, 0)
    // 139.44, (0, 0, 200) 67.53. Saturation 0 leaves L in every channel.
    QTest::newRow("lightness weights") << saturate(source, 0.0f) << threeByThree({
        qRgb(134, 134, 134), qRgb(153, 153, 153), qRgb(194, 194, 194),
        qRgb(139, 139, 139), qRgb(67, 67, 67),    qRgb(80, 80, 80),
        qRgb(63, 63, 63),    qRgb(241, 241, 241), qRgb(0, 0, 0)});
    // L + 0.5 (c - L): red of (200, 100, 50) is 134.59 + 32.70 = 167.30.
    QTest::newRow("half saturation") << saturate(source, 0.5f) << threeByThree({
        qRgb(167, 117, 92), qRgb(76, 176, 76),   qRgb(102, 222, 147),
        qRgb(197, 69, 69),  qRgb(33, 33, 133),   qRgb(100, 70, 55),
        qRgb(48, 64, 81),   qRgb(245, 240, 235), qRgb(0, 0, 0)});
    // (b + c) (contrast + 127) / 127 with b = -20 and contrast 63: green of
    // (200, 100, 50) is 80 x 1.4961 = 119.69; below 0 and above 255 clamp.
    QTest::newRow("brightness and contrast factor") << brightnessContrast(source, -20, 63) << threeByThree({
        qRgb(255, 119, 44), qRgb(0, 255, 0),     qRgb(0, 255, 119),
        qRgb(255, 0, 0),    qRgb(0, 0, 255),     qRgb(149, 59, 14),
        qRgb(19, 68, 118),  qRgb(255, 255, 255), qRgb(0, 0, 0)});
    // (b + L + s (c - L)) (contrast + 127) / 127 with b = 10, contrast -64
    // (factor 63 / 127) and s = 1.5: red of (200, 100, 50) is
    // (10 + 134.59 + 98.11) x 0.4961 = 120.40.
    QTest::newRow("colours adjusted") << adjustColors(source, 10, -64, 1.5f) << threeByThree({
        qRgb(120, 45, 8),  qRgb(0, 115, 0),     qRgb(0, 142, 31),
        qRgb(160, 0, 0),   qRgb(0, 0, 137),     qRgb(74, 29, 7),
        qRgb(13, 38, 62),  qRgb(130, 123, 116), qRgb(4, 4, 4)});
    // Radius 4 gives strength 6. Four passes, each running value starting at
    // the first pixel of its walk x 16 and moving by trunc((c x 16 - run) x
    // 6 / 16): columns down, rows right, columns up, rows left. Red of
    // column 0 going down: 200, then 200 x 16 + trunc((255 - 200) x 16 x 6 / 16)
    // = 3530, so 220; then 3530 + trunc((528 - 3530) x 6 / 16) = 2405, so 150.
    QTest::newRow("blur passes") << blurRect(source, QRect(0, 0, 3, 3), 4, false)
                                 << threeByThree({
        qRgb(134, 107, 54), qRgb(104, 126, 59), qRgb(90, 136, 62),
        qRgb(134, 88, 59),  qRgb(109, 104, 66), qRgb(96, 110, 65),
        qRgb(122, 88, 68),  qRgb(105, 103, 75), qRgb(92, 105, 70)})
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);

    // The blends: each pixel of the common area (here the 2 x 2 of the second
    // picture) becomes a 2 x 2 block at double size holding the first
    // picture's pixel once (three quarters) or twice (half) and the second's
    // otherwise; scaling back averages the block. The second's channels
    // differ from the first's by multiples of 4, so the averages are whole.
    QImage second(2, 2, QImage::Format_RGB32);
    second.setPixel(0, 0, qRgb(100, 20, 130));
    second.setPixel(1, 0, qRgb(40, 0, 160));
    second.setPixel(0, 1, qRgb(3, 100, 48));
    second.setPixel(1, 1, qRgb(120, 60, 0));
    QTest::newRow("half blend") << blendHalf(source, second) << threeByThree({
        qRgb(150, 60, 90), qRgb(20, 100, 80),   qRgb(10, 250, 100),
        qRgb(129, 50, 24), qRgb(60, 30, 100),   qRgb(120, 60, 30),
        qRgb(33, 66, 99),  qRgb(250, 240, 230), qRgb(0, 0, 0)});
    QTest::newRow("three-quarter blend") << blendThreeQuarters(source, second) << threeByThree({
        qRgb(125, 40, 110), qRgb(30, 50, 120),   qRgb(10, 250, 100),
        qRgb(66, 75, 36),   qRgb(90, 45, 50),    qRgb(120, 60, 30),
        qRgb(33, 66, 99),   qRgb(250, 240, 230), qRgb(0, 0, 0)});
}

void TestImageFilters::exactPixels()
{
    QFETCH(QImage, result);
    QFETCH(QImage, expected);
    QCOMPARE(result.format(), expected.format());
    const QString diff = differences(result, expected);
    QVERIFY2(diff.isEmpty(), qPrintable(diff));
}

void TestImageFilters::borders_data()
{
    QTest::addColumn<int>("percent");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("margin");
    // The margin is taken from the width only: 10 % of 200 on every side.
    QTest::newRow("10 percent") << 10 << QSize(240, 140) << 20;
    QTest::newRow("none") << 0 << QSize(200, 100) << 0;
    QTest::newRow("negative counts as none") << -10 << QSize(200, 100) << 0;
    QTest::newRow("far too large") << INT_MAX << QSize() << 0;
}

void TestImageFilters::borders()
{
    QFETCH(int, percent);
    QFETCH(QSize, size);
    QFETCH(int, margin);
    QImage source(200, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            source.setPixel(x, y, qRgb(x, y, 7));
    const QImage bordered = addBorder(source, percent, Qt::red);
    if (!size.isValid()) {
        QVERIFY(bordered.isNull());
        return;
    }
    QCOMPARE(bordered.size(), size);
    QCOMPARE(bordered.copy(margin, margin, 200, 100), source);
    if (margin > 0) {
        QCOMPARE(bordered.pixel(margin - 1, margin - 1), qRgb(255, 0, 0));
        QCOMPARE(bordered.pixel(size.width() - 1, size.height() - 1), qRgb(255, 0, 0));
    }
}

void TestImageFilters::replaceHueWrapsAt359()
{
    const QColor from = QColor::fromHsv(350, 200, 200);
    const QColor to = QColor::fromHsv(355, 200, 200);
    QImage source(2, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, QColor::fromHsv(355, 200, 200).rgba());
    source.setPixel(1, 0, QColor::fromHsv(100, 200, 200).rgba());
    const QImage result = replaceHue(source, from, to);
    QCOMPARE(result.format(), QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(QColor(result.pixel(0, 0)).hsvHue(), 1);
    QCOMPARE(result.pixel(1, 0), source.pixel(1, 0));
}

void TestImageFilters::blurStrength_data()
{
    QTest::addColumn<int>("radius");
    QTest::addColumn<int>("second");
    // A 0 -> 160 step: the second pixel of the downward walk becomes
    // (160 * 16 * a / 16) >> 4 = 10 * a, then the later passes smooth it more.
    QTest::newRow("radius 0 copies") << 0 << 160;
    QTest::newRow("radius -3 copies") << -3 << 160;
    QTest::newRow("radius 10") << 10 << 30;
    QTest::newRow("radius 18") << 18 << 10;
}

void TestImageFilters::blurStrength()
{
    QFETCH(int, radius);
    QFETCH(int, second);
    QImage source = filled(1, 2, qRgba(0, 0, 0, 0));
    source.setPixel(0, 1, qRgba(0, 0, 0, 160));
    const QImage result = blurRect(source, QRect(0, 0, 1, 2), radius, true);
    // Down pass gives the second pixel 10 * a; the up pass then walks from it
    // back to the first pixel, and the row passes have one pixel only.
    QCOMPARE(qAlpha(result.pixel(0, 1)), second);
}

void TestImageFilters::blurRectOutsideLeavesImage_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::newRow("right of") << QRect(50, 0, 10, 10);
    QTest::newRow("below") << QRect(0, 50, 10, 10);
    QTest::newRow("left of") << QRect(-30, 0, 10, 10);
    QTest::newRow("reversed above") << QRect(5, -1, 3, -10);
}

void TestImageFilters::blurRectOutsideLeavesImage()
{
    QFETCH(QRect, rect);
    QImage source(20, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            source.setPixel(x, y, qRgb(x * 12, y * 12, (x * y) % 256));
    const QImage result = blurRect(source, rect, 10, false);
    QCOMPARE(result, source.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    QVERIFY(blurRect(source, QRect(2, 2, 10, 10), 10, false) != result);
}

void TestImageFilters::alphaFromMaskTakesRed()
{
    QImage picture = filled(4, 4, qRgb(10, 20, 30));
    QImage mask = filled(2, 2, qRgb(99, 0, 0));
    const QImage result = alphaFromMask(QPixmap::fromImage(picture), QPixmap::fromImage(mask)).toImage();
    QCOMPARE(result.size(), QSize(4, 4));
    QCOMPARE(qAlpha(result.pixel(3, 3)), 99);
}

void TestImageFilters::badgeDraws()
{
    QImage canvas(100, 40, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(0u);
    QPainter painter(&canvas);
    drawBadge(&painter, QPoint(2, 2), QStringLiteral("12"), QFont(), Qt::red, true, 1.0f);
    painter.end();
    QVERIFY(qAlpha(canvas.pixel(10, 8)) > 0);
    QCOMPARE(qAlpha(canvas.pixel(99, 39)), 0);
}

QTEST_MAIN(TestImageFilters)
#include "tst_ImageFilters.moc"
