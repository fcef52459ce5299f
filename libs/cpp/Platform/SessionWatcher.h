#pragma once

#include <QObject>

class QSessionManager;

namespace Platform {

// Turns the desktop's notices about the end of the session and about sleep
// into signals: the session manager's commit request (the session is about
// to end) and logind's PrepareForSleep / PrepareForShutdown on the system
// bus. Without a system bus only the session manager is watched; nothing
// here waits for a bus.
class SessionWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SessionWatcher(QObject* pParent = nullptr);

    // True when logind's signals are being watched.
    bool isWatchingLogind() const;

signals:
    void sessionEnding();
    void suspending();
    void resumed();

private slots:
    void slotCommitDataRequest(QSessionManager& manager);
    void slotPrepareForSleep(bool bStart);
    void slotPrepareForShutdown(bool bStart);

private:
    bool m_bWatchingLogind = false;
};

}  // namespace Platform
