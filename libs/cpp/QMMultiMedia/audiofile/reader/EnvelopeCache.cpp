#include "EnvelopeCache.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <sys/stat.h>

namespace QMMultiMedia {

namespace {

// NAME_MAX of the usual file systems, in bytes of the encoded name.
constexpr int kNameMax = 255;
constexpr int kHashDigits = 16;
const char kBodyEnding[] = ".bef";
const char kRecordEnding[] = ".origin";  // the longer ending
constexpr int kReadableMax = kNameMax - 1 - kHashDigits - int(sizeof(kRecordEnding) - 1);

// The path with ':', '.' and '/' as '_'. Replaced after the path was fully
// decoded, so no name can climb out of the folder. A long one keeps its end,
// which names the file.
QString readablePart(QString path)
{
    for (QChar from : {QLatin1Char(':'), QLatin1Char('.'), QLatin1Char('/')})
        path.replace(from, QLatin1Char('_'));
    for (int excess; (excess = QFile::encodeName(path).size() - kReadableMax) > 0;) {
        // No character takes more than 4 bytes: this never cuts more than
        // needed, and each round cuts at least one.
        int cut = std::max(1, excess / 4);
        if (cut < path.size() && path.at(cut).isLowSurrogate())
            ++cut;
        path.remove(0, cut);
    }
    return path;
}

QByteArray timeText(const timespec& time)
{
    return QByteArray::number(qint64(time.tv_sec)) + '.'
        + QByteArray::number(qint64(time.tv_nsec)).rightJustified(9, '0');
}

}  // namespace

EnvelopeCache::EnvelopeCache(const QString& folder, const QString& sourcePath)
    : m_strSourcePath(sourcePath)
{
    const QByteArray hash = QCryptographicHash::hash(QFile::encodeName(sourcePath), QCryptographicHash::Sha256);
    m_strStem = folder + QLatin1Char('/') + readablePart(sourcePath) + QLatin1Char('.')
        + QString::fromLatin1(hash.toHex().left(kHashDigits));
}

QString EnvelopeCache::bodyPath() const
{
    return m_strStem + QLatin1String(kBodyEnding);
}

QString EnvelopeCache::recordPath() const
{
    return m_strStem + QLatin1String(kRecordEnding);
}

QByteArray EnvelopeCache::sourceRecord(FILE* stream) const
{
    struct stat status;
    if (!stream || fstat(fileno(stream), &status) != 0)
        return {};
    // The path comes last: every line before it is digits, so no two sources
    // give the same text.
    return QByteArray("levl cache source 1\n")
        + "size " + QByteArray::number(qint64(status.st_size)) + '\n'
        + "modified " + timeText(status.st_mtim) + '\n'
        + "changed " + timeText(status.st_ctim) + '\n'
        + "inode " + QByteArray::number(quint64(status.st_ino)) + '\n'
        + "path " + QFile::encodeName(m_strSourcePath) + '\n';
}

bool EnvelopeCache::holds(const QByteArray& record) const
{
    // Anyone may have put anything here: only a regular file is opened (a
    // pipe would never end), and only as much is read as a match needs.
    if (record.isEmpty() || !QFileInfo(recordPath()).isFile())
        return false;
    QFile file(recordPath());
    return file.open(QIODevice::ReadOnly) && file.read(record.size() + 1) == record;
}

bool EnvelopeCache::store(const QByteArray& record) const
{
    QFile file(recordPath());
    if (!record.isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(record) == record.size() && file.flush())
        return true;
    file.close();
    forget();
    return false;
}

void EnvelopeCache::forget() const
{
    QFile::remove(recordPath());
}

}  // namespace QMMultiMedia
