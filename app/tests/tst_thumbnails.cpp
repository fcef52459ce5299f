// Thumbnails of large pictures are decoded on a helper thread, so that a
// screenful of photos does not freeze the list; small ones stay immediate.
#include "ImagesListModel.h"

#include "BatchFixtures.h"
#include "QMTest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using BatchFixtures::filledPicture;

class TestThumbnails : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void largePictureArrivesLater();
    void smallPictureIsImmediate();
    void modelGoesWhileDecoding();
    void pipeIsNeverWaitedFor_data();
    void pipeIsNeverWaitedFor();

private:
    QTemporaryDir m_dir;
};

void TestThumbnails::largePictureArrivesLater()
{
    // 2400 x 1200: above the immediate limit, below the no-thumbnail one.
    const QString path = m_dir.filePath(QStringLiteral("large.png"));
    QVERIFY(BatchFixtures::writeFile(path, BatchFixtures::pngBytes(filledPicture(2400, 1200, Qt::red))));
    const QString other = m_dir.filePath(QStringLiteral("small.png"));
    QVERIFY(BatchFixtures::writeFile(other, BatchFixtures::pngBytes(filledPicture(20, 20, Qt::blue))));

    ImagesListModel model;
    model.setFiles({other, path, path});
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(model.index(1).data(Qt::DecorationRole).value<QImage>().isNull());
    // Asked again before it is ready: still one decode, nothing shown yet.
    QVERIFY(model.index(2).data(Qt::DecorationRole).value<QImage>().isNull());

    // Both rows of the file are told, with the decoration role.
    QTRY_COMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0).at(0).value<QModelIndex>().row(), 1);
    QCOMPARE(changed.at(1).at(0).value<QModelIndex>().row(), 2);
    QCOMPARE(changed.at(0).at(2).value<QVector<int>>(), QVector<int>{Qt::DecorationRole});
    const QImage thumb = model.index(1).data(Qt::DecorationRole).value<QImage>();
    QCOMPARE(thumb.size(), QSize(48, 48));
    QCOMPARE(thumb.pixelColor(24, 24), QColor(Qt::red));
    QTest::qWait(100);
    QCOMPARE(changed.count(), 2);
}

void TestThumbnails::smallPictureIsImmediate()
{
    const QString path = m_dir.filePath(QStringLiteral("small2.png"));
    QVERIFY(BatchFixtures::writeFile(path, BatchFixtures::pngBytes(filledPicture(1000, 1000, Qt::green))));
    ImagesListModel model;
    model.setFiles({path});
    QCOMPARE(model.index(0).data(Qt::DecorationRole).value<QImage>().pixelColor(24, 24),
             QColor(Qt::green));
}

namespace {

// Whether this process holds the file open (a decode under way reads it).
bool isOpenHere(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System)) {
        if (QFile::symLinkTarget(fds.filePath(fd)) == canonical)
            return true;
    }
    return false;
}

} // namespace

// The list goes (a new drop, the window closing) while a thumbnail is being
// decoded: the model waits for that decode, so when it is gone nothing of it
// still runs, and no late result reaches anything.
void TestThumbnails::modelGoesWhileDecoding()
{
    const QString path = m_dir.filePath(QStringLiteral("large2.png"));
    QVERIFY(BatchFixtures::writeFile(path, BatchFixtures::pngBytes(BatchFixtures::rgbPicture(3000, 2000, 3))));
    {
        ImagesListModel model;
        model.setFiles(QStringList{path});
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.index(0).data(Qt::DecorationRole).value<QImage>().isNull());
        // Caught while it reads the file.
        QElapsedTimer clock;
        clock.start();
        while (!isOpenHere(path) && clock.elapsed() < 10000)
            QThread::usleep(200);
        QVERIFY2(isOpenHere(path), "the decode never began");
        QCOMPARE(changed.count(), 0);
    }
    QVERIFY(!isOpenHere(path));
    QTest::qWait(100);
    QVERIFY(!isOpenHere(path));
}

void TestThumbnails::pipeIsNeverWaitedFor_data()
{
    QTest::addColumn<bool>("listRow");  // else the thumbnail of the path, as the helper thread makes it
    QTest::newRow("row of the list") << true;
    QTest::newRow("thumbnail of the path") << false;
}

// A pipe put at a listed picture's path, after the folder walk listed a
// regular file there: no thumbnail, at once. The list's rows are painted on
// the GUI thread, which a wait for a writer of the pipe would freeze.
void TestThumbnails::pipeIsNeverWaitedFor()
{
    QFETCH(bool, listRow);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("listed.png"));
    QVERIFY(BatchFixtures::writeFile(path, BatchFixtures::pngBytes(filledPicture(20, 20, Qt::red))));
    ImagesListModel model;
    model.setFolder(QDir(dir.path()), {QStringLiteral("*.png")});
    QCOMPARE(model.files(), QStringList{path});
    QVERIFY(QFile::remove(path));
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);

    // Asked on a thread of its own, so that a wait fails the row instead of
    // holding the test.
    auto asked = std::async(std::launch::async, [&] {
        return listRow ? model.index(0).data(Qt::DecorationRole).value<QImage>() : ImagesListModel::thumbnail(path);
    });
    const bool answered = asked.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    // Whatever waits in the pipe goes on once a writer has come and gone;
    // done until the call has ended, however often it opens the pipe.
    while (asked.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
    }
    QVERIFY2(answered, "the thumbnail waits for a writer of the pipe");
    QVERIFY(asked.get().isNull());
}

QMTEST_APP_MAIN(TestThumbnails)

#include "tst_thumbnails.moc"
