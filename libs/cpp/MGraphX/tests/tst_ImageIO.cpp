#include "ImageIO.h"
#include "TestImages.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtEndian>
#include <QDir>
#include <QtTest>

#include <sys/stat.h>

using namespace MGraphX;

namespace {

QByteArray samplePng()
{
    QImage image(64, 48, QImage::Format_ARGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgba(x * 4, y * 5, (x * y) & 0xFF, 255 - x));
    return encodePng(image);
}

// A red 3 x 2 GIF (written by ImageMagick) whose header declares a logical
// screen of width x height; the decoder paints the frame on that screen.
QByteArray gifOnScreen(int width, int height)
{
    QByteArray gif = QByteArray::fromHex("47494638396103000200f00000ff0000000000"
                                         "21f90400000000002c000000000300020000020284"
                                         "5f003b");
    qToLittleEndian(quint16(width), reinterpret_cast<uchar*>(gif.data()) + 6);
    qToLittleEndian(quint16(height), reinterpret_cast<uchar*>(gif.data()) + 8);
    return gif;
}

} // namespace

class TestImageIO : public QObject
{
    Q_OBJECT

private slots:
    void badFiles_data();
    void badFiles();
    void loadsGoodFile();
    void notAFile_data();
    void notAFile();
    void encodesIndexedImage();
    void encodeNullImage();
};

void TestImageIO::badFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QByteArray good = samplePng();
    QByteArray corrupt = good;
    for (int i = good.size() / 2; i < good.size() / 2 + 16; ++i)
        corrupt[i] = char(corrupt[i] ^ 0x5A);
    QTest::newRow("zero bytes") << QByteArray() << QStringLiteral("empty");
    QTest::newRow("text") << QByteArray("just some text, not a picture\n") << QStringLiteral("not a picture");
    QTest::newRow("signature only") << good.left(8) << QString();
    QTest::newRow("truncated header") << good.left(20) << QString();
    QTest::newRow("truncated data") << good.left(good.size() / 2) << QString();
    QTest::newRow("corrupt data") << corrupt << QString();
    QTest::newRow("header without pixels") << pngHeaderOnly(16, 16) << QStringLiteral("cannot be decoded");
    QTest::newRow("20000 x 20000") << pngHeaderOnly(20000, 20000) << QStringLiteral("too large");
    QTest::newRow("12248 x 12248") << pngHeaderOnly(12248, 12248) << QStringLiteral("too large");
    QTest::newRow("2^31 - 1 wide") << pngHeaderOnly(0x7FFFFFFF, 1) << QString();
    // The reader reports the 3 x 2 frame; the screen is 191 megapixels.
    QTest::newRow("GIF screen 13571 x 14069") << gifOnScreen(13571, 14069) << QStringLiteral("too large");
}

void TestImageIO::badFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);

    QImage image(3, 3, QImage::Format_RGB32);
    QString strError;
    QVERIFY(!loadImageChecked(bytes, &image, &strError));
    QVERIFY(image.isNull());
    QVERIFY(!strError.isEmpty());
    if (!message.isEmpty())
        QVERIFY2(strError.contains(message), qPrintable(strError));

    QTemporaryDir dir;
    const QString strPath = dir.filePath(QStringLiteral("bad.png"));
    QFile file(strPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QString strFileError;
    QVERIFY(!loadImageChecked(strPath, &image, &strFileError));
    QVERIFY(image.isNull());
    QVERIFY(!strFileError.isEmpty());
    QVERIFY(!loadImageChecked(strPath, nullptr, nullptr)); // no out-parameters
}

void TestImageIO::loadsGoodFile()
{
    QImage image;
    QString strError;
    QVERIFY(loadImageChecked(samplePng(), &image, &strError));
    QVERIFY(strError.isEmpty());
    QCOMPARE(image.size(), QSize(64, 48));
    QCOMPARE(image.pixel(10, 20), qRgba(40, 100, 200, 245));

    QVERIFY(loadImageChecked(gifOnScreen(3, 2), &image, &strError));
    QCOMPARE(image.size(), QSize(3, 2));
    QCOMPARE(image.pixel(2, 1), qRgb(255, 0, 0));
    QVERIFY(loadImageChecked(gifOnScreen(12000, 2), &image, &strError));
    QCOMPARE(image.size(), QSize(12000, 2));
}

void TestImageIO::notAFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing" << "No such file or directory";
    QTest::newRow("folder") << "folder" << "Not a regular file";
    // Without a writer, a plain open would wait for one for good.
    QTest::newRow("pipe without a writer") << "pipe" << "Not a regular file";
    // Would feed zeros without end.
    QTest::newRow("link to a device") << "device" << "Not a regular file";
}

// Only a regular file is read; anything else fails at once with its reason.
void TestImageIO::notAFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString strPath = dir.filePath(QStringLiteral("picture.png"));
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(strPath));
    else if (kind == QLatin1String("pipe"))
        QCOMPARE(::mkfifo(QFile::encodeName(strPath).constData(), 0600), 0);
    else if (kind == QLatin1String("device"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), strPath));
    QImage image(2, 2, QImage::Format_RGB32);
    QString strError;
    QVERIFY(!loadImageChecked(strPath, &image, &strError));
    QVERIFY(image.isNull());
    QVERIFY2(strError.contains(QStringLiteral("cannot be opened")) && strError.contains(reason),
             qPrintable(strError));
}

void TestImageIO::encodesIndexedImage()
{
    QImage indexed(33, 7, QImage::Format_Indexed8);
    QVector<QRgb> table(256, 0);
    table[0] = qRgb(255, 0, 0);
    table[1] = qRgb(0, 0, 255);
    indexed.setColorTable(table);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 33; ++x)
            indexed.setPixel(x, y, uint((x + y) % 3 == 0 ? 255 : (x & 1)));
    const QByteArray png = encodePng(indexed);
    QVERIFY(png.startsWith("\x89PNG"));
    // Colour type 3: stored with its palette.
    QCOMPARE(int(png[25]), 3);
    QCOMPARE(encodePng(indexed), png); // deterministic
    QImage back;
    QVERIFY(loadImageChecked(png, &back));
    QCOMPARE(back.format(), QImage::Format_Indexed8);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 33; ++x)
            QCOMPARE(back.pixel(x, y), indexed.pixel(x, y));
    // The strongest compression is not larger than the default one.
    QByteArray defaultPng;
    QBuffer buffer(&defaultPng);
    buffer.open(QIODevice::WriteOnly);
    indexed.save(&buffer, "PNG");
    QVERIFY(png.size() <= defaultPng.size());
}

void TestImageIO::encodeNullImage()
{
    QVERIFY(encodePng(QImage()).isEmpty());
}

QTEST_GUILESS_MAIN(TestImageIO)
#include "tst_ImageIO.moc"
