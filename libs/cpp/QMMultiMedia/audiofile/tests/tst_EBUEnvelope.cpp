// The peak envelope: the "levl" chunk's bytes, the magnitudes of its pairs,
// and reading the header back.
#include "AudioTestSupport.h"
#include "EBUEnvelope.h"
#include "PeakVector.h"

#include <QtTest>

#include <cstdio>
#include <limits>

using namespace QMMultiMedia;
using AudioTest::Bytes;

namespace {

QByteArray chunkBytes(EBUEnvelope& envelope, PeakVector& peaks, int format, bool* pResult = nullptr)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("levl.bin");
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    const bool result = envelope.writeChunk(file, peaks, format);
    std::fclose(file);
    if (pResult)
        *pResult = result;
    return AudioTest::fileBytes(path);
}

QVector<int> peakValues(const QByteArray& chunk, int format)
{
    QVector<int> values;
    for (int i = 128; i + format <= chunk.size(); i += format)
        values << (format == 2 ? AudioTest::le16(chunk, i) : quint8(chunk[i]));
    return values;
}

}  // namespace

class tst_EBUEnvelope : public QObject
{
    Q_OBJECT

private slots:
    void headerLayout();
    void framesThenChannels();
    void magnitudes_data();
    void magnitudes();
    void shortChannelsReadAsZeros();
    void manyPairsGoOutInPieces();
    void unknownFormatPromisesNothing();
    void timeStamp();
    void saveThenLoad();
    void fileErrors();
    void dump();
};

void tst_EBUEnvelope::headerLayout()
{
    EBUEnvelope envelope;
    envelope.setBlockSize(256);
    envelope.setPosPeakOfPeaks(1234);
    PeakVector peaks(3, 2);
    bool ok = false;
    const QByteArray chunk = chunkBytes(envelope, peaks, EBUEnvelope::TwoBytes, &ok);
    QVERIFY(ok);
    QCOMPARE(chunk.size(), 8 + 144);
    QCOMPARE(chunk.left(4), QByteArray("levl"));
    const QByteArray fields = Bytes()
                                  .le32(144)   // 120 + 2 values x 2 channels x 3 frames x 2 bytes
                                  .le32(0)     // version
                                  .le32(2)     // format
                                  .le32(2)     // points per value
                                  .le32(256)   // block size
                                  .le32(2)     // channels
                                  .le32(3)     // peak frames
                                  .le32(1234)  // position of the peak of peaks
                                  .le32(128);  // offset to peaks
    QCOMPARE(chunk.mid(4, 36), fields);
    QCOMPARE(chunk.mid(68, 60), QByteArray(60, '\0'));
    QCOMPARE(envelope.chunkSize(), 144);
    QCOMPARE(envelope.numPeakFrames(), 3);
    QCOMPARE(envelope.peakChannels(), 2);
    QCOMPARE(envelope.offsetToPeaks(), 128);
}

void tst_EBUEnvelope::framesThenChannels()
{
    PeakVector peaks;
    peaks.append(1.0f / 255, -2.0f / 255, 0);
    peaks.append(3.0f / 255, -4.0f / 255, 0);
    peaks.append(5.0f / 255, -6.0f / 255, 1);
    peaks.append(7.0f / 255, -8.0f / 255, 1);
    EBUEnvelope envelope;
    const QByteArray chunk = chunkBytes(envelope, peaks, EBUEnvelope::OneByte);
    // Frame 0 of channel 0, frame 0 of channel 1, frame 1 of channel 0 ...
    QCOMPARE(peakValues(chunk, 1), (QVector<int>{1, 2, 5, 6, 3, 4, 7, 8}));
    QCOMPARE(AudioTest::le32(chunk, 4), 120u + 8u);
}

void tst_EBUEnvelope::magnitudes_data()
{
    QTest::addColumn<float>("max");
    QTest::addColumn<float>("min");
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::newRow("0.25/-0.5, bytes") << 0.25f << -0.5f << 1 << 63 << 127;
    QTest::newRow("0.25/-0.5, 16 bits") << 0.25f << -0.5f << 2 << 16383 << 32767;
    QTest::newRow("full scale, bytes") << 1.0f << -1.0f << 1 << 255 << 255;
    QTest::newRow("full scale, 16 bits") << 1.0f << -1.0f << 2 << 65535 << 65535;
    // Past full scale saturates instead of wrapping (1.5 x 255 = 382 would
    // store 126, drawing a clipped block as a quiet one).
    QTest::newRow("past full scale, bytes") << 1.5f << -2.0f << 1 << 255 << 255;
    QTest::newRow("past full scale, 16 bits") << 1.5f << -2.0f << 2 << 65535 << 65535;
    QTest::newRow("NaN and infinity") << std::numeric_limits<float>::quiet_NaN()
                                      << -std::numeric_limits<float>::infinity() << 2 << 0 << 65535;
    QTest::newRow("silence") << 0.0f << 0.0f << 2 << 0 << 0;
}

void tst_EBUEnvelope::magnitudes()
{
    QFETCH(float, max);
    QFETCH(float, min);
    QFETCH(int, format);
    QFETCH(int, first);
    QFETCH(int, second);
    PeakVector peaks;
    peaks.append(max, min, 0);
    EBUEnvelope envelope;
    QCOMPARE(peakValues(chunkBytes(envelope, peaks, format), format), (QVector<int>{first, second}));
}

void tst_EBUEnvelope::shortChannelsReadAsZeros()
{
    PeakVector peaks;
    peaks.append(0.5f, -0.5f, 0);
    peaks.append(0.5f, -0.5f, 0);
    peaks.append(1.0f, -1.0f, 1);
    EBUEnvelope envelope;
    const QByteArray chunk = chunkBytes(envelope, peaks, EBUEnvelope::OneByte);
    QCOMPARE(envelope.numPeakFrames(), 2);
    QCOMPARE(peakValues(chunk, 1), (QVector<int>{127, 127, 255, 255, 127, 127, 0, 0}));
}

void tst_EBUEnvelope::manyPairsGoOutInPieces()
{
    // 1025 pairs are 2050 values: one piece of 2048 and one of 2.
    PeakVector peaks;
    QVector<int> expected;
    for (int i = 0; i < 1025; ++i) {
        peaks.append(float(i % 256) / 255.0f, -float((i * 7) % 256) / 255.0f, 0);
        expected << i % 256 << (i * 7) % 256;
    }
    EBUEnvelope envelope;
    const QByteArray chunk = chunkBytes(envelope, peaks, EBUEnvelope::OneByte);
    QCOMPARE(chunk.size(), 128 + 2050);
    QCOMPARE(AudioTest::le32(chunk, 4), 120u + 2050u);
    QCOMPARE(peakValues(chunk, 1), expected);
}

void tst_EBUEnvelope::unknownFormatPromisesNothing()
{
    PeakVector peaks(4, 2);
    EBUEnvelope envelope;
    AudioTest::CapturedStderr err;
    bool ok = true;
    const QByteArray chunk = chunkBytes(envelope, peaks, 3, &ok);
    QCOMPARE(err.text(), QString("Unknown envelopes creation format\n"));
    QVERIFY(!ok);
    QCOMPARE(chunk.size(), 128);
    QCOMPARE(AudioTest::le32(chunk, 4), 120u);   // the size states what is there
    QCOMPARE(AudioTest::le32(chunk, 28), 0u);    // no peak frames
    QCOMPARE(AudioTest::le32(chunk, 12), 3u);    // the format asked for
}

void tst_EBUEnvelope::timeStamp()
{
    EBUEnvelope envelope;
    QCOMPARE(envelope.timeStamp(), QString(28, ' '));
    envelope.setTimeStamp(QString(30, 'x'));
    QCOMPARE(envelope.timeStamp(), QString(28, 'x'));
    envelope.setTimeStamp("2014-03-07");
    QCOMPARE(envelope.timeStamp(), QString("2014-03-07") + QString(18, ' '));
    envelope.setTimeStamp(QString());
    QCOMPARE(envelope.timeStamp(), QString(28, ' '));

    // The chunk carries the time of writing, not the object's own stamp.
    envelope.setTimeStamp("mine");
    PeakVector peaks(1, 1);
    const QDateTime before = QDateTime::currentDateTime();
    const QByteArray chunk = chunkBytes(envelope, peaks, 2);
    const QDateTime after = QDateTime::currentDateTime();
    const QByteArray stamp = chunk.mid(40, 28);
    QCOMPARE(stamp.mid(23), QByteArray(5, '\0'));
    const QDateTime written = QDateTime::fromString(QString::fromLatin1(stamp.left(23)), "yyyy-MM-dd_hh:mm:ss:zzz");
    QVERIFY2(written.isValid(), stamp.constData());
    QVERIFY(written >= before.addMSecs(-1) && written <= after.addMSecs(1));
    QCOMPARE(envelope.timeStamp(), QString("mine") + QString(24, ' '));
}

void tst_EBUEnvelope::saveThenLoad()
{
    PeakVector peaks(5, 3);
    EBUEnvelope written;
    written.setBlockSize(256);
    written.setPosPeakOfPeaks(77);
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("peaks.bef"));
    QVERIFY(written.save(path.constData(), peaks, EBUEnvelope::OneByte));

    EBUEnvelope read;
    QVERIFY(read.load(path.constData()));
    QCOMPARE(read.version(), 0);
    QCOMPARE(read.format(), 1);
    QCOMPARE(read.pointsPerValue(), 2);
    QCOMPARE(read.blockSize(), 256);
    QCOMPARE(read.peakChannels(), 3);
    QCOMPARE(read.numPeakFrames(), 5);
    QCOMPARE(read.posPeakOfPeaks(), 77);
    QCOMPARE(read.offsetToPeaks(), 128);
    QCOMPARE(read.chunkSize(), 120 + 30);
    QCOMPARE(read.timeStamp().size(), 28);
    QCOMPARE(read.timeStamp().mid(23), QString(5, QChar(0)));
    QCOMPARE(read.timeStamp().at(4), QChar('-'));

    const EBUEnvelope copy(read);
    QCOMPARE(copy.posPeakOfPeaks(), 77);
    QCOMPARE(copy.timeStamp(), read.timeStamp());
}

void tst_EBUEnvelope::fileErrors()
{
    PeakVector peaks(1, 1);
    EBUEnvelope envelope;
    envelope.setBlockSize(9);
    AudioTest::CapturedStderr err;
    QVERIFY(!envelope.load("/nonexistent/folder/x.bef"));
    QVERIFY(!envelope.save("/nonexistent/folder/x.bef", peaks, 2));
    QCOMPARE(err.text(), QString("EBUEnvelope:load: file open error\nEBUEnvelope::save: file create error\n"));
    QCOMPARE(envelope.blockSize(), 9);

    // Too short for a chunk header: nothing loaded.
    QTemporaryDir dir;
    const QString tiny = dir.filePath("tiny.bef");
    AudioTest::writeFile(tiny, "levl");
    QVERIFY(!envelope.load(QFile::encodeName(tiny).constData()));
    QCOMPARE(envelope.blockSize(), 9);

    if (QFile::exists("/dev/full")) {
        // The disk is full: the header may sit in the stream's buffer, but save
        // reports the failed close.
        QVERIFY(!envelope.save("/dev/full", peaks, 2));
    }
}

void tst_EBUEnvelope::dump()
{
    EBUEnvelope envelope;
    envelope.setFormat(2);
    AudioTest::CapturedDebug debug;
    envelope.dumpInfo();
    const QStringList lines = debug.lines();
    QCOMPARE(lines.size(), 12);
    QCOMPARE(lines.first(), QString("----- EBU Envelope Begin ------"));
    QCOMPARE(lines.at(2), QString("Format =  2"));
    QCOMPARE(lines.at(10), QString("TimeStamp =  \"%1\"").arg(QString(28, ' ')));
    QCOMPARE(lines.last(), QString("----- EBU Envelope End ------"));
}

QTEST_GUILESS_MAIN(tst_EBUEnvelope)
#include "tst_EBUEnvelope.moc"
