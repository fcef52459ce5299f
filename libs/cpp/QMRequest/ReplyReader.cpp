#include "ReplyReader.h"

#include <QIODevice>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QVariant>

namespace QMRequest {

namespace {

// Qt fetches no more from the socket while this much waits unread, so what an
// answer holds before it is counted stays small.
const qint64 kReadBufferBytes = 64 * 1024;
const int kDefaultTransferTimeoutMs = 30000;
int g_transferTimeoutMs = kDefaultTransferTimeoutMs;
const qint64 kLeastBytesPerSpan = 1024;

} // namespace

bool ReplyReader::isSuccess(const QNetworkReply* reply)
{
    return reply->error() == QNetworkReply::NoError
        && reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200;
}

void ReplyReader::prepare(QNetworkRequest& request)
{
    request.setRawHeader("Accept-Encoding", "identity");
    request.setTransferTimeout(g_transferTimeoutMs);
}

int ReplyReader::transferTimeout()
{
    return g_transferTimeoutMs;
}

void ReplyReader::setTransferTimeout(int milliseconds)
{
    g_transferTimeoutMs = milliseconds > 0 ? milliseconds : kDefaultTransferTimeoutMs;
}

int ReplyReader::deadlineOr(int ownMilliseconds)
{
    return ownMilliseconds > 0 ? ownMilliseconds : g_transferTimeoutMs;
}

ReplyReader* ReplyReader::attach(QNetworkReply* reply, qint64 limit, QIODevice* sink, int deadline)
{
    return new ReplyReader(reply, limit, sink, deadline);
}

ReplyReader* ReplyReader::of(QNetworkReply* reply)
{
    return reply ? reply->findChild<ReplyReader*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

// Qt's own transfer timeout is restarted by every byte, so a server that
// sends one now and then would hold the request without end; the clock here
// counts from the request's start.
ReplyReader::ReplyReader(QNetworkReply* reply, qint64 limit, QIODevice* sink, int deadline)
    : QObject(reply)
    , m_pReply(reply)
    , m_pSink(sink)
    , m_nLimit(limit)
{
    reply->setReadBufferSize(kReadBufferBytes);
    connect(reply, &QNetworkReply::readyRead, this, &ReplyReader::slotReadyRead);

    auto* clock = new QTimer(this);
    if (sink) {
        clock->setInterval(g_transferTimeoutMs);
        connect(clock, &QTimer::timeout, this, &ReplyReader::slotCheckRate);
    } else {
        clock->setSingleShot(true);
        clock->setInterval(deadlineOr(deadline));
        connect(clock, &QTimer::timeout, this, &ReplyReader::slotDeadline);
    }
    connect(reply, &QNetworkReply::finished, clock, &QTimer::stop);
    if (!reply->isFinished())
        clock->start();
}

void ReplyReader::readRest()
{
    slotReadyRead();
}

void ReplyReader::slotReadyRead()
{
    while (!m_bFailed && m_pReply->bytesAvailable() > 0) {
        const QByteArray piece = m_pReply->read(kReadBufferBytes);
        if (piece.isEmpty())
            break;
        m_nReceived += piece.size();
        // A sink is bounded too: an endless answer would otherwise fill the disk.
        if (m_nReceived > m_nLimit) {
            fail();
        } else if (m_pSink) {
            // A target written in place would keep whatever reached it.
            if (!isSuccess(m_pReply) || m_pSink->write(piece) != piece.size())
                fail();
        } else {
            m_body += piece;
        }
    }
}

void ReplyReader::slotDeadline()
{
    if (!m_bFailed && !m_pReply->isFinished())
        fail();
}

// Checked at the end of every span, over the bytes of that span alone.
void ReplyReader::slotCheckRate()
{
    if (m_bFailed || m_pReply->isFinished())
        return;
    slotReadyRead();  // may fail on its own
    if (!m_bFailed && m_nReceived - m_nReceivedAtCheck < kLeastBytesPerSpan)
        fail();
    m_nReceivedAtCheck = m_nReceived;
}

// Marked before the abort, which finishes the reply at once: whoever handles
// that already sees the failure.
void ReplyReader::fail()
{
    m_bFailed = true;
    m_body.clear();
    m_pReply->abort();
}

bool ReplyReader::withinBounds() const
{
    return !m_bFailed;
}

bool ReplyReader::isWhole() const
{
    const QVariant announced = m_pReply->header(QNetworkRequest::ContentLengthHeader);
    return withinBounds() && (!announced.isValid() || announced.toLongLong() == m_nReceived);
}

QByteArray ReplyReader::body() const
{
    return m_body;
}

} // namespace QMRequest
