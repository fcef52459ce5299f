#include "QMTest.h"

#include "SystemInfo.h"
#include "WebHosts.h"

#include <QTemporaryDir>
#include <QUrlQuery>

using QMWidgets::App;

namespace {

QMTest::TestApp* testApp()
{
    return static_cast<QMTest::TestApp*>(App::instance());
}

QString mailField(const QUrl& url, const QString& field)
{
    return QUrlQuery(url).queryItemValue(field, QUrl::FullyDecoded);
}

QUrl tolerant(const QString& text)
{
    return QUrl(text, QUrl::TolerantMode);
}

}  // namespace

// Web and mail actions and the share links, with every opening captured.
class TestAppCommunity : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void windowsVersionNames_data();
    void windowsVersionNames();

    void contactUs_data();
    void contactUs();
    void rateIndependent();
    void rateStoreBuild();
    void tellFriend_data();
    void tellFriend();
    void supportPage();
    void privacyPolicy();
    void promotedApp();
    void failedOpeningIsIgnored();

    void shareAppId_data();
    void shareAppId();
    void shareAppFolder();
    void slogan();

private:
    QTemporaryDir m_resources;  // a resources folder without the "independent" marker
};

void TestAppCommunity::initTestCase()
{
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));
    testApp()->setResourcesPath(m_resources.path() + QLatin1Char('/'));
}

void TestAppCommunity::cleanup()
{
    QMTest::TestApp* pApp = testApp();
    pApp->setIndependentBuild(true);
    pApp->setAppPageLink(QString());
    pApp->setSlogan(QString());
    pApp->setPrivacyPolicyUrl(QString());
    pApp->setPromotedApp(QString(), QString());
    pApp->setPromotedLink(QString());
    pApp->setSecondPromotedLink(QString());
    pApp->setShareLanguages(QStringList());
    pApp->setLanguageCode(QStringLiteral("en"));
    Platform::setWindowsVersionForTesting(-1);
    Platform::resetWebHosts();
}

void TestAppCommunity::windowsVersionNames_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("name");
    QTest::newRow("2000") << 0x20 << "Win 2000";
    QTest::newRow("XP") << 0x30 << "Win XP";
    QTest::newRow("2003") << 0x40 << "Win 2003";
    QTest::newRow("Vista") << 0x80 << "Win Vista";
    QTest::newRow("7") << 0x90 << "Win 7";
    QTest::newRow("8") << 0xA0 << "Win 8";
    QTest::newRow("8.1") << 0xB0 << "Win 8.1";
    QTest::newRow("10") << 0xC0 << "Win 10";
    QTest::newRow("none") << 0 << "Win (0)";
    QTest::newRow("unknown") << 0x10 << "Win (16)";
}

void TestAppCommunity::windowsVersionNames()
{
    QFETCH(int, version);
    QFETCH(QString, name);
    QCOMPARE(App::windowsVersionName(version), name);
    Platform::setWindowsVersionForTesting(version);
    QCOMPARE(App::windowsVersionName(), name);
}

void TestAppCommunity::contactUs_data()
{
    QTest::addColumn<bool>("independent");
    QTest::addColumn<QString>("subject");
    QTest::newRow("independent") << true << "Contact (Zintrop Lite 1.0) Win (0) en I";
    QTest::newRow("store") << false << "Contact (Zintrop Lite 1.0) Win (0) en ";
}

void TestAppCommunity::contactUs()
{
    QFETCH(bool, independent);
    QFETCH(QString, subject);
    testApp()->setIndependentBuild(independent);
    QMTest::UrlRecorder recorder;
    testApp()->slotContactUs();
    QCOMPARE(recorder.count(), 1);
    const QUrl url = recorder.last();
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QCOMPARE(url.path(), Platform::webHost(Platform::WebHost::ContactMail));
    QCOMPARE(mailField(url, QStringLiteral("subject")), subject);
    QVERIFY(QUrlQuery(url).hasQueryItem(QStringLiteral("body")));
    QVERIFY(mailField(url, QStringLiteral("body")).isEmpty());
}

void TestAppCommunity::rateIndependent()
{
    QMTest::UrlRecorder recorder;
    testApp()->slotRateApp();
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last(), tolerant(Platform::webHost(Platform::WebHost::AppServer)
                                       + QStringLiteral("/rate.php?appname=zintrop lite")));
    QCOMPARE(recorder.last().scheme(), QStringLiteral("https"));
}

void TestAppCommunity::rateStoreBuild()
{
    QMTest::TestApp* pApp = testApp();
    pApp->setIndependentBuild(false);
    pApp->setAppPageLink(QStringLiteral("https://zintrop.invalid/apps/ZintropLite/"));
    QMTest::UrlRecorder recorder;
    pApp->slotRateApp();
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last(), tolerant(QStringLiteral("ms-windows-store://review/?ProductId=")
                                       + pApp->storeIdForApp(QStringLiteral("zintroplite"))));
}

void TestAppCommunity::tellFriend_data()
{
    QTest::addColumn<QString>("slogan");
    QTest::addColumn<QString>("pageLink");
    QTest::addColumn<QString>("body");
    const QString site = Platform::webHost(Platform::WebHost::MainSite);
    QTest::newRow("no slogan") << "" << "" << "Zintrop Lite - " + site + "/zintrop lite";
    QTest::newRow("slogan with percent") << "Over 80% of PNG data can be reduced!" << ""
                                         << "Over 80% of PNG data can be reduced! - " + site + "/zintrop lite";
    QTest::newRow("page link") << "" << "http://zintrop.org.invalid/zintroplite"
                               << "Zintrop Lite - http://zintrop.org.invalid/zintroplite";
}

void TestAppCommunity::tellFriend()
{
    QFETCH(QString, slogan);
    QFETCH(QString, pageLink);
    QFETCH(QString, body);
    testApp()->setSlogan(slogan);
    testApp()->setAppPageLink(pageLink);
    QMTest::UrlRecorder recorder;
    testApp()->slotTellFriend();
    QCOMPARE(recorder.count(), 1);
    const QUrl url = recorder.last();
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QVERIFY(url.path().isEmpty());
    QCOMPARE(mailField(url, QStringLiteral("subject")), QStringLiteral("Check out the cool Zintrop Lite app!"));
    QCOMPARE(mailField(url, QStringLiteral("body")), body);
}

void TestAppCommunity::supportPage()
{
    QMTest::UrlRecorder recorder;
    testApp()->slotSupportPage();
    testApp()->setAppPageLink(QStringLiteral("http://zintrop.de.invalid/zintroplite"));
    testApp()->slotSupportPage();
    const QList<QUrl> expected = {tolerant(Platform::webHost(Platform::WebHost::MainSite)),
                                  tolerant(QStringLiteral("http://zintrop.de.invalid/zintroplite"))};
    QCOMPARE(recorder.urls(), expected);
}

void TestAppCommunity::privacyPolicy()
{
    QMTest::UrlRecorder recorder;
    testApp()->slotShowPrivacyPolicy();
    QCOMPARE(recorder.count(), 0);
    testApp()->setPrivacyPolicyUrl(QStringLiteral("http://zintrop.invalid/privacy.html"));
    QCOMPARE(testApp()->privacyPolicyUrl(), QStringLiteral("http://zintrop.invalid/privacy.html"));
    testApp()->slotShowPrivacyPolicy();
    QCOMPARE(recorder.urls(), QList<QUrl>{tolerant(QStringLiteral("http://zintrop.invalid/privacy.html"))});
}

void TestAppCommunity::promotedApp()
{
    QMTest::TestApp* pApp = testApp();
    QMTest::UrlRecorder recorder;
    pApp->slotGoToPromotedApp();
    QCOMPARE(recorder.count(), 0);  // nothing promoted, no second link

    pApp->setSecondPromotedLink(QStringLiteral("http://second.invalid/"));
    pApp->slotGoToPromotedApp();
    QCOMPARE(recorder.last(), tolerant(QStringLiteral("http://second.invalid/")));

    pApp->setPromotedLink(QStringLiteral("http://first.invalid/"));
    pApp->slotGoToPromotedApp();
    QCOMPARE(recorder.last(), tolerant(QStringLiteral("http://first.invalid/")));

    // A promoted text without a link: the promoted app exists, its link is empty.
    pApp->setPromotedLink(QString());
    pApp->setPromotedApp(QString(), QStringLiteral("Text"));
    recorder.clear();
    pApp->slotGoToPromotedApp();
    QCOMPARE(recorder.count(), 0);
}

void TestAppCommunity::failedOpeningIsIgnored()
{
    QMTest::UrlRecorder recorder;
    recorder.setAnswer(false);
    testApp()->slotRateApp();
    testApp()->slotContactUs();
    QCOMPARE(recorder.count(), 2);
}

void TestAppCommunity::shareAppId_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("shareLanguages");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("page");
    QTest::newRow("en") << "en" << QStringList() << "zintroplite" << "http://site.org.test/zintroplite";
    QTest::newRow("de") << "de" << QStringList() << "zintroplite" << "http://site.de.test/zintroplite";
    QTest::newRow("ru") << "ru" << QStringList() << "zintroplite" << "http://site.ru.test/zintroplite";
    QTest::newRow("fr without site") << "fr" << QStringList() << "zintroplite" << "http://site.org.test/zintroplite";
    QTest::newRow("fr with site") << "fr" << QStringList{"fr"} << "zintroplite" << "http://site.fr.test/zintroplite";
    // The application name in lower case, blank and all.
    QTest::newRow("empty id") << "en" << QStringList() << "" << "http://site.org.test/zintrop lite";
}

// The share links are the sharers' own pages with the application page
// appended as it is, unencoded.
void TestAppCommunity::shareAppId()
{
    QFETCH(QString, language);
    QFETCH(QStringList, shareLanguages);
    QFETCH(QString, id);
    QFETCH(QString, page);
    Platform::setCountrySitePattern(QStringLiteral("http://site.%1.test"));
    QMTest::TestApp* pApp = testApp();
    pApp->setLanguageCode(language);
    pApp->setShareLanguages(shareLanguages);
    pApp->setVkontakteShareLink(QStringLiteral("untouched"));
    pApp->setShareAppId(id);
    QCOMPARE(pApp->appPageLink(), page);
    QCOMPARE(pApp->facebookShareLink(), QStringLiteral("http://www.facebook.com/sharer.php?u=") + page);
    QCOMPARE(pApp->twitterShareLink(), QStringLiteral("https://twitter.com/home?status=") + page);
    QCOMPARE(pApp->vkontakteShareLink(), QStringLiteral("untouched"));
    QCOMPARE(pApp->hasShareLanguage(language), shareLanguages.contains(language));
}

void TestAppCommunity::shareAppFolder()
{
    Platform::setWebHost(Platform::WebHost::MainSite, QStringLiteral("http://main.test"));
    QMTest::TestApp* pApp = testApp();
    pApp->setShareAppFolder(QStringLiteral("zintroplite"));
    QCOMPARE(pApp->appPageLink(), QStringLiteral("http://main.test/apps/zintroplite"));
    QCOMPARE(pApp->facebookShareLink(), QStringLiteral("http://main.test/apps/zintroplite/facebook.php"));
    QCOMPARE(pApp->twitterShareLink(), QStringLiteral("http://main.test/apps/zintroplite/twitter.php"));
    QCOMPARE(pApp->vkontakteShareLink(), QStringLiteral("http://main.test/apps/zintroplite/vkontakte.php"));
    pApp->setShareAppFolder(QString());
    QCOMPARE(pApp->appPageLink(), QStringLiteral("http://main.test/apps/zintrop lite"));
    pApp->setOtherShareLink(QStringLiteral("x"));
    QCOMPARE(pApp->otherShareLink(), QStringLiteral("x"));
}

void TestAppCommunity::slogan()
{
    QCOMPARE(testApp()->slogan(), QStringLiteral("Zintrop Lite"));
    testApp()->setSlogan(QStringLiteral("Over 80% of PNG data can be reduced!"));
    QCOMPARE(testApp()->slogan(), QStringLiteral("Over 80% of PNG data can be reduced!"));
}

QMTEST_APP_MAIN(TestAppCommunity)
#include "tst_app_community.moc"
