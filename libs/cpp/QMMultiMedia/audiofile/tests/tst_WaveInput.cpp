// The WAV reader: which headers open and which are refused, where the samples
// lie, comments and broadcast chunks, the sample-format codes, and the
// samples of files written by sox and by the library's own writer, compared
// with what sox decodes from them.
#include "AudioTestSupport.h"
#include "WaveComment.h"
#include "WaveInput.h"
#include "WaveOutput.h"

#include <QtTest>

#include <cmath>

using namespace QMMultiMedia;
using AudioTest::Bytes;

namespace {

QByteArray pcm16(std::initializer_list<int> samples)
{
    Bytes b;
    for (int s : samples)
        b.le16(quint32(s) & 0xFFFF);
    return b;
}

struct Opened
{
    bool ok = false;
    qint64 samples = -1;
    qint64 dataSize = -1;
    qint64 position = -1;
    QString comment;
};

Opened openBytes(const QByteArray& content, WaveInput& input, const QString& name = "t.wav")
{
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    AudioTest::writeFile(path, content);
    Opened o;
    o.ok = input.openChecked(QFile::encodeName(path).constData());
    o.samples = input.fileInfo()->numberOfSamples();
    o.dataSize = input.fileInfo()->dataSize();
    o.position = input.filePosition();
    o.comment = input.fileInfo()->comment();
    return o;
}

// The floats sox decodes: each 32-bit value times 2^-31.
QVector<float> soxFloats(const QString& path)
{
    QVector<float> floats;
    for (qint32 v : AudioTest::soxSamples(path))
        floats << float(double(v) / 2147483648.0);
    return floats;
}

QVector<float> readAll(FileInput& input)
{
    QVector<float> all(int(input.fileInfo()->numberOfSamples()) + 7);
    all.resize(input.read(all.data(), all.size()));
    return all;
}

}  // namespace

class tst_WaveInput : public QObject
{
    Q_OBJECT

private slots:
    void smallestFileOpens();
    void refusedHeaders_data();
    void refusedHeaders();
    void dataIsCutAtTheEndOfTheFile();
    void longerFormatChunkIsSkipped();
    void sampleFormatCodes_data();
    void sampleFormatCodes();
    void withoutFormatChunkKeepsTheDefaults();
    void comments_data();
    void comments();
    void broadcastChunks();
    void extensionCheck_data();
    void extensionCheck();
    void soxFiles_data();
    void soxFiles();
    void ownWriterFiles_data();
    void ownWriterFiles();
};

void tst_WaveInput::smallestFileOpens()
{
    WaveInput input;
    const Opened o = openBytes(AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 2, 44100, 16))
                                                   .chunk("data", {})),
                               input);
    QVERIFY(o.ok);
    QCOMPARE(o.samples, 0);
    QCOMPARE(o.position, 44);
    QCOMPARE(input.fileInfo()->dataOffset(), 40);
    QCOMPARE(input.sampleRate(), 44100);
    QCOMPARE(input.channels(), 2);
    float x = 5.0f;
    QCOMPARE(input.read(&x, 1), 0);
}

void tst_WaveInput::refusedHeaders_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray data = Bytes().chunk("data", pcm16({1, 2, 3, 4}));
    auto withFmt = [&](const QByteArray& fmt) { return AudioTest::riff(Bytes().chunk("fmt ", fmt).raw(data)); };

    QTest::newRow("no data chunk") << AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, 16))
                                                          .chunk("LIST", QByteArray("abcdefghijklmnop")));
    QTest::newRow("floating point, tag 3") << withFmt(AudioTest::fmtBody(3, 1, 8000, 32));
    QTest::newRow("extensible, tag 0xFFFE") << withFmt(AudioTest::fmtBody(0xFFFE, 1, 8000, 24) + QByteArray(24, 0));
    QTest::newRow("4 bits") << withFmt(AudioTest::fmtBody(1, 1, 8000, 4));
    QTest::newRow("0 bits") << withFmt(AudioTest::fmtBody(1, 1, 8000, 0));
    QTest::newRow("12 bits") << withFmt(AudioTest::fmtBody(1, 1, 8000, 12));
    QTest::newRow("65535 bits") << withFmt(AudioTest::fmtBody(1, 1, 8000, 0xFFFF));
    QTest::newRow("0 channels") << withFmt(AudioTest::fmtBody(1, 0, 8000, 16));
    QTest::newRow("33 channels") << withFmt(AudioTest::fmtBody(1, 33, 8000, 16));
    QTest::newRow("rate 0") << withFmt(AudioTest::fmtBody(1, 1, 0, 16));
    QTest::newRow("rate 0x80000000") << withFmt(AudioTest::fmtBody(1, 1, int(0x80000000u), 16));
    QTest::newRow("fmt of 14 bytes") << withFmt(AudioTest::fmtBody(1, 1, 8000, 16).left(14));
    QTest::newRow("not RIFF") << Bytes().tag("RIFX").le32(36).tag("WAVE").chunk("data", QByteArray(28, 0)).bytes();
    QTest::newRow("not WAVE") << Bytes().tag("RIFF").le32(36).tag("AVI ").chunk("data", QByteArray(28, 0)).bytes();
    QTest::newRow("RIFF size 0 (never patched)")
        << Bytes().tag("RIFF").le32(0).tag("WAVE").chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, 16)).raw(data).bytes();
}

void tst_WaveInput::refusedHeaders()
{
    QFETCH(QByteArray, content);
    WaveInput input;
    const Opened o = openBytes(content, input);
    QVERIFY(!o.ok);
    QVERIFY(!input.file());
}

void tst_WaveInput::dataIsCutAtTheEndOfTheFile()
{
    WaveInput input;
    const QByteArray content = Bytes().tag("RIFF").le32(4 + 24 + 8 + 1000).tag("WAVE")
                                   .chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, 16))
                                   .tag("data").le32(1000).raw(pcm16({1, 2, 3, 4, 5}));
    const Opened o = openBytes(content, input);
    QVERIFY(o.ok);
    QCOMPARE(o.dataSize, 10);
    QCOMPARE(o.samples, 5);
    const QVector<float> samples = readAll(input);
    QCOMPARE(samples.size(), 5);
    QCOMPARE(samples[4], 5.0f / 32768.0f);
}

void tst_WaveInput::longerFormatChunkIsSkipped()
{
    // An 18-byte fmt (a zero extension size): the two extra bytes are not
    // taken for the next chunk or for samples.
    WaveInput input;
    const Opened o = openBytes(AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, 16) + QByteArray(2, 0))
                                                   .chunk("data", pcm16({-2, 7}))),
                               input);
    QVERIFY(o.ok);
    QCOMPARE(readAll(input), (QVector<float>{-2.0f / 32768.0f, 7.0f / 32768.0f}));
}

void tst_WaveInput::sampleFormatCodes_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("code");
    QTest::newRow("8 bits") << 8 << 8;
    QTest::newRow("16 bits") << 16 << 16;
    QTest::newRow("24 bits") << 24 << 2048;
    QTest::newRow("32 bits") << 32 << 16;
}

void tst_WaveInput::sampleFormatCodes()
{
    QFETCH(int, bits);
    QFETCH(int, code);
    WaveInput input;
    QVERIFY(openBytes(AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, bits))
                                          .chunk("data", QByteArray(bits / 8 * 2, 0))),
                      input)
                .ok);
    QCOMPARE(input.settings().format(), code);
    // The field now holds the code, which maps to no code of its own.
    QCOMPARE(input.sampleFormat(), 0);
}

void tst_WaveInput::withoutFormatChunkKeepsTheDefaults()
{
    WaveInput input;
    // 20 bytes of samples make the 40 bytes a file needs at least.
    QVERIFY(openBytes(AudioTest::riff(Bytes().chunk("data", QByteArray::fromHex("12345678") + QByteArray(16, 0))), input)
                .ok);
    QCOMPARE(input.sampleRate(), 48000);
    QCOMPARE(input.channels(), 2);
    QCOMPARE(input.bitsPerSample(), 16);
    // Format field 0 maps to code 0: 16-bit samples are then read big-endian.
    QCOMPARE(input.settings().format(), 0);
    QCOMPARE(readAll(input).mid(0, 3), (QVector<float>{0x1234 / 32768.0f, 0x5678 / 32768.0f, 0.0f}));
}

void tst_WaveInput::comments_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QString>("comment");
    auto info = [](const QByteArray& items) { return Bytes().chunk("LIST", QByteArray("INFO") + items).bytes(); };

    QTest::newRow("ICMT Take one") << info(Bytes().chunk("ICMT", QByteArray("Take one\0", 9))) << "Take one";
    QTest::newRow("odd ICMT then INAM")
        << info(Bytes().chunk("ICMT", QByteArray("abc")).chunk("INAM", QByteArray("name\0", 5))) << "abc";
    QTest::newRow("NUL ends the text") << info(Bytes().chunk("ICMT", QByteArray("ab\0cd", 5))) << "ab";
    const QString accents = QString::fromUtf8("Café crème – Grüße");
    QTest::newRow("UTF-8 bytes") << info(Bytes().chunk("ICMT", accents.toUtf8())) << accents;
    // Files written before the comment was UTF-8 hold Latin-1: bytes that
    // are not UTF-8 read as they always did, one character per byte.
    QTest::newRow("Latin-1 bytes") << info(Bytes().chunk("ICMT", QByteArray("caf\xe9"))) << QString::fromLatin1("caf\xe9");
    QTest::newRow("Latin-1 ending on a UTF-8 lead byte")
        << info(Bytes().chunk("ICMT", QByteArray("Gr\xFC\xDF" "e \xC3"))) << QString::fromLatin1("Gr\xFC\xDF" "e \xC3");
    QTest::newRow("overlong UTF-8 form is Latin-1")
        << info(Bytes().chunk("ICMT", QByteArray("a\xC0\xAF"))) << QString::fromLatin1("a\xC0\xAF");
    // Longer than the reader takes, and cut in the middle of the e acute.
    const QByteArray longText = QByteArray(kMaxWaveCommentBytes - 1, 'a') + "\xC3\xA9 and more";
    QTest::newRow("UTF-8 cut inside a character") << info(Bytes().chunk("ICMT", longText))
                                                  << QString(kMaxWaveCommentBytes - 1, 'a');
    // Written without the pad byte after an odd string, as many tools do: the
    // list ends early, the file still opens.
    QTest::newRow("unpadded odd INAM before ICMT")
        << Bytes().tag("LIST").le32(4 + 8 + 3 + 8 + 5).tag("INFO").tag("INAM").le32(3).raw("abc")
               .tag("ICMT").le32(5).raw(QByteArray("note\0", 5)).bytes()
        << QString();
    QTest::newRow("ICMT larger than its list")
        << Bytes().tag("LIST").le32(4 + 8 + 4).tag("INFO").tag("ICMT").le32(400).raw("note").bytes() << "note";
    QTest::newRow("LIST of 2 bytes") << Bytes().chunk("LIST", QByteArray("IN")).bytes() << QString();
    QTest::newRow("LIST of another type") << Bytes().chunk("LIST", QByteArray("adtlICMTxxxx")).bytes() << QString();
}

void tst_WaveInput::comments()
{
    QFETCH(QByteArray, list);
    QFETCH(QString, comment);
    WaveInput input;
    // The list comes first, so a desynchronised walk would lose fmt or data.
    const Opened o = openBytes(AudioTest::riff(list + Bytes().chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, 16))
                                                          .chunk("data", pcm16({300}))),
                               input);
    QVERIFY(o.ok);
    QCOMPARE(o.comment, comment);
    QCOMPARE(readAll(input), QVector<float>{300.0f / 32768.0f});
}

void tst_WaveInput::broadcastChunks()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bwf.wav");
    {
        WaveOutput out(QFile::encodeName(path).constData(), Settings(48000, 2, LittleEndianSigned, 24), "Scene 4",
                       MTools::Handle<EBUInfo>(), true);
        QVector<float> samples(2 * 600, 0.25f);
        QVERIFY(out.write(samples.constData(), samples.size()));
        QVERIFY(out.close());
    }
    WaveInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    QVERIFY(!input.ebuInfo().isNull());
    QCOMPARE(input.ebuInfo()->originator(), QString("CORVANE") + QString(25, QChar(0)));
    QVERIFY(input.ebuInfo()->codingHistory().endsWith("A=PCM,F=48000,W=24,M=stereo,T=\r\n"));
    QCOMPARE(input.fileInfo()->comment(), QString("Scene 4"));
    QVERIFY(!input.envelope().isNull());
    QCOMPARE(input.envelope()->peakChannels(), 2);
    QCOMPARE(input.envelope()->numPeakFrames(), 600 / 256 + 1);
    QCOMPARE(input.fileInfo()->numberOfSamples(), 1200);
    // The stream stands at the first sample.
    QCOMPARE(input.tellBytes(), 0);
    QCOMPARE(readAll(input).value(1199), 0.25f);
}

void tst_WaveInput::extensionCheck_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opens");
    QTest::newRow("take.wav") << "take.wav" << true;
    QTest::newRow("take.bwf") << "take.bwf" << true;
    QTest::newRow("take.wave") << "take.wave" << true;
    QTest::newRow("take.WAV (case counts)") << "take.WAV" << false;
    QTest::newRow("take.aif") << "take.aif" << false;
}

void tst_WaveInput::extensionCheck()
{
    QFETCH(QString, name);
    QFETCH(bool, opens);
    WaveInput input;
    const QByteArray content = AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, 16))
                                                   .chunk("data", pcm16({1, 2})));
    QCOMPARE(openBytes(content, input, name).ok, opens);
}

void tst_WaveInput::soxFiles_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<int>("code");
    QTest::newRow("8-bit mono") << QStringList{"-c", "1", "-b", "8"} << true << 8;
    QTest::newRow("16-bit stereo") << QStringList{"-c", "2", "-b", "16"} << true << 16;
    QTest::newRow("24-bit stereo, plain") << QStringList{"-c", "2", "-b", "24", "-t", "wavpcm"} << true << 2048;
    QTest::newRow("32-bit mono, plain") << QStringList{"-c", "1", "-b", "32", "-e", "signed", "-t", "wavpcm"} << true
                                        << 16;
    QTest::newRow("24-bit stereo, extensible") << QStringList{"-c", "2", "-b", "24"} << false << 0;
    QTest::newRow("16-bit 3 channels, extensible") << QStringList{"-c", "3", "-b", "16"} << false << 0;
    QTest::newRow("32-bit float") << QStringList{"-c", "1", "-b", "32", "-e", "floating-point"} << false << 0;
}

void tst_WaveInput::soxFiles()
{
    QFETCH(QStringList, options);
    QFETCH(bool, opens);
    QFETCH(int, code);
    if (!AudioTest::haveTool("sox"))
        QSKIP("sox is missing (scripts/setup.sh installs it)");
    QTemporaryDir dir;
    const QString path = dir.filePath("sox.wav");
    QVERIFY(!AudioTest::runTool("sox", QStringList{"-n", "-r", "44100"} + options
                                           + QStringList{path, "synth", "0.05", "sine", "440", "vol", "0.8"})
                 .isNull());
    WaveInput input;
    QCOMPARE(input.openChecked(QFile::encodeName(path).constData()), opens);
    if (!opens)
        return;
    QCOMPARE(input.settings().format(), code);
    QCOMPARE(input.sampleRate(), 44100);
    const QVector<float> expected = soxFloats(path);
    QCOMPARE(expected.size(), 2205 * input.channels());
    QCOMPARE(readAll(input), expected);
}

void tst_WaveInput::ownWriterFiles_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("channels");
    QTest::newRow("8-bit mono") << 8 << 1;
    QTest::newRow("16-bit stereo") << 16 << 2;
    QTest::newRow("24-bit stereo") << 24 << 2;
    QTest::newRow("32-bit 3 channels") << 32 << 3;
}

void tst_WaveInput::ownWriterFiles()
{
    QFETCH(int, bits);
    QFETCH(int, channels);
    if (!AudioTest::haveTool("sox"))
        QSKIP("sox is missing (scripts/setup.sh installs it)");
    QTemporaryDir dir;
    const QString path = dir.filePath("own.wav");
    QVector<float> written(channels * 1000);
    for (int i = 0; i < written.size(); ++i)
        written[i] = float(0.9 * std::sin(i * 0.01));
    {
        WaveOutput out(QFile::encodeName(path).constData(), Settings(32000, channels, LittleEndianSigned, bits),
                       QString(), MTools::Handle<EBUInfo>(), false);
        QVERIFY(out.write(written.constData(), written.size()));
        QVERIFY(out.close());
    }
    WaveInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    QCOMPARE(input.channels(), channels);
    QCOMPARE(input.bitsPerSample(), bits);
    const QVector<float> samples = readAll(input);
    QCOMPARE(samples, soxFloats(path));
    // And close to what was written: within one step of the stored width.
    const double step = std::ldexp(1.0, 1 - bits);
    for (int i = 0; i < written.size(); ++i)
        QVERIFY2(std::fabs(samples[i] - written[i]) <= step, qPrintable(QString::number(i)));
}

QTEST_GUILESS_MAIN(tst_WaveInput)
#include "tst_WaveInput.moc"
