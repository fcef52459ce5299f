#include "DownloadManager.h"

#include "ReplyReader.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace QMRequest {

namespace {

const qint64 kDefaultSizeLimit = 64 * 1024 * 1024;

} // namespace

DownloadManager::DownloadManager(QObject* parent)
    : QObject(parent)
    , networkManager(new QNetworkAccessManager(this))
    , limit(kDefaultSizeLimit)
{
    connect(networkManager, SIGNAL(finished(QNetworkReply*)), this, SLOT(slotFinished(QNetworkReply*)));
}

void DownloadManager::get(const QUrl& url, QIODevice* sink)
{
    QNetworkRequest request(url);
    ReplyReader::prepare(request);
    reply = networkManager->get(request);
    ReplyReader::attach(reply, limit, sink, deadlineMs);
    connect(reply, SIGNAL(downloadProgress(qint64,qint64)), this, SLOT(slotDownloadProgress(qint64,qint64)));
}

qint64 DownloadManager::sizeLimit() const
{
    return limit;
}

void DownloadManager::setSizeLimit(qint64 bytes)
{
    limit = bytes;
}

int DownloadManager::deadline() const
{
    return ReplyReader::deadlineOr(deadlineMs);
}

void DownloadManager::setDeadline(int milliseconds)
{
    deadlineMs = qMax(0, milliseconds);
}

void DownloadManager::slotFinished(QNetworkReply* finishedReply)
{
    if (!finishedReply)
        return;
    ReplyReader* reader = ReplyReader::of(finishedReply);
    if (reader)
        reader->readRest();
    if (reader && ReplyReader::isSuccess(finishedReply) && reader->isWhole())
        emit done(finishedReply->url(), reader->body());
    else
        emit error();
    finishedReply->deleteLater();
    if (finishedReply == reply)
        reply = nullptr;
}

void DownloadManager::slotDownloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    emit downloadProgress(bytesReceived, bytesTotal);
}

void DownloadManager::slotAbort()
{
    if (!reply)
        return;
    // Aborting finishes the reply at once, which runs slotFinished and
    // releases it; anything left over is released here.
    reply->abort();
    if (reply)
        reply->deleteLater();
    reply = nullptr;
}

} // namespace QMRequest
