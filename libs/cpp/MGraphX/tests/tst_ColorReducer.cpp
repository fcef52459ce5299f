#include "ColorReducer.h"
#include "ImageIO.h"
#include "ReferenceReducer.h"
#include "TestImages.h"

#include <QColorSpace>
#include <QSet>
#include <QSignalSpy>
#include <QtTest>

using MGraphX::ColorReducer;
using MGraphX::encodePng;

namespace {

struct Reduced
{
    QImage image;
    QVector<int> progress;
};

Reduced reduceWith(const QImage& source, int nColors, bool bDither, bool bGray = true)
{
    ColorReducer reducer(source);
    reducer.setDithering(bDither);
    reducer.setGrayAlgorithm(bGray);
    QVector<int> values;
    QObject::connect(&reducer, &ColorReducer::progress, [&](int n) { values.append(n); });
    Reduced result;
    result.image = reducer.reduce(nColors);
    result.progress = values;
    return result;
}

// Empty when both carry the same metadata: what QImage::save writes besides
// the pixels and the table (resolution, offset, text, colour space), and the
// pixel ratio.
QString metadataDifference(const QImage& actual, const QImage& expected)
{
    if (actual.dotsPerMeterX() != expected.dotsPerMeterX() || actual.dotsPerMeterY() != expected.dotsPerMeterY())
        return QStringLiteral("resolution %1x%2 vs %3x%4").arg(actual.dotsPerMeterX()).arg(actual.dotsPerMeterY())
            .arg(expected.dotsPerMeterX()).arg(expected.dotsPerMeterY());
    if (actual.offset() != expected.offset())
        return QStringLiteral("offset differs");
    if (actual.textKeys() != expected.textKeys())
        return QStringLiteral("text keys [%1] vs [%2]").arg(actual.textKeys().join(','), expected.textKeys().join(','));
    for (const QString& strKey : expected.textKeys()) {
        if (actual.text(strKey) != expected.text(strKey))
            return QStringLiteral("text of %1 differs").arg(strKey);
    }
    if (actual.colorSpace() != expected.colorSpace())
        return QStringLiteral("colour space differs");
    if (actual.devicePixelRatio() != expected.devicePixelRatio())
        return QStringLiteral("pixel ratio differs");
    return QString();
}

// Empty when both are byte-identical, metadata included, else where they
// first differ.
QString firstDifference(const QImage& actual, const QImage& expected)
{
    const QString strMeta = metadataDifference(actual, expected);
    if (!strMeta.isEmpty())
        return strMeta;
    if (actual.format() != expected.format())
        return QStringLiteral("format %1 vs %2").arg(actual.format()).arg(expected.format());
    if (actual.size() != expected.size())
        return QStringLiteral("size differs");
    if (actual.colorTable() != expected.colorTable()) {
        const QVector<QRgb> a = actual.colorTable(), e = expected.colorTable();
        for (int i = 0; i < qMax(a.size(), e.size()); ++i) {
            if (i >= a.size() || i >= e.size() || a[i] != e[i])
                return QStringLiteral("colour table differs at %1 (sizes %2, %3)").arg(i).arg(a.size()).arg(e.size());
        }
    }
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.constScanLine(y)[x] != expected.constScanLine(y)[x])
                return QStringLiteral("index differs at (%1,%2): %3 vs %4").arg(x).arg(y)
                    .arg(actual.constScanLine(y)[x]).arg(expected.constScanLine(y)[x]);
        }
    }
    return QString();
}

QImage imageOf(int nWidth, int nHeight, const QVector<QRgb>& pixels, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(nWidth, nHeight, format);
    for (int i = 0; i < pixels.size(); ++i)
        image.setPixel(i % nWidth, i / nWidth, pixels[i]);
    return image;
}

QImage grayImage(int nWidth, int nHeight, const QVector<int>& values)
{
    QVector<QRgb> pixels;
    for (int v : values)
        pixels.append(qRgb(v, v, v));
    return imageOf(nWidth, nHeight, pixels);
}

enum ColourSpaceKind { NoColourSpace, SRgbSpace, DisplayP3Space, IccProfileSpace };

// The source with everything a loaded file may carry: resolution, offset,
// short, long and non-Latin-1 text, a colour space and a pixel ratio.
QImage withMetadata(QImage image, int nColourSpace)
{
    image.setDotsPerMeterX(1234);
    image.setDotsPerMeterY(5678);
    image.setOffset(QPoint(5, -7));
    image.setText(QStringLiteral("Title"), QStringLiteral("Harbour"));
    image.setText(QStringLiteral("Description"), QString(120, QLatin1Char('d')));
    image.setText(QStringLiteral("Author"), QStringLiteral("J\u00f6rg \u6771\u4eac"));
    image.setDevicePixelRatio(2);
    if (nColourSpace == SRgbSpace)
        image.setColorSpace(QColorSpace(QColorSpace::SRgb));
    else if (nColourSpace == DisplayP3Space)
        image.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    else if (nColourSpace == IccProfileSpace) // as read from a file's profile
        image.setColorSpace(QColorSpace::fromIccProfile(QColorSpace(QColorSpace::AdobeRgb).iccProfile()));
    return image;
}

QVector<QRgb> sortedTable(const QImage& image)
{
    QVector<QRgb> table = image.colorTable();
    std::sort(table.begin(), table.end());
    return table;
}

int distinctIndices(const QImage& image)
{
    QSet<int> seen;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            seen.insert(image.constScanLine(y)[x]);
    return seen.size();
}

} // namespace

class TestColorReducer : public QObject
{
    Q_OBJECT

private slots:
    void matchesReference_data();
    void matchesReference();
    void matchesReferenceOnOtherFormats_data();
    void matchesReferenceOnOtherFormats();

    void matchesReferenceOnThinImages_data();
    void matchesReferenceOnThinImages();
    void greyPathWithHiddenColours_data();
    void greyPathWithHiddenColours();

    void colorKeys_data();
    void colorKeys();
    void medianCut_data();
    void medianCut();
    void progressValues_data();
    void progressValues();
    void alphaCapsColors_data();
    void alphaCapsColors();
    void paletteFirstAppearance();
    void transparentIndex_data();
    void transparentIndex();
    void ditherFixtures_data();
    void ditherFixtures();
    void equalDistancesTakeLowerIndex_data();
    void equalDistancesTakeLowerIndex();
    void grayLevels_data();
    void grayLevels();
    void grayTableWithAlpha();
    void stretchLevels_data();
    void stretchLevels();

    void streamedPngMatchesSave_data();
    void streamedPngMatchesSave();
    void failureWhileRowsAreCompressed_data();
    void failureWhileRowsAreCompressed();
    void metadataPerPath_data();
    void metadataPerPath();
    void savedPngMatchesReference_data();
    void savedPngMatchesReference();

    void largeWhiteAreaStaysWhite();
    void grayExpansionKeepsWhite_data();
    void grayExpansionKeepsWhite();
    void emptySourceGivesNullImage_data();
    void emptySourceGivesNullImage();
    void colorCountIsClamped_data();
    void colorCountIsClamped();
};

void TestColorReducer::matchesReference_data()
{
    QTest::addColumn<int>("colors");
    QTest::addColumn<bool>("alpha");
    QTest::addColumn<bool>("gray");
    QTest::addColumn<bool>("dither");
    quint32 nSeed = 1;
    for (int nColors : {1, 2, 16, 254, 255, 256})
        for (bool bAlpha : {false, true})
            for (bool bGray : {false, true})
                for (bool bDither : {false, true}) {
                    QTest::addRow("%d colours%s%s%s", nColors, bAlpha ? " alpha" : "",
                                  bGray ? " grey" : "", bDither ? " dither" : "")
                        << nColors << bAlpha << bGray << bDither;
                    ++nSeed;
                }
}

void TestColorReducer::matchesReference()
{
    QFETCH(int, colors);
    QFETCH(bool, alpha);
    QFETCH(bool, gray);
    QFETCH(bool, dither);
    for (quint32 nSeed : {11u, 12u, 13u}) {
        const QImage source = makeRandomImage(nSeed * 1000 + quint32(colors), 61, 43, alpha, gray);
        const Reduced fast = reduceWith(source, colors, dither);
        const ReferenceResult reference = referenceReduce(source, colors, dither);
        const QString strDiff = firstDifference(fast.image, reference.image);
        QVERIFY2(strDiff.isEmpty(), qPrintable(QStringLiteral("seed %1: %2").arg(nSeed).arg(strDiff)));
        QVERIFY(encodePng(fast.image) == encodePng(reference.image));
        QCOMPARE(fast.progress, reference.progress);
    }
}

void TestColorReducer::matchesReferenceOnOtherFormats_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("gray");
    QTest::addColumn<bool>("dither");
    const QVector<QPair<const char*, QImage::Format>> formats = {
        {"premultiplied", QImage::Format_ARGB32_Premultiplied},
        {"indexed", QImage::Format_Indexed8},
        {"rgba64", QImage::Format_RGBA64},
        {"rgb888", QImage::Format_RGB888},
        {"grayscale8", QImage::Format_Grayscale8},
    };
    for (const auto& f : formats)
        for (bool bGray : {false, true})
            for (bool bDither : {false, true})
                QTest::addRow("%s%s%s", f.first, bGray ? " grey" : "", bDither ? " dither" : "")
                    << int(f.second) << bGray << bDither;
}

void TestColorReducer::matchesReferenceOnOtherFormats()
{
    QFETCH(int, format);
    QFETCH(bool, gray);
    QFETCH(bool, dither);
    const QImage base = withMetadata(makeRandomImage(77, 45, 37, true, gray), IccProfileSpace);
    QImage source = base.convertToFormat(QImage::Format(format));
    if (format == QImage::Format_Indexed8) // a palette picture with transparent entries
        source = base.convertToFormat(QImage::Format(format), Qt::ThresholdDither | Qt::ThresholdAlphaDither);
    for (int nColors : {256, 16}) {
        const Reduced fast = reduceWith(source, nColors, dither);
        const ReferenceResult reference = referenceReduce(source, nColors, dither);
        const QString strDiff = firstDifference(fast.image, reference.image);
        QVERIFY2(strDiff.isEmpty(), qPrintable(strDiff));
        QVERIFY(encodePng(fast.image) == encodePng(reference.image));
        QCOMPARE(fast.progress, reference.progress);
    }
}

// One-pixel-wide pictures pass on only the share below, one-pixel-high ones
// only the share to the right.
void TestColorReducer::matchesReferenceOnThinImages_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("colors");
    QTest::addColumn<bool>("alpha");
    QTest::addColumn<bool>("gray");
    for (const QSize size : {QSize(1, 1), QSize(1, 57), QSize(57, 1)})
        for (int nColors : {2, 16, 256})
            for (bool bAlpha : {false, true})
                for (bool bGray : {false, true})
                    QTest::addRow("%dx%d %d colours%s%s", size.width(), size.height(), nColors,
                                  bAlpha ? " alpha" : "", bGray ? " grey" : "")
                        << size << nColors << bAlpha << bGray;
}

void TestColorReducer::matchesReferenceOnThinImages()
{
    QFETCH(QSize, size);
    QFETCH(int, colors);
    QFETCH(bool, alpha);
    QFETCH(bool, gray);
    for (quint32 nSeed : {21u, 22u, 23u}) {
        const QImage source = makeRandomImage(nSeed, size.width(), size.height(), alpha, gray);
        for (bool bDither : {false, true}) {
            const Reduced fast = reduceWith(source, colors, bDither);
            const ReferenceResult reference = referenceReduce(source, colors, bDither);
            const QString strDiff = firstDifference(fast.image, reference.image);
            QVERIFY2(strDiff.isEmpty(), qPrintable(QStringLiteral("seed %1: %2").arg(nSeed).arg(strDiff)));
            QCOMPARE(fast.progress, reference.progress);
        }
    }
}

// Qt judges a 16-bit picture grey on premultiplied values, so a picture whose
// visible pixels are grey takes the grey path even when its transparent
// pixels hold colours, or a half-transparent one is grey only after
// premultiplying, as (100, 101, 100) at alpha 140 is.
void TestColorReducer::greyPathWithHiddenColours_data()
{
    QTest::addColumn<int>("colors");
    QTest::addColumn<bool>("dither");
    for (int nColors : {4, 256})
        for (bool bDither : {false, true})
            QTest::addRow("%d colours%s", nColors, bDither ? " dither" : "") << nColors << bDither;
}

void TestColorReducer::greyPathWithHiddenColours()
{
    QFETCH(int, colors);
    QFETCH(bool, dither);
    QImage base = makeRandomImage(9, 23, 17, true, true);
    for (int y = 0; y < base.height(); ++y)
        for (int x = 0; x < base.width(); x += 3)
            base.setPixel(x, y, qRgba(200, (x * 11) % 256, y * 9, 0));
    base.setPixel(4, 3, qRgba(100, 101, 100, 140));
    const QImage source = base.convertToFormat(QImage::Format_RGBA64);
    QVERIFY(source.allGray());
    const Reduced fast = reduceWith(source, colors, dither);
    const ReferenceResult reference = referenceReduce(source, colors, dither);
    const QString strDiff = firstDifference(fast.image, reference.image);
    QVERIFY2(strDiff.isEmpty(), qPrintable(strDiff));
    QCOMPARE(fast.progress, reference.progress);
}

void TestColorReducer::colorKeys_data()
{
    QTest::addColumn<QRgb>("pixel");
    QTest::addColumn<int>("key");
    QTest::addColumn<QRgb>("back");
    QTest::newRow("red") << qRgb(255, 0, 0) << 0x001F << qRgb(248, 0, 0);
    QTest::newRow("near red") << qRgb(250, 0, 0) << 0x001F << qRgb(248, 0, 0);
    QTest::newRow("green") << qRgb(0, 255, 0) << 0x03E0 << qRgb(0, 248, 0);
    QTest::newRow("blue") << qRgb(0, 0, 255) << 0x7C00 << qRgb(0, 0, 248);
    QTest::newRow("alpha ignored") << qRgba(8, 16, 24, 0) << (1 | 2 << 5 | 3 << 10) << qRgb(8, 16, 24);
}

void TestColorReducer::colorKeys()
{
    QFETCH(QRgb, pixel);
    QFETCH(int, key);
    QFETCH(QRgb, back);
    QCOMPARE(ColorReducer::colorKey(pixel), key);
    QCOMPARE(qRgb(ColorReducer::keyRed(key), ColorReducer::keyGreen(key), ColorReducer::keyBlue(key)), back);
}

void TestColorReducer::medianCut_data()
{
    QTest::addColumn<QImage>("source");
    QTest::addColumn<int>("colors");
    QTest::addColumn<QVector<QRgb>>("table"); // sorted

    // Counts 1, 1, 1, 100: the sum never reaches half before the last key.
    QVector<QRgb> pixels = {qRgb(0, 0, 8), qRgb(0, 0, 16), qRgb(0, 0, 24)};
    pixels.append(QVector<QRgb>(100, qRgb(0, 0, 32)));
    QTest::newRow("heavy last key alone") << imageOf(103, 1, pixels) << 2
                                          << QVector<QRgb>{qRgb(0, 0, 16), qRgb(0, 0, 32)};

    const QRgb k0 = qRgb(0, 0, 0), r40 = qRgb(40, 0, 0), g40 = qRgb(0, 40, 0), b40 = qRgb(0, 0, 40);
    QTest::newRow("red = green > blue splits green")
        << imageOf(2, 2, {k0, r40, g40, qRgb(40, 40, 0)}) << 2
        << QVector<QRgb>{qRgb(20, 0, 0), qRgb(20, 40, 0)};
    QTest::newRow("red = blue > green splits blue")
        << imageOf(2, 2, {k0, r40, b40, qRgb(40, 0, 40)}) << 2
        << QVector<QRgb>{qRgb(20, 0, 0), qRgb(20, 0, 40)};
    QTest::newRow("all equal splits blue") << imageOf(2, 2, {k0, r40, g40, b40}) << 2
                                           << QVector<QRgb>{qRgb(0, 20, 20), qRgb(20, 0, 0)};

    // First split: {0, 8} (20 pixels) and {16..48} (5 keys); breadth first
    // splits box 0 again although box 1 is wider.
    QVector<QRgb> breadth(10, qRgb(0, 0, 0));
    breadth += QVector<QRgb>(10, qRgb(0, 0, 8));
    for (int b : {16, 24, 32, 40, 48})
        breadth.append(qRgb(0, 0, b));
    QTest::newRow("breadth first") << imageOf(25, 1, breadth) << 3
                                   << QVector<QRgb>{qRgb(0, 0, 0), qRgb(0, 0, 8), qRgb(0, 0, 32)};
    QTest::newRow("fewer keys than colours") << imageOf(3, 1, {r40, g40, b40}) << 256
                                             << QVector<QRgb>{b40, g40, r40};
}

void TestColorReducer::medianCut()
{
    QFETCH(QImage, source);
    QFETCH(int, colors);
    QFETCH(QVector<QRgb>, table);
    QCOMPARE(sortedTable(reduceWith(source, colors, false).image), table);
}

void TestColorReducer::progressValues_data()
{
    QTest::addColumn<QImage>("source");
    QTest::addColumn<int>("colors");
    QTest::addColumn<bool>("dither");
    QTest::addColumn<QVector<int>>("progress");

    QTest::newRow("single colour") << imageOf(2, 2, QVector<QRgb>(4, qRgb(200, 10, 10))) << 256 << false
                                   << QVector<int>{0, 0};
    QTest::newRow("zero colours") << imageOf(2, 1, {qRgb(200, 10, 10), qRgb(10, 200, 10)}) << 0 << false
                                  << QVector<int>{0};

    QVector<QRgb> keys;
    for (int i = 0; i < 1000; ++i)
        keys.append(qRgb((i % 32) * 8, ((i / 32) % 32) * 8, 200));
    QVector<int> expected{0};
    for (int n = 1; n <= 255; ++n)
        expected.append(n * 10 / 256);
    QTest::newRow("1000 keys") << imageOf(1000, 1, keys) << 256 << false << expected;

    QTest::newRow("dither width 3") << imageOf(3, 1, {qRgb(200, 10, 10), qRgb(10, 200, 10), qRgb(10, 10, 200)})
                                    << 256 << true << QVector<int>{0, 0, 0, 0, 10, 40, 70};
    QTest::newRow("grey dither width 3") << grayImage(3, 1, {0, 100, 200}) << 256 << true
                                         << QVector<int>{0, 10, 40, 70};
}

void TestColorReducer::progressValues()
{
    QFETCH(QImage, source);
    QFETCH(int, colors);
    QFETCH(bool, dither);
    QFETCH(QVector<int>, progress);
    QCOMPARE(reduceWith(source, colors, dither).progress, progress);
}

void TestColorReducer::alphaCapsColors_data()
{
    QTest::addColumn<bool>("alpha");
    QTest::addColumn<int>("colors");
    QTest::addColumn<int>("most");
    QTest::newRow("alpha 256") << true << 256 << 254;
    QTest::newRow("alpha 255") << true << 255 << 254;
    QTest::newRow("alpha 200") << true << 200 << 200;
    QTest::newRow("opaque 256") << false << 256 << 256;
}

void TestColorReducer::alphaCapsColors()
{
    QFETCH(bool, alpha);
    QFETCH(int, colors);
    QFETCH(int, most);
    // 4096 distinct keys, all opaque, so every index in use is a colour.
    QImage source(64, 64, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            source.setPixel(x, y, qRgb(x * 4, y * 4, (x ^ y) * 4));
    const QImage result = reduceWith(source, colors, false).image;
    QCOMPARE(distinctIndices(result), most);
    QCOMPARE(result.colorCount(), alpha ? 256 : most);
}

void TestColorReducer::paletteFirstAppearance()
{
    const QRgb red = qRgb(255, 0, 0), white = qRgb(255, 255, 255);
    for (bool bDither : {false, true}) {
        QImage result = reduceWith(imageOf(2, 1, {red, white}), 256, bDither).image;
        QCOMPARE(result.format(), QImage::Format_Indexed8);
        QCOMPARE(result.colorTable(), (QVector<QRgb>{0xFFF80000u, 0xFFFFFFFFu}));
        result = reduceWith(imageOf(2, 1, {white, red}), 256, bDither).image;
        QCOMPARE(result.colorTable(), (QVector<QRgb>{0xFFFFFFFFu, 0xFFF80000u}));
    }
}

void TestColorReducer::transparentIndex_data()
{
    QTest::addColumn<bool>("gray");
    QTest::addColumn<bool>("dither");
    QTest::newRow("colour") << false << false;
    QTest::newRow("colour dither") << false << true;
    QTest::newRow("grey") << true << false;
    QTest::newRow("grey dither") << true << true;
}

void TestColorReducer::transparentIndex()
{
    QFETCH(bool, gray);
    QFETCH(bool, dither);
    const QRgb c1 = gray ? qRgb(40, 40, 40) : qRgb(40, 80, 120);
    const QRgb c2 = gray ? qRgb(200, 200, 200) : qRgb(200, 100, 0);
    const QImage source = imageOf(4, 1, {qRgba(qRed(c1), qGreen(c1), qBlue(c1), 0),
                                         qRgba(qRed(c2), qGreen(c2), qBlue(c2), 126),
                                         qRgba(qRed(c1), qGreen(c1), qBlue(c1), 127),
                                         qRgba(qRed(c2), qGreen(c2), qBlue(c2), 255)},
                                  QImage::Format_ARGB32);
    const QImage result = reduceWith(source, 256, dither).image;
    QCOMPARE(result.colorCount(), 256);
    QCOMPARE(result.color(255), 0u);
    QCOMPARE(int(result.pixelIndex(0, 0)), 255);
    QCOMPARE(int(result.pixelIndex(1, 0)), 255);
    QVERIFY(result.pixelIndex(2, 0) < 255);
    QVERIFY(result.pixelIndex(3, 0) < 255);
    QCOMPARE(qAlpha(result.pixel(2, 0)), 255);
    if (!gray) // colour path: the unused entries are transparent black
        QCOMPARE(result.color(2), 0u);
}

// Small greys on the grey path with 4 colours (levels 0, 127 and white
// fillers), worked out by hand from the column-by-column walk.
void TestColorReducer::ditherFixtures_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QVector<int>>("input");
    QTest::addColumn<QVector<int>>("expected");
    // Truncating division: an arithmetic shift would send (1,1) to black.
    QTest::newRow("truncating shares") << 2 << QVector<int>{250, 230, 90, 90} << QVector<int>{255, 255, 127, 127};
    // Clamping at once: without it (1,1) would become white.
    QTest::newRow("shares clamp") << 2 << QVector<int>{60, 250, 140, 170} << QVector<int>{0, 255, 127, 127};
    // 7/16 right and 5/16 down: swapped, (1,1) would become 127.
    QTest::newRow("share targets") << 2 << QVector<int>{170, 10, 190, 70} << QVector<int>{127, 0, 255, 0};
    // (1,1) gets its shares in column order, 7/16 from the left before 5/16
    // from above; a plain row walk clamps in the other order and gives
    // white at (2,1).
    QTest::newRow("column order") << 3 << QVector<int>{60, 60, 255, 10, 255, 200}
                                  << QVector<int>{0, 127, 255, 0, 255, 127};
    // The error of (0,1) is taken from its diffused value 238, not from the
    // source's 255: with a zero error (1,1) would reach 68 and become 127.
    QTest::newRow("error from working copy") << 3 << QVector<int>{70, 60, 200, 255, 60, 200}
                                             << QVector<int>{127, 0, 255, 255, 0, 255};
}

void TestColorReducer::ditherFixtures()
{
    QFETCH(int, width);
    QFETCH(QVector<int>, input);
    QFETCH(QVector<int>, expected);
    const int nHeight = input.size() / width;
    const QImage result = reduceWith(grayImage(width, nHeight, input), 4, true).image;
    for (int i = 0; i < input.size(); ++i)
        QCOMPARE(qRed(result.pixel(i % width, i / width)), expected[i]);
}

void TestColorReducer::equalDistancesTakeLowerIndex_data()
{
    QTest::addColumn<QImage>("source");
    QTest::addColumn<int>("colors");
    QTest::addColumn<QRgb>("first");
    // Boxes {0, 8} (mean 4) and {16}: the first pixel, blue 10, lies 6 from both.
    QTest::newRow("colour") << imageOf(4, 1, {qRgb(0, 0, 10), qRgb(0, 0, 0), qRgb(0, 0, 16), qRgb(0, 0, 16)})
                            << 2 << qRgb(0, 0, 4);
    // Levels 127 and white fillers: 191 lies 64 from both.
    QTest::newRow("grey") << grayImage(1, 1, {191}) << 4 << qRgb(127, 127, 127);
}

void TestColorReducer::equalDistancesTakeLowerIndex()
{
    QFETCH(QImage, source);
    QFETCH(int, colors);
    QFETCH(QRgb, first);
    QCOMPARE(reduceWith(source, colors, true).image.pixel(0, 0), first);
}

void TestColorReducer::grayLevels_data()
{
    QTest::addColumn<int>("colors");
    QTest::addColumn<int>("input");
    QTest::addColumn<int>("output");
    QTest::newRow("256: 0") << 256 << 0 << 0;
    QTest::newRow("256: 1") << 256 << 1 << 0;
    QTest::newRow("256: 2") << 256 << 2 << 1;
    QTest::newRow("256: 255") << 256 << 255 << 255;
    QTest::newRow("4: 127") << 4 << 127 << 0;
    QTest::newRow("4: 128") << 4 << 128 << 127;
    QTest::newRow("4: 254") << 4 << 254 << 127;
    QTest::newRow("4: 255") << 4 << 255 << 255;
}

void TestColorReducer::grayLevels()
{
    QFETCH(int, colors);
    QFETCH(int, input);
    QFETCH(int, output);
    const QImage result = reduceWith(grayImage(2, 1, {input, 0}), colors, false).image;
    QCOMPARE(result.colorCount(), 256);
    QCOMPARE(result.pixel(0, 0), qRgb(output, output, output));
}

// An alpha channel lowers 256 colours to 254, so d = 127: 64 becomes
// 255 * 31 / 127 = 62 (63 with d = 128). The levels come first, ascending,
// then white fillers, and entry 255 is transparent.
void TestColorReducer::grayTableWithAlpha()
{
    const QImage source = imageOf(4, 1, {qRgb(255, 255, 255), qRgb(64, 64, 64), qRgb(0, 0, 0),
                                         qRgb(128, 128, 128)}, QImage::Format_ARGB32);
    const QImage result = reduceWith(source, 256, false).image;
    QVector<QRgb> table{0xFF000000u, 0xFF3E3E3Eu, 0xFF7E7E7Eu};
    table += QVector<QRgb>(252, 0xFFFFFFFFu);
    table.append(0u);
    QCOMPARE(result.colorTable(), table);
    const QVector<int> indices{3, 1, 0, 2};
    for (int x = 0; x < 4; ++x)
        QCOMPARE(int(result.pixelIndex(x, 0)), indices[x]);
}

void TestColorReducer::stretchLevels_data()
{
    QTest::addColumn<int>("levels");
    QTest::addColumn<QRgb>("input");
    QTest::addColumn<QRgb>("output");
    QTest::newRow("255 keeps colours") << 255 << qRgba(1, 128, 254, 9) << qRgb(1, 128, 254);
    QTest::newRow("1 level") << 1 << qRgb(254, 255, 0) << qRgb(0, 255, 0);
    QTest::newRow("2 levels") << 2 << qRgb(127, 128, 255) << qRgb(0, 127, 255);
    QTest::newRow("out of range") << 1000 << qRgb(1, 128, 254) << qRgb(1, 128, 254);
}

void TestColorReducer::stretchLevels()
{
    QFETCH(int, levels);
    QFETCH(QRgb, input);
    QFETCH(QRgb, output);
    const QImage source = imageOf(1, 1, {input}, QImage::Format_ARGB32);
    ColorReducer reducer(source);
    const QImage result = reducer.stretch(levels);
    QCOMPARE(result.format(), QImage::Format_ARGB32);
    QCOMPARE(result.pixel(0, 0), output);
    QCOMPARE(result, referenceStretch(source, levels));
}

void TestColorReducer::streamedPngMatchesSave_data()
{
    QTest::addColumn<QImage>("source");
    QTest::addColumn<int>("colors");
    QTest::addColumn<bool>("dither");
    quint32 nSeed = 100;
    for (const QSize size : {QSize(301, 203), QSize(40, 30), QSize(1, 20000)})
        for (bool bAlpha : {false, true})
            for (bool bGray : {false, true})
                for (bool bDither : {false, true})
                    for (int nColors : {2, 256}) {
                        QTest::addRow("%dx%d %d colours%s%s%s", size.width(), size.height(), nColors,
                                      bAlpha ? " alpha" : "", bGray ? " grey" : "", bDither ? " dither" : "")
                            << makeRandomImage(++nSeed, size.width(), size.height(), bAlpha, bGray)
                            << nColors << bDither;
                    }
    // Colours below 8 all fall on key 0: one black entry, a grey ramp that
    // is written as a grey PNG.
    QImage dark(300, 300, QImage::Format_RGB32);
    dark.fill(qRgb(1, 2, 3));
    QTest::newRow("grey-ramp table") << dark << 256 << true;
    QImage flat(400, 400, QImage::Format_ARGB32);
    flat.fill(qRgba(200, 10, 10, 0));
    QTest::newRow("all transparent") << flat << 256 << false;
}

void TestColorReducer::streamedPngMatchesSave()
{
    QFETCH(QImage, source);
    QFETCH(int, colors);
    QFETCH(bool, dither);
    QVector<int> plainProgress, streamedProgress;
    ColorReducer plain(source);
    plain.setDithering(dither);
    connect(&plain, &ColorReducer::progress, [&](int n) { plainProgress.append(n); });
    const QImage reduced = plain.reduce(colors);
    const QByteArray saved = encodePng(reduced);
    QVERIFY(!saved.isEmpty());

    ColorReducer streaming(source);
    streaming.setDithering(dither);
    connect(&streaming, &ColorReducer::progress, [&](int n) { streamedProgress.append(n); });
    QImage streamedImage;
    const QByteArray streamed = streaming.reduceToPng(colors, &streamedImage);
    QCOMPARE(streamedImage, reduced);
    QCOMPARE(streamed.size(), saved.size());
    QVERIFY(streamed == saved);
    QCOMPARE(streamedProgress, plainProgress);
}

void TestColorReducer::failureWhileRowsAreCompressed_data()
{
    QTest::addColumn<bool>("gray");
    QTest::newRow("colour") << false;
    QTest::newRow("grey") << true;
}

// The reduction fails (here: out of memory, thrown where the progress is
// reported) while the PNG writer's thread still compresses finished rows:
// the failure reaches the caller, and the writer never reads the picture
// after it is gone (a noisy picture keeps it well behind; the sanitised
// build sees any late read, and a plain build usually crashes on it).
void TestColorReducer::failureWhileRowsAreCompressed()
{
    QFETCH(bool, gray);
    const QImage source = makeRandomImage(77, 2400, 1600, false, gray);
    for (int nFailAt : {30, 95}) {
        ColorReducer reducer(source);
        reducer.setDithering(true);
        connect(&reducer, &ColorReducer::progress, &reducer,
                [nFailAt](int n) {
                    if (n == nFailAt)
                        throw std::bad_alloc();
                },
                Qt::DirectConnection);
        bool bFailed = false;
        try {
            reducer.reduceToPng(256);
        } catch (const std::bad_alloc&) {
            bFailed = true;
        }
        QVERIFY(bFailed);
    }
    // The next picture goes through as usual.
    ColorReducer next(source);
    QImage reduced;
    QVERIFY(!next.reduceToPng(256, &reduced).isEmpty());
    QCOMPARE(reduced.size(), source.size());
}

// The dithered colour picture is a converted copy of the source and keeps
// its metadata; the plainly mapped one and every grey result are new images
// with none of it. Transparency changes only the table and indices.
void TestColorReducer::metadataPerPath_data()
{
    QTest::addColumn<bool>("gray");
    QTest::addColumn<bool>("dither");
    QTest::addColumn<bool>("alpha");
    QTest::addColumn<bool>("kept");
    for (bool bGray : {false, true})
        for (bool bDither : {false, true})
            for (bool bAlpha : {false, true})
                QTest::addRow("%s%s%s", bGray ? "grey" : "colour", bDither ? " dither" : "", bAlpha ? " alpha" : "")
                    << bGray << bDither << bAlpha << (!bGray && bDither);
}

void TestColorReducer::metadataPerPath()
{
    QFETCH(bool, gray);
    QFETCH(bool, dither);
    QFETCH(bool, alpha);
    QFETCH(bool, kept);
    const QImage source = withMetadata(makeRandomImage(31, 20, 10, alpha, gray), DisplayP3Space);
    const QImage result = reduceWith(source, 256, dither).image;
    QCOMPARE(result.format(), QImage::Format_Indexed8);
    const QImage fresh(1, 1, QImage::Format_Indexed8);
    const QString strDiff = metadataDifference(result, kept ? source : fresh);
    QVERIFY2(strDiff.isEmpty(), qPrintable(strDiff));
    if (!kept) {
        QVERIFY(result.textKeys().isEmpty());
        QVERIFY(!result.colorSpace().isValid());
    }
}

// The files written: reference and fast reducer give the same PNG bytes,
// chunks for resolution, offset, text and colour space included, and so does
// the streamed PNG.
void TestColorReducer::savedPngMatchesReference_data()
{
    QTest::addColumn<int>("colors");
    QTest::addColumn<bool>("alpha");
    QTest::addColumn<bool>("gray");
    QTest::addColumn<bool>("dither");
    QTest::addColumn<int>("colourSpace");
    const char* const names[] = {"no colour space", "sRGB", "Display P3", "ICC profile"};
    for (int nSpace : {NoColourSpace, SRgbSpace, DisplayP3Space, IccProfileSpace})
        for (int nColors : {2, 256})
            for (bool bAlpha : {false, true})
                for (bool bGray : {false, true})
                    for (bool bDither : {false, true})
                        QTest::addRow("%s %d colours%s%s%s", names[nSpace], nColors, bAlpha ? " alpha" : "",
                                      bGray ? " grey" : "", bDither ? " dither" : "")
                            << nColors << bAlpha << bGray << bDither << nSpace;
}

void TestColorReducer::savedPngMatchesReference()
{
    QFETCH(int, colors);
    QFETCH(bool, alpha);
    QFETCH(bool, gray);
    QFETCH(bool, dither);
    QFETCH(int, colourSpace);
    // Large enough for the rows to be compressed while they are reduced.
    const QImage source = withMetadata(makeRandomImage(quint32(41 + colors), 161, 109, alpha, gray), colourSpace);
    const Reduced fast = reduceWith(source, colors, dither);
    const ReferenceResult reference = referenceReduce(source, colors, dither);
    const QString strDiff = firstDifference(fast.image, reference.image);
    QVERIFY2(strDiff.isEmpty(), qPrintable(strDiff));
    const QByteArray expected = encodePng(reference.image);
    QVERIFY(!expected.isEmpty());
    QVERIFY(encodePng(fast.image) == expected);

    ColorReducer streaming(source);
    streaming.setDithering(dither);
    const QByteArray streamed = streaming.reduceToPng(colors);
    QCOMPARE(streamed.size(), expected.size());
    QVERIFY(streamed == expected);
}

// 541,695 white pixels: single-precision sums would give a mean of 247.
void TestColorReducer::largeWhiteAreaStaysWhite()
{
    QImage source(736, 736, QImage::Format_RGB32);
    source.fill(Qt::white);
    source.setPixel(100, 100, qRgb(255, 0, 0));
    const QImage result = reduceWith(source, 256, false).image;
    QCOMPARE(result.colorTable(), (QVector<QRgb>{0xFFFFFFFFu, 0xFFF80000u}));
    QCOMPARE(result.pixel(0, 0), 0xFFFFFFFFu);
}

void TestColorReducer::grayExpansionKeepsWhite_data()
{
    QTest::addColumn<int>("colors");
    for (int nColors : {50, 51, 58, 100, 182, 200, 232, 242, 256})
        QTest::addRow("%d colours", nColors) << nColors;
}

void TestColorReducer::grayExpansionKeepsWhite()
{
    QFETCH(int, colors);
    const QImage result = reduceWith(grayImage(2, 1, {255, 0}), colors, false).image;
    QCOMPARE(result.pixel(0, 0), 0xFFFFFFFFu);
    QCOMPARE(result.pixel(1, 0), 0xFF000000u);
    ColorReducer reducer(imageOf(1, 1, {qRgb(255, 255, 255)}));
    QCOMPARE(reducer.stretch(colors / 2).pixel(0, 0), 0xFFFFFFFFu);
}

void TestColorReducer::emptySourceGivesNullImage_data()
{
    QTest::addColumn<QImage>("source");
    QTest::addColumn<bool>("gray");
    QTest::addColumn<bool>("dither");
    QTest::newRow("null, grey path on") << QImage() << true << true;
    QTest::newRow("null, grey path off") << QImage() << false << false;
    QTest::newRow("null, grey path off, dither") << QImage() << false << true;
    QTest::newRow("zero width") << QImage(0, 5, QImage::Format_ARGB32) << false << true;
}

void TestColorReducer::emptySourceGivesNullImage()
{
    QFETCH(QImage, source);
    QFETCH(bool, gray);
    QFETCH(bool, dither);
    const Reduced result = reduceWith(source, 256, dither, gray);
    QVERIFY(result.image.isNull());
    QCOMPARE(result.progress, QVector<int>{0});
    ColorReducer reducer(source);
    QVERIFY(reducer.stretch(4).isNull());
}

void TestColorReducer::colorCountIsClamped_data()
{
    QTest::addColumn<int>("colors");
    QTest::addColumn<bool>("gray");
    QTest::addColumn<int>("most");
    QTest::newRow("1000") << 1000 << false << 256;
    QTest::newRow("257") << 257 << false << 256;
    QTest::newRow("0") << 0 << false << 1;
    QTest::newRow("-5") << -5 << false << 1;
    QTest::newRow("grey 1000") << 1000 << true << 129;
    QTest::newRow("grey 600") << 600 << true << 129;
}

void TestColorReducer::colorCountIsClamped()
{
    QFETCH(int, colors);
    QFETCH(bool, gray);
    QFETCH(int, most);
    const QImage source = makeRandomImage(5, 128, 96, false, gray);
    for (bool bDither : {false, true}) {
        const QImage result = reduceWith(source, colors, bDither).image;
        QCOMPARE(result.format(), QImage::Format_Indexed8);
        QVERIFY(distinctIndices(result) <= most);
        if (!gray)
            QCOMPARE(result.colorCount(), most);
    }
}

QTEST_GUILESS_MAIN(TestColorReducer)
#include "tst_ColorReducer.moc"
