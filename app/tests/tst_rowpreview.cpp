// The row menu's "Show Image" decodes its picture off the GUI thread: a
// photo took a noticeable moment to decode, and the sliding preview
// rescaled the full picture at every frame.
#include "BatchFixtures.h"
#include "PageTestSupport.h"

#include "ImagesListModel.h"
#include "Label.h"
#include "MainPage.h"

#include <QTemporaryDir>

class tst_rowpreview : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void pictureArrivesAfterTheSlideBegins();

private:
    QTemporaryDir m_dir;
};

void tst_rowpreview::init()
{
    QMTest::clearSettings();
}

void tst_rowpreview::pictureArrivesAfterTheSlideBegins()
{
    QImage red(2400, 1200, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString folder = m_dir.filePath(QStringLiteral("photos"));
    QVERIFY(BatchFixtures::writeFile(folder + QStringLiteral("/red.png"), BatchFixtures::pngBytes(red)));

    MainPage page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.slotFilesDropped({QUrl::fromLocalFile(folder)});
    QCOMPARE(page.model()->rowCount(), 1);

    page.setMenuIndex(page.model()->index(0));
    QVERIFY(QMetaObject::invokeMethod(&page, "slotPlay"));
    QVERIFY(page.preview()->isVisible());
    // Back from the click at once: the picture is not there yet.
    const QPoint centre = page.preview()->rect().center();
    QVERIFY(page.preview()->grab().toImage().pixelColor(centre) != QColor(Qt::red));
    QTRY_COMPARE(page.preview()->grab().toImage().pixelColor(centre), QColor(Qt::red));
}

PAGETEST_MAIN(tst_rowpreview)
#include "tst_rowpreview.moc"
