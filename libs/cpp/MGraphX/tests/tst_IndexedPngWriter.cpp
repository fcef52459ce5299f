#include "ImageIO.h"
#include "IndexedPngWriter.h"

#include <QColorSpace>
#include <QRandomGenerator>
#include <QtTest>

using MGraphX::IndexedPngWriter;

namespace {

enum Extra { Plain, Text, LongText, WideText, Offset, Resolution, ColourSpace, SRgb, IccProfile, Everything };

// Indices with runs and noise, so that the stream has some length.
void fillRows(QImage& image, int nColors, quint32 nSeed, IndexedPngWriter* pWriter)
{
    QRandomGenerator rng(nSeed);
    for (int y = 0; y < image.height(); ++y) {
        uchar* pRow = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            pRow[x] = uchar((x / 7 + y / 5) % 3 ? (x * 3 + y) % nColors : int(rng.bounded(nColors)));
        // Rows are published in uneven groups, as a reducer may.
        if (pWriter && (y % 3 == 2 || y == image.height() - 1))
            pWriter->rowsReady(y + 1);
    }
}

} // namespace

class TestIndexedPngWriter : public QObject
{
    Q_OBJECT

private slots:
    void matchesSave_data();
    void matchesSave();
    void otherImageFallsBack();
    void abandonedWriterStops();
};

void TestIndexedPngWriter::matchesSave_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("colors");
    QTest::addColumn<bool>("alpha");
    QTest::addColumn<int>("extra");
    // 8193-wide rows cross the 8 KiB chunk boundaries; 1 x N and N x 1 are
    // the narrowest rows; 100 x 100 is below the streaming size.
    for (const QSize size : {QSize(301, 203), QSize(1, 30000), QSize(30000, 1), QSize(8193, 3),
                             QSize(100, 100)})
        for (int nColors : {1, 2, 4, 16, 256})
            QTest::addRow("%dx%d %d colours", size.width(), size.height(), nColors)
                << size << nColors << false << int(Plain);
    QTest::newRow("transparent entries") << QSize(301, 203) << 16 << true << int(Plain);
    QTest::newRow("text") << QSize(301, 203) << 16 << false << int(Text);
    QTest::newRow("offset") << QSize(301, 203) << 16 << false << int(Offset);
    QTest::newRow("resolution") << QSize(301, 203) << 16 << false << int(Resolution);
    QTest::newRow("colour space") << QSize(301, 203) << 16 << false << int(ColourSpace);
    QTest::newRow("long text") << QSize(301, 203) << 16 << false << int(LongText);
    QTest::newRow("non-Latin-1 text") << QSize(301, 203) << 16 << false << int(WideText);
    QTest::newRow("sRGB") << QSize(301, 203) << 16 << false << int(SRgb);
    QTest::newRow("ICC profile") << QSize(301, 203) << 16 << false << int(IccProfile);
    QTest::newRow("everything") << QSize(301, 203) << 256 << true << int(Everything);
    QTest::newRow("everything, small") << QSize(100, 100) << 16 << true << int(Everything);
    QTest::newRow("grey ramp") << QSize(301, 203) << -16 << false << int(Plain);
}

void TestIndexedPngWriter::matchesSave()
{
    QFETCH(QSize, size);
    QFETCH(int, colors);
    QFETCH(bool, alpha);
    QFETCH(int, extra);
    const bool bRamp = colors < 0;
    const int nColors = qAbs(colors);
    QImage image(size, QImage::Format_Indexed8);
    IndexedPngWriter writer;
    writer.begin(image);
    fillRows(image, nColors, quint32(size.width() + nColors), &writer);

    QVector<QRgb> table;
    QRandomGenerator rng(7);
    for (int i = 0; i < nColors; ++i) {
        const QRgb rgb = bRamp ? qRgb(i, i, i) : (0xFF000000u | rng.generate());
        table.append(alpha && i % 3 == 1 ? qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), i) : rgb);
    }
    image.setColorTable(table);
    const bool bAll = extra == Everything;
    if (extra == Text || bAll)
        image.setText(QStringLiteral("Comment"), QStringLiteral("kept"));
    if (extra == LongText || bAll) // long enough for a compressed text chunk
        image.setText(QStringLiteral("Description"), QString(300, QLatin1Char('w')));
    if (extra == WideText || bAll)
        image.setText(QStringLiteral("Author"), QStringLiteral("\u6771\u4eac \u00e9t\u00e9"));
    if (extra == Offset || bAll)
        image.setOffset(QPoint(3, -4));
    if (extra == Resolution || bAll)
        image.setDotsPerMeterX(2835), image.setDotsPerMeterY(1000);
    if (extra == ColourSpace)
        image.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    else if (extra == SRgb)
        image.setColorSpace(QColorSpace(QColorSpace::SRgb));
    else if (extra == IccProfile || bAll) // as read from a file's profile
        image.setColorSpace(QColorSpace::fromIccProfile(QColorSpace(QColorSpace::AdobeRgb).iccProfile()));

    const QByteArray streamed = writer.finish(image);
    const QByteArray saved = MGraphX::encodePng(image);
    QVERIFY(!saved.isEmpty());
    QCOMPARE(streamed.size(), saved.size());
    QVERIFY(streamed == saved);
    // Pictures of streaming size use their compressed rows, metadata or not.
    const bool bStreamingSize = qint64(size.width() + 1) * size.height() > 16384;
    QCOMPARE(writer.streamed(), bStreamingSize && !bRamp);
}

// An image other than the one begun (here a detached copy) is saved plainly.
void TestIndexedPngWriter::otherImageFallsBack()
{
    QImage image(400, 300, QImage::Format_Indexed8);
    image.setColorTable({qRgb(10, 20, 30), qRgb(200, 100, 0), qRgb(0, 255, 0)});
    IndexedPngWriter writer;
    writer.begin(image);
    fillRows(image, 3, 1, &writer);
    QImage other = image.copy();
    other.setPixel(0, 0, 2);
    other.setPixel(1, 0, 1);
    QCOMPARE(writer.finish(other), MGraphX::encodePng(other));
    QVERIFY(!writer.streamed());
}

// A writer whose rows never all arrive (the reduction failed) ends its helper
// thread when destroyed.
void TestIndexedPngWriter::abandonedWriterStops()
{
    QImage image(500, 500, QImage::Format_Indexed8);
    image.fill(0);
    {
        IndexedPngWriter writer;
        writer.begin(image);
        writer.rowsReady(10);
    }
    QImage image2(500, 500, QImage::Format_Indexed8);
    image2.fill(0);
    IndexedPngWriter writer;
    writer.begin(image2);
    QVERIFY(writer.finish(QImage()).isEmpty());
}

QTEST_GUILESS_MAIN(TestIndexedPngWriter)
#include "tst_IndexedPngWriter.moc"
