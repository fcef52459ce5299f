// The bounded chunk walk: sizes from the file never move it backwards, past
// the end, or into a large allocation.
#include "AudioTestSupport.h"
#include "ChunkReader.h"

#include <QtTest>

#include <cstdio>

using namespace QMMultiMedia;
using AudioTest::Bytes;

namespace {

struct Seen
{
    QByteArray id;
    quint32 size;
    qint64 start;
    qint64 available;
};

// Walks the whole file (from begin) and lists every chunk met.
QVector<Seen> walk(const QByteArray& content, qint64 begin, qint64 end, ChunkReader::ByteOrder order,
                   qint64* pLevl = nullptr)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("walk.bin");
    AudioTest::writeFile(path, content);
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "rb");
    QVector<Seen> seen;
    ChunkReader reader(file, begin, end, order);
    ChunkHeader header;
    while (reader.next(&header) && seen.size() < 100) {
        seen << Seen{QByteArray(header.id, 4), header.size, header.start, header.available};
        // The stream stands at the body.
        if (ftello(file) != header.bodyStart())
            seen << Seen{"????", 0, ftello(file), 0};
    }
    if (pLevl)
        *pLevl = reader.levlPosition();
    std::fclose(file);
    return seen;
}

QByteArray body(int n)
{
    return QByteArray(n, 'x');
}

}  // namespace

class tst_ChunkReader : public QObject
{
    Q_OBJECT

private slots:
    void walksInOrderAndPads();
    void recordsTheLevlPosition();
    void hostileSizes_data();
    void hostileSizes();
    void bigEndianSizes();
    void rangeEndsTheWalk();
    void helpers();
};

void tst_ChunkReader::walksInOrderAndPads()
{
    const QByteArray riff = Bytes().tag("RIFF").le32(0).tag("WAVE")
                                .chunk("bext", body(5))     // odd: one pad byte
                                .chunk("fmt ", body(16))
                                .chunk("data", body(3));
    const QVector<Seen> seen = walk(riff, 12, riff.size(), ChunkReader::LittleEndian);
    QCOMPARE(seen.size(), 3);
    QCOMPARE(seen[0].id, QByteArray("bext"));
    QCOMPARE(seen[0].start, 12);
    QCOMPARE(seen[0].size, 5u);
    QCOMPARE(seen[1].id, QByteArray("fmt "));
    QCOMPARE(seen[1].start, 12 + 8 + 6);
    QCOMPARE(seen[2].id, QByteArray("data"));
    QCOMPARE(seen[2].start, 26 + 24);
    QCOMPARE(seen[2].available, 3);
}

void tst_ChunkReader::recordsTheLevlPosition()
{
    // An envelope that does not follow the data directly.
    const QByteArray riff = Bytes().tag("RIFF").le32(0).tag("WAVE")
                                .chunk("data", body(4))
                                .chunk("JUNK", body(10))
                                .chunk("levl", body(120))
                                .chunk("levl", body(120));
    qint64 levl = -2;
    walk(riff, 12, riff.size(), ChunkReader::LittleEndian, &levl);
    QCOMPARE(levl, 12 + 12 + 18);

    walk(Bytes().tag("RIFF").le32(0).tag("WAVE").chunk("data", body(4)), 12, 1000, ChunkReader::LittleEndian,
         &levl);
    QCOMPARE(levl, -1);
}

void tst_ChunkReader::hostileSizes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("chunks");
    QTest::addColumn<qint64>("lastAvailable");

    // 0xFFFFFFF8 wraps a 32-bit walk back onto its own header; here it ends it.
    QTest::newRow("size 0xFFFFFFF8 in a 40-byte file")
        << Bytes().tag("RIFF").le32(32).tag("WAVE").tag("fmt ").le32(0xFFFFFFF8).zeros(20).bytes() << 1 << qint64(20);
    QTest::newRow("size 0xFFFFFFFF")
        << Bytes().tag("RIFF").le32(32).tag("WAVE").tag("bext").le32(0xFFFFFFFF).zeros(20).bytes() << 1 << qint64(20);
    QTest::newRow("size 0x80000000 (negative as a signed count)")
        << Bytes().tag("RIFF").le32(32).tag("WAVE").tag("LIST").le32(0x80000000).zeros(20).bytes() << 1 << qint64(20);
    QTest::newRow("data past the end is cut")
        << Bytes().tag("RIFF").le32(0).tag("WAVE").chunk("fmt ", body(16)).tag("data").le32(1000).zeros(10).bytes()
        << 2 << qint64(10);
    QTest::newRow("zero sizes still move on")
        << Bytes().tag("RIFF").le32(0).tag("WAVE").chunk("a   ", {}).chunk("b   ", {}).chunk("c   ", {}).bytes()
        << 3 << qint64(0);
    QTest::newRow("a torn header ends the walk")
        << Bytes().tag("RIFF").le32(0).tag("WAVE").chunk("fmt ", body(2)).tag("dat").bytes() << 1 << qint64(2);
    QTest::newRow("nothing after the form") << Bytes().tag("RIFF").le32(4).tag("WAVE").bytes() << 0 << qint64(0);
}

void tst_ChunkReader::hostileSizes()
{
    QFETCH(QByteArray, content);
    QFETCH(int, chunks);
    QFETCH(qint64, lastAvailable);
    QElapsedTimer timer;
    timer.start();
    const QVector<Seen> seen = walk(content, 12, std::numeric_limits<qint64>::max(), ChunkReader::LittleEndian);
    QVERIFY(timer.elapsed() < 1000);
    QCOMPARE(seen.size(), chunks);
    if (chunks)
        QCOMPARE(seen.last().available, lastAvailable);
}

void tst_ChunkReader::bigEndianSizes()
{
    const QByteArray form = Bytes().tag("FORM").be32(0).tag("AIFF")
                                .tag("COMM").be32(18).zeros(18)
                                .tag("SSND").be32(0x11).zeros(17).zeros(1);
    const QVector<Seen> seen = walk(form, 12, form.size(), ChunkReader::BigEndian);
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen[1].id, QByteArray("SSND"));
    QCOMPARE(seen[1].size, 0x11u);
    QCOMPARE(seen[1].start, 12 + 26);
}

void tst_ChunkReader::rangeEndsTheWalk()
{
    // A container's end, not the file's: what follows the RIFF is not walked,
    // and bodies are cut at the container.
    const QByteArray file = Bytes().tag("RIFF").le32(4 + 8 + 4).tag("WAVE").chunk("data", body(8)).chunk("tail", body(4));
    const QVector<Seen> seen = walk(file, 12, 8 + 4 + 8 + 4, ChunkReader::LittleEndian);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen[0].size, 8u);
    QCOMPARE(seen[0].available, 4);
}

void tst_ChunkReader::helpers()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("h.bin");
    AudioTest::writeFile(path, "abcdefghij");
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "rb");
    QVERIFY(file);
    QCOMPARE(ChunkReader::fileLength(file), 10);
    std::fseek(file, 3, SEEK_SET);
    QCOMPARE(ChunkReader::bytesLeft(file), 7);
    QCOMPARE(std::ftell(file), 3L);  // the position is kept
    char buffer[10];
    QCOMPARE(ChunkReader::readFilled(file, buffer, 10), 7);
    QCOMPARE(QByteArray(buffer, 10), QByteArray("defghij\0\0\0", 10));
    QCOMPARE(ChunkReader::bytesLeft(file), 0);
    std::fclose(file);
    QCOMPARE(ChunkReader::bytesLeft(nullptr), 0);
    QCOMPARE(ChunkReader::fileLength(nullptr), -1);
}

QTEST_GUILESS_MAIN(tst_ChunkReader)
#include "tst_ChunkReader.moc"
