#include "ImageEncoding.h"
#include "TestImages.h"

#include <QtTest>

using namespace MGraphX;

namespace {

QImage sample()
{
    QImage image(5, 3, QImage::Format_ARGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            image.setPixel(x, y, qRgba(x * 50, y * 100, 7, 255 - x * 20));
    return image;
}

} // namespace

class TestImageEncoding : public QObject
{
    Q_OBJECT

private slots:
    void dataUriRoundTrip();
    void dataUriRefused_data();
    void dataUriRefused();
    void dataUriOfUnencodable();
    void recompress_data();
    void recompress();
};

void TestImageEncoding::dataUriRoundTrip()
{
    const QString strUri = toDataUri(sample(), QStringLiteral("PNG"), 0);
    QVERIFY(strUri.startsWith(QLatin1String("data:image/png;base64,iVBORw0KGgo")));
    const QImage image = fromDataUri(strUri);
    QCOMPARE(image.convertToFormat(QImage::Format_ARGB32), sample());
    // The text around the markers does not matter.
    QCOMPARE(fromDataUri("src=\"" + strUri.mid(4) + "\"").convertToFormat(QImage::Format_ARGB32), sample());
}

void TestImageEncoding::dataUriRefused_data()
{
    QTest::addColumn<QString>("text");
    const QString strPayload = toDataUri(sample(), QStringLiteral("png"), 0).section(',', 1);
    QTest::newRow("no :image/") << QString("data:text/plain;base64," + strPayload);
    QTest::newRow("upper-case marker") << QString("data:IMAGE/png;base64," + strPayload);
    QTest::newRow("no ;base64,") << QString("data:image/png," + strPayload);
    QTest::newRow("empty payload") << QString("data:image/png;base64,");
    QTest::newRow("not a picture") << QString("data:image/png;base64,aGVsbG8gd29ybGQ=");
    // A header that declares 20000 x 20000 pixels is not decoded at all.
    QTest::newRow("oversized picture")
        << QString("data:image/png;base64," + QString::fromLatin1(pngHeaderOnly(20000, 20000).toBase64()));
}

void TestImageEncoding::dataUriRefused()
{
    QFETCH(QString, text);
    QVERIFY(fromDataUri(text).isNull());
}

void TestImageEncoding::dataUriOfUnencodable()
{
    QCOMPARE(toDataUri(sample(), QStringLiteral("NoSuchFormat"), -1), QStringLiteral("data:image/nosuchformat;base64,"));
    QCOMPARE(toDataUri(QImage(), QStringLiteral("png"), -1), QStringLiteral("data:image/png;base64,"));
}

void TestImageEncoding::recompress_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("quality");
    QTest::addColumn<int>("tolerance");
    QTest::newRow("png is lossless") << "png" << 0 << 0;
    QTest::newRow("bmp is lossless") << "BMP" << -1 << 0;
    QTest::newRow("jpeg at 100 is close") << "jpg" << 100 << 12;
}

void TestImageEncoding::recompress()
{
    QFETCH(QString, format);
    QFETCH(int, quality);
    QFETCH(int, tolerance);
    QImage source(8, 8, QImage::Format_RGB32);
    source.fill(qRgb(90, 140, 200));
    source.setPixel(3, 3, qRgb(100, 130, 190));
    const QImage image = MGraphX::recompress(source, format, quality).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(image.size(), source.size());
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const QRgb a = image.pixel(x, y), b = source.pixel(x, y);
            const int nDiff = qMax(qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
            QVERIFY2(nDiff <= tolerance, qPrintable(QString("pixel %1,%2 off by %3").arg(x).arg(y).arg(nDiff)));
        }
    }
    QVERIFY(MGraphX::recompress(source, QStringLiteral("NoSuchFormat"), 0).isNull());
}

QTEST_GUILESS_MAIN(TestImageEncoding)
#include "tst_ImageEncoding.moc"
