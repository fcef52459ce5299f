#pragma once

#include <QPixmap>
#include <QRect>

#include <functional>

namespace Platform {

// Every picture of the desktop is taken through grabScreenArea, so that tests
// can hand in a synthetic desktop instead of whatever the display shows (an
// offscreen platform shows nothing at all).
using ScreenGrabHook = std::function<QPixmap(const QRect&)>;

// The area of the virtual desktop, in device pixels, as the display shows it
// now (on X11 the root window, other programs' windows included), or as the
// installed hook gives it. Empty where the platform offers no grab.
QPixmap grabScreenArea(const QRect& area);

// Installs a hook that answers every grab in place of the display; an empty
// hook restores the display. Returns the previous hook.
ScreenGrabHook setScreenGrabHook(ScreenGrabHook hook);

}  // namespace Platform
