#include "AudioPlayer.h"
#include "MediaFixtures.h"

#include "QMTest.h"

#include <QProcess>
#include <QSettings>

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
    void soundPlayedOnceAfterALoopDoesNotRepeat();
    void loopOfMediaWithoutDurationPlaysOnce();
    void durationAndRemaining();

private:
    QString childRun(const QByteArray &step);

    QTemporaryDir m_dir;
    QString m_strWav;
    QString m_strSilent;
};

void tst_AudioPlayer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_strWav = m_dir.filePath(QStringLiteral("bell.wav"));
    QVERIFY(MediaFixtures::writeWav(m_strWav, 250));
    m_strSilent = m_dir.filePath(QStringLiteral("silent.wav"));
    QVERIFY(MediaFixtures::writeWav(m_strSilent, 0));

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

void tst_AudioPlayer::playingOnceTwiceRestartsTheSound()
{
    AudioPlayer *player = AudioPlayer::instance();
    QSignalSpy finished(player, SIGNAL(finished()));
    QSignalSpy stopped(player, SIGNAL(stopped()));
    player->play(m_strWav, false);
    QVERIFY(finished.wait(5000));
    player->play(m_strWav, false);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 5000);
    QCOMPARE(player->fileName(), m_strWav);
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

void tst_AudioPlayer::loopOfMediaWithoutDurationPlaysOnce()
{
    AudioPlayer *player = AudioPlayer::instance();
    player->play(m_strSilent, true); // returns: the duration wait is bounded
    QCOMPARE(player->fileName(), m_strSilent);
    QSignalSpy finished(player, SIGNAL(finished()));
    player->play(m_strWav, false);
    QVERIFY(finished.wait(5000));
    QTest::qWait(500);
    QCOMPARE(finished.count(), 1);
}

void tst_AudioPlayer::durationAndRemaining()
{
    AudioPlayer *player = AudioPlayer::instance();
    player->setMedia(m_strWav);
    const qint64 duration = player->duration();
    QVERIFY2(duration >= 240 && duration <= 260, qPrintable(QString::number(duration)));
    QCOMPARE(player->remaining(), duration - player->position());
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
