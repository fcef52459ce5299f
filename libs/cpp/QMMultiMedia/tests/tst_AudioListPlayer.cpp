#include "AudioListPlayer.h"
#include "AudioPlayer.h"
#include "MediaFixtures.h"

#include <QtTest>

using namespace QMMultiMedia;

namespace {

QUrl urlOf(const QString &path)
{
    return QUrl::fromLocalFile(path);
}

} // namespace

class tst_AudioListPlayer : public QObject
{
    Q_OBJECT

public:
    tst_AudioListPlayer() { MediaFixtures::useSilentAudioSink(); }

private slots:
    void initTestCase();
    void cleanup();

    void emptyListIsSafe();
    void emptyListsChangeNothing();
    void playsTheListToItsEnd();
    void otherSoundsDoNotMoveTheList();
    void nextAndPreviousStopAtTheEnds();
    void addListAppendsWithoutTouchingPlayback();
    void jumpToATrack_data();
    void jumpToATrack();
    void playFolderTakesNamesAsTheyAre();
    void optionsAndForwarding();

private:
    QString wav(const QString &name, int ms = 250);

    QTemporaryDir m_dir;
    QString m_strA;
    QString m_strB;
    QString m_strC;
};

QString tst_AudioListPlayer::wav(const QString &name, int ms)
{
    const QString path = m_dir.filePath(name);
    if (!QFile::exists(path))
        MediaFixtures::writeWav(path, ms);
    return path;
}

void tst_AudioListPlayer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (!MediaFixtures::canPlayWav())
        QSKIP("Qt Multimedia cannot play WAV files here (plugins missing)");
    m_strA = wav(QStringLiteral("a.wav"));
    m_strB = wav(QStringLiteral("b.wav"));
    m_strC = wav(QStringLiteral("c.wav"));
}

void tst_AudioListPlayer::cleanup()
{
    AudioListPlayer::instance()->stop();
    QTest::qWait(50);
}

// Runs first: the process-wide player has no tracks yet.
void tst_AudioListPlayer::emptyListIsSafe()
{
    AudioListPlayer *list = AudioListPlayer::instance();
    QCOMPARE(AudioListPlayer::instance(), list);
    QVERIFY(!list->parent());
    QCOMPARE(list->currentPosition(), 0);
    QCOMPARE(list->currentTrackIndex(), -1);
    QVERIFY(list->currentUrl().isEmpty());
    QVERIFY(list->currentFileName().isEmpty());
    QVERIFY(list->coverImage().isNull());

    QSignalSpy next(list, SIGNAL(nextTriggered()));
    QSignalSpy previous(list, SIGNAL(previousTriggered()));
    list->slotPlayNext();
    list->slotPlayPrevious();
    list->slotPlayFromList(urlOf(m_strA));
    QCOMPARE(next.count() + previous.count(), 0);

    // A sound of someone else ends: nothing to advance.
    QSignalSpy finished(list, SIGNAL(finished()));
    QSignalSpy soundEnded(AudioPlayer::instance(), SIGNAL(finished()));
    AudioPlayer::instance()->play(m_strA, false);
    QVERIFY(soundEnded.wait(5000));
    QCOMPARE(finished.count(), 0);
    QCOMPARE(list->currentTrackIndex(), -1);
}

void tst_AudioListPlayer::emptyListsChangeNothing()
{
    AudioListPlayer *list = AudioListPlayer::instance();
    QSignalSpy next(list, SIGNAL(nextTriggered()));
    QSignalSpy changed(list, SIGNAL(listChanged()));
    list->setList({});
    list->addList({});
    QCOMPARE(next.count(), 0);
    QCOMPARE(changed.count(), 0);
}

void tst_AudioListPlayer::playsTheListToItsEnd()
{
    AudioListPlayer *list = AudioListPlayer::instance();
    QSignalSpy next(list, SIGNAL(nextTriggered()));
    QSignalSpy finished(list, SIGNAL(finished()));
    QStringList heard;
    connect(list, &AudioListPlayer::nextTriggered, this,
            [&heard] { heard.append(QFileInfo(AudioPlayer::instance()->fileName()).fileName()); });

    list->setList({urlOf(m_strA), urlOf(m_strB), urlOf(m_strC)});
    QCOMPARE(list->currentPosition(), 0);
    QCOMPARE(list->currentUrl(), urlOf(m_strA));
    QCOMPARE(AudioPlayer::instance()->fileName(), m_strA);
    QVERIFY(finished.wait(10000));

    QCOMPARE(heard, QStringList({"a.wav", "b.wav", "c.wav"}));
    QCOMPARE(next.count(), 3);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(list->currentPosition(), 0);
    QTest::qWait(400);
    QCOMPARE(next.count(), 3);
    disconnect(list, &AudioListPlayer::nextTriggered, this, nullptr);
}

// The application player is shared: the end of a bell played through it
// must neither skip a track nor restart a list that has run out.
void tst_AudioListPlayer::otherSoundsDoNotMoveTheList()
{
    AudioListPlayer *list = AudioListPlayer::instance();
    AudioPlayer *sound = AudioPlayer::instance();
    const QString bell = wav(QStringLiteral("bell.wav"), 150);
    QSignalSpy next(list, SIGNAL(nextTriggered()));
    QSignalSpy finished(list, SIGNAL(finished()));
    QSignalSpy soundEnded(sound, SIGNAL(finished()));

    list->setList({urlOf(m_strA), urlOf(m_strB)});
    sound->play(bell, false); // takes over the player
    QVERIFY(soundEnded.wait(5000));
    QTest::qWait(300);
    QCOMPARE(next.count(), 1);
    QCOMPARE(list->currentPosition(), 0);

    list->slotPlayNext();
    QVERIFY(finished.wait(5000));
    soundEnded.clear();
    sound->play(bell, false);
    QVERIFY(soundEnded.wait(5000));
    QTest::qWait(300);
    QCOMPARE(next.count(), 2);
    QCOMPARE(finished.count(), 1);
    QVERIFY(sound->fileName() == bell);
}

void tst_AudioListPlayer::nextAndPreviousStopAtTheEnds()
{
    AudioListPlayer *list = AudioListPlayer::instance();
    list->setList({urlOf(m_strA), urlOf(m_strB)});
    list->stop();
    QSignalSpy next(list, SIGNAL(nextTriggered()));
    QSignalSpy previous(list, SIGNAL(previousTriggered()));

    list->slotPlayPrevious();
    QCOMPARE(previous.count(), 0);
    list->slotPlayNext();
    QCOMPARE(next.count(), 1);
    QCOMPARE(list->currentPosition(), 1);
    QCOMPARE(AudioPlayer::instance()->fileName(), m_strB);
    list->slotPlayNext();
    QCOMPARE(next.count(), 1);
    QCOMPARE(list->currentPosition(), 1);
    list->slotPlayPrevious();
    QCOMPARE(previous.count(), 1);
    QCOMPARE(list->currentPosition(), 0);
    QCOMPARE(AudioPlayer::instance()->fileName(), m_strA);
}

void tst_AudioListPlayer::addListAppendsWithoutTouchingPlayback()
{
    AudioListPlayer *list = AudioListPlayer::instance();
    list->setList({urlOf(m_strA)});
    QSignalSpy changed(list, SIGNAL(listChanged()));
    QSignalSpy next(list, SIGNAL(nextTriggered()));
    list->addList({urlOf(m_strB), urlOf(m_strC)});
    QCOMPARE(changed.count(), 1);
    QCOMPARE(next.count(), 0);
    QCOMPARE(list->currentPosition(), 0);
    QCOMPARE(AudioPlayer::instance()->fileName(), m_strA);
    list->stop();
    list->slotPlayFromList(urlOf(m_strC));
    QCOMPARE(list->currentPosition(), 2);
}

void tst_AudioListPlayer::jumpToATrack_data()
{
    QTest::addColumn<QStringList>("tracks");
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("signal");

    const QStringList abcb = {"a.wav", "b.wav", "c.wav", "b.wav"};
    QTest::newRow("later track") << abcb << 0 << "c.wav" << 2 << "next";
    QTest::newRow("nearer of two later") << abcb << 0 << "b.wav" << 1 << "next";
    QTest::newRow("earlier track") << abcb << 2 << "a.wav" << 0 << "previous";
    QTest::newRow("later before earlier") << abcb << 2 << "b.wav" << 3 << "next";
    QTest::newRow("nearer of two earlier") << QStringList({"b.wav", "b.wav", "a.wav"}) << 2 << "b.wav" << 1
                                           << "previous";
    QTest::newRow("the current track only") << QStringList({"a.wav", "b.wav"}) << 0 << "a.wav" << 0 << "";
    QTest::newRow("not in the list") << abcb << 1 << "zzz.wav" << 1 << "";
}

void tst_AudioListPlayer::jumpToATrack()
{
    QFETCH(QStringList, tracks);
    QFETCH(int, from);
    QFETCH(QString, target);
    QFETCH(int, position);
    QFETCH(QString, signal);

    AudioListPlayer *list = AudioListPlayer::instance();
    QList<QUrl> urls;
    for (const QString &name : tracks)
        urls.append(urlOf(wav(name)));
    list->setList(urls);
    for (int i = 0; i < from; ++i)
        list->slotPlayNext();
    QCOMPARE(list->currentPosition(), from);

    QSignalSpy next(list, SIGNAL(nextTriggered()));
    QSignalSpy previous(list, SIGNAL(previousTriggered()));
    const QString played = AudioPlayer::instance()->fileName();
    list->slotPlayFromList(urlOf(m_dir.filePath(target)));
    QCOMPARE(list->currentPosition(), position);
    QCOMPARE(next.count(), signal == QLatin1String("next") ? 1 : 0);
    QCOMPARE(previous.count(), signal == QLatin1String("previous") ? 1 : 0);
    if (signal.isEmpty())
        QCOMPARE(AudioPlayer::instance()->fileName(), played);
    else
        QCOMPARE(AudioPlayer::instance()->fileName(), m_dir.filePath(target));
}

// '#', '?' and '%' are plain characters of a file name, not URL syntax.
void tst_AudioListPlayer::playFolderTakesNamesAsTheyAre()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QStringList names = {"a#1.wav", "b?.wav", "c%20d.wav"};
    for (const QString &name : names)
        QVERIFY(MediaFixtures::writeWav(folder.filePath(name), 150));
    QVERIFY(QFile(folder.filePath(QStringLiteral("notes.txt"))).open(QIODevice::WriteOnly));

    AudioListPlayer *list = AudioListPlayer::instance();
    QSignalSpy finished(list, SIGNAL(finished()));
    QStringList heard;
    QStringList shown;
    auto note = [&] {
        heard.append(AudioPlayer::instance()->fileName());
        shown.append(list->currentFileName());
    };
    connect(list, &AudioListPlayer::nextTriggered, this, note);
    list->playFolder(QDir(folder.path()), {QStringLiteral("*.wav")});
    QVERIFY(finished.wait(10000));
    disconnect(list, &AudioListPlayer::nextTriggered, this, nullptr);

    QStringList expected;
    for (const QString &name : names)
        expected.append(folder.filePath(name));
    heard.sort();
    shown.sort();
    QCOMPARE(heard, expected);
    QCOMPARE(shown, names);
}

void tst_AudioListPlayer::optionsAndForwarding()
{
    AudioListPlayer *list = AudioListPlayer::instance();
    QVERIFY(!list->isShuffled());
    QVERIFY(!list->isRepeated());
    list->setShuffled(true);
    list->setRepeated(true);
    QVERIFY(list->isShuffled() && list->isRepeated());
    list->setShuffled(false);
    list->setRepeated(false);

    list->setVolume(70);
    QCOMPARE(list->volume(), 70.0);
    QCOMPARE(AudioPlayer::instance()->volume(), 70.0);
    list->setMuted(true);
    QVERIFY(list->isMuted());
    list->setMuted(false);
    QCOMPARE(list->volume(), 70.0);

    list->play(m_strC);
    QVERIFY(list->isPlaying());
    list->pause();
    QVERIFY(list->isPaused());
    list->stop();
    QVERIFY(list->isStopped());
}

QTEST_MAIN(tst_AudioListPlayer)
#include "tst_AudioListPlayer.moc"
