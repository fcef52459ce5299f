#include "TestImages.h"
#include "Xani.h"
#include "../../MTools/tests/FifoReader.h"

#include <QBuffer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace MGraphX;

namespace {

QImage solid(QRgb rgb, int w = 2, int h = 2)
{
    return filled(w, h, rgb);
}

XaniFrame frameOf(const QImage& image, const QString& strName = QString(), const QString& strFormat = QString())
{
    XaniFrame frame;
    frame.setImage(image);
    frame.setName(strName);
    if (!strFormat.isEmpty())
        frame.setFormat(strFormat);
    return frame;
}

// What Qt's own writer makes of the picture in that format.
QByteArray encoded(const QImage& image, const char* pFormat)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, pFormat);
    return bytes;
}

QByteArray field(const char* pHex)
{
    return QByteArray(pHex).leftJustified(16, ' ');
}

QByteArray readFile(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& strPath, const QByteArray& bytes)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A hand-made container around a 10-byte frame block and a 7-byte index:
// 40 + 10 + 20 + 7 = 0x4d bytes.
QByteArray forged(const QByteArray& magic, const QByteArray& total, const QByteArray& bind,
                  const QByteArray& block, const QByteArray& xmld, const QByteArray& x)
{
    return magic + field(total) + bind + field(block) + "0123456789" + xmld + field(x) + "<Xani/>";
}

QRgb shown(const Xani& xani)
{
    const QImage& image = xani;
    return image.isNull() ? 0 : image.pixel(0, 0);
}

} // namespace

class TestXani : public QObject
{
    Q_OBJECT

private slots:
    void newContainer();
    void ticksCycleFrames();
    void timerPlaysOncePerSecond();
    void frameList();
    void copiesTakeFramesOnly();
    void baseName_data();
    void baseName();
    void savesByteExact();
    void savesEmptyContainer();
    void saveFailures_data();
    void saveFailures();
    void pipeTakesNoContainer_data();
    void pipeTakesNoContainer();
    void loadsSavedFile();
    void loadRefuses_data();
    void loadRefuses();
};

void TestXani::newContainer()
{
    Xani xani(QStringLiteral("ignored.xani"));
    QCOMPARE(xani.frameCount(), 0);
    QCOMPARE(xani.loop(), 1);
    QCOMPARE(xani.frameDuration(), 1000);
    QVERIFY(xani.fileName().isEmpty());
    QVERIFY(static_cast<const QImage&>(xani).isNull());
    QCOMPARE(xani.metaObject()->className(), "MGraphX::Xani");
    QCOMPARE(xani.qt_metacast("QImage"), static_cast<void*>(static_cast<QImage*>(&xani)));

    QSignalSpy spy(&xani, SIGNAL(frameChanged()));
    xani.start();
    QVERIFY(xani.isPlaying());
    xani.nextFrame(); // a tick with no frames stops the timer
    QVERIFY(!xani.isPlaying());
    QCOMPARE(spy.count(), 0);
}

void TestXani::ticksCycleFrames()
{
    Xani xani;
    const QRgb colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    for (QRgb c : colours)
        xani.addFrame(frameOf(solid(c)));
    QSignalSpy spy(&xani, SIGNAL(frameChanged()));
    QVector<QRgb> seen;
    for (int i = 0; i < 4; ++i) {
        xani.nextFrame();
        seen << shown(xani);
    }
    QCOMPARE(seen, (QVector<QRgb>{colours[0], colours[1], colours[2], colours[0]}));
    QCOMPARE(spy.count(), 4);

    // Outside the list: an empty image, still announced; the position stays.
    xani.setCurrentIndex(7);
    QVERIFY(static_cast<const QImage&>(xani).isNull());
    QCOMPARE(spy.count(), 5);
    xani.nextFrame();
    QCOMPARE(shown(xani), colours[1]);

    // A list that shrank below the position starts again at the first frame.
    xani.replaceFrame(2, frameOf(solid(0xFF123456)));
    xani.nextFrame();
    QCOMPARE(shown(xani), 0xFF123456u);
    xani.nextFrame();
    QCOMPARE(shown(xani), colours[0]);
}

void TestXani::timerPlaysOncePerSecond()
{
    Xani xani;
    xani.setFrameDuration(10); // the interval stays one second
    xani.addFrame(frameOf(solid(0xFF00FF00)));
    Xani copy(xani);
    QSignalSpy spy(&xani, SIGNAL(frameChanged()));
    QSignalSpy copySpy(&copy, SIGNAL(frameChanged()));
    QElapsedTimer clock;
    clock.start();
    xani.start();
    copy.start();
    QVERIFY(spy.wait(3000));
    QVERIFY2(clock.elapsed() >= 900, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(shown(xani), 0xFF00FF00u);
    xani.stop();
    QTest::qWait(300);
    QCOMPARE(copySpy.count(), 0); // the copy's timer drives nothing
    QCOMPARE(spy.count(), 1);
}

void TestXani::frameList()
{
    Xani xani;
    QCOMPARE(xani.addFrame(frameOf(solid(1), "a")), 1);
    QCOMPARE(xani.addFrame(frameOf(solid(2), "b")), 2);
    xani.replaceFrame(2, frameOf(solid(3), "c")); // past the end: nothing
    xani.replaceFrame(-1, frameOf(solid(3), "c"));
    QCOMPARE(xani.frameCount(), 2);
    xani.replaceFrame(1, frameOf(solid(3), "c"));
    QCOMPARE(xani.frame(1).name(), QStringLiteral("c"));

    const XaniFrame outside = xani.frame(2);
    QVERIFY(outside.image().isNull());
    QVERIFY(outside.name().isEmpty());
    QCOMPARE(outside.format(), QStringLiteral("PNG"));
    QCOMPARE(outside.duration(), -1);
    QCOMPARE(outside.background(), false);
    QCOMPARE(outside.start(), qint64(-1));
    QCOMPARE(outside.size(), qint64(-1));

    xani.clearFrames();
    QCOMPARE(xani.frameCount(), 0);
}

void TestXani::copiesTakeFramesOnly()
{
    QObject parent;
    Xani xani(QString(), &parent);
    xani.setLoop(4);
    xani.setFrameDuration(80);
    xani.addFrame(frameOf(solid(0xFFABCDEF), "one"));
    xani.nextFrame();

    const Xani copy(xani);
    QCOMPARE(copy.loop(), 4);
    QCOMPARE(copy.frameDuration(), 80);
    QCOMPARE(copy.frame(0).name(), QStringLiteral("one"));
    QVERIFY(!copy.parent());
    QVERIFY(static_cast<const QImage&>(copy).isNull());

    Xani target;
    target.addFrame(frameOf(solid(1)));
    target.addFrame(frameOf(solid(2)));
    target = xani;
    QCOMPARE(target.frameCount(), 1);
    QCOMPARE(target.loop(), 4);
    QVERIFY(static_cast<const QImage&>(target).isNull());
}

void TestXani::baseName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("base");
    QTest::newRow("two dots") << "walk.01.png" << "walk";
    QTest::newRow("no dot") << "walk" << "walk";
    QTest::newRow("leading dot") << ".walk" << "";
}

void TestXani::baseName()
{
    QFETCH(QString, name);
    QFETCH(QString, base);
    QCOMPARE(frameOf(QImage(), name).baseName(), base);
}

void TestXani::savesByteExact()
{
    QTemporaryDir dir;
    const QString strPath = dir.filePath("walk.xani");
    const QImage first = solid(0xFFFF8000, 3, 2);
    const QImage second = solid(0x80102030, 2, 2);
    Xani xani;
    xani.setLoop(3);
    xani.setFrameDuration(250);
    XaniFrame a = frameOf(first, QStringLiteral("say \"hi\""));
    a.setDuration(120);
    a.setBackground(true);
    xani.addFrame(a);
    xani.addFrame(frameOf(second, QStringLiteral("b.bmp"), QStringLiteral("BMP")));
    QVERIFY(xani.save(strPath, -1));

    const QByteArray bytesA = encoded(first, "PNG");
    const QByteArray bytesB = encoded(second, "BMP");
    const int nA = bytesA.size(), nB = bytesB.size();
    const QByteArray index =
        "<Xani loop = \"3\" frameduration=\"250\" framecount=\"2\">\n"
        "<Image index=\"0\" name=\"say \"hi\"\" format=\"PNG\" duration=\"120\" background=\"true\">\n"
        "  <data start=\"40\" size=\"" + QByteArray::number(nA) + "\">\n"
        "</Image>\n"
        "<Image index=\"1\" name=\"b.bmp\" format=\"BMP\" duration=\"-1\" background=\"false\">\n"
        "  <data start=\"" + QByteArray::number(40 + nA) + "\" size=\"" + QByteArray::number(nB) + "\">\n"
        "</Image>\n"
        "</Xani>";
    const int nTotal = 40 + nA + nB + 20 + index.size();
    const QByteArray expected = "XANI" + field(QByteArray::number(nTotal, 16)) + "BIND"
                                + field(QByteArray::number(nA + nB, 16)) + bytesA + bytesB + "XMLD"
                                + field(QByteArray::number(index.size(), 16)) + index;
    const QByteArray written = readFile(strPath);
    QCOMPARE(written.size(), nTotal);
    QCOMPARE(written, expected);
    // The frames in memory keep their own byte ranges.
    QCOMPARE(xani.frame(0).start(), qint64(-1));
}

void TestXani::savesEmptyContainer()
{
    QTemporaryDir dir;
    const QString strPath = dir.filePath("empty.xani");
    QVERIFY(Xani().save(strPath, 0));
    const QByteArray index = "<Xani loop = \"1\" frameduration=\"1000\" framecount=\"0\">\n</Xani>";
    QCOMPARE(index.size(), 61);
    QCOMPARE(readFile(strPath), "XANI" + field("79") + "BIND" + field("0") + "XMLD" + field("3d") + index);
}

void TestXani::saveFailures_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QString>("format");
    QTest::newRow("folder missing") << "missing/walk.xani" << solid(0xFF000000) << "PNG";
    QTest::newRow("frame without picture") << "walk.xani" << QImage() << "PNG";
    QTest::newRow("unknown format") << "walk.xani" << solid(0xFF000000) << "NoSuchFormat";
}

void TestXani::saveFailures()
{
    QFETCH(QString, target);
    QFETCH(QImage, image);
    QFETCH(QString, format);
    QTemporaryDir dir;
    const QString strPath = dir.filePath(target);
    const bool bExisting = QFileInfo(strPath).dir().exists();
    if (bExisting)
        QVERIFY(writeFile(strPath, "an earlier container"));
    Xani xani;
    xani.addFrame(frameOf(solid(0xFFFFFFFF)));
    xani.addFrame(frameOf(image, "bad", format));
    QVERIFY(!xani.save(strPath, -1));
    // Whatever stood there before is left as it was, and nothing half-written.
    if (bExisting)
        QCOMPARE(readFile(strPath), QByteArray("an earlier container"));
    else
        QVERIFY(!QFile::exists(strPath));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), bExisting ? QStringList{"walk.xani"} : QStringList{});
}

// The lengths are filled in at the end, which a pipe cannot take back: its
// reader gets nothing rather than a container with blank lengths, and the
// pipe stays.
void TestXani::pipeTakesNoContainer_data()
{
    QTest::addColumn<bool>("withReader");
    QTest::newRow("a reader waits") << true;
    // Refused without opening it, which would wait for a reader for good.
    QTest::newRow("nobody reads") << false;
}

void TestXani::pipeTakesNoContainer()
{
    QFETCH(bool, withReader);
    QTemporaryDir dir;
    const QString strPath = dir.filePath("walk.xani");
    std::unique_ptr<FifoReader> reader;
    if (withReader) {
        reader = std::make_unique<FifoReader>(strPath);
        QVERIFY(reader->isReady());
    } else {
        QCOMPARE(::mkfifo(QFile::encodeName(strPath).constData(), 0600), 0);
    }
    Xani xani;
    xani.addFrame(frameOf(solid(0xFFFFFFFF)));
    QVERIFY(!xani.save(strPath, -1));
    if (reader) {
        // Nothing was opened, so the reader still waits: it is let go here.
        QFile(strPath).open(QIODevice::WriteOnly);
        QCOMPARE(reader->received(), QByteArray(""));
    }
    QVERIFY(FifoReader::isFifo(strPath));
}

void TestXani::loadsSavedFile()
{
    QTemporaryDir dir;
    const QString strPath = dir.filePath("walk.xani");
    Xani saved;
    saved.addFrame(frameOf(solid(0xFF00FF00), "g"));
    saved.addFrame(frameOf(solid(0xFF0000FF), "b"));
    QVERIFY(saved.save(strPath, 0));

    Xani xani;
    xani.addFrame(frameOf(solid(0xFFFFFFFF), "kept"));
    QVERIFY(xani.load(strPath));
    QCOMPARE(xani.fileName(), strPath);
    QCOMPARE(xani.frameCount(), 1);
    QCOMPARE(xani.frame(0).name(), QStringLiteral("kept"));

    // Fields may end in NUL bytes; the text before the first one counts.
    QByteArray bytes = readFile(strPath);
    bytes[24 + 8] = '\0';
    bytes.replace(24 + 9, 7, "garbage");
    QVERIFY(writeFile(strPath, bytes));
    QVERIFY(xani.load(strPath));

    // A hand-made container with consistent lengths loads.
    const QByteArray good = forged("XANI", "4d", "BIND", "a", "XMLD", "7");
    QCOMPARE(good.size(), 0x4d);
    QVERIFY(writeFile(strPath, good));
    QVERIFY(xani.load(strPath));

    QVERIFY(!xani.load(dir.filePath("missing.xani")));
}

void TestXani::loadRefuses_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = forged("XANI", "4d", "BIND", "a", "XMLD", "7");
    QTest::newRow("too short") << good.left(59);
    QTest::newRow("wrong magic") << forged("XANY", "4d", "BIND", "a", "XMLD", "7");
    QTest::newRow("no BIND") << forged("XANI", "4d", "BINX", "a", "XMLD", "7");
    QTest::newRow("no XMLD after the block") << forged("XANI", "4d", "BIND", "9", "XMLD", "7");
    QTest::newRow("block beyond the file") << forged("XANI", "4d", "BIND", "7fffffffffffffff", "XMLD", "7");
    QTest::newRow("negative block") << forged("XANI", "4d", "BIND", "-1", "XMLD", "7");
    QTest::newRow("block not hexadecimal") << forged("XANI", "4d", "BIND", "zz", "XMLD", "7");
    QTest::newRow("empty block field") << forged("XANI", "4d", "BIND", "", "XMLD", "7");
    QTest::newRow("index beyond the file") << forged("XANI", "4d", "BIND", "a", "XMLD", "8");
    QTest::newRow("index of 2 GiB") << forged("XANI", "4d", "BIND", "a", "XMLD", "7fffffff");
    QTest::newRow("total beyond the file") << forged("XANI", "4e", "BIND", "a", "XMLD", "7");
    QTest::newRow("total not a number") << forged("XANI", "", "BIND", "a", "XMLD", "7");
}

void TestXani::loadRefuses()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString strPath = dir.filePath("forged.xani");
    QVERIFY(writeFile(strPath, bytes));
    Xani xani;
    QVERIFY(!xani.load(strPath));
}

QTEST_GUILESS_MAIN(TestXani)
#include "tst_Xani.moc"
