#include "ScreenGrab.h"

#include <QGuiApplication>
#include <QScreen>

namespace Platform {

namespace {
// Grabs happen on the GUI thread only (pixmaps live there), so the hook
// needs no lock.
ScreenGrabHook& hookRef()
{
    static ScreenGrabHook hook;
    return hook;
}
}  // namespace

QPixmap grabScreenArea(const QRect& area)
{
    if (hookRef())
        return hookRef()(area);
    QScreen* pScreen = QGuiApplication::primaryScreen();
    if (!pScreen)
        return QPixmap();
    // Window 0 is the root window: the whole desktop with every window on it.
    return pScreen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
}

ScreenGrabHook setScreenGrabHook(ScreenGrabHook hook)
{
    ScreenGrabHook previous = hookRef();
    hookRef() = std::move(hook);
    return previous;
}

}  // namespace Platform
