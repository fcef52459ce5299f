#ifndef QMMULTIMEDIA_AUDIOPLAYERSPOOL_H
#define QMMULTIMEDIA_AUDIOPLAYERSPOOL_H

#include <QList>
#include <QObject>
#include <QString>

namespace QMMultiMedia {

class NativeAudioPlayer;

// Plays sounds that may overlap (clicks, alerts), each on a platform player of
// its own. A bounded pool keeps at most `maximum` players and reuses idle
// ones, dropping a request when all are busy; an unbounded pool (maximum 0 or
// less) gives every sound a fresh player and releases it when the sound ends
// or cannot be played. The pool owns its players. GUI thread only.
class AudioPlayersPool : public QObject
{
    Q_OBJECT

public:
    explicit AudioPlayersPool(int maximum, QObject *parent = nullptr);

    // Percent, for players created from now on; existing players keep theirs.
    void setVolume(int percent);
    void play(const QString &file);
    // A player to play on: a new one while the pool is below its maximum,
    // else the last one in the list that is not playing; null when every
    // player plays (or there is none).
    NativeAudioPlayer *freePlayer();

private slots:
    void slotPlayerFinished();

private:
    NativeAudioPlayer *createPlayer();

    QList<NativeAudioPlayer *> m_lstPlayers;
    int m_nMaximum = 0;
    // Close to silent, as pools have always started.
    int m_nVolume = 1;
};

} // namespace QMMultiMedia

#endif
