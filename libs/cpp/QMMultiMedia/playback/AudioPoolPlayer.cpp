#include "AudioPoolPlayer.h"
#include "AudioPlayersPool.h"

namespace QMMultiMedia {

namespace {

AudioPoolPlayer *s_pInstance = nullptr;

} // namespace

AudioPoolPlayer *AudioPoolPlayer::instance()
{
    if (!s_pInstance)
        s_pInstance = new AudioPoolPlayer(nullptr);
    return s_pInstance;
}

AudioPoolPlayer::AudioPoolPlayer(QObject *parent)
    : QObject(parent)
    , m_pPool(new AudioPlayersPool(-1, this))
{
}

void AudioPoolPlayer::setVolume(int percent)
{
    m_pPool->setVolume(percent);
}

void AudioPoolPlayer::play(const QString &file)
{
    m_pPool->play(file);
}

} // namespace QMMultiMedia
