// The application menu, its button and the top bar's buttons reach the
// application object through signature text. A recording application object
// redeclares every slot they name, so each connection lands here instead of
// opening a dialog or a page, and the test sees which slot a click reached.
#include "AppButton.h"
#include "AppMenu.h"
#include "PromoMainPage.h"
#include "PromoMenuBar.h"

#include "QMTest.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>

using namespace QMWidgets;

namespace {

class RecordingApp : public QMTest::TestApp
{
    Q_OBJECT

public:
    using QMTest::TestApp::TestApp;

    QStringList calls;

public slots:
    void slotImmediatelyRate() { calls << QStringLiteral("slotImmediatelyRate()"); }
    void slotRateApp() { calls << QStringLiteral("slotRateApp()"); }
    void slotHelp() { calls << QStringLiteral("slotHelp()"); }
    void slotShareApp() { calls << QStringLiteral("slotShareApp()"); }
    void slotJoin() { calls << QStringLiteral("slotJoin()"); }
    void slotContactUs() { calls << QStringLiteral("slotContactUs()"); }
    void slotSupportPage() { calls << QStringLiteral("slotSupportPage()"); }
    void slotShowPrivacyPolicy() { calls << QStringLiteral("slotShowPrivacyPolicy()"); }
    void slotAbout() { calls << QStringLiteral("slotAbout()"); }
    void slotCheckUpdate() override { calls << QStringLiteral("slotCheckUpdate()"); }
    void slotShowMoreApps() override { calls << QStringLiteral("slotShowMoreApps()"); }
    void quit() { calls << QStringLiteral("quit()"); }
};

RecordingApp* recordingApp()
{
    return static_cast<RecordingApp*>(QCoreApplication::instance());
}

// Visible entries in menu order; a separator shows as "-".
QStringList visibleEntries(const QMenu* pMenu)
{
    QStringList entries;
    for (const QAction* pAction : pMenu->actions()) {
        if (pAction->isVisible())
            entries << (pAction->isSeparator() ? QStringLiteral("-") : pAction->text());
    }
    return entries;
}

AppMenu* menuOf(AppButton& button)
{
    return qobject_cast<AppMenu*>(button.menu());
}

}  // namespace

class TestAppMenu : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void init();
    void signaturesResolveOnApp_data();
    void signaturesResolveOnApp();
    void entriesFollowBuildAndPolicy_data();
    void entriesFollowBuildAndPolicy();
    void menuEntryCallsSlot_data();
    void menuEntryCallsSlot();
    void entriesCarryIcons();
    void quitOnlySignals();
    void hideHidesOnlyItsEntry_data();
    void hideHidesOnlyItsEntry();
    void barButtonCallsSlot_data();
    void barButtonCallsSlot();
    void moreAppsEntryCallsSlot();
    void barQuit_data();
    void barQuit();
};

void TestAppMenu::init()
{
    QMTest::clearSettings();
    recordingApp()->calls.clear();
    recordingApp()->setIndependentBuild(true);
    recordingApp()->setPrivacyPolicyUrl(QStringLiteral("https://example.invalid/privacy"));
}

void TestAppMenu::signaturesResolveOnApp_data()
{
    QTest::addColumn<QString>("signature");
    const char* const signatures[] = {
        "slotImmediatelyRate()", "slotRateApp()", "slotHelp()", "slotShareApp()", "slotJoin()",
        "slotShowMoreApps()", "slotContactUs()", "slotSupportPage()", "slotCheckUpdate()",
        "slotShowPrivacyPolicy()", "slotAbout()", "quit()",
    };
    for (const char* szSignature : signatures)
        QTest::newRow(szSignature) << QString::fromLatin1(szSignature);
}

// The recording application object must not hide a name the framework lacks:
// every slot that the menus connect to exists on the framework's own class.
void TestAppMenu::signaturesResolveOnApp()
{
    QFETCH(QString, signature);
    const QByteArray normalized = QMetaObject::normalizedSignature(signature.toLatin1().constData());
    const int nIndex = App::staticMetaObject.indexOfMethod(normalized.constData());
    QVERIFY2(nIndex >= 0, normalized.constData());
    QCOMPARE(App::staticMetaObject.method(nIndex).methodType(), QMetaMethod::Slot);
}

void TestAppMenu::entriesFollowBuildAndPolicy_data()
{
    QTest::addColumn<bool>("independent");
    QTest::addColumn<QString>("privacyUrl");
    QTest::addColumn<QStringList>("expected");

    const QStringList head = {"Rate this App", "Intro", "Share", "Join Us", "More Apps",
                              "Contact Us", "Support Page"};
    const QStringList tail = {"About", "-", "Quit"};
    const QString url = QStringLiteral("https://example.invalid/privacy");
    QTest::newRow("independent, policy") << true << url
                                         << head + QStringList{"Check Updates", "Privacy Policy"} + tail;
    QTest::newRow("independent, no policy") << true << QString() << head + QStringList{"Check Updates"} + tail;
    QTest::newRow("store, policy") << false << url << head + QStringList{"Privacy Policy"} + tail;
    QTest::newRow("store, no policy") << false << QString() << head + tail;
}

void TestAppMenu::entriesFollowBuildAndPolicy()
{
    QFETCH(bool, independent);
    QFETCH(QString, privacyUrl);
    QFETCH(QStringList, expected);

    recordingApp()->setIndependentBuild(independent);
    recordingApp()->setPrivacyPolicyUrl(privacyUrl);
    AppMenu menu;
    QCOMPARE(visibleEntries(&menu), expected);

    // Decided at construction: a policy set later adds nothing.
    recordingApp()->setPrivacyPolicyUrl(QStringLiteral("https://example.invalid/later"));
    QCOMPARE(visibleEntries(&menu), expected);
}

void TestAppMenu::menuEntryCallsSlot_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("slot");
    QTest::newRow("rate") << "Rate this App" << "slotImmediatelyRate()";
    QTest::newRow("intro") << "Intro" << "slotHelp()";
    QTest::newRow("share") << "Share" << "slotShareApp()";
    QTest::newRow("join") << "Join Us" << "slotJoin()";
    QTest::newRow("more apps") << "More Apps" << "slotShowMoreApps()";
    QTest::newRow("contact") << "Contact Us" << "slotContactUs()";
    QTest::newRow("support") << "Support Page" << "slotSupportPage()";
    QTest::newRow("updates") << "Check Updates" << "slotCheckUpdate()";
    QTest::newRow("privacy") << "Privacy Policy" << "slotShowPrivacyPolicy()";
    QTest::newRow("about") << "About" << "slotAbout()";
}

void TestAppMenu::menuEntryCallsSlot()
{
    QFETCH(QString, text);
    QFETCH(QString, slot);

    AppButton button;
    QAction* pAction = QMTest::actionWithText(menuOf(button), text);
    QVERIFY(pAction);
    QSignalSpy quitSpy(&button, SIGNAL(quitPressed()));
    pAction->trigger();
    QCOMPARE(recordingApp()->calls, QStringList{slot});
    QCOMPARE(quitSpy.count(), 0);
}

void TestAppMenu::entriesCarryIcons()
{
    AppMenu menu;
    for (const char* szText : {"Rate this App", "Intro", "Share", "Join Us", "More Apps", "Contact Us",
                               "Support Page"}) {
        QAction* pAction = QMTest::actionWithText(&menu, QLatin1String(szText));
        QVERIFY2(pAction && !pAction->icon().isNull(), szText);
    }
    QVERIFY(QMTest::actionWithText(&menu, QStringLiteral("Check Updates"))->icon().isNull());
    QVERIFY(QMTest::actionWithText(&menu, QStringLiteral("Quit"))->icon().isNull());
}

void TestAppMenu::quitOnlySignals()
{
    AppButton button;
    AppMenu* pMenu = menuOf(button);
    QSignalSpy menuSpy(pMenu, SIGNAL(quitPressed()));
    QSignalSpy buttonSpy(&button, SIGNAL(quitPressed()));
    QMTest::actionWithText(pMenu, QStringLiteral("Quit"))->trigger();
    QCOMPARE(menuSpy.count(), 1);
    QCOMPARE(buttonSpy.count(), 1);
    QVERIFY(recordingApp()->calls.isEmpty());
}

void TestAppMenu::hideHidesOnlyItsEntry_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("hidden");
    QTest::newRow("support page") << 0 << "Support Page";
    QTest::newRow("rate") << 1 << "Rate this App";
    QTest::newRow("more apps") << 2 << "More Apps";
    QTest::newRow("share") << 3 << "Share";
    QTest::newRow("join") << 4 << "Join Us";
    QTest::newRow("intro") << 5 << "Intro";
}

void TestAppMenu::hideHidesOnlyItsEntry()
{
    QFETCH(int, operation);
    QFETCH(QString, hidden);

    using Hide = void (AppButton::*)();
    const Hide operations[] = {&AppButton::hideSupportPage, &AppButton::hideRate, &AppButton::hideMoreApps,
                               &AppButton::hideShare, &AppButton::hideJoin, &AppButton::hideIntro};
    AppButton button;
    QStringList expected = visibleEntries(menuOf(button));
    expected.removeOne(hidden);

    (button.*operations[operation])();
    QCOMPARE(visibleEntries(menuOf(button)), expected);
    (button.*operations[operation])();
    QCOMPARE(visibleEntries(menuOf(button)), expected);
}

void TestAppMenu::barButtonCallsSlot_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("slot");
    QTest::newRow("intro") << "IntroButton" << "slotHelp()";
    QTest::newRow("rate") << "RateButton" << "slotRateApp()";
    QTest::newRow("more apps") << "MoreAppsButton" << "slotShowMoreApps()";
    QTest::newRow("share") << "ShareButton" << "slotShareApp()";
    QTest::newRow("join") << "JoinButton" << "slotJoin()";
}

void TestAppMenu::barButtonCallsSlot()
{
    QFETCH(QString, name);
    QFETCH(QString, slot);

    PromoMenuBar bar(nullptr, true);
    QPushButton* pButton = bar.findChild<QPushButton*>(name);
    QVERIFY(pButton);
    pButton->click();
    QCOMPARE(recordingApp()->calls, QStringList{slot});
}

void TestAppMenu::moreAppsEntryCallsSlot()
{
    PromoMenuBar bar(nullptr, true);
    bar.addMoreAppsEntry();
    QAction* pAction = QMTest::actionWithText(bar.moreMenu(), QStringLiteral("More Apps"));
    QVERIFY(pAction);
    pAction->trigger();
    QCOMPARE(recordingApp()->calls, QStringList{"slotShowMoreApps()"});
}

void TestAppMenu::barQuit_data()
{
    QTest::addColumn<bool>("bRelayQuit");
    QTest::addColumn<int>("nSignals");  // from the bar and from the page each
    QTest::addColumn<QStringList>("calls");

    QTest::newRow("relayed") << true << 1 << QStringList();
    QTest::newRow("without relay the application quits") << false << 0 << QStringList{"quit()"};
}

void TestAppMenu::barQuit()
{
    QFETCH(bool, bRelayQuit);
    QFETCH(int, nSignals);
    QFETCH(QStringList, calls);

    PromoMainPage page(nullptr, bRelayQuit);
    QSignalSpy barSpy(page.promoMenuBar(), SIGNAL(quitApp()));
    QSignalSpy pageSpy(&page, SIGNAL(quitApp()));
    AppButton* pButton = page.promoMenuBar()->findChild<AppButton*>(QStringLiteral("AppButton"));
    QVERIFY(pButton);
    QMTest::actionWithText(pButton->menu(), QStringLiteral("Quit"))->trigger();
    QCOMPARE(barSpy.count(), nSignals);
    QCOMPARE(pageSpy.count(), nSignals);
    QCOMPARE(recordingApp()->calls, calls);
}

QMTEST_APP_MAIN_WITH(RecordingApp, TestAppMenu)

#include "tst_appmenu.moc"
