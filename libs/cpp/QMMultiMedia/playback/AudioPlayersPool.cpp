#include "AudioPlayersPool.h"
#include "NativeAudioPlayer.h"

namespace QMMultiMedia {

AudioPlayersPool::AudioPlayersPool(int maximum, QObject *parent)
    : QObject(parent)
    , m_nMaximum(maximum)
{
}

void AudioPlayersPool::setVolume(int percent)
{
    m_nVolume = percent;
}

// Players are children of the pool, so a pool that goes away takes them
// along instead of leaving their pipelines running.
NativeAudioPlayer *AudioPlayersPool::createPlayer()
{
    NativeAudioPlayer *player = new NativeAudioPlayer(this);
    player->setVolume(qreal(m_nVolume));
    m_lstPlayers.append(player);
    return player;
}

void AudioPlayersPool::play(const QString &file)
{
    if (m_nMaximum > 0) {
        if (NativeAudioPlayer *player = freePlayer())
            player->playFile(file);
        return;
    }
    NativeAudioPlayer *player = createPlayer();
    // Media that cannot be played never ends: release its player on the
    // failure as well, or every bad file would keep one alive.
    connect(player, SIGNAL(finished()), this, SLOT(slotPlayerFinished()));
    connect(player, SIGNAL(failed()), this, SLOT(slotPlayerFinished()));
    player->playFile(file);
}

NativeAudioPlayer *AudioPlayersPool::freePlayer()
{
    if (m_lstPlayers.size() < m_nMaximum)
        return createPlayer();
    NativeAudioPlayer *idle = nullptr;
    for (NativeAudioPlayer *player : qAsConst(m_lstPlayers)) {
        if (!player->isPlaying())
            idle = player;
    }
    return idle;
}

void AudioPlayersPool::slotPlayerFinished()
{
    NativeAudioPlayer *player = qobject_cast<NativeAudioPlayer *>(sender());
    if (!player || !m_lstPlayers.removeOne(player))
        return;
    player->deleteLater();
}

} // namespace QMMultiMedia
