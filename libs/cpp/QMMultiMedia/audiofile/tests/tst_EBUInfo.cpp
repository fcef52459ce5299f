// The broadcast-wave record: the chunk's exact bytes, the defaults of a new
// recording, and reading back what was written or what a file claims.
#include "AudioTestSupport.h"
#include "EBUInfo.h"
#include "ProductionParameters.h"

#include <QtTest>

#include <cstdio>

using namespace QMMultiMedia;
using AudioTest::Bytes;

namespace {

QByteArray chunkBytes(const EBUInfo& info)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bext.bin");
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    const bool written = info.writeChunk(file);
    std::fclose(file);
    return written ? AudioTest::fileBytes(path) : QByteArray("write failed");
}

// A record read from the given bytes with load().
EBUInfo loaded(const QByteArray& content, bool* pFound = nullptr)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("in.bext");
    AudioTest::writeFile(path, content);
    EBUInfo info;
    const bool found = info.load(QFile::encodeName(path).constData());
    if (pFound)
        *pFound = found;
    return info;
}

QByteArray padded(const QByteArray& text, int width)
{
    return text + QByteArray(width - text.size(), '\0');
}

QString descriptionLine(const EBUInfo& info, const QString& key)
{
    const QStringList lines = info.description().split("\r\n");
    for (const QString& line : lines)
        if (line.startsWith(key))
            return line;
    return QString();
}

}  // namespace

class tst_EBUInfo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void defaultRecordChunk();
    void fieldsAreWrittenAtTheirWidths();
    void defaultsOfANewRecording();
    void speedLine_data();
    void speedLine();
    void softwareVersionNeedsTheFramework();
    void codingHistoryLines_data();
    void codingHistoryLines();
    void rateConstructor_data();
    void rateConstructor();
    void umid();
    void saveThenLoadReproducesEveryField();
    void timeReferenceHalvesAreUnsigned();
    void readChunkBoundsTheCodingHistory_data();
    void readChunkBoundsTheCodingHistory();
    void shortFileReadsAsZeros();
    void fileErrors();
    void copiesDoNotCarryTheStoredSize();
    void dump();
};

void tst_EBUInfo::initTestCase()
{
    QCoreApplication::setApplicationName("Zintrop Lite");
    QCoreApplication::setApplicationVersion("1.0");
}

void tst_EBUInfo::defaultRecordChunk()
{
    const QByteArray expected = Bytes()
                                    .tag("bext")
                                    .le32(602)
                                    .zeros(256 + 32 + 32)
                                    .raw("0000-00-00")
                                    .raw("00:00:00")
                                    .zeros(8)      // time reference
                                    .le16(0)       // version
                                    .zeros(254);   // UMID and reserved
    const EBUInfo info;
    QCOMPARE(info.chunkSize(), 602u);
    QCOMPARE(info.fps(), -1.0f);
    QCOMPARE(info.description(), QString(256, QChar(0)));
    QCOMPARE(info.originationDate(), QString("0000-00-00"));
    QCOMPARE(chunkBytes(info).size(), 610);
    QCOMPARE(chunkBytes(info), expected);
}

void tst_EBUInfo::fieldsAreWrittenAtTheirWidths()
{
    EBUInfo info;
    info.setDescription(QString(300, 'd'));
    info.setOriginator(QString::fromUtf8("Café"));
    info.setOriginatorReference(QString(40, 'r'));
    info.setOriginationDate("2024-02-29");
    info.setOriginationTime("23:59:58");
    info.setTimeReferenceLow(0x01020304);
    info.setTimeReferenceHigh(0x05060708);
    info.setVersion(0x10001);  // kept in 16 bits
    info.setUmidByte(0, 0xAA);
    info.setUmidByte(63, 0xBB);
    info.reserved()[189] = 0xCC;
    info.setCodingHistory("A=PCM");
    QCOMPARE(info.description().size(), 300);  // kept whole in memory

    const QByteArray bytes = chunkBytes(info);
    QCOMPARE(bytes.size(), 8 + 607);
    QCOMPARE(AudioTest::le32(bytes, 4), 607u);  // odd: the WAV writer pads it
    QCOMPARE(bytes.mid(8, 256), QByteArray(256, 'd'));
    QCOMPARE(bytes.mid(264, 32), padded("Caf\xE9", 32));  // Latin-1, one byte per character
    QCOMPARE(bytes.mid(296, 32), QByteArray(32, 'r'));
    QCOMPARE(bytes.mid(328, 10), QByteArray("2024-02-29"));
    QCOMPARE(bytes.mid(338, 8), QByteArray("23:59:58"));
    QCOMPARE(AudioTest::le32(bytes, 346), 0x01020304u);
    QCOMPARE(AudioTest::le32(bytes, 350), 0x05060708u);
    QCOMPARE(AudioTest::le16(bytes, 354), quint16(1));
    QCOMPARE(quint8(bytes[356]), quint8(0xAA));
    QCOMPARE(quint8(bytes[356 + 63]), quint8(0xBB));
    QCOMPARE(quint8(bytes[420 + 189]), quint8(0xCC));
    QCOMPARE(bytes.mid(610), QByteArray("A=PCM"));
}

void tst_EBUInfo::defaultsOfANewRecording()
{
    ProductionParameters::instance().setProjectName("Big night out");
    EBUInfo info;
    const QDate before = QDate::currentDate();
    info.setDefaults("/tmp/my take.wav", 48000, 16, 2);
    const QDate after = QDate::currentDate();
    ProductionParameters::instance().setProjectName(QString());

    QCOMPARE(info.originator(), QString("CORVANE") + QString(25, QChar(0)));
    QCOMPARE(chunkBytes(info).mid(264, 32), padded("CORVANE", 32));
    QCOMPARE(info.originatorReference(), QString("Zintrop Lite:") + QString(19, QChar(0)));
    QCOMPARE(info.version(), 1);
    const QString date = info.originationDate();
    QVERIFY2(date == before.toString("yyyy-MM-dd") || date == after.toString("yyyy-MM-dd"), qPrintable(date));
    QVERIFY(QTime::fromString(info.originationTime(), "hh:mm:ss").isValid());
    QVERIFY(info.codingHistory().endsWith("A=PCM,F=48000,W=16,M=stereo,T=\r\n"));

    const QString description = info.description();
    QVERIFY(description.contains("\r\nsFILENAME=/tmp/my_take.wav\r\n"));
    QVERIFY(description.contains("\r\nsPROJECTNAME=Big_night_out\r\n"));
    QVERIFY(description.contains("\r\nsSPEED=-1.000-ND\r\n"));  // a record without a rate says so
    const QString ubits = descriptionLine(info, "sUBITS=$");
    QVERIFY2(ubits == "sUBITS=$" + before.toString("ddMMyyyy") || ubits == "sUBITS=$" + after.toString("ddMMyyyy"),
             qPrintable(ubits));
    QVERIFY(description.startsWith("sUBITS=$"));
    QVERIFY(description.contains("sTRK=\r\nsNOTE=\r\n"));
    QVERIFY(!description.contains("sTAKE=") && !description.contains("sSCENE="));
    // The NUL fill follows the fixed ending.
    QCOMPARE(description.indexOf(QChar(0)), description.indexOf("sNOTE=\r\n") + 8);
}

void tst_EBUInfo::speedLine_data()
{
    QTest::addColumn<float>("fps");
    QTest::addColumn<QString>("line");
    QTest::newRow("25") << 25.0f << "sSPEED=25.000-ND";
    QTest::newRow("29.97") << 29.97f << "sSPEED=29.970-ND";
    QTest::newRow("none given (-1) stays") << -1.0f << "sSPEED=-1.000-ND";
    QTest::newRow("0 takes the production's") << 0.0f << "sSPEED=24.000-ND";
    QTest::newRow("0.5 takes the production's") << 0.5f << "sSPEED=24.000-ND";
    QTest::newRow("5 keeps the leading blank") << 5.0f << "sSPEED= 5.000-ND";
    QTest::newRow("100 is cut to six characters") << 100.0f << "sSPEED=100.00-ND";
}

void tst_EBUInfo::speedLine()
{
    QFETCH(float, fps);
    QFETCH(QString, line);
    ProductionParameters::instance().setFps(24.0f);
    EBUInfo info(0, 0, fps);
    info.buildDescription("f.wav");
    ProductionParameters::instance().setFps(30.0f);
    QCOMPARE(descriptionLine(info, "sSPEED="), line);
}

void tst_EBUInfo::softwareVersionNeedsTheFramework()
{
    // Without the framework's application object the build date is empty.
    EBUInfo info;
    info.buildDescription("f.wav");
    QCOMPARE(descriptionLine(info, "sSWVER="), QString("sSWVER=1.0."));

    // The framework publishes its build date on the application object.
    qApp->setProperty("buildDateText", "3/7/2014");
    info.buildDescription("f.wav");
    qApp->setProperty("buildDateText", QVariant());
    QCOMPARE(descriptionLine(info, "sSWVER="), QString("sSWVER=1.0.3/7/2014"));
}

void tst_EBUInfo::codingHistoryLines_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<QString>("mode");
    QTest::newRow("mono") << 1 << "mono";
    QTest::newRow("stereo") << 2 << "stereo";
    QTest::newRow("6 channels") << 6 << "6CH";
    QTest::newRow("0 channels") << 0 << "0CH";
}

void tst_EBUInfo::codingHistoryLines()
{
    QFETCH(int, channels);
    QFETCH(QString, mode);
    EBUInfo info;
    info.setCodingHistory("earlier\r\n");
    info.appendCodingHistory(44100, 24, channels);
    info.appendCodingHistory(96000, 32, channels);
    QCOMPARE(info.codingHistory(), QString("earlier\r\nA=PCM,F=44100,W=24,M=%1,T=\r\nA=PCM,F=96000,W=32,M=%1,T=\r\n")
                                       .arg(mode));
    QCOMPARE(info.chunkSize(), quint32(602 + info.codingHistory().size()));
}

void tst_EBUInfo::rateConstructor_data()
{
    QTest::addColumn<float>("fps");
    QTest::addColumn<QString>("speed");
    QTest::newRow("25") << 25.0f << "sSPEED=25";
    QTest::newRow("29.97") << 29.97f << "sSPEED=29.97";
    QTest::newRow("23.976") << 23.976f << "sSPEED=23.976";
    QTest::newRow("1/3 has six digits") << 1.0f / 3.0f << "sSPEED=0.333333";
}

void tst_EBUInfo::rateConstructor()
{
    QFETCH(float, fps);
    QFETCH(QString, speed);
    const EBUInfo info(7, 1, fps);
    QCOMPARE(info.description(), speed + QString(256 - speed.size(), QChar(0)));
    QCOMPARE(info.fps(), fps);
    QCOMPARE(info.timeReference(), (qint64(1) << 32) + 7);
    QCOMPARE(info.originationTime(), QString("00:00:00"));
}

void tst_EBUInfo::umid()
{
    EBUInfo info;
    for (int i = 0; i < 64; ++i)
        info.setUmidByte(i, quint8(i * 4));
    info.setUmidByte(64, 0xFF);
    info.setUmidByte(-1, 0xFF);
    QCOMPARE(info.umidByte(64), 0);
    QCOMPARE(info.umidByte(-1), 0);
    QCOMPARE(info.umidByte(63), 252);
    QCOMPARE(int(info.umid()[10]), 40);
    const QStringList lines = info.umidText().split('\n');
    QCOMPARE(lines.size(), 9);  // eight lines, each ended by "\n"
    QCOMPARE(lines.at(0), QString("00 04 08 0c 10 14 18 1c"));
    QCOMPARE(lines.at(7), QString("e0 e4 e8 ec f0 f4 f8 fc"));
    QVERIFY(lines.at(8).isEmpty());
}

void tst_EBUInfo::saveThenLoadReproducesEveryField()
{
    EBUInfo info(0x12345678, 3, 25.0f);
    info.setDefaults("take 1.wav", 48000, 24, 2);
    info.setDescription(info.description() + QString::fromUtf8("ünïcode"));
    info.setUmidByte(5, 0x55);
    info.reserved()[0] = 9;
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("record.bext"));
    QVERIFY(info.save(path.constData()));

    EBUInfo back;
    QVERIFY(back.load(path.constData()));
    QCOMPARE(back.storedChunkSize(), info.chunkSize());
    QCOMPARE(back.description(), info.description().left(256));
    QCOMPARE(back.originator(), info.originator());
    QCOMPARE(back.originatorReference(), info.originatorReference());
    QCOMPARE(back.originationDate(), info.originationDate());
    QCOMPARE(back.originationTime(), info.originationTime());
    QCOMPARE(back.timeReference(), info.timeReference());
    QCOMPARE(back.version(), 1);
    QCOMPARE(back.umidByte(5), 0x55);
    QCOMPARE(int(back.reserved()[0]), 9);
    QCOMPARE(back.codingHistory(), info.codingHistory());
    QCOMPARE(chunkBytes(back), chunkBytes(info).left(8 + 256) + chunkBytes(info).mid(8 + 256));
}

void tst_EBUInfo::timeReferenceHalvesAreUnsigned()
{
    EBUInfo info;
    info.setTimeReference(0x180000000LL);
    QCOMPARE(info.timeReferenceLow(), qint32(0x80000000u));
    QCOMPARE(info.timeReferenceHigh(), 1);
    QCOMPARE(info.timeReference(), 0x180000000LL);
    const QByteArray bytes = chunkBytes(info);
    QCOMPARE(loaded(bytes).timeReference(), 0x180000000LL);
}

void tst_EBUInfo::readChunkBoundsTheCodingHistory_data()
{
    QTest::addColumn<quint32>("statedSize");
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<QString>("history");
    const QString before = "kept\r\n";
    QTest::newRow("size 602 leaves the history") << 602u << QByteArray("ignored") << before;
    QTest::newRow("size 0 leaves the history") << 0u << QByteArray() << before;
    QTest::newRow("size 607 reads 5 bytes") << 607u << QByteArray("A=PCMxx") << QString("A=PCM");
    QTest::newRow("0xFFFFFFFF reads what is there") << 0xFFFFFFFFu << QByteArray(90, 'h') << QString(90, 'h');
    QTest::newRow("size past the end, nothing there") << 700u << QByteArray() << QString();
    QTest::newRow("NUL bytes are characters") << 605u << QByteArray("a\0b", 3) << QString::fromLatin1("a\0b", 3);
}

void tst_EBUInfo::readChunkBoundsTheCodingHistory()
{
    QFETCH(quint32, statedSize);
    QFETCH(QByteArray, tail);
    QFETCH(QString, history);
    const QByteArray file = Bytes().tag("bext").le32(statedSize).raw(chunkBytes(EBUInfo()).mid(8)).raw(tail);

    QTemporaryDir dir;
    const QString path = dir.filePath("b.bin");
    AudioTest::writeFile(path, file);
    FILE* stream = std::fopen(QFile::encodeName(path).constData(), "rb");
    std::fseek(stream, 8, SEEK_SET);
    EBUInfo info;
    info.setCodingHistory("kept\r\n");
    info.setChunkSize(statedSize);
    info.readChunk(stream);
    std::fclose(stream);
    QCOMPARE(info.codingHistory(), history);
    QCOMPARE(info.originationDate(), QString("0000-00-00"));
}

void tst_EBUInfo::shortFileReadsAsZeros()
{
    // The description's first 4 bytes, then the file ends.
    bool found = false;
    const EBUInfo info = loaded(Bytes().tag("bext").le32(602).raw("abcd"), &found);
    QVERIFY(found);
    QCOMPARE(info.description(), QString("abcd") + QString(252, QChar(0)));
    QCOMPARE(info.originationDate(), QString(10, QChar(0)));
    QCOMPARE(info.timeReference(), 0);
    QVERIFY(info.codingHistory().isEmpty());

    // Too short for a chunk header: nothing is loaded.
    EBUInfo kept(1, 0, 25.0f);
    const EBUInfo before(kept);
    QTemporaryDir dir;
    const QString path = dir.filePath("tiny");
    AudioTest::writeFile(path, "bext");
    QVERIFY(!kept.load(QFile::encodeName(path).constData()));
    QCOMPARE(kept.description(), before.description());
}

void tst_EBUInfo::fileErrors()
{
    AudioTest::CapturedDebug debug;
    EBUInfo info(5, 0, 25.0f);
    QVERIFY(!info.load("/nonexistent/folder/x.bext"));
    QCOMPARE(info.timeReference(), 5);
    QVERIFY(!info.save("/nonexistent/folder/x.bext"));
    QCOMPARE(debug.lines(), (QStringList{"EBUInfo::load: file open error", "EBUInfo::save: file create error"}));
    // A stream that takes no bytes: the write is reported as failed.
    FILE* readOnly = std::fopen("/dev/null", "rb");
    QVERIFY(!info.writeChunk(readOnly));
    std::fclose(readOnly);
    QVERIFY(!info.writeChunk(nullptr));
    if (QFile::exists("/dev/full")) {
        // The disk fills up: only the close can tell, and save says so.
        QVERIFY(!info.save("/dev/full"));
    }
}

void tst_EBUInfo::copiesDoNotCarryTheStoredSize()
{
    EBUInfo source(1, 2, 25.0f);
    source.setChunkSize(700);
    source.setCodingHistory("h");
    const EBUInfo copy(source);
    QCOMPARE(copy.storedChunkSize(), 0u);
    QCOMPARE(copy.codingHistory(), QString("h"));
    QCOMPARE(copy.fps(), 25.0f);
    QCOMPARE(copy.timeReference(), (qint64(2) << 32) + 1);

    EBUInfo assigned;
    assigned.setChunkSize(610);
    assigned = source;
    QCOMPARE(assigned.storedChunkSize(), 610u);
    QCOMPARE(assigned.description(), source.description());
    QCOMPARE(assigned.fps(), 25.0f);
}

void tst_EBUInfo::dump()
{
    EBUInfo info;
    info.setCodingHistory("h");
    AudioTest::CapturedDebug debug;
    info.dumpInfo();
    const QStringList lines = debug.lines();
    QCOMPARE(lines.size(), 17);
    QCOMPARE(lines.first(), QString("----- EBU Info Begin ------"));
    QVERIFY(lines.at(1).startsWith("Description =  "));
    QCOMPARE(lines.at(11), QString("Size =  603"));
    QCOMPARE(lines.at(12), QString("Fps =  -1"));
    QCOMPARE(lines.at(15), QString("UserBits =  \"\""));
    QCOMPARE(lines.last(), QString("----- EBU Info End ------"));
}

QTEST_GUILESS_MAIN(tst_EBUInfo)
#include "tst_EBUInfo.moc"
