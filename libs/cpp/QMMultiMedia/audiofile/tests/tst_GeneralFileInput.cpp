// The general input: which reader takes which file, the answers without a
// reader, a failed reopen keeping the old reader, forwarding to the reader,
// and a table of hostile headers refused quickly and without a large
// allocation.
#include "AudioTestSupport.h"
#include "GeneralFileInput.h"
#include "WaveOutput.h"

#include <QtTest>

#include <vector>

using namespace QMMultiMedia;
using AudioTest::Bytes;

namespace {

QByteArray plainWave(const QByteArray& samples = QByteArray::fromHex("0100020003000400"))
{
    return AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, 16)).chunk("data", samples));
}

QByteArray plainAiff(int bits = 16, const QByteArray& rate = AudioTest::rate44100())
{
    return AudioTest::aiff(Bytes().beChunk("COMM", AudioTest::commBody(1, 4, bits, rate))
                               .beChunk("SSND", Bytes().be32(0).be32(0).raw(QByteArray::fromHex("000100020003000400050006"))));
}

QByteArray broadcastWave()
{
    return AudioTest::riff(Bytes().chunk("bext", QByteArray(602, 0)).raw(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, 16))
                                                                             .chunk("data", QByteArray(8, 0))));
}

}  // namespace

class tst_GeneralFileInput : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void fileTypes_data();
    void fileTypes();
    void extensionsChooseTheReader();
    void answersWithoutAReader();
    void failedReopenKeepsTheReader();
    void aiffSettingsAreCopied();
    void forwardsToTheReader();
    void hostileHeaders_data();
    void hostileHeaders();
    void theChildsLimitBites();

private:
    QTemporaryDir m_dir;
};

void tst_GeneralFileInput::init()
{
    FileInput::setBaseFolder(m_dir.path());
}

void tst_GeneralFileInput::fileTypes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("typeName");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("reader");
    QTest::newRow("bext chunk") << broadcastWave() << "BWF" << 0 << "WaveInput";
    QTest::newRow("plain WAV") << plainWave() << "WAVE" << 1 << "WaveInput";
    QTest::newRow("AIFF") << plainAiff() << "AIFF" << 2 << "AiffInput";
}

void tst_GeneralFileInput::fileTypes()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, typeName);
    QFETCH(int, type);
    QFETCH(QString, reader);
    // Content decides, WAV first, when the extension check is skipped.
    const QString path = m_dir.filePath("file.bin");
    AudioTest::writeFile(path, content);
    GeneralFileInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData(), true));
    QCOMPARE(input.fileTypeName(), typeName);
    QCOMPARE(input.fileType(), type);
    QCOMPARE(QString(input.name()), reader);
    QCOMPARE(input.fileInfo()->dataSize() > 0, true);
}

void tst_GeneralFileInput::extensionsChooseTheReader()
{
    // Each reader checks its own endings: WAV content named .aif is refused
    // by both, unless the check is skipped.
    const QString wavAsAif = m_dir.filePath("take.aif");
    AudioTest::writeFile(wavAsAif, plainWave());
    GeneralFileInput input;
    QVERIFY(!input.openChecked(QFile::encodeName(wavAsAif).constData()));
    QVERIFY(input.openChecked(QFile::encodeName(wavAsAif).constData(), true));
    QCOMPARE(input.fileType(), int(GeneralFileInput::Wave));
    const QString aif = m_dir.filePath("take.aiff");
    AudioTest::writeFile(aif, plainAiff());
    QVERIFY(input.openChecked(QFile::encodeName(aif).constData()));
    QCOMPARE(input.fileType(), int(GeneralFileInput::Aiff));
    QCOMPARE(QString(input.extensions()), QString());
}

void tst_GeneralFileInput::answersWithoutAReader()
{
    const QString text = m_dir.filePath("x.wav");
    AudioTest::writeFile(text, QByteArray("This is not audio at all, only some words in a file.\n"));
    GeneralFileInput input;
    QCOMPARE(input.fileTypeName(), QString("UNKNOWN"));
    QCOMPARE(input.fileType(), 3);
    QVERIFY(!input.openChecked(QFile::encodeName(text).constData()));
    QCOMPARE(input.fileType(), 3);
    QCOMPARE(input.name(), nullptr);
    float x[4];
    char bytes[8];
    QCOMPARE(input.read(x, 4), 0);
    QCOMPARE(input.readBytes(bytes, 8), 0);
    QCOMPARE(input.readFrames(x, 2, 2), 0);
    QCOMPARE(input.readChannel(x, 2, 0), 0);
    QCOMPARE(input.readBuffer(MTools::Handle<AudioFloatBuffer>(new AudioFloatBuffer(2, 2))), 0);
    // The seeks answer 0 without a reader, which is a reader's success code.
    QCOMPARE(input.seekBytes(4), 0);
    QCOMPARE(input.seekFrame(4), 0);
    QCOMPARE(input.rewind(), 0);
    QCOMPARE(input.tellBytes(), 0);
    QCOMPARE(input.filePosition(), 0);
    QCOMPARE(input.flush(), 0);
    QCOMPARE(input.close(), 0);
    QCOMPARE(input.readChunkHeader(bytes, false), -1);
    QCOMPARE(input.ltcChannel(), -1);
    QCOMPARE(input.ltcStatus(0), -1);
    QCOMPARE(input.frameOfTimecodeText("01:00:00:00"), -1);
    QCOMPARE(input.ltcAt(5).audioFrame(), -1);
    QVERIFY(!input.hasLtc());
    QCOMPARE(input.ltcFps(), 0.0f);
    QCOMPARE(*input.peak({0, 0, 512.0f}), Peak(0.0f, 0.0f));
    QVERIFY(input.ebuInfo().isNull());
    QVERIFY(input.envelope().isNull());
    QVERIFY(input.peakVector().isNull());
    QCOMPARE(input.file(), nullptr);
    QCOMPARE(input.fileInfo()->numberOfSamples(), 0);
    QVERIFY(!input.saveEnvelope(QFile::encodeName(m_dir.filePath("e.bef")).constData(), 1));
    QCOMPARE(input.sampleFormat(), 0);
    QCOMPARE(input.channels(), 0);
    QCOMPARE(input.sampleRate(), 0);
    QCOMPARE(input.bitsPerSample(), 0);
    QCOMPARE(input.durationTimecode(), QString("00:00:00:00"));
    AudioTest::CapturedDebug debug;
    input.dumpInfo();
    QVERIFY(debug.lines().isEmpty());
}

void tst_GeneralFileInput::failedReopenKeepsTheReader()
{
    const QString wave = m_dir.filePath("a.wav");
    AudioTest::writeFile(wave, plainWave());
    const QString text = m_dir.filePath("b.wav");
    AudioTest::writeFile(text, QByteArray(100, 'x'));
    GeneralFileInput input;
    QVERIFY(input.openChecked(QFile::encodeName(wave).constData()));
    float x = 0.0f;
    QCOMPARE(input.read(&x, 1), 1);
    QCOMPARE(x, 1 / 32768.0f);
    QVERIFY(!input.openChecked(QFile::encodeName(text).constData()));
    QCOMPARE(QString(input.name()), QString("WaveInput"));
    QCOMPARE(input.read(&x, 1), 1);
    QCOMPARE(x, 2 / 32768.0f);
}

void tst_GeneralFileInput::aiffSettingsAreCopied()
{
    const QString path = m_dir.filePath("a.aif");
    AudioTest::writeFile(path, plainAiff(24, AudioTest::rate48000()));
    GeneralFileInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    QCOMPARE(input.settings().sampleRate(), 48000);
    QCOMPARE(input.settings().bitsPerSample(), 24);
    QCOMPARE(input.settings().format(), 4096);
    QCOMPARE(input.sampleFormat(), 4096);
    QCOMPARE(input.bitsPerSample(), 24);
}

void tst_GeneralFileInput::forwardsToTheReader()
{
    const QString path = m_dir.filePath("f.wav");
    {
        WaveOutput out(QFile::encodeName(path).constData(), Settings(48000, 2, LittleEndianSigned, 16), QString(),
                       MTools::Handle<EBUInfo>(), true);
        std::vector<float> samples(2 * 4800, 0.0f);
        samples[2 * 300 + 1] = -0.5f;
        QVERIFY(out.write(samples.data(), int(samples.size())));
        QVERIFY(out.close());
    }
    GeneralFileInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    QCOMPARE(input.fileType(), int(GeneralFileInput::Bwf));
    QCOMPARE(input.durationTimecode(), QString("00:00:00:03"));
    // Peaks, envelope and buffers are the reader's.
    QCOMPARE(input.peak({1, 1, 256.0f})->second, -32767 / 65535.0f);
    QCOMPARE(input.peakVector()->numberOfChannels(), 2);
    MTools::Handle<AudioFloatBuffer> buffer(new AudioFloatBuffer(1, 2));
    QCOMPARE(input.readBufferAt(buffer, 300), 1);
    QCOMPARE(buffer->data()[1], -0.5f);
    QCOMPARE(input.readChannel(buffer->data(), 1, 1), 1);
    QCOMPARE(input.tellBytes(), 302 * 4);
    QVERIFY(input.saveInfo(QFile::encodeName(m_dir.filePath("copy.bext")).constData()));
    QCOMPARE(input.close(), 0);
    QCOMPARE(input.file(), nullptr);

    // A record loaded into a reader that had none is seen through the general
    // input at once.
    const QString plain = m_dir.filePath("p.wav");
    AudioTest::writeFile(plain, plainWave());
    QVERIFY(input.openChecked(QFile::encodeName(plain).constData()));
    QCOMPARE(input.fps(), 0.0f);
    QVERIFY(!input.saveInfo(QFile::encodeName(m_dir.filePath("none.bext")).constData()));
    EBUInfo record;
    record.setDescription("loaded later");
    const QString saved = m_dir.filePath("r.bext");
    QVERIFY(record.save(QFile::encodeName(saved).constData()));
    QVERIFY(input.loadInfo(QFile::encodeName(saved).constData()));
    QCOMPARE(input.fps(), -1.0f);
    QVERIFY(input.ebuInfo()->description().startsWith("loaded later"));
    QCOMPARE(input.fileType(), int(GeneralFileInput::Bwf));
}

void tst_GeneralFileInput::hostileHeaders_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("opens");
    const QByteArray fmt = Bytes().chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, 16));
    const QByteArray data = Bytes().chunk("data", QByteArray(16, 0));

    QTest::newRow("WAV, 0 bits") << AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, 0)).raw(data))
                                 << false;
    QTest::newRow("WAV, 65535 bits") << AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, 0xFFFF)).raw(data))
                                     << false;
    QTest::newRow("WAV, 0 channels") << AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 0, 8000, 16)).raw(data))
                                     << false;
    QTest::newRow("WAV, 65535 channels")
        << AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 0xFFFF, 8000, 16)).raw(data)) << false;
    // A 32-bit walk would step back onto its own header for ever.
    QTest::newRow("WAV, chunk of 0xFFFFFFF8 in 40 bytes")
        << Bytes().tag("RIFF").le32(32).tag("WAVE").tag("JUNK").le32(0xFFFFFFF8).zeros(20).bytes() << false;
    QTest::newRow("WAV, chunk of 0x80000000 before data")
        << AudioTest::riff(fmt + Bytes().tag("JUNK").le32(0x80000000).zeros(4).raw(data)) << false;
    QTest::newRow("WAV, data past the end") << AudioTest::riff(fmt + Bytes().tag("data").le32(0xFFFFFFF0).zeros(6))
                                            << true;
    QTest::newRow("WAV, RIFF of 0xFFFFFFFF") << Bytes().tag("RIFF").le32(0xFFFFFFFF).tag("WAVE").raw(fmt).raw(data).bytes()
                                              << true;
    QTest::newRow("WAV, bext of 0xFFFFFFFF")
        << AudioTest::riff(fmt + data + Bytes().tag("bext").le32(0xFFFFFFFF).zeros(700)) << true;
    QTest::newRow("WAV, ICMT of 0xFFFFFFFF")
        << AudioTest::riff(Bytes().tag("LIST").le32(0xFFFFFFFF).tag("INFO").tag("ICMT").le32(0xFFFFFFFF).raw("abc")
                               .bytes())
        << false;
    QTest::newRow("WAV, LIST of 0xFFFFFFFF after the data")
        << AudioTest::riff(fmt + data + Bytes().tag("LIST").le32(0xFFFFFFFF).tag("INFO").tag("ICMT").le32(0xFFFFFFFF)
                                            .raw("abc"))
        << true;
    QTest::newRow("WAV, levl promising 2^31 peaks")
        << AudioTest::riff(fmt + data + Bytes().tag("levl").le32(0xFFFFFFFF).le32(0).le32(2).le32(2).le32(256).le32(1)
                                            .le32(0x7FFFFFFF).le32(0).le32(128).zeros(88))
        << true;
    QTest::newRow("AIFF, rate +infinity") << plainAiff(16, QByteArray::fromHex("7FFF8000000000000000")) << false;
    QTest::newRow("AIFF, rate NaN") << plainAiff(16, QByteArray::fromHex("7FFFC000000000000000")) << false;
    QTest::newRow("AIFF, 0 bits") << plainAiff(0) << false;
    QTest::newRow("AIFF, SSND offset 0xFFFFFFF0")
        << AudioTest::aiff(Bytes().beChunk("COMM", AudioTest::commBody(1, 4, 16, AudioTest::rate44100()))
                               .beChunk("SSND", Bytes().be32(0xFFFFFFF0).be32(0).zeros(8)))
        << true;
    QTest::newRow("AIFF, COMT of 0xFFFFFFFF")
        << AudioTest::aiff(Bytes().beChunk("COMM", AudioTest::commBody(1, 4, 16, AudioTest::rate44100()))
                               .tag("COMT").be32(0xFFFFFFFF).be16(1).be32(0).be16(0).be16(0xFFFF).raw("Hi"))
        << false;
    QTest::newRow("AIFF, FORM walking backwards")
        << Bytes().tag("FORM").be32(0xFFFFFFFF).tag("AIFF").tag("JUNK").be32(0xFFFFFFF8).zeros(20).bytes() << false;
}

void tst_GeneralFileInput::hostileHeaders()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, opens);
    const QString path = m_dir.filePath("hostile.bin");
    AudioTest::writeFile(path, content);
    QElapsedTimer timer;
    timer.start();
    // Open, read, peaks and timecode in a child that may not grow by more
    // than 64 MiB.
    QVERIFY(AudioTest::staysWithin(64 << 20, [&] {
        GeneralFileInput input;
        if (input.openChecked(QFile::encodeName(path).constData(), true) != opens)
            return false;
        std::vector<float> samples(4096);
        input.read(samples.data(), int(samples.size()));
        input.peak({0, 0, 512.0f});
        input.peak({0, 0, 10.0f});
        input.durationTimecode();
        input.ltcChannel();
        return true;
    }));
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
}

void tst_GeneralFileInput::theChildsLimitBites()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("no address-space limit under AddressSanitizer");
#else
    // What the table above relies on: a gigabyte is more than the child of
    // hostileHeaders may take.
    QVERIFY(!AudioTest::staysWithin(64 << 20, [] {
        std::vector<char> big(size_t(1) << 30, 1);
        return big.back() == 1;
    }));
#endif
}

QTEST_GUILESS_MAIN(tst_GeneralFileInput)
#include "tst_GeneralFileInput.moc"
