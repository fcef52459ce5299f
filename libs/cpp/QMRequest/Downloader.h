#pragma once

#include <QByteArray>
#include <QEventLoop>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QUrl>

class QIODevice;

namespace QMRequest {

class DownloadManager;

// Blocking downloads: the caller waits in a nested event loop (so the
// interface stays alive) until the answer is in, the request failed or it was
// aborted through slotAbort(). One download at a time per object; a call made
// while one runs returns at once with nothing.
class Downloader : public QObject
{
    Q_OBJECT
public:
    explicit Downloader(QObject* parent = nullptr);

    // The answer, or an empty array on failure, abort or a nested call. Only
    // a 200 answer of at most sizeLimit() bytes, in whole within deadline(),
    // counts.
    QByteArray download(const QString& url,
                        QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);
    // Writes the answer to the file only when the download succeeded: a 200
    // answer of at most sizeLimit() bytes with every byte that a
    // Content-Length announced, and no more. It has no deadline, but fails
    // once fewer than 1 KiB arrived in a span of
    // ReplyReader::transferTimeout() (30 s). The body goes to a file beside
    // the target as it arrives, which takes the target's place at the end,
    // so a failed download or write leaves an existing file untouched.
    // Returns true when the file was written.
    bool downloadToFile(const QString& url, const QString& filePath,
                        QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);

    // "http://" is put in front of any text that begins with neither
    // "http://" nor "https://" (both matched case-sensitively).
    static QString normalizedUrl(const QString& url);

    // True once a download has ended; false before the first and during one.
    bool isFinished() const;

    // The most bytes a download takes, into memory or into a file; a longer
    // answer fails. 64 MiB unless set.
    qint64 sizeLimit() const;
    void setSizeLimit(qint64 bytes);

    // How long download() may take as a whole, in milliseconds:
    // ReplyReader::transferTimeout() (30 s) unless set; 0 or less restores
    // that.
    int deadline() const;
    void setDeadline(int milliseconds);

signals:
    void progress(qint64 bytesReceived);
    // Only sent while the total size is known and not zero.
    void progressPercent(int percent);

public slots:
    void slotAbort();
    void slotFinished(const QUrl& url, const QByteArray& answer);
    void slotProgress(qint64 bytesReceived, qint64 bytesTotal);
    void slotError();

private:
    bool fetch(const QString& url, QEventLoop::ProcessEventsFlags flags, QIODevice* sink = nullptr);

    QMutex mutex;
    DownloadManager* manager = nullptr;
    bool completed = false;
    bool busy = false;
    QEventLoop eventLoop;
    QByteArray data;
    bool succeeded = false;  // the last download ended with an answer
};

} // namespace QMRequest
