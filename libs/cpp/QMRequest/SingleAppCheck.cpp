#include "SingleAppCheck.h"

#include <QDebug>
#include <QLocalServer>
#include <QLocalSocket>

namespace QMRequest {

namespace {
const int kWaitMs = 1000;

QString textUpToZero(const QByteArray& bytes)
{
    const int zero = bytes.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? bytes : bytes.left(zero));
}
} // namespace

SingleAppCheck::SingleAppCheck(const QString& key, QObject* parent)
    : QObject(parent)
    , key(key)
{
    sharedMemory.setKey(key);

    // A segment left by a crashed instance is attached by nobody; attaching
    // and detaching once removes it, while a live instance keeps its own.
    {
        QSharedMemory probe(key);
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
        if (sharedMemory.error() == QSharedMemory::AlreadyExists)
            running = true;
        else
            qDebug() << "Unable to create single instance.";
        return;
    }

    localServer = new QLocalServer(this);
    connect(localServer, SIGNAL(newConnection()), this, SLOT(slotReceiveMessage()));
    // A socket file left by a crashed instance would make listen() fail.
    QLocalServer::removeServer(key);
    // Only this user's later instances may talk to it; another user on the
    // machine must not hand it files to open.
    localServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!localServer->listen(key))
        qDebug() << localServer->errorString();
}

bool SingleAppCheck::isRunning() const
{
    return running;
}

bool SingleAppCheck::sendMessage(const QString& text)
{
    if (!running)
        return false;

    QLocalSocket socket;
    socket.connectToServer(key, QIODevice::WriteOnly);
    if (!socket.waitForConnected(kWaitMs)) {
        qDebug() << socket.errorString();
        return false;
    }
    socket.write(text.toUtf8());
    if (!socket.waitForBytesWritten(kWaitMs)) {
        qDebug() << socket.errorString();
        return false;
    }
    socket.disconnectFromServer();
    return true;
}

void SingleAppCheck::slotReceiveMessage()
{
    QLocalSocket* socket = localServer ? localServer->nextPendingConnection() : nullptr;
    if (!socket)
        return;
    if (!socket->bytesAvailable() && !socket->waitForReadyRead(kWaitMs)) {
        qDebug() << socket->errorString();
        return;
    }
    const QByteArray bytes = socket->readAll();
    emit messageAvailable(textUpToZero(bytes));
    socket->disconnectFromServer();
}

} // namespace QMRequest
