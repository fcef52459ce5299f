#pragma once

namespace MTools {

// Returns after the milliseconds (0 for negative ones) while the calling
// thread's event loop keeps running: timers, signals and input of this
// thread are delivered meanwhile, so code reached from them may run before
// the wait returns. Needs a thread with an event dispatcher.
void wait(int milliseconds);

}  // namespace MTools
