// The row menu's "Show Image" decodes its picture off the GUI thread: a
// photo took a noticeable moment to decode, and the sliding preview
// rescaled the full picture at every frame.
#include "BatchFixtures.h"
#include "PageTestSupport.h"

#include "ImagesListModel.h"
#include "Label.h"
#include "MainPage.h"

#include <QTemporaryDir>

namespace {

// Shows the page, drops the folder (one picture) on it and opens that row's
// preview as the row menu's "Show Image" does.
void showPreviewOfOnlyPicture(MainPage& page, const QString& folder)
{
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.slotFilesDropped({QUrl::fromLocalFile(folder)});
    QCOMPARE(page.model()->rowCount(), 1);
    page.setMenuIndex(page.model()->index(0));
    QVERIFY(QMetaObject::invokeMethod(&page, "slotPlay"));
    QVERIFY(page.preview()->isVisible());
}

} // namespace

class tst_rowpreview : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void pictureArrivesAfterTheSlideBegins();
    void largePictures_data();
    void largePictures();

private:
    QTemporaryDir m_dir;
};

void tst_rowpreview::init()
{
    QMTest::clearSettings();
}

void tst_rowpreview::pictureArrivesAfterTheSlideBegins()
{
    const QString folder = m_dir.filePath(QStringLiteral("photos"));
    QVERIFY(BatchFixtures::writeFile(folder + QStringLiteral("/red.png"),
                                     BatchFixtures::pngBytes(BatchFixtures::filledPicture(2400, 1200, Qt::red))));

    MainPage page;
    showPreviewOfOnlyPicture(page, folder);
    if (QTest::currentTestFailed())
        return;
    // Back from the click at once: the picture is not there yet.
    const QPoint centre = page.preview()->rect().center();
    QVERIFY(page.preview()->grab().toImage().pixelColor(centre) != QColor(Qt::red));
    QTRY_COMPARE(page.preview()->grab().toImage().pixelColor(centre), QColor(Qt::red));
}

void tst_rowpreview::largePictures_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("shown");
    // Any picture the batch compresses is shown: up to 150 megapixels.
    QTest::newRow("60 megapixels") << QSize(10000, 6000) << true;
    // Beyond it nothing is decoded (the header alone declares the size).
    QTest::newRow("151 megapixels") << QSize(15100, 10000) << false;
}

void tst_rowpreview::largePictures()
{
    QFETCH(QSize, size);
    QFETCH(bool, shown);
    const QString folder = m_dir.filePath(QStringLiteral("large%1").arg(size.width()));
    const QString path = folder + QStringLiteral("/big.png");
    if (shown) {
        // One red palette entry: a small file and a quick decode for its size.
        QImage picture(size, QImage::Format_Indexed8);
        QVERIFY(!picture.isNull());
        picture.setColorTable({qRgb(255, 0, 0)});
        picture.fill(0);
        QVERIFY(BatchFixtures::writeFile(path, BatchFixtures::pngBytes(picture)));
    } else {
        QVERIFY(BatchFixtures::writeFile(path, BatchFixtures::pngWithDeclaredSize(quint32(size.width()),
                                                                                 quint32(size.height()))));
    }

    MainPage page;
    showPreviewOfOnlyPicture(page, folder);
    if (QTest::currentTestFailed())
        return;
    const QImage empty = page.preview()->grab().toImage();
    const QPoint centre = page.preview()->rect().center();
    if (shown) {
        QTRY_COMPARE_WITH_TIMEOUT(page.preview()->grab().toImage().pixelColor(centre), QColor(Qt::red), 20000);
    } else {
        QTest::qWait(500);
        QCOMPARE(page.preview()->grab().toImage(), empty);
    }
}

PAGETEST_MAIN(tst_rowpreview)
#include "tst_rowpreview.moc"
