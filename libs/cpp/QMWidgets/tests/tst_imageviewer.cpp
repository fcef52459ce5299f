// The image viewer family: the zoomable image area, the viewer with its zoom
// bar and preview button, the draggable title bar and openFileOrUrl.
#include "ImageArea.h"
#include "ImageViewer.h"
#include "OpenFileOrUrl.h"
#include "WindowTitle.h"

#include "QMTest.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>

using QMWidgets::ImageArea;
using QMWidgets::ImageViewer;
using QMWidgets::WindowTitle;

namespace {

QPixmap picture(const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::darkCyan);
    return pixmap;
}

QLabel* previewLabel(QWidget* pWidget)
{
    return pWidget->findChild<QLabel*>("PreviewLabel");
}

QSize shownSize(QWidget* pWidget)
{
    return previewLabel(pWidget)->pixmap(Qt::ReturnByValue).size();
}

QScrollArea* scrollArea(QWidget* pWidget)
{
    return pWidget->findChild<QScrollArea*>();
}

// The info overlay: the area's label without object name.
QLabel* infoLabel(ImageArea& area)
{
    for (QLabel* pLabel : area.findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (pLabel->objectName().isEmpty())
            return pLabel;
    }
    return nullptr;
}

} // namespace

class TestImageViewer : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void zoomLaysOutThePicture_data();
    void zoomLaysOutThePicture();
    void fitShowsTheWholePicture();
    void resizeKeepsTheMode();
    void navigationFloatsOnHover();
    void nextAndPreviousStartLoading();
    void infoText();

    void viewerControls();
    void stepButtonsStayInRange();
    void actualPixelsAtHundredPercent();
    void sliderShowsThePercentage();
    void fitButtonFitsAgain();
    void loadFromFile();
    void previewOpensASavedPicture();
    void previewNotOpenedWhenNotSaved();

    void titleBarLayoutAndMenu();
    void titleBarDragReportsPosition();
    void titleBarToolsLayout();

    void openFileOrUrlTable_data();
    void openFileOrUrlTable();
};

void TestImageViewer::zoomLaysOutThePicture_data()
{
    QTest::addColumn<QSize>("sizePicture");
    QTest::addColumn<int>("nPercent");
    QTest::addColumn<QSize>("sizeShown");
    QTest::addColumn<QSize>("sizeLabel");
    QTest::addColumn<int>("horizontal");  // Qt::ScrollBarPolicy
    QTest::addColumn<int>("vertical");

    const int off = Qt::ScrollBarAlwaysOff;
    const int needed = Qt::ScrollBarAsNeeded;
    // The area is 200 x 200.
    QTest::newRow("smaller both ways: centred") << QSize(100, 50) << 100 << QSize(100, 50) << QSize(200, 200) << off
                                                << off;
    QTest::newRow("exactly as wide: scrolls as needed") << QSize(200, 50) << 100 << QSize(200, 50) << QSize(200, 200)
                                                        << needed << off;
    QTest::newRow("wider but lower") << QSize(400, 100) << 100 << QSize(400, 100) << QSize(400, 200) << needed << off;
    QTest::newRow("higher but narrower") << QSize(100, 400) << 100 << QSize(100, 400) << QSize(200, 400) << off
                                         << needed;
    QTest::newRow("larger both ways") << QSize(400, 300) << 100 << QSize(400, 300) << QSize(400, 300) << needed
                                      << needed;
    QTest::newRow("half of a large one") << QSize(400, 300) << 50 << QSize(200, 150) << QSize(200, 200) << needed
                                         << off;
    QTest::newRow("half pixels round up") << QSize(3, 3) << 50 << QSize(2, 2) << QSize(200, 200) << off << off;
}

void TestImageViewer::zoomLaysOutThePicture()
{
    QFETCH(QSize, sizePicture);
    QFETCH(int, nPercent);
    QFETCH(QSize, sizeShown);
    QFETCH(QSize, sizeLabel);
    QFETCH(int, horizontal);
    QFETCH(int, vertical);

    ImageArea area;
    area.resize(200, 200);
    area.setPixmap(picture(sizePicture));
    area.slotZoom(nPercent);
    QCOMPARE(shownSize(&area), sizeShown);
    QCOMPARE(previewLabel(&area)->size(), sizeLabel);
    QCOMPARE(int(scrollArea(&area)->horizontalScrollBarPolicy()), horizontal);
    QCOMPARE(int(scrollArea(&area)->verticalScrollBarPolicy()), vertical);
    QCOMPARE(scrollArea(&area)->geometry(), QRect(0, 0, 200, 200));
}

void TestImageViewer::fitShowsTheWholePicture()
{
    ImageArea area;
    area.resize(200, 100);
    area.setPixmap(picture(QSize(400, 400)));
    // Fit mode from the start.
    QCOMPARE(shownSize(&area), QSize(100, 100));
    QCOMPARE(previewLabel(&area)->size(), QSize(200, 100));
    QCOMPARE(scrollArea(&area)->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(scrollArea(&area)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(area.pixmap().size(), QSize(400, 400));  // kept at full resolution

    area.setPixmap(QPixmap());
    QVERIFY(shownSize(&area).isEmpty());
}

void TestImageViewer::resizeKeepsTheMode()
{
    ImageArea area;
    area.resize(200, 200);
    area.show();
    area.setPixmap(picture(QSize(400, 400)));
    area.resize(100, 100);
    QCOMPARE(shownSize(&area), QSize(100, 100));

    area.slotZoom(50);
    area.resize(300, 300);
    QCOMPARE(shownSize(&area), QSize(200, 200));
    QCOMPARE(previewLabel(&area)->size(), QSize(300, 300));

    area.slotFitScreen();
    QCOMPARE(shownSize(&area), QSize(300, 300));
    area.resize(150, 150);
    QCOMPARE(shownSize(&area), QSize(150, 150));
}

void TestImageViewer::navigationFloatsOnHover()
{
    ImageArea area;
    area.resize(200, 200);
    area.show();
    auto* pNext = area.findChild<QPushButton*>("NextImageButton");
    auto* pPrevious = area.findChild<QPushButton*>("PreviousImageButton");
    QLabel* pInfo = infoLabel(area);
    QVERIFY(pNext && pPrevious && pInfo);
    // Above the picture: created after the scroll area.
    QVERIFY(area.children().indexOf(scrollArea(&area)) < area.children().indexOf(pNext));

    QMTest::sendLeave(&area);
    QVERIFY(!pNext->isVisible() && !pPrevious->isVisible() && !pInfo->isVisible());
    QMTest::sendEnter(&area);
    QVERIFY(pNext->isVisible() && pPrevious->isVisible() && pInfo->isVisible());
    // Left and right edges, vertically centred.
    QVERIFY(pPrevious->x() < 10 && pNext->geometry().right() > 190);

    area.setNavigationHidden(true);
    QVERIFY(!pNext->isVisible() && !pPrevious->isVisible() && !pInfo->isVisible());
    QMTest::sendLeave(&area);
    QMTest::sendEnter(&area);
    QVERIFY(!pNext->isVisible() && !pPrevious->isVisible());
    QVERIFY(pInfo->isVisible());

    area.setNavigationHidden(false);
    QVERIFY(!pNext->isVisible());  // shows nothing by itself
    QMTest::sendEnter(&area);
    QVERIFY(pNext->isVisible());
}

void TestImageViewer::nextAndPreviousStartLoading()
{
    ImageArea area;
    area.resize(300, 300);
    area.show();
    auto* pLoading = area.findChild<QLabel*>("ImageLoadingLabel");
    QVERIFY(pLoading);
    QCOMPARE(pLoading->size(), QSize(144, 144));
    QVERIFY(!pLoading->isVisible());

    QStringList order;
    connect(&area, &ImageArea::next, [&] { order << "next"; });
    connect(&area, &ImageArea::previous, [&] { order << "previous"; });
    connect(&area, &ImageArea::infoChanged, [&] { order << "info"; });
    QMTest::sendEnter(&area);
    QTest::mouseClick(area.findChild<QPushButton*>("NextImageButton"), Qt::LeftButton);
    QVERIFY(pLoading->isVisible());
    area.setPixmap(picture(QSize(10, 10)));
    QVERIFY(!pLoading->isVisible());
    QTest::mouseClick(area.findChild<QPushButton*>("PreviousImageButton"), Qt::LeftButton);
    QCOMPARE(order, QStringList({"next", "info", "previous", "info"}));
}

void TestImageViewer::infoText()
{
    ImageArea area;
    area.show();
    QLabel* pInfo = infoLabel(area);
    area.setInfoText("<H1>7%</H1>");
    QVERIFY(pInfo->isVisible());
    QCOMPARE(pInfo->text(), QString("<H1>7%</H1>"));
    area.setInfoText(QString());
    QVERIFY(!pInfo->isVisible());
    QCOMPARE(pInfo->text(), QString("<H1>7%</H1>"));  // old text stays

    area.slotFitScreen();
    QCOMPARE(pInfo->text(), QString("<H1>Fit to Window</H1>"));
    QVERIFY(!pInfo->isVisible());
}

void TestImageViewer::viewerControls()
{
    ImageViewer viewer;
    QCOMPARE(viewer.minimumHeight(), 400);
    auto* pSlider = viewer.findChild<QSlider*>("ImageViewSlider");
    QCOMPARE(pSlider->minimum(), 1);
    QCOMPARE(pSlider->maximum(), 100);
    QCOMPARE(pSlider->value(), 100);
    QCOMPARE(pSlider->tickPosition(), QSlider::TicksBothSides);
    auto* pFit = viewer.findChild<QPushButton*>("FitToScreenButton");
    QVERIFY(pFit->isCheckable() && pFit->isChecked());
    QCOMPARE(pFit->toolTip(), QString("Fit To Window"));
    auto* pActual = viewer.findChild<QPushButton*>("ActualPixelsButton");
    QVERIFY(pActual->isCheckable() && !pActual->isChecked());
    QCOMPARE(pActual->text(), QString("Actual Pixels"));
    QCOMPARE(pActual->toolTip(), QString("100%"));
    QCOMPARE(viewer.findChild<QPushButton*>("SysPreviewButton")->text(), QString("Open with Preview"));
    QCOMPARE(viewer.findChild<QPushButton*>("ZoomInButton")->size(), QSize(44, 44));

    viewer.show();
    QApplication::processEvents();
    // The button named "ZoomInButton" sits left of the slider and lowers the zoom.
    auto* pLeft = viewer.findChild<QPushButton*>("ZoomInButton");
    auto* pRight = viewer.findChild<QPushButton*>("ZoomOutButton");
    QVERIFY(pLeft->x() < pSlider->x() && pSlider->x() < pRight->x());
    QVERIFY(viewer.findChild<QPushButton*>("SysPreviewButton")->y() < viewer.findChild<ImageArea*>()->y());
    pSlider->setValue(50);
    pLeft->click();
    QCOMPARE(pSlider->value(), 49);
    pRight->click();
    pRight->click();
    QCOMPARE(pSlider->value(), 51);

    QStringList forwarded;
    connect(&viewer, &ImageViewer::next, [&] { forwarded << "next"; });
    connect(&viewer, &ImageViewer::previous, [&] { forwarded << "previous"; });
    connect(&viewer, &ImageViewer::infoChanged, [&] { forwarded << "info"; });
    viewer.findChild<ImageArea*>()->slotNextClicked();
    viewer.findChild<ImageArea*>()->slotPreviousClicked();
    QCOMPARE(forwarded, QStringList({"next", "info", "previous", "info"}));
}

void TestImageViewer::stepButtonsStayInRange()
{
    ImageViewer viewer;
    auto* pSlider = viewer.findChild<QSlider*>("ImageViewSlider");
    QSignalSpy spy(pSlider, SIGNAL(valueChanged(int)));
    viewer.findChild<QPushButton*>("ZoomOutButton")->click();
    QCOMPARE(pSlider->value(), 100);
    pSlider->setValue(1);
    viewer.findChild<QPushButton*>("ZoomInButton")->click();
    QCOMPARE(pSlider->value(), 1);
    QCOMPARE(spy.count(), 1);  // only the direct setValue(1)
}

void TestImageViewer::actualPixelsAtHundredPercent()
{
    ImageViewer viewer;
    viewer.resize(400, 500);
    viewer.show();
    viewer.slotLoad(picture(QSize(600, 600)).toImage());
    auto* pArea = viewer.findChild<ImageArea*>();
    QVERIFY(shownSize(pArea).width() < 600);  // fitted

    auto* pActual = viewer.findChild<QPushButton*>("ActualPixelsButton");
    QTest::mouseClick(pActual, Qt::LeftButton);
    QCOMPARE(shownSize(pArea), QSize(600, 600));
    QVERIFY(pActual->isChecked());
    QVERIFY(!viewer.findChild<QPushButton*>("FitToScreenButton")->isChecked());

    // Unchecking changes nothing else.
    QTest::mouseClick(pActual, Qt::LeftButton);
    QCOMPARE(shownSize(pArea), QSize(600, 600));

    // From another zoom a check brings the slider to 100.
    auto* pSlider = viewer.findChild<QSlider*>("ImageViewSlider");
    pSlider->setValue(30);
    QVERIFY(!pActual->isChecked());
    QTest::mouseClick(pActual, Qt::LeftButton);
    QCOMPARE(pSlider->value(), 100);
    QCOMPARE(shownSize(pArea), QSize(600, 600));
}

void TestImageViewer::sliderShowsThePercentage()
{
    ImageViewer viewer;
    viewer.resize(400, 500);
    viewer.show();
    viewer.slotLoad(picture(QSize(600, 600)).toImage());
    auto* pArea = viewer.findChild<ImageArea*>();
    auto* pSlider = viewer.findChild<QSlider*>("ImageViewSlider");
    QLabel* pInfo = infoLabel(*pArea);

    pSlider->setValue(25);
    QCOMPARE(pInfo->text(), QString("<H1>25%</H1>"));
    QVERIFY(pInfo->isVisible());
    QCOMPARE(shownSize(pArea), QSize(150, 150));
    QVERIFY(!viewer.findChild<QPushButton*>("FitToScreenButton")->isChecked());

    emit pSlider->sliderReleased();
    QVERIFY(!pInfo->isVisible());
    emit pSlider->sliderPressed();
    QVERIFY(pInfo->isVisible());
    QCOMPARE(pInfo->text(), QString("<H1>25%</H1>"));
}

void TestImageViewer::fitButtonFitsAgain()
{
    ImageViewer viewer;
    viewer.resize(400, 500);
    viewer.show();
    viewer.slotLoad(picture(QSize(600, 600)).toImage());
    auto* pArea = viewer.findChild<ImageArea*>();
    const QSize sizeFitted = shownSize(pArea);
    viewer.findChild<QPushButton*>("ActualPixelsButton")->click();
    QCOMPARE(shownSize(pArea), QSize(600, 600));

    auto* pFit = viewer.findChild<QPushButton*>("FitToScreenButton");
    pFit->click();
    QVERIFY(pFit->isChecked());
    QCOMPARE(shownSize(pArea), sizeFitted);
    QVERIFY(!viewer.findChild<QPushButton*>("ActualPixelsButton")->isChecked());
    QVERIFY(!infoLabel(*pArea)->isVisible());
    pFit->click();  // unchecking fits as well
    QCOMPARE(shownSize(pArea), sizeFitted);
}

void TestImageViewer::loadFromFile()
{
    QTemporaryDir dir;
    const QString strPath = dir.filePath("picture.data");  // the content decides, not the name
    QVERIFY(picture(QSize(40, 20)).save(strPath, "PNG"));
    ImageViewer viewer;
    viewer.slotLoad(strPath);
    QCOMPARE(viewer.findChild<ImageArea*>()->pixmap().size(), QSize(40, 20));
    viewer.slotLoad(dir.filePath("missing.png"));
    QVERIFY(viewer.findChild<ImageArea*>()->pixmap().isNull());
}

void TestImageViewer::previewOpensASavedPicture()
{
    QMTest::UrlRecorder recorder;
    ImageViewer viewer;
    viewer.slotLoad(picture(QSize(30, 20)).toImage());
    QSignalSpy spy(&viewer, SIGNAL(systemPreviewOpened()));
    viewer.findChild<QPushButton*>("SysPreviewButton")->click();
    const QString strPath = QMWidgets::App::workDirectory() + "preview.png";
    QCOMPARE(QImage(strPath).size(), QSize(30, 20));
    QCOMPARE(recorder.urls(), QList<QUrl>({QUrl::fromLocalFile(strPath)}));
    QCOMPARE(spy.count(), 1);

    recorder.setAnswer(false);  // the desktop could not open it
    viewer.findChild<QPushButton*>("SysPreviewButton")->click();
    QCOMPARE(recorder.count(), 2);
    QCOMPARE(spy.count(), 1);
}

void TestImageViewer::previewNotOpenedWhenNotSaved()
{
    // An older preview is on disk; an empty view cannot be saved over it, and
    // the old picture must not be shown as if it were this one.
    const QString strPath = QMWidgets::App::workDirectory(true) + "preview.png";
    QVERIFY(picture(QSize(5, 5)).save(strPath, "png"));
    QMTest::UrlRecorder recorder;
    ImageViewer viewer;
    QSignalSpy spy(&viewer, SIGNAL(systemPreviewOpened()));
    viewer.findChild<QPushButton*>("SysPreviewButton")->click();
    QCOMPARE(recorder.count(), 0);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(QImage(strPath).size(), QSize(5, 5));
}

void TestImageViewer::titleBarLayoutAndMenu()
{
    WindowTitle title;
    title.resize(400, 50);
    title.show();
    QApplication::processEvents();
    QCOMPARE(title.cursor().shape(), Qt::ArrowCursor);
    auto* pBar = title.findChild<QFrame*>("WindowTitleBar");
    QVERIFY(pBar);
    QCOMPARE(title.findChild<QWidget*>("WindowTitleTools")->parentWidget(), pBar);
    auto* pAlways = title.findChild<QPushButton*>("AlwaysOptimizeButton");
    QVERIFY(pAlways->isCheckable() && pAlways->isChecked());
    QCOMPARE(pAlways->size(), QSize(32, 32));
    // Tools from the left: zoom in, zoom out, 100%, always optimise; close last.
    QList<int> xs;
    for (const char* szName : {"ZoomInButton", "ZoomOutButton", "100PercentButton", "AlwaysOptimizeButton", "CloseButton"})
        xs << title.findChild<QPushButton*>(szName)->x();
    QVERIFY(std::is_sorted(xs.begin(), xs.end()));
    QCOMPARE(std::adjacent_find(xs.begin(), xs.end()), xs.end());

    auto* pActions = title.findChild<QPushButton*>("Actions");
    QCOMPARE(pActions->text(), QString("Actions"));
    QVERIFY(!pActions->isVisible());
    QStringList entries;
    for (QAction* pAction : pActions->menu()->actions())
        entries << (pAction->isSeparator() ? QString("|") : pAction->text());
    QCOMPARE(entries.mid(0, 3), QStringList({"Save as...", "Open with default program", "|"}));
    QCOMPARE(entries.size(), 5);
    QCOMPARE(entries.last(), QString("Forward via e-mail"));

    QVERIFY(!title.isMenuVisible());
    emit pActions->menu()->aboutToShow();
    QVERIFY(title.isMenuVisible());
    emit pActions->menu()->aboutToHide();
    QVERIFY(!title.isMenuVisible());

    QSignalSpy closing(&title, SIGNAL(closeWindow()));
    title.findChild<QPushButton*>("CloseButton")->click();
    QCOMPARE(closing.count(), 1);
}

void TestImageViewer::titleBarDragReportsPosition()
{
    QWidget window;
    auto* pTitle = new WindowTitle(&window);
    window.resize(300, 100);
    window.move(100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint posBefore = window.pos();
    QSignalSpy spy(pTitle, SIGNAL(changePosition(const QPoint&)));

    QTest::mousePress(pTitle, Qt::LeftButton, Qt::NoModifier, QPoint(10, 5));
    const QPoint local(60, 25);
    QMouseEvent move(QEvent::MouseMove, local, pTitle->mapToGlobal(local), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(pTitle, &move);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toPoint(), pTitle->mapToGlobal(local) - QPoint(10, 5));
    QCOMPARE(window.pos(), posBefore);  // the owner moves its window, not the bar
    QTest::mouseRelease(pTitle, Qt::LeftButton, Qt::NoModifier, local);
}

void TestImageViewer::titleBarToolsLayout()
{
    WindowTitle title;
    auto* pTools = title.findChild<QWidget*>("WindowTitleTools");
    auto* pRow = new QHBoxLayout;
    auto* pExtra = new QLabel("extra");
    pRow->addWidget(pExtra);
    title.setToolsLayout(pRow);
    QCOMPARE(pExtra->parentWidget(), pTools);
    QCOMPARE(pTools->layout()->contentsMargins(), QMargins(0, 0, 0, 0));
    QCOMPARE(pTools->layout()->itemAt(0)->layout(), pRow);

    auto* pSecond = new QHBoxLayout;
    pSecond->addWidget(new QLabel("second"));
    title.setToolsLayout(pSecond);
    QCOMPARE(pTools->layout()->itemAt(0)->layout(), pSecond);
}

void TestImageViewer::openFileOrUrlTable_data()
{
    QTest::addColumn<bool>("bExistingFile");
    QTest::addColumn<QString>("strText");
    QTest::addColumn<QUrl>("urlOpened");

    QTest::newRow("existing file") << true << QString() << QUrl();
    QTest::newRow("web address") << false << "https://example.org/a b" << QUrl("https://example.org/a%20b");
    QTest::newRow("missing file as a link") << false << "/no/such/file.png" << QUrl("/no/such/file.png");
}

void TestImageViewer::openFileOrUrlTable()
{
    QFETCH(bool, bExistingFile);
    QFETCH(QString, strText);
    QFETCH(QUrl, urlOpened);

    QTemporaryDir dir;
    if (bExistingFile) {
        strText = dir.filePath("a file.txt");
        QVERIFY(QMTest::writeFile(strText, "x"));
        urlOpened = QUrl::fromLocalFile(strText);
    }
    QMTest::UrlRecorder recorder;
    QMWidgets::openFileOrUrl(strText);
    QCOMPARE(recorder.urls(), QList<QUrl>({urlOpened}));
}

QMTEST_APP_MAIN(TestImageViewer)
#include "tst_imageviewer.moc"
