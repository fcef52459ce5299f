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

using BatchFixtures::filledPicture;

class TestThumbnails : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void largePictureArrivesLater();
    void smallPictureIsImmediate();
    void modelGoesWhileDecoding();

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

QMTEST_APP_MAIN(TestThumbnails)

#include "tst_thumbnails.moc"
