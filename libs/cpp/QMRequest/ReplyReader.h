#pragma once

#include <QByteArray>
#include <QObject>

class QIODevice;
class QNetworkReply;
class QNetworkRequest;

namespace QMRequest {

// Reads one reply piece by piece as its bytes arrive, so that no answer can
// take more memory, disk or time than it is allowed: the bytes are kept, or
// handed on to a device as they come, up to a limit, and the reply is aborted
// (it then ends with an error) once the limit is passed, the device takes no
// more or the time is up. The reader is the reply's child and goes with it,
// its clock too.
class ReplyReader : public QObject
{
    Q_OBJECT
public:
    // What every request of these libraries carries. The body is asked for
    // as the server holds it: Qt inflates a compressed answer whole before it
    // hands out any of it, so a small compressed answer could fill the memory
    // before any limit could be checked. Qt ends a transfer that stalls for
    // transferTimeout().
    static void prepare(QNetworkRequest& request);

    // The time bound of every request whose caller sets no other; 30000 ms
    // unless a test shortens it (0 or less restores that). An answer kept in
    // memory must be in whole within it from the request's start, however
    // steadily its bytes come. An answer written to a sink fails when fewer
    // than 1 KiB (the least rate of common download tools) arrived during
    // one span of that length, the spans counted one after another from the
    // request's start, so that a large file over a slow but working link
    // still completes.
    static int transferTimeout();
    static void setTransferTimeout(int milliseconds);
    // A caller's own deadline when it set one (above 0), else
    // transferTimeout().
    static int deadlineOr(int ownMilliseconds);

    // Starts reading the reply; an answer of more than limit bytes fails.
    // Without a sink the bytes are kept, and the answer fails once deadline
    // milliseconds have passed (transferTimeout() when 0 or less). With one,
    // every piece of a 200 answer is written to it and nothing is kept (any
    // other answer fails at its first byte); the least rate bounds it instead
    // of a deadline.
    static ReplyReader* attach(QNetworkReply* reply, qint64 limit, QIODevice* sink = nullptr,
                               int deadline = 0);
    // True for a 200 answer that no error ended, the one answer that carries
    // the whole resource asked for: a redirect's page, an empty 204 or 304 and
    // a partial 206 do not.
    static bool isSuccess(const QNetworkReply* reply);
    // The reader attached to the reply, or null.
    static ReplyReader* of(QNetworkReply* reply);

    // Takes what still waits in the reply; for when it has finished.
    void readRest();

    // False once the limit was passed or the sink refused bytes.
    bool withinBounds() const;
    // Within bounds, and exactly as many bytes as a Content-Length announced.
    bool isWhole() const;
    QByteArray body() const;

private slots:
    void slotReadyRead();
    void slotDeadline();
    void slotCheckRate();

private:
    ReplyReader(QNetworkReply* reply, qint64 limit, QIODevice* sink, int deadline);
    void fail();

    QNetworkReply* m_pReply = nullptr;
    QIODevice* m_pSink = nullptr;
    qint64 m_nLimit = 0;
    qint64 m_nReceived = 0;
    qint64 m_nReceivedAtCheck = 0;  // m_nReceived when the rate was last checked
    QByteArray m_body;
    bool m_bFailed = false;
};

} // namespace QMRequest
