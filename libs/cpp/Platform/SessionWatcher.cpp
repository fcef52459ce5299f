#include "SessionWatcher.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QSessionManager>

namespace Platform {

namespace {
const char* const kLogindService = "org.freedesktop.login1";
const char* const kLogindPath = "/org/freedesktop/login1";
const char* const kLogindManager = "org.freedesktop.login1.Manager";
}  // namespace

SessionWatcher::SessionWatcher(QObject* pParent)
    : QObject(pParent)
{
    if (auto* pGuiApp = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(pGuiApp, &QGuiApplication::commitDataRequest, this, &SessionWatcher::slotCommitDataRequest,
                Qt::DirectConnection);
    }

    QDBusConnection systemBus = QDBusConnection::systemBus();
    if (systemBus.isConnected()) {
        const bool bSleep = systemBus.connect(QLatin1String(kLogindService), QLatin1String(kLogindPath),
                                              QLatin1String(kLogindManager), QStringLiteral("PrepareForSleep"),
                                              this, SLOT(slotPrepareForSleep(bool)));
        const bool bShutdown = systemBus.connect(QLatin1String(kLogindService), QLatin1String(kLogindPath),
                                                 QLatin1String(kLogindManager), QStringLiteral("PrepareForShutdown"),
                                                 this, SLOT(slotPrepareForShutdown(bool)));
        m_bWatchingLogind = bSleep || bShutdown;
    }
}

bool SessionWatcher::isWatchingLogind() const
{
    return m_bWatchingLogind;
}

void SessionWatcher::slotCommitDataRequest(QSessionManager&)
{
    emit sessionEnding();
}

void SessionWatcher::slotPrepareForSleep(bool bStart)
{
    if (bStart)
        emit suspending();
    else
        emit resumed();
}

void SessionWatcher::slotPrepareForShutdown(bool bStart)
{
    if (bStart)
        emit sessionEnding();
}

}  // namespace Platform
