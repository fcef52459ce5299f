// The common reader: the open checks, reads bounded by the sample data, the
// conversion of every bits/code pair, channel and frame reads, answers
// without a file, waveform peaks at every zoom (from the file's own "levl",
// from a cache, or from a scan that writes the cache), cache names and
// checks (a cache answers only for the file it was made from), timecode
// texts and the registry of live inputs.
#include "AudioTestSupport.h"
#include "EBUEnvelope.h"
#include "PeakVector.h"
#include "ProductionParameters.h"
#include "WaveInput.h"
#include "WaveOutput.h"

#include <QtTest>

#include <cmath>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace QMMultiMedia;
using AudioTest::Bytes;

namespace {

// A reader of headerless sample files: the Settings and where the samples
// lie are given; open() counts its calls.
class ProbeInput : public FileInput
{
public:
    Settings wanted{8000, 1, LittleEndianSigned, 16};
    qint64 dataStart = 40;
    qint64 dataBytes = -1;  // to the end of the file
    QByteArray endings;
    int opens = 0;

    bool open(const char* path) override
    {
        ++opens;
        m_pFile = std::fopen(path, "rb");
        if (!m_pFile)
            return false;
        setSettings(wanted);
        const qint64 bytes = dataBytes >= 0 ? dataBytes : QFileInfo(QFile::decodeName(path)).size() - dataStart;
        m_info.setDataOffset(dataStart - 4);
        m_info.setDataSize(bytes);
        m_info.setNumberOfSamples(wanted.bitsPerSample() >= 8 ? bytes / (wanted.bitsPerSample() / 8) : 0);
        rewind();
        return true;
    }
    const char* extensions() const override { return endings.constData(); }
};

QByteArray le16s(const QVector<int>& samples)
{
    Bytes b;
    for (int s : samples)
        b.le16(quint32(s) & 0xFFFF);
    return b;
}

// 1024 mono 16-bit frames: silence except, in block k (256 frames each),
// (k + 1) * 1000 at frame 10 and -(k + 1) * 500 at frame 20; frame 5 is 77.
QVector<int> fourBlocks()
{
    QVector<int> v(1024, 0);
    for (int k = 0; k < 4; ++k) {
        v[256 * k + 10] = (k + 1) * 1000;
        v[256 * k + 20] = -(k + 1) * 500;
    }
    v[5] = 77;
    return v;
}

float s16(int v)
{
    return float(v) / 32768.0f;
}

// An envelope file (or levl chunk) with the given header fields and values.
QByteArray levlChunk(int format, int channels, int frames, int blockSize, const QByteArray& values,
                     quint32 statedFrames = 0)
{
    Bytes body;
    body.le32(0).le32(quint32(format)).le32(2).le32(quint32(blockSize)).le32(quint32(channels))
        .le32(statedFrames ? statedFrames : quint32(frames)).le32(0).le32(128).zeros(28).zeros(60).raw(values);
    return Bytes().chunk("levl", body);
}

// The cache a first scan of the file leaves: the body and the record of its
// source.
struct ScannedCache
{
    QString body;
    QString record;
};

ScannedCache scanOnce(const QString& path)
{
    ProbeInput input;
    if (!input.openChecked(QFile::encodeName(path).constData()))
        return {};
    input.buildPeaks();
    return {input.envelopeFileName(), input.envelopeCache().recordPath()};
}

// One block of 256 mono frames whose peak is (v, -v): v at frame 10, -v at
// frame 20.
QVector<int> oneBlock(int v)
{
    QVector<int> samples(256, 0);
    samples[10] = v;
    samples[20] = -v;
    return samples;
}

// A magnitude as an 8-bit cache gives it back.
float cached(int v)
{
    return std::trunc(std::fabs(s16(v)) * 255.0f) / 255.0f;
}

struct Files
{
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    // The probe's 40-byte header, then the samples, at the relative path
    // (its folders made); answers the path.
    QString probeFile(const QString& relative, const QVector<int>& samples) const
    {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).path());
        AudioTest::writeFile(file, QByteArray(40, 'h') + le16s(samples));
        return file;
    }
    QString fourBlocksFile() const { return probeFile("four.raw", fourBlocks()); }
};

// What another user may have put in the caches' folder before.
enum class Planted {
    Nothing,
    LinkAtBody,    // a link at the cache's name, to a file of the user's
    LinkAtRecord,  // the same at its record's name
    FifoAtBody,    // a pipe at the cache's name
    ForgedRecord,  // a body of another file, with the record of this one
};

constexpr uid_t kNobody = 65534;

bool giveToNobody(const QString& path)
{
    return lchown(QFile::encodeName(path).constData(), kNobody, kNobody) == 0;
}

// A folder at path of the mode given, whatever the umask; nobody's when
// asked.
bool makeFolder(const QString& path, mode_t mode, bool nobodys)
{
    const QByteArray name = QFile::encodeName(path);
    return mkdir(name.constData(), mode) == 0 && chmod(name.constData(), mode) == 0
        && (!nobodys || giveToNobody(path));
}

// The other user's work at the names the cache of audio takes in folder;
// the links point at target.
bool plant(Planted planted, const QString& folder, const QString& audio, const QString& target)
{
    const EnvelopeCache cache(folder, audio);
    switch (planted) {
    case Planted::Nothing:
        return true;
    case Planted::LinkAtBody:
    case Planted::LinkAtRecord: {
        const QString at = planted == Planted::LinkAtBody ? cache.bodyPath() : cache.recordPath();
        return symlink(QFile::encodeName(target).constData(), QFile::encodeName(at).constData()) == 0
            && giveToNobody(at);
    }
    case Planted::FifoAtBody:
        return mkfifo(QFile::encodeName(cache.bodyPath()).constData(), 0666) == 0 && giveToNobody(cache.bodyPath());
    case Planted::ForgedRecord: {
        // The peaks of a silent file of the same shape, and the record that
        // stat of the audio gives.
        FILE* stream = std::fopen(QFile::encodeName(audio).constData(), "rb");
        const QByteArray record = cache.sourceRecord(stream);
        if (stream)
            std::fclose(stream);
        return !record.isEmpty() && AudioTest::writeFile(cache.bodyPath(), levlChunk(1, 1, 1, 256, QByteArray(2, 0)))
            && AudioTest::writeFile(cache.recordPath(), record) && giveToNobody(cache.bodyPath())
            && giveToNobody(cache.recordPath());
    }
    }
    return false;
}

// true when path lies in a folder that only this user can reach.
bool inPrivateFolder(const QString& path)
{
    struct stat folder;
    return lstat(QFile::encodeName(QFileInfo(path).path()).constData(), &folder) == 0 && S_ISDIR(folder.st_mode)
        && folder.st_uid == geteuid() && (folder.st_mode & 0777) == 0700;
}

}  // namespace

Q_DECLARE_METATYPE(Planted)

class tst_FileInput : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void openChecks_data();
    void openChecks();
    void readsStopAtTheDataEnd();
    void conversion_data();
    void conversion();
    void unsupportedBits();
    void channelAndFrameReads();
    void answersWithoutAFile();
    void peaksAtEveryZoom_data();
    void peaksAtEveryZoom();
    void zoomedPeaksComeFromTheCache();
    void scanFindsThePeakOfPeaks();
    void scanAgreesWithRead_data();
    void scanAgreesWithRead();
    void scanWritesAReusableCache_data();
    void scanWritesAReusableCache();
    void distinctPathsHaveTheirOwnCaches_data();
    void distinctPathsHaveTheirOwnCaches();
    void replacedSourcesAreRescanned_data();
    void replacedSourcesAreRescanned();
    void unfitCachesAreRescanned_data();
    void unfitCachesAreRescanned();
    void ownEnvelopeWhereverItStands();
    void unfitOwnEnvelopesAreRescanned_data();
    void unfitOwnEnvelopesAreRescanned();
    void loadEnvelopeRefusesOtherFiles();
    void emptyFilesHavePeaksToo();
    void cacheNames_data();
    void cacheNames();
    void cacheIgnoresWhatOthersPlant_data();
    void cacheIgnoresWhatOthersPlant();
    void audioTempNamesAreTheirOwn_data();
    void audioTempNamesAreTheirOwn();
    void withoutAPrivateFolderThereIsNoCache();
    void timecodeTexts();
    void timecodeWithoutADecoder();
    void reopeningForgetsTheOldFile();
    void registry();

private:
    QTemporaryDir m_base;
};

void tst_FileInput::init()
{
    FileInput::setBaseFolder(m_base.path());
    ProductionParameters::instance().setFps(30.0f);
}

void tst_FileInput::openChecks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("endings");
    QTest::addColumn<bool>("opens");

    QTest::newRow("39 bytes") << "a.raw" << 39 << QByteArray() << false;
    QTest::newRow("40 bytes") << "a.raw" << 40 << QByteArray() << true;
    QTest::newRow("take.WAV against wav wave bwf") << "take.WAV" << 100 << QByteArray("wav wave bwf") << false;
    QTest::newRow("take.wav against wav wave bwf") << "take.wav" << 100 << QByteArray("wav wave bwf") << true;
    QTest::newRow("endings are lowered first") << "take.wav" << 100 << QByteArray("WAV") << true;
    QTest::newRow("take.mp3 against wav") << "take.mp3" << 100 << QByteArray("wav") << false;
}

void tst_FileInput::openChecks()
{
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(QByteArray, endings);
    QFETCH(bool, opens);
    Files files;
    AudioTest::writeFile(files.path(name), QByteArray(size, '\0'));
    ProbeInput input;
    input.endings = endings;
    QCOMPARE(input.openChecked(QFile::encodeName(files.path(name)).constData()), opens);
    QCOMPARE(input.opens, opens ? 1 : 0);
    QCOMPARE(input.file() != nullptr, opens);

    // With the check skipped only the size counts.
    ProbeInput skipping;
    skipping.endings = "none";
    QCOMPARE(skipping.openChecked(QFile::encodeName(files.path(name)).constData(), true), size >= 40);

    ProbeInput missing;
    QVERIFY(!missing.openChecked(QFile::encodeName(files.path("missing.raw")).constData()));
    QVERIFY(!missing.openChecked(QFile::encodeName(files.dir.path()).constData()));
    QVERIFY(!missing.openChecked(nullptr));
    QCOMPARE(missing.opens, 0);
}

void tst_FileInput::readsStopAtTheDataEnd()
{
    // 40 header bytes, 200 sample bytes, 50 bytes of something else.
    Files files;
    const QString path = files.path("d.raw");
    AudioTest::writeFile(path, QByteArray(40, 'h') + QByteArray(200, 's') + QByteArray(50, 't'));
    ProbeInput input;
    input.dataBytes = 200;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    char buffer[100];
    QCOMPARE(input.seekBytes(190), 0);
    QCOMPARE(input.readBytes(buffer, 100), 10);
    QCOMPARE(QByteArray(buffer, 10), QByteArray(10, 's'));
    QCOMPARE(input.readBytes(buffer, 100), 0);
    QCOMPARE(input.tellBytes(), 200);
    QCOMPARE(input.filePosition(), 240);
    QCOMPARE(input.rewind(), 0);
    QCOMPARE(input.readBytes(buffer, 0), 0);
    QCOMPARE(input.readBytes(buffer, -5), 0);
    QCOMPARE(input.readBytes(buffer, 100), 100);
}

void tst_FileInput::conversion_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QVector<float>>("expected");

    const float t31 = std::ldexp(1.0f, -31);
    QTest::newRow("16, code 16: little-endian") << 16 << 16 << QByteArray::fromHex("1234") << QVector<float>{0x3412 / 32768.0f};
    QTest::newRow("16, code 32: big-endian") << 16 << 32 << QByteArray::fromHex("1234") << QVector<float>{0x1234 / 32768.0f};
    QTest::newRow("16, code 1: big-endian signed") << 16 << 1 << QByteArray::fromHex("FFFE") << QVector<float>{-2 / 32768.0f};
    QTest::newRow("16, code 128: little-endian unsigned")
        << 16 << 128 << QByteArray::fromHex("0080FFFF") << QVector<float>{0.0f, 32767 / 32768.0f};
    QTest::newRow("16, code 256: big-endian unsigned") << 16 << 256 << QByteArray::fromHex("80010000")
                                                       << QVector<float>{1 / 32768.0f, -1.0f};
    QTest::newRow("8, code 8: unsigned") << 8 << 8 << QByteArray::fromHex("0080FF") << QVector<float>{-1.0f, 0.0f, 127 / 128.0f};
    QTest::newRow("8, code 64: signed") << 8 << 64 << QByteArray::fromHex("807F") << QVector<float>{-1.0f, 127 / 128.0f};
    QTest::newRow("24, code 2048: little-endian") << 24 << 2048 << QByteArray::fromHex("000080010000")
                                                  << QVector<float>{-1.0f, std::ldexp(1.0f, -23)};
    QTest::newRow("24, code 4096: big-endian") << 24 << 4096 << QByteArray::fromHex("800000000001")
                                               << QVector<float>{-1.0f, std::ldexp(1.0f, -23)};
    QTest::newRow("32, code 16: little-endian") << 32 << 16 << QByteArray::fromHex("0000008001000000")
                                                << QVector<float>{-1.0f, t31};
    QTest::newRow("32, code 32: big-endian") << 32 << 32 << QByteArray::fromHex("00000001") << QVector<float>{t31};
    QTest::newRow("32, code 128: unsigned") << 32 << 128 << QByteArray::fromHex("00000080") << QVector<float>{0.0f};
}

void tst_FileInput::conversion()
{
    QFETCH(int, bits);
    QFETCH(int, code);
    QFETCH(QByteArray, bytes);
    QFETCH(QVector<float>, expected);
    Files files;
    const QString path = files.path("c.raw");
    AudioTest::writeFile(path, QByteArray(40, 'h') + bytes + QByteArray(1, '\x55'));
    ProbeInput input;
    input.wanted = Settings(8000, 1, code, bits);
    input.dataBytes = bytes.size();
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    // Every place is written: past the data with 0.
    QVector<float> got(expected.size() + 2, 9.0f);
    QCOMPARE(input.read(got.data(), got.size()), expected.size());
    QCOMPARE(got, expected + QVector<float>(2, 0.0f));
}

void tst_FileInput::unsupportedBits()
{
    Files files;
    const QString path = files.path("u.raw");
    AudioTest::writeFile(path, QByteArray(60, '\x11'));
    ProbeInput input;
    input.wanted = Settings(8000, 1, LittleEndianSigned, 12);
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    float x[4];
    AudioTest::CapturedStderr err;
    QCOMPARE(input.read(x, 4), 0);
    QCOMPARE(err.text(), QString("FileInput::read() Error: 12bits data format is not supported\n"));
}

void tst_FileInput::channelAndFrameReads()
{
    // Three channels, frames (c0, c1, c2) = (f, 100 + f, 200 + f).
    Files files;
    const QString path = files.path("three.raw");
    QVector<int> samples;
    for (int f = 0; f < 10; ++f)
        samples << f << 100 + f << 200 + f;
    AudioTest::writeFile(path, QByteArray(40, 'h') + le16s(samples));
    ProbeInput input;
    input.wanted = Settings(8000, 3, LittleEndianSigned, 16);
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));

    float column[12] = {};
    QCOMPARE(input.readChannel(column, 12, 1), 10);
    QCOMPARE(column[0], s16(100));
    QCOMPARE(column[9], s16(109));
    QCOMPARE(input.readChannel(column, 1, 3), -1);
    QCOMPARE(input.readChannel(column, 1, -1), -1);

    float frames[15];
    QCOMPARE(input.seekAndRead(8, frames, 5, 3), 2);
    QCOMPARE(frames[0], s16(8));
    QCOMPARE(frames[5], s16(209));
    QCOMPARE(input.seekFrame(4), 0);
    QCOMPARE(input.readFrames(frames, 1, 3), 1);
    QCOMPARE(frames[2], s16(204));
    QCOMPARE(input.readFrames(frames, 1, 0), 0);
    QCOMPARE(input.readFrames(frames, 1, -3), 0);

    MTools::Handle<AudioFloatBuffer> buffer(new AudioFloatBuffer(2, 3));
    QCOMPARE(input.readBufferAt(buffer, 1), 2);
    QCOMPARE(buffer->data()[3], s16(2));
    MTools::Handle<RawBuffer> raw(new RawBuffer(4));
    QCOMPARE(input.seekBytes(2), 0);
    QCOMPARE(input.readRaw(raw), 4);
    QCOMPARE(QByteArray(raw->data(), 4), le16s({100, 200}));
    QCOMPARE(input.readBuffer(MTools::Handle<AudioFloatBuffer>(new AudioFloatBuffer(2, 0))), 0);
    QCOMPARE(input.readBuffer(MTools::Handle<AudioFloatBuffer>()), 0);

    // A reader told it has no channels answers 0 instead of dividing by 0.
    input.settings().setChannels(0);
    QCOMPARE(input.readChannel(column, 2, 0), 0);
}

void tst_FileInput::answersWithoutAFile()
{
    ProbeInput input;
    float x = 3.0f;
    char bytes[4];
    QCOMPARE(input.read(&x, 1), 0);
    QCOMPARE(input.readBytes(bytes, 4), 0);
    QCOMPARE(input.seekBytes(0), -1);
    QCOMPARE(input.seekFrame(2), -1);
    QCOMPARE(input.tellBytes(), -1);
    QCOMPARE(input.flush(), -1);
    QCOMPARE(input.rewind(), -1);
    QCOMPARE(input.filePosition(), -1);
    QCOMPARE(input.readChunkHeader(bytes, false), -1);
    QCOMPARE(input.readTag(bytes), -1);
    QCOMPARE(input.close(), 0);
    QCOMPARE(*input.peak({0, 0, 512.0f}), Peak(0.0f, 0.0f));
    QCOMPARE(input.name(), "FileInput");
    QCOMPARE(input.extensions(), "");
}

void tst_FileInput::peaksAtEveryZoom_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("channel");
    QTest::addColumn<float>("scale");
    QTest::addColumn<Peak>("expected");

    // Stored peaks are (max, min) of a block; zoomed ones (min, max).
    QTest::newRow("scale 512: stored peak 2i") << 1 << 0 << 512.0f << Peak(s16(3000), s16(-1500));
    QTest::newRow("scale 256: stored peak i") << 1 << 0 << 256.0f << Peak(s16(2000), s16(-1000));
    QTest::newRow("scale 1000: stored peak trunc(i * 3.9)") << 1 << 0 << 1000.0f << Peak(s16(4000), s16(-2000));
    QTest::newRow("scale 512 past the end") << 2 << 0 << 512.0f << Peak(0.0f, 0.0f);
    QTest::newRow("scale 100: frames 200 to 299") << 2 << 0 << 100.0f << Peak(s16(-1000), s16(2000));
    QTest::newRow("scale 100: frames 0 to 99") << 0 << 0 << 100.0f << Peak(s16(-500), s16(1000));
    QTest::newRow("scale 10: frames 0 to 9, with 77") << 0 << 0 << 10.0f << Peak(0.0f, s16(77));
    QTest::newRow("scale 1: frame 266") << 266 << 0 << 1.0f << Peak(s16(2000), 0.0f);
    QTest::newRow("scale 0.5: frame 5") << 10 << 0 << 0.5f << Peak(s16(77), 0.0f);
    QTest::newRow("scale 1 past the end") << 5000 << 0 << 1.0f << Peak(0.0f, 0.0f);
    QTest::newRow("negative index, scale 512") << -1 << 0 << 512.0f << Peak(0.0f, 0.0f);
    QTest::newRow("negative index, scale 100") << -1 << 0 << 100.0f << Peak(0.0f, 0.0f);
    QTest::newRow("negative index, scale 1") << -3 << 0 << 1.0f << Peak(0.0f, 0.0f);
    QTest::newRow("channel 1 of a mono file") << 0 << 1 << 100.0f << Peak(0.0f, 0.0f);
    QTest::newRow("channel -1") << 0 << -1 << 256.0f << Peak(0.0f, 0.0f);
    QTest::newRow("scale NaN") << 1 << 0 << std::nanf("") << Peak(0.0f, 0.0f);
}

void tst_FileInput::peaksAtEveryZoom()
{
    QFETCH(int, index);
    QFETCH(int, channel);
    QFETCH(float, scale);
    QFETCH(Peak, expected);
    Files files;
    const QString path = files.fourBlocksFile();
    ProbeInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    QCOMPARE(*input.peak({index, channel, scale}), expected);
}

void tst_FileInput::zoomedPeaksComeFromTheCache()
{
    Files files;
    const QString path = files.fourBlocksFile();
    ProbeInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    const Peak first = *input.peak({2, 0, 100.0f});
    QCOMPARE(first, Peak(s16(-1000), s16(2000)));
    // The second answer reads nothing: it comes even without the file.
    input.close();
    QCOMPARE(*input.peak({2, 0, 100.0f}), first);
    QCOMPARE(*input.peak({3, 0, 100.0f}), Peak(0.0f, 0.0f));
}

void tst_FileInput::scanFindsThePeakOfPeaks()
{
    // Stereo: channel 1 reaches the same magnitude as channel 0 earlier in
    // its own frames, so the tie goes to channel 0; block 2's -9000 in
    // channel 1 is the largest of all.
    Files files;
    QVector<int> samples(2 * 600, 0);
    samples[2 * 300 + 0] = 5000;   // channel 0, frame 300
    samples[2 * 100 + 1] = -5000;  // channel 1, frame 100
    const QString tie = files.path("tie.raw");
    AudioTest::writeFile(tie, QByteArray(40, 'h') + le16s(samples));
    samples[2 * 520 + 1] = -9000;  // channel 1, frame 520
    const QString larger = files.path("larger.raw");
    AudioTest::writeFile(larger, QByteArray(40, 'h') + le16s(samples));

    for (const auto& [path, position] : {std::make_pair(tie, 300), std::make_pair(larger, 520)}) {
        ProbeInput input;
        input.wanted = Settings(8000, 2, LittleEndianSigned, 16);
        QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
        input.buildPeaks();
        QCOMPARE(input.envelope()->posPeakOfPeaks(), position);
        QCOMPARE(input.envelope()->blockSize(), 256);
        const MTools::Handle<PeakVector> peaks = input.peakVector();
        QCOMPARE(peaks->numberOfChannels(), 2);
        QCOMPARE(peaks->numberOfPeaks(), 3);  // 600 frames: 256 + 256 + 88
        QCOMPARE(peaks->peak(1, 0), Peak(s16(5000), 0.0f));
        QCOMPARE(peaks->peak(0, 1), Peak(0.0f, s16(-5000)));
        // The stream is back at the first sample.
        QCOMPARE(input.tellBytes(), 0);
    }
}

void tst_FileInput::scanAgreesWithRead_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("code");
    for (const auto& [bits, code] : {std::make_pair(8, 8), std::make_pair(8, 64), std::make_pair(16, 16),
                                     std::make_pair(16, 32), std::make_pair(16, 128), std::make_pair(16, 256),
                                     std::make_pair(24, 2048), std::make_pair(24, 4096), std::make_pair(32, 16),
                                     std::make_pair(32, 32), std::make_pair(32, 128)})
        QTest::addRow("%d bits, code %d", bits, code) << bits << code;
}

void tst_FileInput::scanAgreesWithRead()
{
    // The scan decodes samples its own way; its peaks must be those of the
    // floats read() gives, for every stored form. Three channels of 700
    // frames of noise: two whole blocks and a short one.
    QFETCH(int, bits);
    QFETCH(int, code);
    const int channels = 3, frames = 700;
    QByteArray noise(frames * channels * bits / 8, 0);
    quint32 state = 2463534242u;
    for (char& byte : noise) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = char(state >> 24);
    }
    Files files;
    const QString path = files.path("noise.raw");
    AudioTest::writeFile(path, QByteArray(40, 'h') + noise);
    ProbeInput input;
    input.wanted = Settings(8000, channels, code, bits);
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    QVector<float> all(frames * channels);
    QCOMPARE(input.read(all.data(), all.size()), all.size());

    input.buildPeaks();
    const MTools::Handle<PeakVector> peaks = input.peakVector();
    QCOMPARE(peaks->numberOfPeaks(), 3);
    float largest = 0.0f;
    int largestAt = -1;
    for (int k = 0; k < channels; ++k) {
        for (int block = 0; block < 3; ++block) {
            float max = 0.0f, min = 0.0f;
            for (int f = 256 * block; f < std::min(frames, 256 * (block + 1)); ++f) {
                const float x = all[f * channels + k];
                max = std::max(max, x);
                min = std::min(min, x);
                if (std::fabs(x) > largest) {
                    largest = std::fabs(x);
                    largestAt = f;
                }
            }
            QCOMPARE(peaks->peak(block, k), Peak(max, min));
        }
    }
    QCOMPARE(input.envelope()->posPeakOfPeaks(), largestAt);
}

void tst_FileInput::scanWritesAReusableCache_data()
{
    QTest::addColumn<QString>("relative");
    // Paths far longer than a file name may be (255 bytes) still get a
    // cache; two-byte letters make the encoded name longer than its text.
    QTest::newRow("short path") << "four.raw";
    QTest::newRow("path longer than a file name") << QString(200, 'd') + "/" + QString(200, 'e') + "/four.raw";
    QTest::newRow("long path of two-byte letters")
        << QString(120, QChar(0xE9)) + "/" + QString(120, QChar(0xE8)) + "/four.raw";
}

void tst_FileInput::scanWritesAReusableCache()
{
    QFETCH(QString, relative);
    Files files;
    const QString path = files.probeFile(relative, fourBlocks());
    const auto [cache, record] = scanOnce(path);
    QVERIFY(!cache.isEmpty());
    QVERIFY2(QFile::encodeName(QFileInfo(record).fileName()).size() <= 255, qPrintable(record));
    QVERIFY(QFileInfo(record).isFile());
    // One channel of 4 blocks in format 1: 8 + 120 + 4 * 2 bytes, the
    // magnitudes in 255ths, truncated: 1000/32768 gives 7, 500/32768 3 ...
    const QByteArray bytes = AudioTest::fileBytes(cache);
    QCOMPARE(bytes.size(), 136);
    QCOMPARE(bytes.left(4), QByteArray("levl"));
    QCOMPARE(AudioTest::le32(bytes, 12), 1u);  // format
    QCOMPARE(AudioTest::le32(bytes, 20), 256u);  // block size
    QCOMPARE(bytes.mid(128).toHex(), QByteArray("07030f07170b1f0f"));

    // A second input of the file takes the cache: its 8-bit values, not the
    // exact samples.
    ProbeInput again;
    QVERIFY(again.openChecked(QFile::encodeName(path).constData()));
    QCOMPARE(*again.peak({3, 0, 256.0f}), Peak(31 / 255.0f, -15 / 255.0f));
}

void tst_FileInput::distinctPathsHaveTheirOwnCaches_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    // Paths whose readable parts of the cache name are alike.
    QTest::newRow("'.' against '_'") << "x/a.b/c.raw" << "x/a_b/c.raw";
    QTest::newRow("':' against '/'") << "x/a:b.raw" << "x/a/b.raw";
    const QString tail = QString(150, 'm') + "/" + QString(150, 'n') + "/take.raw";
    QTest::newRow("long paths alike at their end") << "p/" + tail << "q/" + tail;
}

void tst_FileInput::distinctPathsHaveTheirOwnCaches()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    Files files;
    const QStringList paths{files.probeFile(first, oneBlock(29491)), files.probeFile(second, oneBlock(3277))};
    const QVector<int> peaks{29491, 3277};
    // Peaks of about 0.9 and 0.1. Each file is scanned in turn (exact peaks)
    // and leaves its cache; then each is shown from its own cache (8-bit
    // peaks).
    for (bool fromCache : {false, true}) {
        for (int i = 0; i < 2; ++i) {
            ProbeInput input;
            QVERIFY(input.openChecked(QFile::encodeName(paths[i]).constData()));
            const Peak expected = fromCache ? Peak(cached(peaks[i]), -cached(peaks[i]))
                                            : Peak(s16(peaks[i]), s16(-peaks[i]));
            QCOMPARE(*input.peak({0, 0, 256.0f}), expected);
        }
    }
}

void tst_FileInput::replacedSourcesAreRescanned_data()
{
    QTest::addColumn<bool>("byRename");
    QTest::addColumn<int>("secondsOlder");
    QTest::newRow("rewritten, dated an hour earlier") << false << 3600;
    QTest::newRow("replaced by another file of the same times") << true << 0;
}

void tst_FileInput::replacedSourcesAreRescanned()
{
    QFETCH(bool, byRename);
    QFETCH(int, secondsOlder);
    Files files;
    const QString path = files.probeFile("take.raw", oneBlock(29491));
    {
        ProbeInput input;
        QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
        input.buildPeaks();
        QVERIFY(QFile::exists(input.envelopeFileName()));
    }
    // A file of the same size and shape takes its place, with times that
    // do not make it look newer than the cache.
    struct stat original;
    QCOMPARE(stat(QFile::encodeName(path).constData(), &original), 0);
    const QString replacement = files.probeFile(byRename ? "new.raw" : "take.raw", oneBlock(3277));
    timespec times[2] = {original.st_atim, original.st_mtim};
    times[1].tv_sec -= secondsOlder;
    QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(replacement).constData(), times, 0), 0);
    if (byRename)
        QCOMPARE(std::rename(QFile::encodeName(replacement).constData(), QFile::encodeName(path).constData()), 0);

    ProbeInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    QCOMPARE(*input.peak({0, 0, 256.0f}), Peak(s16(3277), s16(-3277)));
}

void tst_FileInput::unfitCachesAreRescanned_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("blocks");
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("recorded");
    QTest::addColumn<bool>("olderThanTheAudio");
    QTest::addColumn<bool>("used");

    QTest::newRow("fits, 8-bit") << 1 << 4 << 1 << true << false << true;
    QTest::newRow("fits, 16-bit") << 1 << 4 << 2 << true << false << true;
    QTest::newRow("fits, but no record of its source") << 1 << 4 << 1 << false << false << false;
    QTest::newRow("older than the audio") << 1 << 4 << 1 << true << true << false;
    QTest::newRow("two channels") << 2 << 4 << 1 << true << false << false;
    QTest::newRow("three blocks") << 1 << 3 << 1 << true << false << false;
    QTest::newRow("five blocks") << 1 << 5 << 1 << true << false << false;
    QTest::newRow("unknown format") << 1 << 4 << 7 << true << false << false;
}

void tst_FileInput::unfitCachesAreRescanned()
{
    QFETCH(int, channels);
    QFETCH(int, blocks);
    QFETCH(int, format);
    QFETCH(bool, recorded);
    QFETCH(bool, olderThanTheAudio);
    QFETCH(bool, used);
    Files files;
    const QString path = files.fourBlocksFile();
    // The scan leaves a true record of the source beside the body.
    const auto [cache, record] = scanOnce(path);
    QVERIFY(!cache.isEmpty());

    // A body whose every peak is (0.5, -0.25): a scan gives other values.
    const int width = format == 2 ? 2 : 1;
    const QByteArray pair = width == 2 ? QByteArray::fromHex("FF7FFF3F") : QByteArray::fromHex("7F3F");
    QByteArray values;
    for (int i = 0; i < channels * blocks; ++i)
        values += pair;
    QVERIFY(AudioTest::writeFile(cache, levlChunk(format, channels, blocks, 256, values)));
    if (!recorded)
        QFile::remove(record);
    if (olderThanTheAudio) {
        QFile audio(path);
        QVERIFY(audio.open(QIODevice::ReadWrite));
        QVERIFY(audio.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    }
    ProbeInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    const Peak answer = *input.peak({0, 0, 256.0f});
    if (used)
        QCOMPARE(answer, Peak(width == 2 ? 32767 / 65535.0f : 127 / 255.0f, width == 2 ? -16383 / 65535.0f : -63 / 255.0f));
    else
        QCOMPARE(answer, Peak(s16(1000), s16(-500)));
}

void tst_FileInput::ownEnvelopeWhereverItStands()
{
    // The levl chunk does not follow the data directly: a JUNK chunk stands
    // between. Its peaks (200, 100) and (50, 25) are not those of the
    // silent samples, so they show that the file's own envelope was read.
    Files files;
    const QString path = files.path("own.wav");
    AudioTest::writeFile(path, AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, 16))
                                                   .chunk("data", QByteArray(2 * 300, 0))
                                                   .chunk("JUNK", QByteArray(7, 'j'))
                                                   + levlChunk(1, 1, 2, 256, QByteArray::fromHex("C8643219"))));
    WaveInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    QCOMPARE(*input.peak({0, 0, 256.0f}), Peak(200 / 255.0f, -100 / 255.0f));
    QCOMPARE(*input.peak({1, 0, 256.0f}), Peak(50 / 255.0f, -25 / 255.0f));
    QVERIFY(!QFile::exists(input.envelopeFileName()));
}

void tst_FileInput::unfitOwnEnvelopesAreRescanned_data()
{
    QTest::addColumn<QByteArray>("levl");
    const QByteArray pairs = QByteArray::fromHex("C8643219");
    QTest::newRow("33 channels") << levlChunk(1, 33, 2, 256, pairs);
    QTest::newRow("two channels for a mono file") << levlChunk(1, 2, 1, 256, pairs);
    QTest::newRow("blocks of 512") << levlChunk(1, 1, 2, 512, pairs);
    QTest::newRow("format 3") << levlChunk(3, 1, 2, 256, pairs);
    QTest::newRow("2^30 frames promised") << levlChunk(1, 1, 2, 256, pairs, 1u << 30);
    QTest::newRow("negative frames") << levlChunk(1, 1, 2, 256, pairs, 0x80000000u);
}

void tst_FileInput::unfitOwnEnvelopesAreRescanned()
{
    QFETCH(QByteArray, levl);
    Files files;
    const QString path = files.path("own.wav");
    AudioTest::writeFile(path, AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, 16))
                                                   .chunk("data", le16s({0, 0, 1234, 0})) + levl));
    WaveInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    // In a child process first, with little room to grow (the scan writes a
    // cache); then here, once that cache is gone.
    QVERIFY(AudioTest::staysWithin(64 << 20, [&] {
        input.buildPeaks();
        return QFile::exists(input.envelopeFileName());
    }));
    QFile::remove(input.envelopeFileName());
    QCOMPARE(*input.peak({0, 0, 256.0f}), Peak(s16(1234), 0.0f));
}

void tst_FileInput::loadEnvelopeRefusesOtherFiles()
{
    Files files;
    const QString path = files.fourBlocksFile();
    ProbeInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    input.buildPeaks();
    const QString other = files.path("other.bef");
    AudioTest::writeFile(other, Bytes().chunk("bext", QByteArray(130, 0)));
    {
        AudioTest::CapturedDebug debug;
        QVERIFY(!input.loadEnvelope(QFile::encodeName(other).constData()));
        QVERIFY(debug.lines().contains("It is not a valid EBUEnvelope file"));
    }
    QCOMPARE(input.peakVector()->peak(3, 0), Peak(s16(4000), s16(-2000)));
    AudioTest::CapturedStderr err;
    QVERIFY(!input.loadEnvelope(QFile::encodeName(files.path("missing.bef")).constData()));
    QCOMPARE(err.text(), QString("EBUEnvelope:load: file open error\n"));
}

void tst_FileInput::emptyFilesHavePeaksToo()
{
    // No samples: the peaks are built once (each channel empty), not again
    // at every request, and saving them does not build them over and over.
    Files files;
    const QString path = files.path("empty.wav");
    AudioTest::writeFile(path, AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 2, 8000, 16))
                                                   .chunk("data", {})));
    WaveInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    QCOMPARE(*input.peak({0, 1, 512.0f}), Peak(0.0f, 0.0f));
    QCOMPARE(input.peakVector()->numberOfChannels(), 2);
    QCOMPARE(input.peakVector()->numberOfPeaks(), 0);
    QVERIFY(input.saveEnvelope(QFile::encodeName(files.path("e.bef")).constData(), 2));
    QCOMPARE(AudioTest::fileBytes(files.path("e.bef")).size(), 128);
}

void tst_FileInput::cacheNames_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("readable");
    QTest::newRow("dots and slashes") << "a.b/c.wav" << "_a_b_c_wav";
    QTest::newRow("blank kept") << "data/take 1.wav" << "_data_take 1_wav";
    QTest::newRow("'#' is part of the name") << "d/take#1.wav" << "_d_take#1_wav";
    QTest::newRow("'?' is part of the name") << "d/take?2.wav" << "_d_take?2_wav";
    QTest::newRow("percent is not decoded twice") << "d/100%41.wav" << "_d_100%41_wav";
}

void tst_FileInput::cacheNames()
{
    QFETCH(QString, relative);
    QFETCH(QString, readable);
    Files files;
    const QString path = files.path(relative);
    QDir().mkpath(QFileInfo(path).path());
    AudioTest::writeFile(path, QByteArray(64, 0));
    ProbeInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    const QString name = input.envelopeFileName();
    const QString folder = m_base.path() + "/Envelopes/";
    // The readable path, then a hash of the whole path.
    const QRegularExpression ending(QRegularExpression::escape(readable) + "\\.[0-9a-f]{16}\\.bef$");
    QVERIFY2(name.startsWith(folder + "_") && ending.match(name).hasMatch(), qPrintable(name));
    QVERIFY2(!name.mid(folder.size()).contains('/'), qPrintable(name));
    // Temporary names keep the dots.
    const QString temp = input.audioTempFileName();
    const QString tempFolder = m_base.path() + "/AudioTemp/";
    QVERIFY2(temp.startsWith(tempFolder + "_") && !temp.mid(tempFolder.size()).contains('/'), qPrintable(temp));
    const QRegularExpression tempEnding(QRegularExpression::escape(QString(relative).replace('/', '_'))
                                       + "\\.[0-9a-f]{16}$");
    QVERIFY2(tempEnding.match(temp).hasMatch(), qPrintable(temp));
    QVERIFY(QFileInfo(tempFolder).isDir());
}

void tst_FileInput::cacheIgnoresWhatOthersPlant_data()
{
    QTest::addColumn<bool>("nobodysFolder");  // else the user's own
    QTest::addColumn<int>("mode");
    QTest::addColumn<Planted>("planted");

    QTest::newRow("nobody's folder 0755") << true << 0755 << Planted::Nothing;
    const std::pair<const char*, Planted> plantings[] = {
        {"link at the cache", Planted::LinkAtBody},
        {"link at the record", Planted::LinkAtRecord},
        {"pipe at the cache", Planted::FifoAtBody},
        {"forged record", Planted::ForgedRecord},
    };
    for (const auto& [name, planted] : plantings) {
        QTest::addRow("nobody's folder 0777, %s", name) << true << 0777 << planted;
        QTest::addRow("own folder 0777, %s", name) << false << 0777 << planted;
    }
}

// Another user made the caches' folder first, or could write in the user's
// own, and left something at the names a cache will take: the scan neither
// hangs, nor writes through a link, nor trusts what it finds; the peaks come
// from the file, and a cache of the user's own serves the next open.
void tst_FileInput::cacheIgnoresWhatOthersPlant()
{
    QFETCH(bool, nobodysFolder);
    QFETCH(int, mode);
    QFETCH(Planted, planted);
    if (geteuid() != 0)
        QSKIP("the other user's work is made as root and given to nobody");
    Files files;
    const QString audio = files.probeFile("loud.raw", oneBlock(29491));
    const QString target = files.path("precious.txt");
    QVERIFY(AudioTest::writeFile(target, "precious"));
    QTemporaryDir base;
    FileInput::setBaseFolder(base.path());
    const QString shared = base.path() + "/Envelopes";
    QVERIFY(makeFolder(shared, mode_t(mode), nobodysFolder));
    QVERIFY(plant(planted, shared, audio, target));

    bool timedOut = false;
    const bool scanned = AudioTest::finishesWithin(10000, [&] {
        ProbeInput input;
        return input.openChecked(QFile::encodeName(audio).constData())
            && *input.peak({0, 0, 256.0f}) == Peak(s16(29491), s16(-29491));
    }, &timedOut);
    QVERIFY(!timedOut);
    QVERIFY(scanned);
    QCOMPARE(AudioTest::fileBytes(target), QByteArray("precious"));

    ProbeInput again;
    QVERIFY(again.openChecked(QFile::encodeName(audio).constData()));
    const QString body = again.envelopeFileName();
    QVERIFY2(inPrivateFolder(body), qPrintable(body));
    QVERIFY(inPrivateFolder(again.envelopeCache().recordPath()));
    QCOMPARE(*again.peak({0, 0, 256.0f}), Peak(cached(29491), -cached(29491)));
}

void tst_FileInput::audioTempNamesAreTheirOwn_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("nobodysFolder");  // nobody made AudioTemp first, 0777
    QTest::newRow("'_' against '/'") << "x/a_b.wav" << "x/a/b.wav" << false;
    QTest::newRow("':' against '/'") << "x/a:b.wav" << "x/a/b.wav" << false;
    QTest::newRow("nobody's folder 0777") << "x/a.wav" << "x/b.wav" << true;
}

void tst_FileInput::audioTempNamesAreTheirOwn()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, nobodysFolder);
    QTemporaryDir base;
    FileInput::setBaseFolder(base.path());
    if (nobodysFolder) {
        if (geteuid() != 0)
            QSKIP("the other user's folder is made as root and given to nobody");
        QVERIFY(makeFolder(base.path() + "/AudioTemp", 0777, true));
    }
    Files files;
    QStringList names, folders;
    for (const QString& relative : {first, second}) {
        ProbeInput input;
        QVERIFY(input.openChecked(QFile::encodeName(files.probeFile(relative, oneBlock(1))).constData()));
        names << input.audioTempFileName();
        folders << input.audioTempFolder();
    }
    QVERIFY2(names[0] != names[1], qPrintable(names[0]));
    for (int i = 0; i < 2; ++i) {
        QVERIFY2(inPrivateFolder(names[i]), qPrintable(names[i]));
        QCOMPARE(folders[i], QFileInfo(names[i]).path() + "/");
    }
}

void tst_FileInput::withoutAPrivateFolderThereIsNoCache()
{
    // Both names a folder may take are files: the peaks come from a scan,
    // nothing is named in the base folder, and a warning says why.
    QTemporaryDir base;
    FileInput::setBaseFolder(base.path());
    const QString user = "-" + QString::number(geteuid());
    for (const QString& name : {"Envelopes", "AudioTemp"})
        for (const QString& taken : {name, name + user})
            QVERIFY(AudioTest::writeFile(base.filePath(taken), "x"));
    Files files;
    ProbeInput input;
    QVERIFY(input.openChecked(QFile::encodeName(files.probeFile("loud.raw", oneBlock(29491))).constData()));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^FileInput: no Envelopes: .*Envelopes" + user
                                                          + " is not a folder$"));
    QCOMPARE(*input.peak({0, 0, 256.0f}), Peak(s16(29491), s16(-29491)));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^FileInput: no Envelopes: "));
    QCOMPARE(input.envelopeFileName(), QString());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^FileInput: no AudioTemp: "));
    QCOMPARE(input.audioTempFileName(), QString());
    QCOMPARE(QDir(base.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 4);
}

void tst_FileInput::timecodeTexts()
{
    // A broadcast-wave file whose record gives no frame rate (-1): its texts
    // count at the production's 30 fps, and come back at once.
    Files files;
    const QString path = files.path("bwf.wav");
    {
        WaveOutput out(QFile::encodeName(path).constData(), Settings(48000, 2, LittleEndianSigned, 16), QString(),
                       MTools::Handle<EBUInfo>(), true);
        QVector<float> second(2 * 48000, 0.0f);
        QVERIFY(out.write(second.constData(), second.size()));
        QVERIFY(out.close());
    }
    WaveInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    QCOMPARE(input.fps(), -1.0f);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(input.durationTimecode(), QString("00:00:01:00"));
    QCOMPARE(input.startTimecode(), QString("00:00:00:00"));
    QCOMPARE(input.endTimecode(), QString("00:00:01:00"));
    QCOMPARE(input.timecodeAtSample(24000), QString("00:00:00:15"));
    QCOMPARE(input.timecodeOfSamples(96000 + 1600), QString("00:00:02:01"));
    QCOMPARE(input.durationIn(48000.0f), 1.0f);
    {
        AudioTest::CapturedDebug debug;
        input.dumpInfo();
        QVERIFY(debug.lines().join('\n').contains("DURATION= \"00:00:01:00\""));
    }
    // A time reference of one hour moves start and end.
    input.ebuInfo()->setTimeReference(qint64(48000) * 3600);
    QCOMPARE(input.startTimecode(), QString("01:00:00:00"));
    QCOMPARE(input.endTimecode(), QString("01:00:01:00"));
    ProductionParameters::instance().setFps(25.0f);
    QCOMPARE(input.timecodeAtSample(-qint64(48000) * 3600 + 24000), QString("00:00:00:12"));
    QVERIFY(timer.elapsed() < 2000);
    QCOMPARE(input.scene(), QString());
    QCOMPARE(input.take(), QString());
}

void tst_FileInput::timecodeWithoutADecoder()
{
    Files files;
    const QString path = files.path("t.raw");
    AudioTest::writeFile(path, QByteArray(100, 0));
    ProbeInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    QCOMPARE(input.frameOfTimecodeText("1:2:3"), -1);
    QCOMPARE(input.frameOfTimecodeText("1:2:3:4"), -1);
    const LTCData d = input.ltcAt(10);
    QVERIFY(!d.isValid());
    QCOMPARE(d.audioFrame(), -1);
    QCOMPARE(input.ltcText(10, false), QString());
    // Asking for the channel makes the decoder: a file this short carries no
    // timecode it could find.
    QCOMPARE(input.ltcChannel(), -1);
    QCOMPARE(input.ltcStatus(-1), -1);
    QCOMPARE(input.ltcStatus(0), 0);
    QVERIFY(!input.hasLtc());
    QCOMPARE(input.ltcFps(), 0.0f);
    QCOMPARE(input.frameOfTimecode(0, 0, 0, 0), -1);
}

void tst_FileInput::reopeningForgetsTheOldFile()
{
    Files files;
    const QString bwf = files.path("a.wav");
    {
        WaveOutput out(QFile::encodeName(bwf).constData(), Settings(8000, 1, LittleEndianSigned, 16), "old",
                       MTools::Handle<EBUInfo>(), true);
        QVector<float> samples(300, 0.5f);
        QVERIFY(out.write(samples.constData(), samples.size()));
        QVERIFY(out.close());
    }
    const QString plain = files.path("b.wav");
    AudioTest::writeFile(plain, AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 1, 8000, 16))
                                                    .chunk("data", le16s({-1000, 0, 0, 0}))));
    WaveInput input;
    QVERIFY(input.openChecked(QFile::encodeName(bwf).constData()));
    QCOMPARE(input.peak({0, 0, 256.0f})->first, 32767 / 65535.0f);
    QVERIFY(input.openChecked(QFile::encodeName(plain).constData()));
    QVERIFY(input.ebuInfo().isNull());
    QVERIFY(input.envelope().isNull());
    QCOMPARE(input.fileInfo()->comment(), QString());
    QCOMPARE(*input.peak({0, 0, 256.0f}), Peak(0.0f, s16(-1000)));
}

void tst_FileInput::registry()
{
    const int before = FileInput::instances().size();
    FileInput* kept;
    {
        ProbeInput a;
        WaveInput b;
        kept = &b;
        QCOMPARE(FileInput::instances().size(), before + 2);
        QCOMPARE(FileInput::instances().last(), kept);
    }
    QCOMPARE(FileInput::instances().size(), before);
    QVERIFY(!FileInput::instances().contains(kept));
    QCOMPARE(FileInput::baseFolder(), m_base.path());
}

QTEST_GUILESS_MAIN(tst_FileInput)
#include "tst_FileInput.moc"
