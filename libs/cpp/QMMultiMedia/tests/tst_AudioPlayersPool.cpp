#include "AudioPlayersPool.h"
#include "AudioPoolPlayer.h"
#include "MediaFixtures.h"
#include "NativeAudioPlayer.h"

#include <QtTest>

using namespace QMMultiMedia;

namespace {

QList<NativeAudioPlayer *> playersOf(QObject *pool)
{
    return pool->findChildren<NativeAudioPlayer *>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

class tst_AudioPlayersPool : public QObject
{
    Q_OBJECT

public:
    tst_AudioPlayersPool() { MediaFixtures::useSilentAudioSink(); }

private slots:
    void initTestCase();

    void newPlayersTakeThePoolVolume();
    void freePlayerGrowsThenReusesTheLastIdle();
    void unboundedPoolPlaysEachSoundOnItsOwnPlayer();
    void unboundedPoolReleasesPlayersOfBadMedia_data();
    void unboundedPoolReleasesPlayersOfBadMedia();
    void boundedPoolDropsRequestsWhileAllPlay();
    void boundedPlayersGoWithThePool();
    void frontEndIsOneUnboundedPool();

private:
    QTemporaryDir m_dir;
    QString m_strWav;
};

void tst_AudioPlayersPool::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (!MediaFixtures::canPlayWav())
        QSKIP("Qt Multimedia cannot play WAV files here (plugins missing)");
    m_strWav = m_dir.filePath(QStringLiteral("click.wav"));
    QVERIFY(MediaFixtures::writeWav(m_strWav, 250));
}

void tst_AudioPlayersPool::newPlayersTakeThePoolVolume()
{
    AudioPlayersPool pool(3);
    NativeAudioPlayer *first = pool.freePlayer();
    QVERIFY(first);
    QCOMPARE(first->volume(), 1.0);
    pool.setVolume(30);
    NativeAudioPlayer *second = pool.freePlayer();
    QCOMPARE(second->volume(), 30.0);
    QCOMPARE(first->volume(), 1.0);
}

void tst_AudioPlayersPool::freePlayerGrowsThenReusesTheLastIdle()
{
    AudioPlayersPool pool(2);
    NativeAudioPlayer *first = pool.freePlayer();
    NativeAudioPlayer *second = pool.freePlayer();
    QVERIFY(first && second && first != second);
    QCOMPARE(playersOf(&pool).size(), 2);

    QCOMPARE(pool.freePlayer(), second);
    second->playFile(m_strWav);
    QCOMPARE(pool.freePlayer(), first);
    first->playFile(m_strWav);
    QCOMPARE(pool.freePlayer(), nullptr);
    QCOMPARE(playersOf(&pool).size(), 2);
}

void tst_AudioPlayersPool::unboundedPoolPlaysEachSoundOnItsOwnPlayer()
{
    AudioPlayersPool pool(0);
    pool.play(m_strWav);
    pool.play(m_strWav);
    pool.play(m_strWav);
    const QList<NativeAudioPlayer *> players = playersOf(&pool);
    QCOMPARE(players.size(), 3);
    int playing = 0;
    for (NativeAudioPlayer *player : players)
        playing += player->isPlaying() ? 1 : 0;
    QCOMPARE(playing, 3);
    QTRY_COMPARE_WITH_TIMEOUT(playersOf(&pool).size(), 0, 10000);
}

void tst_AudioPlayersPool::unboundedPoolReleasesPlayersOfBadMedia_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("missing file") << "missing.wav" << QByteArray();
    QTest::newRow("text named .wav") << "text.wav" << QByteArray("no sound in here\n");
}

// Such media never ends; without the failure report every bad file would
// keep a player and its pipeline for good.
void tst_AudioPlayersPool::unboundedPoolReleasesPlayersOfBadMedia()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);

    const QString path = m_dir.filePath(name);
    if (!bytes.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    AudioPlayersPool pool(-1);
    pool.play(path);
    QTRY_COMPARE_WITH_TIMEOUT(playersOf(&pool).size(), 0, 10000);
}

void tst_AudioPlayersPool::boundedPoolDropsRequestsWhileAllPlay()
{
    AudioPlayersPool pool(2);
    pool.play(m_strWav);
    pool.play(m_strWav);
    const QList<NativeAudioPlayer *> players = playersOf(&pool);
    QCOMPARE(players.size(), 2);
    QSignalSpy firstEnds(players.at(0), SIGNAL(finished()));
    QSignalSpy secondEnds(players.at(1), SIGNAL(finished()));

    pool.play(m_strWav); // both busy: dropped
    QCOMPARE(playersOf(&pool).size(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(firstEnds.count() + secondEnds.count(), 2, 10000);
    QTest::qWait(400);
    QCOMPARE(firstEnds.count() + secondEnds.count(), 2);

    // Bounded players stay and are reused.
    QCOMPARE(playersOf(&pool), players);
    pool.play(m_strWav);
    QTRY_COMPARE_WITH_TIMEOUT(firstEnds.count() + secondEnds.count(), 3, 10000);
    QCOMPARE(playersOf(&pool), players);
}

void tst_AudioPlayersPool::boundedPlayersGoWithThePool()
{
    QPointer<NativeAudioPlayer> player;
    {
        AudioPlayersPool pool(2);
        pool.play(m_strWav);
        player = pool.freePlayer();
        QVERIFY(player);
    }
    QVERIFY(player.isNull());
}

void tst_AudioPlayersPool::frontEndIsOneUnboundedPool()
{
    AudioPoolPlayer *front = AudioPoolPlayer::instance();
    QCOMPARE(AudioPoolPlayer::instance(), front);
    QVERIFY(!front->parent());
    AudioPlayersPool *pool = front->findChild<AudioPlayersPool *>();
    QVERIFY(pool);

    front->play(m_strWav);
    front->setVolume(40);
    front->play(m_strWav);
    const QList<NativeAudioPlayer *> players = playersOf(pool);
    QCOMPARE(players.size(), 2);
    QCOMPARE(players.at(0)->volume(), 1.0);
    QCOMPARE(players.at(1)->volume(), 40.0);
    QTRY_COMPARE_WITH_TIMEOUT(playersOf(pool).size(), 0, 10000);
}

QTEST_GUILESS_MAIN(tst_AudioPlayersPool)
#include "tst_AudioPlayersPool.moc"
