// The production record and the float buffer.
#include "AudioFloatBuffer.h"
#include "AudioTestSupport.h"
#include "ProductionParameters.h"

#include <QtTest>

#include <limits>

using namespace QMMultiMedia;
using MTools::Handle;

namespace {

Handle<AudioFloatBuffer> bufferOf(int channels, const QVector<float>& samples)
{
    Handle<AudioFloatBuffer> b(new AudioFloatBuffer(samples.size() / channels, channels));
    std::copy(samples.begin(), samples.end(), b->data());
    return b;
}

QVector<float> samplesOf(const AudioFloatBuffer& b)
{
    return QVector<float>(b.data(), b.data() + b.size());
}

}  // namespace

class tst_AudioFloatBuffer : public QObject
{
    Q_OBJECT

private slots:
    void productionDefaultsThenSetters();
    void effectiveFps_data();
    void effectiveFps();
    void productionDump();
    void sizeFromFramesAndChannels_data();
    void sizeFromFramesAndChannels();
    void copyHoldsItsOwnSamples();
    void setFrames();
    void reverse();
    void shift_data();
    void shift();
    void copyFramesMapsChannels();
    void copyFramesStaysInsideBothBuffers();
    void toInt16Frames();
    void fromInt16Frames();
};

void tst_AudioFloatBuffer::productionDefaultsThenSetters()
{
    ProductionParameters& p = ProductionParameters::instance();
    QCOMPARE(&p, &ProductionParameters::instance());
    QCOMPARE(productionFps(), 30.0f);
    QCOMPARE(productionSampleRate(), 48000);
    QCOMPARE(productionBitsPerSample(), 24);
    QVERIFY(productionProjectName().isEmpty());

    p.setFps(25.0f);
    p.setSampleRate(96000);
    p.setBitsPerSample(16);
    p.setProjectName("Night shoot");
    QCOMPARE(productionFps(), 25.0f);
    QCOMPARE(productionSampleRate(), 96000);
    QCOMPARE(productionBitsPerSample(), 16);
    QCOMPARE(productionProjectName(), QString("Night shoot"));
    p.setFps(30.0f);
    p.setSampleRate(48000);
    p.setBitsPerSample(24);
    p.setProjectName(QString());
}

void tst_AudioFloatBuffer::effectiveFps_data()
{
    QTest::addColumn<float>("given");
    QTest::addColumn<float>("production");
    QTest::addColumn<float>("expected");
    QTest::newRow("a record's rate") << 25.0f << 30.0f << 25.0f;
    QTest::newRow("drop-frame rate") << 29.97f << 30.0f << 29.97f;
    QTest::newRow("exactly 1") << 1.0f << 30.0f << 1.0f;
    QTest::newRow("none given (-1)") << -1.0f << 30.0f << 30.0f;
    QTest::newRow("none given, production changed") << -1.0f << 24.0f << 24.0f;
    QTest::newRow("0") << 0.0f << 30.0f << 30.0f;
    QTest::newRow("below 1") << 0.5f << 25.0f << 25.0f;
    QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << 30.0f << 30.0f;
}

void tst_AudioFloatBuffer::effectiveFps()
{
    QFETCH(float, given);
    QFETCH(float, production);
    QFETCH(float, expected);
    ProductionParameters::instance().setFps(production);
    const float got = QMMultiMedia::effectiveFps(given);
    ProductionParameters::instance().setFps(30.0f);
    QCOMPARE(got, expected);
}

void tst_AudioFloatBuffer::productionDump()
{
    AudioTest::CapturedDebug debug;
    ProductionParameters::instance().dumpInfo();
    QCOMPARE(debug.lines(), (QStringList{"---Production Parameters Begin ---", "Fps: 30", "SampleRate: 48000",
                                         "BitsPerSample: 24", "ProjectName: \"\"", "---Production Parameters End ---"}));
}

void tst_AudioFloatBuffer::sizeFromFramesAndChannels_data()
{
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("size");
    QTest::newRow("4 x 2") << 4 << 2 << 8;
    QTest::newRow("0 frames") << 0 << 2 << 0;
    QTest::newRow("0 channels") << 4 << 0 << 0;
    QTest::newRow("negative frames") << -4 << 2 << 0;
    QTest::newRow("product past 32 bits") << 0x40000000 << 4 << 0;
    QTest::newRow("product wrapping to a small count") << 0x40000001 << 4 << 0;
}

void tst_AudioFloatBuffer::sizeFromFramesAndChannels()
{
    QFETCH(int, frames);
    QFETCH(int, channels);
    QFETCH(int, size);
    AudioFloatBuffer b(frames, channels);
    QCOMPARE(b.size(), size);
    QCOMPARE(b.frames(), frames);
    QCOMPARE(b.channels(), channels);
    // Nothing reaches past what the buffer holds, whatever the counts say.
    b.reverse();
    b.shift(1);
    b.shift(-1);
    QCOMPARE(b.size(), size);
}

void tst_AudioFloatBuffer::copyHoldsItsOwnSamples()
{
    Handle<AudioFloatBuffer> source = bufferOf(2, {1, 2, 3, 4});
    AudioFloatBuffer copy(*source);
    source->data()[0] = 9;
    QCOMPARE(samplesOf(copy), (QVector<float>{1, 2, 3, 4}));
    QCOMPARE(copy.frames(), 2);
    QCOMPARE(copy.channels(), 2);
}

void tst_AudioFloatBuffer::setFrames()
{
    Handle<AudioFloatBuffer> b = bufferOf(2, {1, 2, 3, 4, 5, 6, 7, 8});
    b->setFrames(6);
    QCOMPARE(samplesOf(*b), (QVector<float>{1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 0}));
    QCOMPARE(b->size(), 12);
    b->setFrames(2);
    QCOMPARE(samplesOf(*b), (QVector<float>{1, 2, 3, 4}));
    b->setFrames(-3);
    QCOMPARE(b->size(), 0);
    QCOMPARE(b->frames(), -3);
    b->setFrames(1);
    QCOMPARE(samplesOf(*b), (QVector<float>{0, 0}));
}

void tst_AudioFloatBuffer::reverse()
{
    Handle<AudioFloatBuffer> b = bufferOf(2, {1, 2, 3, 4, 5, 6});
    b->reverse();
    QCOMPARE(samplesOf(*b), (QVector<float>{5, 6, 3, 4, 1, 2}));
    Handle<AudioFloatBuffer> even = bufferOf(1, {1, 2, 3, 4});
    even->reverse();
    QCOMPARE(samplesOf(*even), (QVector<float>{4, 3, 2, 1}));
}

void tst_AudioFloatBuffer::shift_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QVector<float>>("expected");
    QTest::newRow("2") << 2 << QVector<float>{3, 4, 5, 0, 0};
    QTest::newRow("-2") << -2 << QVector<float>{0, 0, 1, 2, 3};
    QTest::newRow("5") << 5 << QVector<float>{0, 0, 0, 0, 0};
    QTest::newRow("-5") << -5 << QVector<float>{0, 0, 0, 0, 0};
    QTest::newRow("most negative") << std::numeric_limits<int>::min() << QVector<float>{0, 0, 0, 0, 0};
    QTest::newRow("0") << 0 << QVector<float>{1, 2, 3, 4, 5};
}

void tst_AudioFloatBuffer::shift()
{
    QFETCH(int, n);
    QFETCH(QVector<float>, expected);
    Handle<AudioFloatBuffer> b = bufferOf(1, {1, 2, 3, 4, 5});
    b->shift(n);
    QCOMPARE(samplesOf(*b), expected);

    // Whole frames move: stereo by one frame.
    Handle<AudioFloatBuffer> stereo = bufferOf(2, {1, 2, 3, 4});
    stereo->shift(1);
    QCOMPARE(samplesOf(*stereo), (QVector<float>{3, 4, 0, 0}));
}

void tst_AudioFloatBuffer::copyFramesMapsChannels()
{
    const Handle<AudioFloatBuffer> stereo = bufferOf(2, {1, 2, 3, 4, 5, 6});
    AudioFloatBuffer mono(3, 1);
    std::fill(mono.data(), mono.data() + 3, 9.0f);
    mono.copyFrames(stereo, 1, 0, 2);
    QCOMPARE(samplesOf(mono), (QVector<float>{3, 5, 9}));

    const Handle<AudioFloatBuffer> source = bufferOf(1, {7, 8});
    AudioFloatBuffer wide(3, 2);
    std::fill(wide.data(), wide.data() + 6, 9.0f);
    wide.copyFrames(source, 0, 1, 2);
    QCOMPARE(samplesOf(wide), (QVector<float>{9, 9, 7, 0, 8, 0}));

    AudioFloatBuffer same(2, 2);
    same.copyFrames(stereo, 1, 0, 2);
    QCOMPARE(samplesOf(same), (QVector<float>{3, 4, 5, 6}));

    // A buffer copied into itself over overlapping frames.
    Handle<AudioFloatBuffer> self = bufferOf(1, {1, 2, 3, 4});
    self->copyFrames(self, 0, 1, 3);
    QCOMPARE(samplesOf(*self), (QVector<float>{1, 1, 2, 3}));
}

void tst_AudioFloatBuffer::copyFramesStaysInsideBothBuffers()
{
    const Handle<AudioFloatBuffer> source = bufferOf(1, {1, 2, 3});
    AudioFloatBuffer target(2, 1);
    target.data()[0] = target.data()[1] = 9;
    target.copyFrames(source, 1, 0, 10);  // only 2 frames fit
    QCOMPARE(samplesOf(target), (QVector<float>{2, 3}));
    target.copyFrames(source, -1, 0, 1);
    target.copyFrames(source, 0, 5, 1);
    QCOMPARE(samplesOf(target), (QVector<float>{2, 3}));
}

void tst_AudioFloatBuffer::toInt16Frames()
{
    const float mono[] = {1.0f, -1.0f, 0.5f, std::numeric_limits<float>::quiet_NaN()};
    qint32 out[8];
    AudioFloatBuffer::toInt16Frames(mono, out, 4, 1, 1);
    QCOMPARE(out[0], qint32(32767 * 65536));
    QCOMPARE(out[1], qint32(-32767 * 65536));
    QCOMPARE(out[2], qint32(16384 * 65536));
    QCOMPARE(out[3], 0);

    AudioFloatBuffer::toInt16Frames(mono, out, 2, 1, 2);  // mono into stereo: (s, 0)
    QCOMPARE(out[0], qint32(32767 * 65536));
    QCOMPARE(out[1], 0);
    QCOMPARE(out[2], qint32(-32767 * 65536));
    QCOMPARE(out[3], 0);

    const float stereo[] = {0.25f, 0.75f, -0.25f, -0.75f};
    AudioFloatBuffer::toInt16Frames(stereo, out, 2, 2, 1);  // the first channel of each frame
    QCOMPARE(out[0], qint32(8192 * 65536));
    QCOMPARE(out[1], qint32(-8192 * 65536));
}

void tst_AudioFloatBuffer::fromInt16Frames()
{
    const qint32 words[] = {qint32(0x80000000u), 16384 * 65536 + 0x1234, -16384 * 65536, 1};
    const Handle<AudioFloatBuffer> b = AudioFloatBuffer::fromInt16Frames(words, 4, 1, 1);
    QCOMPARE(samplesOf(*b), (QVector<float>{-1.0f, 0.5f, -0.5f, 0.0f}));

    const Handle<AudioFloatBuffer> stereo = AudioFloatBuffer::fromInt16Frames(words, 2, 2, 1);
    QCOMPARE(samplesOf(*stereo), (QVector<float>{-1.0f, -0.5f}));
    const Handle<AudioFloatBuffer> wide = AudioFloatBuffer::fromInt16Frames(words, 2, 1, 3);
    QCOMPARE(samplesOf(*wide), (QVector<float>{-1.0f, 0, 0, 0.5f, 0, 0}));
    QCOMPARE(wide->channels(), 3);
    QCOMPARE(wide->frames(), 2);
}

QTEST_GUILESS_MAIN(tst_AudioFloatBuffer)
#include "tst_AudioFloatBuffer.moc"
