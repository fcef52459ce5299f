#include "EnvelopeCache.h"

#include "RegularFile.h"

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace QMMultiMedia {

namespace {

// NAME_MAX of the usual file systems, in bytes of the encoded name.
constexpr int kNameMax = 255;
constexpr int kHashDigits = 16;
const char kBodyEnding[] = ".bef";
const char kRecordEnding[] = ".origin";  // the longer ending
constexpr int kReadableMax = kNameMax - 1 - kHashDigits - int(sizeof(kRecordEnding) - 1);

// The path with the characters of replaced as '_'. Replaced after the path
// was fully decoded, and '/' always, so no name can climb out of the folder.
// A long one keeps its end, which names the file.
QString readablePart(QString path, const QString& replaced)
{
    path.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (QChar from : replaced)
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

// A file of the cache is read only when it is a regular file of this
// user's, never through a link, and without waiting on a pipe.
const MTools::RegularFile::Options kOwnFileOptions = MTools::RegularFile::NoLinks | MTools::RegularFile::OwnOnly;

// The cache's file opened so; -1 otherwise.
int openOwnFile(const QString& path)
{
    MTools::RegularFile file;
    return file.open(path, kOwnFileOptions) ? file.release() : -1;
}

}  // namespace

EnvelopeCache::EnvelopeCache(const QString& folder, const QString& sourcePath)
    : m_strFolder(folder), m_strSourcePath(sourcePath)
{
    if (!folder.isEmpty())
        m_strStem = folder + QLatin1Char('/') + fileNameFor(sourcePath);
}

bool EnvelopeCache::isValid() const
{
    return !m_strStem.isEmpty();
}

QString EnvelopeCache::bodyPath() const
{
    return isValid() ? m_strStem + QLatin1String(kBodyEnding) : QString();
}

QString EnvelopeCache::recordPath() const
{
    return isValid() ? m_strStem + QLatin1String(kRecordEnding) : QString();
}

QString EnvelopeCache::fileNameFor(const QString& sourcePath, const QString& replaced)
{
    const QByteArray hash = QCryptographicHash::hash(QFile::encodeName(sourcePath), QCryptographicHash::Sha256);
    return readablePart(sourcePath, replaced) + QLatin1Char('.') + QString::fromLatin1(hash.toHex().left(kHashDigits));
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
    // Only as much is read as a match needs.
    QFile file;
    return !record.isEmpty() && isValid()
        && MTools::RegularFile::openFile(recordPath(), &file, kOwnFileOptions)
        && file.read(record.size() + 1) == record;
}

FILE* EnvelopeCache::openBody() const
{
    const int fd = isValid() ? openOwnFile(bodyPath()) : -1;
    FILE* stream = fd < 0 ? nullptr : ::fdopen(fd, "rb");
    if (!stream && fd >= 0)
        ::close(fd);
    return stream;
}

bool EnvelopeCache::storeBody(const std::function<bool(FILE*)>& write) const
{
    return isValid() && replace(bodyPath(), write);
}

bool EnvelopeCache::store(const QByteArray& record) const
{
    const bool stored = isValid() && !record.isEmpty() && replace(recordPath(), [&record](FILE* stream) {
        return std::fwrite(record.constData(), 1, size_t(record.size()), stream) == size_t(record.size());
    });
    if (!stored)
        forget();
    return stored;
}

void EnvelopeCache::forget() const
{
    if (isValid())
        ::unlink(QFile::encodeName(recordPath()).constData());
}

bool EnvelopeCache::replace(const QString& target, const std::function<bool(FILE*)>& write) const
{
    // A name of its own in the folder: made with O_CREAT | O_EXCL (mode
    // 0600), so it is never a file that was there, nor reached through a
    // link; short, so it fits beside the longest cache name.
    QByteArray fresh = QFile::encodeName(m_strFolder + QStringLiteral("/.new-XXXXXX"));
    const int fd = ::mkostemp(fresh.data(), O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    FILE* stream = ::fdopen(fd, "wb");
    bool written = false;
    if (stream) {
        written = write(stream);
        written = std::fclose(stream) == 0 && written;
    } else {
        ::close(fd);
    }
    if (written && std::rename(fresh.constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    ::unlink(fresh.constData());
    return false;
}

}  // namespace QMMultiMedia
