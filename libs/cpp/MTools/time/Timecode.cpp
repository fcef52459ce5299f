#include "Timecode.h"

#include <QDateTime>

#include <cmath>
#include <limits>

namespace MTools {

namespace {

constexpr qint64 kInvalid = std::numeric_limits<qint64>::min();

// Extended precision keeps counts times rates exact well beyond 2^53.
qint64 truncatedOrInvalid(long double value)
{
    if (!(value >= -9223372036854775808.0L && value < 9223372036854775808.0L))
        return kInvalid;
    return static_cast<qint64>(std::trunc(value));
}

// value * to / from with integer truncation; from must not be 0.
qint64 rescaled(qint64 value, qint64 to, qint64 from)
{
    const __int128 result = static_cast<__int128>(value) * to / from;
    if (result < std::numeric_limits<qint64>::min() || result > std::numeric_limits<qint64>::max())
        return kInvalid;
    return static_cast<qint64>(result);
}

}  // namespace

QString formatTimecode(int hours, int minutes, int seconds, int frames, bool dropFrame, float fps,
                       bool rateMark)
{
    const char separator = dropFrame ? ';' : ':';
    char last = separator;
    if (rateMark && !dropFrame)
        last = (fps == 25.0f || fps == 30.0f) ? ':' : '+';
    return QString::asprintf("%02d%c%02d%c%02d%c%02d", hours, separator, minutes, separator, seconds, last,
                             frames);
}

QString currentTimeStamp()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return QString::asprintf("%04d-%02d-%02d_%02d:%02d:%02d:%03d", date.year(), date.month(), date.day(),
                             time.hour(), time.minute(), time.second(), time.msec());
}

qint64 positionToSamples(qint64 value, int kind, float fps, int valueRate, int sampleRate)
{
    if (kind == kPositionFrames) {
        if (fps == 0.0f)
            return 0;
        return truncatedOrInvalid(static_cast<long double>(value) * sampleRate / fps);
    }
    if (kind == kPositionSamples) {
        if (valueRate == sampleRate)
            return value;
        if (valueRate == 0)
            return 0;
        return rescaled(value, sampleRate, valueRate);
    }
    return value;
}

qint64 samplesToPosition(qint64 samples, int kind, float fps, int targetRate, int sampleRate)
{
    if (kind == kPositionFrames) {
        if (sampleRate == 0)
            return 0;
        return truncatedOrInvalid(static_cast<long double>(samples) * fps / sampleRate);
    }
    if (kind == kPositionSamples) {
        if (targetRate == sampleRate)
            return samples;
        if (sampleRate == 0)
            return 0;
        return rescaled(samples, targetRate, sampleRate);
    }
    return samples;
}

qint64 samplesToFramesResampled(qint64 samples, float fps, int fileRate, int sampleRate)
{
    if (sampleRate == 0)
        return 0;
    qint64 atSampleRate = samples;
    if (fileRate == 0)
        atSampleRate = 0;
    else if (fileRate != sampleRate)
        atSampleRate = rescaled(samples, sampleRate, fileRate);
    if (atSampleRate == kInvalid)
        return kInvalid;
    return truncatedOrInvalid(static_cast<long double>(atSampleRate) * fps / sampleRate);
}

qint64 framesToSamplesResampled(qint64 frames, float fps, int fileRate, int sampleRate)
{
    if (sampleRate == 0)
        return 0;
    const qint64 samples = fps == 0.0f ? 0 : truncatedOrInvalid(static_cast<long double>(frames) * sampleRate / fps);
    if (samples == kInvalid || fileRate == sampleRate)
        return samples;
    return rescaled(samples, fileRate, sampleRate);
}

qint64 samplesToFrames(qint64 samples, float fps, unsigned sampleRate)
{
    if (fps == 0.0f || sampleRate == 0)
        return 0;
    return truncatedOrInvalid(static_cast<long double>(fps) * samples / sampleRate);
}

qint64 framesToSamples(qint64 frames, float fps, unsigned sampleRate)
{
    if (fps == 0.0f)
        return 0;
    // Multiplied before dividing, so that whole results stay whole.
    return truncatedOrInvalid(static_cast<long double>(frames) * sampleRate / fps);
}

}  // namespace MTools
