// The widget kit's windows and dialogs at their minimum size on a normal
// screen: painted, with no overlapping or cut controls.
#include "KitLayoutCases.h"

#include "QMTest.h"

#include <QPushButton>

class TestKitLayouts : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void normalScreen();
    void atMinimumSize_data();
    void atMinimumSize();
    void inputDialogButtonsInARow();
};

void TestKitLayouts::normalScreen()
{
    QVERIFY(!QMWidgets::App::isSmallScreen());
}

void TestKitLayouts::atMinimumSize_data()
{
    KitLayoutCases::addRows();
}

void TestKitLayouts::atMinimumSize()
{
    QFETCH(QString, strCase);
    const QStringList found = KitLayoutCases::problems(strCase, QFINDTESTDATA("data/two_frames.gif"));
    QVERIFY2(found.isEmpty(), qPrintable(found.join("; ")));
}

void TestKitLayouts::inputDialogButtonsInARow()
{
    QMWidgets::InputDialog dialog("Name:");
    dialog.show();
    QApplication::processEvents();
    QCOMPARE(QMTest::buttonWithText(&dialog, "Ok")->y(), QMTest::buttonWithText(&dialog, "Cancel")->y());
}

QMTEST_APP_MAIN(TestKitLayouts)
#include "tst_kit_layouts.moc"
