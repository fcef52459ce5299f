// The widget kit's windows and dialogs on a small, high-density screen: the
// offscreen screen of 800 x 600 pixels at a scale of 2 is 400 x 300 logical
// pixels.
#include "KitLayoutCases.h"

#include "QMTest.h"

#include <QPushButton>

class TestKitLayoutsSmallScreen : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void smallScreen();
    void atMinimumSize_data();
    void atMinimumSize();
    void inputDialogButtonsStacked();
};

void TestKitLayoutsSmallScreen::smallScreen()
{
    QVERIFY(QMWidgets::App::isSmallScreen());
    QCOMPARE(QMWidgets::App::devicePixelRatio(), 2.0);
}

void TestKitLayoutsSmallScreen::atMinimumSize_data()
{
    KitLayoutCases::addRows();
}

void TestKitLayoutsSmallScreen::atMinimumSize()
{
    QFETCH(QString, strCase);
    const QStringList found = KitLayoutCases::problems(strCase, QFINDTESTDATA("data/two_frames.gif"));
    QVERIFY2(found.isEmpty(), qPrintable(found.join("; ")));
}

void TestKitLayoutsSmallScreen::inputDialogButtonsStacked()
{
    QMWidgets::InputDialog dialog("Name:");
    dialog.show();
    QApplication::processEvents();
    QPushButton* pOk = QMTest::buttonWithText(&dialog, "Ok");
    QPushButton* pCancel = QMTest::buttonWithText(&dialog, "Cancel");
    QCOMPARE(pOk->x(), pCancel->x());
    QVERIFY(pOk->geometry().bottom() < pCancel->y());
}

QMTEST_SMALL_SCREEN_APP_MAIN(TestKitLayoutsSmallScreen)

#include "tst_kit_layouts_smallscreen.moc"
