#include "LoopbackHttpServer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 206: return "Partial Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 303: return "See Other";
    case 304: return "Not Modified";
    case 307: return "Temporary Redirect";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

QString pathOf(const QString& target)
{
    const int q = target.indexOf(QLatin1Char('?'));
    const QString path = q < 0 ? target : target.left(q);
    return QUrl::fromPercentEncoding(path.toUtf8());
}

quint32 crc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray littleEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((value >> (8 * i)) & 0xFF);
    return bytes;
}

} // namespace

LoopbackHttpServer::LoopbackHttpServer(QObject* parent)
    : QObject(parent)
    , m_pServer(new QTcpServer(this))
{
    m_defaultReply.status = 404;
    m_defaultReply.body = "not found";
    connect(m_pServer, &QTcpServer::newConnection, this, &LoopbackHttpServer::onNewConnection);
    m_pServer->listen(QHostAddress::LocalHost, 0);
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    close();
}

bool LoopbackHttpServer::isListening() const
{
    return m_pServer->isListening();
}

quint16 LoopbackHttpServer::port() const
{
    return m_pServer->serverPort();
}

QString LoopbackHttpServer::baseUrl() const
{
    return QStringLiteral("http://") + hostAndPort();
}

QString LoopbackHttpServer::hostAndPort() const
{
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

QString LoopbackHttpServer::url(const QString& path) const
{
    return baseUrl() + path;
}

void LoopbackHttpServer::setReply(const QString& path, const Reply& reply)
{
    m_replies.insert(path, reply);
}

void LoopbackHttpServer::setResponse(const QString& path, int status, const QByteArray& body)
{
    Reply r;
    r.status = status;
    r.body = body;
    setReply(path, r);
}

void LoopbackHttpServer::setRedirect(const QString& path, const QString& location, int status)
{
    Reply r;
    r.status = status;
    r.location = location.toUtf8();
    r.body = "moved";
    setReply(path, r);
}

void LoopbackHttpServer::setDelayed(const QString& path, int delayMs, const QByteArray& body)
{
    Reply r;
    r.body = body;
    r.delayMs = delayMs;
    setReply(path, r);
}

void LoopbackHttpServer::setSilent(const QString& path)
{
    Reply r;
    r.silent = true;
    setReply(path, r);
}

void LoopbackHttpServer::setCloseWithoutAnswer(const QString& path)
{
    Reply r;
    r.closeWithoutAnswer = true;
    setReply(path, r);
}

void LoopbackHttpServer::setDefaultReply(const Reply& reply)
{
    m_defaultReply = reply;
}

QStringList LoopbackHttpServer::requestLines() const
{
    return m_requestLines;
}

QStringList LoopbackHttpServer::requestedTargets() const
{
    return m_targets;
}

int LoopbackHttpServer::requestCount(const QString& path) const
{
    int n = 0;
    for (const QString& t : m_targets) {
        if (t == path || pathOf(t) == path)
            ++n;
    }
    return n;
}

void LoopbackHttpServer::clearLog()
{
    m_requestLines.clear();
    m_targets.clear();
}

void LoopbackHttpServer::close()
{
    m_pServer->close();
    const auto sockets = m_pending.keys();
    m_pending.clear();
    for (QTcpSocket* s : sockets) {
        s->abort();
        s->deleteLater();
    }
}

void LoopbackHttpServer::onNewConnection()
{
    while (QTcpSocket* socket = m_pServer->nextPendingConnection()) {
        m_pending.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
    }
}

void LoopbackHttpServer::onReadyRead(QTcpSocket* socket)
{
    auto it = m_pending.find(socket);
    if (it == m_pending.end())
        return;
    it.value() += socket->readAll();
    const int headerEnd = it.value().indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;  // request head not complete yet

    const QByteArray head = it.value().left(headerEnd);
    it.value().clear();
    const QByteArray requestLine = head.left(head.indexOf("\r\n") < 0 ? head.size() : head.indexOf("\r\n"));
    const QList<QByteArray> parts = requestLine.split(' ');
    const QString target = parts.size() >= 2 ? QString::fromLatin1(parts.at(1)) : QString();
    m_requestLines << QString::fromLatin1(requestLine);
    m_targets << target;
    emit requestReceived(target);

    const Reply reply = replyFor(target);
    if (reply.closeWithoutAnswer) {
        socket->disconnectFromHost();
        return;
    }
    if (reply.silent)
        return;
    if (reply.delayMs > 0) {
        QPointer<QTcpSocket> guarded(socket);
        QTimer::singleShot(reply.delayMs, this, [this, guarded, reply] {
            if (guarded && m_pending.contains(guarded.data()))
                answer(guarded.data(), reply);
        });
        return;
    }
    answer(socket, reply);
}

void LoopbackHttpServer::answer(QTcpSocket* socket, const Reply& reply)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
    out += "Content-Type: " + reply.contentType + "\r\n";
    if (!reply.location.isEmpty())
        out += "Location: " + reply.location + "\r\n";
    if (!reply.omitContentLength)
        out += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    out += reply.headers;
    out += "Connection: close\r\n\r\n";
    if (reply.dripIntervalMs > 0 && !reply.body.isEmpty()) {
        socket->write(out);
        sendDrip(socket, reply);
        return;
    }
    out += reply.body;
    socket->write(out);
    if (reply.fillerBytes > 0)
        sendFiller(socket, reply.fillerBytes);
    else
        socket->disconnectFromHost();  // flushes, then closes
}

// The clock is the connection's child, so it stops with a client that leaves.
void LoopbackHttpServer::sendDrip(QTcpSocket* socket, const Reply& reply)
{
    auto* clock = new QTimer(socket);
    auto sent = std::make_shared<int>(0);
    const QByteArray body = reply.body;
    const int pieceBytes = qMax(1, reply.dripBytes);
    connect(clock, &QTimer::timeout, socket, [socket, clock, body, sent, pieceBytes] {
        socket->write(body.mid(*sent, pieceBytes));
        *sent += pieceBytes;
        if (*sent >= body.size()) {
            clock->stop();
            socket->disconnectFromHost();
        }
    });
    clock->start(reply.dripIntervalMs);
}

// Writes a piece whenever the last one has gone, so that the server holds
// little of the filler at any time.
void LoopbackHttpServer::sendFiller(QTcpSocket* socket, qint64 bytes)
{
    const qint64 pieceBytes = 64 * 1024;
    auto left = std::make_shared<qint64>(bytes);
    auto feed = [socket, left, pieceBytes] {
        if (*left <= 0 || socket->bytesToWrite() > 0)
            return;
        const qint64 n = qMin(*left, pieceBytes);
        *left -= n;
        socket->write(QByteArray(int(n), 'x'));
    };
    connect(socket, &QTcpSocket::bytesWritten, socket, feed);
    feed();
}

LoopbackHttpServer::Reply LoopbackHttpServer::replyFor(const QString& target) const
{
    auto it = m_replies.constFind(target);
    if (it != m_replies.constEnd())
        return it.value();
    it = m_replies.constFind(pathOf(target));
    if (it != m_replies.constEnd())
        return it.value();
    return m_defaultReply;
}

// qCompress gives a 4-byte size, a 2-byte zlib head, the deflate data and a
// 4-byte check; gzip wraps the same deflate data in its own head and tail.
QByteArray LoopbackHttpServer::gzip(const QByteArray& data)
{
    const QByteArray zlib = qCompress(data, 9);
    QByteArray out("\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\xff", 10);
    out += zlib.mid(6, zlib.size() - 10);
    out += littleEndian32(crc32(data));
    out += littleEndian32(quint32(data.size()));
    return out;
}

LoopbackHttpServer::OversizedReplies LoopbackHttpServer::oversized(const QByteArray& start)
{
    OversizedReplies replies;
    replies.sized.body = start + QByteArray(1024 * 1024, 'x');
    replies.gzip.body = gzip(start + QByteArray(16 * 1024 * 1024, ' '));
    replies.gzip.headers = "Content-Encoding: gzip\r\n";
    replies.endless.body = start;
    replies.endless.omitContentLength = true;
    replies.endless.fillerBytes = 32 * 1024 * 1024;
    return replies;
}

LoopbackHttpServer::Reply LoopbackHttpServer::dripping(const QByteArray& body, int intervalMs,
                                                       bool announceLength, int pieceBytes)
{
    Reply reply;
    reply.body = body;
    reply.dripIntervalMs = intervalMs;
    reply.dripBytes = pieceBytes;
    reply.omitContentLength = !announceLength;
    return reply;
}
