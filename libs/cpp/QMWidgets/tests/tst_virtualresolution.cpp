// The virtual-resolution host: the hybrid widget moving between its window
// and the stage, the stretched view, the dialog and its preset group.
#include "HybridWidget.h"
#include "ResolutionSetupWidget.h"
#include "VirtualResolutionDialog.h"
#include "VirtualResolutionWidget.h"

#include "QMTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsProxyWidget>
#include <QGraphicsView>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>

using namespace QMWidgets;

Q_DECLARE_METATYPE(VirtualResolutionDialog::Mode)

namespace {

QSlider* sliderOf(QWidget* pWidget)
{
    return pWidget->findChild<QSlider*>();
}

ResolutionSetupWidget* virtualGroup(VirtualResolutionDialog& dialog)
{
    for (auto* pGroup : dialog.findChildren<ResolutionSetupWidget*>()) {
        if (pGroup->title() == QLatin1String("Virtual Resolution"))
            return pGroup;
    }
    return nullptr;
}

VirtualResolutionDialog* shownDialog()
{
    for (QWidget* pWidget : QApplication::topLevelWidgets()) {
        auto* pDialog = qobject_cast<VirtualResolutionDialog*>(pWidget);
        if (pDialog && pDialog->isVisible())
            return pDialog;
    }
    return nullptr;
}

void chooseMode(VirtualResolutionDialog& dialog, int nIndex)
{
    auto* pBox = dialog.findChild<QComboBox*>();
    pBox->setCurrentIndex(nIndex);
    emit pBox->activated(nIndex);
}

// Empty when the view shows the proxy's content whole and stretched over its
// whole viewport, with no scroll bars; otherwise what it shows instead. The
// view's fitting keeps a margin of a pixel or two; the corners are looked at
// just inside it, where the content's own colour must be.
QString contentFillsView(QGraphicsView* pView, QGraphicsProxyWidget* pProxy, const QColor& colour)
{
    constexpr int kFitMargin = 3;
    constexpr int kCornerInset = 6;
    if (pView->horizontalScrollBar()->isVisible() || pView->verticalScrollBar()->isVisible())
        return QStringLiteral("scroll bars shown");
    const QRect viewport = pView->viewport()->rect();
    const QRect shown = pView->mapFromScene(pProxy->sceneBoundingRect()).boundingRect();
    const QRect inner = viewport.adjusted(kFitMargin, kFitMargin, -kFitMargin, -kFitMargin);
    if (!viewport.contains(shown) || !shown.contains(inner))
        return QStringLiteral("content at %1,%2 %3x%4 in a viewport of %5x%6")
            .arg(shown.x())
            .arg(shown.y())
            .arg(shown.width())
            .arg(shown.height())
            .arg(viewport.width())
            .arg(viewport.height());
    const QImage image = pView->viewport()->grab().toImage();
    const QRect corners = viewport.adjusted(kCornerInset, kCornerInset, -kCornerInset, -kCornerInset);
    for (const QPoint& corner : {corners.topLeft(), corners.topRight(), corners.bottomLeft(), corners.bottomRight()}) {
        if (image.pixelColor(corner) != colour)
            return QStringLiteral("%1 at %2,%3").arg(image.pixelColor(corner).name()).arg(corner.x()).arg(corner.y());
    }
    return QString();
}

}  // namespace

class TestVirtualResolution : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void presetGroup();
    void emptyGroupIgnoresItsSlider();
    void dialog();
    void dialogSliderAnnouncesSize();
    void dialogModeEnablesGroup();
    void switchingOnAndOff();
    void switchingTwiceChangesNothing();
    void applySettings_data();
    void applySettings();
    void sizeOnlyInVirtualMode();
    void viewStretchesContent();
    void switchedOnViewShowsContentWhole_data();
    void switchedOnViewShowsContentWhole();
    void fullScreenGoesToTheShownWindow();
    void destroyedInVirtualMode();
    void processWideView();
};

void TestVirtualResolution::presetGroup()
{
    ResolutionSetupWidget group;
    auto* pSlider = sliderOf(&group);
    QCOMPARE(pSlider->orientation(), Qt::Horizontal);
    QCOMPARE(pSlider->tickInterval(), 1);
    QCOMPARE(pSlider->tickPosition(), QSlider::TicksBelow);
    const QList<QSpinBox*> boxes = group.findChildren<QSpinBox*>();
    QCOMPARE(boxes.size(), 2);
    for (QSpinBox* pBox : boxes) {
        QCOMPARE(pBox->minimum(), 100);
        QCOMPARE(pBox->maximum(), 30000);
    }
    group.addResolution(QSize(640, 480));
    group.addResolution(QSize(50, 40000));
    QCOMPARE(pSlider->maximum(), 1);
    QCOMPARE(group.resolution(), QSize(640, 480));
    QSignalSpy spy(&group, SIGNAL(resolutionChanged(QSize)));
    pSlider->setValue(1);
    // The spin boxes' range holds the announced size.
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toSize(), QSize(100, 30000));
    QCOMPARE(group.resolution(), QSize(100, 30000));
}

void TestVirtualResolution::emptyGroupIgnoresItsSlider()
{
    ResolutionSetupWidget group;
    QSignalSpy spy(&group, SIGNAL(resolutionChanged(QSize)));
    auto* pSlider = sliderOf(&group);
    QCOMPARE(pSlider->maximum(), 0);
    pSlider->setValue(5);
    QVERIFY(QMetaObject::invokeMethod(&group, "slotValueChanged", Q_ARG(int, 3)));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(group.resolution(), QSize(100, 100));
}

void TestVirtualResolution::dialog()
{
    VirtualResolutionDialog dialog;
    auto* pBox = dialog.findChild<QComboBox*>();
    QCOMPARE(pBox->count(), 2);
    QCOMPARE(pBox->itemText(0), QStringLiteral("Virtual Resolution Mode"));
    QCOMPARE(pBox->itemText(1), QStringLiteral("Normal Model"));
    QCOMPARE(dialog.mode(), VirtualResolutionDialog::VirtualMode);
    auto* pOpenGl = dialog.findChild<QCheckBox*>();
    QVERIFY(!pOpenGl->isChecked());
    QVERIFY(!pOpenGl->isEnabled());
    QVERIFY(QMTest::labelTextContaining(&dialog, QStringLiteral("OpenGL Acceleration")).size() > 0);
    QStringList buttons;
    for (QPushButton* pButton : dialog.findChildren<QPushButton*>()) {
        buttons << pButton->text();
        QCOMPARE(pButton->objectName(), QStringLiteral("PushButton"));
    }
    QCOMPARE(buttons, (QStringList{"&Ok", "&Cancel", "&Apply"}));
    QCOMPARE(dialog.findChildren<ResolutionSetupWidget*>().size(), 2);
    for (auto* pGroup : dialog.findChildren<ResolutionSetupWidget*>())
        QCOMPARE(pGroup->isHidden(), pGroup->title() == QLatin1String("Window Size"));
    QCOMPARE(dialog.virtualResolution(), QSize(1024, 768));
    QVERIFY(!dialog.findChildren<QLabel*>().first()->pixmap(Qt::ReturnByValue).isNull());

    // Apply announces the choice and keeps the dialog open.
    dialog.show();
    QSignalSpy sizeSpy(&dialog, SIGNAL(changeVirtualResolution(QSize)));
    QSignalSpy settingsSpy(&dialog, SIGNAL(changeSettings()));
    QMTest::buttonWithText(&dialog, QStringLiteral("&Apply"))->click();
    QCOMPARE(sizeSpy.count(), 1);
    QCOMPARE(sizeSpy.first().first().toSize(), QSize(1024, 768));
    QCOMPARE(settingsSpy.count(), 1);
    QVERIFY(dialog.isVisible());
    QMTest::buttonWithText(&dialog, QStringLiteral("&Ok"))->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestVirtualResolution::dialogSliderAnnouncesSize()
{
    // The presets in order, 1980 x 1250 and 2650 x 1600 among them; the last
    // is 5300 x 3200.
    VirtualResolutionDialog dialog;
    QSignalSpy spy(&dialog, SIGNAL(virtualResolutionChanged(QSize)));
    auto* pSlider = sliderOf(virtualGroup(dialog));
    QList<QSize> sizes;
    for (int i = 1; i <= pSlider->maximum(); ++i) {
        pSlider->setValue(i);
        sizes << dialog.virtualResolution();
    }
    QCOMPARE(sizes, (QList<QSize>{{1152, 864}, {1280, 800}, {1280, 1024}, {1440, 900}, {1600, 1200}, {1680, 1050},
                                  {1920, 1200}, {1980, 1250}, {2048, 1536}, {2650, 1600}, {3840, 2400}, {4096, 3072},
                                  {5300, 3200}}));
    QCOMPARE(spy.count(), 13);
    QCOMPARE(spy.last().first().toSize(), QSize(5300, 3200));
}

void TestVirtualResolution::dialogModeEnablesGroup()
{
    VirtualResolutionDialog dialog;
    chooseMode(dialog, 1);
    QCOMPARE(dialog.mode(), VirtualResolutionDialog::NormalMode);
    QVERIFY(!virtualGroup(dialog)->isEnabled());
    chooseMode(dialog, 0);
    QVERIFY(virtualGroup(dialog)->isEnabled());
}

void TestVirtualResolution::switchingOnAndOff()
{
    HybridWidget hybrid;
    hybrid.setTitle(QStringLiteral("Stage"));
    QCOMPARE(hybrid.virtualView()->windowTitle(), QStringLiteral("Stage"));
    hybrid.resize(320, 240);
    hybrid.show();
    QVERIFY(hybrid.isWindow());

    hybrid.slotSetVirtualResolutionMode(true);
    QVERIFY(hybrid.isVirtualResolutionMode());
    QCOMPARE(hybrid.parentWidget(), hybrid.stageWidget());
    QCOMPARE(hybrid.stageWidget()->size(), QSize(320, 240));
    QCOMPARE(hybrid.geometry(), QRect(0, 0, 320, 240));
    QVERIFY(hybrid.virtualView()->isVisible());
    QVERIFY(hybrid.isVisible());

    hybrid.applyVirtualResolution(QSize(1280, 800));
    QCOMPARE(hybrid.stageWidget()->size(), QSize(1280, 800));
    QCOMPARE(hybrid.geometry(), QRect(0, 0, 1280, 800));

    hybrid.slotSetVirtualResolutionMode(false);
    QVERIFY(!hybrid.isVirtualResolutionMode());
    QVERIFY(hybrid.isWindow());
    QVERIFY(!hybrid.parentWidget());
    QCOMPARE(hybrid.size(), QSize(320, 240));
    QCOMPARE(hybrid.pos(), QPoint(50, 50));
    QVERIFY(hybrid.isVisible());
    QVERIFY(!hybrid.virtualView()->isVisible());
}

void TestVirtualResolution::switchingTwiceChangesNothing()
{
    HybridWidget hybrid;
    hybrid.resize(300, 200);
    hybrid.slotSetVirtualResolutionMode(false);
    QVERIFY(hybrid.isWindow());
    QVERIFY(!hybrid.virtualView()->isVisible());
    hybrid.slotSetVirtualResolutionMode(true);
    hybrid.resize(10, 10);  // would be remembered by a second switch
    hybrid.slotSetVirtualResolutionMode(true);
    QCOMPARE(hybrid.stageWidget()->size(), QSize(300, 200));
    hybrid.slotSetVirtualResolutionMode(false);
    QCOMPARE(hybrid.size(), QSize(300, 200));
}

void TestVirtualResolution::applySettings_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("preset");
    QTest::addColumn<bool>("virtualMode");
    QTest::addColumn<QSize>("stage");
    QTest::newRow("normal model stays normal") << 1 << 4 << false << QSize(300, 200);
    QTest::newRow("first item switches on and applies") << 0 << 2 << true << QSize(1280, 800);
    QTest::newRow("first item, largest preset") << 0 << 13 << true << QSize(5300, 3200);
}

void TestVirtualResolution::applySettings()
{
    QFETCH(int, item);
    QFETCH(int, preset);
    QFETCH(bool, virtualMode);
    QFETCH(QSize, stage);
    HybridWidget hybrid;
    hybrid.resize(300, 200);
    hybrid.slotSetSettings();  // no dialog yet: nothing to apply
    QVERIFY(!hybrid.isVirtualResolutionMode());
    hybrid.slotShowSettingsDialog();
    VirtualResolutionDialog* pDialog = shownDialog();
    QVERIFY(pDialog);
    QVERIFY(!pDialog->isModal());
    chooseMode(*pDialog, item);
    sliderOf(virtualGroup(*pDialog))->setValue(preset);
    QMTest::buttonWithText(pDialog, QStringLiteral("&Apply"))->click();
    QCOMPARE(hybrid.isVirtualResolutionMode(), virtualMode);
    QCOMPARE(hybrid.size(), stage);
    if (virtualMode)
        QCOMPARE(hybrid.stageWidget()->size(), stage);
    // The same dialog comes up again.
    hybrid.slotShowSettingsDialog();
    int nDialogs = 0;
    for (QWidget* pWidget : QApplication::topLevelWidgets())
        nDialogs += qobject_cast<VirtualResolutionDialog*>(pWidget) != nullptr;
    QCOMPARE(nDialogs, 1);
    hybrid.slotSetVirtualResolutionMode(false);
}

void TestVirtualResolution::sizeOnlyInVirtualMode()
{
    HybridWidget hybrid;
    hybrid.resize(300, 200);
    hybrid.slotSetSize(QSize(1024, 768));
    QCOMPARE(hybrid.size(), QSize(300, 200));
    hybrid.slotSetMode(VirtualResolutionDialog::VirtualMode);
    hybrid.slotSetSize(QSize(1024, 768));
    QCOMPARE(hybrid.size(), QSize(1024, 768));
    QCOMPARE(hybrid.virtualView()->virtualSize(), QSize(1024, 768));
    hybrid.slotSetMode(VirtualResolutionDialog::NormalMode);
    QCOMPARE(hybrid.size(), QSize(300, 200));
}

void TestVirtualResolution::viewStretchesContent()
{
    // 1280 x 800 shown in a 640 x 300 window: halved across, three eighths
    // down; not letter-boxed.
    VirtualResolutionWidget view;
    auto* pContent = new QWidget;
    view.setContentWidget(pContent);
    view.slotSetWidth(1280);
    QCOMPARE(view.virtualSize(), QSize(1280, -1));
    view.slotSetHeight(800);
    QCOMPARE(pContent->size(), QSize(1280, 800));
    view.resize(640, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QTransform transform = view.findChild<QGraphicsView*>()->transform();
    QVERIFY2(qAbs(transform.m11() - 0.5) < 0.02, qPrintable(QString::number(transform.m11())));
    QVERIFY2(qAbs(transform.m22() - 0.375) < 0.02, qPrintable(QString::number(transform.m22())));
    QCOMPARE(view.findChild<QGraphicsView*>()->renderHints() & QPainter::SmoothPixmapTransform,
             QPainter::SmoothPixmapTransform);
    QCOMPARE(view.palette().brush(QPalette::Active, view.backgroundRole()).color(), QColor(Qt::green));
}

void TestVirtualResolution::switchedOnViewShowsContentWhole_data()
{
    QTest::addColumn<QSize>("applied");
    QTest::addColumn<QSize>("window");
    QTest::newRow("switched on") << QSize() << QSize();
    QTest::newRow("switched on, window made wider") << QSize() << QSize(900, 300);
    QTest::newRow("switched on, window made taller") << QSize() << QSize(300, 700);
    QTest::newRow("size applied, window resized") << QSize(1280, 800) << QSize(900, 300);
}

void TestVirtualResolution::switchedOnViewShowsContentWhole()
{
    // Before any size is given the stage has the widget's own size; the view
    // shows it whole all the same, as it does a size once applied.
    QFETCH(QSize, applied);
    QFETCH(QSize, window);
    HybridWidget hybrid;
    auto* pContent = new QWidget;
    pContent->setAutoFillBackground(true);
    QPalette pal = pContent->palette();
    pal.setColor(QPalette::Window, Qt::red);
    pContent->setPalette(pal);
    hybrid.addContentWidget(pContent);
    hybrid.resize(480, 320);
    hybrid.show();
    hybrid.slotSetVirtualResolutionMode(true);
    if (applied.isValid())
        hybrid.applyVirtualResolution(applied);
    VirtualResolutionWidget* pWindow = hybrid.virtualView();
    QVERIFY(QTest::qWaitForWindowExposed(pWindow));
    if (window.isValid())
        pWindow->resize(window);
    auto* pView = pWindow->findChild<QGraphicsView*>();
    QTRY_COMPARE(contentFillsView(pView, hybrid.stageWidget()->graphicsProxyWidget(), Qt::red), QString());
    hybrid.slotSetVirtualResolutionMode(false);
}

void TestVirtualResolution::fullScreenGoesToTheShownWindow()
{
    HybridWidget hybrid;
    hybrid.resize(300, 200);
    hybrid.show();
    hybrid.slotShowFullScreenMode(true);
    QVERIFY(hybrid.isFullScreen());
    hybrid.slotShowFullScreenMode(false);
    QVERIFY(!hybrid.isFullScreen());
    hybrid.slotSetVirtualResolutionMode(true);
    hybrid.slotShowFullScreenMode(true);
    QVERIFY(hybrid.virtualView()->isFullScreen());
    hybrid.slotShowFullScreenMode(false);
    QVERIFY(!hybrid.virtualView()->isFullScreen());
    hybrid.slotSetVirtualResolutionMode(false);
}

void TestVirtualResolution::destroyedInVirtualMode()
{
    // In the virtual mode the stage holds the widget; destroying the widget
    // then must not delete it a second time with the stage.
    QPointer<QWidget> pContent;
    QPointer<VirtualResolutionWidget> pView;
    {
        HybridWidget hybrid;
        pContent = new QLabel(QStringLiteral("content"));
        hybrid.addContentWidget(pContent);
        pView = hybrid.virtualView();
        hybrid.slotShowSettingsDialog();
        hybrid.slotSetVirtualResolutionMode(true);
    }
    QVERIFY(!pContent);
    QVERIFY(!pView);
    for (QWidget* pWidget : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<VirtualResolutionDialog*>(pWidget));
}

void TestVirtualResolution::processWideView()
{
    VirtualResolutionWidget* pView = VirtualResolutionWidget::instance();
    QVERIFY(pView);
    QCOMPARE(VirtualResolutionWidget::instance(), pView);
    QVERIFY(!pView->parentWidget());
}

QMTEST_APP_MAIN(TestVirtualResolution)
#include "tst_virtualresolution.moc"
