#include "LevelFilters.h"

#include <QtTest>

#include <functional>

using namespace MGraphX;

using Filter = std::function<QImage(const QImage&)>;
Q_DECLARE_METATYPE(Filter)

namespace {

// One pixel per value 0..255 in all three channels, half transparent.
QImage ramp()
{
    QImage image(256, 1, QImage::Format_ARGB32);
    for (int v = 0; v < 256; ++v)
        image.setPixel(v, 0, qRgba(v, v, v, 128));
    return image;
}

// Pixels of the given red values; green 50 and blue 100 throughout.
QImage redValues(const QVector<QPair<int, int>>& counts)
{
    int n = 0;
    for (const auto& c : counts)
        n += c.second;
    QImage image(n, 1, QImage::Format_RGB32);
    int x = 0;
    for (const auto& c : counts)
        for (int i = 0; i < c.second; ++i)
            image.setPixel(x++, 0, qRgb(c.first, 50, 100));
    return image;
}

} // namespace

class TestLevelFilters : public QObject
{
    Q_OBJECT

private slots:
    void levelTables_data();
    void levelTables();
    void autoLevels_data();
    void autoLevels();
    void resultIsOpaqueArgb_data();
    void resultIsOpaqueArgb();
    void scaling_data();
    void scaling();
};

void TestLevelFilters::levelTables_data()
{
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("result");

    const Filter in00 = [](const QImage& i) { return inputLevels(i, 0, 0); };
    // T[v] = trunc(v x 256 / 255).
    QTest::newRow("input 0,0: 0") << in00 << 0 << 0;
    QTest::newRow("input 0,0: 128") << in00 << 128 << 128;
    QTest::newRow("input 0,0: 254") << in00 << 254 << 254;
    QTest::newRow("input 0,0: 255") << in00 << 255 << 255;
    // end = 200; the ramp is (v - 50) x 256 / 150.
    const Filter in5055 = [](const QImage& i) { return inputLevels(i, 50, 55); };
    QTest::newRow("input 50,55: 49") << in5055 << 49 << 0;
    QTest::newRow("input 50,55: 50") << in5055 << 50 << 0;
    QTest::newRow("input 50,55: 140") << in5055 << 140 << 153;
    QTest::newRow("input 50,55: 199") << in5055 << 199 << 254;
    QTest::newRow("input 50,55: 200") << in5055 << 200 << 255;
    // White point below black: no ramp, everything from the black point is 255.
    const Filter inCrossed = [](const QImage& i) { return inputLevels(i, 200, 100); };
    QTest::newRow("input crossed: 199") << inCrossed << 199 << 0;
    QTest::newRow("input crossed: 200") << inCrossed << 200 << 255;

    const Filter out00 = [](const QImage& i) { return outputLevels(i, 0, 0); };
    QTest::newRow("output 0,0: 128") << out00 << 128 << 127;
    QTest::newRow("output 0,0: 255") << out00 << 255 << 254;
    // trunc(10 + v x 225 / 256).
    const Filter out1020 = [](const QImage& i) { return outputLevels(i, 10, 20); };
    QTest::newRow("output 10,20: 0") << out1020 << 0 << 10;
    QTest::newRow("output 10,20: 128") << out1020 << 128 << 122;
    QTest::newRow("output 10,20: 255") << out1020 << 255 << 234;
    // low enters the sum as a byte (246) but the step as -10: 246 + 10 x 265 / 256
    // = 256.35 keeps its low byte.
    const Filter outNegative = [](const QImage& i) { return outputLevels(i, -10, 0); };
    QTest::newRow("output -10,0: 0") << outNegative << 0 << 246;
    QTest::newRow("output -10,0: 10 wraps") << outNegative << 10 << 0;

    // Output 20,20 then input 20,20 (end 235).
    const Filter squeeze = [](const QImage& i) { return squeezeLevels(i, 20); };
    QTest::newRow("squeeze 20: 0") << squeeze << 0 << 0;
    QTest::newRow("squeeze 20: 128") << squeeze << 128 << 127;
    QTest::newRow("squeeze 20: 255") << squeeze << 255 << 254;
}

void TestLevelFilters::levelTables()
{
    QFETCH(Filter, filter);
    QFETCH(int, value);
    QFETCH(int, result);
    const QImage image = filter(ramp());
    QCOMPARE(image.size(), QSize(256, 1));
    QCOMPARE(image.pixel(value, 0), qRgb(result, result, result));
}

void TestLevelFilters::autoLevels_data()
{
    QTest::addColumn<int>("whiteClip");
    QTest::addColumn<int>("blackClip");
    QTest::addColumn<int>("red");
    QTest::addColumn<QRgb>("result");
    // 100 pixels: 10 of red 5, 80 of red 100, 10 of red 200. Clips in
    // half-percent steps: black 10 -> 5 pixels, white 30 -> 15 pixels, so the
    // points are 5 and 100; green 50 -> 45 x 256 / 95.
    QTest::newRow("clipped: black point") << 30 << 10 << 5 << qRgb(0, 121, 255);
    QTest::newRow("clipped: white point") << 30 << 10 << 100 << qRgb(255, 121, 255);
    // No clipping: points 5 and 200; 95 x 256 / 195 = 124.7, 45 x 256 / 195 = 59.1.
    QTest::newRow("unclipped: middle") << 0 << 0 << 100 << qRgb(124, 59, 124);
    QTest::newRow("unclipped: top") << 0 << 0 << 200 << qRgb(255, 59, 124);
    // Clipping everything leaves no black point: nothing reaches 255.
    QTest::newRow("all clipped") << 0 << 200 << 200 << qRgb(0, 0, 0);
}

void TestLevelFilters::autoLevels()
{
    QFETCH(int, whiteClip);
    QFETCH(int, blackClip);
    QFETCH(int, red);
    QFETCH(QRgb, result);
    const QImage source = redValues({{5, 10}, {100, 80}, {200, 10}});
    const QImage image = MGraphX::autoLevels(source, whiteClip, blackClip);
    for (int x = 0; x < source.width(); ++x) {
        if (qRed(source.pixel(x, 0)) == red) {
            QCOMPARE(image.pixel(x, 0), result);
            return;
        }
    }
    QFAIL("no pixel of that red");
}

void TestLevelFilters::resultIsOpaqueArgb_data()
{
    QTest::addColumn<Filter>("filter");
    QTest::newRow("input") << Filter([](const QImage& i) { return inputLevels(i, 0, 0); });
    QTest::newRow("output") << Filter([](const QImage& i) { return outputLevels(i, 0, 0); });
    QTest::newRow("squeeze") << Filter([](const QImage& i) { return squeezeLevels(i, 3); });
    QTest::newRow("auto") << Filter([](const QImage& i) { return MGraphX::autoLevels(i, 1, 1); });
}

void TestLevelFilters::resultIsOpaqueArgb()
{
    QFETCH(Filter, filter);
    QImage source(5, 3, QImage::Format_ARGB32);
    source.fill(qRgba(40, 80, 120, 100));
    const QImage image = filter(source);
    QCOMPARE(image.format(), QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(5, 3));
    QCOMPARE(qAlpha(image.pixel(4, 2)), 255);
    QVERIFY(filter(QImage()).isNull());
}

void TestLevelFilters::scaling_data()
{
    QTest::addColumn<Filter>("filter");
    QTest::addColumn<QRgb>("input");
    QTest::addColumn<QRgb>("output");
    QTest::newRow("channels unchanged") << Filter([](const QImage& i) { return scaleChannels(i, 127, 127, 127); })
                                        << qRgba(100, 50, 30, 128) << qRgba(100, 50, 30, 128);
    QTest::newRow("red doubled, blue off") << Filter([](const QImage& i) { return scaleChannels(i, 254, 127, 0); })
                                           << qRgba(100, 50, 30, 128) << qRgba(200, 50, 0, 128);
    QTest::newRow("doubled red clamps") << Filter([](const QImage& i) { return scaleChannels(i, 254, 127, 0); })
                                        << qRgba(200, 50, 30, 128) << qRgba(255, 50, 0, 128);
    QTest::newRow("brightness 150%") << Filter([](const QImage& i) { return scaleBrightness(i, 150); })
                                     << qRgba(100, 200, 30, 77) << qRgba(150, 255, 45, 77);
    QTest::newRow("brightness 0%") << Filter([](const QImage& i) { return scaleBrightness(i, 0); })
                                   << qRgba(100, 200, 30, 77) << qRgba(0, 0, 0, 77);
}

void TestLevelFilters::scaling()
{
    QFETCH(Filter, filter);
    QFETCH(QRgb, input);
    QFETCH(QRgb, output);
    QImage source(2, 2, QImage::Format_ARGB32);
    source.fill(input);
    QCOMPARE(filter(source).pixel(1, 1), output);
}

QTEST_GUILESS_MAIN(TestLevelFilters)
#include "tst_LevelFilters.moc"
