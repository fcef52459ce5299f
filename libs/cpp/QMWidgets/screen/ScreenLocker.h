#pragma once

#include <QLabel>

class QPushButton;
class QTimer;

namespace QMWidgets {

// A full-screen, always-on-top label that holds the keyboard and the mouse.
// It locks itself 10 ms after construction and again every 10 ms, taking
// the front and the input back if anything took them; the timer never
// stops. "Unlock" (hidden until showUnlockButton) frees the input and emits
// unlocked(); the owner ends the lock for good by destroying the locker then.
// Its text or picture is the owner's.
class ScreenLocker : public QLabel
{
    Q_OBJECT

public:
    explicit ScreenLocker(QWidget* pParent = nullptr);

    void showUnlockButton();

signals:
    void unlocked();

public slots:
    void slotLock();
    void slotTest();
    void slotCheck();

protected:
    bool event(QEvent* pEvent) override;

private slots:
    void slotFocusChanged(QWidget* pOld, QWidget* pNow);
    void slotReleaseInputDevices();

private:
    QPushButton* m_pUnlockButton = nullptr;
    QTimer* m_pCheckTimer = nullptr;
};

} // namespace QMWidgets
