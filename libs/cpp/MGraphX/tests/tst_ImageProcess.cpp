#include "ImageProcess.h"
#include "ImageProcessDouble.h"
#include "ImageProcessFloat.h"
#include "TestImages.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace MGraphX;

namespace {

enum class Sample { Byte, Float, Double };

std::unique_ptr<GraphX> makeRaster(Sample sample, int nDepth, int nWidth, int nHeight, int nFill)
{
    switch (sample) {
    case Sample::Byte: return std::make_unique<ImageProcess>(nDepth, nWidth, nHeight, nFill);
    case Sample::Float: return std::make_unique<ImageProcessFloat>(nDepth, nWidth, nHeight, nFill);
    case Sample::Double: return std::make_unique<ImageProcessDouble>(nDepth, nWidth, nHeight, nFill);
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Sample)

class TestImageProcess : public QObject
{
    Q_OBJECT

private slots:
    void pixelAndSetPixel_data();
    void pixelAndSetPixel();
    void depthConstructorFills();
    void oversizedRasterIsEmpty_data();
    void oversizedRasterIsEmpty();
    void splitsPictureIntoPlanes();
    void splitChannelsShortInput();
    void loadsNonAsciiFileName();
    void copyIsDeep();
    void brighten_data();
    void brighten();
    void brightenPalette();
    void applyTable();
    void convertDepth_data();
    void convertDepth();
    void histogramCountsPlane();
    void toImage_data();
    void toImage();
    void hooksAndSharedValues();
};

void TestImageProcess::pixelAndSetPixel_data()
{
    QTest::addColumn<Sample>("sample");
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("readBack");
    const struct { Sample sample; const char* pName; } samples[] = {
        {Sample::Byte, "byte"}, {Sample::Float, "float"}, {Sample::Double, "double"}};
    for (const auto& s : samples) {
        QTest::addRow("%s depth 24 colour", s.pName) << s.sample << 24 << 0x7F123456 << 0x123456;
        QTest::addRow("%s depth 8 low byte", s.pName) << s.sample << 8 << 0x1FE << 0xFE;
        QTest::addRow("%s depth 1 set", s.pName) << s.sample << 1 << 1 << 1;
        QTest::addRow("%s depth 1 clear", s.pName) << s.sample << 1 << 0 << 0;
    }
    // A byte sample takes the negated low byte: 2 becomes 254 (set), 200
    // becomes 56 (clear).
    QTest::newRow("byte depth 1 value 2") << Sample::Byte << 1 << 2 << 1;
    QTest::newRow("byte depth 1 value 200") << Sample::Byte << 1 << 200 << 0;
}

void TestImageProcess::pixelAndSetPixel()
{
    QFETCH(Sample, sample);
    QFETCH(int, depth);
    QFETCH(int, value);
    QFETCH(int, readBack);
    auto pRaster = makeRaster(sample, depth, 3, 2, depth == 1 ? 1 : 0);
    const int nBefore = pRaster->pixel(2, 1);
    pRaster->setPixel(2, 1, value);
    QCOMPARE(pRaster->pixel(2, 1), readBack);
    QCOMPARE(pRaster->pixel(1, 1), nBefore); // neighbours untouched

    // Outside reads 0 and ignores writes, negative coordinates included.
    for (const QPoint& p : {QPoint(-1, 0), QPoint(0, -1), QPoint(3, 0), QPoint(0, 2)}) {
        pRaster->setPixel(p.x(), p.y(), value);
        QCOMPARE(pRaster->pixel(p.x(), p.y()), 0);
    }
}

void TestImageProcess::depthConstructorFills()
{
    const ImageProcess binary(1, 2, 2, 1);
    QCOMPARE(int(binary.redPlane()[3]), 255);
    QVERIFY(!binary.greenPlane());
    const ImageProcessFloat binaryFloat(1, 2, 2, 1);
    QCOMPARE(binaryFloat.redPlane()[0], 255.0f);

    const ImageProcess paletted(8, 2, 2, 7);
    QCOMPARE(int(paletted.redPlane()[3]), 7);
    QCOMPARE(int(paletted.paletteRed()[200]), 200);
    QCOMPARE(int(paletted.paletteBlue()[0]), 0);
    QCOMPARE(paletted.depth(), 8);

    const ImageProcessDouble color(24, 2, 2, 0x102030);
    QCOMPARE(color.redPlane()[3], 16.0);
    QCOMPARE(color.greenPlane()[3], 32.0);
    QCOMPARE(color.bluePlane()[3], 48.0);
    QVERIFY(!color.alphaPlane());
    QCOMPARE(color.pixel(1, 1), 0x102030);
}

void TestImageProcess::oversizedRasterIsEmpty_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("product above the int range") << 100000 << 100000;
    QTest::newRow("product just above the limit") << 15000 << 10001;
    QTest::newRow("negative width") << -4 << 4;
}

void TestImageProcess::oversizedRasterIsEmpty()
{
    QFETCH(int, width);
    QFETCH(int, height);
    ImageProcess raster(24, width, height, 0);
    QCOMPARE(raster.width(), 0);
    QCOMPARE(raster.height(), 0);
    QVERIFY(!raster.redPlane());
    raster.setPixel(0, 0, 1);
    QCOMPARE(raster.pixel(0, 0), 0);
    QVERIFY(raster.toImage().isNull());
}

void TestImageProcess::splitsPictureIntoPlanes()
{
    // Odd width, so a copy that assumed padded rows would show.
    QImage image = filled(3, 2, qRgba(10, 20, 30, 128));
    image.setPixel(2, 1, qRgb(200, 100, 50));
    const ImageProcess raster(image);
    QCOMPARE(raster.width(), 3);
    QCOMPARE(raster.height(), 2);
    QCOMPARE(raster.depth(), 24);
    QCOMPARE(raster.pixel(0, 0), 0x0A141E);
    QCOMPARE(raster.pixel(2, 1), 0xC86432);
    QCOMPARE(int(raster.redPlane()[5]), 200);
    QCOMPARE(int(raster.bluePlane()[5]), 50);
    // The planes come from the RGB32 conversion: opaque.
    QCOMPARE(int(raster.alphaPlane()[0]), 255);
}

void TestImageProcess::splitChannelsShortInput()
{
    ImageProcess raster(24, 2, 2, 0x010101);
    const uchar pixels[] = {1, 2, 3, 4, 5, 6, 7, 8}; // two little-endian pixels: B G R A
    QVERIFY(raster.splitChannels(pixels, 2));
    QCOMPARE(raster.pixel(0, 0), 0x030201);
    QCOMPARE(int(raster.alphaPlane()[1]), 8);
    QCOMPARE(raster.pixel(1, 0), 0x070605);
    QCOMPARE(raster.pixel(0, 1), 0);
    QCOMPARE(int(raster.alphaPlane()[3]), 0);
}

void TestImageProcess::loadsNonAsciiFileName()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString strPath = dir.filePath(QStringLiteral("Gr\u00fc\u00dfe \u65e5.png"));
    QVERIFY(filled(4, 3, qRgb(1, 2, 3)).save(strPath));
    const ImageProcessFloat raster(QFile::encodeName(strPath).constData());
    QCOMPARE(raster.width(), 4);
    QCOMPARE(raster.height(), 3);
    QCOMPARE(raster.pixel(3, 2), 0x010203);

    const ImageProcess missing(QFile::encodeName(dir.filePath("none.png")).constData());
    QCOMPARE(missing.width(), 0);
    QCOMPARE(missing.pixel(0, 0), 0);
}

void TestImageProcess::copyIsDeep()
{
    ImageProcess original(8, 2, 2, 5);
    original.convertDepth(3); // sets the grey flag; 5 -> high colour
    ImageProcess copy(original);
    QVERIFY(copy.hasGraySamples());
    copy.setPixel(0, 0, 9);
    copy.paletteRed()[1] = 77;
    QCOMPARE(original.pixel(0, 0), 255);
    QCOMPARE(int(original.paletteRed()[1]), 1);
    QCOMPARE(copy.pixel(1, 1), 255);
}

void TestImageProcess::brighten_data()
{
    QTest::addColumn<int>("sample");
    QTest::addColumn<int>("amount");
    QTest::addColumn<int>("result");
    QTest::newRow("240 + 30 stops at the high colour") << 240 << 30 << 255;
    QTest::newRow("10 + 30") << 10 << 30 << 40;
    QTest::newRow("10 - 30 stops at the low colour") << 10 << -30 << 0;
    QTest::newRow("huge amount") << 1 << INT_MAX << 255;
    QTest::newRow("huge negative amount") << 1 << INT_MIN << 0;
}

void TestImageProcess::brighten()
{
    QFETCH(int, sample);
    QFETCH(int, amount);
    QFETCH(int, result);
    ImageProcess raster(filled(2, 1, qRgba(sample, sample, sample, 9)));
    raster.brighten(amount);
    QCOMPARE(raster.pixel(1, 0), result << 16 | result << 8 | result);
    const QImage image = raster.toImage();
    QCOMPARE(image.format(), QImage::Format_ARGB32);
    QCOMPARE(image.pixel(1, 0), qRgb(result, result, result));
}

void TestImageProcess::brightenPalette()
{
    // Depth 8: the palettes move, the indices stay.
    ImageProcess paletted(8, 2, 1, 250);
    paletted.brighten(10);
    QCOMPARE(paletted.pixel(0, 0), 250);
    QCOMPARE(int(paletted.paletteRed()[250]), 255);
    QCOMPARE(int(paletted.paletteGreen()[3]), 13);
    QCOMPARE(int(paletted.paletteBlue()[0]), 10);

    // Grey samples at depth 8 move the plane instead.
    ImageProcess grey(8, 2, 1, 100);
    grey.convertDepth(0); // every sample to the high colour, grey flag set
    grey.brighten(-55);
    QCOMPARE(grey.pixel(0, 0), 200);
    QCOMPARE(int(grey.paletteRed()[200]), 200);

    // Depth 1 is binarised again at 127 afterwards.
    ImageProcess binary(1, 2, 1, 1);
    binary.brighten(-128); // 255 -> 127: below 127? no, so it stays set
    QCOMPARE(binary.pixel(0, 0), 1);
    QCOMPARE(int(binary.redPlane()[0]), 255);
    binary.brighten(-129); // 255 -> 126: cleared
    QCOMPARE(binary.pixel(0, 0), 0);
    QCOMPARE(int(binary.redPlane()[0]), 0);
}

void TestImageProcess::applyTable()
{
    uchar identity[256], invert[256];
    for (int i = 0; i < 256; ++i) {
        identity[i] = uchar(i);
        invert[i] = uchar(255 - i);
    }
    QImage image = filled(3, 1, qRgb(1, 128, 254));
    image.setPixel(1, 0, qRgb(0, 127, 255));
    ImageProcess raster(image);
    raster.applyTable(identity);
    QCOMPARE(raster.pixel(0, 0), 0x0180FE);
    QCOMPARE(raster.pixel(1, 0), 0x007FFF);
    raster.applyTable(invert);
    QCOMPARE(raster.pixel(0, 0), 0xFE7F01);
    QCOMPARE(raster.pixel(1, 0), 0xFF8000);

    // Depth 1: the mapped samples are binarised again (above 126 set).
    uchar toward[256];
    for (int i = 0; i < 256; ++i)
        toward[i] = uchar(i == 255 ? 127 : 126);
    ImageProcess binary(1, 2, 1, 1);
    binary.setPixel(1, 0, 0);
    binary.applyTable(toward);
    QCOMPARE(int(binary.redPlane()[0]), 255);
    QCOMPARE(int(binary.redPlane()[1]), 0);
}

void TestImageProcess::convertDepth_data()
{
    QTest::addColumn<QRgb>("color");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("result");
    // (30 + 60 + 91) / 3 = 60 truncated.
    QTest::newRow("mean at the level") << qRgb(30, 60, 91) << 60 << 255;
    QTest::newRow("mean below the level") << qRgb(30, 60, 91) << 61 << 0;
    QTest::newRow("white, level 256") << qRgb(255, 255, 255) << 256 << 0;
}

void TestImageProcess::convertDepth()
{
    QFETCH(QRgb, color);
    QFETCH(int, level);
    QFETCH(int, result);
    ImageProcess raster(filled(1, 1, color));
    raster.convertDepth(level);
    QVERIFY(raster.hasGraySamples());
    QCOMPARE(raster.depth(), 24);
    QCOMPARE(raster.pixel(0, 0), result << 16 | result << 8 | result);
}

void TestImageProcess::histogramCountsPlane()
{
    QImage image = filled(3, 2, qRgb(7, 9, 9));
    image.setPixel(0, 1, qRgb(200, 9, 9));
    const ImageProcess raster(image);
    int bins[256];
    raster.histogram(bins);
    QCOMPARE(bins[7], 5);
    QCOMPARE(bins[200], 1);
    raster.histogram(bins, raster.greenPlane());
    QCOMPARE(bins[9], 6);
    QCOMPARE(bins[7], 0);
}

void TestImageProcess::toImage_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("fill");
    QTest::addColumn<QRgb>("pixel");
    QTest::newRow("depth 24 colour") << 24 << 0x123456 << QRgb(0xFF123456);
    // At depths 8 and 1 the sample read by pixel() lands in the blue byte.
    QTest::newRow("depth 8 index in blue") << 8 << 0x7B << QRgb(0xFF00007B);
    QTest::newRow("depth 1 set bit in blue") << 1 << 1 << QRgb(0xFF000001);
}

void TestImageProcess::toImage()
{
    QFETCH(int, depth);
    QFETCH(int, fill);
    QFETCH(QRgb, pixel);
    const ImageProcess raster(depth, 3, 2, fill);
    const QImage image = raster.toImage();
    QCOMPARE(image.format(), QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(3, 2));
    QCOMPARE(image.pixel(0, 0), pixel);
    QCOMPARE(image.pixel(2, 1), pixel);
}

void TestImageProcess::hooksAndSharedValues()
{
    // A derived raster sees the first two parameters in hook2 through hook1.
    struct Probe : ImageProcess {
        Probe() : ImageProcess(24, 1, 1, 0) {}
        int nCalls = 0;
        void hook2(int& a, int& b) override { ++nCalls; a = b = 99; }
    } probe;
    probe.hook1();
    QCOMPARE(probe.nCalls, 1);
    QCOMPARE(probe.sharedInt1(), 0);
    QCOMPARE(probe.sharedInt2(), 0);
    QVERIFY(!probe.sharedFlag());

    // A picture with alpha comes back opaque.
    const QImage image = ImageProcess(filled(2, 2, qRgba(40, 50, 60, 0))).toImage();
    QCOMPARE(image.pixel(1, 1), qRgb(40, 50, 60));
}

QTEST_GUILESS_MAIN(TestImageProcess)
#include "tst_ImageProcess.moc"
