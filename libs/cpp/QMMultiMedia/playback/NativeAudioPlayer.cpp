#include "NativeAudioPlayer.h"
#include "NativeAudioPlayerInternal.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <cmath>

namespace QMMultiMedia {

namespace {

constexpr int kInitialVolume = 50;
// One step of the duration wait; a report from the player ends it early.
constexpr int kWaitStepMs = 100;
// Media that loads but never tells its duration (a header-only WAV, say) must
// not hang a drop; the platform player re-queries within about a second.
constexpr qint64 kMaxWaitMs = 3000;

// Float clamp first: converting an out-of-range double to int is undefined.
int platformVolume(qreal v)
{
    if (std::isnan(v) || v <= 0.0)
        return 0;
    if (v >= 100.0)
        return 100;
    return int(v);
}

} // namespace

NativeAudioPlayerInternal::NativeAudioPlayerInternal(QObject *parent)
    : QObject(parent)
{
}

void NativeAudioPlayerInternal::setDuration(qint64 n)
{
    m_nDuration = n;
    emit loadingProgressed();
}

void NativeAudioPlayerInternal::setPosition(qint64 n)
{
    m_pPlayer->setPosition(n);
}

void NativeAudioPlayerInternal::setVolume(int n)
{
    m_pPlayer->setVolume(qMin(n, 100));
}

void NativeAudioPlayerInternal::slotMediaStatusChanged(QMediaPlayer::MediaStatus mst)
{
    if (mst == QMediaPlayer::EndOfMedia && !m_bStoppedByHand)
        emit finished();
    else if (mst == QMediaPlayer::InvalidMedia)
        markFailed();
    emit loadingProgressed();
}

void NativeAudioPlayerInternal::slotError(QMediaPlayer::Error)
{
    markFailed();
    emit loadingProgressed();
}

// The platform player may report one failure both as an error and as invalid
// media; listeners hear of it once.
void NativeAudioPlayerInternal::markFailed()
{
    if (m_bFailed)
        return;
    m_bFailed = true;
    emit failed();
}

NativeAudioPlayer::NativeAudioPlayer(QObject *parent)
    : QObject(parent)
    , m_pInternal(new NativeAudioPlayerInternal(this))
{
    qRegisterMetaType<QMediaPlayer::MediaStatus>("QMediaPlayer::MediaStatus");
    qRegisterMetaType<QMediaPlayer::Error>("QMediaPlayer::Error");

    QMediaPlayer *player = new QMediaPlayer(m_pInternal);
    m_pInternal->m_pPlayer = player;
    connect(player, SIGNAL(positionChanged(qint64)), m_pInternal, SIGNAL(positionChanged(qint64)));
    connect(player, SIGNAL(durationChanged(qint64)), m_pInternal, SLOT(setDuration(qint64)));
    connect(player, SIGNAL(mediaStatusChanged(QMediaPlayer::MediaStatus)),
            m_pInternal, SLOT(slotMediaStatusChanged(QMediaPlayer::MediaStatus)));
    connect(player, SIGNAL(error(QMediaPlayer::Error)), m_pInternal, SLOT(slotError(QMediaPlayer::Error)));
    player->setVolume(kInitialVolume);

    connect(m_pInternal, SIGNAL(finished()), this, SIGNAL(finished()));
    connect(m_pInternal, SIGNAL(positionChanged(qint64)), this, SIGNAL(positionChanged(qint64)));
    connect(m_pInternal, SIGNAL(failed()), this, SIGNAL(failed()));
}

NativeAudioPlayer::~NativeAudioPlayer() = default;

void NativeAudioPlayer::setMedia(const QString &path)
{
    m_strFileName = path;
    m_pInternal->m_bFailed = false;
    m_pInternal->m_pPlayer->setMedia(QUrl::fromLocalFile(path));
    m_pInternal->m_nDuration = -1;
}

void NativeAudioPlayer::playFile(const QString &path)
{
    m_pInternal->m_bFailed = false;
    m_pInternal->m_bStoppedByHand = false;
    m_pInternal->m_pPlayer->setMedia(QUrl::fromLocalFile(path));
    m_pInternal->m_nDuration = -1;
    m_pInternal->m_pPlayer->play();
}

void NativeAudioPlayer::play()
{
    m_pInternal->m_bStoppedByHand = false;
    m_pInternal->m_pPlayer->play();
}

void NativeAudioPlayer::pause() { m_pInternal->m_pPlayer->pause(); }

void NativeAudioPlayer::stop()
{
    m_pInternal->m_bStoppedByHand = true;
    m_pInternal->m_pPlayer->stop();
}

QString NativeAudioPlayer::fileName() const { return m_strFileName; }

void NativeAudioPlayer::setVolume(qreal v)
{
    m_pInternal->setVolume(platformVolume(v));
}

qreal NativeAudioPlayer::volume() const
{
    return qreal(m_pInternal->m_pPlayer->volume());
}

bool NativeAudioPlayer::isMuted() const
{
    return m_pInternal->m_pPlayer->volume() <= 0;
}

void NativeAudioPlayer::setMuted(bool mute)
{
    if (mute) {
        // A second mute would otherwise remember the silence and lose the
        // volume to come back to.
        if (!isMuted())
            m_dRememberedVolume = volume();
        m_pInternal->setVolume(0);
    } else if (isMuted()) {
        // Unmuting a player that is not muted keeps the volume it has.
        m_pInternal->setVolume(platformVolume(m_dRememberedVolume));
    }
}

void NativeAudioPlayer::setPosition(qint64 ms) { m_pInternal->setPosition(ms); }
qint64 NativeAudioPlayer::position() const { return m_pInternal->m_pPlayer->position(); }

bool NativeAudioPlayer::isPlaying() const
{
    return m_pInternal->m_pPlayer->state() == QMediaPlayer::PlayingState;
}

bool NativeAudioPlayer::isPaused() const
{
    return m_pInternal->m_pPlayer->state() == QMediaPlayer::PausedState;
}

bool NativeAudioPlayer::isStopped() const
{
    return m_pInternal->m_pPlayer->state() == QMediaPlayer::StoppedState;
}

bool NativeAudioPlayer::mayStillReportDuration() const
{
    const QMediaPlayer *player = m_pInternal->m_pPlayer;
    if (player->availability() != QMultimedia::Available || m_pInternal->m_bFailed)
        return false;
    switch (player->mediaStatus()) {
    case QMediaPlayer::NoMedia:
    case QMediaPlayer::InvalidMedia:
    case QMediaPlayer::UnknownMediaStatus:
        return false;
    default:
        return true;
    }
}

qint64 NativeAudioPlayer::waitForDuration()
{
    // The nested loops may run a slot that destroys this player.
    QPointer<NativeAudioPlayerInternal> internal(m_pInternal);
    QElapsedTimer clock;
    clock.start();
    while (internal && internal->m_nDuration < 0) {
        if (!mayStillReportDuration() || clock.elapsed() >= kMaxWaitMs)
            return -1;
        QEventLoop loop;
        QTimer::singleShot(kWaitStepMs, &loop, SLOT(quit()));
        connect(internal.data(), SIGNAL(loadingProgressed()), &loop, SLOT(quit()));
        loop.exec();
    }
    return internal ? internal->m_nDuration : -1;
}

} // namespace QMMultiMedia
