#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class QTcpServer;
class QTcpSocket;

// A tiny HTTP/1.1 server on 127.0.0.1 with an ephemeral port, for tests that
// must exercise real network code without leaving the machine. Every path can
// be scripted: status, body, a delay, a redirect, silence, a body that drips
// in slowly, or a connection that is closed without any answer. Unscripted
// paths get 404.
//
// It runs on the thread that created it; a client that waits in a nested
// event loop on the same thread is served during that wait.
class LoopbackHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Reply
    {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "text/plain; charset=utf-8";
        QByteArray location;       // sent as "Location" when not empty
        int delayMs = 0;           // answer this much later
        bool silent = false;       // never answer (keep the connection open)
        bool closeWithoutAnswer = false;
        bool omitContentLength = false;  // size unknown to the client
        QByteArray headers;        // more header lines, each ending in "\r\n"
        // After the body, this many filler bytes follow as fast as the client
        // takes them; then the connection stays open, so that the answer
        // never ends.
        qint64 fillerBytes = 0;
        // When set, the head goes at once and the body follows in pieces of
        // dripBytes, one every dripIntervalMs; the connection closes after
        // the last piece.
        int dripIntervalMs = 0;
        int dripBytes = 1;
    };

    explicit LoopbackHttpServer(QObject* parent = nullptr);
    ~LoopbackHttpServer() override;

    bool isListening() const;
    quint16 port() const;
    // "http://127.0.0.1:<port>"
    QString baseUrl() const;
    // "127.0.0.1:<port>", a server address without a scheme
    QString hostAndPort() const;
    QString url(const QString& path) const;

    // The path is matched against the request target exactly (query
    // included), then against its decoded path without the query.
    void setReply(const QString& path, const Reply& reply);
    void setResponse(const QString& path, int status, const QByteArray& body);
    void setRedirect(const QString& path, const QString& location, int status = 302);
    void setDelayed(const QString& path, int delayMs, const QByteArray& body);
    void setSilent(const QString& path);
    void setCloseWithoutAnswer(const QString& path);
    void setDefaultReply(const Reply& reply);

    // Request lines as received, e.g. "GET /a?b=1 HTTP/1.1".
    QStringList requestLines() const;
    // Request targets (path and query, still percent-encoded).
    QStringList requestedTargets() const;
    int requestCount(const QString& path) const;
    void clearLog();

    // Stops listening and drops every open connection.
    void close();

    // The data in gzip form, for a body sent with "Content-Encoding: gzip".
    static QByteArray gzip(const QByteArray& data);

    // Three answers that each outgrow a client's size limit in their own
    // way, all beginning with the same bytes.
    struct OversizedReplies
    {
        Reply sized;    // over 1 MiB, its length announced
        Reply gzip;     // 16 KiB on the wire that inflate to 16 MiB
        Reply endless;  // its length never told, its filler never ending
    };
    static OversizedReplies oversized(const QByteArray& start);

    // The body in pieces of pieceBytes, one every intervalMs, its length
    // announced or not (then only the closed connection ends it).
    static Reply dripping(const QByteArray& body, int intervalMs, bool announceLength, int pieceBytes = 1);

signals:
    void requestReceived(const QString& target);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const Reply& reply);
    void sendFiller(QTcpSocket* socket, qint64 bytes);
    void sendDrip(QTcpSocket* socket, const Reply& reply);
    Reply replyFor(const QString& target) const;

    QTcpServer* m_pServer = nullptr;
    QHash<QString, Reply> m_replies;
    Reply m_defaultReply;
    QHash<QTcpSocket*, QByteArray> m_pending;
    QStringList m_requestLines;
    QStringList m_targets;
};
