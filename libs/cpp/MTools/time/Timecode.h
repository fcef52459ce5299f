#pragma once

#include <QString>
#include <QtGlobal>

// Timecode text and conversions between frame, sample and resampled
// positions. The converters truncate toward zero; a result outside the
// signed 64-bit range (or from a rate that is not a number) is INT64_MIN.
namespace MTools {

// HH?MM?SS?FF, each field at least two digits (wider fields print whole).
// The first two separators are ';' for drop frame, else ':'. The last one is
// the same unless rateMark is set; then it is ';' for drop frame, ':' at
// exactly 25 or 30 fps and '+' at any other rate (fps is read only then).
QString formatTimecode(int hours, int minutes, int seconds, int frames, bool dropFrame, float fps,
                       bool rateMark);

// The local date and time as "yyyy-MM-dd_hh:mm:ss:zzz" (23 characters).
QString currentTimeStamp();

// Position kinds of positionToSamples() and samplesToPosition(); any other
// kind passes the value through.
constexpr int kPositionFrames = 2;   // a frame count at fps
constexpr int kPositionSamples = 3;  // samples at another sample rate

// Frames: value * sampleRate / fps (0 at fps 0). Samples: unchanged when the
// rates are equal, 0 when valueRate is 0, else value * sampleRate / valueRate.
qint64 positionToSamples(qint64 value, int kind, float fps, int valueRate, int sampleRate);
// Frames: samples * fps / sampleRate. Samples: unchanged when the rates are
// equal, else samples * targetRate / sampleRate. 0 when sampleRate is 0.
qint64 samplesToPosition(qint64 samples, int kind, float fps, int targetRate, int sampleRate);
// Samples taken from fileRate to sampleRate (truncated; 0 when fileRate is
// 0), then * fps / sampleRate. 0 when sampleRate is 0.
qint64 samplesToFramesResampled(qint64 samples, float fps, int fileRate, int sampleRate);
// frames * sampleRate / fps (truncated; 0 at fps 0), then taken from
// sampleRate to fileRate. 0 when sampleRate is 0.
qint64 framesToSamplesResampled(qint64 frames, float fps, int fileRate, int sampleRate);
// fps * samples / sampleRate; 0 when either rate is 0.
qint64 samplesToFrames(qint64 samples, float fps, unsigned sampleRate);
// frames / fps * sampleRate; 0 at fps 0.
qint64 framesToSamples(qint64 frames, float fps, unsigned sampleRate);

}  // namespace MTools
