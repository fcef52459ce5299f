// Stream settings, the stream base, the file record and the byte buffer.
#include "AudioIO.h"
#include "AudioTestSupport.h"
#include "FileInfo.h"
#include "RawBuffer.h"

#include <QtTest>

#include <cstring>

using namespace QMMultiMedia;

class tst_AudioIO : public QObject
{
    Q_OBJECT

private slots:
    void defaultStreamIsMuLawStereo48k();
    void formatText_data();
    void formatText();
    void settingsEquality_data();
    void settingsEquality();
    void settingsKeepTheirFieldWidths();
    void settingsDump();
    void fileInfoCopiesEveryField();
    void fileInfoDump();
    void rawBufferCopyTakesDefaultSettings();
    void rawBufferAssignmentKeepsOwnSettings();
    void emptyRawBuffers();
};

void tst_AudioIO::defaultStreamIsMuLawStereo48k()
{
    AudioIO io;
    QCOMPARE(io.settings(), Settings(48000, 2, 1, 16));
    QCOMPARE(io.settings().format(), int(MuLaw));
    QCOMPARE(io.name(), "AudioIO");

    AudioTest::CapturedDebug debug;
    io.dumpInfo();
    QCOMPARE(debug.lines(), QStringList{"AudioIO"});

    io.setSettings(Settings(44100, 1, LittleEndianSigned, 24));
    QCOMPARE(io.settings().sampleRate(), 44100);
    QCOMPARE(io.settings().channels(), 1);
    QCOMPARE(io.settings().bitsPerSample(), 24);
}

void tst_AudioIO::formatText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "Query";
    QTest::newRow("1") << 1 << "Mu-Law";
    QTest::newRow("2") << 2 << "A-Law";
    QTest::newRow("3 is no code") << 3 << "Unknown";
    QTest::newRow("4") << 4 << "Ima ADPCM";
    QTest::newRow("8") << 8 << "Unsigned 8";
    QTest::newRow("16") << 16 << "Little endian signed 16 or 32";
    QTest::newRow("32") << 32 << "Big endian signed 16 or 32";
    QTest::newRow("64") << 64 << "Signed 8";
    QTest::newRow("128") << 128 << "Little endian unsigned 16 or 32";
    QTest::newRow("256") << 256 << "Big endian unsigned 16 or 32";
    QTest::newRow("512") << 512 << "MPEG";
    QTest::newRow("1024") << 1024 << "AC3";
    QTest::newRow("2048") << 2048 << "Signed 24 Normal";
    QTest::newRow("4096") << 4096 << "Signed 24 Swapped";
    QTest::newRow("12345") << 12345 << "Unknown";
}

void tst_AudioIO::formatText()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(QString::fromLatin1(sampleFormatText(code)), text);
}

void tst_AudioIO::settingsEquality_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("bits");
    QTest::addColumn<bool>("equal");
    QTest::newRow("same") << 48000 << 2 << 16 << 16 << true;
    QTest::newRow("rate") << 44100 << 2 << 16 << 16 << false;
    QTest::newRow("channels") << 48000 << 1 << 16 << 16 << false;
    QTest::newRow("format only") << 48000 << 2 << 2048 << 16 << false;
    QTest::newRow("bits only") << 48000 << 2 << 16 << 32 << false;
}

void tst_AudioIO::settingsEquality()
{
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(int, format);
    QFETCH(int, bits);
    QFETCH(bool, equal);
    const Settings reference(48000, 2, 16, 16);
    const Settings other(rate, channels, format, bits);
    QCOMPARE(reference == other, equal);
    QCOMPARE(reference != other, !equal);
}

void tst_AudioIO::settingsKeepTheirFieldWidths()
{
    Settings s(48000, 2, 16, 16);
    s.setChannels(65536 + 3);
    s.setBitsPerSample(-1);
    s.setFormat(70000);
    QCOMPARE(s.channels(), 3);
    QCOMPARE(s.bitsPerSample(), 65535);
    QCOMPARE(s.format(), 70000 - 65536);
    s.setSampleRate(-5);
    QCOMPARE(s.sampleRate(), -5);

    Settings copy(s);
    QCOMPARE(copy, s);
    copy = copy;
    QCOMPARE(copy, s);
}

void tst_AudioIO::settingsDump()
{
    AudioTest::CapturedDebug debug;
    Settings(-1, 2, 12345, 24).dumpInfo();
    QCOMPARE(debug.lines(), (QStringList{"---- Settings Info Begin -----", "Channels =  2", "Bits Per Sample =  24",
                                         "Sample Rate =  4294967295", "Format =  12345  ( Unknown )",
                                         "---- Settings Info End-----"}));
}

void tst_AudioIO::fileInfoCopiesEveryField()
{
    FileInfo source;
    source.setUrl(QUrl::fromLocalFile("/tmp/a b.wav"));
    source.setComment("Take one");
    source.setDataOffset(40);
    source.setNumberOfSamples(1000);
    source.setFileSize(4036);
    source.setDataSize(4000);
    source.setSizeOffset(4);
    source.setCompression(1);

    FileInfo assigned;
    assigned.setUrl(QUrl("file:///other.wav"));
    assigned = source;
    const FileInfo copied(source);
    for (const FileInfo* info : std::initializer_list<const FileInfo*>{&assigned, &copied}) {
        QCOMPARE(info->url(), source.url());
        QCOMPARE(info->comment(), QString("Take one"));
        QCOMPARE(info->dataOffset(), 40);
        QCOMPARE(info->numberOfSamples(), 1000);
        QCOMPARE(info->fileSize(), 4036);
        QCOMPARE(info->dataSize(), 4000);
        QCOMPARE(info->sizeOffset(), 4);
        QCOMPARE(info->compression(), 1);
    }

    const FileInfo fresh;
    QVERIFY(fresh.url().isEmpty());
    QVERIFY(fresh.comment().isEmpty());
    QCOMPARE(fresh.dataOffset() + fresh.numberOfSamples() + fresh.fileSize() + fresh.dataSize()
                 + fresh.sizeOffset() + fresh.compression(),
             0);
}

void tst_AudioIO::fileInfoDump()
{
    FileInfo info;
    info.setComment("hi");
    info.setDataOffset(-1);
    AudioTest::CapturedDebug debug;
    info.dumpInfo();
    const QStringList lines = debug.lines();
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines.first(), QString("----- File Info Begin ------"));
    QCOMPARE(lines.at(2), QString("Comment =  \"hi\""));
    QCOMPARE(lines.at(3), QString("Data Offset =  18446744073709551615"));
    QCOMPARE(lines.at(8), QString("Compression =  0"));
    QCOMPARE(lines.last(), QString("----- File Info End ------"));
}

void tst_AudioIO::rawBufferCopyTakesDefaultSettings()
{
    RawBuffer source(3);
    std::memcpy(source.data(), "abc", 3);
    source.setSettings(Settings(8000, 1, 8, 8));
    const RawBuffer copy(source);
    QCOMPARE(copy.size(), 3);
    QCOMPARE(QByteArray(copy.data(), 3), QByteArray("abc"));
    QCOMPARE(RawBuffer(copy).settings(), AudioIO().settings());
}

void tst_AudioIO::rawBufferAssignmentKeepsOwnSettings()
{
    RawBuffer source(5);
    std::memcpy(source.data(), "hello", 5);
    RawBuffer target(2);
    target.setSettings(Settings(8000, 1, 8, 8));
    target = source;
    QCOMPARE(target.size(), 5);
    QCOMPARE(QByteArray(target.data(), 5), QByteArray("hello"));
    QCOMPARE(target.settings(), Settings(8000, 1, 8, 8));
    target = target;
    QCOMPARE(QByteArray(target.data(), 5), QByteArray("hello"));
}

void tst_AudioIO::emptyRawBuffers()
{
    const RawBuffer empty(0);
    RawBuffer copy(empty);
    QCOMPARE(copy.size(), 0);
    RawBuffer target(4);
    target = empty;
    QCOMPARE(target.size(), 0);
    QCOMPARE(RawBuffer(-7).size(), 0);
}

QTEST_GUILESS_MAIN(tst_AudioIO)
#include "tst_AudioIO.moc"
