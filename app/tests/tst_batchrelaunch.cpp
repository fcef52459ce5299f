// "Compress" pressed again while a stopped batch still finishes its file:
// the window answers at once (a large picture can take many seconds), and
// the new batch's thread starts only after the earlier one has ended.
#include "BatchFixtures.h"
#include "PageTestSupport.h"

#include "App.h"
#include "AudioPlayer.h"
#include "BatchDialog.h"
#include "BatchThread.h"
#include "ImagesListModel.h"
#include "ListView.h"
#include "MainPage.h"
#include "OptimizeStep.h"
#include "Os.h"

#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTemporaryDir>

#include <atomic>

class tst_batchrelaunch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void relaunchDoesNotWaitForTheStoppedBatch();

private:
    QTemporaryDir m_dir;
    QString m_strOut;
};

void tst_batchrelaunch::init()
{
    m_strOut = m_dir.filePath(QStringLiteral("out/"));
    QDir().mkpath(m_strOut);
    PageTest::prepareQuietBatch(m_strOut);
}

void tst_batchrelaunch::relaunchDoesNotWaitForTheStoppedBatch()
{
    const QString drop = m_dir.filePath(QStringLiteral("many"));
    for (int i = 0; i < 3; ++i)
        QVERIFY(BatchFixtures::writeFile(drop + QStringLiteral("/p%1.png").arg(i),
                                         BatchFixtures::pngBytes(BatchFixtures::rgbPicture(64, 64, quint32(i + 1)))));

    // The first write of the first batch stands for a file that takes long:
    // it waits until the test lets it go.
    std::atomic<int> nWrites{0};
    std::atomic<bool> holding{false};
    std::atomic<bool> overlap{false};
    QSemaphore release;
    OptimizeStep::setWriteFaultForTesting([&](const QString&) {
        if (nWrites++ == 0) {
            holding = true;
            release.tryAcquire(1, 5000);
            holding = false;
        } else if (holding) {
            overlap = true;
        }
        return false;
    });
    const auto reset = qScopeGuard([] { OptimizeStep::setWriteFaultForTesting({}); });

    MainPage page;
    QVERIFY(PageTest::dropUrls(page.listView()->viewport(), {QUrl::fromLocalFile(drop)}));
    QCOMPARE(page.model()->rowCount(), 3);

    // First batch: Stop while its first file is being written.
    {
        PageTest::ModalDriver driver("BatchDialog", [&](QWidget* w) {
            if (!holding)
                return false;
            static_cast<BatchDialog*>(w)->stopButton()->click();
            return true;
        });
        QTest::mouseClick(page.compressButton(), Qt::LeftButton);
        QVERIFY(driver.done());
    }
    QPointer<BatchThread> first = page.batchThread();
    QVERIFY(first);
    QVERIFY(first->isRunning());

    // Second batch at once: its dialog opens while the first still runs.
    bool openedWhileFirstRan = false;
    bool released = false;
    {
        PageTest::ModalDriver driver("BatchDialog", [&](QWidget* w) {
            if (!released) {
                openedWhileFirstRan = first && first->isRunning();
                released = true;
                release.release();
                return false;
            }
            return PageTest::closeBatchWhenDone(w);
        });
        QTest::mouseClick(page.compressButton(), Qt::LeftButton);
        QVERIFY(driver.done());
    }
    QVERIFY(openedWhileFirstRan);
    QVERIFY(!overlap);
    // The earlier thread and worker were joined and deleted once it ended.
    QTRY_VERIFY(first.isNull());
    QTRY_VERIFY(!page.batchThread());
    // The second batch wrote all three pictures after the first one's single file.
    QCOMPARE(nWrites.load(), 4);
}

PAGETEST_MAIN(tst_batchrelaunch)
#include "tst_batchrelaunch.moc"
