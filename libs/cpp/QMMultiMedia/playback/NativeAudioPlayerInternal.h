#ifndef QMMULTIMEDIA_NATIVEAUDIOPLAYERINTERNAL_H
#define QMMULTIMEDIA_NATIVEAUDIOPLAYERINTERNAL_H

#include <QMediaPlayer>
#include <QObject>

namespace QMMultiMedia {

class NativeAudioPlayer;

// Holds the platform player and the last duration it reported, and turns its
// status reports into the wrapper's signals.
class NativeAudioPlayerInternal : public QObject
{
    Q_OBJECT
    friend class NativeAudioPlayer;

public:
    explicit NativeAudioPlayerInternal(QObject *parent = nullptr);

signals:
    void finished();
    void positionChanged(qint64);
    void failed();
    // Something happened that can end a wait for the duration: a duration,
    // a status change or an error.
    void loadingProgressed();

public slots:
    void setDuration(qint64 n);
    void setPosition(qint64 n);
    void setVolume(int n);

private slots:
    void slotMediaStatusChanged(QMediaPlayer::MediaStatus mst);
    void slotError(QMediaPlayer::Error err);

private:
    void markFailed();

    QMediaPlayer *m_pPlayer = nullptr;
    qint64 m_nDuration = -1;
    // Set by an error report, cleared when new media is given: the platform
    // player keeps reporting its last error even after new media loads.
    bool m_bFailed = false;
    // Set by a stop by hand, cleared by the next start: the platform player
    // may still report the end of the playback it was running (its end of
    // stream can be under way), which must not count as played to its end.
    bool m_bStoppedByHand = false;
};

} // namespace QMMultiMedia

#endif
