// The WAV writer: header layouts byte for byte, stored samples, padding, the
// peaks of the envelope, checked failures, timecode texts, and what
// sndfile-info, sox, ffprobe and the library's own reader read from the files
// it writes.
#include "AudioTestSupport.h"
#include "EBUInfo.h"
#include "ProductionParameters.h"
#include "WaveComment.h"
#include "WaveInput.h"
#include "WaveOutput.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <cmath>
#include <limits>
#include <cstring>

using namespace QMMultiMedia;
using AudioTest::Bytes;
using AudioTest::le16;
using AudioTest::le32;
using MTools::Handle;

namespace {

// Writes a file and answers its bytes.
struct Written
{
    QByteArray bytes;
    bool writeOk = false;
    bool closeOk = false;
};

Written writeWave(const QString& path, const Settings& settings, const QVector<float>& samples,
                  const QString& comment = QString(), Handle<EBUInfo> metadata = Handle<EBUInfo>(),
                  bool broadcastWave = false)
{
    Written w;
    WaveOutput out(QFile::encodeName(path).constData(), settings, comment, metadata, broadcastWave);
    w.writeOk = out.write(samples.constData(), samples.size());
    w.closeOk = out.close();
    w.bytes = AudioTest::fileBytes(path);
    return w;
}

QVector<float> ramp(int n, float step)
{
    QVector<float> v(n);
    for (int i = 0; i < n; ++i)
        v[i] = std::fmod(i * step, 2.0f) - 1.0f;
    return v;
}

// The first chunk of the given id after the RIFF header, -1 when none.
int chunkAt(const QByteArray& file, const char* id)
{
    int pos = 12;
    while (pos + 8 <= file.size()) {
        if (file.mid(pos, 4) == QByteArray(id, 4))
            return pos;
        const quint32 size = le32(file, pos + 4);
        pos += 8 + int(size) + int(size % 2);
    }
    return -1;
}

struct Tool
{
    QString output;
    int exitCode = -1;
};

Tool runTool(const QString& program, const QStringList& arguments)
{
    Tool t;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return t;
    t.output = QString::fromLocal8Bit(process.readAll());
    t.exitCode = process.exitCode();
    return t;
}

// The comment ffprobe reads from a file's tags; a failure is described in
// *error and answers a null text.
QString ffprobeComment(const QString& path, QString* error)
{
    const QString program = QStandardPaths::findExecutable("ffprobe");
    if (program.isEmpty()) {
        *error = "ffprobe (ffmpeg) is needed (scripts/setup.sh installs it)";
        return QString();
    }
    QProcess process;
    process.start(program, {"-v", "error", "-show_entries", "format_tags=comment", "-of", "json", path});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        *error = "ffprobe failed: " + QString::fromLocal8Bit(process.readAllStandardError());
        return QString();
    }
    const QByteArray json = process.readAllStandardOutput();
    const QJsonObject tags = QJsonDocument::fromJson(json).object()["format"].toObject()["tags"].toObject();
    const QJsonValue comment = tags["comment"];
    if (!comment.isString()) {
        *error = "no comment in ffprobe's report: " + QString::fromUtf8(json.left(2000));
        return QString();
    }
    return comment.toString();
}

// "Label : value" of a tool's report; the first match.
QString field(const QString& report, const QString& label)
{
    const QRegularExpression line("^\\s*" + QRegularExpression::escape(label) + "\\s*:\\s*(.*?)\\s*$",
                                  QRegularExpression::MultilineOption);
    return line.match(report).captured(1);
}

struct Spike
{
    int call;
    int frame;
    int channel;
    float value;
};

}  // namespace

Q_DECLARE_METATYPE(Spike)

class NearlyFullOutput : public WaveOutput
{
public:
    using WaveOutput::WaveOutput;
    void pretendWritten(qint64 bytes) { m_info.setDataSize(bytes); }
};

class tst_WaveOutput : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void plainLayout();
    void storedSamples_data();
    void storedSamples();
    void oddDataIsPadded();
    void commentChunk_data();
    void commentChunk();
    void commentReadBack_data();
    void commentReadBack();
    void broadcastWaveLayout();
    void givenMetadataGainsAHistoryLine();
    void peaksOfTheEnvelope();
    void peakOfPeaksPosition_data();
    void peakOfPeaksPosition();
    void emptyFileHasOnePairPerChannel();
    void envelopeFormatOne();
    void unsupportedFormatCode();
    void refusedSettings_data();
    void refusedSettings();
    void missingFolder();
    void failedWritesAreReported();
    void riffSizeLimit();
    void buffersWithinTheirContent();
    void closeOnceAndOnDestruction();
    void timecodes_data();
    void timecodes();
    void saveEnvelopeMatchesTheFile();
    void dump();
    void readByOtherTools_data();
    void readByOtherTools();
    void broadcastFieldsReadByOtherTools();

private:
    QTemporaryDir m_dir;
};

void tst_WaveOutput::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QCoreApplication::setApplicationName("Zintrop Lite");
    QCoreApplication::setApplicationVersion("1.0");
}

void tst_WaveOutput::plainLayout()
{
    const QString path = m_dir.filePath("plain.wav");
    QVector<float> samples(2000, 0.0f);
    samples[0] = 0.5f;
    samples[1] = -1.0f;
    const Written w = writeWave(path, Settings(44100, 2, 16, 16), samples);
    QVERIFY(w.writeOk);
    QVERIFY(w.closeOk);
    const QByteArray& f = w.bytes;
    const QByteArray header = Bytes()
                                  .tag("RIFF").le32(quint32(f.size() - 8)).tag("WAVE")
                                  .tag("fmt ").le32(16)
                                  .le16(1).le16(2).le32(44100).le32(4 * 44100).le16(4).le16(16)
                                  .tag("data").le32(4000);
    QCOMPARE(f.left(44), header);
    QCOMPARE(f.mid(44, 4), QByteArray("\x00\x40\x01\x80", 4));  // 16384, -32767
    QCOMPARE(f.mid(44 + 4000, 4), QByteArray("levl"));
    // 1000 frames: 3 full blocks and the last partial one, 2 channels, 2 x 2 bytes.
    QCOMPARE(le32(f, 44 + 4004), 120u + 4 * 2 * 4);
    QCOMPARE(f.size(), 44 + 4000 + 8 + 152);
}

void tst_WaveOutput::storedSamples_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArray>("stored");
    // Samples 0.5, -1.0, 0.0 in each width (8 bits unsigned around 128).
    QTest::newRow("8") << 8 << int(Unsigned8) << QByteArray("\xC0\x00\x80", 3);
    QTest::newRow("16") << 16 << int(LittleEndianSigned) << QByteArray("\x00\x40\x01\x80\x00\x00", 6);
    QTest::newRow("24") << 24 << int(Signed24Normal) << QByteArray("\x00\x00\x40\x01\x00\x80\x00\x00\x00", 9);
    QTest::newRow("32") << 32 << int(LittleEndianSigned)
                        << QByteArray("\x00\x00\x00\x40\x00\x00\x00\x80\x00\x00\x00\x00", 12);
}

void tst_WaveOutput::storedSamples()
{
    QFETCH(int, bits);
    QFETCH(int, format);
    QFETCH(QByteArray, stored);
    const QString path = m_dir.filePath(QString("w%1.wav").arg(bits));
    {
        WaveOutput out(QFile::encodeName(path).constData(), Settings(8000, 3, MuLaw, bits), QString(),
                       Handle<EBUInfo>(), false);
        QCOMPARE(out.settings().format(), format);
        const float samples[] = {0.5f, -1.0f, 0.0f};
        QVERIFY(out.write(samples, 3));
        QCOMPARE(out.sampleCount(), 3ull);
        QVERIFY(out.close());
    }
    const QByteArray f = AudioTest::fileBytes(path);
    QCOMPARE(le16(f, 22), quint16(3));
    QCOMPARE(le16(f, 32), quint16(3 * bits / 8));     // block align
    QCOMPARE(le32(f, 28), quint32(8000 * 3 * bits / 8));  // byte rate
    QCOMPARE(le16(f, 34), quint16(bits));
    QCOMPARE(le16(f, 20), quint16(1));                // integer PCM, 32 bits too
    QCOMPARE(le32(f, 40), quint32(stored.size()));
    QCOMPARE(f.mid(44, stored.size()), stored);
}

void tst_WaveOutput::oddDataIsPadded()
{
    const QString path = m_dir.filePath("odd.wav");
    const Written w = writeWave(path, Settings(8000, 1, 8, 8), {0.0f, 0.0f, 0.0f});
    QVERIFY(w.closeOk);
    QCOMPARE(le32(w.bytes, 40), 3u);
    QCOMPARE(w.bytes.mid(44, 4), QByteArray("\x80\x80\x80\x00", 4));
    QCOMPARE(w.bytes.mid(48, 4), QByteArray("levl"));
    QCOMPARE(le32(w.bytes, 4), quint32(w.bytes.size() - 8));
}

void tst_WaveOutput::commentChunk_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QByteArray>("list");
    QTest::newRow("odd length, no pad") << "abc"
                                        << Bytes().tag("LIST").le32(16).tag("INFO").tag("ICMT").le32(4).raw("abc")
                                               .zeros(1).bytes();
    QTest::newRow("even length, one pad") << "ab"
                                          << Bytes().tag("LIST").le32(16).tag("INFO").tag("ICMT").le32(3)
                                                 .raw("ab").zeros(2).bytes();
    QTest::newRow("UTF-8 bytes") << QString::fromUtf8("Café")
                                 << Bytes().tag("LIST").le32(18).tag("INFO").tag("ICMT").le32(6)
                                        .raw("Caf\xC3\xA9").zeros(1).bytes();
    // The euro sign would take the text one byte past what the reader reads
    // whole, its NUL included: it goes, and so does all that follows it.
    const int limit = kMaxWaveCommentBytes - 1;
    QTest::newRow("cut before a character that crosses the limit")
        << QString(limit - 2, 'a') + QString::fromUtf8("€ and more")
        << Bytes().tag("LIST").le32(12 + limit - 1).tag("INFO").tag("ICMT").le32(limit - 1)
               .raw(QByteArray(limit - 2, 'a')).zeros(1).bytes();
}

void tst_WaveOutput::commentChunk()
{
    QFETCH(QString, comment);
    QFETCH(QByteArray, list);
    const QString path = m_dir.filePath("comment.wav");
    const Written w = writeWave(path, Settings(8000, 1, 16, 16), {0.25f}, comment);
    QVERIFY(w.closeOk);
    QCOMPARE(w.bytes.mid(12, list.size()), list);
    QCOMPARE(w.bytes.mid(12 + list.size(), 4), QByteArray("fmt "));
    const int data = 12 + list.size() + 24;
    QCOMPARE(w.bytes.mid(data, 4), QByteArray("data"));
    QCOMPARE(le32(w.bytes, 4), quint32(w.bytes.size() - 8));
}

void tst_WaveOutput::commentReadBack_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("expected");
    const QString accents = QString::fromUtf8("Café crème – Grüße");
    QTest::newRow("accents and a dash") << accents << accents;
    const QString clef = QString::fromUtf8("Take \xF0\x9D\x84\x9E two");  // outside the BMP: 4 bytes
    QTest::newRow("a character of four bytes") << clef << clef;
    // The comment's bytes, its NUL not counted, stop one short of the most
    // the reader takes.
    const int limit = kMaxWaveCommentBytes - 1;
    const QString full = QString(limit - 2, 'a') + QString::fromUtf8("é");
    QTest::newRow("exactly at the limit") << full << full;
    QTest::newRow("two-byte character across the limit")
        << QString(limit - 1, 'a') + QString::fromUtf8("é") << QString(limit - 1, 'a');
    QTest::newRow("four-byte character across the limit")
        << QString(limit - 2, 'a') + clef.mid(5) << QString(limit - 2, 'a');
}

// ffprobe and the library's reader both read the comment as it was given,
// cut only where it must be and never inside a character.
void tst_WaveOutput::commentReadBack()
{
    QFETCH(QString, comment);
    QFETCH(QString, expected);
    const QString path = m_dir.filePath("comment read back.wav");
    const Written w = writeWave(path, Settings(8000, 1, 16, 16), {0.25f, -0.25f}, comment);
    QVERIFY(w.writeOk && w.closeOk);

    QString error;
    const QString probed = ffprobeComment(path, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY2(probed == expected, qPrintable(QString("ffprobe read %1 characters: %2")
                                                .arg(probed.size()).arg(probed.right(40))));

    WaveInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    const QString read = input.fileInfo()->comment();
    QVERIFY2(read == expected,
             qPrintable(QString("read %1 characters: %2").arg(read.size()).arg(read.right(40))));
}

void tst_WaveOutput::broadcastWaveLayout()
{
    const QString path = m_dir.filePath("bwf take.wav");
    WaveOutput out(QFile::encodeName(path).constData(), Settings(8000, 2, 16, 24), "note", Handle<EBUInfo>(),
                   true);
    QVERIFY(!out.ebuInfo().isNull());
    const QString history = out.ebuInfo()->codingHistory();
    QCOMPARE(history, QString("A=PCM,F=8000,W=24,M=stereo,T=\r\n"));
    QVERIFY(out.ebuInfo()->description().contains("sFILENAME=" + m_dir.path().replace(' ', '_') + "/bwf_take.wav"));
    QVERIFY(out.close());

    // bext 8 + 633 and a pad byte; LIST 8 + 18 ("note", its NUL, a pad);
    // fmt 24; the data header.
    const QByteArray f = AudioTest::fileBytes(path);
    QCOMPARE(f.mid(12, 4), QByteArray("bext"));
    QCOMPARE(le32(f, 16), 633u);
    QCOMPARE(f.mid(12 + 264, 32), QByteArray("CORVANE") + QByteArray(25, '\0'));
    QCOMPARE(f.mid(12 + 610, 31), history.toLatin1());
    QCOMPARE(f.at(20 + 633), '\0');
    QCOMPARE(f.mid(654, 4), QByteArray("LIST"));
    QCOMPARE(le32(f, 658), 18u);
    QCOMPARE(f.mid(680, 4), QByteArray("fmt "));
    QCOMPARE(f.mid(704, 4), QByteArray("data"));
    QCOMPARE(le32(f, 708), 0u);
    QCOMPARE(f.mid(712, 4), QByteArray("levl"));
    QCOMPARE(le32(f, 4), quint32(f.size() - 8));
    QCOMPARE(out.fileInfo().dataOffset(), 708);
    QCOMPARE(out.fileInfo().fileSize(), 4 + 8 + 633 + 1 + 26 + 24 + 8);
    QCOMPARE(out.fileInfo().sizeOffset(), 4);
    QCOMPARE(out.fileInfo().url(), QUrl::fromLocalFile(path));
    QCOMPARE(out.fileInfo().comment(), QString("note"));
}

void tst_WaveOutput::givenMetadataGainsAHistoryLine()
{
    Handle<EBUInfo> given(new EBUInfo(48000, 0, 25.0f));
    given->setCodingHistory("A=ANALOGUE,M=stereo,T=tape\r\n");
    const QString path = m_dir.filePath("given.wav");
    WaveOutput out(QFile::encodeName(path).constData(), Settings(48000, 1, 16, 16), QString(), given, true);
    QCOMPARE(given->codingHistory(), QString("A=ANALOGUE,M=stereo,T=tape\r\nA=PCM,F=48000,W=16,M=mono,T=\r\n"));
    QCOMPARE(out.ebuFps(), 25.0f);
    QVERIFY(given->description().contains("sSPEED=25.000-ND"));

    // Without the flag a given record is written as it is.
    Handle<EBUInfo> plain(new EBUInfo);
    const QString other = m_dir.filePath("given-plain.wav");
    WaveOutput out2(QFile::encodeName(other).constData(), Settings(48000, 1, 16, 16), QString(), plain, false);
    QVERIFY(out2.close());
    QVERIFY(plain->codingHistory().isEmpty());
    const QByteArray f = AudioTest::fileBytes(other);
    QCOMPARE(f.mid(12, 4), QByteArray("bext"));
    QCOMPARE(le32(f, 16), 602u);
    QCOMPARE(f.mid(20 + 602, 4), QByteArray("fmt "));
}

void tst_WaveOutput::peaksOfTheEnvelope()
{
    // Mono: 512 samples of 0.5 (two full blocks), then a block between -0.25
    // and 0.75, which ends partial.
    QVector<float> samples(512, 0.5f);
    samples << -0.25f << 0.75f << 0.1f;
    const QString path = m_dir.filePath("peaks.wav");
    const Written w = writeWave(path, Settings(8000, 1, 16, 16), samples);
    QVERIFY(w.closeOk);
    const int levl = chunkAt(w.bytes, "levl");
    QVERIFY(levl > 0);
    QCOMPARE(le32(w.bytes, levl + 28), 3u);  // peak frames
    QCOMPARE(le32(w.bytes, levl + 32), 513u);  // the 0.75, counted before it
    QCOMPARE(le32(w.bytes, levl + 20), 256u);
    QVector<int> values;
    for (int i = 0; i < 6; ++i)
        values << le16(w.bytes, levl + 128 + 2 * i);
    // 0.5 x 65535 = 32767.5; 0.75 -> 49151.25; 0.25 -> 16383.75.
    QCOMPARE(values, (QVector<int>{32767, 0, 32767, 0, 49151, 16383}));

    // Stereo: the position counts samples of the channel, before the sample.
    QVector<float> stereo(2 * 600, 0.1f);
    stereo[2 * 300 + 1] = -0.9f;
    stereo[2 * 400] = 0.9f;  // not larger: the first stays
    const Written s = writeWave(m_dir.filePath("peaks2.wav"), Settings(8000, 2, 16, 16), stereo);
    const int l2 = chunkAt(s.bytes, "levl");
    QCOMPARE(le32(s.bytes, l2 + 32), 400u);  // channel 0 is taken first
}

void tst_WaveOutput::peakOfPeaksPosition_data()
{
    // Samples of 0.1 with a few larger ones, written in several calls. The
    // position is that of the first sample of the largest magnitude when
    // every channel of a call is taken in turn, sample after sample.
    QTest::addColumn<int>("channels");
    QTest::addColumn<QVector<int>>("framesPerCall");
    QTest::addColumn<QVector<Spike>>("spikes");
    QTest::addColumn<int>("position");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("mono, the first of two equal") << 1 << QVector<int>{600}
                                                  << QVector<Spike>{{0, 10, 0, 0.9f}, {0, 20, 0, 0.9f}} << 10;
    QTest::newRow("stereo, larger in channel 1") << 2 << QVector<int>{600}
                                                 << QVector<Spike>{{0, 400, 0, 0.8f}, {0, 300, 1, -0.9f}} << 300;
    QTest::newRow("stereo, equal in channel 1 stays") << 2 << QVector<int>{600}
                                                      << QVector<Spike>{{0, 400, 0, 0.9f}, {0, 300, 1, -0.9f}} << 400;
    QTest::newRow("three channels, equal in a later call stays")
        << 3 << QVector<int>{100, 100} << QVector<Spike>{{0, 50, 2, 0.7f}, {1, 10, 1, -0.7f}} << 50;
    QTest::newRow("stereo, larger in a later call") << 2 << QVector<int>{300, 300}
                                                    << QVector<Spike>{{0, 5, 0, 0.5f}, {1, 7, 1, 0.6f}} << 307;
    QTest::newRow("NaN is no peak") << 2 << QVector<int>{64} << QVector<Spike>{{0, 3, 0, nan}, {0, 9, 1, 0.4f}} << 9;
    QTest::newRow("eight channels") << 8 << QVector<int>{40, 3} << QVector<Spike>{{0, 33, 7, 0.3f}, {1, 2, 0, -0.3f}}
                                    << 33;
    QTest::newRow("five channels") << 5 << QVector<int>{40} << QVector<Spike>{{0, 33, 4, 0.3f}, {0, 39, 3, 0.31f}}
                                   << 39;
}

void tst_WaveOutput::peakOfPeaksPosition()
{
    QFETCH(int, channels);
    QFETCH(QVector<int>, framesPerCall);
    QFETCH(QVector<Spike>, spikes);
    QFETCH(int, position);
    const QString path = m_dir.filePath("position.wav");
    QVector<float> all;  // every sample written, in order
    {
        WaveOutput out(QFile::encodeName(path).constData(), Settings(8000, channels, 16, 16), QString(),
                       Handle<EBUInfo>(), false);
        for (int call = 0; call < framesPerCall.size(); ++call) {
            QVector<float> samples(framesPerCall[call] * channels, 0.1f);
            for (const Spike& s : spikes)
                if (s.call == call)
                    samples[s.frame * channels + s.channel] = s.value;
            QVERIFY(out.write(samples.constData(), samples.size()));
            all += samples;
        }
        QVERIFY(out.close());
    }
    const QByteArray f = AudioTest::fileBytes(path);
    const int levl = chunkAt(f, "levl");
    QCOMPARE(int(le32(f, levl + 32)), position);

    // Each block's pair: the largest sample and the smallest, both from 0.
    const int frames = all.size() / channels;
    const int blocks = frames / 256 + 1;
    QCOMPARE(int(le32(f, levl + 28)), blocks);
    for (int b = 0; b < blocks; ++b) {
        for (int k = 0; k < channels; ++k) {
            float max = 0.0f, min = 0.0f;
            for (int i = b * 256; i < std::min(frames, (b + 1) * 256); ++i) {
                const float x = all[i * channels + k];
                max = x > max ? x : max;
                min = x < min ? x : min;
            }
            const int at = levl + 128 + 4 * (b * channels + k);
            QCOMPARE(int(le16(f, at)), int(std::fabs(max) * 65535.0));
            QCOMPARE(int(le16(f, at + 2)), int(std::fabs(min) * 65535.0));
        }
    }
}

void tst_WaveOutput::emptyFileHasOnePairPerChannel()
{
    const Written w = writeWave(m_dir.filePath("empty.wav"), Settings(48000, 3, 16, 24), {});
    QVERIFY(w.closeOk);
    QCOMPARE(le32(w.bytes, 40), 0u);
    QCOMPARE(w.bytes.mid(44, 4), QByteArray("levl"));
    QCOMPARE(le32(w.bytes, 44 + 4), 120u + 3 * 2 * 2);
    QCOMPARE(le32(w.bytes, 44 + 28), 1u);
    QCOMPARE(w.bytes.mid(44 + 128), QByteArray(12, '\0'));
    QCOMPARE(w.bytes.size(), 44 + 8 + 132);
}

void tst_WaveOutput::envelopeFormatOne()
{
    const QString path = m_dir.filePath("format1.wav");
    WaveOutput out(QFile::encodeName(path).constData(), Settings(8000, 1, 16, 8), QString(), Handle<EBUInfo>(),
                   false);
    QCOMPARE(out.envelopeFormat(), 2);
    out.setEnvelopeFormat(1);
    const float s[] = {0.5f, -1.0f};
    QVERIFY(out.write(s, 2));
    QVERIFY(out.close());
    const QByteArray f = AudioTest::fileBytes(path);
    QCOMPARE(f.mid(44 + 2, 4), QByteArray("levl"));
    QCOMPARE(le32(f, 50), 122u);
    QCOMPARE(f.mid(46 + 128, 2), QByteArray("\x7F\xFF", 2));  // 127, 255
}

void tst_WaveOutput::unsupportedFormatCode()
{
    const QString path = m_dir.filePath("unsupported.wav");
    WaveOutput out(QFile::encodeName(path).constData(), Settings(8000, 1, 16, 16), QString(), Handle<EBUInfo>(),
                   false);
    out.settings().setFormat(ALaw);
    AudioTest::CapturedStderr err;
    AudioTest::CapturedDebug debug;
    const float s[] = {0.5f};
    QVERIFY(!out.write(s, 1));
    QCOMPARE(err.text(), QString("WaveOutput::write() Error: the following settings are not supported;\n"));
    QCOMPARE(debug.lines().value(0), QString("---- Settings Info Begin -----"));
    QCOMPARE(debug.lines().value(4), QString("Format =  2  ( A-Law )"));
    QCOMPARE(out.fileInfo().dataSize(), 0);

    // Raw floats through the big-endian code, under the PCM header.
    out.settings().setFormat(BigEndianSigned);
    QVERIFY(out.write(s, 1));
    QVERIFY(out.close());
    QCOMPARE(AudioTest::fileBytes(path).mid(44, 4), QByteArray("\x00\x00\x00\x3F", 4));
}

void tst_WaveOutput::refusedSettings_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bits");
    QTest::newRow("0 channels") << 48000 << 0 << 16;
    QTest::newRow("33 channels") << 48000 << 33 << 16;
    QTest::newRow("12 bits") << 48000 << 2 << 12;
    QTest::newRow("0 bits") << 48000 << 2 << 0;
    QTest::newRow("4 bits") << 48000 << 1 << 4;
    QTest::newRow("rate 0") << 0 << 2 << 16;
    QTest::newRow("negative rate") << -44100 << 2 << 16;
}

void tst_WaveOutput::refusedSettings()
{
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(int, bits);
    const QString path = m_dir.filePath("refused.wav");
    QFile::remove(path);
    AudioTest::CapturedStderr err;
    AudioTest::CapturedDebug debug;
    WaveOutput out(QFile::encodeName(path).constData(), Settings(rate, channels, 16, bits), QString(),
                   Handle<EBUInfo>(), true);
    QVERIFY(err.text().startsWith("WaveOutput: unsupported settings for the " + path + "\n"));
    QCOMPARE(debug.lines().last(), "Can not create the ouput file:  " + path);
    QVERIFY(!QFile::exists(path));
    const float s[] = {0.5f, 0.5f};
    QVERIFY(!out.write(s, 2));
    QVERIFY(!out.writeBytes("ab", 2));
    QVERIFY(!out.close());
    QCOMPARE(out.sampleCount(), 0ull);
    QVERIFY(!out.lengthTimecode().isNull());  // answers, whatever the settings
}

void tst_WaveOutput::missingFolder()
{
    const QString path = m_dir.filePath("no/such/folder/x.wav");
    AudioTest::CapturedStderr err;
    AudioTest::CapturedDebug debug;
    WaveOutput out(QFile::encodeName(path).constData(), Settings(48000, 2, 16, 16), QString(), Handle<EBUInfo>(),
                   false);
    QCOMPARE(err.text(), "WaveOutput: create error of the " + path + "\n");
    QCOMPARE(debug.lines(), QStringList{"Can not create the ouput file:  " + path});
    const float s[] = {0.5f, 0.5f};
    QVERIFY(!out.write(s, 2));
    QVERIFY(!out.close());

    // No path at all is a path that cannot be created.
    WaveOutput none(nullptr, Settings(48000, 2, 16, 16), QString(), Handle<EBUInfo>(), false);
    QVERIFY(!none.write(s, 2));
    QVERIFY(!none.close());
    QVERIFY(!EBUInfo().save(nullptr));
    QVERIFY(!EBUInfo().load(nullptr));
    PeakVector peaks(1, 1);
    QVERIFY(!EBUEnvelope().save(nullptr, peaks, 2));
    QVERIFY(!EBUEnvelope().load(nullptr));
}

void tst_WaveOutput::failedWritesAreReported()
{
    if (!QFile::exists("/dev/full"))
        QSKIP("no /dev/full here");
    // The header fits the stream's buffer; samples fill it and hit the full disk.
    AudioTest::CapturedStderr err;
    WaveOutput out("/dev/full", Settings(48000, 2, 16, 16), QString(), Handle<EBUInfo>(), false);
    const QVector<float> samples(200000, 0.25f);
    QVERIFY(!out.write(samples.constData(), samples.size()));
    QCOMPARE(out.fileInfo().dataSize(), 400000);  // counted as a single write would
    QVERIFY(!out.close());
    const QString text = err.text();
    QVERIFY2(text.startsWith("WaveOutput: error writing\n"), qPrintable(text));
    QVERIFY2(text.endsWith("WaveOutput: error closing\n"), qPrintable(text));
}

void tst_WaveOutput::riffSizeLimit()
{
    const QString path = m_dir.filePath("limit.wav");
    NearlyFullOutput out(QFile::encodeName(path).constData(), Settings(8000, 1, 16, 16), QString(),
                         Handle<EBUInfo>(), false);
    // Room left: 0xFFFFFFFF - 36 (header) - 132 (envelope of one pair) -
    // 4294967000 (data) = 127 bytes, so 63 samples fit and a 64th does not.
    out.pretendWritten(4294967000LL);
    const QVector<float> samples(64, 0.5f);
    QVERIFY(out.write(samples.constData(), 63));
    AudioTest::CapturedStderr err;
    QVERIFY(!out.write(samples.constData(), 1));
    QVERIFY(!out.writeBytes("ab", 2));
    QCOMPARE(err.text(), QString("WaveOutput: error writing: the file would pass the size a RIFF header can state\n")
                             .repeated(2));
    QCOMPARE(out.fileInfo().dataSize(), 4294967000LL + 126);
}

void tst_WaveOutput::buffersWithinTheirContent()
{
    const QString path = m_dir.filePath("buffers.wav");
    WaveOutput out(QFile::encodeName(path).constData(), Settings(8000, 2, 16, 16), QString(), Handle<EBUInfo>(),
                   false);
    Handle<AudioFloatBuffer> floats(new AudioFloatBuffer(3, 2));
    std::fill(floats->data(), floats->data() + 6, 0.5f);
    QVERIFY(!out.writeBuffer(floats, 4));
    QVERIFY(!out.writeBuffer(floats, -1));
    QVERIFY(out.writeBuffer(floats, 2));
    QCOMPARE(out.fileInfo().dataSize(), 8);
    Handle<RawBuffer> raw(new RawBuffer(4));
    std::memcpy(raw->data(), "\x01\x02\x03\x04", 4);
    QVERIFY(!out.writeRawBuffer(raw, 5));
    QVERIFY(out.writeRawBuffer(raw, 4));
    QCOMPARE(out.sampleCount(), 6ull);
    QVERIFY(out.close());
    QCOMPARE(AudioTest::fileBytes(path).mid(44, 12), QByteArray("\x00\x40\x00\x40\x00\x40\x00\x40\x01\x02\x03\x04", 12));

    QVERIFY(out.setOutputId(7));
    QCOMPARE(out.outputId(), 7);
    AudioTest::CapturedDebug debug;
    QVERIFY(out.test());
    QCOMPARE(debug.lines(), QStringList{"Test"});
    QCOMPARE(WaveOutput("/nonexistent/x.wav", Settings(8000, 1, 16, 16), QString(), Handle<EBUInfo>(), false)
                 .outputId(),
             -1);
}

void tst_WaveOutput::closeOnceAndOnDestruction()
{
    const QString path = m_dir.filePath("destroyed.wav");
    {
        WaveOutput out(QFile::encodeName(path).constData(), Settings(8000, 1, 16, 16), QString(), Handle<EBUInfo>(),
                       false);
        const float s[] = {0.5f};
        QVERIFY(out.write(s, 1));
    }
    const QByteArray f = AudioTest::fileBytes(path);
    QCOMPARE(le32(f, 40), 2u);
    QCOMPARE(le32(f, 4), quint32(f.size() - 8));

    WaveOutput out(QFile::encodeName(path).constData(), Settings(8000, 1, 16, 16), QString(), Handle<EBUInfo>(),
                   false);
    QVERIFY(out.close());
    QVERIFY(!out.close());
    const float s[] = {0.5f};
    QVERIFY(!out.write(s, 1));

    // A second file from the same output: the first is finished, and the
    // second's envelope holds its own peaks only.
    const QString first = m_dir.filePath("first.wav");
    const QString second = m_dir.filePath("second.wav");
    WaveOutput reused(QFile::encodeName(first).constData(), Settings(8000, 1, 16, 16), QString(), Handle<EBUInfo>(),
                      false);
    const QVector<float> loud(300, 0.9f);
    QVERIFY(reused.write(loud.constData(), loud.size()));
    QVERIFY(reused.writeHeader(QFile::encodeName(second).constData()));
    const float quiet[] = {0.25f};
    QVERIFY(reused.write(quiet, 1));
    QVERIFY(reused.close());
    const QByteArray a = AudioTest::fileBytes(first);
    QCOMPARE(le32(a, 40), 600u);
    QCOMPARE(le32(a, 4), quint32(a.size() - 8));
    const QByteArray b = AudioTest::fileBytes(second);
    QCOMPARE(le32(b, 40), 2u);
    QCOMPARE(le32(b, 44 + 2 + 28), 1u);                   // one pair
    QCOMPARE(le16(b, 44 + 2 + 128), quint16(16383));     // 0.25, not 0.9
}

void tst_WaveOutput::timecodes_data()
{
    QTest::addColumn<float>("metadataFps");  // 0: no metadata; -1: a default record
    QTest::addColumn<float>("productionFps");
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("atOneMinute");
    QTest::addColumn<QString>("timeReference");
    // 2 s of stereo at 48 kHz; the time reference is one hour of samples.
    QTest::newRow("no metadata: the production's rate") << 0.0f << 30.0f << "00:00:02:00" << "00:01:00:00"
                                                        << "00:00:00:00";
    QTest::newRow("a default record (-1) falls back too") << -1.0f << 24.0f << "00:00:02:00" << "00:01:00:00"
                                                          << "01:00:00:00";
    QTest::newRow("the record's rate") << 25.0f << 30.0f << "00:00:02:00" << "00:01:00:00" << "01:00:00:00";
    // 59.94 frames truncate to 59; an hour of samples is 107891 frames.
    QTest::newRow("drop frame") << 29.97f << 30.0f << "00;00;01;29" << "00;00;59;28" << "00;59;59;29";
}

void tst_WaveOutput::timecodes()
{
    QFETCH(float, metadataFps);
    QFETCH(float, productionFps);
    QFETCH(QString, length);
    QFETCH(QString, atOneMinute);
    QFETCH(QString, timeReference);
    Handle<EBUInfo> metadata;
    if (metadataFps != 0.0f) {
        metadata = Handle<EBUInfo>(metadataFps < 0 ? new EBUInfo : new EBUInfo(0, 0, metadataFps));
        metadata->setTimeReference(48000LL * 3600);
    }
    ProductionParameters::instance().setFps(productionFps);
    const QString path = m_dir.filePath("timecode.wav");
    WaveOutput out(QFile::encodeName(path).constData(), Settings(48000, 2, 16, 16), QString(), metadata, false);
    const QVector<float> samples(2 * 96000, 0.0f);
    QVERIFY(out.write(samples.constData(), samples.size()));
    QElapsedTimer timer;
    timer.start();
    const QString gotLength = out.lengthTimecode();
    const QString gotMinute = out.timecodeAt(48000 * 60);
    const QString gotReference = out.timeReferenceTimecode();
    ProductionParameters::instance().setFps(30.0f);
    QVERIFY(timer.elapsed() < 1000);
    QCOMPARE(gotLength, length);
    QCOMPARE(gotMinute, atOneMinute);
    QCOMPARE(gotReference, timeReference);
}

void tst_WaveOutput::saveEnvelopeMatchesTheFile()
{
    const QString path = m_dir.filePath("cached.wav");
    WaveOutput out(QFile::encodeName(path).constData(), Settings(8000, 2, 16, 16), QString(), Handle<EBUInfo>(),
                   false);
    const QVector<float> samples = ramp(2 * 1000, 0.013f);
    QVERIFY(out.write(samples.constData(), samples.size()));
    QVERIFY(out.close());
    const QString envelopePath = m_dir.filePath("cached.bef");
    QVERIFY(out.saveEnvelope(QFile::encodeName(envelopePath).constData()));
    const QByteArray wave = AudioTest::fileBytes(path);
    const QByteArray envelope = AudioTest::fileBytes(envelopePath);
    const QByteArray inFile = wave.mid(chunkAt(wave, "levl"));
    QCOMPARE(envelope.size(), inFile.size());
    QCOMPARE(envelope.left(40), inFile.left(40));  // all but the time stamp
    QCOMPARE(envelope.mid(68), inFile.mid(68));
}

void tst_WaveOutput::dump()
{
    const QString path = m_dir.filePath("dump.wav");
    WaveOutput out(QFile::encodeName(path).constData(), Settings(8000, 1, 16, 16), QString(), Handle<EBUInfo>(),
                   false);
    QCOMPARE(out.name(), "WaveOutput");
    QCOMPARE(out.waveVersion(), 0);
    AudioTest::CapturedDebug debug;
    out.dumpInfo();
    const QStringList lines = debug.lines();
    QCOMPARE(lines.size(), 2 + 1 + 3 + 6 + 10);
    QCOMPARE(lines.at(0), QString("==== Wave Info Begin ===="));
    QCOMPARE(lines.at(1), QString("AudioIO"));
    QCOMPARE(lines.at(2), QString("Name =  WaveOutput"));
    QVERIFY(lines.at(3).startsWith("File Descriptor =  0x"));
    QCOMPARE(lines.at(4), QString("Wave Version =  0"));
    QCOMPARE(lines.at(5), QString("---- Settings Info Begin -----"));
    QCOMPARE(lines.at(11), QString("----- File Info Begin ------"));
    QCOMPARE(lines.at(14), QString("Data Offset =  40"));
    QCOMPARE(lines.last(), QString("==== Wave Info End ===="));
}

void tst_WaveOutput::readByOtherTools_data()
{
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("frames");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<bool>("broadcastWave");
    QTest::newRow("16-bit stereo") << 2 << 16 << 44100 << 1000 << QString() << false;
    QTest::newRow("24-bit stereo broadcast wave with a comment") << 2 << 24 << 48000 << 4801 << "Take one" << true;
    QTest::newRow("8-bit mono, odd data") << 1 << 8 << 8000 << 333 << "ab" << false;
    QTest::newRow("32-bit, 6 channels") << 6 << 32 << 96000 << 700 << QString() << true;
}

void tst_WaveOutput::readByOtherTools()
{
    QFETCH(int, channels);
    QFETCH(int, bits);
    QFETCH(int, rate);
    QFETCH(int, frames);
    QFETCH(QString, comment);
    QFETCH(bool, broadcastWave);
    if (QStandardPaths::findExecutable("sndfile-info").isEmpty() || QStandardPaths::findExecutable("sox").isEmpty())
        QSKIP("sndfile-info or sox is missing (scripts/setup.sh installs them)");
    const QString path = m_dir.filePath(QString("tools-%1-%2.wav").arg(channels).arg(bits));
    const Written w = writeWave(path, Settings(rate, channels, 16, bits), ramp(channels * frames, 0.001f), comment,
                                Handle<EBUInfo>(), broadcastWave);
    QVERIFY(w.writeOk && w.closeOk);

    const Tool info = runTool("sndfile-info", {path});
    QCOMPARE(info.exitCode, 0);
    // libsndfile remarks on every odd data size, although RIFF allows it when
    // a pad byte follows (it does, and the frame count below is exact). That
    // remark is the only one accepted.
    QString report = info.output;
    report.remove("*** 'data' chunk should be an even number of bytes in length.\n");
    for (const char* bad : {"Warning", "warning", "***", "Error", "error", "should"})
        QVERIFY2(!report.contains(bad), qPrintable(info.output));
    QCOMPARE(report != info.output, (frames * channels * bits / 8) % 2 == 1);
    QCOMPARE(field(info.output, "Sample Rate"), QString::number(rate));
    QCOMPARE(field(info.output, "Channels"), QString::number(channels));
    QCOMPARE(field(info.output, "Bit Width"), QString::number(bits));
    QCOMPARE(field(info.output, "Frames"), QString::number(frames));
    QCOMPARE(field(info.output, "Length"), QString::number(w.bytes.size()));
    QCOMPARE(field(info.output, "RIFF"), QString::number(w.bytes.size() - 8));

    const Tool sox = runTool("sox", {"--i", path});
    QCOMPARE(sox.exitCode, 0);
    QVERIFY2(!sox.output.contains("WARN") && !sox.output.contains("FAIL"), qPrintable(sox.output));
    QCOMPARE(field(sox.output, "Channels"), QString::number(channels));
    QCOMPARE(field(sox.output, "Sample Rate"), QString::number(rate));
    QCOMPARE(field(sox.output, "Precision"), QString("%1-bit").arg(bits));
    QVERIFY2(field(sox.output, "Duration").contains(QString("= %1 samples").arg(frames)), qPrintable(sox.output));
    // sox looks for the comment after the samples only; libsndfile walks the
    // chunks in front of them.
    if (!comment.isEmpty())
        QCOMPARE(field(info.output, "ICMT"), comment);
}

void tst_WaveOutput::broadcastFieldsReadByOtherTools()
{
    if (QStandardPaths::findExecutable("sndfile-info").isEmpty())
        QSKIP("sndfile-info is missing (scripts/setup.sh installs it)");
    Handle<EBUInfo> metadata(new EBUInfo(0, 0, 25.0f));
    metadata->setTimeReference(48000LL * 3600 * 10);
    const QString path = m_dir.filePath("broadcast fields.wav");
    const Written w = writeWave(path, Settings(48000, 2, 16, 24), ramp(2 * 480, 0.01f), "Take one", metadata, true);
    QVERIFY(w.closeOk);

    const Tool info = runTool("sndfile-info", {"--broadcast", path});
    QCOMPARE(info.exitCode, 0);
    const QString description = metadata->description().left(256).section(QChar(0), 0, 0);
    QVERIFY2(info.output.contains(description.left(30)), qPrintable(info.output));
    QCOMPARE(field(info.output, "Originator"), QString("CORVANE"));
    QCOMPARE(field(info.output, "Origination ref"), QString("Zintrop Lite:"));
    QCOMPARE(field(info.output, "Origination date"), metadata->originationDate());
    QCOMPARE(field(info.output, "Origination time"), metadata->originationTime());
    QVERIFY2(field(info.output, "Time ref").endsWith("(36000.000000 seconds)"), qPrintable(info.output));
    QCOMPARE(field(info.output, "BWF version"), QString("1"));
    QVERIFY2(info.output.contains("A=PCM,F=48000,W=24,M=stereo,T="), qPrintable(info.output));

    if (!QStandardPaths::findExecutable("sndfile-metadata-get").isEmpty()) {
        const Tool meta = runTool("sndfile-metadata-get", {"--str-comment", "--bext-originator", path});
        QVERIFY2(meta.output.contains("Take one"), qPrintable(meta.output));
        QVERIFY2(meta.output.contains("CORVANE"), qPrintable(meta.output));
    }
}

QTEST_GUILESS_MAIN(tst_WaveOutput)
#include "tst_WaveOutput.moc"
