#include "SingleAppCheck.h"

#include "PrivateFolder.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <sys/socket.h>
#include <unistd.h>

namespace QMRequest {

namespace {
// A message names files to open: far below this.
constexpr int kMessageLimit = 4 << 20;
// From acceptance to the peer's close. A later instance sends at once and
// closes; even a message at the limit passes a local socket in far less.
constexpr int kReceiveDeadlineMs = 2000;
// The whole exchange on the sending side: connecting, writing, closing.
// Longer than the receiving deadline, so the sender never gives up on a
// message the first instance would still take.
constexpr int kSendDeadlineMs = 3000;

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

    // A later instance has nothing else to do meanwhile, so this side may
    // block, but only so long in all.
    const QDeadlineTimer deadline(kSendDeadlineMs);
    QLocalSocket socket;
    socket.connectToServer(serverName, QIODevice::WriteOnly);
    if (!socket.waitForConnected(int(deadline.remainingTime()))) {
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
        if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) {
            qDebug() << socket.errorString();
            return false;
        }
    }
    // Closing ends the message for the first instance.
    socket.disconnectFromServer();
    return true;
}

void SingleAppCheck::slotReceiveMessage()
{
    // One signal may stand for several connections.
    while (localServer && localServer->hasPendingConnections())
        watchConnection(localServer->nextPendingConnection());
}

// Takes the connection's message without ever waiting for it: the bytes
// gather in the socket's buffer as they arrive, and the message is what is
// there when the peer closes. A connection of another user, one that sends
// more than the limit and one still open at its deadline are cut off with
// nothing taken. Every connection is deleted once it has ended.
void SingleAppCheck::watchConnection(QLocalSocket* socket)
{
    // Before anything the peer sent counts.
    if (!peerIsThisUser(*socket)) {
        qDebug() << "SingleAppCheck: refused a connection of another user";
        socket->abort();
        socket->deleteLater();
        return;
    }

    auto* deadline = new QTimer(socket);
    const auto end = [this, socket, deadline] {
        deadline->stop();
        disconnect(socket, nullptr, this, nullptr);
        const qint64 size = socket->bytesAvailable();
        QByteArray message;
        if (socket->state() != QLocalSocket::ConnectedState && size > 0 && size <= kMessageLimit)
            message = socket->readAll();
        else if (size > kMessageLimit)
            qDebug() << "SingleAppCheck: message too long";
        else if (socket->state() == QLocalSocket::ConnectedState)
            qDebug() << "SingleAppCheck: a peer took too long to send its message";
        socket->abort();
        socket->deleteLater();
        if (!message.isEmpty())
            emit messageAvailable(textUpToZero(message));
    };
    const auto check = [socket, end] {
        if (socket->state() != QLocalSocket::ConnectedState || socket->bytesAvailable() > kMessageLimit)
            end();
    };
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, end);
    connect(socket, &QLocalSocket::readyRead, this, check);
    connect(socket, &QLocalSocket::disconnected, this, check);
    deadline->start(kReceiveDeadlineMs);
    // Bytes, and even the peer's close, may have come before these
    // connections were made.
    check();
}

} // namespace QMRequest
