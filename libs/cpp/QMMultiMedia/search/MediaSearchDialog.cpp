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

// Regular files and folders, links followed; broken links, pipes, sockets
// and devices are neither. The entry's own type saves a stat per file.
EntryKind kindOf(const dirent *entry, const QString &path)
{
    switch (entry->d_type) {
    case DT_REG:
        return EntryKind::File;
    case DT_DIR:
        return EntryKind::Folder;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st;
        if (::stat(QFile::encodeName(path).constData(), &st) != 0)
            return EntryKind::Neither;
        if (S_ISREG(st.st_mode))
            return EntryKind::File;
        if (S_ISDIR(st.st_mode))
            return EntryKind::Folder;
        return EntryKind::Neither;
    }
    default:
        return EntryKind::Neither;
    }
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
    for (const QUrl &url : urls) {
        if (m_bCancelled)
            break;
        const QString path = url.toLocalFile();
        const QFileInfo info(path);
        if (info.isDir()) {
            if (enterFolder(info.absoluteFilePath()))
                searchFolder(QDir(path));
        } else if (info.isFile()) {
            addFile(path);
        } else {
            qDebug() << "Unknown";
        }
    }
    flushLabels();
    m_setWalkedFolders.clear();
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

// Records the folder as walked for this search; false when it was walked
// already, which is how links back to a parent (or any second way into the
// same folder) end instead of listing its files again.
bool MediaSearchDialog::enterFolder(const QString &folderPath)
{
    struct stat st;
    if (::stat(QFile::encodeName(folderPath).constData(), &st) != 0)
        return true; // unreadable; the walk finds nothing in it
    const QPair<quint64, quint64> id(quint64(st.st_dev), quint64(st.st_ino));
    if (m_setWalkedFolders.contains(id))
        return false;
    m_setWalkedFolders.insert(id);
    return true;
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
        qDebug() << "Cannot read folder" << folderPath;
        return;
    }

    bool gaveFile = false;
    QStringList subfolders;
    while (const dirent *entry = ::readdir(handle)) {
        if (m_bCancelled)
            break;
        const QString name = QFile::decodeName(entry->d_name);
        const QString path = prefix + name;
        const EntryKind kind = kindOf(entry, path);
        if (kind == EntryKind::Folder) {
            subfolders.append(name);
        } else if (kind == EntryKind::File) {
            gaveFile = true;
            addFile(path);
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
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        const QString path = prefix + name;
        // A subfolder searched already is still content of this folder.
        walkedSubfolder = true;
        if (!enterFolder(path))
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
