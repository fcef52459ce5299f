#include "BatchWorker.h"

#include "App.h"
#include "AppSettingsDialog.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr unsigned long PausePollMs = 500;
// Names tried for the batch folder before giving up: "<stamp>", then
// "<stamp> 2" up to this number.
constexpr int MaxBatchFolderNames = 1000;

std::function<QDateTime()>& clockForTesting()
{
    static std::function<QDateTime()> clock;
    return clock;
}

// P lies inside Q: equal, or Q followed by "/" (Q may end with "/" itself).
bool liesInside(const QString& path, const QString& folder)
{
    if (path == folder)
        return true;
    return path.startsWith(folder)
        && (folder.endsWith(QLatin1Char('/')) || path.at(folder.size()) == QLatin1Char('/'));
}

QString pathBelow(const QString& path, const QString& folder)
{
    QString rest = path.mid(folder.size());
    while (rest.startsWith(QLatin1Char('/')))
        rest.remove(0, 1);
    return rest;
}

QString lastComponent(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// Joins folder parts with "/", skipping empty ones; the result ends with "/".
QString joinFolder(const QStringList& parts)
{
    QString result;
    for (const QString& part : parts) {
        if (part.isEmpty())
            continue;
        if (!result.isEmpty() && !result.endsWith(QLatin1Char('/')))
            result += QLatin1Char('/');
        result += part;
    }
    if (!result.endsWith(QLatin1Char('/')))
        result += QLatin1Char('/');
    return result;
}

QString extensionOf(const QFileInfo& info)
{
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QString() : QStringLiteral(".") + suffix;
}

} // namespace

BatchWorker::BatchWorker(QObject* parent)
    : QObject(parent)
{
}

QString BatchWorker::relativeOutputDir(const QString& entry, const QString& batchFolder,
                                       bool isFolder) const
{
    QString result;
    const QString entryFolder = isFolder ? QString() : QFileInfo(entry).absolutePath();
    for (const QUrl& url : m_lstSourceUrls) {
        const QString root = url.toLocalFile();
        if (root.isEmpty())
            continue;
        if (isFolder) {
            if (liesInside(entry, root))
                result = joinFolder({batchFolder, lastComponent(root), pathBelow(entry, root)});
        } else if (QFileInfo(root).isFile()) {
            // A file dropped on its own lands in the batch folder itself.
            const QString rootFolder = QFileInfo(root).absolutePath();
            if (liesInside(entryFolder, rootFolder))
                result = joinFolder({batchFolder, pathBelow(entryFolder, rootFolder)});
        } else if (liesInside(entryFolder, root)) {
            result = joinFolder({batchFolder, lastComponent(root), pathBelow(entryFolder, root)});
        }
    }
    return result;
}

// The folder an entry goes to. Whatever the URLs say, it is never outside the
// batch folder: with no applying URL (or a path that climbs out) the entry
// goes to the batch folder itself.
QString BatchWorker::targetFolder(const QString& entry, const QString& batchFolder, bool structure)
{
    if (!structure)
        return batchFolder;
    QString folder = relativeOutputDir(entry, batchFolder, false);
    if (folder.isEmpty() || !liesInside(QDir::cleanPath(folder), QDir::cleanPath(batchFolder)))
        return batchFolder;
    if (!makeFolder(folder))
        return batchFolder;
    return folder;
}

void BatchWorker::setClockForTesting(const std::function<QDateTime()>& clock)
{
    clockForTesting() = clock;
}

// Makes the batch folder new, never taking one that exists, whoever made it:
// a folder planted in a shared destination could hold links that lead the
// output elsewhere. Returns the folder, ending with "/", or an empty string
// with *pError set.
QString BatchWorker::makeBatchFolder(const QString& destination, QString* pError)
{
    // An empty or relative destination would put the output in the current
    // directory.
    if (destination.isEmpty() || QDir::isRelativePath(destination)) {
        *pError = tr("The destination folder is not a valid folder") + QStringLiteral(": \"")
            + destination + QLatin1Char('"');
        return QString();
    }
    const QDateTime now = clockForTesting() ? clockForTesting()() : QDateTime::currentDateTime();
    const QString stamp = destination + now.toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"));
    // The destination itself may be made on demand, as the default one is.
    QDir().mkpath(destination);
    for (int n = 1; n <= MaxBatchFolderNames; ++n) {
        const QString folder = (n == 1 ? stamp : stamp + QLatin1Char(' ') + QString::number(n))
            + QLatin1Char('/');
        const int error = ::mkdir(QFile::encodeName(folder).constData(), 0777) == 0 ? 0 : errno;
        if (error == 0) {
            m_lstMadeFolders << QDir::cleanPath(folder);
            return folder;
        }
        if (error != EEXIST) {
            *pError = folder + QStringLiteral(": ") + tr("Can not create the folder")
                + QStringLiteral(": ") + qt_error_string(error);
            return QString();
        }
    }
    *pError = stamp + QStringLiteral("/: ") + tr("No free folder name");
    return QString();
}

// Makes the folder and any missing folders above it, noting each one made, so
// a batch that ends with nothing written can take them away again.
bool BatchWorker::makeFolder(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    // Mostly made already, for an earlier file of the same folder.
    if (QFileInfo(clean).isDir())
        return true;
    QStringList missing;
    for (QString path = clean; !QFileInfo::exists(path);) {
        missing.prepend(path);
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    for (const QString& path : qAsConst(missing)) {
        if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
            m_lstMadeFolders << path;
        else if (errno != EEXIST)
            break;
    }
    if (QFileInfo(clean).isDir())
        return true;
    appendErrorLine(folder + QStringLiteral(": ") + tr("Can not create the folder"));
    return false;
}

// Takes away the folders this run made, the latest first, where they are
// still empty; a folder that holds anything stays, whoever put it there.
void BatchWorker::removeMadeFolders()
{
    for (int i = m_lstMadeFolders.size() - 1; i >= 0; --i)
        ::rmdir(QFile::encodeName(m_lstMadeFolders.at(i)).constData());
    m_lstMadeFolders.clear();
}

void BatchWorker::slotAppendError(const QString& text)
{
    m_strErrors += text;
}

void BatchWorker::appendErrorLine(const QString& line)
{
    slotAppendError(line + QLatin1Char('\n'));
}

void BatchWorker::emitFileProgress(int percent)
{
    if (percent == m_nLastFileProgress)
        return;
    m_nLastFileProgress = percent;
    emit fileProgress(percent);
}

// One step (a PNG file or a copy phase) is done. 100 is kept for the end of
// the run, so the dialog shows its finished look only once all is over.
void BatchWorker::emitStepDone()
{
    ++m_nStepsDone;
    const int percent = int(m_nStepsDone * 100.0 / m_nSteps);
    if (percent > m_nLastTotalProgress && percent < 100) {
        m_nLastTotalProgress = percent;
        emit totalProgress(percent);
    }
}

// The pause and stop flags are not reset here: a Pause or Stop given while the
// thread was still starting must hold.
void BatchWorker::slotDoWork()
{
    m_strErrors.clear();
    m_nInputTotal = 0;
    m_nOutputTotal = 0;
    m_nStartedFiles = 0;
    m_nLastTotalProgress = -1;
    m_nStepsDone = 0;
    m_nWritten = 0;
    m_lstMadeFolders.clear();

    QMWidgets::App* app = QMWidgets::App::instance();
    QString destination = app->settingsValue(QStringLiteral("DestinationPath"),
                                             app->picturesDirectory(true)).toString();
    if (!destination.isEmpty() && !destination.endsWith(QLatin1Char('/')))
        destination += QLatin1Char('/');

    const bool copyTexts = AppSettingsDialog::copyTextsActive() && !m_vecTextFiles.isEmpty();
    const bool copyOthers = AppSettingsDialog::copyEntireContentActive() && !m_vecOtherFiles.isEmpty();
    m_nSteps = m_vecPngFiles.size() + (copyTexts ? 1 : 0) + (copyOthers ? 1 : 0);

    QString failure;
    QString batchFolder;
    if (!m_bStop) {
        batchFolder = makeBatchFolder(destination, &failure);
        if (batchFolder.isEmpty())
            appendErrorLine(failure);
    }
    if (!batchFolder.isEmpty())
        runSteps(batchFolder, copyTexts, copyOthers);

    // Nothing to show for it: no folder opened, and unless the user stopped
    // it, no "done" either.
    if (m_nWritten == 0) {
        if (!batchFolder.isEmpty() && m_nSteps > 0 && !m_bStop) {
            failure = batchFolder + QStringLiteral(": ") + tr("No file could be written");
            // A failed batch leaves no empty folders behind.
            removeMadeFolders();
        }
        batchFolder.clear();
    }

    if (!m_strErrors.isEmpty())
        emit errorsLog(m_strErrors);
    if (failure.isEmpty())
        emit totalProgress(100);
    else
        emit failed(failure);
    emit finished(batchFolder);
}

void BatchWorker::runSteps(const QString& batchFolder, bool copyTexts, bool copyOthers)
{
    const bool structure = AppSettingsDialog::folderStructureActive();
    const QVector<QString> pngFiles = m_vecPngFiles;
    OptimizeStep::Lookahead lookahead;
    m_pLookahead = &lookahead;
    for (int i = 0; i < pngFiles.size(); ++i) {
        const QString& source = pngFiles.at(i);
        const QString folder = targetFolder(source, batchFolder, structure);
        const QString output = OptimizeStep::uniqueFilePath(
            folder, QFileInfo(source).completeBaseName(), QStringLiteral(".png"));
        const QStringList written = compressFile(
            source, output, i + 1 < pngFiles.size() ? pngFiles.at(i + 1) : QString());
        if (m_bStop) {
            // A stopped batch keeps nothing of the file it was working on.
            for (const QString& path : written)
                QFile::remove(path);
            break;
        }
        m_nWritten += written.size();
        emitStepDone();
    }
    lookahead.cancel();
    m_pLookahead = nullptr;

    if (copyTexts && !m_bStop)
        runCopyPhase(tr("COPYING TEXT FILES"), m_vecTextFiles, batchFolder);
    if (copyOthers && !m_bStop)
        runCopyPhase(tr("COPYING NON PNG CONTENT"), m_vecOtherFiles, batchFolder);
}

// A copy phase is one step of the batch, shown under its own title.
void BatchWorker::runCopyPhase(const QString& title, const QVector<QString>& files,
                               const QString& batchFolder)
{
    m_nLastFileProgress = -1;
    emitFileProgress(0);
    emit currentFile(title);
    copyFiles(files, batchFolder);
    emitStepDone();
}

QStringList BatchWorker::compressFile(const QString& sourcePath, const QString& outputPath,
                                      const QString& nextSourcePath)
{
    while (m_bPaused && !m_bStop)
        QThread::msleep(PausePollMs);
    if (m_bStop)
        return QStringList();

    m_nLastFileProgress = -1;
    emitFileProgress(0);
    emit currentFile(tr("COMPRESSING"));
    emit currentFilePathAndName(sourcePath);
    ++m_nStartedFiles;
    emit filesCountChanged(m_nStartedFiles, m_vecPngFiles.size());

    qDebug() << "!!!" << sourcePath << "; OUTPUT:" << outputPath;

    OptimizeStep::Options options;
    options.nColors = AppSettingsDialog::quality();
    options.nResizePercent = AppSettingsDialog::resizePercent();
    options.bGray = AppSettingsDialog::doGray();
    options.bDithering = AppSettingsDialog::dithering();

    // The next file is prepared ahead with the same options; should they
    // differ by the time it is begun, it is prepared again.
    const OptimizeStep::Result result = OptimizeStep::run(
        sourcePath, outputPath, options, [this](int percent) { emitFileProgress(percent); },
        m_pLookahead, m_bStop ? QString() : nextSourcePath, options);

    if (!result.strError.isEmpty())
        appendErrorLine(result.strError);
    m_nInputTotal += result.nInputSize;
    m_nOutputTotal += result.nOutputSize;
    emit totalProgressSizes(m_nInputTotal, m_nOutputTotal);
    return result.lstWritten;
}

void BatchWorker::copyFiles(const QVector<QString>& files, const QString& batchFolder)
{
    const bool structure = AppSettingsDialog::folderStructureActive();
    const int count = files.size();
    int done = 0;
    for (const QString& entry : files) {
        const QFileInfo info(entry);
        if (structure && info.isDir()) {
            QString folder = relativeOutputDir(entry, batchFolder, true);
            if (!folder.isEmpty() && liesInside(QDir::cleanPath(folder), QDir::cleanPath(batchFolder))
                && makeFolder(folder))
                ++m_nWritten;
            ++done;
            emitFileProgress(int(done * 100.0 / count));
            continue;
        }
        if (!info.isDir()) {
            const QString folder = targetFolder(entry, batchFolder, structure);
            QString error;
            const QString written = OptimizeStep::copyToUniqueFile(
                entry, folder, info.completeBaseName(), extensionOf(info), &error);
            if (written.isEmpty())
                appendErrorLine(error);
            else
                ++m_nWritten;
        }
        if (m_bStop)
            break;
        ++done;
        emitFileProgress(int(done * 100.0 / count));
    }
}
