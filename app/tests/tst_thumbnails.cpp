// Thumbnails of large pictures are decoded on a helper thread, so that a
// screenful of photos does not freeze the list; small ones stay immediate.
#include "ImagesListModel.h"

#include "BatchFixtures.h"
#include "QMTest.h"

#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

QImage filled(int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

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
    QVERIFY(BatchFixtures::writeFile(path, BatchFixtures::pngBytes(filled(2400, 1200, Qt::red))));
    const QString other = m_dir.filePath(QStringLiteral("small.png"));
    QVERIFY(BatchFixtures::writeFile(other, BatchFixtures::pngBytes(filled(20, 20, Qt::blue))));

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
    QVERIFY(BatchFixtures::writeFile(path, BatchFixtures::pngBytes(filled(1000, 1000, Qt::green))));
    ImagesListModel model;
    model.setFiles({path});
    QCOMPARE(model.index(0).data(Qt::DecorationRole).value<QImage>().pixelColor(24, 24),
             QColor(Qt::green));
}

void TestThumbnails::modelGoesWhileDecoding()
{
    const QString path = m_dir.filePath(QStringLiteral("large2.png"));
    QVERIFY(BatchFixtures::writeFile(path, BatchFixtures::pngBytes(filled(3000, 2000, Qt::red))));
    {
        ImagesListModel model;
        model.setFiles(QStringList{path});
        QVERIFY(model.index(0).data(Qt::DecorationRole).value<QImage>().isNull());
    }
    // The model waited for its helper; nothing arrives for it afterwards.
    QTest::qWait(50);
}

QMTEST_APP_MAIN(TestThumbnails)

#include "tst_thumbnails.moc"
