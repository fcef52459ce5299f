#include "AudioPlayer.h"
#include "NativeAudioPlayer.h"

#include "App.h"

#include <QTimer>

#include <limits>

namespace QMMultiMedia {

namespace {

AudioPlayer *s_pInstance = nullptr;

// The framework folds the doubled "/" after the application name.
const QString kVolumeKey = QStringLiteral("/SoundVolume");
const QString kMuteKey = QStringLiteral("/SoundMute");
constexpr double kDefaultStoredVolume = 0.5;

QMWidgets::App *application()
{
    QMWidgets::App *app = QMWidgets::App::instance();
    return app && app->inherits("QMWidgets::App") ? app : nullptr;
}

} // namespace

AudioPlayer *AudioPlayer::instance()
{
    if (!s_pInstance) {
        s_pInstance = new AudioPlayer(nullptr);
        bool mute = false;
        qreal volume = kDefaultStoredVolume;
        if (QMWidgets::App *app = application()) {
            mute = app->settingsValue(kMuteKey, false).toBool();
            volume = app->settingsValue(kVolumeKey, kDefaultStoredVolume).toReal();
        }
        s_pInstance->m_pPlayer->setMuted(mute);
        s_pInstance->m_pPlayer->setVolume(volume);
    }
    return s_pInstance;
}

AudioPlayer::AudioPlayer(QObject *parent)
    : QObject(parent)
    , m_pPlayer(new NativeAudioPlayer(this))
    , m_pLoopTimer(new QTimer(this))
{
    m_pLoopTimer->setSingleShot(true);
    connect(m_pLoopTimer, SIGNAL(timeout()), this, SLOT(loopedPlay()));
    connect(m_pPlayer, SIGNAL(finished()), this, SIGNAL(finished()));
    connect(m_pPlayer, SIGNAL(positionChanged(qint64)), this, SIGNAL(positionChanged(qint64)));
}

AudioPlayer::~AudioPlayer()
{
    slotSetAboutToQuit();
    if (s_pInstance == this)
        s_pInstance = nullptr;
}

void AudioPlayer::play(const QString &file, bool looped)
{
    // A pending restart of an earlier loop must not repeat this sound, nor
    // fire inside the duration wait below and start a second cycle.
    endLoop();
    m_pPlayer->setMedia(file);
    if (!looped) {
        m_pPlayer->stop();
        m_pPlayer->play();
        return;
    }
    m_bStopped = false;
    playLoopCycle();
}

void AudioPlayer::playLoopCycle()
{
    const qint64 duration = m_pPlayer->waitForDuration();
    // The wait ran nested event loops: a stop may have come meanwhile.
    if (m_bStopped)
        return;
    if (duration > 0) {
        const qint64 maxMs = std::numeric_limits<int>::max();
        m_pLoopTimer->start(int(duration > maxMs ? maxMs : duration));
    }
    // Without a duration there is nothing to time a loop by, and a zero one
    // would restart at every pass of the event loop: play once.
    m_pPlayer->stop();
    m_pPlayer->play();
}

void AudioPlayer::loopedPlay()
{
    if (!m_bStopped)
        playLoopCycle();
}

void AudioPlayer::endLoop()
{
    m_pLoopTimer->stop();
}

void AudioPlayer::setMedia(const QString &file)
{
    endLoop();
    m_pPlayer->setMedia(file);
}

void AudioPlayer::play() { m_pPlayer->play(); }
void AudioPlayer::pause() { m_pPlayer->pause(); }

void AudioPlayer::stop()
{
    m_bStopped = true;
    endLoop();
    m_pPlayer->stop();
}

void AudioPlayer::slotStop()
{
    stop();
}

void AudioPlayer::setMuted(bool mute) { m_pPlayer->setMuted(mute); }
void AudioPlayer::setVolume(qreal v) { m_pPlayer->setVolume(v); }
qreal AudioPlayer::volume() const { return m_pPlayer->volume(); }
bool AudioPlayer::isMuted() const { return m_pPlayer->isMuted(); }
void AudioPlayer::setPosition(qint64 ms) { m_pPlayer->setPosition(ms); }
qint64 AudioPlayer::position() const { return m_pPlayer->position(); }
bool AudioPlayer::isPlaying() const { return m_pPlayer->isPlaying(); }
bool AudioPlayer::isStopped() const { return m_pPlayer->isStopped(); }
bool AudioPlayer::isPaused() const { return m_pPlayer->isPaused(); }
QString AudioPlayer::fileName() const { return m_pPlayer->fileName(); }

qint64 AudioPlayer::duration()
{
    return m_pPlayer->waitForDuration();
}

qint64 AudioPlayer::remaining()
{
    return duration() - position();
}

void AudioPlayer::slotSetAboutToQuit()
{
    if (QMWidgets::App *app = application()) {
        app->setSettingsValue(kVolumeKey, m_pPlayer->volume());
        app->setSettingsValue(kMuteKey, m_pPlayer->isMuted());
    }
    stop();
}

} // namespace QMMultiMedia
