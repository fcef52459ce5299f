#include "MainPage.h"

#include "AddButtonAction.h"
#include "App.h"
#include "AppResources.h"
#include "AppSettingsDialog.h"
#include "AudioPlayer.h"
#include "BatchDialog.h"
#include "BatchThread.h"
#include "BatchWorker.h"
#include "DropWidget.h"
#include "ErrorsDialog.h"
#include "ImagesListDelegate.h"
#include "ImagesListModel.h"
#include "Label.h"
#include "ListView.h"
#include "MediaSearchDialog.h"
#include "PreviewLoader.h"
#include "Os.h"
#include "PromoAdsBar.h"
#include "PromoMenuBar.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kDropAreaHeight = 160;
constexpr int kOpenGatherMs = 100;
constexpr int kSearchStartMs = 300;
constexpr int kBatchStartMs = 1500;
constexpr int kRetiredPollMs = 100;
constexpr int kPreviewShowMs = 4000;

QMWidgets::App* app()
{
    return QMWidgets::App::instance();
}

// The row preview's picture, on the preview loader's thread: every picture
// the batch can compress, fitted to twice the drop area, which is all the
// preview ever shows. Only a picture beyond the batch's own limit is refused.
QImage rowPreviewPicture(const QString& path)
{
    return PreviewLoader::decodeFitted(path, QSize(2 * 420, 2 * kDropAreaHeight));
}

} // namespace

MainPage::MainPage(QWidget* parent)
    : QMWidgets::PromoMainPage(parent, false)
{
    ensureAppResources();
    setMinimumWidth(420);
    setObjectName(QStringLiteral("MainPage"));

    m_pDropWidget = new QMWidgets::DropWidget();
    connect(m_pDropWidget, SIGNAL(dropped(QList<QUrl>)), this, SLOT(slotFilesDropped(QList<QUrl>)));
    m_pDropWidget->setHideOnDrop(false);
    m_pDropWidget->setOpenMode(0);
    m_pDropWidget->setFixedHeight(kDropAreaHeight);
    m_pDropWidget->setButtonText(tr("Click to open the folder with PNG files"));
    m_pDropWidget->setLabelText(
        tr("<H2><center>Drop the PNG files<br>and folders here<br><bold>+</bold></center></H2>"));

    m_pcbxDestination = new QComboBox();
    m_pcbxDestination->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);

    auto* pcmdGoTo = new QPushButton(QIcon(QStringLiteral(":/Button_GoTo.png")), QString());
    connect(pcmdGoTo, SIGNAL(clicked()), this, SLOT(slotGotoFilesLocation()));
    pcmdGoTo->setToolTip(tr("Opens the destination folder in finder"));
    pcmdGoTo->setFlat(true);
    pcmdGoTo->setMinimumHeight(32);
    pcmdGoTo->setObjectName(QStringLiteral("BrowseButton"));

    m_pcbxDestination->addItem(QIcon(), displayPath(destinationPath()), 0);
    m_pcbxDestination->addItem(QIcon(), QStringLiteral("Change destination folder..."), 1);
    m_pcbxDestination->addItem(QIcon(), QStringLiteral("Reset"), 2);
    connect(m_pcbxDestination, SIGNAL(activated(int)), this, SLOT(slotDestinationActivated(int)));

    auto* plblDestination = new QLabel(tr("Destination:"));
    plblDestination->setObjectName(QStringLiteral("SimpleLabel"));
    auto* destinationRow = new QHBoxLayout();
    destinationRow->setContentsMargins(5, 5, 5, 5);
    destinationRow->setSpacing(4);
    destinationRow->addWidget(plblDestination);
    destinationRow->addWidget(m_pcbxDestination);
    destinationRow->addWidget(pcmdGoTo);

    m_plblInfo = new QLabel();
    m_plblInfo->setObjectName(QStringLiteral("InfoLabel"));

    m_pDelegate = new ImagesListDelegate(this);

    m_pPreview = new QMWidgets::Label(m_pDropWidget);
    m_pPreview->hide();
    m_pPreviewLoader.reset(new PreviewLoader(rowPreviewPicture));
    connect(m_pPreviewLoader.get(), &PreviewLoader::loaded, this,
            [this](const QString& path, const QImage& image) {
                if (path == m_strPreviewPath)
                    m_pPreview->setPixmap(QPixmap::fromImage(image));
            });
    connect(m_pDelegate, SIGNAL(play(QModelIndex)), this, SLOT(slotPlay(QModelIndex)));

    m_pListView = new ListView();
    m_pModel = new ImagesListModel(this);
    m_pListView->setModel(m_pModel);
    m_pListView->setMouseTracking(true);
    m_pListView->setItemDelegate(m_pDelegate);
    m_pListView->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_pListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pListView->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(m_pListView, SIGNAL(dropped(QList<QUrl>)), this, SLOT(slotFilesDropped(QList<QUrl>)));

    m_pcmdCompress = new QPushButton(QStringLiteral("Compress"));
    m_pcmdCompress->setFlat(true);
    m_pcmdCompress->setObjectName(QStringLiteral("RunBatchButton"));
    connect(m_pcmdCompress, SIGNAL(clicked()), this, SLOT(slotDoIt()));

    m_pcmdShowSettings = new QPushButton();
    m_pcmdShowSettings->setFlat(true);
    m_pcmdShowSettings->setObjectName(QStringLiteral("ExportSettingsButton"));
    connect(m_pcmdShowSettings, SIGNAL(clicked()), this, SLOT(slotShowSettings()));

    // The information line sits over the bottom edge of the list.
    auto* listLayout = new QVBoxLayout(m_pListView);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(0);
    listLayout->addStretch(1);
    listLayout->addWidget(m_plblInfo);

    connect(m_pModel, SIGNAL(modelReset()), this, SLOT(slotUpdateInfo()));
    connect(m_pModel, SIGNAL(rowsRemoved(QModelIndex,int,int)), this, SLOT(slotUpdateInfo()));

    m_pOpenTimer = new QTimer(this);
    m_pOpenTimer->setInterval(kOpenGatherMs);
    connect(m_pOpenTimer, SIGNAL(timeout()), this, SLOT(slotOpenFiles()));
    connect(app(), SIGNAL(fileOpenRequest(QString)), this, SLOT(slotFileOpenRequest(QString)));

    m_pSearchDialog = new QMMultiMedia::MediaSearchDialog(this);

    m_pstkModes = new QStackedWidget();
    m_pMenu = new QMenu(this);
    m_pMenu->addAction(QIcon(QStringLiteral(":/preview.png")), tr("Show Image"), this, SLOT(slotPlay()));
    m_pMenu->addAction(QIcon(QStringLiteral(":/close.png")), tr("Remove from list"), this, SLOT(slotRemove()));
    m_pstkModes->setFixedHeight(kDropAreaHeight);
    m_pstkModes->setObjectName(QStringLiteral("m_pstkModes"));

    auto* pButton = new AddButtonAction();
    connect(pButton, SIGNAL(triggered(QModelIndex,QPoint)), this, SLOT(slotButtonClicked(QModelIndex,QPoint)));
    m_pDelegate->addButton(pButton);
    m_pstkModes->addWidget(m_pDropWidget);

    auto* stackLayout = new QVBoxLayout();
    stackLayout->setContentsMargins(2, 2, 2, 2);
    stackLayout->addWidget(m_pstkModes);

    auto* buttonRow = new QHBoxLayout();
    buttonRow->setContentsMargins(8, 8, 8, 8);
    buttonRow->setSpacing(3);
    buttonRow->addStretch(0);
    buttonRow->addWidget(m_pcmdShowSettings);
    buttonRow->addWidget(m_pcmdCompress);
    buttonRow->addStretch(0);

    auto* pageLayout = new QVBoxLayout();
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    pageLayout->addWidget(promoMenuBar());
    pageLayout->addLayout(stackLayout);
    pageLayout->addWidget(m_pListView);
    pageLayout->addLayout(destinationRow);
    pageLayout->addLayout(buttonRow);

    if (app()->hasPromotedApp()) {
        QMWidgets::PromoAdsBar* pAds = adsBar();
        pageLayout->addWidget(pAds);
        pAds->setInterval(180000);
        pAds->setMaxAds(-1);
        pAds->setHideOnClose(true);
    }

    setLayout(pageLayout);
    resize(app()->settingsValue(QStringLiteral("Width"), 370).toInt(),
           app()->settingsValue(QStringLiteral("Height"), 600).toInt());
    m_pstkModes->setCurrentWidget(m_pDropWidget);

    QMMultiMedia::AudioPlayer::instance()->setVolume(100.0);

    slotUpdateInfo();
}

MainPage::~MainPage()
{
    // A batch that still runs (stopped, finishing its file) must not outlive
    // the application object it reads its settings from.
    if (m_pWorker) {
        m_pWorker->stop();
        m_pWorker->setPaused(false);
    }
    joinBatch();
    // Earlier batches were told to stop when they were retired.
    while (!m_lstRetiring.isEmpty())
        reapThread(m_lstRetiring.first());
    if (!isFullScreen()) {
        app()->setSettingsValue(QStringLiteral("Width"), width());
        app()->setSettingsValue(QStringLiteral("Height"), height());
    }
}

QString MainPage::destinationPath() const
{
    const QString strDefault = QMWidgets::App::picturesDirectory(true);
    return app()->settingsValue(QStringLiteral("DestinationPath"), strDefault).toString();
}

void MainPage::setDestinationPath(const QString& path)
{
    QString strPath = path;
    if (!strPath.endsWith(QLatin1Char('/')))
        strPath += QLatin1Char('/');
    app()->setSettingsValue(QStringLiteral("DestinationPath"), strPath);
}

QString MainPage::displayPath(const QString& path)
{
    QStringList shown;
    const QStringList parts = path.split(QLatin1Char('/'), Qt::KeepEmptyParts);
    for (const QString& part : parts) {
        if (part.isEmpty() || part == QLatin1String("Library") || part == QLatin1String("Containers")
            || part == QLatin1String("Data") || part.startsWith(QLatin1String("com.corvane.")))
            continue;
        shown << part;
    }
    // A path from the root (or from a drive letter) is shown from "/"; any
    // other as it was given, relative, and an empty one as empty.
    const bool fromRoot = path.startsWith(QLatin1Char('/'))
        || (path.size() >= 2 && path.at(0).isLetter() && path.at(1) == QLatin1Char(':'));
    if (!fromRoot && shown.isEmpty())
        return QString();
    return (fromRoot ? QStringLiteral("/") : QString()) + shown.join(QLatin1Char('/'))
        + (shown.isEmpty() ? QString() : QStringLiteral("/"));
}

QString MainPage::infoText(int count)
{
    return QStringLiteral("<H2><CENTER>") + QString::number(count) + QStringLiteral(" png file")
        + (count == 1 ? QString() : QStringLiteral("s")) + QStringLiteral("</CENTER></H2>");
}

void MainPage::filesDropped(const QList<QUrl>& lst)
{
    // The open timer hands over the whole pending list, already taken out of
    // m_lstPendingUrls, so that requests arriving during this search stay.
    if (!lst.isEmpty())
        slotFilesDropped(lst);
}

void MainPage::slotFilesDropped(QList<QUrl> lst)
{
    // The search runs a nested event loop; a drop or request that reaches
    // the page meanwhile is kept and searched afterwards.
    if (m_bSearching) {
        m_lstPendingUrls += lst;
        return;
    }
    m_bSearching = true;

    // Earlier results lie in the destination; a dropped folder that holds it
    // must not bring them back. Only an absolute destination is ever written.
    const QString strDestination = destinationPath();
    m_pSearchDialog->setFoldersToLeaveOut(QDir::isAbsolutePath(strDestination) ? QStringList{strDestination}
                                                                              : QStringList());
    m_pSearchDialog->setUrls(lst);
    QTimer::singleShot(kSearchStartMs, m_pSearchDialog, SLOT(slotStart()));
    const int result = m_pSearchDialog->exec();
    m_bSearching = false;

    // A cancelled search leaves the list the user already has as it was.
    if (result != QDialog::Accepted) {
        if (!m_lstPendingUrls.isEmpty())
            m_pOpenTimer->start();
        return;
    }
    if (!lst.isEmpty())
        m_lstRootUrls = lst;

    m_vecImages = m_pSearchDialog->imageFiles();
    m_vecTexts = m_pSearchDialog->textFiles();
    m_bDestinationLeftOut = !m_pSearchDialog->leftOutFolders().isEmpty();
    showSkippedSources();

    QStringList pngFiles;
    QVector<QString> otherImages;
    for (const QString& path : qAsConst(m_vecImages)) {
        if (path.toLower().endsWith(QLatin1String(".png")))
            pngFiles << path;
        else
            otherImages << path;
    }
    if (pngFiles.isEmpty())
        QMessageBox::information(this, QStringLiteral("No PNG files"), QStringLiteral("No PNG-files found"),
                                 QMessageBox::Ok, QMessageBox::NoButton);
    m_pModel->setFiles(pngFiles);

    m_vecOthers = otherImages;
    m_vecOthers += m_pSearchDialog->audioFiles();
    m_vecOthers += m_pSearchDialog->videoFiles();
    m_vecOthers += m_pSearchDialog->otherFiles();
    m_vecOthers += m_pSearchDialog->emptyFolders();

    if (!m_lstPendingUrls.isEmpty())
        m_pOpenTimer->start();
}

void MainPage::slotFileOpenRequest(QString strPath)
{
    m_lstPendingUrls.append(QUrl::fromLocalFile(strPath));
    m_pOpenTimer->stop();
    m_pOpenTimer->start();
}

void MainPage::slotOpenFiles()
{
    m_pOpenTimer->stop();
    // The timer keeps running inside the search's event loop; a second search
    // would read the first one's half-built lists. It is armed again when the
    // search ends.
    if (m_bSearching || m_lstPendingUrls.isEmpty())
        return;
    const QList<QUrl> lst = m_lstPendingUrls;
    m_lstPendingUrls.clear();
    filesDropped(lst);
}

void MainPage::slotUpdateInfo()
{
    const int n = m_pModel->rowCount();
    m_pcmdCompress->setEnabled(n != 0);
    QString strText = infoText(n);
    if (m_bDestinationLeftOut) {
        const QString strNote = QStringLiteral("<SPAN STYLE=\"font-size:small; font-weight:normal\"> (")
            + tr("destination folder left out") + QStringLiteral(")</SPAN>");
        strText.insert(strText.indexOf(QStringLiteral("</CENTER>")), strNote);
    }
    m_plblInfo->setText(strText);
}

bool MainPage::isRowOfModel(const QModelIndex& index) const
{
    return index.isValid() && index.model() == m_pModel && index.row() >= 0 && index.column() >= 0
        && index.row() < m_pModel->rowCount();
}

void MainPage::showSkippedSources()
{
    const QVector<QMMultiMedia::MediaSearchDialog::SkippedSource> skipped = m_pSearchDialog->skippedSources();
    if (skipped.isEmpty()) {
        // What it listed belongs to a search whose list is gone.
        if (m_pSkippedDialog)
            m_pSkippedDialog->close();
        return;
    }
    int nFolders = 0;
    QString strLines;
    for (const auto& source : skipped) {
        if (source.isFolder)
            ++nFolders;
        strLines += QLatin1Char('\n') + source.path + QStringLiteral(": ") + source.reason;
    }
    const int nFiles = skipped.size() - nFolders;
    QStringList counts;
    if (nFiles > 0)
        counts << (nFiles == 1 ? tr("1 file") : tr("%1 files").arg(nFiles));
    if (nFolders > 0)
        counts << (nFolders == 1 ? tr("1 folder") : tr("%1 folders").arg(nFolders));
    const QString strText = tr("Left out of the list: %1.").arg(counts.join(tr(" and "))) + QLatin1Char('\n')
        + strLines;

    if (!m_pSkippedDialog) {
        m_pSkippedDialog = new ErrorsDialog(this);
        m_pSkippedDialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_pSkippedDialog->setText(strText);
    m_pSkippedDialog->show();
    m_pSkippedDialog->raise();
}

void MainPage::slotRemove()
{
    if (!isRowOfModel(m_menuIndex))
        return;
    m_pModel->removeRows(m_menuIndex.row(), 1, QModelIndex());
}

void MainPage::slotPlay()
{
    if (isRowOfModel(m_menuIndex))
        slotPlay(QModelIndex(m_menuIndex));
}

void MainPage::slotPlay(const QModelIndex& index)
{
    if (!isRowOfModel(index))
        return;
    const QString strPath = m_pModel->data(index, ImagesListModel::FullPathRole).toString();
    if (strPath.isEmpty())
        return;
    m_pPreview->show();
    m_pPreview->setFixedSize(m_pDropWidget->size());
    m_pPreview->setPixmap(QPixmap());
    m_strPreviewPath = strPath;
    m_pPreviewLoader->request(strPath);
    slotMoveImageUp();
    QTimer::singleShot(kPreviewShowMs, this, SLOT(slotHandleImagePos()));
}

void MainPage::slotMoveImageUp()
{
    auto* animation = new QPropertyAnimation(m_pPreview, "pos", this);
    animation->setStartValue(QPoint(0, kDropAreaHeight));
    animation->setEndValue(QPoint(0, 0));
    animation->setDuration(1000);
    animation->setEasingCurve(QEasingCurve::OutBounce);
    animation->setLoopCount(1);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void MainPage::slotMoveImageDown()
{
    auto* animation = new QPropertyAnimation(m_pPreview, "pos", this);
    animation->setStartValue(QPoint(0, 0));
    animation->setEndValue(QPoint(0, kDropAreaHeight));
    animation->setDuration(1000);
    animation->setEasingCurve(QEasingCurve::OutBounce);
    animation->setLoopCount(1);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void MainPage::slotHandleImagePos()
{
    if (m_pPreview->pos().y() == 0)
        slotMoveImageDown();
}

void MainPage::slotButtonClicked(const QModelIndex& index, const QPoint& pt)
{
    m_menuIndex = index;
    m_pMenu->exec(m_pListView->mapToGlobal(QPoint(-20, 28) + pt));
}

void MainPage::slotGotoFilesLocation()
{
    Os::showFileInExplorer(destinationPath());
}

void MainPage::slotDestinationActivated(int nIndex)
{
    if (nIndex == 1) {
        const QString strFolder = QFileDialog::getExistingDirectory(
            this, tr("Set destination folder"), destinationPath(), QFileDialog::ShowDirsOnly);
        if (!strFolder.isEmpty())
            setDestinationPath(strFolder);
    } else if (nIndex == 2) {
        setDestinationPath(QMWidgets::App::picturesDirectory(true));
    }
    m_pcbxDestination->setCurrentIndex(0);
    m_pcbxDestination->setItemText(0, displayPath(destinationPath()));
}

void MainPage::slotShowSettings()
{
    AppSettingsDialog dialog(m_pcmdShowSettings);
    dialog.exec();
}

// ---- batch launch and completion ----------------------------------------

void MainPage::slotDoIt()
{
    // An empty destination names no folder at all (QDir would take it for
    // the current one).
    const QString strDestination = destinationPath();
    if (strDestination.isEmpty()
        || (strDestination != QMWidgets::App::picturesDirectory(false) && !QDir(strDestination).exists())) {
        QMessageBox::critical(this, QStringLiteral("Error"),
                              QStringLiteral("Can not access the destination folder.\nPlease verify the destination."),
                              QMessageBox::Ok, QMessageBox::NoButton);
        return;
    }

    // An earlier batch stopped from its dialog may still be finishing its
    // file (a large picture takes many seconds): it is left to end on its
    // own thread, and the new one begins only after it, so its late signals
    // can never act on the new thread and the window never waits for it.
    if (m_pWorker) {
        m_pWorker->stop();
        m_pWorker->setPaused(false);
    }
    retireBatch();

    auto* thread = new BatchThread();
    auto* worker = new BatchWorker();
    thread->setWorker(worker);
    worker->moveToThread(thread);
    m_pThread = thread;
    m_pWorker = worker;

    const QPointer<BatchThread> ownThread(thread);
    connect(worker, &BatchWorker::finished, this,
            [this, ownThread](const QString& strFolder) { finishBatch(ownThread, strFolder); });
    connect(thread, SIGNAL(started()), worker, SLOT(slotDoWork()));

    const QStringList files = m_pModel->files();
    worker->setPngFiles(QVector<QString>(files.begin(), files.end()));
    worker->setImageFiles(m_vecImages);
    worker->setTextFiles(m_vecTexts);
    worker->setOtherFiles(m_vecOthers);
    worker->setSourceUrls(m_lstRootUrls);

    BatchDialog dialog(this);
    dialog.setWindowOpacity(0.93);
    dialog.setFixedSize(size());

    connect(&dialog, SIGNAL(paused(bool)), this, SLOT(slotPauseConvertion(bool)));
    connect(&dialog, SIGNAL(stop()), this, SLOT(slotStopConvertion()));
    connect(worker, SIGNAL(totalProgress(int)), &dialog, SLOT(slotProgressChanged(int)));
    connect(worker, SIGNAL(totalProgressSizes(qint64,qint64)), &dialog,
            SLOT(slotTotalProgressSizesChanged(qint64,qint64)));
    connect(worker, SIGNAL(filesCountChanged(int,int)), &dialog, SLOT(slotFilesCountChanged(int,int)));
    connect(worker, SIGNAL(fileProgress(int)), &dialog, SLOT(slotFileProgressChanged(int)));
    connect(worker, SIGNAL(currentFile(QString)), &dialog, SLOT(slotShowCurrentFile(QString)));
    connect(worker, SIGNAL(currentFilePathAndName(QString)), &dialog, SLOT(slotShowCurrentFileImage(QString)));
    connect(worker, SIGNAL(errorsLog(QString)), &dialog, SLOT(slotSetErrors(QString)));
    connect(worker, SIGNAL(notEnoughtFreeSpace()), &dialog, SLOT(slotNotEnoughtFreeSpace()));
    connect(worker, SIGNAL(failed(QString)), &dialog, SLOT(slotFailed(QString)));

    // The timer goes with the thread, should a later launch join it first.
    QTimer::singleShot(kBatchStartMs, thread, [this, thread] { startBatchThread(thread); });
    dialog.exec();
}

void MainPage::startBatchThread(BatchThread* pThread)
{
    if (pThread != m_pThread)
        return;
    // Stopped before it began: the batch never runs.
    if (m_pWorker && m_pWorker->isStopped()) {
        joinBatch();
        return;
    }
    if (!m_lstRetiring.isEmpty()) {
        QTimer::singleShot(kRetiredPollMs, pThread, [this, pThread] { startBatchThread(pThread); });
        return;
    }
    pThread->start();
}

void MainPage::slotPauseConvertion(bool bPaused)
{
    if (m_pWorker)
        m_pWorker->setPaused(bPaused);
}

void MainPage::slotStopConvertion()
{
    if (m_pWorker)
        m_pWorker->stop();
    if (m_pThread)
        m_pThread->quit();
}

void MainPage::slotDone(QString strFolder)
{
    finishBatch(m_pThread, strFolder);
}

void MainPage::finishBatch(BatchThread* pThread, const QString& strFolder)
{
    // Only the batch that is still the page's own gets the after-batch
    // actions; one that a later launch already joined has nothing left.
    if (!pThread || pThread != m_pThread)
        return;
    // A batch without a folder, or that wrote nothing into it, has nothing
    // to show, ring for or be reviewed for.
    if (!strFolder.isEmpty()) {
        if (AppSettingsDialog::openFolderAfter())
            Os::showFileInExplorer(strFolder);
        if (AppSettingsDialog::playSoundAfter())
            QMMultiMedia::AudioPlayer::instance()->play(app()->resourcesPath() + QStringLiteral("bell.wav"), false);
        Os::requestReview(false);
    }
    joinBatch();
}

void MainPage::retireBatch()
{
    if (!m_pThread)
        return;
    if (!m_pThread->isRunning()) {
        joinBatch();
        return;
    }
    BatchThread* pThread = m_pThread;
    m_pThread = nullptr;
    m_pWorker.clear();
    m_lstRetiring.append(pThread);
    connect(pThread, &QThread::finished, this, [this, pThread] { reapThread(pThread); });
    pThread->quit();
    // It may have ended before the connection was made.
    if (pThread->isFinished())
        reapThread(pThread);
}

void MainPage::reapThread(BatchThread* pThread)
{
    if (!m_lstRetiring.removeOne(pThread))
        return;
    pThread->wait();
    delete pThread->worker();
    delete pThread;
}

void MainPage::joinBatch()
{
    if (!m_pThread)
        return;
    BatchThread* pThread = m_pThread;
    m_pThread = nullptr;
    pThread->quit();
    pThread->wait();
    // The worker is deleted here, after the join, and never by its thread's
    // end: the page may still be telling it to stop at that very moment.
    BatchWorker* pWorker = m_pWorker.data();
    m_pWorker.clear();
    delete pWorker;
    delete pThread;
}
