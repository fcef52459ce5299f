#include "ReplyReader.h"

#include <QIODevice>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QVariant>

namespace QMRequest {

namespace {

// Qt fetches no more from the socket while this much waits unread, so what an
// answer holds before it is counted stays small.
const qint64 kReadBufferBytes = 64 * 1024;
const int kDefaultTransferTimeoutMs = 30000;
int g_transferTimeoutMs = kDefaultTransferTimeoutMs;

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

ReplyReader* ReplyReader::attach(QNetworkReply* reply, qint64 limit, QIODevice* sink)
{
    return new ReplyReader(reply, limit, sink);
}

ReplyReader* ReplyReader::of(QNetworkReply* reply)
{
    return reply ? reply->findChild<ReplyReader*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

ReplyReader::ReplyReader(QNetworkReply* reply, qint64 limit, QIODevice* sink)
    : QObject(reply)
    , m_pReply(reply)
    , m_pSink(sink)
    , m_nLimit(limit)
{
    reply->setReadBufferSize(kReadBufferBytes);
    connect(reply, &QNetworkReply::readyRead, this, &ReplyReader::slotReadyRead);
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
