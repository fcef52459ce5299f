#pragma once

#include <QString>

namespace QMTest {

// Makes the process fit for a headless GUI test. Call before the application
// object exists (QMTEST_APP_MAIN does): offscreen platform, a fresh temporary
// HOME with its own XDG config, data, cache and runtime folders (removed when
// the program ends), a UTF-8 C locale, and bus addresses that lead nowhere,
// so that nothing reaches the user's files, settings, desktop or buses.
void prepareEnvironment();

// The temporary HOME of this test program.
QString temporaryHome();

// Empties the application's settings store and writes it out.
void clearSettings();

}  // namespace QMTest
