#include "Downloader.h"

#include "DownloadManager.h"
#include "SafeSave.h"

#include <QtGlobal>

namespace QMRequest {

Downloader::Downloader(QObject* parent)
    : QObject(parent)
    , manager(new DownloadManager(this))
{
    connect(manager, SIGNAL(done(QUrl,QByteArray)), this, SLOT(slotFinished(QUrl,QByteArray)));
    connect(manager, SIGNAL(downloadProgress(qint64,qint64)), this, SLOT(slotProgress(qint64,qint64)));
    connect(manager, SIGNAL(error()), this, SLOT(slotError()));
}

QString Downloader::normalizedUrl(const QString& url)
{
    // A secure address is kept as well: prefixing it would make "https" the
    // host name, so no https download could ever succeed.
    if (url.startsWith(QLatin1String("http://")) || url.startsWith(QLatin1String("https://")))
        return url;
    return QStringLiteral("http://") + url;
}

bool Downloader::isFinished() const
{
    return completed;
}

qint64 Downloader::sizeLimit() const
{
    return manager->sizeLimit();
}

void Downloader::setSizeLimit(qint64 bytes)
{
    manager->setSizeLimit(bytes);
}

int Downloader::deadline() const
{
    return manager->deadline();
}

void Downloader::setDeadline(int milliseconds)
{
    manager->setDeadline(milliseconds);
}

// Runs one download up to the end of the wait; the caller then finishes it
// and releases the mutex. Returns false when another download is running.
bool Downloader::fetch(const QString& url, QEventLoop::ProcessEventsFlags flags, QIODevice* sink)
{
    if (busy)
        return false;
    data.clear();
    succeeded = false;
    busy = true;
    mutex.lock();
    manager->get(QUrl(normalizedUrl(url), QUrl::TolerantMode), sink);
    completed = false;
    eventLoop.exec(flags);
    return true;
}

QByteArray Downloader::download(const QString& url, QEventLoop::ProcessEventsFlags flags)
{
    if (!fetch(url, flags))
        return QByteArray();
    completed = true;
    busy = false;
    const QByteArray result = data;
    mutex.unlock();
    return result;
}

bool Downloader::downloadToFile(const QString& url, const QString& filePath,
                                QEventLoop::ProcessEventsFlags flags)
{
    if (busy)
        return false;
    MTools::SafeSave file(filePath);
    if (!file.open(QIODevice::WriteOnly) || !fetch(url, flags, &file))
        return false;
    completed = true;
    busy = false;
    // An uncommitted save drops its temporary file and leaves the target as
    // it was.
    const bool written = succeeded && file.commit();
    mutex.unlock();
    return written;
}

void Downloader::slotAbort()
{
    manager->slotAbort();
}

void Downloader::slotFinished(const QUrl& url, const QByteArray& answer)
{
    Q_UNUSED(url);
    data = answer;
    succeeded = true;
    eventLoop.exit(0);
}

void Downloader::slotError()
{
    eventLoop.exit(0);
}

void Downloader::slotProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    emit progress(bytesReceived);
    // An unknown (-1) or zero total has no meaningful percentage.
    if (bytesTotal <= 0)
        return;
    const double percent = static_cast<double>(bytesReceived) * 100.0 / static_cast<double>(bytesTotal);
    emit progressPercent(static_cast<int>(qBound(0.0, percent, 100.0)));
}

} // namespace QMRequest
