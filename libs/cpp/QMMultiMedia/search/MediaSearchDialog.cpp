#include "MediaSearchDialog.h"
#include "MediaType.h"
#include "NativeAudioPlayer.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <cerrno>

#include <dirent.h>
#include <sys/stat.h>

namespace QMMultiMedia {

namespace {

// Inside one big folder the walk still lets the window breathe this often.
constexpr qint64 kPumpIntervalMs = 30;
// Laying out and painting new label texts costs far more than walking a
// folder; nobody can read texts that change faster than this anyway.
constexpr qint64 kLabelIntervalMs = 30;

// Endings whose files count as playable without asking the platform player;
// matched on the path exactly as given, case included.
const QLatin1String kTrustedEndings[] = {
    QLatin1String(".mp3"), QLatin1String(".mp4"), QLatin1String(".m4a"),
    QLatin1String(".caf"), QLatin1String(".aif"), QLatin1String(".aiff"),
    QLatin1String(".m4r"), QLatin1String(".m4v"), QLatin1String(".mov"),
};

enum class EntryKind { File, Folder, Neither };

using FileId = QPair<quint64, quint64>; // device and inode

// Regular files and folders, links followed; broken links, pipes, sockets
// and devices are neither. The entry's own type saves a stat for plain files
// and folders; a link or an entry of unknown type is looked up by its name's
// own bytes, which hold even where its text does not.
EntryKind kindOf(int folderFd, const dirent *entry)
{
    struct stat st;
    switch (entry->d_type) {
    case DT_REG:
        return EntryKind::File;
    case DT_DIR:
        return EntryKind::Folder;
    case DT_LNK:
    case DT_UNKNOWN:
        if (::fstatat(folderFd, entry->d_name, &st, 0) != 0)
            return EntryKind::Neither;
        if (S_ISREG(st.st_mode))
            return EntryKind::File;
        if (S_ISDIR(st.st_mode))
            return EntryKind::Folder;
        return EntryKind::Neither;
    default:
        return EntryKind::Neither;
    }
}

FileId idOf(const struct stat &st)
{
    return FileId(quint64(st.st_dev), quint64(st.st_ino));
}

// Whether the name's text encodes back to the name's bytes; a path built
// from any other text leads nowhere. Plain ASCII always does.
bool nameSurvivesText(const char *name, const QString &text)
{
    for (const char *p = name; *p; ++p) {
        if (uchar(*p) >= 0x80)
            return QFile::encodeName(text) == QByteArray(name);
    }
    return true;
}

bool isDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// The device and inode of a path, links followed; false when it has none.
bool idOfPath(const QByteArray &path, FileId *id)
{
    struct stat st;
    if (::stat(path.constData(), &st) != 0)
        return false;
    *id = idOf(st);
    return true;
}

bool idOfPath(const QString &path, FileId *id)
{
    return idOfPath(QFile::encodeName(path), id);
}

// The folder and name bytes of a file's path; the folder is known by device
// and inode, so any path or link to it gives the same name. False when the
// folder cannot be looked up.
bool nameIdOfPath(const QString &path, QPair<FileId, QByteArray> *name)
{
    const QByteArray bytes = QFile::encodeName(path);
    const int slash = bytes.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : bytes.left(slash);
    name->second = bytes.mid(slash + 1);
    return idOfPath(folder, &name->first);
}

} // namespace

MediaSearchDialog::MediaSearchDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("MediaSearchDialog"));

    QLabel *heading = new QLabel(
        QStringLiteral("<CENTER><H2>Searching for the media files.<br>Please, wait...</H2></CENTER>"), this);
    heading->setTextFormat(Qt::RichText);
    m_pFileLabel = new QLabel(this);
    // A file name is shown as it is, never read as markup.
    m_pFileLabel->setTextFormat(Qt::PlainText);
    m_pCountLabel = new QLabel(this);
    QPushButton *cancelButton = new QPushButton(tr("&Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("SearchStopButton"));

    QVBoxLayout *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_pFileLabel);
    layout->addWidget(m_pCountLabel);
    layout->addWidget(cancelButton);

    connect(cancelButton, SIGNAL(clicked()), this, SLOT(slotCancel()));
}

MediaSearchDialog::~MediaSearchDialog() = default;

void MediaSearchDialog::setUrls(const QList<QUrl> &urls)
{
    if (urls != m_listUrls)
        m_listUrls = urls;
}

QVector<QString> MediaSearchDialog::audioFiles() const { return m_vecAudio; }
QVector<QString> MediaSearchDialog::videoFiles() const { return m_vecVideo; }
QVector<QString> MediaSearchDialog::imageFiles() const { return m_vecImages; }
QVector<QString> MediaSearchDialog::textFiles() const { return m_vecTexts; }
QVector<QString> MediaSearchDialog::otherFiles() const { return m_vecOthers; }
QVector<QString> MediaSearchDialog::folders() const { return m_vecFolders; }
QVector<QString> MediaSearchDialog::emptyFolders() const { return m_vecEmptyFolders; }

void MediaSearchDialog::addEmptyFolder(const QString &path)
{
    m_vecEmptyFolders.append(path);
}

void MediaSearchDialog::setFoldersToLeaveOut(const QStringList &paths)
{
    m_lstFoldersToLeaveOut = paths;
}

QVector<QString> MediaSearchDialog::leftOutFolders() const { return m_vecLeftOutFolders; }

QVector<MediaSearchDialog::SkippedSource> MediaSearchDialog::skippedSources() const
{
    return m_vecSkipped;
}

void MediaSearchDialog::clearLists()
{
    m_nFileCount = 0;
    m_vecFolders.clear();
    m_vecAudio.clear();
    m_vecVideo.clear();
    m_vecImages.clear();
    m_vecTexts.clear();
    m_vecOthers.clear();
    m_vecEmptyFolders.clear();
    m_vecLeftOutFolders.clear();
    m_vecSkipped.clear();
}

void MediaSearchDialog::slotStart()
{
    // A timer may fire into a walk that is still running its nested loops, or
    // after the user closed the dialog before the search began.
    if (m_bRunning || (m_bCancelled && !isVisible()))
        return;

    m_bCancelled = false;
    clearLists();
    m_bRunning = true;
    m_setWalkedFolders.clear();
    m_bLabelsPending = false;
    m_pumpClock.start();
    m_labelClock.start();

    // The walk runs event loops, and new URLs given meanwhile belong to the
    // next search; they must not pull the list out from under this one.
    const QList<QUrl> urls = m_listUrls;

    // A folder dropped itself is taken as given, wherever else the walk
    // meets it.
    m_setLeaveOut.clear();
    FileId id;
    for (const QString &path : qAsConst(m_lstFoldersToLeaveOut)) {
        if (!path.isEmpty() && idOfPath(path, &id))
            m_setLeaveOut.insert(id);
    }
    for (const QUrl &url : urls) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && QFileInfo(path).isDir() && idOfPath(path, &id))
            m_setLeaveOut.remove(id);
    }
    noteDroppedFileNames(urls);

    for (const QUrl &url : urls) {
        if (m_bCancelled)
            break;
        const QString path = url.toLocalFile();
        const QFileInfo info(path);
        if (info.isDir()) {
            if (visitFolder(info.absoluteFilePath()) == FolderVisit::Enter)
                searchFolder(QDir(path));
        } else if (info.isFile()) {
            NameId name;
            if (!nameIdOfPath(path, &name) || isFirstPlaceOf(name))
                addFile(path);
        } else {
            qDebug() << "Unknown";
        }
    }
    flushLabels();
    m_setWalkedFolders.clear();
    m_hashDroppedFileNames.clear();
    m_bRunning = false;

    if (m_bCancelled) {
        // The cancel closed the dialog already; nothing found before or
        // after it may reach the caller.
        clearLists();
        return;
    }
    accept();
}

void MediaSearchDialog::slotCancel()
{
    reject();
}

void MediaSearchDialog::reject()
{
    m_bCancelled = true;
    clearLists();
    // Ends a playability probe that is waiting for the platform player.
    if (m_pProbe)
        m_pProbe->setMedia(QString());
    QDialog::reject();
}

void MediaSearchDialog::addFile(const QString &path)
{
    const int type = mediaTypeOfFile(path);
    switch (type) {
    case Audio:
    case Video: {
        if (m_bCancelled)
            return;
        const bool playable = isPlayable(path);
        if (m_bCancelled)
            return;
        if (!playable)
            m_vecOthers.append(path);
        else if (type == Audio)
            m_vecAudio.append(path);
        else
            m_vecVideo.append(path);
        break;
    }
    case Image:
        m_vecImages.append(path);
        break;
    case Text:
        m_vecTexts.append(path);
        break;
    default:
        m_vecOthers.append(path);
        break;
    }
}

bool MediaSearchDialog::isPlayable(const QString &path)
{
    for (const QLatin1String &ending : kTrustedEndings) {
        if (path.endsWith(ending, Qt::CaseSensitive))
            return !QFileInfo(path).isHidden();
    }
    // The probe runs event loops; let the labels show where the walk is.
    flushLabels();
    NativeAudioPlayer player;
    m_pProbe = &player;
    player.setMedia(path);
    const qint64 duration = player.waitForDuration();
    m_pProbe = nullptr;
    return duration > 0;
}

// Records the folder as walked for this search, unless it was walked
// already, which is how links back to a parent (or any second way into the
// same folder) end instead of listing its files again, or it is one to leave
// out.
MediaSearchDialog::FolderVisit MediaSearchDialog::visitFolder(const QString &folderPath)
{
    FileId id;
    if (!idOfPath(folderPath, &id))
        return FolderVisit::Enter; // the walk says why it cannot be opened
    if (m_setWalkedFolders.contains(id))
        return FolderVisit::WalkedAlready;
    if (m_setLeaveOut.contains(id)) {
        m_vecLeftOutFolders.append(folderPath);
        return FolderVisit::LeftOut;
    }
    m_setWalkedFolders.insert(id);
    return FolderVisit::Enter;
}

// Each folder is walked once, so inside the walk every name is met once;
// only a file dropped on its own can be met again under its name. Knowing
// those names before the walk spares a lookup per file everywhere else.
void MediaSearchDialog::noteDroppedFileNames(const QList<QUrl> &urls)
{
    m_hashDroppedFileNames.clear();
    for (const QUrl &url : urls) {
        const QString path = url.toLocalFile();
        NameId name;
        if (!path.isEmpty() && QFileInfo(path).isFile() && nameIdOfPath(path, &name))
            m_hashDroppedFileNames.insert(name, false);
    }
}

// A name dropped on its own keeps the first place it was met: its own URL,
// or its folder's walk when the folder comes first.
bool MediaSearchDialog::isFirstPlaceOf(const NameId &name)
{
    const auto it = m_hashDroppedFileNames.find(name);
    if (it == m_hashDroppedFileNames.end())
        return true;
    if (it.value())
        return false;
    it.value() = true;
    return true;
}

void MediaSearchDialog::skip(const QString &path, const QString &reason, bool isFolder)
{
    SkippedSource source;
    source.path = path;
    source.reason = reason;
    source.isFolder = isFolder;
    m_vecSkipped.append(source);
}

void MediaSearchDialog::searchFolder(const QDir &dir)
{
    if (m_bCancelled)
        return;
    pumpEvents();
    walkFolder(dir.absolutePath());
}

void MediaSearchDialog::walkFolder(const QString &folderPath)
{
    const QString prefix = folderPath.endsWith(QLatin1Char('/')) ? folderPath
                                                                  : folderPath + QLatin1Char('/');
    DIR *handle = ::opendir(QFile::encodeName(folderPath).constData());
    if (!handle) {
        // Neither empty nor walked: its files must not be taken as absent.
        const QString why = qt_error_string(errno);
        skip(folderPath, tr("folder cannot be opened: %1").arg(why), true);
        return;
    }
    const int folderFd = ::dirfd(handle);
    // Only names dropped on their own can be met a second time.
    FileId folderId;
    struct stat folderStat;
    const bool lookUpNames = !m_hashDroppedFileNames.isEmpty() && ::fstat(folderFd, &folderStat) == 0;
    if (lookUpNames)
        folderId = idOf(folderStat);

    bool gaveFile = false;
    QStringList subfolders;
    while (const dirent *entry = ::readdir(handle)) {
        if (m_bCancelled)
            break;
        if (isDotOrDotDot(entry->d_name))
            continue;
        const EntryKind kind = kindOf(folderFd, entry);
        if (kind == EntryKind::Neither)
            continue;
        const QString name = QFile::decodeName(entry->d_name);
        if (!nameSurvivesText(entry->d_name, name)) {
            // Listed, it would fail later as missing. It is still content,
            // so this folder is not empty.
            gaveFile = true;
            skip(prefix + name, tr("name is not valid UTF-8"), kind == EntryKind::Folder);
            continue;
        }
        if (kind == EntryKind::Folder) {
            subfolders.append(name);
        } else {
            gaveFile = true;
            if (!lookUpNames || isFirstPlaceOf(NameId(folderId, QByteArray(entry->d_name))))
                addFile(prefix + name);
            countFile(name);
            if (m_pumpClock.elapsed() >= kPumpIntervalMs)
                pumpEvents();
        }
    }
    ::closedir(handle);

    bool walkedSubfolder = false;
    for (const QString &name : qAsConst(subfolders)) {
        if (m_bCancelled)
            return;
        const QString path = prefix + name;
        // A subfolder searched already or left out is still content of this
        // folder.
        walkedSubfolder = true;
        if (visitFolder(path) != FolderVisit::Enter)
            continue;
        m_vecFolders.append(path);
        searchFolder(QDir(path));
    }

    // In the form the files carry (below the dropped path, links kept), so
    // the copy phase finds it under its dropped folder like them.
    if (!gaveFile && !walkedSubfolder && !m_bCancelled)
        addEmptyFolder(folderPath);
}

void MediaSearchDialog::countFile(const QString &name)
{
    ++m_nFileCount;
    if (m_nFileCount > 4 && m_nFileCount % 10 != 0)
        return;
    // Setting a label's text is costly; the texts are kept and applied when
    // events are processed next, where they can first be seen.
    m_strPendingName = name;
    m_anPendingCounts[0] = m_vecVideo.size();
    m_anPendingCounts[1] = m_vecAudio.size();
    m_anPendingCounts[2] = m_vecImages.size();
    m_anPendingCounts[3] = m_vecTexts.size();
    m_anPendingCounts[4] = m_vecOthers.size();
    m_bLabelsPending = true;
}

void MediaSearchDialog::flushLabels()
{
    if (!m_bLabelsPending)
        return;
    m_bLabelsPending = false;
    m_labelClock.restart();
    m_pFileLabel->setText(m_strPendingName);
    m_pCountLabel->setText(
        QStringLiteral("<H3>Video Files: %1<BR>Audio Files: %2<BR>Image Files: %3<BR>Text Files: %4<BR>Other Files: %5<BR></H3>")
            .arg(m_anPendingCounts[0])
            .arg(m_anPendingCounts[1])
            .arg(m_anPendingCounts[2])
            .arg(m_anPendingCounts[3])
            .arg(m_anPendingCounts[4]));
}

void MediaSearchDialog::pumpEvents()
{
    if (m_labelClock.elapsed() >= kLabelIntervalMs)
        flushLabels();
    QCoreApplication::processEvents();
    m_pumpClock.restart();
}

} // namespace QMMultiMedia
