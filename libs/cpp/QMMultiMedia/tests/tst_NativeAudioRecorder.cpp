#include "NativeAudioRecorder.h"

#include <QtTest>

using namespace QMMultiMedia;

class tst_NativeAudioRecorder : public QObject
{
    Q_OBJECT

private slots:
    void newRecorderHasTheDefaults();
    void settingsAreCopied();
    void startStoresTheNameAndRecordsNothing();
};

void tst_NativeAudioRecorder::newRecorderHasTheDefaults()
{
    NativeAudioRecorder recorder;
    const RecorderSettings settings = recorder.settings();
    QCOMPARE(settings.m_strFormat, QStringLiteral("WAV"));
    QCOMPARE(settings.m_nSampleRate, 44100);
    QCOMPARE(settings.m_nChannels, 2);
    QCOMPARE(settings.m_nSampleSize, 16);
    QCOMPARE(settings.m_nBitRate, 128000);
    QCOMPARE(settings.m_nQuality, 3);
    QVERIFY(recorder.fileName().isEmpty());
}

void tst_NativeAudioRecorder::settingsAreCopied()
{
    RecorderSettings settings;
    settings.m_strFormat = QStringLiteral("AIFF");
    settings.m_nSampleRate = 48000;
    settings.m_nChannels = 1;
    settings.m_nSampleSize = 24;
    settings.m_nBitRate = 256000;
    settings.m_nQuality = 5;

    NativeAudioRecorder recorder;
    recorder.setSettings(settings);
    settings.m_nChannels = 8;
    const RecorderSettings kept = recorder.settings();
    QCOMPARE(kept.m_strFormat, QStringLiteral("AIFF"));
    QCOMPARE(kept.m_nSampleRate, 48000);
    QCOMPARE(kept.m_nChannels, 1);
    QCOMPARE(kept.m_nSampleSize, 24);
    QCOMPARE(kept.m_nBitRate, 256000);
    QCOMPARE(kept.m_nQuality, 5);
}

// No platform capture here: every operation is a placeholder.
void tst_NativeAudioRecorder::startStoresTheNameAndRecordsNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("take.wav"));

    NativeAudioRecorder recorder;
    QSignalSpy finished(&recorder, SIGNAL(finished()));
    recorder.slotStart(path);
    QCOMPARE(recorder.fileName(), path);
    recorder.slotSuspend();
    recorder.slotResume();
    recorder.slotStart();
    recorder.slotStop();
    recorder.setFileName(dir.filePath(QStringLiteral("other.wav")));
    QCOMPARE(recorder.fileName(), dir.filePath(QStringLiteral("other.wav")));
    recorder.setInputDevice(QStringLiteral("default"));
    recorder.setVolume(50);
    QTest::qWait(100);

    QCOMPARE(finished.count(), 0);
    QVERIFY(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    QVERIFY(!recorder.isRecording());
    QVERIFY(!recorder.isSuspended());
    QCOMPARE(recorder.errorCode(), 0);
    QCOMPARE(recorder.duration(), qint64(0));
    QCOMPARE(recorder.peakLevel(0), 0.0);
    QCOMPARE(recorder.averageLevel(1), 0.0);
    QVERIFY(recorder.errorString().isEmpty());
    QVERIFY(recorder.inputDevice().isEmpty());
    QVERIFY(recorder.inputDevices().isEmpty());
}

QTEST_GUILESS_MAIN(tst_NativeAudioRecorder)
#include "tst_NativeAudioRecorder.moc"
