#ifndef QMMULTIMEDIA_AUDIOLISTPLAYER_H
#define QMMULTIMEDIA_AUDIOLISTPLAYER_H

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QUrl>

class QDir;

namespace QMMultiMedia {

// Plays a list of local sound files one after the other through the
// application's sound player, with next, previous and jump. Created on first
// use and never deleted. The list moves on only when its own current track
// ends: other sounds played through the same player leave it alone. With no
// tracks the current track is -1 and the current URL empty. GUI thread only.
class AudioListPlayer : public QObject
{
    Q_OBJECT

public:
    static AudioListPlayer *instance();

    // An empty list changes nothing. Otherwise stops what plays, takes the
    // list and plays its first track.
    void setList(const QList<QUrl> &tracks);
    // An empty list changes nothing. Otherwise appends without touching
    // playback.
    void addList(const QList<QUrl> &tracks);
    // The folder's files that match the filters, in listing order, as the
    // new list.
    void playFolder(const QDir &folder, const QStringList &nameFilters);

    int currentPosition() const;
    int currentTrackIndex() const;
    QUrl currentUrl() const;
    QString currentFileName() const;
    QPixmap coverImage() const;

    // Kept for callers; playback does not read them.
    void setShuffled(bool on);
    bool isShuffled() const;
    void setRepeated(bool on);
    bool isRepeated() const;

    void play(const QString &file);
    void play();
    void stop();
    void pause();
    bool isPlaying() const;
    bool isStopped() const;
    bool isPaused() const;
    bool isMuted() const;
    qreal volume() const;

signals:
    void stopped();
    void finished();
    void nextTriggered();
    void previousTriggered();
    void listChanged();

public slots:
    void setMuted(bool mute);
    void setVolume(qreal v);
    void slotPlayNext();
    void slotPlayPrevious();
    void slotPlayFromList(QUrl url);

private slots:
    void slotFinished();

private:
    explicit AudioListPlayer(QObject *parent = nullptr);
    void rebuildPlayOrder();
    void playPosition(int position);
    QString currentLocalFile() const;

    QList<QUrl> m_lstTracks;
    QList<int> m_lstPlayOrder;
    int m_nPosition = 0;
    bool m_bShuffled = false;
    bool m_bRepeated = false;
    // Set while a track of the list plays or waits to end; the end of any
    // other sound must not restart a list that has run out.
    bool m_bActive = false;
};

} // namespace QMMultiMedia

#endif
