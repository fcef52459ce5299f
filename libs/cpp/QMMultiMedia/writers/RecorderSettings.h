#ifndef QMMULTIMEDIA_RECORDERSETTINGS_H
#define QMMULTIMEDIA_RECORDERSETTINGS_H

#include <QString>

namespace QMMultiMedia {

// How to record and encode sound; shared by the recorder and the encoder
// front ends. A default value holds the defaults of a new recorder.
struct RecorderSettings
{
    QString m_strFormat = QStringLiteral("WAV");
    int m_nSampleRate = 44100;  // Hz
    int m_nChannels = 2;
    int m_nSampleSize = 16;     // bits
    int m_nBitRate = 128000;    // bits per second
    int m_nQuality = 3;
};

} // namespace QMMultiMedia

#endif
