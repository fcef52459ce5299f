// The check button's two signals, the animated switch and the search field.
#include "AniSwitch.h"
#include "CheckButton.h"
#include "SearchFilter.h"

#include "QMTest.h"

#include <QAction>
#include <QBoxLayout>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

using QMWidgets::AniSwitch;
using QMWidgets::CheckButton;
using QMWidgets::SearchFilter;

namespace {

QPushButton* part(AniSwitch& sw, const char* szName)
{
    return sw.findChild<QPushButton*>(QString::fromLatin1(szName));
}

// Pure white pixels where the hint goes: from its indent of 5 pixels (left
// of it a focused field draws its cursor) to nWidth.
int whitePixels(const QImage& image, int nWidth)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 5; x < nWidth; ++x)
            n += (image.pixel(x, y) & 0xffffff) == 0xffffff ? 1 : 0;
    }
    return n;
}

} // namespace

class TestSwitches : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void checkButtonSignals();
    void switchBeforeSetupIsSafe();
    void setupSizesTheHandle_data();
    void setupSizesTheHandle();
    void secondSetupChangesNothing();
    void areaClickSlides();
    void handleAndIconClicks();
    void settingTheSameStateEmitsNothing();
    void searchClearButtonFollowsTheText();
    void searchEscapeClears();
    void searchEscapeElsewhereIsTheDialogs();
    void searchHint();
};

void TestSwitches::checkButtonSignals()
{
    CheckButton button;
    QVERIFY(button.isCheckable());
    QVERIFY(!button.isChecked());
    QStringList seen;
    connect(&button, &CheckButton::onClicked, [&] { seen << "on"; });
    connect(&button, &CheckButton::offClicked, [&] { seen << "off"; });
    button.click();
    button.setChecked(false);
    button.setChecked(false);  // no change, no signal
    button.setChecked(true);
    QCOMPARE(seen, QStringList({"on", "off", "on"}));
}

void TestSwitches::switchBeforeSetupIsSafe()
{
    AniSwitch sw;
    QVERIFY(sw.findChildren<QWidget*>().isEmpty());
    QSignalSpy spy(&sw, SIGNAL(toggled(bool)));
    QVERIFY(!sw.isOn());
    sw.setOn(true);
    QVERIFY(QMetaObject::invokeMethod(&sw, "slotSetOn"));
    QVERIFY(QMetaObject::invokeMethod(&sw, "slotSetOff"));
    QVERIFY(!sw.isOn());
    QCOMPARE(spy.count(), 0);
}

void TestSwitches::setupSizesTheHandle_data()
{
    QTest::addColumn<bool>("bIcon");
    QTest::addColumn<bool>("bOn");
    QTest::addColumn<QSize>("sizeSwitch");
    QTest::addColumn<QSize>("sizeHandle");
    QTest::addColumn<QPoint>("posHandle");

    QTest::newRow("no icon, on: half as wide, at the right end") << false << true << QSize(200, 40) << QSize(100, 40)
                                                               << QPoint(100, 0);
    QTest::newRow("icon, on") << true << true << QSize(200, 40) << QSize(80, 40) << QPoint(80, 0);
    QTest::newRow("icon, off") << true << false << QSize(200, 40) << QSize(80, 40) << QPoint(0, 0);
    // Each half rounded down on its own: 201 / 2 - 41 / 2 = 100 - 20.
    QTest::newRow("odd sizes") << true << true << QSize(201, 41) << QSize(80, 41) << QPoint(80, 0);
}

void TestSwitches::setupSizesTheHandle()
{
    QFETCH(bool, bIcon);
    QFETCH(bool, bOn);
    QFETCH(QSize, sizeSwitch);
    QFETCH(QSize, sizeHandle);
    QFETCH(QPoint, posHandle);

    AniSwitch sw;
    sw.resize(sizeSwitch);
    sw.setup(bIcon, bOn);
    sw.show();
    QPushButton* pHandle = part(sw, "AniSwitchHandler");
    QVERIFY(pHandle);
    QCOMPARE(pHandle->size(), sizeHandle);
    QVERIFY(pHandle->autoFillBackground());
    QVERIFY(pHandle->isFlat());
    QTRY_COMPARE(pHandle->pos(), posHandle);  // once the machine has started
    QCOMPARE(sw.isOn(), bOn);
    QPushButton* pIcon = part(sw, "AniSwitchIcon");
    QCOMPARE(pIcon->isVisible(), bIcon);
    QCOMPARE(pIcon->size(), QSize(sizeSwitch.height(), sizeSwitch.height()));
    QVERIFY(part(sw, "AniSwitchOnArea") && part(sw, "AniSwitchOffArea"));
}

void TestSwitches::secondSetupChangesNothing()
{
    AniSwitch sw;
    sw.resize(200, 40);
    sw.setup(false, true);
    const int nChildren = sw.findChildren<QObject*>().size();
    sw.resize(300, 60);
    sw.setup(true, false);
    QCOMPARE(sw.findChildren<QObject*>().size(), nChildren);
    sw.show();
    QTRY_VERIFY(sw.isOn());
    QCOMPARE(part(sw, "AniSwitchHandler")->size(), QSize(100, 40));  // sizes not recomputed
}

void TestSwitches::areaClickSlides()
{
    AniSwitch sw;
    sw.resize(200, 40);
    sw.setup(false, false);
    sw.show();
    QApplication::processEvents();  // the machine takes its first state
    QPushButton* pHandle = part(sw, "AniSwitchHandler");
    QCOMPARE(pHandle->pos(), QPoint(0, 0));
    QSignalSpy spy(&sw, SIGNAL(toggled(bool)));

    QElapsedTimer timer;
    timer.start();
    part(sw, "AniSwitchOffArea")->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    QVERIFY(sw.isOn());
    QTRY_VERIFY(pHandle->pos().x() > 0 && pHandle->pos().x() < 100);  // on its way
    QTRY_COMPARE_WITH_TIMEOUT(pHandle->pos(), QPoint(100, 0), 2000);
    QVERIFY(timer.elapsed() >= 380);  // a 400 ms slide
    QCOMPARE(spy.count(), 1);

    part(sw, "AniSwitchOnArea")->click();
    QVERIFY(!sw.isOn());
    QTRY_COMPARE_WITH_TIMEOUT(pHandle->pos(), QPoint(0, 0), 2000);
    QCOMPARE(spy.count(), 2);
}

void TestSwitches::handleAndIconClicks()
{
    AniSwitch sw;
    sw.resize(200, 40);
    sw.setup(true, false);
    sw.show();
    QApplication::processEvents();
    QPushButton* pHandle = part(sw, "AniSwitchHandler");
    QCOMPARE(pHandle->pos(), QPoint(0, 0));
    QSignalSpy spy(&sw, SIGNAL(toggled(bool)));

    pHandle->click();
    QTRY_VERIFY(sw.isOn());
    QTRY_COMPARE_WITH_TIMEOUT(pHandle->pos(), QPoint(80, 0), 2000);
    part(sw, "AniSwitchIcon")->click();
    QVERIFY(!sw.isOn());
    QTRY_COMPARE_WITH_TIMEOUT(pHandle->pos(), QPoint(0, 0), 2000);
    sw.setOn(true);
    QTRY_COMPARE_WITH_TIMEOUT(pHandle->pos(), QPoint(80, 0), 2000);
    QCOMPARE(spy.count(), 3);
}

void TestSwitches::settingTheSameStateEmitsNothing()
{
    AniSwitch sw;
    sw.resize(200, 40);
    sw.setup(false, true);
    sw.show();
    QTRY_VERIFY(sw.isOn());
    QSignalSpy spy(&sw, SIGNAL(toggled(bool)));
    sw.setOn(true);
    QVERIFY(QMetaObject::invokeMethod(&sw, "slotSetOn"));
    QTest::qWait(50);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(part(sw, "AniSwitchHandler")->pos(), QPoint(100, 0));
}

void TestSwitches::searchClearButtonFollowsTheText()
{
    SearchFilter field;  // not shown: the button follows the text all the same
    QCOMPARE(field.objectName(), QString("SearchFilter"));
    QCOMPARE(field.toolTip(), QString("Search Filter"));
    auto* pClear = field.findChild<QPushButton*>("SearchFilterDel");
    QVERIFY(pClear);
    QCOMPARE(pClear->toolTip(), QString("Clear"));
    QCOMPARE(pClear->size(), QSize(16, 16));
    QVERIFY(pClear->isHidden());

    QTest::keyClick(&field, Qt::Key_A);
    QVERIFY(!pClear->isHidden());
    QTest::keyClick(&field, Qt::Key_B);
    QVERIFY(!pClear->isHidden());
    QTest::keyClick(&field, Qt::Key_Backspace);
    QVERIFY(!pClear->isHidden());
    QTest::keyClick(&field, Qt::Key_Backspace);
    QVERIFY(pClear->isHidden());

    field.setText("x");
    pClear->click();
    QVERIFY(field.text().isEmpty());
    QVERIFY(pClear->isHidden());
}

void TestSwitches::searchEscapeClears()
{
    SearchFilter field;
    field.show();
    QApplication::setActiveWindow(&field);
    field.setFocus();
    QTest::keyClicks(&field, "abc");
    QVERIFY(field.findChild<QPushButton*>("SearchFilterDel")->isVisible());
    QTest::keyClick(&field, Qt::Key_Escape);
    QVERIFY(field.text().isEmpty());
    QVERIFY(!field.findChild<QPushButton*>("SearchFilterDel")->isVisible());
    QCOMPARE(field.actions().size(), 1);
    QCOMPARE(field.actions().first()->text(), QString("Close"));
}

void TestSwitches::searchEscapeElsewhereIsTheDialogs()
{
    QDialog dialog;
    auto* pField = new SearchFilter;
    auto* pOther = new QLineEdit;
    auto* pLayout = new QVBoxLayout(&dialog);
    pLayout->addWidget(pField);
    pLayout->addWidget(pOther);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    pField->setText("abc");
    pOther->setFocus();
    QTest::keyClick(pOther, Qt::Key_Escape);
    QCOMPARE(pField->text(), QString("abc"));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TestSwitches::searchHint()
{
    QWidget window;
    auto* pField = new SearchFilter(&window);
    auto* pOther = new QLineEdit(&window);
    pField->setStyleSheet("QLineEdit { background: black; border: none; }");
    pField->setGeometry(0, 0, 200, 30);
    pOther->setGeometry(0, 40, 100, 30);
    window.resize(220, 80);
    window.show();
    QApplication::setActiveWindow(&window);
    pOther->setFocus();
    QVERIFY(whitePixels(pField->grab().toImage(), 170) > 10);  // "Search:" in white

    pField->setFocus();
    QCOMPARE(QApplication::focusWidget(), pField);
    QCOMPARE(whitePixels(pField->grab().toImage(), 170), 0);

    pOther->setFocus();
    pField->setText("x");
    QCOMPARE(whitePixels(pField->grab().toImage(), 170), 0);
}

QMTEST_APP_MAIN(TestSwitches)
#include "tst_switches.moc"
