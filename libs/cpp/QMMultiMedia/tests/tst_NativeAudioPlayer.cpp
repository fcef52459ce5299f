#include "MediaFixtures.h"
#include "NativeAudioPlayer.h"
#include "TestFiles.h"

#include <QtTest>

using namespace QMMultiMedia;

class tst_NativeAudioPlayer : public QObject
{
    Q_OBJECT

public:
    tst_NativeAudioPlayer() { MediaFixtures::useSilentAudioSink(); }

private slots:
    void initTestCase();

    void startsAtHalfVolume();
    void volumeIsTruncatedAndCapped_data();
    void volumeIsTruncatedAndCapped();
    void muteRemembersTheVolume_data();
    void muteRemembersTheVolume();

    void reportsTheDurationOfAWav();
    void secondWaitReturnsWithoutWaiting();
    void durationWaitEndsOnMediaWithoutDuration_data();
    void durationWaitEndsOnMediaWithoutDuration();
    void newMediaIsWaitedForAfresh();
    void goodMediaAfterABadOneReportsItsDuration();
    void reportsMediaItCannotPlayOnce_data();
    void reportsMediaItCannotPlayOnce();

    void playsToTheEndAndReportsItOnce();
    void stopReportsNoEnd();
    void currentFileComesFromSetMediaOnly();

private:
    QTemporaryDir m_dir;
    QString m_strWav;
};

void tst_NativeAudioPlayer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (!MediaFixtures::canPlayWav())
        QSKIP("Qt Multimedia cannot play WAV files here (plugins missing)");
    m_strWav = m_dir.filePath(QStringLiteral("tone.wav"));
    QVERIFY(MediaFixtures::writeWav(m_strWav, 250));
}

void tst_NativeAudioPlayer::startsAtHalfVolume()
{
    NativeAudioPlayer player;
    QCOMPARE(player.volume(), 50.0);
    QVERIFY(!player.isMuted());
    QVERIFY(player.isStopped());
}

void tst_NativeAudioPlayer::volumeIsTruncatedAndCapped_data()
{
    QTest::addColumn<qreal>("given");
    QTest::addColumn<qreal>("platform");

    QTest::newRow("half a percent") << 0.5 << 0.0;
    QTest::newRow("99.9") << 99.9 << 99.0;
    QTest::newRow("full") << 100.0 << 100.0;
    QTest::newRow("150") << 150.0 << 100.0;
    QTest::newRow("huge") << 1e12 << 100.0;
    QTest::newRow("negative") << -5.0 << 0.0;
    QTest::newRow("80") << 80.0 << 80.0;
}

void tst_NativeAudioPlayer::volumeIsTruncatedAndCapped()
{
    QFETCH(qreal, given);
    QFETCH(qreal, platform);
    NativeAudioPlayer player;
    player.setVolume(given);
    QCOMPARE(player.volume(), platform);
    QCOMPARE(player.isMuted(), platform <= 0.0);
}

void tst_NativeAudioPlayer::muteRemembersTheVolume_data()
{
    QTest::addColumn<qreal>("volume");
    QTest::addColumn<int>("mutes");
    QTest::addColumn<qreal>("afterUnmute");

    QTest::newRow("mute at 80") << 80.0 << 1 << 80.0;
    QTest::newRow("muted twice keeps 80") << 80.0 << 2 << 80.0;
    // Never muted: the player's own starting volume comes back.
    QTest::newRow("unmute before any mute") << 0.0 << 0 << 50.0;
    QTest::newRow("unmute while not muted keeps the volume") << 80.0 << 0 << 80.0;
}

void tst_NativeAudioPlayer::muteRemembersTheVolume()
{
    QFETCH(qreal, volume);
    QFETCH(int, mutes);
    QFETCH(qreal, afterUnmute);

    NativeAudioPlayer player;
    player.setVolume(volume);
    for (int i = 0; i < mutes; ++i) {
        player.setMuted(true);
        QCOMPARE(player.volume(), 0.0);
        QVERIFY(player.isMuted());
    }
    player.setMuted(false);
    QCOMPARE(player.volume(), afterUnmute);
    QVERIFY(!player.isMuted());
}

void tst_NativeAudioPlayer::reportsTheDurationOfAWav()
{
    NativeAudioPlayer player;
    player.setMedia(m_strWav);
    const qint64 duration = player.waitForDuration();
    QVERIFY2(duration >= 240 && duration <= 260, qPrintable(QString::number(duration)));
}

void tst_NativeAudioPlayer::secondWaitReturnsWithoutWaiting()
{
    NativeAudioPlayer player;
    player.setMedia(m_strWav);
    const qint64 first = player.waitForDuration();
    QVERIFY(first > 0);

    // A second wait on the same media runs no event loop at all.
    bool eventsRan = false;
    QTimer::singleShot(0, this, [&eventsRan] { eventsRan = true; });
    QCOMPARE(player.waitForDuration(), first);
    QVERIFY(!eventsRan);
    QTRY_VERIFY(eventsRan);
}

void tst_NativeAudioPlayer::durationWaitEndsOnMediaWithoutDuration_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("headerOnlyWav");

    QTest::newRow("text named .wav") << "bad.wav" << QByteArray("this is no sound at all\n") << false;
    QTest::newRow("empty file") << "empty.wav" << QByteArray() << false;
    QTest::newRow("random bytes named .avi") << "noise.avi" << QByteArray(3000, '\x5a') << false;
    QTest::newRow("header without samples") << "silent.wav" << QByteArray() << true;
    QTest::newRow("missing file") << "missing.wav" << QByteArray() << false;
}

// An undecodable or empty file must not hang whoever waits for its length:
// the wait ends with no duration on an error, on invalid media, or after
// about three seconds.
void tst_NativeAudioPlayer::durationWaitEndsOnMediaWithoutDuration()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, headerOnlyWav);

    const QString path = m_dir.filePath(name);
    if (headerOnlyWav)
        QVERIFY(MediaFixtures::writeWav(path, 0));
    else if (name != QLatin1String("missing.wav"))
        QVERIFY(QMTest::writeFile(path, bytes));

    NativeAudioPlayer player;
    player.setMedia(path);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(player.waitForDuration() <= 0);
    QVERIFY2(clock.elapsed() < 10000, "the wait for a duration is not bounded");
}

void tst_NativeAudioPlayer::newMediaIsWaitedForAfresh()
{
    const QString longer = m_dir.filePath(QStringLiteral("longer.wav"));
    QVERIFY(MediaFixtures::writeWav(longer, 600));

    NativeAudioPlayer player;
    player.setMedia(m_strWav);
    QVERIFY(player.waitForDuration() < 300);
    player.setMedia(longer);
    const qint64 duration = player.waitForDuration();
    QVERIFY2(duration >= 590 && duration <= 610, qPrintable(QString::number(duration)));
}

// The platform player keeps its last error until new media loads; the wait
// must not take that old error for the new media's.
void tst_NativeAudioPlayer::goodMediaAfterABadOneReportsItsDuration()
{
    const QString bad = m_dir.filePath(QStringLiteral("broken.wav"));
    QVERIFY(QMTest::writeFile(bad, QByteArray("no sound in here\n")));

    NativeAudioPlayer player;
    player.setMedia(bad);
    QVERIFY(player.waitForDuration() <= 0);
    player.setMedia(m_strWav);
    const qint64 duration = player.waitForDuration();
    QVERIFY2(duration >= 240 && duration <= 260, qPrintable(QString::number(duration)));
}

void tst_NativeAudioPlayer::reportsMediaItCannotPlayOnce_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("failures");

    QTest::newRow("missing file") << "gone.wav" << QByteArray() << 1;
    QTest::newRow("text named .wav") << "words.wav" << QByteArray("no sound in here\n") << 1;
    QTest::newRow("a good WAV") << "tone.wav" << QByteArray() << 0;
}

// Who plays and forgets (the player pool) learns of media that will never
// end from this report.
void tst_NativeAudioPlayer::reportsMediaItCannotPlayOnce()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, failures);

    const QString path = m_dir.filePath(name);
    if (!bytes.isEmpty())
        QVERIFY(QMTest::writeFile(path, bytes));

    NativeAudioPlayer player;
    QSignalSpy failed(&player, SIGNAL(failed()));
    QSignalSpy finished(&player, SIGNAL(finished()));
    player.playFile(path);
    QTRY_VERIFY_WITH_TIMEOUT(failed.count() + finished.count() > 0, 5000);
    QTest::qWait(300);
    QCOMPARE(failed.count(), failures);
    QCOMPARE(finished.count(), 1 - failures);
}

void tst_NativeAudioPlayer::playsToTheEndAndReportsItOnce()
{
    NativeAudioPlayer player;
    QSignalSpy finished(&player, SIGNAL(finished()));
    QSignalSpy positions(&player, SIGNAL(positionChanged(qint64)));
    player.setMedia(m_strWav);
    player.play();
    QVERIFY(finished.wait(5000));
    QTest::qWait(300);
    QCOMPARE(finished.count(), 1);
    QVERIFY(!positions.isEmpty());
}

void tst_NativeAudioPlayer::stopReportsNoEnd()
{
    NativeAudioPlayer player;
    QSignalSpy finished(&player, SIGNAL(finished()));
    player.setMedia(m_strWav);
    player.play();
    player.stop();
    QVERIFY(player.isStopped());
    QTest::qWait(500);
    QCOMPARE(finished.count(), 0);
}

void tst_NativeAudioPlayer::currentFileComesFromSetMediaOnly()
{
    const QString other = m_dir.filePath(QStringLiteral("other.wav"));
    QVERIFY(MediaFixtures::writeWav(other, 100));

    NativeAudioPlayer player;
    QSignalSpy finished(&player, SIGNAL(finished()));
    player.setMedia(m_strWav);
    player.playFile(other);
    QCOMPARE(player.fileName(), m_strWav);
    // playFile starts at once, with no play() of its own.
    QVERIFY(finished.wait(5000));
}

QTEST_GUILESS_MAIN(tst_NativeAudioPlayer)
#include "tst_NativeAudioPlayer.moc"
