#pragma once

#include <QObject>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace QMRequest {

// One GET at a time over a QNetworkAccessManager, with the reply turned into
// signals: done() with the bytes on success, error() on any failure (network
// errors, HTTP error statuses and aborts alike).
class DownloadManager : public QObject
{
    Q_OBJECT
public:
    explicit DownloadManager(QObject* parent = nullptr);

    void get(const QUrl& url);

signals:
    void downloadProgress(qint64 bytesReceived, qint64 bytesTotal);
    void done(const QUrl& url, const QByteArray& data);
    void error();

public slots:
    void slotAbort();
    void slotFinished(QNetworkReply* finishedReply);
    void slotDownloadProgress(qint64 bytesReceived, qint64 bytesTotal);

private:
    QNetworkAccessManager* networkManager = nullptr;
    QNetworkReply* reply = nullptr;
};

} // namespace QMRequest
