// The screenshot guard: content hidden while the application is not active
// or after a key, brought back exactly as it was.
#include "ChildWidgetsVisible.h"
#include "NoScreeShotFilter.h"
#include "NoScreenShotWidget.h"

#include "QMTest.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QTabWidget>

using QMWidgets::NoScreenShotWidget;

namespace {

// A guard holding a line edit and a two-page tab widget (page 2 not
// current, so hidden by the tab widget itself), shown as a window.
struct Guarded
{
    NoScreenShotWidget guard;
    QLineEdit* pEdit = new QLineEdit;
    QTabWidget* pTabs = new QTabWidget;
    QWidget* pPage1 = new QLineEdit;
    QWidget* pPage2 = new QLineEdit;
    QLineEdit* pHiddenOnPurpose = new QLineEdit;

    Guarded()
    {
        pTabs->addTab(pPage1, "one");
        pTabs->addTab(pPage2, "two");
        auto* pLayout = new QVBoxLayout(&guard);
        pLayout->addWidget(pEdit);
        pLayout->addWidget(pTabs);
        pLayout->addWidget(pHiddenOnPurpose);
        pHiddenOnPurpose->hide();
        guard.resize(300, 200);
        guard.show();
        QApplication::setActiveWindow(&guard);
        pEdit->setFocus();
    }

    bool contentShown() const { return pEdit->isVisible() && pTabs->isVisible() && pPage1->isVisible(); }
    bool contentHidden() const { return !pEdit->isVisible() && !pTabs->isVisible() && !pPage1->isVisible(); }
};

} // namespace

class TestScreenGuard : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void leavingTheApplicationHidesTheContent();
    void comingBackRestoresExactlyWhatWasShown();
    void keyFilterSwallowsTheKeyAndHides();
    void filtersOnlyForExistingWidgets();
    void childWidgetsVisibleWithoutAGuard();
};

void TestScreenGuard::text_data()
{
    QTest::addColumn<QString>("strGiven");
    QTest::addColumn<QString>("strShown");

    QTest::newRow("empty: a large No!") << QString() << "<H1><CENTER>No!</CENTER></H1>";
    QTest::newRow("own text") << "Private" << "Private";
}

void TestScreenGuard::text()
{
    QFETCH(QString, strGiven);
    QFETCH(QString, strShown);

    NoScreenShotWidget guard(strGiven);
    QCOMPARE(guard.text(), strShown);
    if (strGiven.isEmpty()) {
        NoScreenShotWidget plain;
        QCOMPARE(plain.text(), strShown);
    }
}

void TestScreenGuard::leavingTheApplicationHidesTheContent()
{
    Guarded g;
    QVERIFY(g.contentShown());
    QApplication::setActiveWindow(nullptr);
    QVERIFY(g.contentHidden());
    QVERIFY(g.guard.isVisible());  // its "No!" stays on screen
}

void TestScreenGuard::comingBackRestoresExactlyWhatWasShown()
{
    Guarded g;
    QApplication::setActiveWindow(nullptr);
    QVERIFY(g.contentHidden());
    // Every focusable widget is hidden: the window's activation alone must
    // bring the content back.
    QApplication::setActiveWindow(&g.guard);
    QTRY_VERIFY(g.contentShown());
    // Only the current page of the tab widget, and not what was hidden on purpose.
    QVERIFY(!g.pPage2->isVisible());
    QVERIFY(!g.pHiddenOnPurpose->isVisible());
}

void TestScreenGuard::keyFilterSwallowsTheKeyAndHides()
{
    Guarded g;
    g.guard.installKeyFilters();
    QTest::keyClick(g.pEdit, Qt::Key_A);
    QVERIFY(g.pEdit->text().isEmpty());
    QVERIFY(g.contentHidden());
    // Hiding moved the focus away; that is not the user coming back.
    QApplication::processEvents();
    QVERIFY(g.contentHidden());

    // The next focus change while the application is active brings it back.
    QLineEdit outside;
    outside.show();
    QApplication::setActiveWindow(&outside);
    outside.setFocus();
    QTRY_VERIFY(g.contentShown());
    QVERIFY(!g.pPage2->isVisible());
}

void TestScreenGuard::filtersOnlyForExistingWidgets()
{
    Guarded g;
    g.guard.installKeyFilters();
    auto* pLater = new QLineEdit(&g.guard);
    pLater->show();
    QTest::keyClick(pLater, Qt::Key_B);
    QCOMPARE(pLater->text(), QString("b"));
    QVERIFY(g.contentShown());
    QVERIFY(g.guard.findChildren<QMWidgets::NoScreeShotFilter*>().size() > 0);
}

void TestScreenGuard::childWidgetsVisibleWithoutAGuard()
{
    QWidget holder;
    auto* pShown = new QWidget(&holder);
    auto* pHidden = new QWidget(&holder);
    auto* pGrandchild = new QWidget(pShown);
    pHidden->hide();
    holder.show();
    QVERIFY(pGrandchild->isVisible());

    QMWidgets::setChildWidgetsVisible(&holder, true);  // nothing was hidden this way
    QVERIFY(!pHidden->isVisible());
    QMWidgets::setChildWidgetsVisible(&holder, false);
    QVERIFY(!pShown->isVisible());
    QVERIFY(!pGrandchild->isVisible());
    QMWidgets::setChildWidgetsVisible(&holder, true);
    QVERIFY(pShown->isVisible());
    QVERIFY(pGrandchild->isVisible());
    QVERIFY(!pHidden->isVisible());
    QMWidgets::setChildWidgetsVisible(nullptr, false);
}

QMTEST_APP_MAIN(TestScreenGuard)
#include "tst_screenguard.moc"
