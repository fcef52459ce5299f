#ifndef QMMULTIMEDIA_NATIVEAUDIOPLAYER_H
#define QMMULTIMEDIA_NATIVEAUDIOPLAYER_H

#include <QObject>
#include <QString>

namespace QMMultiMedia {

class NativeAudioPlayerInternal;

// A thin wrapper around one platform media player that plays one local file
// at a time. Volumes are percentages; positions and durations milliseconds.
// GUI thread only.
class NativeAudioPlayer : public QObject
{
    Q_OBJECT

public:
    explicit NativeAudioPlayer(QObject *parent = nullptr);
    ~NativeAudioPlayer() override;

    // Loads without playing; the path becomes the current file.
    void setMedia(const QString &path);
    // Loads and plays; the current file stays as it was.
    void playFile(const QString &path);
    void play();
    void pause();
    void stop();
    QString fileName() const;

    // Truncated toward zero and kept within 0..100 at the platform player.
    void setVolume(qreal v);
    qreal volume() const;
    bool isMuted() const;
    void setMuted(bool mute);

    void setPosition(qint64 ms);
    qint64 position() const;

    bool isPlaying() const;
    bool isPaused() const;
    bool isStopped() const;

    // The media's duration; runs nested event loops until the platform player
    // reports it. Returns -1 when it reports none: on invalid or missing
    // media, on an error, when no player is available, or after about three
    // seconds.
    qint64 waitForDuration();

signals:
    void finished();
    void positionChanged(qint64);
    // The media given last cannot be played (missing, unreadable, not
    // decodable); emitted once per loading. No finished() follows.
    void failed();

private:
    bool mayStillReportDuration() const;

    NativeAudioPlayerInternal *m_pInternal = nullptr;
    QString m_strFileName;
    // Given back on unmute; the player's initial volume until the first mute.
    double m_dRememberedVolume = 50.0;
};

} // namespace QMMultiMedia

#endif
