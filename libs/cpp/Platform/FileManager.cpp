#include "FileManager.h"

#include "UrlOpener.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QUrl>

namespace Platform {

bool showItemInFileManager(const QString& strFilePath, int nTimeoutMs)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    const QString strUri = QUrl::fromLocalFile(QFileInfo(strFilePath).absoluteFilePath()).toString(QUrl::FullyEncoded);
    call << QStringList{strUri} << QString();
    const QDBusMessage reply = bus.call(call, QDBus::Block, nTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

bool openFolder(const QString& strFolderPath)
{
    // fromLocalFile, not "file://" + path: a "#" or "?" in a folder name would
    // otherwise start the fragment or the query and name another folder.
    return openUrl(QUrl::fromLocalFile(strFolderPath));
}

}  // namespace Platform
