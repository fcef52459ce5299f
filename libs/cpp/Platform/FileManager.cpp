#include "FileManager.h"

#include "UrlOpener.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QFileInfo>
#include <QUrl>

namespace Platform {

namespace {

// An answer that never came in time says nothing about the file manager:
// it may still be starting and will open its window when ready.
bool isLateAnswer(const QDBusError& error)
{
    return error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout
        || error.type() == QDBusError::TimedOut;
}

}  // namespace

bool showItemInFileManager(const QString& strFilePath, std::function<void()> onFailure, int nTimeoutMs)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    const QString strUri = QUrl::fromLocalFile(QFileInfo(strFilePath).absoluteFilePath()).toString(QUrl::FullyEncoded);
    call << QStringList{strUri} << QString();
    const QDBusPendingCall pending = bus.asyncCall(call, nTimeoutMs);
    // A call that could not even be sent has its error already.
    if (pending.isFinished() && pending.isError() && !isLateAnswer(pending.error()))
        return false;
    // Owned by the application object, so a call still pending at exit goes
    // with it.
    auto* pWatcher = new QDBusPendingCallWatcher(pending, QCoreApplication::instance());
    QObject::connect(pWatcher, &QDBusPendingCallWatcher::finished, pWatcher,
                     [onFailure](QDBusPendingCallWatcher* pDone) {
                         if (pDone->isError() && !isLateAnswer(pDone->error()) && onFailure)
                             onFailure();
                         pDone->deleteLater();
                     });
    return true;
}

bool openFolder(const QString& strFolderPath)
{
    // fromLocalFile, not "file://" + path: a "#" or "?" in a folder name would
    // otherwise start the fragment or the query and name another folder.
    return openUrl(QUrl::fromLocalFile(strFolderPath));
}

}  // namespace Platform
