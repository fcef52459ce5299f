#include "Autostart.h"
#include "FileManager.h"
#include "ScreenGrab.h"
#include "SessionWatcher.h"
#include "SystemInfo.h"
#include "UrlOpener.h"
#include "WebHosts.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// The desktop layer without the application framework: hosts, URL capture,
// autostart entries, the file manager and session notices with no bus.
class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void hostsDefaultToReservedNames();
    void hostOverrides();
    void countrySites();

    void openUrlGoesThroughHook();
    void screenGrabGoesThroughHook();

    void execQuoting_data();
    void execQuoting();
    void autostartRoundTrip();
    void autostartEntryIsEscaped_data();
    void autostartEntryIsEscaped();
    void autostartEntryPassesValidator_data();
    void autostartEntryPassesValidator();

    void fileManagerWithoutBusFailsAtOnce();
    void openFolderKeepsSpecialCharacters_data();
    void openFolderKeepsSpecialCharacters();

    void sessionWatcherWithoutBus();
    void windowsVersion();

};

namespace {
QString g_home;  // the temporary HOME of this program

// Names and programs with what the desktop entry format must escape.
void addAwkwardEntries()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("nameLine");
    QTest::newRow("line break in the name")
        << "Zintrop\nHidden=true" << "/opt/zintrop/run" << "Name=Zintrop\\nHidden=true";
    QTest::newRow("second Exec in the name")
        << "Zintrop\r\nExec=/bin/false" << "/opt/zintrop/run" << "Name=Zintrop\\r\\nExec=/bin/false";
    QTest::newRow("tab, backslash and blanks in the name")
        << "  a\tb\\c d" << "/opt/zintrop/run" << "Name=\\s\\sa\\tb\\\\c d";
    QTest::newRow("percent in the path") << "App" << "/opt/100%done/run" << "Name=App";
    QTest::newRow("percent and blanks in the path") << "App" << "/opt/Zintrop Lite/100% done/run" << "Name=App";
    QTest::newRow("line break in the path") << "App" << "/opt/a\nHidden=true/run" << "Name=App";
    QTest::newRow("quoting characters in the path") << "App" << "/opt/a\"b`c$d\\e\tf/%%/run" << "Name=App";
}
}

void TestPlatform::cleanup()
{
    Platform::resetWebHosts();
    Platform::setUrlOpenHook(Platform::UrlOpenHook());
    Platform::setScreenGrabHook(Platform::ScreenGrabHook());
    qunsetenv("ZINTROP_WEB_BASE");
    qunsetenv("ZINTROP_HOST_BUILDS");
}

void TestPlatform::hostsDefaultToReservedNames()
{
    const Platform::WebHost hosts[] = {Platform::WebHost::MainSite,      Platform::WebHost::AppServer,
                                       Platform::WebHost::ShareServer,   Platform::WebHost::RegionalSite,
                                       Platform::WebHost::AppsWebServer, Platform::WebHost::BuildsPrimary,
                                       Platform::WebHost::BuildsFallback};
    for (Platform::WebHost host : hosts) {
        const QUrl url(Platform::webHost(host));
        QVERIFY2(url.isValid(), qPrintable(url.toString()));
        QVERIFY2(url.host().endsWith(QLatin1String(".invalid")), qPrintable(url.toString()));
        QVERIFY(!url.toString().endsWith(QLatin1Char('/')));
    }
    QVERIFY(Platform::webHost(Platform::WebHost::ContactMail).endsWith(QLatin1String(".invalid")));
}

void TestPlatform::hostOverrides()
{
    qputenv("ZINTROP_WEB_BASE", "http://127.0.0.1:4711/");
    QCOMPARE(Platform::webHost(Platform::WebHost::BuildsPrimary), QStringLiteral("http://127.0.0.1:4711"));
    QCOMPARE(Platform::webHost(Platform::WebHost::AppServer), QStringLiteral("http://127.0.0.1:4711"));
    // The contact address is no web host and keeps its value.
    QVERIFY(Platform::webHost(Platform::WebHost::ContactMail).contains(QLatin1Char('@')));

    qputenv("ZINTROP_HOST_BUILDS", "http://127.0.0.1:9");
    QCOMPARE(Platform::webHost(Platform::WebHost::BuildsPrimary), QStringLiteral("http://127.0.0.1:9"));
    QCOMPARE(Platform::webHost(Platform::WebHost::BuildsFallback), QStringLiteral("http://127.0.0.1:4711"));

    Platform::setWebHost(Platform::WebHost::BuildsPrimary, QStringLiteral("http://127.0.0.1:1/"));
    QCOMPARE(Platform::webHost(Platform::WebHost::BuildsPrimary), QStringLiteral("http://127.0.0.1:1"));
    Platform::setWebHost(Platform::WebHost::BuildsPrimary, QString());
    QCOMPARE(Platform::webHost(Platform::WebHost::BuildsPrimary), QStringLiteral("http://127.0.0.1:9"));
}

void TestPlatform::countrySites()
{
    QCOMPARE(QUrl(Platform::countrySite(QStringLiteral("de"))).host(), QStringLiteral("zintrop.de.invalid"));
    Platform::setCountrySitePattern(QStringLiteral("http://127.0.0.1:5/%1"));
    QCOMPARE(Platform::countrySite(QStringLiteral("org")), QStringLiteral("http://127.0.0.1:5/org"));
}

void TestPlatform::openUrlGoesThroughHook()
{
    QList<QUrl> seen;
    Platform::setUrlOpenHook([&seen](const QUrl& url) {
        seen << url;
        return false;
    });
    QVERIFY(Platform::hasUrlOpenHook());
    QCOMPARE(Platform::openUrl(QUrl(QStringLiteral("mailto:a@b.invalid"))), false);
    QCOMPARE(seen, QList<QUrl>{QUrl(QStringLiteral("mailto:a@b.invalid"))});
    Platform::setUrlOpenHook(Platform::UrlOpenHook());
    QVERIFY(!Platform::hasUrlOpenHook());

    // A link kept as text goes the same way, its blank encoded.
    Platform::setUrlOpenHook([&seen](const QUrl& url) {
        seen << url;
        return true;
    });
    seen.clear();
    QVERIFY(Platform::openLink(QStringLiteral("http://zintrop.invalid/zintrop lite")));
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().toString(QUrl::FullyEncoded), QStringLiteral("http://zintrop.invalid/zintrop%20lite"));
}

void TestPlatform::screenGrabGoesThroughHook()
{
    // The hook is asked for exactly the area wanted, and its picture is the
    // answer; removing it gives the display back, which here may show nothing.
    QList<QRect> asked;
    QPixmap desktop(40, 30);
    desktop.fill(Qt::magenta);
    Platform::setScreenGrabHook([&asked, desktop](const QRect& area) {
        asked << area;
        return desktop;
    });
    const QPixmap picture = Platform::grabScreenArea(QRect(5, 6, 40, 30));
    QCOMPARE(asked, QList<QRect>{QRect(5, 6, 40, 30)});
    QCOMPARE(picture.toImage(), desktop.toImage());

    const Platform::ScreenGrabHook previous = Platform::setScreenGrabHook(Platform::ScreenGrabHook());
    QVERIFY(previous);
    const QPixmap display = Platform::grabScreenArea(QRect(0, 0, 10, 10));
    QCOMPARE(asked.size(), 1);
    if (!display.isNull())
        QVERIFY(display.width() <= 10 && display.height() <= 10);
}

void TestPlatform::execQuoting_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << "/opt/zintrop/zintrop-lite" << "/opt/zintrop/zintrop-lite";
    QTest::newRow("blank") << "/opt/Zintrop Lite/app" << "\"/opt/Zintrop Lite/app\"";
    QTest::newRow("percent") << "/opt/100%/app" << "/opt/100%%/app";
    QTest::newRow("dollar") << "/opt/$x/app" << "\"/opt/\\\\$x/app\"";
    QTest::newRow("quote") << "/opt/a\"b" << "\"/opt/a\\\\\"b\"";
    QTest::newRow("backslash") << "/opt/a\\b" << "\"/opt/a\\\\\\\\b\"";
    QTest::newRow("line break") << "/opt/a\nb\rc" << "\"/opt/a\\nb\\rc\"";
    QTest::newRow("tab") << "/opt/a\tb" << "\"/opt/a\\tb\"";
}

void TestPlatform::execQuoting()
{
    QFETCH(QString, argument);
    QFETCH(QString, quoted);
    QCOMPARE(Platform::quoteExecArgument(argument), quoted);
}

void TestPlatform::autostartRoundTrip()
{
    const QString entry = QStringLiteral("corvane-test-app");
    QVERIFY(Platform::autostartEntryPath(entry).startsWith(g_home));
    QVERIFY(Platform::autostartEntryCommand(entry).isEmpty());

    QVERIFY(Platform::writeAutostartEntry(entry, QStringLiteral("Test App"), QStringLiteral("/opt/Test App/run")));
    QFile file(Platform::autostartEntryPath(entry));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.startsWith("[Desktop Entry]\n"));
    QVERIFY(content.contains("Type=Application\n"));
    QVERIFY(content.contains("Name=Test App\n"));
    QCOMPARE(Platform::autostartEntryCommand(entry), QStringLiteral("/opt/Test App/run"));

    QVERIFY(Platform::removeAutostartEntry(entry));
    QVERIFY(!QFile::exists(Platform::autostartEntryPath(entry)));
    QVERIFY(Platform::autostartEntryCommand(entry).isEmpty());
    QVERIFY(Platform::removeAutostartEntry(entry));  // nothing left to remove
}

void TestPlatform::autostartEntryIsEscaped_data()
{
    addAwkwardEntries();
}

// Whatever the name and the path hold, the entry keeps its four keys, and
// the program read back is the one written.
void TestPlatform::autostartEntryIsEscaped()
{
    QFETCH(QString, name);
    QFETCH(QString, program);
    QFETCH(QString, nameLine);
    const QString entry = QStringLiteral("corvane-escaped");
    QVERIFY(Platform::writeAutostartEntry(entry, name, program));
    QFile file(Platform::autostartEntryPath(entry));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList keys;
    for (const QString& line : lines.mid(1))
        keys << line.section(QLatin1Char('='), 0, 0);
    QCOMPARE(lines.value(0), QStringLiteral("[Desktop Entry]"));
    QCOMPARE(keys, (QStringList{"Type", "Name", "Exec", "X-GNOME-Autostart-enabled"}));
    QCOMPARE(lines.value(2), nameLine);
    QCOMPARE(Platform::autostartEntryCommand(entry), program);
    QVERIFY(Platform::removeAutostartEntry(entry));
}

void TestPlatform::autostartEntryPassesValidator_data()
{
    addAwkwardEntries();
}

// The desktop environment's own checker takes the entry as it is.
void TestPlatform::autostartEntryPassesValidator()
{
    QFETCH(QString, name);
    QFETCH(QString, program);
    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate (package desktop-file-utils) is not installed");
    const QString entry = QStringLiteral("corvane-validated");
    QVERIFY(Platform::writeAutostartEntry(entry, name, program));
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(validator, {Platform::autostartEntryPath(entry)});
    QVERIFY(check.waitForFinished(30000));
    const QByteArray output = check.readAll();
    QVERIFY2(check.exitStatus() == QProcess::NormalExit && check.exitCode() == 0 && output.isEmpty(),
             output.constData());
    QVERIFY(Platform::removeAutostartEntry(entry));
}

void TestPlatform::fileManagerWithoutBusFailsAtOnce()
{
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!Platform::showItemInFileManager(g_home + QStringLiteral("/a.png")));
    QVERIFY2(timer.elapsed() < 5000, "must not wait for a bus");
}

void TestPlatform::openFolderKeepsSpecialCharacters_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("hash") << "/tmp/a #1";
    QTest::newRow("question") << "/tmp/what?/x";
    QTest::newRow("percent") << "/tmp/100%";
    QTest::newRow("non-ascii") << QString::fromUtf8("/tmp/Bilder ä");
}

void TestPlatform::openFolderKeepsSpecialCharacters()
{
    QFETCH(QString, folder);
    QUrl opened;
    Platform::setUrlOpenHook([&opened](const QUrl& url) {
        opened = url;
        return true;
    });
    QVERIFY(Platform::openFolder(folder));
    QVERIFY(opened.isLocalFile());
    QCOMPARE(opened.toLocalFile(), folder);
}

void TestPlatform::sessionWatcherWithoutBus()
{
    Platform::SessionWatcher watcher;
    QVERIFY(!watcher.isWatchingLogind());
    QSignalSpy ending(&watcher, &Platform::SessionWatcher::sessionEnding);
    QSignalSpy suspending(&watcher, &Platform::SessionWatcher::suspending);
    QSignalSpy resumed(&watcher, &Platform::SessionWatcher::resumed);
    // logind's signals as they would arrive from the bus.
    QVERIFY(QMetaObject::invokeMethod(&watcher, "slotPrepareForSleep", Q_ARG(bool, true)));
    QVERIFY(QMetaObject::invokeMethod(&watcher, "slotPrepareForSleep", Q_ARG(bool, false)));
    QVERIFY(QMetaObject::invokeMethod(&watcher, "slotPrepareForShutdown", Q_ARG(bool, false)));
    QVERIFY(QMetaObject::invokeMethod(&watcher, "slotPrepareForShutdown", Q_ARG(bool, true)));
    QCOMPARE(suspending.count(), 1);
    QCOMPARE(resumed.count(), 1);
    QCOMPARE(ending.count(), 1);
}

void TestPlatform::windowsVersion()
{
    QCOMPARE(Platform::windowsVersion(), 0);
    Platform::setWindowsVersionForTesting(0xC0);
    QCOMPARE(Platform::windowsVersion(), 0xC0);
    Platform::setWindowsVersionForTesting(-1);
    QCOMPARE(Platform::windowsVersion(), 0);
}

int main(int argc, char* argv[])
{
    // Nothing may reach the user's files or buses.
    QTemporaryDir home;
    const QByteArray path = QFile::encodeName(home.path());
    qputenv("HOME", path);
    qputenv("XDG_CONFIG_HOME", path + "/.config");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + path + "/no-session-bus");
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + path + "/no-system-bus");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    g_home = home.path();
    TestPlatform test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_platform.moc"
