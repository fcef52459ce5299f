#include "ScreenLocker.h"

#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace QMWidgets {

namespace {
constexpr int kCheckIntervalMs = 10;
const Qt::WindowFlags kLockFlags = Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
} // namespace

ScreenLocker::ScreenLocker(QWidget* pParent)
    : QLabel(pParent)
{
    m_pUnlockButton = new QPushButton(QStringLiteral("Unlock"));
    m_pUnlockButton->hide();
    auto* pLayout = new QVBoxLayout;
    pLayout->addWidget(m_pUnlockButton);
    setLayout(pLayout);

    m_pCheckTimer = new QTimer(this);
    m_pCheckTimer->setInterval(kCheckIntervalMs);
    connect(m_pCheckTimer, SIGNAL(timeout()), this, SLOT(slotCheck()));
    connect(m_pUnlockButton, SIGNAL(clicked()), this, SLOT(slotReleaseInputDevices()));
    m_pCheckTimer->start();
}

void ScreenLocker::showUnlockButton()
{
    m_pUnlockButton->show();
}

void ScreenLocker::slotLock()
{
    // Setting flags re-creates the window: only when one is missing, or the
    // locker would flicker at every check. (Qt adds hints of its own, so
    // the flags are never exactly these.)
    const Qt::WindowFlags flags = windowFlags();
    if (windowType() != Qt::Window || !flags.testFlag(Qt::FramelessWindowHint)
        || !flags.testFlag(Qt::WindowStaysOnTopHint))
        setWindowFlags(kLockFlags);
    showFullScreen();
    raise();
    // The button holds the grabs, so that its click still arrives.
    m_pUnlockButton->grabKeyboard();
    m_pUnlockButton->grabMouse();
}

void ScreenLocker::slotTest()
{
    slotLock();
}

void ScreenLocker::slotCheck()
{
    slotLock();
}

bool ScreenLocker::event(QEvent* pEvent)
{
    return QLabel::event(pEvent);
}

void ScreenLocker::slotFocusChanged(QWidget* /*pOld*/, QWidget* /*pNow*/)
{
}

void ScreenLocker::slotReleaseInputDevices()
{
    m_pUnlockButton->releaseKeyboard();
    m_pUnlockButton->releaseMouse();
    emit unlocked();
}

} // namespace QMWidgets
