#include "OptimizeStep.h"

#include "BatchFixtures.h"
#include "ColorReducer.h"
#include "ImageFilters.h"
#include "ProcessLimits.h"

#include <QtTest>

#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace BatchFixtures;

// The per-file step that the batch worker and the benchmark share.
class TestBatchStep : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void testUniqueName_data();
    void testUniqueName();
    void testScaledSize_data();
    void testScaledSize();

    void testReduced_data();
    void testReduced();
    void testSameBytesAsPlainPath_data();
    void testSameBytesAsPlainPath();
    void testEqualSizeKeepsReduced_data();
    void testEqualSizeKeepsReduced();
    void testTinyScaleNeverZero();
    void testLargerResultKeptAsCopy();
    void testLargerResultNeverOverwrites();
    void testUnreadableSourceCopied_data();
    void testUnreadableSourceCopied();
    void testMissingSourceFails();
    void testFailedWriteKeepsSource();
    void testFullDiskLeavesNoPartialFile();
    void testProgressPassesThrough();
    void testLookaheadGivesTheSameFiles();
    void testOutOfMemoryFailsOneFile_data();
    void testOutOfMemoryFailsOneFile();
    void testNoThreadToSpare_data();
    void testNoThreadToSpare();

    void testOutputPermissions_data();
    void testOutputPermissions();
    void testTakenOutputNameIsNeverReplaced_data();
    void testTakenOutputNameIsNeverReplaced();
    void testSpecialSourceFails_data();
    void testSpecialSourceFails();
};

void TestBatchStep::cleanup()
{
    OptimizeStep::setWriteFaultForTesting({});
    OptimizeStep::setWithoutNoReplaceMovesForTesting(false);
}

void TestBatchStep::testUniqueName_data()
{
    QTest::addColumn<QStringList>("existing");   // names in the folder; "x/" is a folder
    QTest::addColumn<QString>("baseName");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("expected");

    QTest::newRow("free") << QStringList() << "a" << ".png" << "a.png";
    QTest::newRow("taken once") << QStringList{"a.png"} << "a" << ".png" << "a 2.png";
    QTest::newRow("taken twice") << QStringList{"a.png", "a 2.png"} << "a" << ".png" << "a 3.png";
    QTest::newRow("gap not reused") << QStringList{"a.png", "a 3.png"} << "a" << ".png" << "a 2.png";
    QTest::newRow("folder counts as taken") << QStringList{"a.png/"} << "a" << ".png" << "a 2.png";
    QTest::newRow("dotted base") << QStringList{"my.photo.png"} << "my.photo" << ".png" << "my.photo 2.png";
    QTest::newRow("upper-case source") << QStringList{"photo.png"} << "photo" << ".PNG" << "photo.PNG";
    QTest::newRow("no extension") << QStringList{"Makefile"} << "Makefile" << "" << "Makefile 2";
    QTest::newRow("two suffixes") << QStringList{"x.tar.gz"} << "x.tar" << ".gz" << "x.tar 2.gz";
    QTest::newRow("ten") << QStringList{"b.png", "b 2.png", "b 3.png", "b 4.png", "b 5.png",
                                        "b 6.png", "b 7.png", "b 8.png", "b 9.png"}
                         << "b" << ".png" << "b 10.png";
}

void TestBatchStep::testUniqueName()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, baseName);
    QFETCH(QString, extension);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    for (const QString& name : existing) {
        if (name.endsWith(QLatin1Char('/')))
            QVERIFY(QDir().mkpath(folder + name));
        else
            QVERIFY(writeFile(folder + name, "x"));
    }
    QCOMPARE(OptimizeStep::uniqueFilePath(folder, baseName, extension), folder + expected);
}

void TestBatchStep::testScaledSize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("101x51 at 50") << QSize(101, 51) << 50 << QSize(51, 26);
    QTest::newRow("100 keeps") << QSize(640, 480) << 100 << QSize(640, 480);
    QTest::newRow("50x50 at 29") << QSize(50, 50) << 29 << QSize(15, 15);
    QTest::newRow("40x40 at 1 never 0") << QSize(40, 40) << 1 << QSize(1, 1);
    QTest::newRow("200x1 at 1 never 0") << QSize(200, 1) << 1 << QSize(2, 1);
    QTest::newRow("1x1 at 1") << QSize(1, 1) << 1 << QSize(1, 1);
}

void TestBatchStep::testScaledSize()
{
    QFETCH(QSize, size);
    QFETCH(int, percent);
    QFETCH(QSize, expected);
    QCOMPARE(OptimizeStep::scaledSize(size, percent), expected);
}

void TestBatchStep::testReduced_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<int>("colors");
    QTest::addColumn<int>("resize");
    QTest::addColumn<bool>("gray");
    QTest::addColumn<QSize>("expectedSize");

    QTest::newRow("rgb 256") << rgbPicture(96, 64) << 256 << 100 << false << QSize(96, 64);
    QTest::newRow("rgb 16") << rgbPicture(96, 64) << 16 << 100 << false << QSize(96, 64);
    // The grey path keeps at least three levels, so ask for four.
    QTest::newRow("rgb 4 grey") << rgbPicture(96, 64) << 4 << 100 << true << QSize(96, 64);
    QTest::newRow("alpha 256") << alphaPicture(96, 64) << 256 << 100 << false << QSize(96, 64);
    QTest::newRow("grey 8") << greyPicture(160, 120) << 8 << 100 << false << QSize(160, 120);
    QTest::newRow("palette grey") << palettePicture(160, 120, 200) << 16 << 100 << true << QSize(160, 120);
    QTest::newRow("scaled 101x51 at 50") << rgbPicture(101, 51) << 256 << 50 << false << QSize(51, 26);
}

void TestBatchStep::testReduced()
{
    QFETCH(QImage, picture);
    QFETCH(int, colors);
    QFETCH(int, resize);
    QFETCH(bool, gray);
    QFETCH(QSize, expectedSize);

    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("in/pic.png"));
    QVERIFY(writeFile(source, pngBytes(picture)));
    QDir().mkpath(dir.filePath(QStringLiteral("out")));
    OptimizeStep::Options options;
    options.nColors = colors;
    options.nResizePercent = resize;
    options.bGray = gray;
    const auto result = OptimizeStep::run(source, dir.filePath(QStringLiteral("out/pic.png")), options);

    QVERIFY2(result.strError.isEmpty(), qPrintable(result.strError));
    QCOMPARE(result.lstWritten.size(), 1);
    QCOMPARE(result.nInputSize, QFileInfo(source).size());
    QCOMPARE(result.nOutputSize, QFileInfo(result.lstWritten.first()).size());
    QCOMPARE(result.sizePixels, expectedSize);
    QCOMPARE(result.outcome, OptimizeStep::Outcome::Reduced);
    QCOMPARE(result.lstWritten.first(), dir.filePath(QStringLiteral("out/pic.png")));
    QVERIFY(result.nOutputSize <= result.nInputSize);

    const QImage written(result.lstWritten.first());
    QCOMPARE(written.format(), QImage::Format_Indexed8);
    QCOMPARE(written.size(), expectedSize);
    QVERIFY(usedOpaqueColors(written) <= colors);
    if (gray) {
        for (QRgb c : written.colorTable())
            QVERIFY(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c));
    }
    if (picture.hasAlphaChannel())
        QCOMPARE(qAlpha(written.pixel(written.width() - 1, 0)), 0);
}

namespace {

// The file the step must write for a picture, built the plain way: load,
// scale by the rounded percentage keeping the aspect ratio, turn grey on 32-bit
// pixels, reduce, and save as PNG at quality 0 (the strongest compression).
QByteArray plainReducedPng(const QString& source, const OptimizeStep::Options& options)
{
    QImage image(source);
    const int p = options.nResizePercent;
    if (p <= 99)
        image = image.scaled(QSize(qRound(image.width() * p / 100.0), qRound(image.height() * p / 100.0)),
                             Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (options.bGray) {
        if (image.depth() != 32)
            image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                  : QImage::Format_RGB32);
        image = MGraphX::toGray(image);
    }
    MGraphX::ColorReducer reducer(image, nullptr);
    reducer.setDithering(options.bDithering);
    const QImage reduced = reducer.reduce(options.nColors);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    reduced.save(&buffer, "PNG", 0);
    return bytes;
}

} // namespace

void TestBatchStep::testSameBytesAsPlainPath_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<int>("colors");
    QTest::addColumn<bool>("dithering");
    QTest::addColumn<int>("resize");
    QTest::addColumn<bool>("gray");

    QTest::newRow("rgb 256") << rgbPicture(96, 64) << 256 << true << 100 << false;
    QTest::newRow("rgb 16 without dithering") << rgbPicture(96, 64) << 16 << false << 100 << false;
    QTest::newRow("alpha 255") << alphaPicture(96, 64) << 255 << true << 100 << false;
    QTest::newRow("grey at 50, grey") << greyPicture(160, 120) << 8 << true << 50 << true;
    QTest::newRow("palette, grey") << palettePicture(160, 120, 200) << 64 << true << 100 << true;
    QTest::newRow("16-bit") << rgbPicture(90, 70).convertToFormat(QImage::Format_RGBA64) << 256 << true
                            << 100 << false;
    QTest::newRow("16-bit, grey") << alphaPicture(90, 70).convertToFormat(QImage::Format_RGBA64) << 32
                                  << true << 100 << true;
    QTest::newRow("101x51 at 50") << rgbPicture(101, 51) << 256 << true << 50 << false;
    QTest::newRow("large, at 29") << rgbPicture(700, 500, 8) << 200 << true << 29 << false;
    QTest::newRow("large") << rgbPicture(640, 480, 9) << 256 << true << 100 << false;
}

// The step's faster road (rows compressed while reducing, the next file read
// ahead) writes exactly the bytes of the plain one.
void TestBatchStep::testSameBytesAsPlainPath()
{
    QFETCH(QImage, picture);
    QFETCH(int, colors);
    QFETCH(bool, dithering);
    QFETCH(int, resize);
    QFETCH(bool, gray);

    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("in/pic.png"));
    const QString next = dir.filePath(QStringLiteral("in/next.png"));
    QVERIFY(writeFile(source, pngBytes(picture)));
    QVERIFY(writeFile(next, pngBytes(picture)));
    const QString out = dir.filePath(QStringLiteral("out/"));
    QVERIFY(QDir().mkpath(out));
    OptimizeStep::Options options;
    options.nColors = colors;
    options.bDithering = dithering;
    options.nResizePercent = resize;
    options.bGray = gray;

    const QByteArray expected = plainReducedPng(source, options);
    QVERIFY(!expected.isEmpty());
    QVERIFY2(expected.size() <= QFileInfo(source).size(), "fixture must shrink");
    OptimizeStep::Lookahead lookahead;
    const auto first = OptimizeStep::run(source, out + QStringLiteral("pic.png"), options, {},
                                         &lookahead, next, options);
    const auto second = OptimizeStep::run(next, out + QStringLiteral("next.png"), options, {},
                                          &lookahead, QString(), options);
    QCOMPARE(first.outcome, OptimizeStep::Outcome::Reduced);
    QCOMPARE(second.outcome, OptimizeStep::Outcome::Reduced);
    QCOMPARE(readFile(out + QStringLiteral("pic.png")), expected);
    QCOMPARE(readFile(out + QStringLiteral("next.png")), expected);
}

void TestBatchStep::testEqualSizeKeepsReduced_data()
{
    QTest::addColumn<int>("difference");   // source size minus reduced size
    QTest::addColumn<bool>("reducedKept");
    QTest::newRow("source one byte smaller") << -1 << false;
    QTest::newRow("equal sizes") << 0 << true;
    QTest::newRow("source one byte larger") << 1 << true;
}

// Only a larger result gives way to the source; equal sizes keep the result.
void TestBatchStep::testEqualSizeKeepsReduced()
{
    QFETCH(int, difference);
    QFETCH(bool, reducedKept);

    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("in/tiny.png"));
    const QByteArray tiny = tinyPng(120);
    QVERIFY(writeFile(source, tiny));
    const QByteArray reduced = plainReducedPng(source, OptimizeStep::Options());
    QVERIFY(reduced.size() > tiny.size());
    // Bytes after the end chunk are ignored by the reader; they set the size.
    const QByteArray padded = tiny + QByteArray(reduced.size() - tiny.size() + difference, '\0');
    QVERIFY(writeFile(source, padded));
    QCOMPARE(plainReducedPng(source, OptimizeStep::Options()), reduced);

    const QString out = dir.filePath(QStringLiteral("out/"));
    QVERIFY(QDir().mkpath(out));
    const auto result = OptimizeStep::run(source, out + QStringLiteral("tiny.png"), OptimizeStep::Options());
    QCOMPARE(result.outcome, reducedKept ? OptimizeStep::Outcome::Reduced : OptimizeStep::Outcome::SourceKept);
    QCOMPARE(readFile(out + QStringLiteral("tiny.png")), reducedKept ? reduced : padded);
    QCOMPARE(result.nOutputSize, qint64(reducedKept ? reduced.size() : padded.size()));
}

// One per cent of a 200 x 1 picture must still be a picture.
void TestBatchStep::testTinyScaleNeverZero()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("line.png"));
    QVERIFY(writeFile(source, pngBytes(rgbPicture(200, 1))));
    OptimizeStep::Options options;
    options.nResizePercent = 1;
    const auto result = OptimizeStep::run(source, dir.filePath(QStringLiteral("line 2.png")), options);
    QVERIFY2(result.strError.isEmpty(), qPrintable(result.strError));
    QCOMPARE(result.lstWritten.size(), 1);
    QVERIFY(result.outcome != OptimizeStep::Outcome::Failed);
}

// A 1 x 1 grey PNG grows when re-encoded with a palette: the source is kept,
// byte for byte, under its own name.
void TestBatchStep::testLargerResultKeptAsCopy()
{
    QTemporaryDir dir;
    const QByteArray tiny = tinyPng(99);
    const QString source = dir.filePath(QStringLiteral("in/tiny.PNG"));
    QVERIFY(writeFile(source, tiny));
    const QString out = dir.filePath(QStringLiteral("out/"));
    QDir().mkpath(out);

    const auto result = OptimizeStep::run(source, out + QStringLiteral("tiny.png"), OptimizeStep::Options());
    QCOMPARE(result.outcome, OptimizeStep::Outcome::SourceKept);
    QVERIFY(result.strError.isEmpty());
    QCOMPARE(result.lstWritten, QStringList{out + QStringLiteral("tiny.PNG")});
    QCOMPARE(readFile(out + QStringLiteral("tiny.PNG")), tiny);
    QCOMPARE(result.nOutputSize, result.nInputSize);
    QCOMPARE(treeOf(out), QStringList{"tiny.PNG"});
}

// The folder already holds a file of the source's name: the source copy gets
// a unique name; the earlier file stays untouched.
void TestBatchStep::testLargerResultNeverOverwrites()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out/"));
    QVERIFY(writeFile(out + QStringLiteral("tiny.png"), "earlier"));
    const QByteArray tiny = tinyPng(3);
    const QString source = dir.filePath(QStringLiteral("y/tiny.png"));
    QVERIFY(writeFile(source, tiny));

    const QString output = OptimizeStep::uniqueFilePath(out, QStringLiteral("tiny"), QStringLiteral(".png"));
    QCOMPARE(output, out + QStringLiteral("tiny 2.png"));
    const auto result = OptimizeStep::run(source, output, OptimizeStep::Options());
    QCOMPARE(result.outcome, OptimizeStep::Outcome::SourceKept);
    QCOMPARE(result.lstWritten, QStringList{out + QStringLiteral("tiny 2.png")});
    QCOMPARE(readFile(out + QStringLiteral("tiny.png")), QByteArray("earlier"));
    QCOMPARE(readFile(out + QStringLiteral("tiny 2.png")), tiny);
    QCOMPARE(result.nOutputSize, result.nInputSize);
}

void TestBatchStep::testUnreadableSourceCopied_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray png = pngBytes(rgbPicture(64, 64));
    QTest::newRow("random bytes") << QByteArray("\x13\x37 not a picture at all \x00\xff", 26);
    QTest::newRow("text") << QByteArray("hello, world\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated png") << png.left(png.size() / 2);
    QTest::newRow("header declares 20000x20000") << pngWithDeclaredSize(20000, 20000);
    QTest::newRow("header declares 0x5") << pngWithDeclaredSize(0, 5);
}

// Never a false saving, never a lost file: an unreadable source is reported
// and copied unchanged.
void TestBatchStep::testUnreadableSourceCopied()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("in/broken.png"));
    QVERIFY(writeFile(source, bytes));
    const QString out = dir.filePath(QStringLiteral("out/"));
    QDir().mkpath(out);

    const auto result = OptimizeStep::run(source, out + QStringLiteral("broken.png"), OptimizeStep::Options());
    QCOMPARE(result.outcome, OptimizeStep::Outcome::SourceCopied);
    QVERIFY(result.strError.startsWith(source + QStringLiteral(": ")));
    QCOMPARE(result.lstWritten, QStringList{out + QStringLiteral("broken.png")});
    QCOMPARE(readFile(out + QStringLiteral("broken.png")), bytes);
    QCOMPARE(result.nInputSize, qint64(bytes.size()));
    QCOMPARE(result.nOutputSize, result.nInputSize);
}

void TestBatchStep::testMissingSourceFails()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("gone.png"));
    const auto result = OptimizeStep::run(source, dir.filePath(QStringLiteral("out.png")), OptimizeStep::Options());
    QCOMPARE(result.outcome, OptimizeStep::Outcome::Failed);
    QVERIFY(result.strError.startsWith(source));
    QVERIFY(result.lstWritten.isEmpty());
    QCOMPARE(result.nOutputSize, result.nInputSize);
    QCOMPARE(treeOf(dir.path()), QStringList());
}

// The reduced file's write fails half way: its partial file goes, the source
// is kept as a copy and the failure is reported.
void TestBatchStep::testFailedWriteKeepsSource()
{
    QTemporaryDir dir;
    const QByteArray png = pngBytes(rgbPicture(80, 60));
    const QString source = dir.filePath(QStringLiteral("in/photo.PNG"));
    QVERIFY(writeFile(source, png));
    const QString out = dir.filePath(QStringLiteral("out/"));
    QDir().mkpath(out);
    const QString reduced = out + QStringLiteral("photo.png");
    OptimizeStep::setWriteFaultForTesting([&](const QString& path) { return path == reduced; });

    const auto result = OptimizeStep::run(source, reduced, OptimizeStep::Options());
    QCOMPARE(result.outcome, OptimizeStep::Outcome::SourceCopied);
    QVERIFY(result.strError.startsWith(reduced + QStringLiteral(": ")));
    QVERIFY(result.strError.contains(QStringLiteral("No space left on device")));
    QCOMPARE(treeOf(out), QStringList{"photo.PNG"});
    QCOMPARE(readFile(out + QStringLiteral("photo.PNG")), png);
    QCOMPARE(result.nOutputSize, result.nInputSize);

    // While a file is written, nothing stands under its final name yet, so an
    // interrupted run leaves no truncated picture behind.
    QFile::remove(out + QStringLiteral("photo.PNG"));
    bool finalNameSeen = true;
    OptimizeStep::setWriteFaultForTesting([&](const QString& path) {
        finalNameSeen = QFileInfo::exists(path);
        return false;
    });
    const auto written = OptimizeStep::run(source, reduced, OptimizeStep::Options());
    QCOMPARE(written.outcome, OptimizeStep::Outcome::Reduced);
    QVERIFY(!finalNameSeen);
    QCOMPARE(treeOf(out), QStringList{"photo.png"});
    QFile::remove(reduced);

    // Another program takes the name while the file is written: its file
    // stays as it is and ours goes under the next free name.
    const QByteArray theirs("someone else's file");
    OptimizeStep::setWriteFaultForTesting([&](const QString& path) {
        if (path == reduced)
            writeFile(path, theirs);
        return false;
    });
    const auto raced = OptimizeStep::run(source, reduced, OptimizeStep::Options());
    QCOMPARE(raced.outcome, OptimizeStep::Outcome::Reduced);
    QCOMPARE(raced.lstWritten, QStringList{out + QStringLiteral("photo 2.png")});
    QCOMPARE(readFile(reduced), theirs);
    QCOMPARE(treeOf(out), (QStringList{"photo 2.png", "photo.png"}));
    QFile::remove(reduced);
    QFile::remove(out + QStringLiteral("photo 2.png"));

    // Both writes fail: nothing at all is left, and nothing is claimed saved.
    OptimizeStep::setWriteFaultForTesting([](const QString&) { return true; });
    const auto failed = OptimizeStep::run(source, reduced, OptimizeStep::Options());
    QCOMPARE(failed.outcome, OptimizeStep::Outcome::Failed);
    QVERIFY(failed.lstWritten.isEmpty());
    QCOMPARE(failed.strError.count(QLatin1Char('\n')), 1);
    QCOMPARE(treeOf(out), QStringList());
    QCOMPARE(failed.nOutputSize, failed.nInputSize);
}

// A real full disk: the process may not write beyond a few kilobytes per file.
// A picture whose output does not fit leaves no partial file and is reported;
// a small one still goes through.
void TestBatchStep::testFullDiskLeavesNoPartialFile()
{
    QTemporaryDir dir;
    const QByteArray bigPng = pngBytes(rgbPicture(160, 120, 3));
    const QByteArray tiny = tinyPng(200);
    constexpr rlim_t Limit = 4096;
    QVERIFY(bigPng.size() > qint64(4 * Limit));
    const QString big = dir.filePath(QStringLiteral("in/big.png"));
    const QString small = dir.filePath(QStringLiteral("in/small.png"));
    QVERIFY(writeFile(big, bigPng));
    QVERIFY(writeFile(small, tiny));
    const QString out = dir.filePath(QStringLiteral("out/"));
    QDir().mkpath(out);

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = Limit;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const auto bigResult = OptimizeStep::run(big, out + QStringLiteral("big.png"), OptimizeStep::Options());
    const auto smallResult = OptimizeStep::run(small, out + QStringLiteral("small.png"), OptimizeStep::Options());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    QCOMPARE(bigResult.outcome, OptimizeStep::Outcome::Failed);
    QVERIFY(bigResult.lstWritten.isEmpty());
    QVERIFY(bigResult.strError.contains(out + QStringLiteral("big.png")));
    QCOMPARE(bigResult.nOutputSize, bigResult.nInputSize);
    QCOMPARE(smallResult.outcome, OptimizeStep::Outcome::SourceKept);
    QCOMPARE(treeOf(out), QStringList{"small.png"});
    QCOMPARE(readFile(out + QStringLiteral("small.png")), tiny);
}

void TestBatchStep::testProgressPassesThrough()
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("p.png"));
    QVERIFY(writeFile(source, pngBytes(rgbPicture(50, 20))));
    QVector<int> values;
    OptimizeStep::run(source, dir.filePath(QStringLiteral("q.png")), OptimizeStep::Options(),
                      [&](int value) { values << value; });
    QVERIFY(!values.isEmpty());
    QCOMPARE(values.first(), 0);
    QVERIFY(values.contains(10 + 90 * 49 / 50));
    QVERIFY(*std::max_element(values.begin(), values.end()) < 100);
}

// Preparing the next file while this one is written changes nothing in the
// output: same names (also when two sources share a name), same bytes, same
// order; a file asked for other than the one prepared ahead is prepared anew.
void TestBatchStep::testLookaheadGivesTheSameFiles()
{
    QTemporaryDir dir;
    const QStringList sources{dir.filePath(QStringLiteral("in0/a.png")),
                             dir.filePath(QStringLiteral("in1/a.png")),
                             dir.filePath(QStringLiteral("in0/tiny.png")),
                             dir.filePath(QStringLiteral("in0/b.png")),
                             dir.filePath(QStringLiteral("in2/broken.png"))};
    QVERIFY(writeFile(sources.at(0), pngBytes(rgbPicture(72, 50, 2))));
    QVERIFY(writeFile(sources.at(1), pngBytes(rgbPicture(73, 50, 3))));
    QVERIFY(writeFile(sources.at(2), tinyPng(50)));
    QVERIFY(writeFile(sources.at(3), pngBytes(alphaPicture(64, 64))));
    QVERIFY(writeFile(sources.at(4), "broken"));

    auto runAll = [&](const QString& out, bool ahead, bool skipOne) -> QStringList {
        QDir().mkpath(out);
        OptimizeStep::Lookahead lookahead;
        QStringList log;
        for (int i = 0; i < sources.size(); ++i) {
            if (skipOne && i == 1)
                continue;   // prepared ahead, never asked for
            const QString source = sources.at(i);
            const QString output = OptimizeStep::uniqueFilePath(
                out, QFileInfo(source).completeBaseName(), QStringLiteral(".png"));
            QVector<int> progress;
            const auto result = ahead
                ? OptimizeStep::run(source, output, OptimizeStep::Options(),
                                    [&](int v) { progress << v; }, &lookahead,
                                    i + 1 < sources.size() ? sources.at(i + 1) : QString(),
                                    OptimizeStep::Options())
                : OptimizeStep::run(source, output, OptimizeStep::Options(),
                                    [&](int v) { progress << v; });
            QStringList names;
            for (const QString& path : result.lstWritten)
                names << path.mid(out.size());
            // A reduced file reported the reducer's progress either way.
            log << QStringLiteral("%1 %2 %3 %4").arg(int(result.outcome)).arg(names.join(','))
                       .arg(result.strError.isEmpty())
                       .arg(result.outcome != OptimizeStep::Outcome::Reduced || !progress.isEmpty());
        }
        return log;
    };
    const QString plain = dir.filePath(QStringLiteral("plain/"));
    const QString ahead = dir.filePath(QStringLiteral("ahead/"));
    QCOMPARE(runAll(ahead, true, false), runAll(plain, false, false));
    const QStringList files = treeOf(plain);
    QCOMPARE(treeOf(ahead), files);
    QCOMPARE(files, (QStringList{"a 2.png", "a.png", "b.png", "broken.png", "tiny.png"}));
    for (const QString& name : files)
        QCOMPARE(readFile(ahead + name), readFile(plain + name));

    const QString skipped = dir.filePath(QStringLiteral("skipped/"));
    const QString skippedPlain = dir.filePath(QStringLiteral("skippedplain/"));
    QCOMPARE(runAll(skipped, true, true), runAll(skippedPlain, false, true));
    for (const QString& name : treeOf(skippedPlain))
        QCOMPARE(readFile(skipped + name), readFile(skippedPlain + name));
}

namespace {

const char* const MemoryChildVariable = "ZINTROP_BATCHSTEP_MEMORY_CHILD";

const char* outcomeName(OptimizeStep::Outcome outcome)
{
    switch (outcome) {
    case OptimizeStep::Outcome::Reduced: return "reduced";
    case OptimizeStep::Outcome::SourceKept: return "kept";
    case OptimizeStep::Outcome::SourceCopied: return "copied";
    case OptimizeStep::Outcome::Failed: return "failed";
    }
    return "?";
}

// Child: "big|small|outdir|kilobytes|ahead". Runs the step on both files with
// the address space capped a little above what the process already uses (with
// the second file read ahead when "ahead" is 1), and prints one outcome per
// line.
int runMemoryChild(const QString& arguments)
{
    const QStringList parts = arguments.split(QLatin1Char('|'));
    const bool ahead = parts.at(4) == QLatin1String("1");
    if (ahead) {
        // New threads get a stack larger than the headroom, whatever the
        // stack limit this process was started with.
        ProcessLimits::setThreadStackSize(16 * 1024 * 1024);
    }
    if (!ProcessLimits::capAddressSpace(parts.at(3).toLong() * 1024))
        return 3;
    OptimizeStep::Lookahead lookahead;
    for (int i = 0; i < 2; ++i) {
        const QString source = parts.at(i);
        const QString output = parts.at(2) + QFileInfo(source).fileName();
        const auto result = ahead
            ? OptimizeStep::run(source, output, OptimizeStep::Options(), {}, &lookahead,
                                i == 0 ? parts.at(1) : QString(), OptimizeStep::Options())
            : OptimizeStep::run(source, output, OptimizeStep::Options());
        std::printf("%s %s\n", outcomeName(result.outcome), qPrintable(result.strError));
        std::fflush(stdout);
    }
    return 0;
}

// Runs the memory child; returns its output lines, or fails the test.
QStringList runMemoryChildProcess(const QString& arguments)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(MemoryChildVariable), arguments);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit
        || child.exitCode() != 0)
        return {QStringLiteral("child ended badly: ") + QString::number(child.exitStatus())
                + QLatin1Char(' ') + QString::number(child.exitCode())};
    return QString::fromLocal8Bit(child.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

void TestBatchStep::testOutOfMemoryFailsOneFile_data()
{
    QTest::addColumn<int>("headroomMegabytes");
    QTest::addColumn<bool>("junk");
    // 4000 x 4000 pixels take 64 MB as decoded; the reducer needs about as
    // much again. Too little room to decode, and room to decode but not to
    // reduce.
    QTest::newRow("no room to decode") << 40 << false;
    QTest::newRow("room to decode only") << 78 << false;
    // A 48 MB file that does not even fit in memory as bytes.
    QTest::newRow("no room to read") << 24 << true;
}

// Running out of memory on one picture fails that picture only: it is
// reported and kept as a copy, and the next file goes through.
void TestBatchStep::testOutOfMemoryFailsOneFile()
{
    QFETCH(int, headroomMegabytes);
    QFETCH(bool, junk);
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("big.png"));
    const QString small = dir.filePath(QStringLiteral("small.png"));
    if (junk) {
        QByteArray bytes(48 * 1024 * 1024, '\0');
        QRandomGenerator(12).fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
        QVERIFY(writeFile(big, bytes));
    } else {
        QImage picture(4000, 4000, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                line[x] = qRgb(x % 256, y % 256, (x ^ y) % 256);
        }
        QVERIFY(writeFile(big, pngBytes(picture)));
    }
    QVERIFY(writeFile(small, pngBytes(rgbPicture(60, 40))));
    const QString out = dir.filePath(QStringLiteral("out/"));
    QVERIFY(QDir().mkpath(out));

    const QStringList lines = runMemoryChildProcess(
        big + "|" + small + "|" + out + "|" + QString::number(headroomMegabytes * 1024) + "|0");
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.at(0).startsWith(QStringLiteral("copied ") + big + QStringLiteral(": ")),
             qPrintable(lines.at(0)));
    QCOMPARE(lines.at(1), QStringLiteral("reduced "));
    QCOMPARE(readFile(out + QStringLiteral("big.png")), readFile(big));
}

void TestBatchStep::testNoThreadToSpare_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("outcome");
    // Small pictures are encoded on the calling thread: only reading ahead
    // needs a thread, and is given up.
    QTest::newRow("small pictures") << QSize(40, 30) << "reduced";
    // Larger ones are compressed on a helper thread of the encoder as well:
    // without it the picture is kept as a copy and reported.
    QTest::newRow("encoder needs a thread") << QSize(200, 120) << "copied";
}

// With too little address space left for a thread's stack the batch goes on:
// both files are handled, one after the other, and none is lost.
void TestBatchStep::testNoThreadToSpare()
{
    QFETCH(QSize, size);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("first.png"));
    const QString second = dir.filePath(QStringLiteral("second.png"));
    QVERIFY(writeFile(first, pngBytes(rgbPicture(size.width(), size.height(), 4))));
    QVERIFY(writeFile(second, pngBytes(rgbPicture(size.width(), size.height(), 5))));
    const QString out = dir.filePath(QStringLiteral("out/"));
    QVERIFY(QDir().mkpath(out));

    const QStringList lines = runMemoryChildProcess(first + "|" + second + "|" + out + "|4096|1");
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.at(0).startsWith(outcome + QLatin1Char(' ')), qPrintable(lines.at(0)));
    QVERIFY2(lines.at(1).startsWith(outcome + QLatin1Char(' ')), qPrintable(lines.at(1)));
    QCOMPARE(treeOf(out), (QStringList{"first.png", "second.png"}));
    if (outcome == QLatin1String("copied"))
        QCOMPARE(readFile(out + QStringLiteral("first.png")), readFile(first));
}

namespace {

// The permission bits of a file, -1 when there is none.
int modeOf(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 07777);
}

// The modes of the hidden temporary files in a folder.
QList<int> temporaryModes(const QString& folder)
{
    QList<int> modes;
    const QStringList names = QDir(folder).entryList({QStringLiteral(".zintrop-*")},
                                                     QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        modes << modeOf(folder + name);
    return modes;
}

struct Output
{
    QString written;  // the file's path, empty when none was written
    QString error;
};

// The source's pic.png written into the folder by the copy phase (kind "copy
// phase") or else by the step.
Output writeOutput(const QString& kind, const QString& source, const QString& out)
{
    Output output;
    if (kind == QLatin1String("copy phase")) {
        output.written = OptimizeStep::copyToUniqueFile(source, out, QStringLiteral("pic"), QStringLiteral(".png"),
                                                        &output.error);
    } else {
        const auto result = OptimizeStep::run(source, out + QStringLiteral("pic.png"), OptimizeStep::Options());
        output.written = result.lstWritten.value(0);
        output.error = result.strError;
    }
    return output;
}

} // namespace

void TestBatchStep::testOutputPermissions_data()
{
    QTest::addColumn<QString>("kind");    // how the output comes about
    QTest::addColumn<int>("sourceMode");
    QTest::addColumn<int>("umask");
    QTest::addColumn<int>("expected");

    for (const char* kind : {"reduced", "larger result kept", "unreadable picture copied", "copy phase"}) {
        QTest::addRow("%s, private source", kind) << kind << 0600 << 022 << 0600;
        QTest::addRow("%s, group source", kind) << kind << 0640 << 022 << 0640;
        QTest::addRow("%s, umask narrows", kind) << kind << 0644 << 077 << 0600;
        // As pictures on sticks and shares show: a result is never
        // executable; a copy of other content keeps what its source had.
        const bool copy = QByteArray(kind) == "copy phase";
        QTest::addRow("%s, source 0755", kind) << kind << 0755 << 022 << (copy ? 0755 : 0644);
        QTest::addRow("%s, source 0777", kind) << kind << 0777 << 022 << (copy ? 0755 : 0644);
        QTest::addRow("%s, private executable source", kind) << kind << 0700 << 022 << (copy ? 0700 : 0600);
    }
}

// What is written from a source is never readable by more people than the
// source, not even for the moment it is being written.
void TestBatchStep::testOutputPermissions()
{
    QFETCH(QString, kind);
    QFETCH(int, sourceMode);
    QFETCH(int, umask);
    QFETCH(int, expected);

    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("in/pic.png"));
    QByteArray bytes = pngBytes(rgbPicture(64, 48));
    if (kind == QLatin1String("larger result kept"))
        bytes = tinyPng(40);
    else if (kind == QLatin1String("unreadable picture copied"))
        bytes = "not a picture";
    QVERIFY(writeFile(source, bytes));
    QVERIFY(QFile::setPermissions(source, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(::chmod(QFile::encodeName(source).constData(), mode_t(sourceMode)), 0);
    const QString out = dir.filePath(QStringLiteral("out/"));
    QVERIFY(QDir().mkpath(out));

    QList<int> modesWhileWritten;
    OptimizeStep::setWriteFaultForTesting([&](const QString&) {
        modesWhileWritten += temporaryModes(out);
        return false;
    });
    const mode_t savedMask = ::umask(mode_t(umask));
    const Output output = writeOutput(kind, source, out);
    ::umask(savedMask);

    QVERIFY2(!output.written.isEmpty(), qPrintable(output.error));
    QCOMPARE(readFile(output.written).isEmpty(), false);
    QCOMPARE(QString::number(modeOf(output.written), 8), QString::number(expected, 8));
    QCOMPARE(modesWhileWritten.size(), 1);
    QCOMPARE(QString::number(modesWhileWritten.first(), 8), QString::number(expected, 8));
}

void TestBatchStep::testTakenOutputNameIsNeverReplaced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("planted");           // "link" (leading nowhere) or "file"
    QTest::addColumn<bool>("plantedWhileWriting");
    QTest::addColumn<bool>("withoutNoReplace");     // the file system has neither the flag nor hard links

    for (const bool without : {false, true}) {
        const char* fs = without ? "no no-replace rename, no hard links" : "local";
        for (const char* planted : {"link", "file"}) {
            QTest::addRow("%s: %s at the reduced file's name", fs, planted)
                << "reduced" << planted << false << without;
            QTest::addRow("%s: %s at the source copy's name", fs, planted)
                << "larger result kept" << planted << false << without;
            QTest::addRow("%s: %s at the copied file's name", fs, planted)
                << "copy phase" << planted << false << without;
            // The name was free when chosen; the entry appears before the move.
            QTest::addRow("%s: %s planted while the reduced file is written", fs, planted)
                << "reduced" << planted << true << without;
            QTest::addRow("%s: %s planted while a file is copied", fs, planted)
                << "copy phase" << planted << true << without;
        }
    }
}

// An entry at the name an output gets - a link leading out of the folder to a
// name that does not exist, or someone's file - is never replaced nor written
// through: the output goes under the next free name. This holds on file
// systems that lack the no-replace rename and hard links too.
void TestBatchStep::testTakenOutputNameIsNeverReplaced()
{
    QFETCH(QString, kind);
    QFETCH(QString, planted);
    QFETCH(bool, plantedWhileWriting);
    QFETCH(bool, withoutNoReplace);

    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("in/pic.png"));
    const QByteArray bytes = kind == QLatin1String("larger result kept") ? tinyPng(9)
                                                                        : pngBytes(rgbPicture(64, 48));
    QVERIFY(writeFile(source, bytes));
    const QString out = dir.filePath(QStringLiteral("out/"));
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere/"));
    QVERIFY(QDir().mkpath(out));
    QVERIFY(QDir().mkpath(elsewhere));
    const QString target = elsewhere + QStringLiteral("victim.png");
    const QString taken = out + QStringLiteral("pic.png");
    const QByteArray theirs = "someone else's file";
    const auto plant = [&] {
        return planted == QLatin1String("link") ? QFile::link(target, taken) : writeFile(taken, theirs);
    };
    if (!plantedWhileWriting)
        QVERIFY(plant());
    OptimizeStep::setWriteFaultForTesting([&](const QString& path) {
        if (plantedWhileWriting && path == taken)
            plant();
        return false;
    });
    OptimizeStep::setWithoutNoReplaceMovesForTesting(withoutNoReplace);

    const Output output = writeOutput(kind, source, out);

    if (planted == QLatin1String("link")) {
        QVERIFY2(!QFileInfo::exists(target), "written through the link");
        QVERIFY(QFileInfo(taken).isSymLink());
        QCOMPARE(QFileInfo(taken).symLinkTarget(), target);
    } else {
        QCOMPARE(readFile(taken), theirs);
    }
    QVERIFY2(output.error.isEmpty(), qPrintable(output.error));
    QCOMPARE(output.written, out + QStringLiteral("pic 2.png"));
    // Every entry, the dangling link too, and no temporary file or claim left.
    QCOMPARE(QDir(out).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                                 QDir::Name),
             (QStringList{"pic 2.png", "pic.png"}));
    if (kind != QLatin1String("reduced"))
        QCOMPARE(readFile(output.written), bytes);
    else
        QVERIFY(QImage(output.written).format() == QImage::Format_Indexed8);
}

void TestBatchStep::testSpecialSourceFails_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("pipe") << "fifo" << "Not a regular file";
    QTest::newRow("link to /dev/zero") << "/dev/zero" << "Not a regular file";
    // Listed as an empty regular file, yet it has content.
    QTest::newRow("link to /proc/self/environ") << "/proc/self/environ"
                                               << "The file changed while it was read";
}

// A source that is not a regular file, or whose content is not what its size
// said, fails at once with its reason: nothing is written for it (never a
// "copy" of part of it), memory stays bounded, and the next file goes through.
void TestBatchStep::testSpecialSourceFails()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString special = dir.filePath(QStringLiteral("special.png"));
    if (kind == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(special).constData(), 0600), 0);
    else
        QVERIFY(QFile::link(kind, special));
    const QString small = dir.filePath(QStringLiteral("small.png"));
    QVERIFY(writeFile(small, pngBytes(rgbPicture(60, 40))));
    const QString out = dir.filePath(QStringLiteral("out/"));
    QVERIFY(QDir().mkpath(out));

    // In a child with its address space capped: reading /dev/zero to its
    // "end" would take all memory there is.
    const QStringList lines = runMemoryChildProcess(
        special + "|" + small + "|" + out + "|" + QString::number(256 * 1024) + "|0");
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(0), QStringLiteral("failed ") + special + QStringLiteral(": ") + reason);
    QCOMPARE(lines.at(1), QStringLiteral("reduced "));
    QCOMPARE(treeOf(out), QStringList{"small.png"});
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsSet(MemoryChildVariable))
        return runMemoryChild(qEnvironmentVariable(MemoryChildVariable));
    QCoreApplication app(argc, argv);
    TestBatchStep test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_batchstep.moc"
