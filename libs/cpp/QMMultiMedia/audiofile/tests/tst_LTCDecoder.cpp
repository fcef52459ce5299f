// Linear timecode: a frame from its 80 bits, the calibration and channel
// search on generated biphase-mark signals, decoding to bits, lookups over
// a listed set of frames, and the "LTCC" state file (layout, hostile counts,
// failed saves). The decoder is checked against libltc, an encoder written
// independently of ours.
#include "AudioTestSupport.h"
#include "GeneralFileInput.h"
#include "LTCData.h"
#include "LTCDecoder.h"
#include "ProductionParameters.h"
#include "WaveInput.h"
#include "WaveOutput.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <stddef.h>  // before ltc.h, outside the namespace below

// libltc names its own decoder type LTCDecoder: kept apart from ours.
namespace libltc {
#include <ltc.h>
}

using namespace QMMultiMedia;
using AudioTest::Bytes;

namespace {

const QString kSync("0011111111111101");

// 80 characters with "1" at the given positions.
QString bitsWithOnes(std::initializer_list<int> ones)
{
    QString bits(80, '0');
    for (int i : ones)
        bits[i] = '1';
    return bits;
}

// The LTC word of a time, user bits 0, in transmission order.
QString ltcWord(int hour, int min, int sec, int frame)
{
    QString bits(80, '0');
    auto put = [&](int first, int count, int value) {
        for (int i = 0; i < count; ++i)
            bits[first + i] = (value >> i) & 1 ? '1' : '0';
    };
    put(0, 4, frame % 10);
    put(8, 2, frame / 10);
    put(16, 4, sec % 10);
    put(24, 3, sec / 10);
    put(32, 4, min % 10);
    put(40, 3, min / 10);
    put(48, 4, hour % 10);
    put(56, 2, hour / 10);
    bits.replace(64, 16, kSync);
    return bits;
}

// Biphase mark at samplesPerBit: a level change at every bit boundary and
// one more in the middle of a "1".
QVector<float> biphaseMark(const QString& bits, int samplesPerBit, float amplitude)
{
    QVector<float> out;
    float level = amplitude;
    for (QChar bit : bits) {
        level = -level;
        out += QVector<float>(samplesPerBit / 2, level);
        if (bit == '1')
            level = -level;
        out += QVector<float>(samplesPerBit - samplesPerBit / 2, level);
    }
    return out;
}

// Writes interleaved channels (all of the same length) as a 16-bit WAV.
QString writeChannels(const QString& path, const QVector<QVector<float>>& channels, int rate,
                      bool broadcastWave = false)
{
    const int c = channels.size();
    QVector<float> interleaved(c * channels[0].size());
    for (int f = 0; f < channels[0].size(); ++f)
        for (int k = 0; k < c; ++k)
            interleaved[f * c + k] = channels[k][f];
    WaveOutput out(QFile::encodeName(path).constData(), Settings(rate, c, LittleEndianSigned, 16), QString(),
                   MTools::Handle<EBUInfo>(), broadcastWave);
    out.write(interleaved.constData(), interleaved.size());
    out.close();
    return path;
}

QVector<float> sine(int frames, double hz, int rate)
{
    QVector<float> v(frames);
    for (int i = 0; i < frames; ++i)
        v[i] = float(0.5 * std::sin(2 * M_PI * hz * i / rate));
    return v;
}

// One second of 25 fps timecode from 10:20:30:00 at 48 kHz (24 samples a bit).
QVector<float> oneSecondOfTimecode()
{
    QString bits;
    for (int f = 0; f < 25; ++f)
        bits += ltcWord(10, 20, 30, f);
    return biphaseMark(bits, 24, 0.6f);
}

// LTC as libltc writes it at 48 kHz, from 10:00:00:00 on, each word with
// user bits of its own, and what every word holds according to libltc.
struct EncodedTimecode
{
    QVector<float> signal;
    QString bits;                 // every word, in transmission order
    QVector<QVector<int>> words;  // hour, min, sec, frame, drop, u1, u2, u3, u4
    QVector<int> starts;          // the sample each word starts at
};

EncodedTimecode libltcTimecode(double fps, int words)
{
    using namespace libltc;
    const LTC_TV_STANDARD standard = fps < 24.5 ? LTC_TV_FILM_24 : fps < 25.5 ? LTC_TV_625_50 : LTC_TV_525_60;
    LTCEncoder* encoder = ltc_encoder_create(48000, fps, standard, 0);
    SMPTETimecode start{};
    start.hours = 10;
    ltc_encoder_set_timecode(encoder, &start);
    EncodedTimecode out;
    auto take = [&] {
        ltcsnd_sample_t* samples = nullptr;
        const int n = ltc_encoder_get_bufferptr(encoder, &samples, 1);
        for (int i = 0; i < n; ++i)
            out.signal += (float(samples[i]) - 128.0f) / 128.0f;
    };
    for (int w = 0; w < words; ++w) {
        const quint32 user = quint32(w) | quint32(0xA5 ^ w) << 8 | quint32(7 * w) << 16 | quint32(0x5A + w) << 24;
        ltc_encoder_set_user_bits(encoder, user);
        LTCFrame f;
        ltc_encoder_get_frame(encoder, &f);
        unsigned char bytes[10];
        std::memcpy(bytes, &f, sizeof bytes);  // libltc sends byte 0 first, each byte from its lowest bit
        for (unsigned char b : bytes)
            for (int i = 0; i < 8; ++i)
                out.bits += (b >> i) & 1 ? '1' : '0';
        out.words << QVector<int>{int(f.hours_units + 10 * f.hours_tens), int(f.mins_units + 10 * f.mins_tens),
                                  int(f.secs_units + 10 * f.secs_tens), int(f.frame_units + 10 * f.frame_tens),
                                  int(f.dfbit), int(f.user1 | f.user2 << 4), int(f.user3 | f.user4 << 4),
                                  int(f.user5 | f.user6 << 4), int(f.user7 | f.user8 << 4)};
        out.starts << out.signal.size();
        ltc_encoder_encode_frame(encoder);
        take();
        ltc_encoder_inc_timecode(encoder);
    }
    ltc_encoder_end_encode(encoder);
    take();
    ltc_encoder_free(encoder);
    return out;
}

QString describeWord(const QVector<int>& w)
{
    return QString::asprintf("%02d:%02d:%02d%c%02d user %02x %02x %02x %02x", w[0], w[1], w[2], w[4] ? ';' : ':', w[3],
                             w[5], w[6], w[7], w[8]);
}

struct Record
{
    bool valid;
    qint32 audioFrame;
    int hour, min, sec, frame;
    bool drop;
    int u1, u2, u3, u4;
};

QByteArray record(const Record& r)
{
    QByteArray bytes(1, char(r.valid ? 1 : 0));
    bytes += Bytes().le32(quint32(r.audioFrame)).bytes();
    for (int v : {r.hour, r.min, r.sec, r.frame, int(r.drop), r.u1, r.u2, r.u3, r.u4})
        bytes += char(v);
    return bytes;
}

QByteArray stateFile(const QVector<Record>& records, qint64 count = -1)
{
    Bytes b;
    b.tag("LTCC").le32(quint32(count >= 0 ? count : records.size()));
    for (const Record& r : records)
        b.raw(record(r));
    return b;
}

// Frames at audio frames 0, 100, 200, 300 numbered 0 to 3.
QVector<Record> fourFrames()
{
    QVector<Record> list;
    for (int i = 0; i < 4; ++i)
        list << Record{true, 100 * i, 1, 2, 3, i, false, 0, 0, 0, 0};
    return list;
}

}  // namespace

class tst_LTCDecoder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void frameFromBits_data();
    void frameFromBits();
    void frameTexts();
    void findsTheTimecodeChannel_data();
    void findsTheTimecodeChannel();
    void decodesTheWords();
    void decodesAnIndependentEncoder_data();
    void decodesAnIndependentEncoder();
    void bitsDoNotDependOnWhereReadsEnd();
    void calibration_data();
    void calibration();
    void calibrationGuards_data();
    void calibrationGuards();
    void refusesChannelsItDoesNotHave();
    void lookups_data();
    void lookups();
    void lookupsInDisorderedLists();
    void stateFileLayout();
    void stateFileRefusals();
    void hostileCounts_data();
    void hostileCounts();
    void failedSaveKeepsEverything();
    void frameRateOfTheList();

private:
    QTemporaryDir m_dir;
};

void tst_LTCDecoder::init()
{
    FileInput::setBaseFolder(m_dir.path());
    ProductionParameters::instance().setFps(30.0f);
}

void tst_LTCDecoder::frameFromBits_data()
{
    QTest::addColumn<qint64>("audioFrame");
    QTest::addColumn<QString>("bits");
    QTest::addColumn<float>("fps");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QVector<int>>("fields");  // hour, min, sec, frame, drop, u1, u2, u3, u4

    const QString base = bitsWithOnes({0, 9, 16, 25, 32, 48});
    QTest::newRow("01:01:21:21") << qint64(10) << base << 30.0f << true << QVector<int>{1, 1, 21, 21, 0, 0, 0, 0, 0};
    QTest::newRow("bit 10 at 29.97: drop") << qint64(10) << bitsWithOnes({0, 9, 10, 16, 25, 32, 48}) << 29.97f << true
                                           << QVector<int>{1, 1, 21, 21, 1, 0, 0, 0, 0};
    QTest::newRow("bit 10 at 25: no drop") << qint64(10) << bitsWithOnes({0, 9, 10, 16, 25, 32, 48}) << 25.0f << true
                                           << QVector<int>{1, 1, 21, 21, 0, 0, 0, 0, 0};
    QTest::newRow("bit 10 at 24: no drop") << qint64(10) << bitsWithOnes({10}) << 24.0f << true
                                           << QVector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("bit 12: u1 16") << qint64(10) << bitsWithOnes({12}) << 30.0f << true
                                   << QVector<int>{0, 0, 0, 0, 0, 16, 0, 0, 0};
    QTest::newRow("user groups") << qint64(1) << bitsWithOnes({4, 15, 21, 36, 47, 55, 60}) << 30.0f << true
                                 << QVector<int>{0, 0, 0, 0, 0, 0x81, 0x02, 0x81, 0x18};
    QTest::newRow("all ones") << qint64(1) << QString(80, '1') << 25.0f << true
                              << QVector<int>{15 + 30, 15 + 70, 15 + 70, 15 + 30, 0, 255, 255, 255, 255};
    QTest::newRow("79 bits") << qint64(10) << base.left(79) << 30.0f << false << QVector<int>(9, 0);
    QTest::newRow("81 bits") << qint64(10) << base + "0" << 30.0f << false << QVector<int>(9, 0);
    QTest::newRow("audio frame 0") << qint64(0) << base << 30.0f << false << QVector<int>(9, 0);
    QTest::newRow("audio frame -5") << qint64(-5) << base << 30.0f << false << QVector<int>(9, 0);
}

void tst_LTCDecoder::frameFromBits()
{
    QFETCH(qint64, audioFrame);
    QFETCH(QString, bits);
    QFETCH(float, fps);
    QFETCH(bool, valid);
    QFETCH(QVector<int>, fields);
    const LTCData d(audioFrame, bits, fps);
    QCOMPARE(d.isValid(), valid);
    QCOMPARE(d.audioFrame(), audioFrame);
    const QVector<int> got{d.hour(), d.min(), d.sec(), d.frame(), int(d.isDrop()), d.userByte(0), d.userByte(1),
                           d.userByte(2), d.userByte(3)};
    QCOMPARE(got, fields);
}

void tst_LTCDecoder::frameTexts()
{
    const LTCData d(10, bitsWithOnes({0, 9, 16, 25, 32, 48, 12}), 30.0f);
    QCOMPARE(d.timecodeText(30.0f, false), QString("01:01:21:21"));
    QCOMPARE(d.timecodeText(30.0f, true), QString("16:00:00:00"));
    QCOMPARE(d.userByte(4), -1);
    QCOMPARE(d.userByte(-1), -1);
    const LTCData drop(10, bitsWithOnes({10}), 29.97f);
    QCOMPARE(drop.timecodeText(29.97f, false), QString("00;00;00;00"));
    const LTCData invalid;
    QCOMPARE(invalid.audioFrame(), -1);
    QCOMPARE(invalid.timecodeText(30.0f, false), QString());
    AudioTest::CapturedDebug debug;
    d.dumpInfo();
    QCOMPARE(debug.lines(), QStringList{"LTC: AudioFrame=10; hour=1; min=1; sec=21; frame=21; u1=16; u2=0; u3=0; "
                                        "u4=0; drop=false; valid=true"});
}

void tst_LTCDecoder::findsTheTimecodeChannel_data()
{
    QTest::addColumn<int>("timecodeChannel");
    QTest::addColumn<int>("channels");
    QTest::newRow("first of two, beside a tone") << 0 << 2;
    QTest::newRow("last of two") << 1 << 2;
    QTest::newRow("middle of three") << 1 << 3;
    QTest::newRow("none: tones only") << -1 << 2;
}

void tst_LTCDecoder::findsTheTimecodeChannel()
{
    QFETCH(int, timecodeChannel);
    QFETCH(int, channels);
    const QVector<float> timecode = oneSecondOfTimecode();
    QVector<QVector<float>> tracks;
    for (int k = 0; k < channels; ++k)
        tracks << (k == timecodeChannel ? timecode : sine(timecode.size(), 440.0 + 200 * k, 48000));
    const QString path = writeChannels(m_dir.filePath("ltc.wav"), tracks, 48000);
    GeneralFileInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    QCOMPARE(input.ltcChannel(), timecodeChannel);
    QCOMPARE(input.ltcStatus(-1), timecodeChannel < 0 ? -1 : 0);
    QCOMPARE(input.ltcStatus(1), 0);
    // Making the decoder leaves the input at frame 0.
    QCOMPARE(input.tellBytes(), 0);
    QVERIFY(!input.hasLtc());
}

void tst_LTCDecoder::decodesTheWords()
{
    const QVector<float> timecode = oneSecondOfTimecode();
    const QString path = writeChannels(m_dir.filePath("ltc.wav"),
                                       {sine(timecode.size(), 1000.0, 48000), timecode}, 48000);
    WaveInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    LTCDecoder decoder(&input);
    QCOMPARE(decoder.channel(), 1);
    QCOMPARE(decoder.samplesPerBit(), 24);
    decoder.decode(1);
    // Every word after the first (whose first edge has no edge before it).
    for (int f = 1; f < 25; ++f) {
        const QString word = ltcWord(10, 20, 30, f);
        const int at = decoder.bits().indexOf(word);
        QVERIFY2(at >= 0, qPrintable(QString("frame %1").arg(f)));
        const LTCData d(1 + at, decoder.bits().mid(at, 80), 25.0f);
        QCOMPARE(d.timecodeText(25.0f, false), QString("10:20:30:%1").arg(f, 2, 10, QChar('0')));
    }
    // The bits accumulate.
    const int length = decoder.bits().size();
    QVERIFY(length >= 24 * 80);
    decoder.decode(1);
    QCOMPARE(decoder.bits().size(), 2 * length);
}

void tst_LTCDecoder::decodesAnIndependentEncoder_data()
{
    QTest::addColumn<double>("fps");
    QTest::addColumn<int>("words");  // several seconds: dozens of 8192-frame reads
    QTest::addColumn<bool>("stereo");

    const struct
    {
        const char* name;
        double fps;
        int words;
    } rates[] = {{"24 fps", 24.0, 120},
                 {"25 fps", 25.0, 250},
                 {"29.97 fps drop frame", 29.97, 180},
                 {"30 fps", 30.0, 150}};
    for (const auto& r : rates) {
        QTest::newRow(qPrintable(QString("%1, mono").arg(r.name))) << r.fps << r.words << false;
        QTest::newRow(qPrintable(QString("%1, left beside a tone").arg(r.name))) << r.fps << r.words << true;
    }
}

void tst_LTCDecoder::decodesAnIndependentEncoder()
{
    QFETCH(double, fps);
    QFETCH(int, words);
    QFETCH(bool, stereo);
    const EncodedTimecode encoded = libltcTimecode(fps, words);
    QVector<QVector<float>> tracks{encoded.signal};
    if (stereo)
        tracks << sine(encoded.signal.size(), 1000.0, 48000);
    const QString path = writeChannels(m_dir.filePath("libltc.wav"), tracks, 48000);
    WaveInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    LTCDecoder decoder(&input);
    QCOMPARE(decoder.channel(), 0);
    decoder.decode(0);

    // Each word ends with a sync word: the 64 bits before one and the sync
    // word itself make a word.
    const QString& bits = decoder.bits();
    QStringList wrong;
    int found = 0;
    for (int at = bits.indexOf(kSync, 64); at >= 0; at = bits.indexOf(kSync, at + 16), ++found) {
        const int w = (at - 64) / 80;
        if ((at - 64) % 80 != 0 || w >= words) {
            wrong << QString("a word ending at bit %1").arg(at + 16);
            continue;
        }
        const LTCData d(encoded.starts[w] + 1, bits.mid(at - 64, 80), float(fps));
        const QVector<int> got{d.hour(),      d.min(),       d.sec(),       d.frame(),      int(d.isDrop()),
                               d.userByte(0), d.userByte(1), d.userByte(2), d.userByte(3)};
        if (!d.isValid() || got != encoded.words[w])
            wrong << QString("sample %1: %2 read %3")
                         .arg(encoded.starts[w])
                         .arg(describeWord(encoded.words[w]), describeWord(got));
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(QString("%1 of %2 words wrong:\n").arg(wrong.size()).arg(words)
                                         + wrong.join('\n')));
    QCOMPARE(found, words);
    // Bit for bit, so wherever the reads of the file happen to end.
    QVERIFY(bits == encoded.bits);
}

void tst_LTCDecoder::bitsDoNotDependOnWhereReadsEnd()
{
    // The same timecode behind 0 to 23 frames of silence: the file is read
    // 8192 frames at a time, so the reads end at every place inside its
    // 24-frame bits. The silence may spoil the first word, nothing after it,
    // and a second decode gives the same bits again.
    const EncodedTimecode encoded = libltcTimecode(25.0, 50);
    for (int lead = 0; lead < 24; ++lead) {
        const QString path = writeChannels(m_dir.filePath("lead.wav"), {QVector<float>(lead, 0.0f) + encoded.signal},
                                           48000);
        WaveInput input;
        QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
        LTCDecoder decoder(&input);
        QCOMPARE(decoder.samplesPerBit(), 24);
        decoder.decode(0);
        const QString bits = decoder.bits();
        const int at = bits.indexOf(kSync);
        QVERIFY2(at >= 0 && bits.mid(at) == encoded.bits.mid(64),
                 qPrintable(QString("behind %1 frames of silence").arg(lead)));
        // The slicer's level from the end of the file must not reach into
        // the silence of the next decode.
        decoder.decode(0);
        QVERIFY2(decoder.bits() == bits + bits, qPrintable(QString("again behind %1 frames").arg(lead)));
    }
}

void tst_LTCDecoder::calibration_data()
{
    QTest::addColumn<QVector<float>>("signal");
    QTest::addColumn<bool>("broadcastWave");
    QTest::addColumn<int>("samplesPerBit");

    // At 48 kHz and 30 fps the calibration reads 16000 frames.
    QVector<float> square(20000);
    for (int i = 0; i < square.size(); ++i)
        square[i] = (i / 20) % 2 ? 0.5f : -0.5f;
    QTest::newRow("changes every 20 frames") << square << false << 40;
    QTest::newRow("the same in a broadcast-wave file (rate -1)") << square << true << 40;
    QTest::newRow("no changes") << QVector<float>(20000, 0.3f) << false << 200;
    QTest::newRow("silence") << QVector<float>(20000, 0.0f) << false << 200;
    QVector<float> fast(20000);
    for (int i = 0; i < fast.size(); ++i)
        fast[i] = i % 2 ? 0.5f : -0.5f;
    QTest::newRow("changes every frame: too short a bit") << fast << false << 0;
    QTest::newRow("shorter than the calibration") << QVector<float>(16000, 0.5f) << false << 0;
}

void tst_LTCDecoder::calibration()
{
    QFETCH(QVector<float>, signal);
    QFETCH(bool, broadcastWave);
    QFETCH(int, samplesPerBit);
    const QString path = writeChannels(m_dir.filePath("c.wav"), {signal}, 48000, broadcastWave);
    WaveInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    LTCDecoder decoder(&input);
    QCOMPARE(decoder.samplesPerBit(), samplesPerBit);
    QCOMPARE(decoder.channel(), -1);
    AudioTest::CapturedStderr err;
    decoder.decode(0);
    QCOMPARE(err.text().contains("The LTC decoder is not calibrated"), samplesPerBit == 0);
    AudioTest::CapturedDebug debug;
    decoder.dumpInfo();
    QCOMPARE(debug.lines().value(1), QString("Calibrated Samples Per Bit = %1").arg(samplesPerBit));
}

void tst_LTCDecoder::calibrationGuards_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<float>("productionFps");
    // Each would divide by zero or ask for gigabytes of samples unguarded.
    QTest::newRow("rate 2^31 - 1 at 1 fps") << 0x7FFFFFFF << 1.0f;
    QTest::newRow("production rate 0.5") << 48000 << 0.5f;
    QTest::newRow("production rate 0") << 48000 << 0.0f;
    QTest::newRow("production rate -25") << 48000 << -25.0f;
    QTest::newRow("production rate NaN") << 48000 << std::nanf("");
}

void tst_LTCDecoder::calibrationGuards()
{
    // A square wave that calibrates to 40 frames a bit when the rates are
    // sane; here nothing can be counted, so the decoder stays uncalibrated.
    QFETCH(int, rate);
    QFETCH(float, productionFps);
    Bytes samples;
    for (int i = 0; i < 20000; ++i)
        samples.le16((i / 20) % 2 ? 0x4000 : 0xC000);
    const QString path = m_dir.filePath("guard.wav");
    AudioTest::writeFile(path, AudioTest::riff(Bytes().chunk("fmt ", AudioTest::fmtBody(1, 1, rate, 16))
                                                   .chunk("data", samples)));
    ProductionParameters::instance().setFps(productionFps);
    WaveInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    QVERIFY(AudioTest::staysWithin(64 << 20, [&] {
        LTCDecoder decoder(&input);
        return decoder.samplesPerBit() == 0 && decoder.channel() == -1;
    }));
    QCOMPARE(input.ltcChannel(), -1);
    QCOMPARE(input.ltcStatus(-1), -1);
}

void tst_LTCDecoder::refusesChannelsItDoesNotHave()
{
    const QVector<float> timecode = oneSecondOfTimecode();
    const QString path = writeChannels(m_dir.filePath("ltc.wav"), {timecode}, 48000);
    WaveInput input;
    QVERIFY(input.openChecked(QFile::encodeName(path).constData()));
    LTCDecoder decoder(&input);
    QCOMPARE(decoder.channel(), 0);
    for (int channel : {1, -1}) {
        AudioTest::CapturedStderr err;
        decoder.decode(channel);
        QVERIFY(!err.text().isEmpty());
        QVERIFY(decoder.bits().isEmpty());
    }
    LTCDecoder without(nullptr);
    QCOMPARE(without.samplesPerBit(), 0);
    QCOMPARE(without.channel(), -1);
}

void tst_LTCDecoder::lookups_data()
{
    QTest::addColumn<int>("audioFrame");
    QTest::addColumn<qint64>("answer");  // -1: the invalid frame
    QTest::newRow("125: the next frame, 200") << 125 << qint64(200);
    QTest::newRow("150") << 150 << qint64(200);
    QTest::newRow("300: the last") << 300 << qint64(300);
    QTest::newRow("299") << 299 << qint64(300);
    QTest::newRow("0: reached going forward, the next") << 0 << qint64(100);
    QTest::newRow("312: after the last") << 312 << qint64(-1);
    QTest::newRow("-1: before the first") << -1 << qint64(-1);
}

void tst_LTCDecoder::lookups()
{
    QFETCH(int, audioFrame);
    QFETCH(qint64, answer);
    const QString path = m_dir.filePath("four.ltcc");
    AudioTest::writeFile(path, stateFile(fourFrames()));
    LTCDecoder decoder(nullptr);
    QVERIFY(decoder.load(QFile::encodeName(path).constData()));
    AudioTest::CapturedStderr err;
    const LTCData& d = decoder.getLTC(audioFrame);
    QCOMPARE(d.audioFrame(), answer);
    QCOMPARE(d.isValid(), answer >= 0);
    QCOMPARE(err.text(),
             answer < 0 ? QString("LTCDecoder::getLTC() : Error LTC for this frame does not exists\n") : QString());
    if (answer >= 0)
        QCOMPARE(d.frame(), int(answer / 100));
}

void tst_LTCDecoder::lookupsInDisorderedLists()
{
    // Equal audio frames would divide by zero when guessing the start; an
    // unordered list must not lead the walks out of the list.
    LTCDecoder decoder(nullptr);
    const QString same = m_dir.filePath("same.ltcc");
    AudioTest::writeFile(same, stateFile({{true, 100, 0, 0, 0, 1, false, 0, 0, 0, 0},
                                          {true, 100, 0, 0, 0, 2, false, 0, 0, 0, 0},
                                          {true, 100, 0, 0, 0, 3, false, 0, 0, 0, 0}}));
    QVERIFY(decoder.load(QFile::encodeName(same).constData()));
    QCOMPARE(decoder.getLTC(100).frame(), 2);
    const QString unordered = m_dir.filePath("unordered.ltcc");
    AudioTest::writeFile(unordered, stateFile({{true, 100, 0, 0, 0, 1, false, 0, 0, 0, 0},
                                               {true, 900, 0, 0, 0, 2, false, 0, 0, 0, 0},
                                               {true, 50, 0, 0, 0, 3, false, 0, 0, 0, 0},
                                               {true, 400, 0, 0, 0, 4, false, 0, 0, 0, 0}}));
    QVERIFY(decoder.load(QFile::encodeName(unordered).constData()));
    for (int a = 100; a <= 400; a += 50)
        QVERIFY(decoder.getLTC(a).frame() >= 1);
    QCOMPARE(decoder.getLTC(350).frame(), 2);
    // A guess past the end walks back.
    AudioTest::writeFile(unordered, stateFile({{true, 100, 0, 0, 0, 1, false, 0, 0, 0, 0},
                                               {true, 110, 0, 0, 0, 2, false, 0, 0, 0, 0},
                                               {true, 50, 0, 0, 0, 3, false, 0, 0, 0, 0},
                                               {true, 400, 0, 0, 0, 4, false, 0, 0, 0, 0}}));
    QVERIFY(decoder.load(QFile::encodeName(unordered).constData()));
    QCOMPARE(decoder.getLTC(300).frame(), 4);
}

void tst_LTCDecoder::stateFileLayout()
{
    const QVector<Record> three{{true, 48000, 10, 20, 30, 5, false, 1, 2, 3, 4},
                                {false, -2, 0, 0, 0, 0, false, 0, 0, 0, 0},
                                {true, 0x7FFFFFFF, 23, 59, 59, 29, true, 255, 0, 0, 9}};
    const QString in = m_dir.filePath("in.ltcc");
    AudioTest::writeFile(in, stateFile(three));
    LTCDecoder decoder(nullptr);
    QVERIFY(decoder.load(QFile::encodeName(in).constData()));
    QCOMPARE(decoder.frames().size(), size_t(3));
    QCOMPARE(decoder.frames()[1].audioFrame(), -2);
    QVERIFY(!decoder.frames()[1].isValid());
    QVERIFY(decoder.frames()[2].isDrop());
    QCOMPARE(decoder.frameOfTimecode(23, 59, 59, 29), 0x7FFFFFFF);
    QCOMPARE(decoder.frameOfTimecode(23, 59, 59, 28), -1);

    // Saved: 8 + 3 * 14 bytes, the same bytes, and the same frames again.
    const QString out = m_dir.filePath("out.ltcc");
    QVERIFY(decoder.save(QFile::encodeName(out).constData()));
    const QByteArray bytes = AudioTest::fileBytes(out);
    QCOMPARE(bytes.size(), 50);
    QCOMPARE(bytes, stateFile(three));
    QCOMPARE(decoder.frames().size(), size_t(3));
    QCOMPARE(decoder.frames()[0].userByte(3), 4);

    // An empty list writes nothing.
    LTCDecoder empty(nullptr);
    QVERIFY(!empty.save(QFile::encodeName(m_dir.filePath("empty.ltcc")).constData()));
    QVERIFY(!QFile::exists(m_dir.filePath("empty.ltcc")));
}

void tst_LTCDecoder::stateFileRefusals()
{
    LTCDecoder decoder(nullptr);
    const QString path = m_dir.filePath("x.ltcc");
    AudioTest::writeFile(path, stateFile(fourFrames()));
    QVERIFY(decoder.load(QFile::encodeName(path).constData()));

    const QString other = m_dir.filePath("other.ltcc");
    AudioTest::writeFile(other, QByteArray("LTCX") + QByteArray(22, 0));
    {
        AudioTest::CapturedStderr err;
        QVERIFY(!decoder.load(QFile::encodeName(other).constData()));
        QCOMPARE(err.text(), QString("LTCDecoder::load error: not ltc file\n"));
    }
    {
        AudioTest::writeFile(other, QByteArray("LT"));
        AudioTest::CapturedStderr err;
        QVERIFY(!decoder.load(QFile::encodeName(other).constData()));
        QCOMPARE(err.text(), QString("LTCDecoder::load error: not ltc file\n"));
    }
    {
        AudioTest::CapturedStderr err;
        QVERIFY(!decoder.load(QFile::encodeName(m_dir.filePath("missing.ltcc")).constData()));
        QCOMPARE(err.text(), QString("LTCDecoder::load: file read error\n"));
    }
    // Refusals keep the list.
    QCOMPARE(decoder.frames().size(), size_t(4));
}

void tst_LTCDecoder::hostileCounts_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("frames");
    const QVector<Record> two = fourFrames().mid(0, 2);
    QTest::newRow("2^31 - 1 promised, 2 present") << stateFile(two, 0x7FFFFFFF) << 2;
    QTest::newRow("-1 promised") << stateFile(two, 0xFFFFFFFF) << 0;
    QTest::newRow("-2^31 promised") << stateFile(two, 0x80000000) << 0;
    QTest::newRow("2 promised, 1.5 present") << stateFile(two).left(8 + 21) << 1;
    QTest::newRow("no count") << QByteArray("LTCC") << 0;
    QTest::newRow("1 promised, 4 present") << stateFile(fourFrames(), 1) << 1;
}

void tst_LTCDecoder::hostileCounts()
{
    QFETCH(QByteArray, content);
    QFETCH(int, frames);
    const QString path = m_dir.filePath("h.ltcc");
    AudioTest::writeFile(path, content);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(AudioTest::staysWithin(16 << 20, [&] {
        LTCDecoder decoder(nullptr);
        return decoder.load(QFile::encodeName(path).constData()) && decoder.frames().size() == size_t(frames);
    }));
    QVERIFY(timer.elapsed() < 2000);
}

void tst_LTCDecoder::failedSaveKeepsEverything()
{
    LTCDecoder decoder(nullptr);
    const QString good = m_dir.filePath("good.ltcc");
    const QByteArray original = stateFile(fourFrames());
    AudioTest::writeFile(good, original);
    QVERIFY(decoder.load(QFile::encodeName(good).constData()));

    // A folder stands where the file should go: nothing can replace it.
    const QString folder = m_dir.filePath("taken.ltcc");
    QVERIFY(QDir().mkpath(folder));
    {
        AudioTest::CapturedStderr err;
        QVERIFY(!decoder.save(QFile::encodeName(folder).constData()));
        QVERIFY(!err.text().isEmpty());
    }
    QCOMPARE(decoder.frames().size(), size_t(4));
    QVERIFY(QFileInfo(folder).isDir());
    {
        AudioTest::CapturedStderr err;
        QVERIFY(!decoder.save(QFile::encodeName(m_dir.filePath("no/such/folder.ltcc")).constData()));
        QCOMPARE(err.text(), QString("LTCDecoder::save: file creation error\n"));
    }
    QCOMPARE(decoder.frames().size(), size_t(4));
    QCOMPARE(AudioTest::fileBytes(good), original);

    // A pipe cannot give the list back: it is neither written nor replaced.
    const QString pipe = m_dir.filePath("pipe.ltcc");
    QCOMPARE(QProcess::execute("mkfifo", {pipe}), 0);
    {
        AudioTest::CapturedStderr err;
        QVERIFY(!decoder.save(QFile::encodeName(pipe).constData()));
        QCOMPARE(err.text(), QString("LTCDecoder::save: file creation error\n"));
    }
    QCOMPARE(decoder.frames().size(), size_t(4));
    QCOMPARE(QProcess::execute("test", {"-p", pipe}), 0);
}

void tst_LTCDecoder::frameRateOfTheList()
{
    LTCDecoder decoder(nullptr);
    QCOMPARE(decoder.fps(), 0.0f);
    QVector<Record> list;
    for (int f = 0; f < 25; ++f)
        list << Record{true, 1920 * f + 1, 0, 0, 0, f, false, 0, 0, 0, 0};
    const QString path = m_dir.filePath("25.ltcc");
    AudioTest::writeFile(path, stateFile(list));
    QVERIFY(decoder.load(QFile::encodeName(path).constData()));
    QCOMPARE(decoder.fps(), 25.0f);
    // A new list counts anew.
    list << Record{true, 1920 * 25 + 1, 0, 0, 0, 29, false, 0, 0, 0, 0};
    AudioTest::writeFile(path, stateFile(list));
    QVERIFY(decoder.load(QFile::encodeName(path).constData()));
    QCOMPARE(decoder.fps(), 30.0f);
}

QTEST_GUILESS_MAIN(tst_LTCDecoder)
#include "tst_LTCDecoder.moc"
