#pragma once

#include <QObject>
#include <QUrl>

class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;

namespace QMRequest {

// One GET at a time over a QNetworkAccessManager, with the reply turned into
// signals: done() on success, error() on any failure (network errors, an
// answer other than 200, a body past the size limit or of another length
// than announced, a sink that takes no more, an answer past its deadline or
// below the least rate, and aborts alike).
class DownloadManager : public QObject
{
    Q_OBJECT
public:
    explicit DownloadManager(QObject* parent = nullptr);

    // Without a sink the answer is kept in memory and done() carries it; it
    // fails once deadline() has passed. With one, the answer is written to
    // that open device as it arrives and done() carries no bytes; it fails
    // when it comes slower than the least rate of ReplyReader. The sink must
    // outlive the request. Either way an answer of more than sizeLimit()
    // bytes fails.
    void get(const QUrl& url, QIODevice* sink = nullptr);

    // The most bytes an answer may have, in memory or written to a sink;
    // 64 MiB unless set.
    qint64 sizeLimit() const;
    void setSizeLimit(qint64 bytes);

    // How long an answer kept in memory may take as a whole, in
    // milliseconds: ReplyReader::transferTimeout() (30 s) unless set; 0 or
    // less restores that.
    int deadline() const;
    void setDeadline(int milliseconds);

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
    qint64 limit;
    int deadlineMs = 0;  // 0: the shared bound
};

} // namespace QMRequest
