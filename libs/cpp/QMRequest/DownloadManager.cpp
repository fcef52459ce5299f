#include "DownloadManager.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace QMRequest {

DownloadManager::DownloadManager(QObject* parent)
    : QObject(parent)
    , networkManager(new QNetworkAccessManager(this))
{
    connect(networkManager, SIGNAL(finished(QNetworkReply*)), this, SLOT(slotFinished(QNetworkReply*)));
}

void DownloadManager::get(const QUrl& url)
{
    reply = networkManager->get(QNetworkRequest(url));
    connect(reply, SIGNAL(downloadProgress(qint64,qint64)), this, SLOT(slotDownloadProgress(qint64,qint64)));
}

void DownloadManager::slotFinished(QNetworkReply* finishedReply)
{
    if (!finishedReply)
        return;
    if (finishedReply->error() != QNetworkReply::NoError)
        emit error();
    else
        emit done(finishedReply->url(), finishedReply->readAll());
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
