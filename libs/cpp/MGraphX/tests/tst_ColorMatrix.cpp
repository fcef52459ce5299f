#include "ColorMatrix.h"

#include <QtTest>

#include <functional>

using namespace MGraphX;

using Preset = std::function<void(ColorMatrix&)>;
Q_DECLARE_METATYPE(Preset)

class TestColorMatrix : public QObject
{
    Q_OBJECT

private slots:
    void transform_data();
    void transform();
    void copiesCarryCells();
    void applyToPicture();
};

void TestColorMatrix::transform_data()
{
    QTest::addColumn<Preset>("preset");
    QTest::addColumn<QRgb>("input");
    QTest::addColumn<QRgb>("output");

    QTest::newRow("identity") << Preset([](ColorMatrix&) {}) << qRgba(10, 20, 30, 40) << qRgba(10, 20, 30, 40);
    QTest::newRow("reset after a preset") << Preset([](ColorMatrix& m) { m.setGrayAverage(); m.reset(); })
                                          << qRgba(10, 20, 30, 40) << qRgba(10, 20, 30, 40);
    // (30 + 60 + 90) / 3.
    QTest::newRow("saturation 0") << Preset([](ColorMatrix& m) { m.setSaturation(0); })
                                  << qRgba(30, 60, 90, 200) << qRgba(60, 60, 60, 200);
    QTest::newRow("saturation 1") << Preset([](ColorMatrix& m) { m.setSaturation(1); })
                                  << qRgba(30, 60, 90, 200) << qRgba(30, 60, 90, 200);
    // 181 / 3 = 60.33.
    QTest::newRow("grey average") << Preset([](ColorMatrix& m) { m.setGrayAverage(); })
                                  << qRgba(30, 60, 91, 7) << qRgba(60, 60, 60, 7);
    // 100 x 0.3086 and 255 x 0.0820.
    QTest::newRow("grey luminance red") << Preset([](ColorMatrix& m) { m.setGrayLuminance(); })
                                        << qRgba(100, 0, 0, 255) << qRgba(30, 30, 30, 255);
    QTest::newRow("grey luminance blue") << Preset([](ColorMatrix& m) { m.setGrayLuminance(); })
                                         << qRgba(0, 0, 255, 9) << qRgba(20, 20, 20, 9);
    QTest::newRow("swap red green") << Preset([](ColorMatrix& m) { m.swapRedGreen(); })
                                    << qRgba(10, 20, 30, 40) << qRgba(20, 10, 30, 40);
    QTest::newRow("swap red blue") << Preset([](ColorMatrix& m) { m.swapRedBlue(); })
                                   << qRgba(10, 20, 30, 40) << qRgba(30, 20, 10, 40);
    QTest::newRow("swap green blue") << Preset([](ColorMatrix& m) { m.swapGreenBlue(); })
                                     << qRgba(10, 20, 30, 40) << qRgba(10, 30, 20, 40);
    QTest::newRow("scale clamps high") << Preset([](ColorMatrix& m) { m.setScale(2, 0.5f, 1, 0.5f); })
                                       << qRgba(200, 31, 77, 100) << qRgba(255, 15, 77, 50);
    QTest::newRow("negative brightness clamps at 0") << Preset([](ColorMatrix& m) { m.setBrightness(-1); })
                                                     << qRgba(10, 20, 30, 40) << qRgba(0, 0, 0, 40);
    // d = 1: the red output takes the whole sum 10 + 20 + 30.
    QTest::newRow("tint red") << Preset([](ColorMatrix& m) { m.setTint(1, 0, 0, 1); })
                              << qRgba(10, 20, 30, 255) << qRgba(60, 0, 0, 255);
    QTest::newRow("tint of nothing divides by 1") << Preset([](ColorMatrix& m) { m.setTint(0, 0, 0, 1); })
                                                  << qRgba(10, 20, 30, 255) << qRgba(0, 0, 0, 255);
    // Each weight rounds up to 1, d = 3: 180 x 0.5 / 3 and 180 x 0.25 / 3.
    QTest::newRow("tint weights round up") << Preset([](ColorMatrix& m) { m.setTint(0.5f, 0.25f, 0.25f, 1); })
                                           << qRgba(30, 60, 90, 255) << qRgba(30, 15, 15, 255);
    QTest::newRow("tint clears alpha mixing") << Preset([](ColorMatrix& m) { m.setAlphaFromSum(); m.setTint(1, 0, 0, 0.5f); })
                                              << qRgba(10, 20, 30, 200) << qRgba(60, 0, 0, 100);
    QTest::newRow("alpha from sum clamps") << Preset([](ColorMatrix& m) { m.setAlphaFromSum(); })
                                           << qRgba(100, 100, 100, 0) << qRgba(0, 0, 0, 255);
    QTest::newRow("alpha from sum") << Preset([](ColorMatrix& m) { m.setAlphaFromSum(); })
                                    << qRgba(10, 20, 30, 0) << qRgba(0, 0, 0, 60);
}

void TestColorMatrix::transform()
{
    QFETCH(Preset, preset);
    QFETCH(QRgb, input);
    QFETCH(QRgb, output);
    ColorMatrix matrix;
    preset(matrix);
    QCOMPARE(matrix.changeMask(), 31);
    QCOMPARE(QString::number(matrix.transform(qRed(input), qGreen(input), qBlue(input), qAlpha(input)), 16),
             QString::number(output, 16));
}

void TestColorMatrix::copiesCarryCells()
{
    ColorMatrix source;
    source.setTint(0.5f, 0.25f, 0.25f, 1);
    const ColorMatrix copy(source);
    QCOMPARE(copy.transform(30, 60, 90, 255), qRgba(30, 15, 15, 255));
    QCOMPARE(copy.changeMask(), 31);
    QVERIFY(!copy.parent());

    ColorMatrix target;
    QCOMPARE(&target.assign(source), &target);
    QCOMPARE(target.cell(2, 0), source.cell(2, 0));
    source.reset(); // the copies do not follow
    QCOMPARE(target.transform(30, 60, 90, 255), qRgba(30, 15, 15, 255));
}

void TestColorMatrix::applyToPicture()
{
    ColorMatrix matrix;
    matrix.swapRedBlue();

    QImage argb(3, 1, QImage::Format_ARGB32);
    argb.setPixel(0, 0, qRgba(1, 2, 3, 4));
    argb.setPixel(1, 0, qRgba(250, 0, 9, 255));
    argb.setPixel(2, 0, qRgba(0, 0, 0, 0));
    const QImage swapped = matrix.apply(argb);
    QCOMPARE(swapped.format(), QImage::Format_ARGB32);
    QCOMPARE(swapped.pixel(0, 0), qRgba(3, 2, 1, 4));
    QCOMPARE(swapped.pixel(1, 0), qRgba(9, 0, 250, 255));
    QCOMPARE(argb.pixel(0, 0), qRgba(1, 2, 3, 4)); // source untouched

    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(10, 20, 30)});
    indexed.fill(0);
    const QImage converted = matrix.apply(indexed);
    QCOMPARE(converted.format(), QImage::Format_ARGB32);
    QCOMPARE(converted.pixel(1, 0), qRgb(30, 20, 10));
}

QTEST_GUILESS_MAIN(TestColorMatrix)
#include "tst_ColorMatrix.moc"
