#include "SingleAppCheck.h"

#include "PrivateFolder.h"

#include <QDebug>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

#include <sys/socket.h>
#include <unistd.h>

namespace QMRequest {

namespace {
const int kWaitMs = 1000;
// A message names files to open: far below this.
const int kMessageLimit = 4 << 20;

QString textUpToZero(const QByteArray& bytes)
{
    const int zero = bytes.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? bytes : bytes.left(zero));
}

// Where the guard's socket and key file lie; empty, with the reason, when
// there is no such place.
QString guardFolder(QString* reason)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && MTools::PrivateFolder::isPrivate(runtime))
        return QDir::cleanPath(runtime);
    // The temporary folder is shared: the folder's name holds the user id.
    const MTools::PrivateFolder folder(QDir::tempPath(),
                                       QStringLiteral("SingleAppCheck-") + QString::number(::geteuid()));
    *reason = folder.errorString();
    return folder.path();
}

// true when the other end of the connected socket is a process of this user.
bool peerIsThisUser(const QLocalSocket& socket)
{
    struct ucred peer {};
    socklen_t size = sizeof peer;
    const qintptr fd = socket.socketDescriptor();
    return fd >= 0 && ::getsockopt(int(fd), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof peer
        && peer.uid == ::geteuid();
}
} // namespace

SingleAppCheck::SingleAppCheck(const QString& key, QObject* parent)
    : QObject(parent)
    , key(key)
{
    const QString folder = guardFolder(&errorText);
    if (folder.isEmpty()) {
        qWarning() << "Unable to create single instance." << errorText;
        return;
    }
    serverName = folder + QLatin1Char('/') + key;
    sharedMemory.setNativeKey(serverName + QStringLiteral(".shm"));

    // A segment left by a crashed instance is attached by nobody; attaching
    // and detaching once removes it, while a live instance keeps its own.
    {
        QSharedMemory probe;
        probe.setNativeKey(sharedMemory.nativeKey());
        if (probe.attach())
            probe.detach();
    }

    if (sharedMemory.attach(QSharedMemory::ReadWrite)) {
        running = true;
        return;
    }

    running = false;
    if (!sharedMemory.create(1, QSharedMemory::ReadWrite)) {
        // Another instance created it between our attach and create.
        if (sharedMemory.error() == QSharedMemory::AlreadyExists) {
            running = true;
        } else {
            errorText = sharedMemory.errorString();
            qDebug() << "Unable to create single instance.";
        }
        return;
    }

    localServer = new QLocalServer(this);
    connect(localServer, SIGNAL(newConnection()), this, SLOT(slotReceiveMessage()));
    // A socket file left by a crashed instance would make listen() fail.
    QLocalServer::removeServer(serverName);
    localServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!localServer->listen(serverName)) {
        errorText = QStringLiteral("Unable to listen at %1: %2").arg(serverName, localServer->errorString());
        qWarning() << errorText;
    }
}

bool SingleAppCheck::isRunning() const
{
    return running;
}

bool SingleAppCheck::hasError() const
{
    return !errorText.isEmpty();
}

QString SingleAppCheck::errorString() const
{
    return errorText;
}

bool SingleAppCheck::sendMessage(const QString& text)
{
    if (!running)
        return false;
    const QByteArray bytes = text.toUtf8();
    // An empty text would arrive as no message at all.
    if (bytes.isEmpty())
        return false;
    if (bytes.size() > kMessageLimit) {
        qDebug() << "SingleAppCheck: message too long:" << bytes.size() << "bytes";
        return false;
    }

    QLocalSocket socket;
    socket.connectToServer(serverName, QIODevice::WriteOnly);
    if (!socket.waitForConnected(kWaitMs)) {
        qDebug() << socket.errorString();
        return false;
    }
    if (!peerIsThisUser(socket)) {
        qDebug() << "SingleAppCheck: the server at" << serverName << "belongs to another user";
        socket.abort();
        return false;
    }
    socket.write(bytes);
    // Each wait ends when some bytes went out: wait until all did.
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(kWaitMs)) {
            qDebug() << socket.errorString();
            return false;
        }
    }
    socket.disconnectFromServer();
    return true;
}

void SingleAppCheck::slotReceiveMessage()
{
    QLocalSocket* socket = localServer ? localServer->nextPendingConnection() : nullptr;
    if (!socket)
        return;
    QByteArray message;
    const bool whole = readMessage(socket, &message);
    delete socket;
    if (whole)
        emit messageAvailable(textUpToZero(message));
}

// Reads until the peer closes the connection, each piece within the wait and
// the whole within the limit; false when that fails or nothing came.
bool SingleAppCheck::readMessage(QLocalSocket* socket, QByteArray* message)
{
    if (!peerIsThisUser(*socket)) {
        qDebug() << "SingleAppCheck: refused a connection of another user";
        return false;
    }
    for (;;) {
        message->append(socket->readAll());
        if (message->size() > kMessageLimit) {
            qDebug() << "SingleAppCheck: message too long";
            return false;
        }
        if (socket->state() != QLocalSocket::ConnectedState)
            break;
        if (!socket->waitForReadyRead(kWaitMs) && socket->state() == QLocalSocket::ConnectedState) {
            qDebug() << socket->errorString();
            return false;
        }
    }
    if (message->isEmpty()) {
        qDebug() << socket->errorString();
        return false;
    }
    return true;
}

} // namespace QMRequest
