#ifndef QMMULTIMEDIA_MEDIASEARCHDIALOG_H
#define QMMULTIMEDIA_MEDIASEARCHDIALOG_H

#include <QByteArray>
#include <QDialog>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QPair>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVector>

class QDir;
class QLabel;

namespace QMMultiMedia {

class NativeAudioPlayer;

// Modal dialog that walks dropped files and folders on the GUI thread and
// sorts every file found by media type. The caller sets the URLs, starts
// slotStart() from the dialog's own event loop (a short single-shot timer
// before exec()) and reads the lists once exec() returns Accepted. A
// cancelled search leaves every list empty and ends Rejected.
//
// Each folder is walked once, however many ways lead to it, and each name
// is listed once: a file reached twice under the same name in the same
// folder (dropped twice, or dropped on its own and met again in a dropped
// folder, through links or not) keeps the first place it was met, in the
// order of the URLs. Other names of the same file (hard links, links to
// files) are names of their own and are listed each, so that a tree rebuilt
// from the lists is whole.
class MediaSearchDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MediaSearchDialog(QWidget *parent = nullptr);
    ~MediaSearchDialog() override;

    void setUrls(const QList<QUrl> &urls);

    QVector<QString> audioFiles() const;
    QVector<QString> videoFiles() const;
    QVector<QString> imageFiles() const;
    QVector<QString> textFiles() const;
    QVector<QString> otherFiles() const;
    // Absolute paths of the subfolders entered below the dropped folders.
    QVector<QString> folders() const;
    // Readable folders that held no file and no subfolder, by their absolute
    // path below the dropped one (links not resolved), as the files are.
    QVector<QString> emptyFolders() const;

    void addEmptyFolder(const QString &path);

    // Folders the walk does not enter when it meets them below a dropped
    // folder, known by device and inode, so any path or link to them counts.
    // A folder dropped itself is searched as given, even one of these or one
    // inside them. Folders that do not exist when the search starts are
    // ignored.
    void setFoldersToLeaveOut(const QStringList &paths);
    // The paths at which the last search met such a folder and left it out.
    QVector<QString> leftOutFolders() const;

    // An entry the last search met but could not take: a name that does not
    // survive the conversion to text and back, or a folder that could not be
    // opened. The path is shown as far as its text allows.
    struct SkippedSource {
        QString path;
        QString reason;
        bool isFolder = false;
    };
    QVector<SkippedSource> skippedSources() const;

    // Whether an audio or video file can be played; a subclass may replace
    // the probe.
    virtual bool isPlayable(const QString &path);

public slots:
    // Escape, the close button and Cancel all end the search the same way.
    void reject() override;

private slots:
    void slotStart();
    void slotCancel();

private:
    void clearLists();
    void addFile(const QString &path);
    void searchFolder(const QDir &dir);
    void walkFolder(const QString &folderPath);
    enum class FolderVisit { Enter, WalkedAlready, LeftOut };
    FolderVisit visitFolder(const QString &folderPath);
    // A file's name: the device and inode of the folder that holds the
    // entry, and the entry name's bytes.
    using FileId = QPair<quint64, quint64>;
    using NameId = QPair<FileId, QByteArray>;
    void noteDroppedFileNames(const QList<QUrl> &urls);
    bool isFirstPlaceOf(const NameId &name);
    void skip(const QString &path, const QString &reason, bool isFolder);
    void countFile(const QString &name);
    void flushLabels();
    void pumpEvents();

    QLabel *m_pFileLabel = nullptr;
    QLabel *m_pCountLabel = nullptr;
    QVector<QString> m_vecFolders;
    QVector<QString> m_vecAudio;
    QVector<QString> m_vecVideo;
    QVector<QString> m_vecImages;
    QVector<QString> m_vecTexts;
    QVector<QString> m_vecOthers;
    QVector<QString> m_vecEmptyFolders;
    bool m_bCancelled = false;
    QList<QUrl> m_listUrls;
    int m_nFileCount = 0;

    // Walk state of one search.
    bool m_bRunning = false;
    QSet<QPair<quint64, quint64>> m_setWalkedFolders; // device and inode
    QElapsedTimer m_pumpClock;
    QElapsedTimer m_labelClock;
    bool m_bLabelsPending = false;
    QString m_strPendingName;
    int m_anPendingCounts[5] = {0, 0, 0, 0, 0};
    QPointer<NativeAudioPlayer> m_pProbe;
    QStringList m_lstFoldersToLeaveOut;
    QSet<QPair<quint64, quint64>> m_setLeaveOut;   // device and inode
    // The names of the files dropped on their own, and whether the search
    // has listed each already; no other name can be met twice.
    QHash<NameId, bool> m_hashDroppedFileNames;
    QVector<QString> m_vecLeftOutFolders;
    QVector<SkippedSource> m_vecSkipped;
};

} // namespace QMMultiMedia

#endif
