#pragma once

#include "PromoMainPage.h"

#include <QList>
#include <QModelIndex>
#include <QPersistentModelIndex>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVector>

#include <memory>

class BatchThread;
class BatchWorker;
class ErrorsDialog;
class ImagesListDelegate;
class ImagesListModel;
class ListView;
class PreviewLoader;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QTimer;

namespace QMWidgets {
class DropWidget;
class Label;
}
namespace QMMultiMedia {
class MediaSearchDialog;
}

// The program's one window: the drop area, the list of PNG files with its
// information line, the destination choice, the settings button, "Compress"
// and the rotating banner. It turns drops into the lists of a batch, runs
// batches and the actions after them, and keeps its own size.
class MainPage : public QMWidgets::PromoMainPage
{
    Q_OBJECT
public:
    explicit MainPage(QWidget* parent = nullptr);
    ~MainPage() override;

    QString destinationPath() const;
    void setDestinationPath(const QString& path);
    static QString displayPath(const QString& path);
    // The information line's text for a number of files.
    static QString infoText(int count);

    // Hands gathered file-open requests to the drop handling.
    virtual void filesDropped(const QList<QUrl>& lst);

    // For tests and the screenshot hook.
    ListView* listView() const { return m_pListView; }
    ImagesListModel* model() const { return m_pModel; }
    QMWidgets::DropWidget* dropWidget() const { return m_pDropWidget; }
    QPushButton* compressButton() const { return m_pcmdCompress; }
    QPushButton* settingsButton() const { return m_pcmdShowSettings; }
    QComboBox* destinationBox() const { return m_pcbxDestination; }
    QLabel* infoLabel() const { return m_plblInfo; }
    QMenu* rowMenu() const { return m_pMenu; }
    QMWidgets::Label* preview() const { return m_pPreview; }
    QMMultiMedia::MediaSearchDialog* searchDialog() const { return m_pSearchDialog; }
    QTimer* openTimer() const { return m_pOpenTimer; }
    BatchThread* batchThread() const { return m_pThread; }
    QList<QUrl> rootUrls() const { return m_lstRootUrls; }
    QVector<QString> imageFiles() const { return m_vecImages; }
    QVector<QString> textFiles() const { return m_vecTexts; }
    QVector<QString> otherFiles() const { return m_vecOthers; }
    QList<QUrl> pendingUrls() const { return m_lstPendingUrls; }
    bool isSearching() const { return m_bSearching; }
    QModelIndex menuIndex() const { return m_menuIndex; }
    void setMenuIndex(const QModelIndex& index) { m_menuIndex = index; }

public slots:
    void slotFilesDropped(QList<QUrl> lst);
    void slotDone(QString strFolder);

private slots:
    void slotDoIt();
    void slotShowSettings();
    void slotFileOpenRequest(QString strPath);
    void slotOpenFiles();
    void slotUpdateInfo();
    void slotRemove();
    void slotPauseConvertion(bool bPaused);
    void slotStopConvertion();
    void slotMoveImageDown();
    void slotMoveImageUp();
    void slotHandleImagePos();
    void slotPlay();
    void slotPlay(const QModelIndex& index);
    void slotButtonClicked(const QModelIndex& index, const QPoint& pt);
    void slotGotoFilesLocation();
    void slotDestinationActivated(int nIndex);

private:
    void finishBatch(BatchThread* pThread, const QString& strFolder);
    void startBatchThread(BatchThread* pThread);
    void joinBatch();
    // Hands a stopped batch that still finishes its file to m_lstRetiring,
    // so a new launch need not wait for it on the GUI thread.
    void retireBatch();
    void reapThread(BatchThread* pThread);
    bool isRowOfModel(const QModelIndex& index) const;
    // Names the files and folders the last search met but could not take.
    void showSkippedSources();

    QMWidgets::DropWidget* m_pDropWidget = nullptr;
    QList<QUrl> m_lstRootUrls;
    QPushButton* m_pcmdShowSettings = nullptr;
    QPushButton* m_pcmdCompress = nullptr;
    QMMultiMedia::MediaSearchDialog* m_pSearchDialog = nullptr;
    QList<QUrl> m_lstPendingUrls;
    QTimer* m_pOpenTimer = nullptr;
    ListView* m_pListView = nullptr;
    ImagesListModel* m_pModel = nullptr;
    QStackedWidget* m_pstkModes = nullptr;
    // Persistent, so a row removed since the menu opened is never read.
    QPersistentModelIndex m_menuIndex;
    QLabel* m_plblInfo = nullptr;
    QComboBox* m_pcbxDestination = nullptr;
    BatchThread* m_pThread = nullptr;
    QVector<QString> m_vecImages;
    QVector<QString> m_vecTexts;
    QVector<QString> m_vecOthers;
    QMWidgets::Label* m_pPreview = nullptr;
    QMenu* m_pMenu = nullptr;

    ImagesListDelegate* m_pDelegate = nullptr;
    // The worker of m_pThread; deleted with it once the thread is joined.
    QPointer<BatchWorker> m_pWorker;
    // Earlier batches, told to stop, whose threads have not ended yet; each
    // is joined and deleted with its worker when its thread ends, and a new
    // batch's thread starts only once none is left.
    QList<BatchThread*> m_lstRetiring;
    // A search runs a nested event loop; requests that arrive meanwhile wait.
    bool m_bSearching = false;
    // The row preview is decoded off the GUI thread, fitted to twice the
    // drop area, so neither decoding nor the slide's repaints of a photo
    // hold up the window; only the picture last asked for is shown.
    QString m_strPreviewPath;
    std::unique_ptr<PreviewLoader> m_pPreviewLoader;
    // The last search met the destination below a dropped folder and left it
    // out, so earlier results are not compressed again; the information line
    // says so.
    bool m_bDestinationLeftOut = false;
    // The list of sources the last search could not take; one window, not
    // one box per source, and replaced by the next search.
    QPointer<ErrorsDialog> m_pSkippedDialog;
};
