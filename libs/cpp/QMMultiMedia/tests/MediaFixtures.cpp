#include "MediaFixtures.h"

#include <QDataStream>
#include <QFile>
#include <QMediaPlayer>

#include <cmath>

namespace MediaFixtures {

void useSilentAudioSink()
{
    if (qEnvironmentVariableIsEmpty("QT_GSTREAMER_PLAYBIN_AUDIOSINK"))
        qputenv("QT_GSTREAMER_PLAYBIN_AUDIOSINK", "fakesink");
}

bool canPlayWav()
{
    QMediaPlayer probe;
    return probe.availability() == QMultimedia::Available
        && QMediaPlayer::hasSupport(QStringLiteral("audio/x-wav")) != QMultimedia::NotSupported;
}

bool writeWav(const QString &path, int milliseconds)
{
    const quint32 rate = 8000;
    const quint32 frames = rate * quint32(milliseconds) / 1000;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    file.write("RIFF");
    out << quint32(36 + frames * 2);
    file.write("WAVEfmt ");
    out << quint32(16) << quint16(1) << quint16(1) << rate << quint32(rate * 2) << quint16(2) << quint16(16);
    file.write("data");
    out << quint32(frames * 2);
    for (quint32 i = 0; i < frames; ++i)
        out << qint16(8000 * std::sin(double(i) * 0.35));
    return out.status() == QDataStream::Ok;
}

} // namespace MediaFixtures
