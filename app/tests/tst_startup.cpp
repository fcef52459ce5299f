// Start-up: the application object (script engine, silent messages,
// promoted app, usage ping, update check on start), the product identity,
// the window's presentation and the introduction slides' language.

#include "PageTestSupport.h"

#include "App.h"
#include "AppSettingsDialog.h"
#include "AppUpdate.h"
#include "AppUpdateDialog.h"
#include "LoopbackHttpServer.h"
#include "MainPage.h"
#include "NativeWebView.h"
#include "OptimizerApp.h"
#include "PromoAdsBar.h"
#include "PromoMenuBar.h"
#include "WebHosts.h"

#include <QElapsedTimer>
#include <QJSEngine>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>

namespace {

const char kChildVariable[] = "ZINTROP_STARTUP_CHILD";
QElapsedTimer g_sinceStart;

OptimizerApp* optimizerApp()
{
    return static_cast<OptimizerApp*>(QMWidgets::App::instance());
}

// A second run of the program's application object with "checkupdates"
// stored as false: reports whether the update check on start and the usage
// ping happened within five seconds.
int runChild(int argc, char* argv[])
{
    {
        QSettings store(QStringLiteral("Corvane"), QStringLiteral("Zintrop Lite"));
        store.setValue(QStringLiteral("Zintrop Lite/checkupdates"), false);
    }
    OptimizerApp app(argc, argv, QStringLiteral("Corvane"), QStringLiteral("Zintrop Lite"));
    // The ping goes to a loopback port where nothing listens.
    Platform::setWebHost(Platform::WebHost::AppsWebServer, QStringLiteral("http://127.0.0.1:9"));
    bool pinged = false;
    QObject::connect(app.webView(), &QMWebView::NativeWebView::loadStarted, [&] { pinged = true; });
    QTimer::singleShot(5000, &app, &QCoreApplication::quit);
    app.exec();
    QTextStream(stdout) << "update=" << int(!AppUpdate::lastCheckDate().isEmpty()) << " ping=" << int(pinged)
                        << '\n';
    return 0;
}

} // namespace

class tst_startup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void slideLanguage_data();
    void slideLanguage();
    void introSlidesOfTheLanguage();
    void applicationObject();
    void scriptsReachTheSettings();
    void moreAppsPage();
    void identityAndWindow();
    void styleSheetTargets();
    void introOpensHalfASecondAfterShowing();
    void pingAndUpdateCheckOnSchedule();
    void checkUpdatesOffSkipsOnlyTheCheck();
    void checkUpdatesAnswersFromTheServer();

private:
    std::unique_ptr<LoopbackHttpServer> m_pServer;
};

void tst_startup::initTestCase()
{
    m_pServer.reset(new LoopbackHttpServer);
    QVERIFY(m_pServer->isListening());
    for (auto host : {Platform::WebHost::AppsWebServer, Platform::WebHost::BuildsPrimary,
                      Platform::WebHost::BuildsFallback, Platform::WebHost::MainSite, Platform::WebHost::AppServer})
        Platform::setWebHost(host, m_pServer->baseUrl());
    AppUpdate::setFetchTimeout(2000);
}

void tst_startup::slideLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("slides");
    QTest::newRow("en") << QStringLiteral("en") << QStringLiteral("en");
    QTest::newRow("de") << QStringLiteral("de") << QStringLiteral("de");
    QTest::newRow("ru") << QStringLiteral("ru") << QStringLiteral("ru");
    QTest::newRow("fr") << QStringLiteral("fr") << QStringLiteral("en");
    QTest::newRow("upper case") << QStringLiteral("EN") << QStringLiteral("en");
    QTest::newRow("empty") << QString() << QStringLiteral("en");
}

void tst_startup::slideLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, slides);
    QCOMPARE(OptimizerApp::slideLanguage(language), slides);
}

void tst_startup::introSlidesOfTheLanguage()
{
    QCOMPARE(OptimizerApp::introSlidePaths(QStringLiteral("/r/Resources/"), QStringLiteral("fr")),
             (QStringList{QStringLiteral("/r/Resources/Slide1_en.jpg"), QStringLiteral("/r/Resources/Slide2_en.jpg"),
                          QStringLiteral("/r/Resources/Slide3_en.jpg"), QStringLiteral("/r/Resources/Slide4_en.jpg"),
                          QStringLiteral("/r/Resources/Slide5_en.jpg")}));
    QCOMPARE(OptimizerApp::introSlidePaths(QStringLiteral("/r/"), QStringLiteral("de")).at(2),
             QStringLiteral("/r/Slide3_de.jpg"));
}

void tst_startup::applicationObject()
{
    OptimizerApp* app = optimizerApp();
    QVERIFY(app->isIndependentBuild());
    QVERIFY(app->hasPromotedApp());
    QCOMPARE(app->storeLinkForApp(QStringLiteral("http://x/y")), QStringLiteral("http://x/y"));
    QVERIFY(app->storeLinkForApp(QString()).isEmpty());
    QVERIFY(app->webView()->isHidden());
    QCOMPARE(app->scriptEngine()->parent(), static_cast<QObject*>(app));
    QCOMPARE(OptimizerApp::webMetricsUrl(false), m_pServer->baseUrl() + QStringLiteral("/?a=zintroplite"));
    QCOMPARE(OptimizerApp::webMetricsUrl(true), m_pServer->baseUrl() + QStringLiteral("/?f=zintroplite"));
}

void tst_startup::scriptsReachTheSettings()
{
    QJSEngine* engine = optimizerApp()->scriptEngine();
    const QJSValue result = engine->evaluate(QStringLiteral("app.setSettings('KeyQuality', '128')"));
    QVERIFY2(!result.isError(), qPrintable(result.toString()));
    QCOMPARE(optimizerApp()->settingsValue(QStringLiteral("KeyQuality")), QVariant(QStringLiteral("128")));
    QCOMPARE(AppSettingsDialog::quality(), 128);
    // The engine collected nothing of ours.
    engine->collectGarbage();
    QCOMPARE(QMWidgets::App::instance(), static_cast<QMWidgets::App*>(optimizerApp()));
}

void tst_startup::moreAppsPage()
{
    QMTest::UrlRecorder urls;
    optimizerApp()->slotShowMoreApps();
    QCOMPARE(urls.count(), 1);
    QCOMPARE(urls.last().path(), QStringLiteral("/apps/crosspromo.php"));
    QCOMPARE(urls.last().query(QUrl::FullyDecoded), QStringLiteral("appname=\"\""));
}

void tst_startup::identityAndWindow()
{
    OptimizerApp* app = optimizerApp();
    app->setSettingsValue(QStringLiteral("NeverShowItAgain"), true);
    app->setUpIdentity();
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.0"));
    QCOMPARE(app->slogan(), QStringLiteral("Over 80% of PNG data can be reduced!"));
    QVERIFY(!app->privacyPolicyUrl().isEmpty());
    QVERIFY(app->styleSheet().contains(QStringLiteral("QPushButton#RunBatchButton")));
    QVERIFY(app->styleSheet().contains(QStringLiteral("QPushButton#BatchStopButton")));

    MainPage page;
    app->presentMainPage(&page);
    QCOMPARE(page.windowTitle(), QStringLiteral("Zintrop Lite"));
    QVERIFY(page.isVisible());
    QCOMPARE(app->mainWidget(), static_cast<QWidget*>(&page));
    QCOMPARE(app->introSlides(), OptimizerApp::introSlidePaths(app->resourcesPath(), QMWidgets::App::language()));
    QVERIFY(!app->introVideoLink().isEmpty());
    // The rotating banner, fed by the "graphics" catalogue.
    auto* banner = page.findChild<QMWidgets::PromoAdsBar*>();
    QVERIFY(banner);
    QVERIFY(banner->isVisible());
    QVERIFY(page.promoMenuBar()->moreMenuActions().size() > 2);
    QTRY_VERIFY(banner->currentAd());
    QCOMPARE(page.size(), QSize(420, 600));
    // No introduction: it was switched off.
    QTest::qWait(700);
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_startup::introOpensHalfASecondAfterShowing()
{
    OptimizerApp* app = optimizerApp();
    app->setSettingsValue(QStringLiteral("NeverShowItAgain"), false);
    MainPage page;
    QElapsedTimer clock;
    clock.start();
    app->presentMainPage(&page);
    const auto intro = [&page]() -> QWidget* {
        for (QWidget* w : page.findChildren<QWidget*>())
            if (w->inherits("QMWidgets::HelpDialog") && w->isVisible())
                return w;
        return nullptr;
    };
    QTRY_VERIFY_WITH_TIMEOUT(intro(), 5000);
    QVERIFY2(clock.elapsed() >= 500, qPrintable(QString::number(clock.elapsed())));
    intro()->close();
    app->setSettingsValue(QStringLiteral("NeverShowItAgain"), true);
}

void tst_startup::styleSheetTargets()
{
    const QString sheet = OptimizerApp::styleSheetText();
    // Every object name the program and its libraries style, as a selector.
    const char* const names[] = {
        "AboutLegalInfo", "ErrorsText", "RateHeaderLabel", "LikeButton", "DislikeButton", "FadeButton",
        "BatchPauseButton", "BatchStopButton", "DecoratedDial", "BrowseButton", "RunBatchButton",
        "ExportSettingsButton", "InfoLabel", "m_pcmdPlayAndPause", "m_pcmdStop", "MenuBar", "AdsBar", "DropArea",
        "AdsBarCloseButton", "VideoButton", "HelpSlideButton", "YouTubeJoinButton", "LinkedinShareButton",
        "FaceBookShareButton", "VKontakteShareButton", "TwitterShareButton", "EmailShareButton",
        "FaceBookJoinButton", "VKontakteJoinButton", "TwitterJoinButton", "EmailJoinButton", "AppButton",
        "MoreAppsButton", "JoinButton", "RateButton", "ShareButton", "IntroButton", "MoreButton", "MainPage",
        "m_pwgtPromoBar", "m_pwgtRecordPage", "m_pwgtPlayPage", "m_plblLed", "m_plblRecTime", "AboutDialog",
        "LogoLabel", "m_plblFileName", "m_pcmdRecordAndPause", "m_pcmdCancelRecord", "m_pcmdStopRecord",
        "SearchStopButton", "m_pcmdOk", "m_pcmdCancel", "PushButton", "m_pcmdSettings"};
    for (const char* name : names) {
        const QRegularExpression selector(QStringLiteral("#%1\\b").arg(QLatin1String(name)));
        QVERIFY2(sheet.contains(selector), name);
    }
    const char* const classes[] = {
        "QLineEdit", "QFrame", "QSlider", "QLCDNumber", "QTabBar", "QCheckBox", "QGroupBox", "QListView", "QLabel",
        "QComboBox", "QDialog", "QMenu"};
    for (const char* name : classes) {
        const QRegularExpression selector(QStringLiteral("(^|[\\s,}])%1[\\s:#{,]").arg(QLatin1String(name)));
        QVERIFY2(sheet.contains(selector), name);
    }
    QVERIFY(sheet.contains(QStringLiteral("QPushButton::menu-indicator")));
}

void tst_startup::pingAndUpdateCheckOnSchedule()
{
    // First run of a fresh home: the ping says "f=".
    QTRY_VERIFY_WITH_TIMEOUT(m_pServer->requestedTargets().contains(QStringLiteral("/?f=zintroplite")), 8000);
    // A 4000 ms single shot is a coarse timer, which Qt may fire up to 5% early.
    QVERIFY2(g_sinceStart.elapsed() >= 3800, qPrintable(QString::number(g_sinceStart.elapsed())));
    // The check on start ran after 2000 ms: on a first check it only notes
    // the day; nothing is shown and nothing waits.
    QVERIFY(!AppUpdate::lastCheckDate().isEmpty());
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_startup::checkUpdatesOffSkipsOnlyTheCheck()
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildVariable), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(QString::fromLatin1(child.readAllStandardOutput()).trimmed(), QStringLiteral("update=0 ping=1"));
}

void tst_startup::checkUpdatesAnswersFromTheServer()
{
    m_pServer->clearLog();
    QString shown;
    QMTest::ModalAnswerer answer([&](QWidget* w) {
        shown = QString::fromLatin1(w->metaObject()->className());
        static_cast<QDialog*>(w)->reject();
    }, 10000);
    optimizerApp()->slotCheckUpdate();
    QVERIFY(answer.answered());
    QCOMPARE(shown, QStringLiteral("AppUpdateDialog"));
    QVERIFY(!m_pServer->requestedTargets().isEmpty());
}

int main(int argc, char* argv[])
{
    QMTest::prepareEnvironment();
    PageTest::silenceSound();
    if (qEnvironmentVariableIsSet(kChildVariable))
        return runChild(argc, argv);
    g_sinceStart.start();
    OptimizerApp app(argc, argv, QStringLiteral("Corvane"), QStringLiteral("Zintrop Lite"));
    tst_startup tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_startup.moc"
