#include "MidiFile.h"
#include "TestFiles.h"
#include "WriterFixtures.h"
#include "../../MTools/tests/FileSizeLimit.h"

#include <QTranslator>
#include <QtTest>

using namespace QMMultiMedia;

namespace {

// Gives one instrument a name whose UTF-8 form is longer than its
// character count.
class GermanNames : public QTranslator
{
public:
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        if (qstrcmp(context, "QMMultiMedia::MidiFile") == 0 && qstrcmp(source, "Acoustic Grand Piano") == 0)
            return QString::fromUtf8("Konzertfl\xC3\xBCgel");
        return QString();
    }
    bool isEmpty() const override { return false; }
};

// The events midicsv reads from a file, one line each, without the header
// and file-end records.
QStringList midicsv(const QString &path)
{
    bool ok = false;
    const QString text = WriterFixtures::runTool(QStringLiteral("midicsv"), {path}, &ok);
    if (!ok)
        return {QStringLiteral("midicsv failed (scripts/setup.sh installs it)")};
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class tst_MidiFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void encodeVarLen_data();
    void encodeVarLen();
    void noteNames_data();
    void noteNames();
    void instrumentTable();
    void reverseString_data();
    void reverseString();

    void chordMatchesTheGoldenFile();
    void independentReaderReadsTheChord();
    void programChangeFollowsTheInstrument_data();
    void programChangeFollowsTheInstrument();
    void instrumentOutsideTheTableIsRefused_data();
    void instrumentOutsideTheTableIsRefused();
    void notesWithoutANumberAreSkipped();
    void instrumentNameLengthCountsBytes();

    void metaEventBytes_data();
    void metaEventBytes();
    void callsWithoutAFileDoNothing();
    void fileThatCannotBeCreated();
    void diskThatFillsUpIsReported();
    void testFile();

private:
    QTemporaryDir m_dir;
};

void tst_MidiFile::init()
{
    QVERIFY(m_dir.isValid());
}

void tst_MidiFile::encodeVarLen_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("0") << 0u << QByteArray::fromHex("00");
    QTest::newRow("127") << 127u << QByteArray::fromHex("7F");
    QTest::newRow("128") << 128u << QByteArray::fromHex("8100");
    QTest::newRow("384") << 384u << QByteArray::fromHex("8300");
    QTest::newRow("16383") << 16383u << QByteArray::fromHex("FF7F");
    QTest::newRow("16384") << 16384u << QByteArray::fromHex("818000");
    QTest::newRow("2097151") << 2097151u << QByteArray::fromHex("FFFF7F");
    QTest::newRow("2097152") << 2097152u << QByteArray::fromHex("81808000");
    QTest::newRow("268435455") << 268435455u << QByteArray::fromHex("FFFFFF7F");
    QTest::newRow("268435456: too large") << 268435456u << QByteArray();
    QTest::newRow("largest 32-bit") << 0xFFFFFFFFu << QByteArray();
}

void tst_MidiFile::encodeVarLen()
{
    QFETCH(quint32, value);
    QFETCH(QByteArray, bytes);

    unsigned char out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    const int count = MidiFile::encodeVarLen(value, out);
    QCOMPARE(WriterFixtures::hex(QByteArray(reinterpret_cast<char *>(out), count)), WriterFixtures::hex(bytes));
    for (int i = count; i < 4; ++i)
        QCOMPARE(int(out[i]), 0xEE);
}

void tst_MidiFile::noteNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");

    QTest::newRow("C-1") << "C-1" << 0;
    QTest::newRow("B-1") << "B-1" << 11;
    QTest::newRow("C0") << "C0" << 12;
    QTest::newRow("C4, middle C") << "C4" << 60;
    QTest::newRow("C#4") << "C#4" << 61;
    QTest::newRow("A4") << "A4" << 69;
    QTest::newRow("G9, the highest") << "G9" << 127;
    QTest::newRow("G#9 does not exist") << "G#9" << -1;
    QTest::newRow("lower case") << "c4" << -1;
    QTest::newRow("flat spelling") << "Db4" << -1;
    QTest::newRow("empty") << "" << -1;
}

void tst_MidiFile::noteNames()
{
    QFETCH(QString, name);
    QFETCH(int, number);

    MidiFile midi;
    QCOMPARE(midi.noteNumber(name), number);
    QCOMPARE(midi.noteNames().size(), 128);
}

void tst_MidiFile::instrumentTable()
{
    MidiFile midi;
    const QStringList names = midi.instrumentNames();
    QCOMPARE(names.size(), 129);
    QCOMPARE(names.at(0), QStringLiteral("None"));
    QCOMPARE(names.at(1), QStringLiteral("Acoustic Grand Piano"));
    QCOMPARE(names.at(25), QStringLiteral("Acoustic Guitar (nylon)"));
    QCOMPARE(names.at(41), QStringLiteral("Violin"));
    QCOMPARE(names.at(57), QStringLiteral("Trumpet"));
    QCOMPARE(names.at(110), QStringLiteral("Bag pipe"));
    QCOMPARE(names.at(128), QStringLiteral("Gunshot"));
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 129);
}

void tst_MidiFile::reverseString_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("reversed");

    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("one") << QByteArray("a") << QByteArray("a");
    QTest::newRow("even") << QByteArray("abcd") << QByteArray("dcba");
    QTest::newRow("odd") << QByteArray("MTrk!") << QByteArray("!krTM");
}

void tst_MidiFile::reverseString()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, reversed);

    QByteArray buffer = text;
    MidiFile::reverseString(buffer.data());
    QCOMPARE(buffer, reversed);
    MidiFile::reverseString(nullptr);
}

void tst_MidiFile::chordMatchesTheGoldenFile()
{
    const QByteArray golden = WriterFixtures::hexFile(QFINDTESTDATA("data/midi-chord-c4-e4-g4.hex"));
    QVERIFY(!golden.isEmpty());
    const QString path = m_dir.filePath(QStringLiteral("chord.mid"));
    MidiFile midi;
    QVERIFY(midi.write({"C4", "E4", "G4"}, path, 1));
    QCOMPARE(WriterFixtures::hex(QMTest::readFile(path)), WriterFixtures::hex(golden));
}

void tst_MidiFile::independentReaderReadsTheChord()
{
    const QString path = m_dir.filePath(QStringLiteral("chord-csv.mid"));
    MidiFile midi;
    QVERIFY(midi.write({"C4", "E4", "G4"}, path, 1));
    QCOMPARE(midicsv(path), QStringList({"0, 0, Header, 1, 2, 96",
                                         "1, 0, Start_track",
                                         "1, 0, Time_signature, 4, 2, 24, 8",
                                         "1, 0, Tempo, 500000",
                                         "1, 0, End_track",
                                         "2, 0, Start_track",
                                         "2, 0, Instrument_name_t, \"Acoustic Grand Piano\"",
                                         "2, 0, Program_c, 0, 0",
                                         "2, 0, Note_on_c, 0, 60, 80",
                                         "2, 0, Note_on_c, 0, 64, 80",
                                         "2, 0, Note_on_c, 0, 67, 80",
                                         "2, 384, Note_off_c, 0, 60, 0",
                                         "2, 384, Note_off_c, 0, 64, 0",
                                         "2, 384, Note_off_c, 0, 67, 0",
                                         "2, 384, End_track",
                                         "0, 0, End_of_file"}));
}

void tst_MidiFile::programChangeFollowsTheInstrument_data()
{
    QTest::addColumn<int>("instrument");
    QTest::addColumn<QStringList>("track");

    // Entry n is General MIDI program n - 1; "None" keeps the program.
    QTest::newRow("None") << 0 << QStringList({"2, 0, Instrument_name_t, \"None\""});
    QTest::newRow("piano") << 1 << QStringList({"2, 0, Instrument_name_t, \"Acoustic Grand Piano\"",
                                                "2, 0, Program_c, 0, 0"});
    QTest::newRow("violin") << 41 << QStringList({"2, 0, Instrument_name_t, \"Violin\"", "2, 0, Program_c, 0, 40"});
    QTest::newRow("gunshot, the last") << 128 << QStringList({"2, 0, Instrument_name_t, \"Gunshot\"",
                                                              "2, 0, Program_c, 0, 127"});
}

void tst_MidiFile::programChangeFollowsTheInstrument()
{
    QFETCH(int, instrument);
    QFETCH(QStringList, track);

    const QString path = m_dir.filePath(QStringLiteral("instrument.mid"));
    MidiFile midi;
    QVERIFY(midi.write({}, path, instrument));
    // An empty chord: the name, the program and the end of the track.
    const QStringList expected = QStringList({"2, 0, Start_track"}) + track + QStringList({"2, 0, End_track"});
    QCOMPARE(midicsv(path).mid(5, expected.size() + 1), expected + QStringList({"0, 0, End_of_file"}));
}

void tst_MidiFile::instrumentOutsideTheTableIsRefused_data()
{
    QTest::addColumn<int>("instrument");

    QTest::newRow("129") << 129;
    QTest::newRow("-1") << -1;
    QTest::newRow("huge") << INT_MAX;
}

void tst_MidiFile::instrumentOutsideTheTableIsRefused()
{
    QFETCH(int, instrument);

    const QString path = m_dir.filePath(QStringLiteral("refused.mid"));
    MidiFile midi;
    QVERIFY(!midi.write({"C4"}, path, instrument));
    QVERIFY(!QFile::exists(path));
}

// Unknown names would put 0xFF, no data byte, into the stream.
void tst_MidiFile::notesWithoutANumberAreSkipped()
{
    const QString path = m_dir.filePath(QStringLiteral("skipped.mid"));
    MidiFile midi;
    QVERIFY(midi.write({"", "H2", "C4", "", "E4", "c5"}, path, 1));
    QCOMPARE(midicsv(path).mid(8), QStringList({"2, 0, Note_on_c, 0, 60, 80",
                                                "2, 0, Note_on_c, 0, 64, 80",
                                                "2, 384, Note_off_c, 0, 60, 0",
                                                "2, 384, Note_off_c, 0, 64, 0",
                                                "2, 384, End_track",
                                                "0, 0, End_of_file"}));
}

void tst_MidiFile::instrumentNameLengthCountsBytes()
{
    GermanNames german;
    QVERIFY(QCoreApplication::installTranslator(&german));
    MidiFile midi;
    QCoreApplication::removeTranslator(&german);
    QCOMPARE(midi.instrumentNames().at(1), QString::fromUtf8("Konzertfl\xC3\xBCgel"));

    const QString path = m_dir.filePath(QStringLiteral("german.mid"));
    QVERIFY(midi.write({}, path, 1));
    const QByteArray bytes = QMTest::readFile(path);
    // 13 characters, 14 bytes.
    const QByteArray event = QByteArray::fromHex("00FF040E") + QByteArray("Konzertfl\xC3\xBCgel");
    QVERIFY2(bytes.contains(event), qPrintable(WriterFixtures::hex(bytes)));
    QCOMPARE(midicsv(path).at(6), QString::fromUtf8("2, 0, Instrument_name_t, \"Konzertfl\xC3\xBCgel\""));
}

void tst_MidiFile::metaEventBytes_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("4/4") << "time" << 4 << 4 << 0 << QByteArray::fromHex("00FF580404021808");
    QTest::newRow("3/8") << "time" << 3 << 8 << 0 << QByteArray::fromHex("00FF580403031808");
    QTest::newRow("6/12 takes 4") << "time" << 6 << 12 << 0 << QByteArray::fromHex("00FF580406021808");
    QTest::newRow("2/1") << "time" << 2 << 1 << 0 << QByteArray::fromHex("00FF580402001808");
    QTest::newRow("5/128") << "time" << 5 << 128 << 0 << QByteArray::fromHex("00FF580405071808");
    QTest::newRow("tempo 120") << "tempo" << 120 << 0 << 0 << QByteArray::fromHex("00FF510307A120");
    QTest::newRow("tempo 100") << "tempo" << 100 << 0 << 0 << QByteArray::fromHex("00FF51030927C0");
    QTest::newRow("tempo 4, the slowest") << "tempo" << 4 << 0 << 0 << QByteArray::fromHex("00FF5103E4E1C0");
    QTest::newRow("tempo 3 does not fit") << "tempo" << 3 << 0 << 2 << QByteArray();
    QTest::newRow("tempo 0") << "tempo" << 0 << 0 << 2 << QByteArray();
    QTest::newRow("tempo -120") << "tempo" << -120 << 0 << 2 << QByteArray();
    QTest::newRow("program") << "program" << 3 << 200 << 0 << QByteArray::fromHex("00C348");
    QTest::newRow("channel 17") << "program" << 17 << 5 << 0 << QByteArray::fromHex("00C105");
    QTest::newRow("event") << "event" << 384 << 0x190 << 0 << QByteArray::fromHex("83009001FF");
    QTest::newRow("track") << "track" << 0 << 0 << 0 << QByteArray::fromHex("4D54726B0000000400FF2F00");
}

void tst_MidiFile::metaEventBytes()
{
    QFETCH(QString, call);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, result);
    QFETCH(QByteArray, bytes);

    const QString path = m_dir.filePath(QStringLiteral("events.mid"));
    MidiFile midi;
    QCOMPARE(midi.open(path), 0);
    int answer = -1;
    if (call == QLatin1String("time"))
        answer = midi.writeTimeSignature(first, second);
    else if (call == QLatin1String("tempo"))
        answer = midi.writeTempo(first);
    else if (call == QLatin1String("program"))
        answer = midi.writeProgramChange(first, second);
    else if (call == QLatin1String("event"))
        answer = midi.writeEvent(quint32(first), second, 257, -1);
    else
        answer = midi.beginTrack() + midi.endTrack();
    midi.close();
    QCOMPARE(answer, result);
    const QByteArray written = QMTest::readFile(path);
    QCOMPARE(WriterFixtures::hex(written.left(14)), WriterFixtures::hex(QByteArray::fromHex("4D546864000000060001000200 60")));
    QCOMPARE(WriterFixtures::hex(written.mid(14)), WriterFixtures::hex(bytes));
}

void tst_MidiFile::callsWithoutAFileDoNothing()
{
    MidiFile midi;
    const unsigned char data[2] = {1, 2};
    QCOMPARE(midi.writeEvent(0, 0x90, 60, 80), 1);
    QCOMPARE(midi.writeMetaEvent(0x01, 2, data), 1);
    QCOMPARE(midi.writeTimeSignature(4, 4), 1);
    QCOMPARE(midi.writeTempo(120), 1);
    QCOMPARE(midi.writeProgramChange(0, 1), 1);
    QCOMPARE(midi.beginTrack(), 1);
    QCOMPARE(midi.endTrack(), 1);
    midi.close();
    midi.close();

    // Closing ends the file: later calls do nothing either.
    const QString path = m_dir.filePath(QStringLiteral("closed.mid"));
    QCOMPARE(midi.open(path), 0);
    midi.close();
    QCOMPARE(midi.writeEvent(0, 0x90, 60, 80), 1);
    QCOMPARE(QMTest::readFile(path).size(), 14);
}

void tst_MidiFile::fileThatCannotBeCreated()
{
    const QString path = m_dir.filePath(QStringLiteral("no/such/folder/x.mid"));
    MidiFile midi;
    QCOMPARE(midi.open(path), 1);
    QCOMPARE(midi.writeEvent(0, 0x90, 60, 80), 1);
    QVERIFY(!midi.write({"C4"}, path, 1));
    QVERIFY(!QFile::exists(path));
}

// The chord file is 105 bytes; the disk takes 60 of them.
void tst_MidiFile::diskThatFillsUpIsReported()
{
    const QString path = m_dir.filePath(QStringLiteral("full.mid"));
    MidiFile midi;
    bool written = true;
    {
        FileSizeLimit limit(60);
        written = midi.write({"C4", "E4", "G4"}, path, 1);
    }
    QVERIFY(!written);

    // The next file on a disk with room is written in full again.
    QVERIFY(midi.write({"C4", "E4", "G4"}, path, 1));
    QCOMPARE(QMTest::readFile(path).size(), 105);
}

void tst_MidiFile::testFile()
{
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir.path()));
    const bool written = MidiFile::writeTestFile();
    QDir::setCurrent(previous);
    QVERIFY(written);

    const QString path = m_dir.filePath(QStringLiteral("testMelodie.mid"));
    QCOMPARE(WriterFixtures::hex(QMTest::readFile(path)),
             WriterFixtures::hex(QByteArray::fromHex("4D546864000000060001000200604D54726B00000013"
                                                     "00FF58040402180800FF510307A12000FF2F00"
                                                     "4D54726B0000000400FF2F00")));
    QCOMPARE(midicsv(path).size(), 8);
}

QTEST_GUILESS_MAIN(tst_MidiFile)
#include "tst_MidiFile.moc"
