#include "AudioListPlayer.h"
#include "AudioPlayer.h"

#include <QDir>
#include <QFileInfo>

namespace QMMultiMedia {

namespace {

AudioListPlayer *s_pInstance = nullptr;

AudioPlayer *soundPlayer()
{
    return AudioPlayer::instance();
}

} // namespace

AudioListPlayer *AudioListPlayer::instance()
{
    if (!s_pInstance)
        s_pInstance = new AudioListPlayer(nullptr);
    return s_pInstance;
}

AudioListPlayer::AudioListPlayer(QObject *parent)
    : QObject(parent)
{
    connect(soundPlayer(), SIGNAL(stopped()), this, SIGNAL(stopped()));
    connect(soundPlayer(), SIGNAL(finished()), this, SLOT(slotFinished()));
}

void AudioListPlayer::rebuildPlayOrder()
{
    m_lstPlayOrder.clear();
    for (int i = 0; i < m_lstTracks.size(); ++i)
        m_lstPlayOrder.append(i);
}

void AudioListPlayer::playPosition(int position)
{
    m_nPosition = position;
    m_bActive = true;
    soundPlayer()->play(currentLocalFile(), false);
}

void AudioListPlayer::setList(const QList<QUrl> &tracks)
{
    if (tracks.isEmpty())
        return;
    soundPlayer()->stop();
    m_lstTracks = tracks;
    rebuildPlayOrder();
    playPosition(0);
    emit nextTriggered();
}

void AudioListPlayer::addList(const QList<QUrl> &tracks)
{
    if (tracks.isEmpty())
        return;
    m_lstTracks.append(tracks);
    rebuildPlayOrder();
    emit listChanged();
}

// Local-file URLs, not URL text: '#', '?' and '%' are ordinary characters in
// a file name.
void AudioListPlayer::playFolder(const QDir &folder, const QStringList &nameFilters)
{
    QList<QUrl> tracks;
    const QStringList names = folder.entryList(nameFilters, QDir::Files, QDir::NoSort);
    for (const QString &name : names)
        tracks.append(QUrl::fromLocalFile(folder.absoluteFilePath(name)));
    setList(tracks);
}

int AudioListPlayer::currentPosition() const
{
    return m_nPosition;
}

int AudioListPlayer::currentTrackIndex() const
{
    if (m_nPosition < 0 || m_nPosition >= m_lstPlayOrder.size())
        return -1;
    return m_lstPlayOrder.at(m_nPosition);
}

QUrl AudioListPlayer::currentUrl() const
{
    const int track = currentTrackIndex();
    return track < 0 ? QUrl() : m_lstTracks.at(track);
}

QString AudioListPlayer::currentLocalFile() const
{
    return currentUrl().toLocalFile();
}

// The name as the file system has it, not percent-encoded URL text.
QString AudioListPlayer::currentFileName() const
{
    const QUrl url = currentUrl();
    if (url.isLocalFile())
        return QFileInfo(url.toLocalFile()).fileName();
    return url.fileName();
}

QPixmap AudioListPlayer::coverImage() const
{
    return QPixmap();
}

void AudioListPlayer::setShuffled(bool on) { m_bShuffled = on; }
bool AudioListPlayer::isShuffled() const { return m_bShuffled; }
void AudioListPlayer::setRepeated(bool on) { m_bRepeated = on; }
bool AudioListPlayer::isRepeated() const { return m_bRepeated; }

void AudioListPlayer::play(const QString &file) { soundPlayer()->play(file, false); }
void AudioListPlayer::play() { soundPlayer()->play(); }
void AudioListPlayer::stop() { soundPlayer()->stop(); }
void AudioListPlayer::pause() { soundPlayer()->pause(); }
bool AudioListPlayer::isPlaying() const { return soundPlayer()->isPlaying(); }
bool AudioListPlayer::isStopped() const { return soundPlayer()->isStopped(); }
bool AudioListPlayer::isPaused() const { return soundPlayer()->isPaused(); }
bool AudioListPlayer::isMuted() const { return soundPlayer()->isMuted(); }
qreal AudioListPlayer::volume() const { return soundPlayer()->volume(); }
void AudioListPlayer::setMuted(bool mute) { soundPlayer()->setMuted(mute); }
void AudioListPlayer::setVolume(qreal v) { soundPlayer()->setVolume(v); }

void AudioListPlayer::slotFinished()
{
    // Only the end of the list's own current track moves it on.
    if (!m_bActive || soundPlayer()->fileName() != currentLocalFile())
        return;
    const int next = m_nPosition + 1;
    if (next >= m_lstPlayOrder.size()) {
        m_nPosition = 0;
        m_bActive = false;
        emit finished();
        return;
    }
    playPosition(next);
    emit nextTriggered();
}

void AudioListPlayer::slotPlayNext()
{
    const int next = m_nPosition + 1;
    if (next >= m_lstPlayOrder.size())
        return;
    soundPlayer()->stop();
    playPosition(next);
    emit nextTriggered();
}

void AudioListPlayer::slotPlayPrevious()
{
    if (m_nPosition <= 0 || m_nPosition > m_lstPlayOrder.size())
        return;
    soundPlayer()->stop();
    playPosition(m_nPosition - 1);
    emit previousTriggered();
}

void AudioListPlayer::slotPlayFromList(QUrl url)
{
    for (int p = m_nPosition + 1; p < m_lstPlayOrder.size(); ++p) {
        if (m_lstTracks.at(m_lstPlayOrder.at(p)) == url) {
            playPosition(p);
            emit nextTriggered();
            return;
        }
    }
    for (int p = qMin(m_nPosition, m_lstPlayOrder.size()) - 1; p >= 0; --p) {
        if (m_lstTracks.at(m_lstPlayOrder.at(p)) == url) {
            playPosition(p);
            emit previousTriggered();
            return;
        }
    }
}

} // namespace QMMultiMedia
