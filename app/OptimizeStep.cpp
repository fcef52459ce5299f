#include "OptimizeStep.h"

#include "ColorReducer.h"
#include "ImageFilters.h"
#include "ImageIO.h"
#include "RegularFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QObject>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <future>
#include <limits>
#include <new>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 CopyBlock = 1 << 20;
// The most of a source held in memory: half of what a QByteArray can hold.
constexpr qint64 MaxHeldSourceBytes = std::numeric_limits<int>::max() / 2;
// A picture is never made executable, whatever its source showed: sticks and
// shares often list every file as 0755 or 0777.
constexpr int ResultPermissionMask = 0666;
// Copies of other content keep the source's bits, execute bits included.
constexpr int CopyPermissionMask = 0777;
// The unique-name search restarts when a chosen name is taken between choosing
// and creating it; this bounds the retries.
constexpr int MaxNameRetries = 64;

std::function<bool(const QString&)>& writeFault()
{
    static std::function<bool(const QString&)> fault;
    return fault;
}

QString tr(const char* text)
{
    return QCoreApplication::translate("OptimizeStep", text);
}

double elapsedMs(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1.0e6;
}

QString extensionOf(const QFileInfo& info)
{
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QString() : QStringLiteral(".") + suffix;
}

// Any entry of that name, a link that leads nowhere included.
bool entryExists(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

QString folderOf(const QString& path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

// A source opened for reading. Opened without waiting, so a pipe put at a
// source's path can not hold the batch (and Stop with it), and taken only
// when it is a regular file; its size and permission bits are those it had
// when opened.
class SourceFile
{
public:
    // False with *pError set (the reason, without the path).
    bool open(const QString& path, QString* pError)
    {
        if (m_file.open(path))
            return true;
        *pError = m_file.errorString();
        return false;
    }

    qint64 size() const { return m_file.size(); }
    int permissions() const { return int(m_file.mode() & 0777); }

    // Reads up to size bytes, fewer only at the end of the file; -1 on error.
    qint64 read(char* data, qint64 size)
    {
        qint64 done = 0;
        while (done < size) {
            const ssize_t n = ::read(m_file.handle(), data + done, size_t(qMin(CopyBlock, size - done)));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return -1;
            if (n == 0)
                break;
            done += n;
        }
        return done;
    }

    // Reads the whole file from its start, in blocks handed to take(), and
    // never more than the size it had when opened: a file that has grown or
    // shrunk since (or one whose size says nothing of its content, as some
    // system files) fails instead of being kept in part.
    bool readWhole(const std::function<bool(const char*, qint64, QString*)>& take, QString* pError)
    {
        if (::lseek(m_file.handle(), 0, SEEK_SET) < 0) {
            *pError = qt_error_string(errno);
            return false;
        }
        const qint64 total = size();
        QByteArray block(int(qMin(CopyBlock, qMax<qint64>(total, 1))), Qt::Uninitialized);
        qint64 done = 0;
        while (done < total) {
            const qint64 n = read(block.data(), qMin<qint64>(total - done, block.size()));
            if (n < 0) {
                *pError = qt_error_string(errno);
                return false;
            }
            if (n == 0)
                break;
            if (!take(block.constData(), n, pError))
                return false;
            done += n;
        }
        char extra = 0;
        const qint64 more = done == total ? read(&extra, 1) : 0;
        if (more < 0) {
            *pError = qt_error_string(errno);
            return false;
        }
        if (done != total || more != 0) {
            *pError = tr("The file changed while it was read");
            return false;
        }
        return true;
    }

private:
    MTools::RegularFile m_file;
};

std::atomic<bool>& withoutNoReplaceMoves()
{
    static std::atomic<bool> pretend{false};
    return pretend;
}

int renameNoReplace(const QByteArray& from, const QByteArray& to)
{
    if (withoutNoReplaceMoves())
        return EINVAL;
    return ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0
        ? 0 : errno;
}

int hardLink(const QByteArray& from, const QByteArray& to)
{
    if (withoutNoReplaceMoves())
        return EPERM;
    return ::link(from.constData(), to.constData()) == 0 ? 0 : errno;
}

// Where neither a no-replace rename nor a hard link is to be had (FUSE mounts
// such as exFAT sticks, desktop network shares, ssh file systems): the name
// is claimed first with an empty file of our own, which a plain rename then
// replaces. What stood at the name before is never touched. When the rename
// fails, the claim goes again, unless something else has taken its place.
int moveOverOwnClaim(const QByteArray& from, const QByteArray& to)
{
    const int claim = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (claim < 0)
        return errno;
    struct stat claimed {};
    const bool known = ::fstat(claim, &claimed) == 0;
    int error = ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
    if (error != 0) {
        struct stat now {};
        if (known && ::lstat(to.constData(), &now) == 0 && now.st_dev == claimed.st_dev
            && now.st_ino == claimed.st_ino)
            ::unlink(to.constData());
    }
    ::close(claim);
    return error;
}

// Puts the file at from under the name to, never replacing anything there
// (not even a link that leads nowhere) and never copying: 0, or the errno
// (EEXIST when the name is taken). Every finished output is moved in here.
int moveWithoutReplacing(const QByteArray& from, const QByteArray& to)
{
    int error = renameNoReplace(from, to);
    if (error != EINVAL && error != ENOSYS)
        return error;
    // A file system that does not know the flag: a hard link never
    // replaces either.
    error = hardLink(from, to);
    if (error == 0) {
        ::unlink(from.constData());
        return 0;
    }
    if (error == EEXIST)
        return error;
    return moveOverOwnClaim(from, to);
}

// Creates path and fills it through write(). The bytes
// go to a hidden temporary file beside it that is moved to path only once
// complete, so an interrupted run never leaves a truncated picture under a
// real name; the move never replaces a file. On any failure nothing is left.
// The file gets the given permission bits, less those of the umask, from the
// moment it exists. Returns false with *pError set; *pExists tells that the
// name was taken, so the caller can pick another.
bool createNewFile(const QString& path, int permissions,
                   const std::function<bool(QFile&, QString*)>& write,
                   QString* pError, bool* pExists)
{
    *pExists = false;
    // Under a name nothing else uses; a link at that name is not followed.
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temporary = QFile::encodeName(folderOf(path) + QStringLiteral(".zintrop-%1.part")
                         .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    mode_t(permissions & 0777));
        if (fd < 0 && (errno != EEXIST || attempt == MaxNameRetries)) {
            *pError = qt_error_string(errno);
            return false;
        }
    }
    QFile file;
    file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
    bool ok = write(file, pError);
    file.close();
    if (ok && file.error() != QFileDevice::NoError) {
        *pError = file.errorString();
        ok = false;
    }
    if (ok) {
        const int error = moveWithoutReplacing(temporary, QFile::encodeName(path));
        if (error != 0) {
            *pExists = error == EEXIST;
            *pError = qt_error_string(error);
            ok = false;
        }
    }
    if (!ok)
        ::unlink(temporary.constData());
    return ok;
}

bool writeAll(QFile& file, const char* data, qint64 size, QString* pError)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 n = file.write(data + done, qMin(CopyBlock, size - done));
        if (n <= 0) {
            *pError = file.errorString();
            return false;
        }
        done += n;
    }
    return true;
}

// Writes a file under the unique-name rule through write(); see writeUniqueFile.
QString createUnique(const QString& folder, const QString& baseName, const QString& extension,
                     int permissions, const std::function<bool(QFile&, QString*)>& write,
                     QString* pError)
{
    for (int attempt = 0; attempt < MaxNameRetries; ++attempt) {
        const QString path = OptimizeStep::uniqueFilePath(folder, baseName, extension);
        bool exists = false;
        QString error;
        auto guarded = [&](QFile& file, QString* pWriteError) {
            if (writeFault() && writeFault()(path)) {
                // Behave like a disk that fills up half way through.
                file.write(QByteArray(16, '\0'));
                *pWriteError = QStringLiteral("No space left on device");
                return false;
            }
            return write(file, pWriteError);
        };
        if (createNewFile(path, permissions, guarded, &error, &exists))
            return path;
        if (!exists) {
            *pError = path + QStringLiteral(": ") + error;
            return QString();
        }
    }
    *pError = folder + baseName + extension + QStringLiteral(": ") + tr("No free file name");
    return QString();
}

// What the first half of the step hands to the second: the source's bytes
// and the picture ready to reduce, or the reason there is none.
struct Prepared
{
    QByteArray source;
    bool bReadable = false;   // the source's bytes are all here
    bool bTooLarge = false;   // a regular file whose bytes do not fit in memory
    qint64 nInputSize = 0;
    int nPermissions = 0;     // the source's permission bits, for what is written from it
    QImage image;             // decoded, scaled and grey as asked; null when not decodable
    QString strError;         // "path: reason" when image is null
    double dReadMs = 0, dDecodeMs = 0;
};

QImage preparedPicture(const QByteArray& source, const OptimizeStep::Options& options,
                       QString* pError)
{
    QImage image;
    if (!MGraphX::loadImageChecked(source, &image, pError))
        return QImage();
    const int percent = qBound(1, options.nResizePercent, 100);
    if (percent < 100) {
        image = image.scaled(OptimizeStep::scaledSize(image.size(), percent),
                             Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    if (options.bGray && !image.isNull()) {
        if (image.depth() != 32)
            image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                  : QImage::Format_RGB32);
        image = MGraphX::toGray(image);
    }
    // 16-bit pictures hold 8 bytes per pixel; the reducer works on 32-bit
    // pixels, so the wide copy goes before reducing.
    if (image.depth() > 32)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                              : QImage::Format_RGB32);
    if (image.isNull())
        *pError = tr("Not enough memory to process the picture");
    return image;
}

// First half: read, decode, scale, grey. Never throws.
Prepared prepare(const QString& sourcePath, const OptimizeStep::Options& options)
{
    Prepared prepared;
    QElapsedTimer timer;
    timer.start();
    SourceFile file;
    QString reason;
    if (!file.open(sourcePath, &reason)) {
        const QFileInfo info(sourcePath);
        prepared.nInputSize = info.isFile() ? info.size() : 0;
        prepared.strError = sourcePath + QStringLiteral(": ") + reason;
        return prepared;
    }
    prepared.nInputSize = file.size();
    prepared.nPermissions = file.permissions() & ResultPermissionMask;
    // Held in memory whole, never more than the size the file had when
    // opened; a file too large for that is kept by a copy in blocks.
    bool read = false;
    prepared.bTooLarge = file.size() > MaxHeldSourceBytes;
    try {
        if (!prepared.bTooLarge) {
            prepared.source.reserve(int(file.size()));
            read = file.readWhole([&](const char* data, qint64 size, QString*) {
                prepared.source.append(data, int(size));
                return true;
            }, &reason);
        }
    } catch (const std::bad_alloc&) {
        prepared.bTooLarge = true;
    }
    if (prepared.bTooLarge)
        reason = tr("Not enough memory to process the picture");
    if (!read) {
        prepared.source.clear();
        prepared.source.squeeze();
        prepared.strError = sourcePath + QStringLiteral(": ") + reason;
        return prepared;
    }
    prepared.bReadable = true;
    prepared.dReadMs = elapsedMs(timer);

    timer.restart();
    QString error;
    try {
        prepared.image = preparedPicture(prepared.source, options, &error);
    } catch (const std::bad_alloc&) {
        prepared.image = QImage();
        error = tr("Not enough memory to process the picture");
    }
    prepared.dDecodeMs = elapsedMs(timer);
    if (prepared.image.isNull())
        prepared.strError = sourcePath + QStringLiteral(": ") + error;
    return prepared;
}

// Reduces and encodes at the strongest compression (the reducer compresses
// rows while it works). Returns the PNG, or an empty array with *pError set.
QByteArray reducedPng(QImage image, const OptimizeStep::Options& options,
                      const OptimizeStep::ProgressFunction& progress,
                      OptimizeStep::Result& result, QString* pError)
{
    QElapsedTimer timer;
    timer.start();
    qint64 finishMs = 0;
    QByteArray png;
    {
        MGraphX::ColorReducer reducer(image, nullptr);
        image = QImage(); // the reducer keeps its own copy
        reducer.setDithering(options.bDithering);
        if (progress)
            QObject::connect(&reducer, &MGraphX::ColorReducer::progress, progress);
        png = reducer.reduceToPng(qBound(1, options.nColors, 256), nullptr, &finishMs);
    }
    result.dEncodeMs = double(finishMs);
    result.dReduceMs = elapsedMs(timer) - result.dEncodeMs;
    if (png.isEmpty())
        *pError = tr("The colours could not be reduced");
    return png;
}

bool sameOptions(const OptimizeStep::Options& a, const OptimizeStep::Options& b)
{
    return a.nColors == b.nColors && a.bDithering == b.bDithering && a.bGray == b.bGray
        && a.nResizePercent == b.nResizePercent;
}

// Copies a file, streaming, under the unique-name rule; what is written gets
// the source's permission bits within mask, less those of the umask.
QString copyWhole(const QString& sourcePath, const QString& folder, const QString& baseName,
                  const QString& extension, int mask, QString* pError)
{
    SourceFile source;
    QString reason;
    if (!source.open(sourcePath, &reason)) {
        *pError = sourcePath + QStringLiteral(": ") + reason;
        return QString();
    }
    QString readError;
    const QString written = createUnique(folder, baseName, extension, source.permissions() & mask,
                                         [&](QFile& file, QString* pWriteError) {
        bool writeFailed = false;
        const bool ok = source.readWhole([&](const char* data, qint64 size, QString* pBlockError) {
            writeFailed = !writeAll(file, data, size, pBlockError);
            return !writeFailed;
        }, pWriteError);
        if (!ok && !writeFailed)
            readError = sourcePath + QStringLiteral(": ") + *pWriteError;
        return ok;
    }, pError);
    if (written.isEmpty() && !readError.isEmpty())
        *pError = readError;
    return written;
}

} // namespace

QString OptimizeStep::uniqueFilePath(const QString& folder, const QString& baseName,
                                     const QString& extension)
{
    QString candidate = folder + baseName + extension;
    for (int n = 2; entryExists(candidate); ++n)
        candidate = folder + baseName + QLatin1Char(' ') + QString::number(n) + extension;
    return candidate;
}

QSize OptimizeStep::scaledSize(const QSize& size, int percent)
{
    const int width = qMax(1, qRound(size.width() * percent / 100.0));
    const int height = qMax(1, qRound(size.height() * percent / 100.0));
    return QSize(width, height);
}

QString OptimizeStep::writeUniqueFile(const QString& folder, const QString& baseName,
                                      const QString& extension, const QByteArray& data,
                                      int permissions, QString* pError)
{
    return createUnique(folder, baseName, extension, permissions,
                        [&](QFile& file, QString* pWriteError) {
        return writeAll(file, data.constData(), data.size(), pWriteError);
    }, pError);
}

QString OptimizeStep::copyToUniqueFile(const QString& sourcePath, const QString& folder,
                                       const QString& baseName, const QString& extension,
                                       QString* pError)
{
    return copyWhole(sourcePath, folder, baseName, extension, CopyPermissionMask, pError);
}

void OptimizeStep::setWriteFaultForTesting(const std::function<bool(const QString&)>& fault)
{
    writeFault() = fault;
}

void OptimizeStep::setWithoutNoReplaceMovesForTesting(bool without)
{
    withoutNoReplaceMoves() = without;
}

OptimizeStep::Result OptimizeStep::run(const QString& sourcePath, const QString& outputPath,
                                       const Options& options, const ProgressFunction& progress)
{
    return run(sourcePath, outputPath, options, progress, nullptr, QString(), options);
}

struct OptimizeStep::Lookahead::State
{
    QString strSource;
    Options options;
    std::future<Prepared> future;
};

OptimizeStep::Lookahead::Lookahead()
    : m_pState(new State)
{
}

OptimizeStep::Lookahead::~Lookahead()
{
    cancel();
}

void OptimizeStep::Lookahead::cancel()
{
    if (!m_pState->future.valid())
        return;
    try {
        m_pState->future.get();
    } catch (const std::exception&) {
        // What was prepared ahead is dropped anyway.
    }
}

OptimizeStep::Result OptimizeStep::run(const QString& sourcePath, const QString& outputPath,
                                       const Options& options, const ProgressFunction& progress,
                                       Lookahead* lookahead, const QString& nextSourcePath,
                                       const Options& nextOptions)
{
    Prepared prepared;
    bool bPrepared = false;
    if (lookahead && lookahead->m_pState->future.valid()) {
        Lookahead::State& ahead = *lookahead->m_pState;
        if (ahead.strSource == sourcePath && sameOptions(ahead.options, options)) {
            try {
                prepared = ahead.future.get();
                bPrepared = true;
            } catch (const std::exception&) {
                // Prepared again below, on this thread.
            }
        } else {
            lookahead->cancel();
        }
    }
    if (!bPrepared)
        prepared = prepare(sourcePath, options);

    if (lookahead && !nextSourcePath.isEmpty()) {
        Lookahead::State& ahead = *lookahead->m_pState;
        ahead.strSource = nextSourcePath;
        ahead.options = nextOptions;
        try {
            ahead.future = std::async(std::launch::async, [nextSourcePath, nextOptions] {
                return prepare(nextSourcePath, nextOptions);
            });
        } catch (const std::system_error&) {
            // No thread to spare: the next file is simply read when its turn
            // comes.
            ahead.future = std::future<Prepared>();
        }
    }

    // Second half: reduce and encode, compare, write.
    Result result;
    result.nInputSize = prepared.nInputSize;
    result.sizePixels = prepared.image.size();
    result.dReadMs = prepared.dReadMs;
    result.dDecodeMs = prepared.dDecodeMs;
    const QFileInfo sourceInfo(sourcePath);
    const QString folder = folderOf(outputPath);
    if (!prepared.bReadable) {
        // Counted as no saving. A source that could not be read whole fails;
        // one that is only too large to hold in memory is still kept, copied
        // in blocks.
        result.nOutputSize = result.nInputSize;
        result.strError = prepared.strError;
        if (prepared.bTooLarge) {
            QString copyError;
            const QString copied = copyWhole(sourcePath, folder, sourceInfo.completeBaseName(),
                                             extensionOf(sourceInfo), ResultPermissionMask,
                                             &copyError);
            if (!copied.isEmpty()) {
                result.lstWritten << copied;
                result.outcome = Outcome::SourceCopied;
            } else {
                result.strError += QLatin1Char('\n') + copyError;
            }
        }
        return result;
    }

    const QByteArray& source = prepared.source;
    QString error = prepared.strError;
    QByteArray png;
    if (!prepared.image.isNull()) {
        try {
            png = reducedPng(std::move(prepared.image), options, progress, result, &error);
        } catch (const std::bad_alloc&) {
            png.clear();
            error = tr("Not enough memory to process the picture");
        } catch (const std::system_error&) {
            // The encoder could not start its helper thread.
            png.clear();
            error = tr("Not enough system resources to process the picture");
        }
        if (png.isEmpty())
            error = sourcePath + QStringLiteral(": ") + error;
    }

    QElapsedTimer timer;
    timer.start();
    if (!png.isEmpty() && png.size() <= source.size()) {
        const QFileInfo outputInfo(outputPath);
        QString written = writeUniqueFile(folder, outputInfo.completeBaseName(),
                                          extensionOf(outputInfo), png, prepared.nPermissions,
                                          &error);
        if (!written.isEmpty()) {
            result.outcome = Outcome::Reduced;
            result.lstWritten << written;
            result.nOutputSize = png.size();
            result.dWriteMs = elapsedMs(timer);
            return result;
        }
    }

    // The source stays: the result is larger, or the file could not be
    // reduced or written. Either way nothing is claimed as saved.
    const bool larger = !png.isEmpty() && error.isEmpty();
    png.clear();
    QString copyError;
    const QString copied = writeUniqueFile(folder, sourceInfo.completeBaseName(),
                                           extensionOf(sourceInfo), source, prepared.nPermissions,
                                           &copyError);
    result.dWriteMs = elapsedMs(timer);
    result.nOutputSize = result.nInputSize;
    if (!copied.isEmpty()) {
        result.lstWritten << copied;
        result.outcome = larger ? Outcome::SourceKept : Outcome::SourceCopied;
        result.strError = error;
    } else {
        result.outcome = Outcome::Failed;
        result.strError = error.isEmpty() ? copyError : error + QLatin1Char('\n') + copyError;
    }
    return result;
}
