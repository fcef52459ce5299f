#include "AppUpdate.h"
#include "AppUpdateDialog.h"
#include "LoopbackHttpServer.h"
#include "QMTest.h"
#include "SystemInfo.h"
#include "WebHosts.h"

#include <QCheckBox>
#include <QLabel>
#include <QNetworkProxy>

namespace {

const QString kBuildPath = QStringLiteral("/apps/buildsinfo/zintrop lite_win");
const QByteArray kNewerRecord = "build:2.0;date:2031-01-01;windows:all";
const QByteArray kSameRecord = "build:1.0;date:2000-01-01;windows:all";

// What the dialog said, or nothing when no dialog was shown.
struct DialogWatch
{
    QString text;
    bool picture = false;  // whether a picture was shown
    QMTest::ModalAnswerer answerer{[this](QWidget* w) {
        if (auto* dialog = qobject_cast<AppUpdateDialog*>(w))
            text = dialog->text();
        picture = false;
        for (const QLabel* label : w->findChildren<QLabel*>()) {
            if (!label->pixmap(Qt::ReturnByValue).isNull())
                picture = true;
        }
        QMTest::ModalAnswerer::reject()(w);
    }};
};

} // namespace

class tst_AppUpdate : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowsVersionTag_data();
    void windowsVersionTag();
    void decision_data();
    void decision();

    void fetchAsksBuildInfoPath();
    void fallbackServer_data();
    void fallbackServer();

    void onDemandAlwaysShowsDialog_data();
    void onDemandAlwaysShowsDialog();
    void checkOnStart_data();
    void checkOnStart();
    void lastCheckDateIsHidden();

    void dialogLayoutAndSetting();
    void dialogAnswers_data();
    void dialogAnswers();
    void updatePageUrl_data();
    void updatePageUrl();

private:
    void pointServersAt(const LoopbackHttpServer* primary, const LoopbackHttpServer* fallback);

    QString m_strDown;  // a server address where nobody listens
};

void tst_AppUpdate::initTestCase()
{
    QCOMPARE(AppUpdate::fetchTimeout(), 7000);  // the product's limit
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    LoopbackHttpServer gone;
    m_strDown = gone.baseUrl();
}

void tst_AppUpdate::init()
{
    QMTest::clearSettings();
    Platform::resetWebHosts();
    Platform::setWindowsVersionForTesting(-1);
    AppUpdate::setFetchTimeout(3000);
    AppUpdate::newVersionText.clear();
}

void tst_AppUpdate::cleanup()
{
    Platform::resetWebHosts();
    Platform::setWindowsVersionForTesting(-1);
}

void tst_AppUpdate::pointServersAt(const LoopbackHttpServer* primary, const LoopbackHttpServer* fallback)
{
    Platform::setWebHost(Platform::WebHost::BuildsPrimary, primary ? primary->baseUrl() : m_strDown);
    Platform::setWebHost(Platform::WebHost::BuildsFallback, fallback ? fallback->baseUrl() : m_strDown);
}

void tst_AppUpdate::windowsVersionTag_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("tag");
    QTest::newRow("none") << 0 << "00_0";
    QTest::newRow("2000") << 0x20 << "00_20";
    QTest::newRow("XP") << 0x30 << "00_30";
    QTest::newRow("Vista") << 0x80 << "00_80";
    QTest::newRow("7") << 0x90 << "00_90";
    QTest::newRow("8") << 0xA0 << "00_A0";
    QTest::newRow("8.1") << 0xB0 << "00_B0";
    QTest::newRow("10") << 0xC0 << "00_C0";
    QTest::newRow("no leading zero") << 0x5 << "00_5";
}

void tst_AppUpdate::windowsVersionTag()
{
    QFETCH(int, version);
    QFETCH(QString, tag);
    QCOMPARE(AppUpdate::windowsVersionTag(version), tag);
    Platform::setWindowsVersionForTesting(version);
    QCOMPARE(AppUpdate::windowsVersionTag(), tag);
}

void tst_AppUpdate::decision_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("systemTag");
    QTest::addColumn<bool>("newer");
    QTest::addColumn<QString>("version");

    QTest::newRow("whitespace everywhere")
        << " build : 2.0 ;\n\tdate:\r\n 2031-01-01 ; windows:a l l\n" << "00_0" << false << "";
    // "build:" must be there before the clean-up, so the row above counts as
    // nothing; whitespace elsewhere is harmless.
    QTest::newRow("all, with blanks")
        << "build:  2.0 ;\n\tdate:\r\n 2031-01-01 ; windows: all\n" << "00_0" << true << "2.0";
    QTest::newRow("tag below") << "build:3;date:2031-01-01;windows:00_C0" << "00_90" << false << "3";
    QTest::newRow("tag equal") << "build:3;date:2031-01-01;windows:00_C0" << "00_C0" << true << "3";
    QTest::newRow("first windows match sticks")
        << "build:4;date:2031-01-01;windows:00_90;windows:00_C0" << "00_A0" << true << "4";
    QTest::newRow("tag without underscore") << "build:4;date:2031-01-01;windows:C0" << "00_C0" << false << "4";
    QTest::newRow("date with colons") << "build:5;date:2031:01:01;windows:all" << "00_0" << false << "5";
    QTest::newRow("later date replaces")
        << "build:5;date:2031-01-01;date:1999-01-01;windows:all" << "00_0" << false << "5";
    QTest::newRow("same date as build") << "build:6;date:2020-06-15;windows:all" << "00_0" << false << "6";
    QTest::newRow("day after build") << "build:6;date:2020-06-16;windows:all" << "00_0" << true << "6";
    QTest::newRow("no windows field") << "build:7;date:2031-01-01" << "00_0" << false << "7";
    QTest::newRow("no date") << "build:7;windows:all" << "00_0" << false << "7";
    QTest::newRow("empty fields and unknown keys")
        << ";;build:8;;mac:all;date:2031-01-01;windows:all;" << "00_0" << true << "8";
    QTest::newRow("case matters") << "Build:9;date:2031-01-01;windows:all" << "00_0" << false << "";
    QTest::newRow("empty") << "" << "00_0" << false << "";
    // Only text that looks like a version is taken; without one nothing is newer.
    QTest::newRow("empty version") << "build:;date:2031-01-01;windows:all" << "00_0" << false << "";
    QTest::newRow("markup is no version")
        << "build:<b>3</b>;date:2031-01-01;windows:all" << "00_0" << false << "";
    QTest::newRow("plus sign is no version") << "build:3+1;date:2031-01-01;windows:all" << "00_0" << false << "";
    const QString longest = "1.2-rc_ABCDEFGHIJKLMNOPQRSTUVWXy";  // 32 characters
    QTest::newRow("at most 32 characters")
        << "build:" + longest + ";build:" + longest + "z;date:2031-01-01;windows:all" << "00_0" << true << longest;
}

void tst_AppUpdate::decision()
{
    QFETCH(QString, answer);
    QFETCH(QString, systemTag);
    QFETCH(bool, newer);
    QFETCH(QString, version);
    QCOMPARE(AppUpdate::isNewerBuild(answer, QDate(2020, 6, 15), systemTag), newer);
    QCOMPARE(AppUpdate::newVersionText, version);
}

void tst_AppUpdate::fetchAsksBuildInfoPath()
{
    LoopbackHttpServer server;
    server.setResponse(kBuildPath, 200, QByteArray("build:1.5;date:2031-01-01\0junk after zero", 41));
    QCOMPARE(AppUpdate::fetchBuildInfo(server.baseUrl()), QString("build:1.5;date:2031-01-01"));
    QCOMPARE(server.requestLines(), QStringList{"GET /apps/buildsinfo/zintrop%20lite_win HTTP/1.1"});

    // A base without a scheme works the same way.
    QCOMPARE(AppUpdate::fetchBuildInfo(server.hostAndPort()), QString("build:1.5;date:2031-01-01"));
}

void tst_AppUpdate::fallbackServer_data()
{
    QTest::addColumn<QString>("primary");
    QTest::addColumn<bool>("fallbackAsked");
    QTest::addColumn<QString>("answer");
    QTest::newRow("good answer") << "good" << false << QString(kSameRecord);
    QTest::newRow("empty answer") << "empty" << true << "build:fallback";
    QTest::newRow("not found") << "404" << true << "build:fallback";
    QTest::newRow("slow answer aborted") << "slow" << true << "build:fallback";
    // A byte at a time, never pausing long enough for a stall timeout.
    QTest::newRow("dripping answer aborted") << "dripping" << true << "build:fallback";
    QTest::newRow("dripping answer without length aborted")
        << "dripping, no length" << true << "build:fallback";
    QTest::newRow("server down") << "down" << true << "build:fallback";
    // Redirects are not followed, and their own page is no answer.
    QTest::newRow("redirect") << "redirect" << true << "build:fallback";
    QTest::newRow("partial answer") << "partial" << true << "build:fallback";
    // Answers past what a record can be fail as if none came.
    QTest::newRow("gzip that inflates past the limit") << "gzip" << true << "build:fallback";
    QTest::newRow("10 MB version") << "huge" << true << "build:fallback";
}

void tst_AppUpdate::fallbackServer()
{
    QFETCH(QString, primary);
    QFETCH(bool, fallbackAsked);
    QFETCH(QString, answer);

    LoopbackHttpServer first;
    LoopbackHttpServer second;
    second.setResponse(kBuildPath, 200, "build:fallback");
    if (primary == "good")
        first.setResponse(kBuildPath, 200, kSameRecord);
    else if (primary == "empty")
        first.setResponse(kBuildPath, 200, QByteArray());
    else if (primary == "slow")
        first.setDelayed(kBuildPath, 60000, kSameRecord);
    else if (primary == "dripping" || primary == "dripping, no length")
        first.setReply(kBuildPath, LoopbackHttpServer::dripping(kSameRecord, 100, primary == "dripping"));
    else if (primary == "redirect")
        first.setRedirect(kBuildPath, second.url("/elsewhere"));
    else if (primary == "partial")
        first.setResponse(kBuildPath, 206, kNewerRecord);
    else if (primary == "gzip")
        first.setReply(kBuildPath, LoopbackHttpServer::oversized(kNewerRecord).gzip);
    else if (primary == "huge")
        first.setResponse(kBuildPath, 200, "build:" + QByteArray(10 * 1024 * 1024, '9') + ";date:2031-01-01;windows:all");
    pointServersAt(primary == "down" ? nullptr : &first, &second);
    AppUpdate::setFetchTimeout(300);

    QCOMPARE(AppUpdate::fetchBuildInfoAnyServer(), answer);
    QCOMPARE(second.requestCount(kBuildPath), fallbackAsked ? 1 : 0);
    QCOMPARE(second.requestCount("/elsewhere"), 0);
}

void tst_AppUpdate::onDemandAlwaysShowsDialog_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<bool>("serversUp");
    QTest::addColumn<bool>("newer");
    QTest::addColumn<QString>("text");
    QTest::newRow("newer build")
        << kNewerRecord << true << true
        << "<CENTER><H2>The newer version 2.0 of Zintrop Lite is available.<br>Get the newest version?</H2></CENTER>";
    QTest::newRow("latest version")
        << kSameRecord << true << false
        << "<CENTER><H2>You are using the latest version available.<br>Go to the app web page anyway?</H2></CENTER>";
    QTest::newRow("both servers down")
        << QByteArray() << false << false
        << "The check for updates failed.<br>The update server could not be reached";
    QTest::newRow("both servers answer nothing")
        << QByteArray() << true << false
        << "The check for updates failed.<br>The update server could not be reached";
    QTest::newRow("no build record")
        << QByteArray("<html>maintenance</html>") << true << false
        << "The check for updates failed.<br>The update server answered without a version record";
    QTest::newRow("markup is no version")
        << QByteArray("build:<b>3</b>;date:2031-01-01;windows:all") << true << false
        << "The check for updates failed.<br>The update server answered without a version record";
    QTest::newRow("only build:")
        << QByteArray("build:") << true << false
        << "The check for updates failed.<br>The update server answered without a version record";
    QTest::newRow("10 MB version")
        << "build:" + QByteArray(10 * 1024 * 1024, '9') + ";date:2031-01-01;windows:all" << true << false
        << "The check for updates failed.<br>The update server could not be reached";
}

// What the program's "Check Updates" does: the dialog with the result.
void tst_AppUpdate::onDemandAlwaysShowsDialog()
{
    QFETCH(QByteArray, record);
    QFETCH(bool, serversUp);
    QFETCH(bool, newer);
    QFETCH(QString, text);

    LoopbackHttpServer server;
    server.setResponse(kBuildPath, 200, record);
    pointServersAt(serversUp ? &server : nullptr, serversUp ? &server : nullptr);

    DialogWatch watch;
    const bool result = AppUpdate::isNewerBuildAvailable();
    QCOMPARE(result, newer);
    AppUpdate::showUpdateResult(result);
    QVERIFY(watch.answerer.answered());
    QCOMPARE(watch.answerer.answeredClassName(), QString("AppUpdateDialog"));
    QVERIFY2(watch.text.contains(text), qPrintable(watch.text));
    QVERIFY(watch.picture);
    if (text.contains("failed"))
        QVERIFY(!watch.text.contains("latest version"));
}

void tst_AppUpdate::checkOnStart_data()
{
    QTest::addColumn<QString>("stored");       // last-notification date, "" for none
    QTest::addColumn<QString>("servers");      // "newer", "same" or "down"
    QTest::addColumn<int>("requests");
    QTest::addColumn<bool>("dialog");
    QTest::addColumn<QString>("storedAfter");

    const QString today = "2027-03-10";
    QTest::newRow("first start") << "" << "newer" << 0 << false << today;
    QTest::newRow("unreadable date") << "10.03.2027" << "newer" << 0 << false << today;
    QTest::newRow("5 days") << "2027-03-05" << "newer" << 0 << false << "2027-03-05";
    QTest::newRow("6 days, newer") << "2027-03-04" << "newer" << 1 << true << today;
    QTest::newRow("6 days, nothing newer") << "2027-03-04" << "same" << 1 << false << "2027-03-04";
    QTest::newRow("6 days, servers down") << "2027-03-04" << "down" << 0 << false << "2027-03-04";
}

void tst_AppUpdate::checkOnStart()
{
    QFETCH(QString, stored);
    QFETCH(QString, servers);
    QFETCH(int, requests);
    QFETCH(bool, dialog);
    QFETCH(QString, storedAfter);

    LoopbackHttpServer server;
    server.setResponse(kBuildPath, 200, servers == "newer" ? kNewerRecord : kSameRecord);
    pointServersAt(servers == "down" ? nullptr : &server, servers == "down" ? nullptr : &server);
    if (!stored.isEmpty())
        AppUpdate::storeLastCheckDate(stored);

    DialogWatch watch;
    AppUpdate::checkOnStart(QDate(2027, 3, 10));
    QCOMPARE(server.requestCount(kBuildPath), requests);
    QCOMPARE(watch.answerer.answered(), dialog);
    if (dialog)
        QVERIFY(watch.text.contains("The newer version 2.0"));
    QCOMPARE(AppUpdate::lastCheckDate(), storedAfter);
}

void tst_AppUpdate::lastCheckDateIsHidden()
{
    QCOMPARE(AppUpdate::lastCheckDate(), QString());
    AppUpdate::storeLastCheckDate("2027-01-02");
    QCOMPARE(AppUpdate::lastCheckDate(), QString("2027-01-02"));
    const QStringList keys = QMWidgets::App::instance()->settingsChildKeys();
    for (const QString& key : keys) {
        const QString value = QMWidgets::App::instance()->settingsValue(key).toString();
        QVERIFY2(!value.contains("2027"), qPrintable(key + "=" + value));
    }
}

void tst_AppUpdate::dialogLayoutAndSetting()
{
    auto* app = QMWidgets::App::instance();
    app->setSettingsValue("checkupdates", false);
    AppUpdateDialog dialog;
    QCOMPARE(dialog.objectName(), QString("UpdateDialog"));
    QCOMPARE(dialog.windowTitle(), QString("Zintrop Lite Updates Notification"));
    auto* box = dialog.findChild<QCheckBox*>();
    QVERIFY(box);
    QCOMPARE(box->text(), QString("Check for updates on start"));
    QVERIFY(!box->isChecked());
    QVERIFY(!AppUpdateDialog::isCheckOnStartEnabled());

    box->setChecked(true);
    QCOMPARE(app->settingsValue("checkupdates").toBool(), true);
    box->setChecked(false);
    QCOMPARE(app->settingsValue("checkupdates").toBool(), false);

    QMTest::clearSettings();
    QVERIFY(AppUpdateDialog::isCheckOnStartEnabled());  // default on
    dialog.setText("<b>t</b>");
    QCOMPARE(dialog.text(), QString("<b>t</b>"));
}

void tst_AppUpdate::dialogAnswers_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("opened");
    QTest::newRow("Yes opens the update page") << "Yes" << 1;
    QTest::newRow("No opens nothing") << "No" << 0;
}

void tst_AppUpdate::dialogAnswers()
{
    QFETCH(QString, button);
    QFETCH(int, opened);

    Platform::setWebHost(Platform::WebHost::BuildsPrimary, "http://updates.example.invalid");
    QMTest::UrlRecorder recorder;
    AppUpdateDialog dialog;
    QMTest::ModalAnswerer answer(QMTest::ModalAnswerer::clickButton(button));
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(answer.answered());
    QCOMPARE(recorder.count(), opened);
    if (opened)
        QCOMPARE(recorder.last(), QUrl("http://updates.example.invalid/apps/updatepage.php?appname=zintrop%20lite"));
}

void tst_AppUpdate::updatePageUrl_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("url");
    QTest::newRow("with scheme") << "http://h.invalid" << "http://h.invalid/apps/updatepage.php?appname=zintrop lite";
    QTest::newRow("secure scheme kept") << "https://h.invalid" << "https://h.invalid/apps/updatepage.php?appname=zintrop lite";
    QTest::newRow("without scheme") << "h.invalid:8080" << "http://h.invalid:8080/apps/updatepage.php?appname=zintrop lite";
}

void tst_AppUpdate::updatePageUrl()
{
    QFETCH(QString, base);
    QFETCH(QString, url);
    Platform::setWebHost(Platform::WebHost::BuildsPrimary, base);
    QCOMPARE(AppUpdate::updatePageUrl(), url);

    // The page really opens from the dialog: a valid absolute web address.
    QMTest::UrlRecorder recorder;
    AppUpdateDialog dialog;
    dialog.slotUpdate();
    QCOMPARE(recorder.count(), 1);
    QVERIFY(recorder.last().isValid());
    QVERIFY(!recorder.last().isRelative());
    QCOMPARE(recorder.last(), QUrl(url, QUrl::TolerantMode));
}

QMTEST_APP_MAIN(tst_AppUpdate)
#include "tst_appupdate.moc"
