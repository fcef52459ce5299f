// The AIFF reader: the COMM settings with the 80-bit rate, where the SSND
// samples lie (after their offset), the COMT comment, chunks of unusual size
// before the samples, and files written by sox.
#include "AudioTestSupport.h"
#include "AiffInput.h"

#include <QtTest>

using namespace QMMultiMedia;
using AudioTest::Bytes;

namespace {

QByteArray be16Samples(std::initializer_list<int> samples)
{
    Bytes b;
    for (int s : samples)
        b.be16(quint32(s) & 0xFFFF);
    return b;
}

// An SSND body: offset, block size, then the given bytes.
QByteArray ssnd(quint32 offset, const QByteArray& bytes)
{
    return Bytes().be32(offset).be32(0).raw(bytes);
}

QByteArray stereo16Comm(quint32 frames)
{
    return AudioTest::commBody(2, frames, 16, AudioTest::rate44100());
}

bool openBytes(const QByteArray& content, AiffInput& input, const QString& name = "t.aif")
{
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    AudioTest::writeFile(path, content);
    return input.openChecked(QFile::encodeName(path).constData());
}

QVector<float> readAll(FileInput& input)
{
    QVector<float> all(int(input.fileInfo()->numberOfSamples()) + 5);
    all.resize(input.read(all.data(), all.size()));
    return all;
}

}  // namespace

class tst_AiffInput : public QObject
{
    Q_OBJECT

private slots:
    void commonChunkAndFirstSample();
    void chunksBeforeTheSamples_data();
    void chunksBeforeTheSamples();
    void soundOffsetIsHonoured();
    void sampleFormatCodes_data();
    void sampleFormatCodes();
    void refusedHeaders_data();
    void refusedHeaders();
    void withoutCommonChunkKeepsTheDefaults();
    void extensionCheck();
    void soxFiles_data();
    void soxFiles();
};

void tst_AiffInput::commonChunkAndFirstSample()
{
    AiffInput input;
    QVERIFY(openBytes(AudioTest::aiff(Bytes().beChunk("COMM", stereo16Comm(2))
                                          .beChunk("SSND", ssnd(0, be16Samples({0x1234, -2, 3, 4})))),
                      input));
    QCOMPARE(input.sampleRate(), 44100);
    QCOMPARE(input.channels(), 2);
    QCOMPARE(input.bitsPerSample(), 16);
    QCOMPARE(input.settings().format(), 32);
    QCOMPARE(input.fileInfo()->numberOfSamples(), 4);
    // The first sample, not the offset or block size fields.
    float x = 0.0f;
    QCOMPARE(input.read(&x, 1), 1);
    QCOMPARE(x, 0x1234 / 32768.0f);
    QCOMPARE(readAll(input), (QVector<float>{-2 / 32768.0f, 3 / 32768.0f, 4 / 32768.0f}));
}

void tst_AiffInput::chunksBeforeTheSamples_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("commExtra");
    QTest::addColumn<QString>("comment");
    // "Hello" is odd: a walk that skipped a byte too many would miss SSND.
    QTest::newRow("COMT Hello") << Bytes().beChunk("COMT", Bytes().be16(1).be32(7).be16(0).be16(5).raw("Hello"))
                                       .bytes()
                                << 0 << "Hello";
    QTest::newRow("COMT with NUL bytes kept")
        << Bytes().beChunk("COMT", Bytes().be16(1).be32(0).be16(0).be16(4).raw(QByteArray("a\0b\0", 4))).bytes() << 0
        << QString::fromLatin1("a\0b\0", 4);
    QTest::newRow("COMT without comments") << Bytes().beChunk("COMT", Bytes().be16(0).zeros(4)).bytes() << 0
                                           << QString();
    QTest::newRow("COMT text longer than the chunk")
        << Bytes().beChunk("COMT", Bytes().be16(1).be32(0).be16(0).be16(60000).raw("Hi")).bytes() << 0 << "Hi";
    // A COMM of another size than 18: the walk goes on from its end.
    QTest::newRow("COMM of 20 bytes") << QByteArray() << 2 << QString();
    QTest::newRow("COMM of 21 bytes") << QByteArray() << 3 << QString();
}

void tst_AiffInput::chunksBeforeTheSamples()
{
    QFETCH(QByteArray, before);
    QFETCH(int, commExtra);
    QFETCH(QString, comment);
    AiffInput input;
    QVERIFY(openBytes(AudioTest::aiff(before + Bytes().beChunk("COMM", stereo16Comm(1) + QByteArray(commExtra, 'x'))
                                                   .beChunk("SSND", ssnd(0, be16Samples({-300, 300})))),
                      input));
    QCOMPARE(input.fileInfo()->comment(), comment);
    QCOMPARE(readAll(input), (QVector<float>{-300 / 32768.0f, 300 / 32768.0f}));
}

void tst_AiffInput::soundOffsetIsHonoured()
{
    // Four bytes of padding before the samples: they are not samples, and the
    // data ends with the chunk, not four bytes into the next one.
    AiffInput input;
    const QByteArray samples = Bytes().raw("pad!").raw(be16Samples({1, 2, 3, 4}));
    QVERIFY(openBytes(AudioTest::aiff(Bytes().beChunk("COMM", stereo16Comm(2)).beChunk("SSND", ssnd(4, samples))
                                          .beChunk("APPL", QByteArray("\x7f\x7f\x7f\x7f"))),
                      input));
    QCOMPARE(input.fileInfo()->dataSize(), 8);
    QCOMPARE(input.fileInfo()->dataOffset(), 12 + 8 + 18 + 8 + 8 + 4 - 4);
    QCOMPARE(readAll(input), (QVector<float>{1 / 32768.0f, 2 / 32768.0f, 3 / 32768.0f, 4 / 32768.0f}));
}

void tst_AiffInput::sampleFormatCodes_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("code");
    QTest::newRow("8 bits") << 8 << 64;
    QTest::newRow("16 bits") << 16 << 32;
    QTest::newRow("24 bits") << 24 << 4096;
    QTest::newRow("32 bits") << 32 << 0;
}

void tst_AiffInput::sampleFormatCodes()
{
    QFETCH(int, bits);
    QFETCH(int, code);
    AiffInput input;
    QVERIFY(openBytes(AudioTest::aiff(Bytes().beChunk("COMM", AudioTest::commBody(1, 2, bits, AudioTest::rate48000()))
                                          .beChunk("SSND", ssnd(0, QByteArray(bits / 4, '\x40')))),
                      input));
    QCOMPARE(input.settings().format(), code);
    QCOMPARE(input.sampleFormat(), code);
    QCOMPARE(input.sampleRate(), 48000);
}

void tst_AiffInput::refusedHeaders_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray sound = Bytes().beChunk("SSND", ssnd(0, be16Samples({1, 2})));
    auto withComm = [&](const QByteArray& comm) { return AudioTest::aiff(Bytes().beChunk("COMM", comm).raw(sound)); };

    QTest::newRow("no SSND") << AudioTest::aiff(Bytes().beChunk("COMM", stereo16Comm(0)).beChunk("NAME", "abcdefghijkl"));
    QTest::newRow("rate +infinity") << withComm(AudioTest::commBody(1, 2, 16, QByteArray::fromHex("7FFF8000000000000000")));
    QTest::newRow("rate -infinity") << withComm(AudioTest::commBody(1, 2, 16, QByteArray::fromHex("FFFF8000000000000000")));
    QTest::newRow("rate 2^31") << withComm(AudioTest::commBody(1, 2, 16, QByteArray::fromHex("401E8000000000000000")));
    QTest::newRow("rate 0") << withComm(AudioTest::commBody(1, 2, 16, QByteArray(10, 0)));
    QTest::newRow("rate 0.5") << withComm(AudioTest::commBody(1, 2, 16, QByteArray::fromHex("3FFE8000000000000000")));
    QTest::newRow("0 channels") << withComm(AudioTest::commBody(0, 2, 16, AudioTest::rate44100()));
    QTest::newRow("-1 channels") << withComm(AudioTest::commBody(0xFFFF, 2, 16, AudioTest::rate44100()));
    QTest::newRow("40 channels") << withComm(AudioTest::commBody(40, 2, 16, AudioTest::rate44100()));
    QTest::newRow("0 bits") << withComm(AudioTest::commBody(1, 2, 0, AudioTest::rate44100()));
    QTest::newRow("20 bits") << withComm(AudioTest::commBody(1, 2, 20, AudioTest::rate44100()));
    QTest::newRow("COMM of 10 bytes") << withComm(stereo16Comm(1).left(10));
    QTest::newRow("empty SSND in the form's last 8 bytes")
        << AudioTest::aiff(Bytes().beChunk("COMM", stereo16Comm(0)).beChunk("SSND", QByteArray()));
    QTest::newRow("AIFC") << Bytes().tag("FORM").be32(4 + sound.size()).tag("AIFC").raw(sound).bytes();
}

void tst_AiffInput::refusedHeaders()
{
    QFETCH(QByteArray, content);
    AiffInput input;
    QVERIFY(!openBytes(content, input));
    QVERIFY(!input.file());
}

void tst_AiffInput::withoutCommonChunkKeepsTheDefaults()
{
    AiffInput input;
    QVERIFY(openBytes(AudioTest::aiff(Bytes().beChunk("SSND", ssnd(0, be16Samples({-1, 1, 0, 0, 0, 0})))), input));
    QCOMPARE(input.sampleRate(), 48000);
    QCOMPARE(input.channels(), 2);
    QCOMPARE(input.bitsPerSample(), 16);
    QCOMPARE(readAll(input).mid(0, 2), (QVector<float>{-1 / 32768.0f, 1 / 32768.0f}));
}

void tst_AiffInput::extensionCheck()
{
    const QByteArray content = AudioTest::aiff(Bytes().beChunk("COMM", stereo16Comm(1))
                                                   .beChunk("SSND", ssnd(0, be16Samples({1, 2}))));
    AiffInput input;
    QVERIFY(openBytes(content, input, "take.aif"));
    QVERIFY(openBytes(content, input, "take.aiff"));
    QVERIFY(!openBytes(content, input, "take.AIF"));
    QVERIFY(!openBytes(content, input, "take.wav"));
}

void tst_AiffInput::soxFiles_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("comment");
    QTest::newRow("16-bit stereo") << QStringList{"-c", "2", "-b", "16"} << 32 << "Processed by SoX";
    QTest::newRow("24-bit stereo") << QStringList{"-c", "2", "-b", "24"} << 4096 << "Processed by SoX";
    QTest::newRow("24-bit mono with a comment") << QStringList{"--comment", "Take 7", "-c", "1", "-b", "24"} << 4096
                                                << "Take 7";
    QTest::newRow("8-bit mono without a comment") << QStringList{"--comment", "", "-c", "1", "-b", "8"} << 64
                                                  << QString();
}

void tst_AiffInput::soxFiles()
{
    QFETCH(QStringList, options);
    QFETCH(int, code);
    QFETCH(QString, comment);
    if (!AudioTest::haveTool("sox"))
        QSKIP("sox is missing (scripts/setup.sh installs it)");
    QTemporaryDir dir;
    const QString path = dir.filePath("sox.aiff");
    QVERIFY(!AudioTest::runTool("sox", QStringList{"-n", "-r", "48000"} + options
                                           + QStringList{path, "synth", "0.05", "sine", "300", "vol", "0.9"})
                 .isNull());
    AiffInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    QCOMPARE(input.settings().format(), code);
    QCOMPARE(input.sampleRate(), 48000);
    QCOMPARE(input.fileInfo()->comment().trimmed(), comment);
    QVector<float> expected;
    for (qint32 v : AudioTest::soxSamples(path))
        expected << float(double(v) / 2147483648.0);
    QCOMPARE(expected.size(), 2400 * input.channels());
    QCOMPARE(readAll(input), expected);
}

QTEST_GUILESS_MAIN(tst_AiffInput)
#include "tst_AiffInput.moc"
