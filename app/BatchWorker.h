#pragma once

#include "OptimizeStep.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVector>

#include <atomic>
#include <functional>

class QDateTime;

// One batch: writes a colour-reduced copy of every PNG file into a new
// time-stamped folder under the destination (or an unchanged copy of the
// source where that is smaller or the file can not be reduced), optionally
// copies the text files and the other content of the drop, and reports by
// signals. Lives on its own BatchThread; stop() and setPaused() may be called
// from any thread at any time, also before the run begins.
//
// The batch folder is always made new: when its time-stamped name is taken
// (another batch in the same second, or a folder someone else made there),
// the next free one of "<stamp> 2", "<stamp> 3"... is used. A batch that has
// no folder, or wrote nothing into it, ends with failed() (unless stopped)
// instead of a total progress of 100, and with finished(""); the folders it
// made go again where they stayed empty.
class BatchWorker : public QObject
{
    Q_OBJECT
public:
    explicit BatchWorker(QObject* parent = nullptr);

    void setPngFiles(const QVector<QString>& files) { m_vecPngFiles = files; }
    void setTextFiles(const QVector<QString>& files) { m_vecTextFiles = files; }
    void setImageFiles(const QVector<QString>& files) { m_vecImageFiles = files; }
    void setOtherFiles(const QVector<QString>& files) { m_vecOtherFiles = files; }
    void setSourceUrls(const QList<QUrl>& urls) { m_lstSourceUrls = urls; }

    void stop() { m_bStop = true; }
    void setPaused(bool paused) { m_bPaused = paused; }
    bool isStopped() const { return m_bStop; }
    bool isPaused() const { return m_bPaused; }

    // The output folder of an entry under the batch folder when the folder
    // structure is rebuilt; empty when no source URL applies.
    QString relativeOutputDir(const QString& entry, const QString& batchFolder, bool isFolder) const;

    // Test hook: the time that names the batch folders of runs begun
    // afterwards. Pass an empty function to reset.
    static void setClockForTesting(const std::function<QDateTime()>& clock);

signals:
    // The batch folder; empty when there is none or nothing was written.
    void finished(const QString& batchFolder);
    void fileProgress(int percent);
    void totalProgress(int percent);
    void compresslProgress(int percent);
    void currentFile(const QString& status);
    void currentFilePathAndName(const QString& path);
    void errorsLog(const QString& log);
    void notEnoughtFreeSpace();
    void totalProgressSizes(qint64 inputTotal, qint64 outputTotal);
    void filesCountChanged(int current, int total);
    // The batch could not do its work (no folder, or nothing written), and
    // why; sent in place of the final total progress, before finished.
    void failed(const QString& reason);

public slots:
    void slotDoWork();
    void slotAppendError(const QString& text);

private:
    void runSteps(const QString& batchFolder, bool copyTexts, bool copyOthers);
    QStringList compressFile(const QString& sourcePath, const QString& outputPath,
                             const QString& nextSourcePath);
    void runCopyPhase(const QString& title, const QVector<QString>& files, const QString& batchFolder);
    void copyFiles(const QVector<QString>& files, const QString& batchFolder);
    QString targetFolder(const QString& entry, const QString& batchFolder, bool structure);
    bool makeFolder(const QString& folder);
    void removeMadeFolders();
    QString makeBatchFolder(const QString& destination, QString* pError);
    void appendErrorLine(const QString& line);
    void emitFileProgress(int percent);
    void emitStepDone();

    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bPaused{false};
    QVector<QString> m_vecPngFiles;
    QVector<QString> m_vecTextFiles;
    QVector<QString> m_vecImageFiles;
    QVector<QString> m_vecOtherFiles;
    QList<QUrl> m_lstSourceUrls;
    QString m_strErrors;
    qint64 m_nInputTotal = 0;
    qint64 m_nOutputTotal = 0;
    int m_nStartedFiles = 0;
    // Progress coalescing: at most one signal per percent, so a large picture
    // (one reducer step per pixel column) does not flood the GUI thread.
    int m_nLastFileProgress = -1;
    int m_nLastTotalProgress = -1;
    int m_nSteps = 0;
    int m_nStepsDone = 0;
    // Prepares the next PNG file while the current one is encoded; lives for
    // one run.
    OptimizeStep::Lookahead* m_pLookahead = nullptr;
    // Files and folders this run put into its batch folder.
    int m_nWritten = 0;
    // The folders this run made (the batch folder first), by clean path.
    QStringList m_lstMadeFolders;
};
