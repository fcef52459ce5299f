#ifndef QMMULTIMEDIA_AUDIOPLAYER_H
#define QMMULTIMEDIA_AUDIOPLAYER_H

#include <QObject>
#include <QString>

class QTimer;

namespace QMMultiMedia {

class NativeAudioPlayer;

// The application's one sound player: created on first use, never deleted.
// Plays a local file once or in a loop and keeps the user's volume and mute
// choice in the application's settings ("SoundVolume", "SoundMute").
// GUI thread only.
class AudioPlayer : public QObject
{
    Q_OBJECT

public:
    // The first call creates the player and hands it the stored mute flag,
    // then the stored volume.
    static AudioPlayer *instance();
    ~AudioPlayer() override;

    // Once: from the beginning, even when the same file is playing. Looped:
    // restarts every duration until a stop; waits in nested event loops
    // until the duration is known.
    void play(const QString &file, bool looped);
    void setMedia(const QString &file);
    void play();
    void pause();
    void stop();

    qreal volume() const;
    bool isMuted() const;
    void setPosition(qint64 ms);
    qint64 position() const;
    bool isPlaying() const;
    bool isStopped() const;
    bool isPaused() const;
    QString fileName() const;

    // Both wait in nested event loops until the duration is known (at most
    // about three seconds); -1 stands for an unknown duration.
    qint64 duration();
    qint64 remaining();

signals:
    void stopped();
    void finished();
    void positionChanged(qint64);

public slots:
    void setMuted(bool mute);
    void setVolume(qreal v);
    void slotStop();

private slots:
    void loopedPlay();
    // Keeps volume and mute in the settings and stops; an application that
    // wants them kept connects it to its quit notification.
    void slotSetAboutToQuit();

private:
    explicit AudioPlayer(QObject *parent = nullptr);
    void playLoopCycle();
    void endLoop();

    NativeAudioPlayer *m_pPlayer = nullptr;
    bool m_bStopped = false;
    // One timer for the loop, so that starting a new loop replaces the
    // pending restart of the old one instead of running beside it.
    QTimer *m_pLoopTimer = nullptr;
};

} // namespace QMMultiMedia

#endif
