// The frameless window: its own exec, title bar buttons and order, the
// dragging title and the widget floating with it.
#include "TopWidget.h"
#include "TitleLabel.h"
#include "IconLabel.h"

#include "QMTest.h"

#include <QAction>
#include <QBoxLayout>
#include <QMouseEvent>
#include <QMovie>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using QMWidgets::TitleLabel;
using QMWidgets::TopWidget;

namespace {

QPushButton* titleButton(TopWidget& window, const char* szName)
{
    return window.findChild<QPushButton*>(QString::fromLatin1(szName));
}

// The title row's items from left to right: button object names, "icon"
// and "|" for a stretch.
QStringList titleRow(TopWidget& window)
{
    QStringList items;
    QLayout* pRow = window.findChild<TitleLabel*>()->layout();
    for (int i = 0; i < pRow->count(); ++i) {
        QLayoutItem* pItem = pRow->itemAt(i);
        if (qobject_cast<QMWidgets::IconLabel*>(pItem->widget()))
            items << "icon";
        else if (pItem->widget())
            items << pItem->widget()->objectName();
        else
            items << "|";
    }
    return items;
}

} // namespace

class TestTopWidget : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void windowAndTitle();
    void buttonOrder_data();
    void buttonOrder();
    void contentLayouts();
    void execEnds_data();
    void execEnds();
    void secondExecKeepsOneEscapeAction();
    void execSurvivesDeletion();
    void closingEndsExec();
    void rejectOutsideExecHides();
    void titleDragsTheWindow_data();
    void titleDragsTheWindow();
    void attachedWidgetFollowsAndIsOwned();
    void iconAndTitlePictures();

private:
    QTemporaryDir m_resources;
};

void TestTopWidget::windowAndTitle()
{
    TopWidget window(false);
    QCOMPARE(window.windowType(), Qt::Window);
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(!window.isVisible());
    auto* pTitle = window.findChild<TitleLabel*>("TopWidgetTitle");
    QVERIFY(pTitle);
    QCOMPARE(pTitle->toolTip(), QString("Title"));
    QCOMPARE(pTitle->height(), 28);
    QCOMPARE(pTitle->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(pTitle->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(pTitle->layout()->contentsMargins(), QMargins(1, 1, 1, 1));
    window.setTitle("Hello");
    QCOMPARE(pTitle->text(), QString("Hello"));
    QCOMPARE(window.windowTitle(), QString("Hello"));
    window.setTitleHeight(40);
    QCOMPARE(pTitle->height(), 40);

    const QStringList tips{"Close", "Maximize", "Minimize"};
    const char* const names[] = {"TopWidgetClose", "TopWidgetMaximize", "TopWidgetMinimize"};
    for (int i = 0; i < 3; ++i) {
        QPushButton* pButton = titleButton(window, names[i]);
        QCOMPARE(pButton->toolTip(), tips.at(i));
        QCOMPARE(pButton->size(), QSize(24, 24));
        QVERIFY(pButton->isFlat());
        QVERIFY(pButton->text().isEmpty());
    }
    window.show();
    window.hideMaximizeButton();
    QVERIFY(!titleButton(window, "TopWidgetMaximize")->isVisible());
    window.showMaximizeButton();
    QVERIFY(titleButton(window, "TopWidgetMaximize")->isVisible());
    window.hideCloseButton();
    window.hideMinimizeButton();
    QVERIFY(!titleButton(window, "TopWidgetClose")->isVisible());
    QVERIFY(!titleButton(window, "TopWidgetMinimize")->isVisible());
    window.showCloseButton();
    window.showMinimizeButton();
    QVERIFY(titleButton(window, "TopWidgetClose")->isVisible());

    titleButton(window, "TopWidgetMaximize")->click();
    QVERIFY(window.isMaximized());
    titleButton(window, "TopWidgetMinimize")->click();
    QVERIFY(window.isMinimized());
}

void TestTopWidget::buttonOrder_data()
{
    QTest::addColumn<bool>("bStoreBuild");
    QTest::addColumn<QStringList>("slRow");

    QTest::newRow("store build: buttons left, icon centred")
        << true << QStringList{"TopWidgetClose", "TopWidgetMaximize", "TopWidgetMinimize", "|", "icon", "|"};
    QTest::newRow("outside the store: icon left, buttons right")
        << false << QStringList{"icon", "|", "TopWidgetMinimize", "TopWidgetMaximize", "TopWidgetClose"};
}

void TestTopWidget::buttonOrder()
{
    QFETCH(bool, bStoreBuild);
    QFETCH(QStringList, slRow);

    auto* pApp = static_cast<QMTest::TestApp*>(QMWidgets::App::instance());
    pApp->setIndependentBuild(!bStoreBuild);
    pApp->setResourcesPath(m_resources.path() + "/");  // no "independent" marker there
    QCOMPARE(QMWidgets::App::isStoreBuild(), bStoreBuild);
    TopWidget window(false);
    pApp->setIndependentBuild(true);
    QCOMPARE(titleRow(window), slRow);
}

void TestTopWidget::contentLayouts()
{
    TopWidget plain(false);
    QCOMPARE(plain.layout(), plain.contentLayout());
    QCOMPARE(plain.contentLayout()->contentsMargins(), QMargins(1, 1, 1, 1));
    QCOMPARE(plain.contentLayout()->spacing(), 1);
    QCOMPARE(plain.contentLayout()->itemAt(0)->widget(), plain.findChild<TitleLabel*>());
    QVERIFY(!plain.findChild<QWidget*>("TopOverWidget"));

    TopWidget overlay(true);
    auto* pOver = overlay.findChild<QWidget*>("TopOverWidget");
    QVERIFY(pOver);
    QCOMPARE(pOver->layout(), overlay.contentLayout());
    QCOMPARE(overlay.contentLayout()->contentsMargins(), QMargins(0, 0, 0, 0));
    QCOMPARE(overlay.layout()->contentsMargins(), QMargins(0, 0, 0, 0));
    QCOMPARE(overlay.layout()->itemAt(0)->widget(), overlay.findChild<TitleLabel*>());
    QCOMPARE(overlay.layout()->itemAt(1)->widget(), pOver);
}

void TestTopWidget::execEnds_data()
{
    QTest::addColumn<QString>("strHow");
    QTest::addColumn<int>("nResult");

    QTest::newRow("accept") << "accept" << 1;
    QTest::newRow("reject") << "reject" << 0;
    QTest::newRow("close button") << "close button" << 0;
    QTest::newRow("Escape") << "escape" << 0;
}

void TestTopWidget::execEnds()
{
    QFETCH(QString, strHow);
    QFETCH(int, nResult);

    TopWidget window(false);
    window.resize(200, 100);
    bool bWasModal = false;
    QTimer::singleShot(0, &window, [&] {
        bWasModal = window.isVisible() && window.isModal();
        if (strHow == "accept") {
            window.accept();
        } else if (strHow == "reject") {
            window.reject();
        } else if (strHow == "close button") {
            titleButton(window, "TopWidgetClose")->click();
        } else {
            QApplication::setActiveWindow(&window);
            QTest::keyClick(&window, Qt::Key_Escape);
        }
    });
    QCOMPARE(window.exec(), nResult);
    QVERIFY(bWasModal);
    QVERIFY(!window.isVisible());

    // Shown plainly afterwards, it leaves the other windows usable.
    window.show();
    QVERIFY(!window.isModal());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TestTopWidget::secondExecKeepsOneEscapeAction()
{
    TopWidget window(false);
    QTimer::singleShot(0, &window, [&] { window.accept(); });
    window.exec();
    QTimer::singleShot(0, &window, [&] { window.accept(); });
    window.exec();
    int nEscape = 0;
    for (QAction* pAction : window.actions())
        nEscape += pAction->shortcut() == QKeySequence(Qt::Key_Escape) ? 1 : 0;
    QCOMPARE(nEscape, 1);
}

void TestTopWidget::execSurvivesDeletion()
{
    // The window goes while its exec runs (its parent is destroyed): exec
    // returns 0 instead of running a loop that is gone.
    auto* pParent = new QWidget;
    auto* pWindow = new TopWidget(false, pParent);
    QPointer<TopWidget> pGuard(pWindow);
    QTimer::singleShot(0, pParent, [pParent] { delete pParent; });
    QCOMPARE(pWindow->exec(), 0);
    QVERIFY(pGuard.isNull());
}

void TestTopWidget::closingEndsExec()
{
    TopWidget window(false);
    QTimer::singleShot(0, &window, [&] { window.close(); });
    QCOMPARE(window.exec(), 0);
    QVERIFY(!window.isVisible());
}

void TestTopWidget::rejectOutsideExecHides()
{
    TopWidget window(false);
    window.show();
    window.accept();
    QVERIFY(window.isVisible());
    window.reject();
    QVERIFY(!window.isVisible());
}

void TestTopWidget::titleDragsTheWindow_data()
{
    QTest::addColumn<bool>("bOverlay");
    QTest::addColumn<QPoint>("jump");  // the title's place in the window

    QTest::newRow("margin 1: the first move jumps 1 pixel") << false << QPoint(1, 1);
    QTest::newRow("overlay: no jump") << true << QPoint(0, 0);
}

void TestTopWidget::titleDragsTheWindow()
{
    QFETCH(bool, bOverlay);
    QFETCH(QPoint, jump);

    TopWidget window(bOverlay);
    window.contentLayout()->addWidget(new QWidget);  // content fills the rest
    window.resize(300, 200);
    window.move(100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* pTitle = window.findChild<TitleLabel*>();
    QCOMPARE(pTitle->pos(), jump);

    const QPoint press(40, 10);
    QTest::mousePress(pTitle, Qt::LeftButton, Qt::NoModifier, press);
    const QPoint screenBefore = pTitle->mapToGlobal(press);
    const QPoint screenAfter = screenBefore + QPoint(25, 15);
    QMouseEvent move(QEvent::MouseMove, pTitle->mapFromGlobal(screenAfter), screenAfter, Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pTitle, &move);
    // The corner lands on the cursor minus the press point in label coordinates.
    QCOMPARE(window.pos(), screenAfter - press);
    QCOMPARE(window.pos(), QPoint(100, 100) + QPoint(25, 15) + jump);
    QTest::mouseRelease(pTitle, Qt::LeftButton, Qt::NoModifier, press);
}

void TestTopWidget::attachedWidgetFollowsAndIsOwned()
{
    TopWidget window(true);
    window.resize(300, 200);
    window.move(50, 60);
    QPointer<QWidget> pFirst = new QWidget;
    window.setTitleWidget(pFirst, QPoint(5, 3));
    QCOMPARE(pFirst->windowType(), Qt::ToolTip);
    QPointer<QWidget> pSecond = new QWidget;
    window.setTitleWidget(pSecond, QPoint(7, 2));
    QVERIFY(pFirst.isNull());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(pSecond->isVisible());
    auto* pTitle = window.findChild<TitleLabel*>();
    QTRY_COMPARE(pSecond->pos(), pTitle->mapToGlobal(QPoint(7, 2)));

    QTest::mousePress(pTitle, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    const QPoint screen = pTitle->mapToGlobal(QPoint(20, 10)) + QPoint(30, 40);
    QMouseEvent move(QEvent::MouseMove, pTitle->mapFromGlobal(screen), screen, Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(pTitle, &move);
    QCOMPARE(pSecond->pos(), pTitle->mapToGlobal(QPoint(7, 2)));
    QTest::mouseRelease(pTitle, Qt::LeftButton);

    window.hide();
    QVERIFY(!pSecond->isVisible());
    window.show();
    QVERIFY(pSecond->isVisible());

    {
        TopWidget other(false);
        other.setTitleWidget(pSecond, QPoint());
    }
    QVERIFY(pSecond.isNull());  // deleted with the title bar that held it last
}

void TestTopWidget::iconAndTitlePictures()
{
    TopWidget window(false);
    auto* pIcon = window.findChild<QMWidgets::IconLabel*>();
    QCOMPARE(pIcon->size(), QSize(24, 24));
    window.show();
    QVERIFY(!pIcon->isVisible());
    QPixmap wide(60, 30);
    wide.fill(Qt::red);
    window.setIcon(wide);
    QVERIFY(pIcon->isVisible());
    QCOMPARE(pIcon->pixmap(Qt::ReturnByValue).size(), QSize(24, 24));

    // A picture with a transparent half floats above the title in its own shape.
    QPixmap half(20, 10);
    half.fill(Qt::transparent);
    {
        QPainter painter(&half);
        painter.fillRect(0, 0, 10, 10, Qt::blue);
    }
    window.setTitlePixmap(half, QPoint(4, 4));
    QLabel* pFloating = nullptr;
    for (QWidget* pTop : QApplication::topLevelWidgets()) {
        auto* pLabel = qobject_cast<QLabel*>(pTop);
        if (pLabel && pTop->windowType() == Qt::ToolTip && pLabel->pixmap(Qt::ReturnByValue).size() == QSize(20, 10))
            pFloating = pLabel;
    }
    QVERIFY(pFloating);
    QCOMPARE(pFloating->size(), QSize(20, 10));
    QVERIFY(!pFloating->autoFillBackground());
    QVERIFY(pFloating->mask().contains(QPoint(5, 5)));
    QVERIFY(!pFloating->mask().contains(QPoint(15, 5)));

    QMovie movie(QFINDTESTDATA("data/two_frames.gif"));
    QVERIFY(movie.isValid());
    window.setTitleMovie(&movie, QPoint(2, 2));
    QCOMPARE(movie.state(), QMovie::Running);
    QPointer<QLabel> pMovieLabel;
    for (QWidget* pTop : QApplication::topLevelWidgets()) {
        auto* pLabel = qobject_cast<QLabel*>(pTop);
        if (pLabel && pLabel->movie() == &movie)
            pMovieLabel = pLabel;
    }
    QVERIFY(pMovieLabel);
    QCOMPARE(pMovieLabel->size(), QSize(8, 6));
    movie.stop();
}

QMTEST_APP_MAIN(TestTopWidget)
#include "tst_topwidget.moc"
