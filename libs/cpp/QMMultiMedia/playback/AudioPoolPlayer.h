#ifndef QMMULTIMEDIA_AUDIOPOOLPLAYER_H
#define QMMULTIMEDIA_AUDIOPOOLPLAYER_H

#include <QObject>
#include <QString>

namespace QMMultiMedia {

class AudioPlayersPool;

// The application's front end for overlapping sounds: one unbounded pool,
// created on first use and never deleted. GUI thread only.
class AudioPoolPlayer : public QObject
{
    Q_OBJECT

public:
    static AudioPoolPlayer *instance();

    // Percent, for sounds started from now on (1 until set).
    void setVolume(int percent);
    void play(const QString &file);

private:
    explicit AudioPoolPlayer(QObject *parent = nullptr);

    AudioPlayersPool *m_pPool = nullptr;
};

} // namespace QMMultiMedia

#endif
