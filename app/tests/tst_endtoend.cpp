// The whole road of a batch, headless: a folder tree dropped on the main
// page, "Compress", the progress dialog run to "DONE" and closed, and the
// output checked file by file; Stop during a batch, a missing destination,
// and the ends of earlier batches.

#include "BatchFixtures.h"
#include "PageTestSupport.h"
#include "ProgressBarLook.h"
#include "ReadOnlyFolder.h"

#include "App.h"
#include "AudioPlayer.h"
#include "BatchDialog.h"
#include "BatchThread.h"
#include "BatchWorker.h"
#include "CompressProgress.h"
#include "ImagesListModel.h"
#include "ListView.h"
#include "MainPage.h"
#include "Os.h"

#include <QComboBox>
#include <QDirIterator>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <memory>

using BatchFixtures::pngBytes;
using BatchFixtures::rgbPicture;
using BatchFixtures::writeFile;

namespace {

// The number of the file being reduced, from the dialog's counter; 0 before
// the first.
int currentFileNumber(BatchDialog* dialog)
{
    const QString text = dialog->counterLabel()->text().remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return text.section(QLatin1Char('/'), 0, 0).trimmed().toInt();
}

// A step that waits for the batch to reach file nFile and then acts on the
// dialog; a batch that finished first is simply closed, so no test can hang.
PageTest::ModalDriver::Step atFile(int nFile, std::function<void(BatchDialog*)> act)
{
    return [nFile, act](QWidget* w) {
        auto* dialog = static_cast<BatchDialog*>(w);
        if (PageTest::closeBatchWhenDone(dialog))
            return true;
        if (currentFileNumber(dialog) < nFile)
            return false;
        act(dialog);
        return true;
    };
}

// Stop pressed once the batch reaches file nFile; *pStopped tells whether it was.
PageTest::ModalDriver::Step stopAtFile(int nFile, bool* pStopped = nullptr)
{
    return atFile(nFile, [pStopped](BatchDialog* dialog) {
        dialog->stopButton()->click();
        if (pStopped)
            *pStopped = true;
    });
}

// The class, title and text of the modal window that pressing "Compress"
// brings up; a message box is accepted, any other dialog rejected.
QStringList modalOnCompress(MainPage& page)
{
    QString title;
    QString text;
    QMTest::ModalAnswerer answer([&](QWidget* w) {
        title = w->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            text = box->text();
            box->accept();
        } else {
            static_cast<QDialog*>(w)->reject();
        }
    });
    QTest::mouseClick(page.compressButton(), Qt::LeftButton);
    if (!answer.answered())
        return {};
    return {answer.answeredClassName(), title, text};
}

const QStringList kDestinationError = {
    QStringLiteral("QMessageBox"), QStringLiteral("Error"),
    QStringLiteral("Can not access the destination folder.\nPlease verify the destination.")};

} // namespace

class tst_endtoend : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void droppedTreeIsCompressedFileByFile();
    void removedRowIsLeftOut();
    void folderDroppedThroughALinkKeepsItsEmptyFolders();
    void stopDuringBatchKeepsOnlyWholeFiles();
    void stopStillRunsTheAfterBatchActions();
    void pauseHoldsTheBatchUntilResumed();
    void stopBeforeTheStartRunsNothing();
    void missingDestinationStartsNothing();
    void deletedDefaultDestinationIsMadeAgain();
    void earlierBatchFinishingLateActsOnlyOnItself();
    void closingWindowDuringBatchJoinsIt();
    void workerLivesUntilItsThreadIsJoined();
    void readOnlyDestinationEndsAsAFailure();
    void emptyDestinationStartsNothing();
    void relativeDestinationIsShownAsGiven();

private:
    QString makeTree();
    // nFiles square pictures drop/many/p00.png, p01.png, ... of nSide pixels.
    QString makePictures(int nFiles, int nSide, quint32 nFirstSeed);
    QStringList batchFolders() const;
    // Presses "Compress" and drives the progress dialog with the step.
    void runBatch(MainPage& page, PageTest::ModalDriver::Step step);

    std::unique_ptr<QTemporaryDir> m_pDir;
    std::unique_ptr<QMTest::UrlRecorder> m_pUrls;
    QString m_strOut;
};

void tst_endtoend::init()
{
    m_pDir.reset(new QTemporaryDir);
    m_strOut = m_pDir->path() + QStringLiteral("/out/");
    QDir().mkpath(m_strOut);
    PageTest::prepareQuietBatch(m_strOut);
    m_pUrls.reset(new QMTest::UrlRecorder);
}

void tst_endtoend::cleanup()
{
    m_pUrls.reset();
    m_pDir.reset();
}

// drop/Holiday/a.png, Holiday/Day1/b.png (half transparent),
// Holiday/notes.txt, Holiday/pic.jpg, Holiday/Empty/, drop/tiny.png
QString tst_endtoend::makeTree()
{
    const QString drop = m_pDir->path() + QStringLiteral("/drop");
    const QString holiday = drop + QStringLiteral("/Holiday");
    writeFile(holiday + QStringLiteral("/a.png"), pngBytes(rgbPicture(64, 64, 3)));
    writeFile(holiday + QStringLiteral("/Day1/b.png"), pngBytes(BatchFixtures::alphaPicture(48, 40)));
    writeFile(holiday + QStringLiteral("/notes.txt"), "notes\n");
    QImage jpg = rgbPicture(20, 20, 9);
    jpg.save(holiday + QStringLiteral("/pic.jpg"), "JPG");
    QDir().mkpath(holiday + QStringLiteral("/Empty"));
    writeFile(drop + QStringLiteral("/tiny.png"), pngBytes(rgbPicture(3, 2, 4)));
    return drop;
}

QString tst_endtoend::makePictures(int nFiles, int nSide, quint32 nFirstSeed)
{
    const QString drop = m_pDir->path() + QStringLiteral("/many");
    for (int i = 0; i < nFiles; ++i)
        writeFile(drop + QStringLiteral("/p%1.png").arg(i, 2, 10, QLatin1Char('0')),
                  pngBytes(rgbPicture(nSide, nSide, nFirstSeed + quint32(i))));
    return drop;
}

QStringList tst_endtoend::batchFolders() const
{
    return QDir(m_strOut).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

void tst_endtoend::runBatch(MainPage& page, PageTest::ModalDriver::Step step)
{
    PageTest::ModalDriver driver("BatchDialog", step);
    QTest::mouseClick(page.compressButton(), Qt::LeftButton);
}

void tst_endtoend::droppedTreeIsCompressedFileByFile()
{
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("KeyOpenFolderAfter"), true);
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("KeyPlaySoundAfter"), true);
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("KeyCopyTextssActive"), true);
    const QString drop = makeTree();
    MainPage page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    const QList<QUrl> urls = {QUrl::fromLocalFile(drop + QStringLiteral("/Holiday")),
                              QUrl::fromLocalFile(drop + QStringLiteral("/tiny.png"))};
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), urls));
    QCOMPARE(page.model()->rowCount(), 3);
    QCOMPARE(page.infoLabel()->text(), QStringLiteral("<H2><CENTER>3 png files</CENTER></H2>"));
    QVERIFY(page.compressButton()->isEnabled());
    QCOMPARE(page.textFiles().size(), 1);

    bool sawDone = false;
    QString counter;
    QElapsedTimer clock;
    clock.start();
    qint64 firstSignalMs = -1;
    QPointer<BatchThread> thread;
    QPointer<BatchWorker> worker;
    int barAtClose = -1;
    runBatch(page, [&](QWidget* w) {
        auto* dialog = static_cast<BatchDialog*>(w);
        if (!thread && page.batchThread()) {
            thread = page.batchThread();
            worker = thread->worker();
        }
        if (firstSignalMs < 0 && !dialog->counterLabel()->text().isEmpty())
            firstSignalMs = clock.elapsed();
        if (!dialog->closeButton()->isVisible())
            return false;
        sawDone = dialog->stopButton()->isHidden() && dialog->pauseButton()->isHidden();
        barAtClose = dialog->progressBar()->value();
        counter = dialog->counterLabel()->text();
        dialog->closeButton()->click();
        return true;
    });
    QVERIFY(sawDone);
    QCOMPARE(barAtClose, 100);
    QCOMPARE(counter, QStringLiteral("<FONT COLOR=#00DF00>3 / 3</FONT>"));
    // The thread starts 1500 ms after the dialog opens.
    QVERIFY2(firstSignalMs >= 1000, qPrintable(QString::number(firstSignalMs)));
    // The dialog can be closed a moment before the page hears the end.
    QTRY_VERIFY(!page.batchThread());
    // Thread and worker are gone once the thread was joined.
    QVERIFY(thread.isNull());
    QVERIFY(worker.isNull());

    const QStringList folders = batchFolders();
    QCOMPARE(folders.size(), 1);
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d$")).match(folders.first()).hasMatch());
    const QString batch = m_strOut + folders.first() + QLatin1Char('/');

    // File by file: each picture in its place, the reduced ones indexed and
    // never larger than their source.
    const QList<QPair<QString, QString>> expected = {
        {QStringLiteral("Holiday/a.png"), drop + QStringLiteral("/Holiday/a.png")},
        {QStringLiteral("Holiday/Day1/b.png"), drop + QStringLiteral("/Holiday/Day1/b.png")},
        {QStringLiteral("tiny.png"), drop + QStringLiteral("/tiny.png")},
    };
    for (const auto& entry : expected) {
        const QString output = batch + entry.first;
        QVERIFY2(QFileInfo::exists(output), qPrintable(output));
        QImage result(output);
        QImage source(entry.second);
        QVERIFY(!result.isNull());
        QCOMPARE(result.size(), source.size());
        QVERIFY(QFileInfo(output).size() <= QFileInfo(entry.second).size());
        if (QFileInfo(output).size() < QFileInfo(entry.second).size())
            QCOMPARE(result.format(), QImage::Format_Indexed8);
        else
            QCOMPARE(BatchFixtures::readFile(output), BatchFixtures::readFile(entry.second));
    }
    QCOMPARE(BatchFixtures::readFile(batch + QStringLiteral("Holiday/notes.txt")), QByteArray("notes\n"));
    // Nothing else: the jpg and the empty folder are copied only on request.
    QStringList all;
    QDirIterator it(batch, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        all << it.next().mid(batch.size());
    all.sort();
    QCOMPARE(all, (QStringList{QStringLiteral("Holiday/Day1/b.png"), QStringLiteral("Holiday/a.png"),
                               QStringLiteral("Holiday/notes.txt"), QStringLiteral("tiny.png")}));

    // The batch folder was handed to the file manager, the bell rang once
    // from the resources folder and a review was asked for.
    QCOMPARE(m_pUrls->count(), 1);
    QCOMPARE(m_pUrls->last().toLocalFile() + QLatin1Char('/'), batch);
    QCOMPARE(QMMultiMedia::AudioPlayer::instance()->fileName(),
             QMWidgets::App::instance()->resourcesPath() + QStringLiteral("bell.wav"));
    QCOMPARE(Os::requestedReviewsCalls(), 1);
}

void tst_endtoend::removedRowIsLeftOut()
{
    const QString drop = makeTree();
    MainPage page;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(drop)}));
    QCOMPARE(page.model()->rowCount(), 3);
    const int row = page.model()->files().indexOf(drop + QStringLiteral("/tiny.png"));
    QVERIFY(row >= 0);
    page.setMenuIndex(page.model()->index(row));
    QVERIFY(QMetaObject::invokeMethod(&page, "slotRemove"));
    QCOMPARE(page.model()->rowCount(), 2);

    runBatch(page, PageTest::closeBatchWhenDone);
    const QString batch = m_strOut + batchFolders().value(0) + QLatin1Char('/');
    QVERIFY(QFileInfo::exists(batch + QStringLiteral("drop/Holiday/a.png")));
    // Both after-batch actions off: no folder opened, no sound; only the
    // review request.
    QTRY_VERIFY(!page.batchThread());
    QCOMPARE(m_pUrls->count(), 0);
    QVERIFY(QMMultiMedia::AudioPlayer::instance()->fileName().isEmpty());
    QCOMPARE(Os::requestedReviewsCalls(), 1);
    QVERIFY(!QFileInfo::exists(batch + QStringLiteral("drop/tiny.png")));
}

// Every entry of a folder dropped through a symbolic link is placed below
// the link's name, the empty folders as well as the files.
void tst_endtoend::folderDroppedThroughALinkKeepsItsEmptyFolders()
{
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("KeyCopyEntireContentActive"), true);
    const QString drop = makeTree();
    const QString link = m_pDir->path() + QStringLiteral("/Trip");
    QVERIFY(QFile::link(drop + QStringLiteral("/Holiday"), link));
    MainPage page;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(link)}));
    QCOMPARE(page.model()->rowCount(), 2);

    runBatch(page, PageTest::closeBatchWhenDone);
    QTRY_VERIFY(!page.batchThread());
    const QString batch = m_strOut + batchFolders().value(0) + QLatin1Char('/');
    QCOMPARE(BatchFixtures::treeOf(batch),
             (QStringList{"Trip/", "Trip/Day1/", "Trip/Day1/b.png", "Trip/Empty/", "Trip/a.png", "Trip/pic.jpg"}));
}

void tst_endtoend::stopDuringBatchKeepsOnlyWholeFiles()
{
    const int nFiles = 12;
    const QString drop = makePictures(nFiles, 300, 100);
    MainPage page;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(drop)}));
    QCOMPARE(page.model()->rowCount(), nFiles);

    bool stopped = false;
    runBatch(page, stopAtFile(2, &stopped));
    QVERIFY(stopped);
    // The stopped run still ends and is joined; nothing is left running.
    QTRY_VERIFY_WITH_TIMEOUT(!page.batchThread(), 20000);

    const QString batch = m_strOut + batchFolders().value(0) + QLatin1Char('/');
    const QStringList written = QDir(batch + QStringLiteral("many")).entryList(QDir::Files);
    QVERIFY2(written.size() < nFiles, qPrintable(written.join(QLatin1Char(','))));
    for (const QString& name : written)
        QVERIFY2(!QImage(batch + QStringLiteral("many/") + name).isNull(), qPrintable(name));
}

// A stopped batch still ends as a batch: its folder is shown, the bell
// rings and a review may be asked for.
void tst_endtoend::stopStillRunsTheAfterBatchActions()
{
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("KeyOpenFolderAfter"), true);
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("KeyPlaySoundAfter"), true);
    const QString drop = makePictures(12, 300, 200);
    MainPage page;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(drop)}));

    bool stopped = false;
    runBatch(page, stopAtFile(2, &stopped));
    QVERIFY(stopped);
    QTRY_VERIFY_WITH_TIMEOUT(!page.batchThread(), 20000);
    const QStringList folders = batchFolders();
    QCOMPARE(folders.size(), 1);
    QVERIFY2(QDir(m_strOut + folders.first() + QStringLiteral("/many")).entryList(QDir::Files).size() < 12,
             "the batch was not stopped");
    QCOMPARE(m_pUrls->count(), 1);
    QCOMPARE(m_pUrls->last().toLocalFile() + QLatin1Char('/'), m_strOut + folders.first() + QLatin1Char('/'));
    QCOMPARE(QMMultiMedia::AudioPlayer::instance()->fileName(),
             QMWidgets::App::instance()->resourcesPath() + QStringLiteral("bell.wav"));
    QCOMPARE(Os::requestedReviewsCalls(), 1);
}

// Pause pressed in the dialog holds the worker before its next file, for as
// long as it stays pressed; Resume lets the batch run to its end.
void tst_endtoend::pauseHoldsTheBatchUntilResumed()
{
    const int nFiles = 10;
    const QString drop = makePictures(nFiles, 500, 300);
    MainPage page;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(drop)}));

    enum { Running, Paused, Resumed } state = Running;
    QElapsedTimer sincePause;
    int fileAtHold = -1;
    bool heldStill = false;
    bool workerPaused = false;
    bool finishedAll = false;
    runBatch(page, [&](QWidget* w) {
        auto* dialog = static_cast<BatchDialog*>(w);
        switch (state) {
        case Running:
            if (PageTest::closeBatchWhenDone(dialog))
                return true;
            if (currentFileNumber(dialog) < 2)
                return false;
            dialog->pauseButton()->click();
            sincePause.start();
            state = Paused;
            return false;
        case Paused:
            // The file under way ends first; after that nothing moves.
            if (fileAtHold < 0 && sincePause.elapsed() >= 1000) {
                fileAtHold = currentFileNumber(dialog);
                workerPaused = page.batchThread() && page.batchThread()->worker()
                               && page.batchThread()->worker()->isPaused();
            }
            if (sincePause.elapsed() < 2500)
                return false;
            heldStill = !dialog->closeButton()->isVisible() && currentFileNumber(dialog) == fileAtHold;
            dialog->pauseButton()->click();
            state = Resumed;
            return false;
        case Resumed:
            if (!dialog->closeButton()->isVisible())
                return false;
            finishedAll = currentFileNumber(dialog) == nFiles;
            dialog->closeButton()->click();
            return true;
        }
        return false;
    });
    QCOMPARE(int(state), int(Resumed));
    QVERIFY(workerPaused);
    QVERIFY2(fileAtHold < nFiles, qPrintable(QString::number(fileAtHold)));
    QVERIFY(heldStill);
    QVERIFY(finishedAll);
    QTRY_VERIFY(!page.batchThread());
    const QString batch = m_strOut + batchFolders().value(0) + QStringLiteral("/many");
    QCOMPARE(QDir(batch).entryList(QDir::Files).size(), nFiles);
}

void tst_endtoend::stopBeforeTheStartRunsNothing()
{
    const QString drop = makeTree();
    MainPage page;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(drop)}));
    QPointer<BatchThread> thread;
    runBatch(page, [&](QWidget* w) {
        thread = page.batchThread();
        static_cast<BatchDialog*>(w)->stopButton()->click();
        return true;
    });
    QVERIFY(thread);
    // Well past the 1500 ms start: the thread was never started and is gone.
    QTRY_VERIFY_WITH_TIMEOUT(thread.isNull(), 5000);
    QTest::qWait(300);
    QVERIFY(batchFolders().isEmpty());
}

void tst_endtoend::missingDestinationStartsNothing()
{
    const QString drop = makeTree();
    const QString missing = m_pDir->path() + QStringLiteral("/gone/");
    MainPage page;
    page.setDestinationPath(missing);
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(drop)}));

    QCOMPARE(modalOnCompress(page), kDestinationError);
    QVERIFY(!page.batchThread());
    QVERIFY(!QFileInfo::exists(missing));
    QCOMPARE(page.model()->rowCount(), 3);
}

void tst_endtoend::deletedDefaultDestinationIsMadeAgain()
{
    const QString drop = makeTree();
    QMWidgets::App::instance()->settings()->remove(QStringLiteral("Zintrop Lite/DestinationPath"));
    MainPage page;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(drop)}));
    const QString pictures = QMWidgets::App::picturesDirectory(false);
    QVERIFY(QDir(pictures).removeRecursively());

    bool sawDialog = false;
    runBatch(page, [&](QWidget* w) {
        sawDialog = true;
        return PageTest::closeBatchWhenDone(w);
    });
    QVERIFY(sawDialog);
    QTRY_VERIFY(!page.batchThread());
    QVERIFY(QFileInfo(pictures).isDir());
    QCOMPARE(QDir(pictures).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
    QVERIFY(QDir(pictures).removeRecursively());
}

void tst_endtoend::earlierBatchFinishingLateActsOnlyOnItself()
{
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("KeyOpenFolderAfter"), true);
    const QString drop = makePictures(6, 700, 7);
    MainPage page;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(drop)}));

    // First batch: stopped while its first file is being reduced; the dialog
    // closes at once while the worker still finishes that file.
    bool stopped = false;
    runBatch(page, stopAtFile(1, &stopped));
    QVERIFY(stopped);
    QPointer<BatchThread> first = page.batchThread();
    QVERIFY(first);
    // Second batch at once: it first joins the first one, whose late
    // finished signal then finds its thread gone.
    runBatch(page, PageTest::closeBatchWhenDone);
    QVERIFY(first.isNull());
    // The dialog can be closed a moment before the page hears the end.
    QTRY_VERIFY(!page.batchThread());
    QTest::qWait(200);
    // Only the second batch opened its folder.
    const QStringList folders = batchFolders();
    QVERIFY(!folders.isEmpty());
    QCOMPARE(m_pUrls->count(), 1);
    QVERIFY2(m_pUrls->last().toLocalFile().contains(folders.last()), qPrintable(m_pUrls->last().toString()));
    QCOMPARE(QDir(m_strOut + folders.last() + QStringLiteral("/many")).entryList(QDir::Files).size(), 6);
}

void tst_endtoend::closingWindowDuringBatchJoinsIt()
{
    const QString drop = makePictures(6, 400, 30);
    auto page = std::make_unique<MainPage>();
    QVERIFY(PageTest::dropUrls(page->listView()->viewport(), {QUrl::fromLocalFile(drop)}));
    // Escape: the dialog goes, the worker is told to stop.
    runBatch(*page, atFile(1, [](BatchDialog* dialog) { dialog->reject(); }));
    QPointer<BatchThread> thread = page->batchThread();
    QVERIFY(thread);
    QVERIFY(thread->isRunning());
    page.reset();  // the window closes while the worker finishes its file
    QVERIFY(thread.isNull());
    const QString batch = m_strOut + batchFolders().value(0) + QStringLiteral("/many/");
    for (const QString& name : QDir(batch).entryList(QDir::Files))
        QVERIFY2(!QImage(batch + name).isNull(), qPrintable(name));
}

void tst_endtoend::workerLivesUntilItsThreadIsJoined()
{
    const QString drop = makePictures(3, 700, 50);
    MainPage page;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(drop)}));
    runBatch(page, stopAtFile(1));
    QPointer<BatchThread> thread = page.batchThread();
    QVERIFY(thread);
    QPointer<BatchWorker> worker = thread->worker();
    QVERIFY(worker);
    // The stopped thread ends by itself while the page has not yet heard of
    // it: the page may still tell the worker to stop (a new launch, the
    // window closing), so the worker must still be there.
    QVERIFY(thread->wait(20000));
    QVERIFY(worker);
    QTRY_VERIFY_WITH_TIMEOUT(!page.batchThread(), 20000);
    QVERIFY(thread.isNull());
    QVERIFY(worker.isNull());
}

// The batch folder can not be made: the dialog ends without "DONE" and
// without a full ring, and says why, naming the destination; no folder is
// opened, no bell rings.
void tst_endtoend::readOnlyDestinationEndsAsAFailure()
{
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("KeyOpenFolderAfter"), true);
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("KeyPlaySoundAfter"), true);
    const QString drop = makeTree();
    MainPage page;
    page.setDestinationPath(m_strOut);
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(drop)}));

    const ReadOnlyFolder readOnly(m_strOut);
    if (!readOnly.isSet())
        QSKIP("the folder can not be made read-only here (no immutable flag, or no right to set it)");
    int ringPercent = -1;
    QString reason;
    bool saysDone = true;
    bool showsReason = false;
    bool errorButton = false;
    runBatch(page, [&](QWidget* w) {
        auto* dialog = static_cast<BatchDialog*>(w);
        if (!dialog->closeButton()->isVisible())
            return false;
        QMWidgets::SimpleProgress* bar = dialog->progressBar();
        const QImage shown = paintedBar(bar);
        ringPercent = dialog->ring()->percent();
        reason = bar->toolTip();
        saysDone = shown == barLike(bar, bar->value(), QStringLiteral("DONE"))
                   || shown == barLike(bar, 100, QStringLiteral("DONE"));
        showsReason = shown == barLike(bar, bar->value(), QStringLiteral("FAILED: ") + reason);
        errorButton = dialog->errorButton()->isVisible() && dialog->errorText().contains(reason);
        dialog->closeButton()->click();
        return true;
    });
    QTRY_VERIFY(!page.batchThread());

    QVERIFY(!saysDone);
    QVERIFY(ringPercent < 100);
    QVERIFY2(reason.contains(m_strOut), qPrintable(reason));
    QVERIFY2(reason.contains(qt_error_string(readOnly.errorCode())), qPrintable(reason));
    QVERIFY(showsReason);
    QVERIFY(errorButton);
    QVERIFY(batchFolders().isEmpty());
    QCOMPARE(m_pUrls->count(), 0);
    QCOMPARE(QMMultiMedia::AudioPlayer::instance()->fileName(), QString());
    QCOMPARE(Os::requestedReviewsCalls(), 0);
}

// "DestinationPath=" left empty in the settings file names no folder: the
// box shows it empty and "Compress" gives the same "Error" box as a missing
// folder.
void tst_endtoend::emptyDestinationStartsNothing()
{
    const QString drop = makeTree();
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("DestinationPath"), QString());
    MainPage page;
    QCOMPARE(page.destinationBox()->itemText(0), QString());
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(drop)}));

    QCOMPARE(modalOnCompress(page), kDestinationError);
    QTRY_VERIFY(!page.batchThread());
    QCOMPARE(BatchFixtures::treeOf(QDir::currentPath()).filter(QStringLiteral(".png")), QStringList());
}

void tst_endtoend::relativeDestinationIsShownAsGiven()
{
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("DestinationPath"), QStringLiteral("pictures/out/"));
    MainPage page;
    QCOMPARE(page.destinationBox()->itemText(0), QStringLiteral("pictures/out/"));
}

PAGETEST_MAIN(tst_endtoend)
#include "tst_endtoend.moc"
