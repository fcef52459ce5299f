#include "AudioIO.h"

#include <QDebug>

namespace QMMultiMedia {

AudioIO::AudioIO()
    : m_settings(48000, 2, MuLaw, 16)
{
}

AudioIO::~AudioIO() = default;

Settings& AudioIO::settings()
{
    return m_settings;
}

void AudioIO::setSettings(const Settings& settings)
{
    m_settings = settings;
}

void AudioIO::dumpInfo()
{
    qDebug() << "AudioIO";
}

const char* AudioIO::name() const
{
    return "AudioIO";
}

}  // namespace QMMultiMedia
