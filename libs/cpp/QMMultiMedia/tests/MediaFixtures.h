#ifndef QMMULTIMEDIA_TESTS_MEDIAFIXTURES_H
#define QMMULTIMEDIA_TESTS_MEDIAFIXTURES_H

#include <QString>

namespace MediaFixtures {

// Makes the platform player play into a sink that needs no sound card. Call
// before the first player is created.
void useSilentAudioSink();

// True when Qt Multimedia can play WAV files here (plugin and GStreamer
// elements installed).
bool canPlayWav();

// A 16-bit mono PCM WAV of the given length at 8000 Hz; frames = 0 gives a
// file that has a header and no samples.
bool writeWav(const QString &path, int milliseconds);

} // namespace MediaFixtures

#endif
