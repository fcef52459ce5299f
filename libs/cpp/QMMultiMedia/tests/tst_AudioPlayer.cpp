#include "AudioPlayer.h"
#include "MediaFixtures.h"

#include "QMTest.h"

#include <QElapsedTimer>
#include <QMediaPlayer>
#include <QProcess>
#include <QSettings>
#include <QTimer>

using namespace QMMultiMedia;

namespace {

// A second run of this program that only fetches the player, so that the
// first-use reading of the settings can be watched in a fresh process. It
// shares the parent's temporary HOME and therefore its settings store.
const char kChildVariable[] = "AUDIOPLAYER_CHILD";

int runChild(int argc, char *argv[])
{
    MediaFixtures::useSilentAudioSink();
    QMTest::TestApp app(argc, argv);
    AudioPlayer *player = AudioPlayer::instance();
    const QByteArray step = qgetenv(kChildVariable);
    QTextStream out(stdout);
    out << player->volume() << ' ' << int(player->isMuted());
    if (step == "unmute") {
        player->setMuted(false);
        out << ' ' << player->volume();
    } else if (step == "quit-at-100") {
        player->setVolume(100);
        QMetaObject::invokeMethod(player, "slotSetAboutToQuit");
    }
    out << '\n';
    return 0;
}

// The platform player under the sound player: its state changes are the
// sound starting and stopping.
QMediaPlayer *platformPlayer(AudioPlayer *player)
{
    return player->findChild<QMediaPlayer *>();
}

// The loop's restart timer, the sound player's own.
QTimer *loopTimer(AudioPlayer *player)
{
    return player->findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
}

int startsIn(const QSignalSpy &states)
{
    int n = 0;
    for (const QList<QVariant> &args : states)
        if (args.at(0).value<QMediaPlayer::State>() == QMediaPlayer::PlayingState)
            ++n;
    return n;
}

} // namespace

class tst_AudioPlayer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void isOneObjectThatReadsTheSettingsOnce();
    void firstUseInAFreshProcess_data();
    void firstUseInAFreshProcess();
    void quitHandlerKeepsTheChoiceForTheNextRun();

    void playingOnceTwiceRestartsTheSound();
    void loopRestartsEveryDurationUntilStopped();
    void secondLoopReplacesTheFirst();
    void newLoopEndsTheOldOneBeforeItsWait();
    void soundPlayedOnceAfterALoopDoesNotRepeat();
    void loopOfMediaWithoutDurationPlaysOnce();
    void durationAndRemaining();

private:
    QString childRun(const QByteArray &step);

    QTemporaryDir m_dir;
    QString m_strWav;
    QString m_strSilent;
    QString m_strLong;
};

void tst_AudioPlayer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_strWav = m_dir.filePath(QStringLiteral("bell.wav"));
    QVERIFY(MediaFixtures::writeWav(m_strWav, 250));
    m_strSilent = m_dir.filePath(QStringLiteral("silent.wav"));
    QVERIFY(MediaFixtures::writeWav(m_strSilent, 0));
    m_strLong = m_dir.filePath(QStringLiteral("long.wav"));
    QVERIFY(MediaFixtures::writeWav(m_strLong, 2000));

    QMTest::clearSettings();
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("SoundVolume"), 80.0);
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("SoundMute"), false);
}

void tst_AudioPlayer::cleanup()
{
    AudioPlayer::instance()->slotStop();
}

void tst_AudioPlayer::isOneObjectThatReadsTheSettingsOnce()
{
    AudioPlayer *first = AudioPlayer::instance();
    QCOMPARE(first->volume(), 80.0);
    QVERIFY(!first->isMuted());
    QVERIFY(!first->parent());

    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("SoundVolume"), 30.0);
    QCOMPARE(AudioPlayer::instance(), first);
    QCOMPARE(first->volume(), 80.0);
}

QString tst_AudioPlayer::childRun(const QByteArray &step)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QLatin1String(kChildVariable), QString::fromLatin1(step));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    if (!child.waitForFinished(20000)) {
        child.kill();
        child.waitForFinished();
        return QStringLiteral("child did not finish");
    }
    return QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
}

void tst_AudioPlayer::firstUseInAFreshProcess_data()
{
    QTest::addColumn<QVariant>("storedVolume");
    QTest::addColumn<QVariant>("storedMute");
    QTest::addColumn<QString>("seen");

    // Volume, muted, volume after unmuting.
    QTest::newRow("nothing stored: 0.5 plays silently") << QVariant() << QVariant() << "0 1 50";
    QTest::newRow("80 stored") << QVariant(80.0) << QVariant(false) << "80 0 80";
    QTest::newRow("muted with volume 0") << QVariant(0.0) << QVariant(true) << "0 1 50";
    QTest::newRow("mute without volume 0 gives way") << QVariant(70.0) << QVariant(true) << "70 0 70";
}

void tst_AudioPlayer::firstUseInAFreshProcess()
{
    QFETCH(QVariant, storedVolume);
    QFETCH(QVariant, storedMute);
    QFETCH(QString, seen);

    QMWidgets::App *app = QMWidgets::App::instance();
    QMTest::clearSettings();
    if (storedVolume.isValid())
        app->setSettingsValue(QStringLiteral("SoundVolume"), storedVolume);
    if (storedMute.isValid())
        app->setSettingsValue(QStringLiteral("SoundMute"), storedMute);
    QCOMPARE(childRun("unmute"), seen);
}

void tst_AudioPlayer::quitHandlerKeepsTheChoiceForTheNextRun()
{
    QMTest::clearSettings();
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("SoundVolume"), 40.0);
    QCOMPARE(childRun("quit-at-100"), QStringLiteral("40 0"));

    QMWidgets::App *app = QMWidgets::App::instance();
    app->settings()->sync();
    QCOMPARE(app->settingsValue(QStringLiteral("SoundVolume")).toDouble(), 100.0);
    QCOMPARE(app->settingsValue(QStringLiteral("SoundMute")).toBool(), false);
    QSettings raw(QStringLiteral("Corvane"), QStringLiteral("Zintrop Lite"));
    QCOMPARE(raw.value(QStringLiteral("Zintrop Lite/SoundVolume")).toDouble(), 100.0);
    QVERIFY(raw.contains(QStringLiteral("Zintrop Lite/SoundMute")));

    QCOMPARE(childRun("read"), QStringLiteral("100 0"));
}

// A second play of the same sound in quick succession, while it still
// sounds, starts it again from its beginning: the platform player is stopped
// and started, not merely told to go on playing.
void tst_AudioPlayer::playingOnceTwiceRestartsTheSound()
{
    AudioPlayer *player = AudioPlayer::instance();
    QMediaPlayer *platform = platformPlayer(player);
    QSignalSpy finished(player, SIGNAL(finished()));
    QSignalSpy stopped(player, SIGNAL(stopped()));
    player->play(m_strLong, false);
    QCOMPARE(platform->state(), QMediaPlayer::PlayingState);
    QSignalSpy states(platform, &QMediaPlayer::stateChanged);
    player->play(m_strLong, false);
    QCOMPARE(states.size(), 2);
    QCOMPARE(states.at(0).at(0).value<QMediaPlayer::State>(), QMediaPlayer::StoppedState);
    QCOMPARE(states.at(1).at(0).value<QMediaPlayer::State>(), QMediaPlayer::PlayingState);
    QCOMPARE(player->position(), qint64(0));
    // The first start was cut off: one end only.
    QVERIFY(finished.wait(5000));
    QTest::qWait(300);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(player->fileName(), m_strLong);
    player->stop();
    QCOMPARE(stopped.count(), 0);
}

void tst_AudioPlayer::loopRestartsEveryDurationUntilStopped()
{
    AudioPlayer *player = AudioPlayer::instance();
    QSignalSpy finished(player, SIGNAL(finished()));
    player->play(m_strWav, true);
    QTRY_VERIFY_WITH_TIMEOUT(finished.count() >= 3, 5000);

    player->slotStop();
    QVERIFY(player->isStopped());
    const int atStop = finished.count();
    QTest::qWait(700);
    QCOMPARE(finished.count(), atStop);
}

// Starting a loop while one runs must not leave two restart timers running.
void tst_AudioPlayer::secondLoopReplacesTheFirst()
{
    AudioPlayer *player = AudioPlayer::instance();
    QSignalSpy finished(player, SIGNAL(finished()));
    player->play(m_strWav, true);
    QTest::qWait(120);
    player->play(m_strWav, true);
    finished.clear();
    QTest::qWait(1000);
    player->slotStop();
    // One chain restarts four times in a second, two chains eight times.
    QVERIFY2(finished.count() >= 2 && finished.count() <= 5, qPrintable(QString::number(finished.count())));
}

// A new loop begun just before the old one's restart is due: the old
// restart must not fire while the new sound is being loaded and start a
// second cycle of it.
void tst_AudioPlayer::newLoopEndsTheOldOneBeforeItsWait()
{
    AudioPlayer *player = AudioPlayer::instance();
    player->play(m_strWav, true);
    QTimer *timer = loopTimer(player);
    QVERIFY(timer);
    QVERIFY(timer->isActive());
    // Caught in the last few milliseconds before the restart.
    QElapsedTimer clock;
    clock.start();
    while (!(timer->isActive() && timer->remainingTime() <= 5) && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    QVERIFY(timer->isActive() && timer->remainingTime() <= 5);

    QSignalSpy states(platformPlayer(player), &QMediaPlayer::stateChanged);
    player->play(m_strLong, true);  // loading the new file takes longer than 5 ms
    QCOMPARE(startsIn(states), 1);
    QCOMPARE(player->fileName(), m_strLong);
    // One cycle of the new loop: its restart is a whole length away.
    QVERIFY(timer->isActive());
    QVERIFY2(timer->remainingTime() > 1500, qPrintable(QString::number(timer->remainingTime())));
}

void tst_AudioPlayer::soundPlayedOnceAfterALoopDoesNotRepeat()
{
    AudioPlayer *player = AudioPlayer::instance();
    QSignalSpy finished(player, SIGNAL(finished()));
    player->play(m_strWav, true);
    QTest::qWait(100);
    player->play(m_strWav, false);
    finished.clear();
    QTest::qWait(800);
    QCOMPARE(finished.count(), 1);
}

// Media that never tells its length (a header without samples): the loop's
// wait ends, the sound is started once, and nothing restarts it, neither at
// every pass of the event loop nor later.
void tst_AudioPlayer::loopOfMediaWithoutDurationPlaysOnce()
{
    AudioPlayer *player = AudioPlayer::instance();
    QSignalSpy states(platformPlayer(player), &QMediaPlayer::stateChanged);
    QElapsedTimer clock;
    clock.start();
    player->play(m_strSilent, true);
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(player->fileName(), m_strSilent);
    QVERIFY(!loopTimer(player)->isActive());
    QTest::qWait(500);
    QVERIFY2(startsIn(states) <= 1, qPrintable(QString::number(startsIn(states))));
}

// The fixture holds 2000 samples at 8000 Hz: 250 ms.
void tst_AudioPlayer::durationAndRemaining()
{
    AudioPlayer *player = AudioPlayer::instance();
    player->setMedia(m_strWav);
    const qint64 duration = player->duration();
    QVERIFY2(duration >= 245 && duration <= 255, qPrintable(QString::number(duration)));
    QCOMPARE(player->position(), qint64(0));
    QCOMPARE(player->remaining(), duration);
    player->pause();
    player->setPosition(100);
    QTRY_COMPARE(player->position(), qint64(100));
    const qint64 remaining = player->remaining();
    QVERIFY2(remaining >= 145 && remaining <= 155, qPrintable(QString::number(remaining)));
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet(kChildVariable))
        return runChild(argc, argv);
    QMTest::prepareEnvironment();
    MediaFixtures::useSilentAudioSink();
    QMTest::TestApp app(argc, argv);
    tst_AudioPlayer tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_AudioPlayer.moc"
