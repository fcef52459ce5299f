// The reminder scheduler and the application object's dialog slots.
#include "QMTest.h"

#include "App.h"
#include "HelpDialog.h"
#include "HelpViewArea.h"
#include "CssEditor.h"

#include <QButtonGroup>
#include <QPushButton>

#include <climits>

using namespace QMWidgets;

namespace {

App* app()
{
    return App::instance();
}

void stopQuitReminder()
{
    // startReminders() hooks the quit signal; the test program itself must
    // quit without a dialog.
    QObject::disconnect(app(), SIGNAL(aboutToQuit()), app(), SLOT(slotCallRateReminderInternal()));
}

void setOrRemove(const QString& strKey, const QVariant& value)
{
    if (value.isValid())
        app()->setSettingsValue(strKey, value);
    else
        app()->settings()->remove("Zintrop Lite/" + strKey);
}

int countTopLevel(const char* szClassName)
{
    int n = 0;
    for (QWidget* pWidget : QApplication::topLevelWidgets()) {
        if (pWidget->inherits(szClassName))
            ++n;
    }
    return n;
}

const QString kRatePage = "https://apps.zintrop.invalid/rate.php?appname=zintrop lite";

} // namespace

class TestReminders : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void quitCheck_data();
    void quitCheck();
    void quitCheckShowsHiddenMainWidget();
    void startRemindersHooksQuit();
    void requestKind_data();
    void requestKind();
    void mixedKindsPickOneOfThem_data();
    void mixedKindsPickOneOfThem();
    void reminderSlotsWaitForTheDelay();
    void immediateRate_data();
    void immediateRate();
    void introNotScheduledWhenSkipped();
    void introScheduledOnStart();
    void helpDialogMadeOnce();
    void dialogSlots_data();
    void dialogSlots();
    void cssEditorWindows();
};

void TestReminders::quitCheck_data()
{
    QTest::addColumn<QVariant>("autoBefore");
    QTest::addColumn<QVariant>("countBefore");
    QTest::addColumn<int>("nInterval");
    QTest::addColumn<int>("nKind");
    QTest::addColumn<QString>("strAnswer");
    QTest::addColumn<QString>("strDialog");  // empty: no dialog
    QTest::addColumn<QString>("strPage");    // empty: nothing opened
    QTest::addColumn<QVariant>("autoAfter");
    QTest::addColumn<int>("nCountAfter");

    const QVariant unset;
    const QString rate = "QMWidgets::RateAppStoreDialog";
    const QString tell = "QMWidgets::TellReminderDialog";
    const QString join = "QMWidgets::JoinReminderDialog";

    QTest::newRow("first quit, nothing stored") << unset << unset << 2 << 1 << "" << "" << "" << unset << 2;
    QTest::newRow("second quit, rate") << QVariant(true) << QVariant(2) << 2 << 1 << "&Rate It Now" << rate
                                       << kRatePage << QVariant(false) << 3;
    QTest::newRow("second quit, escape") << QVariant(true) << QVariant(2) << 2 << 1 << "escape" << rate << ""
                                         << QVariant(true) << 3;
    QTest::newRow("fourth quit, later") << QVariant(true) << QVariant(4) << 2 << 1 << "&Later" << rate << ""
                                        << QVariant(true) << 5;
    QTest::newRow("fourth quit, never") << QVariant(true) << QVariant(4) << 2 << 1 << "&Don't ask me again" << rate
                                        << "" << QVariant(false) << 5;
    QTest::newRow("odd quit, no dialog") << QVariant(true) << QVariant(3) << 2 << 1 << "" << "" << ""
                                         << QVariant(true) << 4;
    QTest::newRow("switched off, counter stays") << QVariant(false) << QVariant(4) << 2 << 1 << "" << "" << ""
                                                 << QVariant(false) << 4;
    QTest::newRow("counter at its maximum wraps to 1") << QVariant(true) << QVariant(INT_MAX) << 1 << 1 << "&Later"
                                                       << rate << "" << QVariant(true) << 1;
    QTest::newRow("interval 0 counts as 1") << QVariant(true) << QVariant(3) << 0 << 1 << "&Later" << rate << ""
                                            << QVariant(true) << 4;
    QTest::newRow("negative interval counts as 1") << QVariant(true) << QVariant(INT_MIN) << -1 << 1 << "&Later"
                                                   << rate << "" << QVariant(true) << INT_MIN + 1;
    QTest::newRow("tell reminder, close") << QVariant(true) << QVariant(2) << 2 << 2 << "&Close" << tell << ""
                                          << QVariant(true) << 3;
    QTest::newRow("tell reminder, never") << QVariant(true) << QVariant(2) << 2 << 2 << "&Don't ask me again" << tell
                                          << "" << QVariant(false) << 3;
    QTest::newRow("join reminder, escape") << QVariant(true) << QVariant(6) << 3 << 4 << "escape" << join << ""
                                           << QVariant(true) << 7;
    QTest::newRow("join reminder, never") << QVariant(true) << QVariant(6) << 3 << 4 << "&Don't ask me again" << join
                                          << "" << QVariant(false) << 7;
}

void TestReminders::quitCheck()
{
    QFETCH(QVariant, autoBefore);
    QFETCH(QVariant, countBefore);
    QFETCH(int, nInterval);
    QFETCH(int, nKind);
    QFETCH(QString, strAnswer);
    QFETCH(QString, strDialog);
    QFETCH(QString, strPage);
    QFETCH(QVariant, autoAfter);
    QFETCH(int, nCountAfter);

    setOrRemove("AutoReminder", autoBefore);
    setOrRemove("AutoReminderCount", countBefore);
    app()->startReminders(nInterval, nKind);
    stopQuitReminder();
    app()->setReminderInterval(nInterval);

    QMTest::UrlRecorder recorder;
    QMTest::ModalAnswerer answerer(QMTest::ModalAnswerer::clickButtonOrEscape(strAnswer), 2000);
    QVERIFY(QMetaObject::invokeMethod(app(), "slotCallRateReminderInternal"));

    QCOMPARE(answerer.answered(), !strDialog.isEmpty());
    QCOMPARE(answerer.answeredClassName(), strDialog);
    if (strPage.isEmpty()) {
        QCOMPARE(recorder.count(), 0);
    } else {
        QCOMPARE(recorder.count(), 1);
        QCOMPARE(recorder.last(), QUrl(strPage, QUrl::TolerantMode));
    }
    QCOMPARE(app()->settingsValue("AutoReminder"), autoAfter.isValid() ? QVariant(autoAfter.toBool()) : QVariant());
    QCOMPARE(app()->settingsValue("AutoReminderCount").toInt(), nCountAfter);
    // The reminder dialog is gone once the check returns.
    QCOMPARE(countTopLevel("QMWidgets::ReminderStateDialog"), 0);
}

void TestReminders::quitCheckShowsHiddenMainWidget()
{
    QWidget mainWidget;
    app()->setMainWidget(&mainWidget);
    app()->setSettingsValue("AutoReminder", false);
    QVERIFY(!mainWidget.isVisible());
    QVERIFY(QMetaObject::invokeMethod(app(), "slotCallRateReminderInternal"));
    QVERIFY(mainWidget.isVisible());
    app()->setMainWidget(nullptr);
}

void TestReminders::startRemindersHooksQuit()
{
    app()->setSettingsValue("AutoReminderCount", 2);
    app()->startRateReminders(2);
    QMTest::ModalAnswerer answerer(QMTest::ModalAnswerer::reject(), 2000);
    QVERIFY(QMetaObject::invokeMethod(app(), "aboutToQuit"));
    stopQuitReminder();
    QVERIFY(answerer.answered());
    QCOMPARE(app()->settingsValue("AutoReminderCount").toInt(), 3);
}

void TestReminders::requestKind_data()
{
    QTest::addColumn<int>("nKinds");
    QTest::addColumn<bool>("bIndependent");
    QTest::addColumn<QString>("strDialog");

    QTest::newRow("rate") << 1 << true << "QMWidgets::RateAppStoreDialog";
    QTest::newRow("tell") << 2 << true << "QMWidgets::TellReminderDialog";
    QTest::newRow("join") << 4 << true << "QMWidgets::JoinReminderDialog";
    QTest::newRow("request, independent build: tell") << 8 << true << "QMWidgets::TellReminderDialog";
    QTest::newRow("request, store build: rate") << 8 << false << "QMWidgets::RateAppStoreDialog";
    QTest::newRow("none: join") << 0 << true << "QMWidgets::JoinReminderDialog";
}

void TestReminders::requestKind()
{
    QFETCH(int, nKinds);
    QFETCH(bool, bIndependent);
    QFETCH(QString, strDialog);

    static_cast<QMTest::TestApp*>(app())->setIndependentBuild(bIndependent);
    app()->startReminders(1, nKinds);
    stopQuitReminder();
    static_cast<QMTest::TestApp*>(app())->setIndependentBuild(true);

    QMTest::ModalAnswerer answerer(QMTest::ModalAnswerer::reject(), 2000);
    QVERIFY(QMetaObject::invokeMethod(app(), "slotCallRateReminderInternal"));
    QCOMPARE(answerer.answeredClassName(), strDialog);
}

void TestReminders::mixedKindsPickOneOfThem_data()
{
    QTest::addColumn<int>("nKinds");
    QTest::addColumn<QStringList>("slAllowed");

    const QString rate = "QMWidgets::RateAppStoreDialog";
    const QString tell = "QMWidgets::TellReminderDialog";
    const QString join = "QMWidgets::JoinReminderDialog";
    QTest::newRow("rate and tell") << 3 << QStringList{rate, tell};
    QTest::newRow("rate and join") << 5 << QStringList{rate, join};
    QTest::newRow("tell and join") << 6 << QStringList{tell, join};
    QTest::newRow("all three") << 7 << QStringList{rate, tell, join};
}

void TestReminders::mixedKindsPickOneOfThem()
{
    QFETCH(int, nKinds);
    QFETCH(QStringList, slAllowed);

    app()->startReminders(1, nKinds);
    stopQuitReminder();
    QMTest::ModalAnswerer answerer(QMTest::ModalAnswerer::reject(), 2000);
    QVERIFY(QMetaObject::invokeMethod(app(), "slotCallRateReminderInternal"));
    QVERIFY2(slAllowed.contains(answerer.answeredClassName()), qPrintable(answerer.answeredClassName()));
}

void TestReminders::reminderSlotsWaitForTheDelay()
{
    app()->setReminderInterval(1);
    app()->setReminderDelay(50);
    QMTest::ModalAnswerer answerer(QMTest::ModalAnswerer::reject(), 3000);
    QVERIFY(QMetaObject::invokeMethod(app(), "slotCallJoinReminder"));
    QVERIFY(!answerer.answered());
    QTRY_VERIFY(answerer.answered());
    QCOMPARE(answerer.answeredClassName(), QString("QMWidgets::JoinReminderDialog"));
    app()->setReminderDelay(4000);
}

void TestReminders::immediateRate_data()
{
    QTest::addColumn<QVariant>("autoBefore");
    QTest::addColumn<QString>("strAnswer");
    QTest::addColumn<QString>("strPage");
    QTest::addColumn<QVariant>("autoAfter");

    QTest::newRow("rate") << QVariant() << "&Rate It Now" << kRatePage << QVariant(false);
    QTest::newRow("rate while switched off") << QVariant(false) << "&Rate It Now" << kRatePage << QVariant(false);
    QTest::newRow("later") << QVariant(true) << "&Later" << "" << QVariant(true);
    QTest::newRow("never") << QVariant(true) << "&Don't ask me again" << "" << QVariant(false);
    QTest::newRow("escape") << QVariant() << "escape" << "" << QVariant();
}

void TestReminders::immediateRate()
{
    QFETCH(QVariant, autoBefore);
    QFETCH(QString, strAnswer);
    QFETCH(QString, strPage);
    QFETCH(QVariant, autoAfter);

    setOrRemove("AutoReminder", autoBefore);
    app()->setSettingsValue("AutoReminderCount", 7);
    QMTest::UrlRecorder recorder;
    QMTest::ModalAnswerer answerer(QMTest::ModalAnswerer::clickButtonOrEscape(strAnswer), 2000);
    QVERIFY(QMetaObject::invokeMethod(app(), "slotImmediatelyRate"));
    QCOMPARE(answerer.answeredClassName(), QString("QMWidgets::RateAppStoreDialog"));
    QCOMPARE(recorder.count(), strPage.isEmpty() ? 0 : 1);
    if (!strPage.isEmpty())
        QCOMPARE(recorder.last(), QUrl(strPage, QUrl::TolerantMode));
    QCOMPARE(app()->settingsValue("AutoReminder"), autoAfter);
    QCOMPARE(app()->settingsValue("AutoReminderCount").toInt(), 7);
}

void TestReminders::introNotScheduledWhenSkipped()
{
    app()->setSettingsValue("NeverShowItAgain", true);
    QVERIFY(!HelpDialog::isIntroEnabled());
    app()->showIntroOnStart();
    QTest::qWait(700);
    QCOMPARE(countTopLevel("QMWidgets::HelpDialog"), 0);
}

void TestReminders::introScheduledOnStart()
{
    QVERIFY(HelpDialog::isIntroEnabled());
    app()->setIntroSlides({"a.jpg", "b.jpg", "c.jpg"});
    app()->setIntroVideoLink("https://youtu.be/abc");
    app()->showIntroOnStart();
    QCOMPARE(countTopLevel("QMWidgets::HelpDialog"), 0);
    QTRY_COMPARE(countTopLevel("QMWidgets::HelpDialog"), 1);
    // Found among the top-level widgets: on a busy machine the dialog can be
    // shown before the window system makes it the active window.
    HelpDialog* pDialog = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<HelpDialog*>(w))
            pDialog = d;
    QVERIFY(pDialog);
    QVERIFY(pDialog->isVisible());
    QCOMPARE(pDialog->viewArea()->buttonGroup()->buttons().size(), 3);
    QVERIFY(!pDialog->findChild<QPushButton*>("VideoButton")->isHidden());
}

void TestReminders::helpDialogMadeOnce()
{
    // The dialog of the previous test is kept; later slides are not added.
    app()->setIntroSlides({"x.jpg"});
    QVERIFY(QMetaObject::invokeMethod(app(), "slotHelp"));
    QVERIFY(QMetaObject::invokeMethod(app(), "slotHelp"));
    QCOMPARE(countTopLevel("QMWidgets::HelpDialog"), 1);
    HelpDialog* pDialog = nullptr;
    for (QWidget* pWidget : QApplication::topLevelWidgets()) {
        if (auto* p = qobject_cast<HelpDialog*>(pWidget))
            pDialog = p;
    }
    QVERIFY(pDialog && pDialog->isVisible());
    QCOMPARE(pDialog->viewArea()->buttonGroup()->buttons().size(), 3);
    pDialog->hide();
}

void TestReminders::dialogSlots_data()
{
    QTest::addColumn<QString>("strSlot");
    QTest::addColumn<QString>("strDialog");
    QTest::addColumn<bool>("bParentIsMainWidget");

    QTest::newRow("share") << "slotShareApp" << "QMWidgets::TellDialog" << false;
    QTest::newRow("join") << "slotJoin" << "QMWidgets::JoinDialog" << false;
    QTest::newRow("about") << "slotAbout" << "QMWidgets::AboutDialog" << true;
}

void TestReminders::dialogSlots()
{
    QFETCH(QString, strSlot);
    QFETCH(QString, strDialog);
    QFETCH(bool, bParentIsMainWidget);

    QWidget mainWidget;
    app()->setMainWidget(&mainWidget);
    QWidget* pParent = nullptr;
    QMTest::ModalAnswerer answerer([&pParent](QWidget* pWidget) {
        pParent = pWidget->parentWidget();
        static_cast<QDialog*>(pWidget)->reject();
    }, 2000);
    QVERIFY(QMetaObject::invokeMethod(app(), qPrintable(strSlot)));
    QCOMPARE(answerer.answeredClassName(), strDialog);
    if (bParentIsMainWidget)
        QCOMPARE(pParent, &mainWidget);
    // Destroyed when the slot returns.
    QCOMPARE(mainWidget.findChildren<QDialog*>().size(), 0);
    QCOMPARE(countTopLevel(qPrintable(strDialog)), 0);
    app()->setMainWidget(nullptr);
}

void TestReminders::cssEditorWindows()
{
    QVERIFY(QMetaObject::invokeMethod(app(), "slotShowCssEditor"));
    QVERIFY(QMetaObject::invokeMethod(app(), "slotShowCssEditor"));
    QList<CssEditor*> editors;
    for (QWidget* pWidget : QApplication::topLevelWidgets()) {
        if (auto* p = qobject_cast<CssEditor*>(pWidget))
            editors << p;
    }
    QCOMPARE(editors.size(), 2);
    for (CssEditor* pEditor : editors) {
        QVERIFY(pEditor->isVisible());
        QVERIFY(!pEditor->isModal());
        pEditor->close();
    }
    QTRY_COMPARE(countTopLevel("QMWidgets::CssEditor"), 0);
}

QMTEST_APP_MAIN(TestReminders)
#include "tst_reminders.moc"
