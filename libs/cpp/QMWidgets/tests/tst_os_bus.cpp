#include "Os.h"
#include "QMTest.h"

#include "SessionWatcher.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

namespace {

// Stands in for the desktop's file manager on a private session bus.
class FakeFileManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList m_slUris;
    QString m_strStartupId;
    int m_nCalls = 0;

public slots:
    void ShowItems(const QStringList& uris, const QString& startupId)
    {
        m_slUris = uris;
        m_strStartupId = startupId;
        ++m_nCalls;
    }
};

}  // namespace

// The desktop services reached over the bus, on a bus of the test's own
// that stands in for both the session and the system bus: showing a file
// through the freedesktop file manager interface, and logind's sleep and
// shutdown notices.
class TestOsBus : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void fallbackWhenNoFileManager();
    void selectsTheFileInTheFileManager();
    void logindNoticesBecomeSignals();

private:
    QProcess m_busDaemon;
    QThread m_serviceThread;
    FakeFileManager* m_pService = nullptr;
    QString m_strAddress;
};

void TestOsBus::initTestCase()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        QSKIP("dbus-daemon is not installed");
    m_busDaemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                               QStringLiteral("--print-address=1")});
    QVERIFY(m_busDaemon.waitForStarted(10000));
    QVERIFY(m_busDaemon.waitForReadyRead(10000));
    m_strAddress = QString::fromLatin1(m_busDaemon.readLine()).trimmed();
    QVERIFY(!m_strAddress.isEmpty());
    // The program's own connections are made on first use, after this.
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_strAddress.toLatin1());
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_strAddress.toLatin1());
}

void TestOsBus::cleanupTestCase()
{
    if (m_pService) {
        QDBusConnection service = QDBusConnection(QStringLiteral("fake-file-manager"));
        service.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-file-manager"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-logind"));
        m_pService->deleteLater();
    }
    m_serviceThread.quit();
    m_serviceThread.wait(10000);
    if (m_busDaemon.state() != QProcess::NotRunning) {
        m_busDaemon.terminate();
        if (!m_busDaemon.waitForFinished(5000)) {
            m_busDaemon.kill();
            m_busDaemon.waitForFinished(5000);
        }
    }
}

void TestOsBus::fallbackWhenNoFileManager()
{
    // A bus without the service answers at once; the folder opens instead.
    QMTest::UrlRecorder recorder;
    QVERIFY(Os::showFileInExplorer(QStringLiteral("/tmp/a #1/b.png")));
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last().toLocalFile(), QStringLiteral("/tmp/a #1"));
}

void TestOsBus::selectsTheFileInTheFileManager()
{
    // The service lives on its own thread: the program's call blocks its own.
    m_serviceThread.start();
    m_pService = new FakeFileManager;
    m_pService->moveToThread(&m_serviceThread);
    QDBusConnection service = QDBusConnection::connectToBus(m_strAddress, QStringLiteral("fake-file-manager"));
    QVERIFY(service.isConnected());
    QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), m_pService,
                                   QDBusConnection::ExportAllSlots));
    QVERIFY(service.registerService(QStringLiteral("org.freedesktop.FileManager1")));

    QMTest::UrlRecorder recorder;
    QVERIFY(Os::showFileInExplorer(QStringLiteral("/tmp//a #1//b c.png")));
    QCOMPARE(recorder.count(), 0);  // no fallback
    QCOMPARE(m_pService->m_nCalls, 1);
    QCOMPARE(m_pService->m_slUris.size(), 1);
    QCOMPARE(QUrl(m_pService->m_slUris.first()).toLocalFile(), QStringLiteral("/tmp/a #1/b c.png"));
    QVERIFY(m_pService->m_strStartupId.isEmpty());
}

void TestOsBus::logindNoticesBecomeSignals()
{
    QDBusConnection logind = QDBusConnection::connectToBus(m_strAddress, QStringLiteral("fake-logind"));
    QVERIFY(logind.isConnected());
    QVERIFY(logind.registerService(QStringLiteral("org.freedesktop.login1")));

    Os* pOs = Os::instance();
    auto* pWatcher = pOs->findChild<Platform::SessionWatcher*>();
    QVERIFY(pWatcher);
    QVERIFY(pWatcher->isWatchingLogind());
    QSignalSpy standby(pOs, &Os::atSwitchToStandBy);
    QSignalSpy wake(pOs, &Os::atWakeUpFromStandBy);
    QSignalSpy logout(pOs, &Os::atUserLogout);

    auto notice = [&logind](const char* member, bool start) {
        QDBusMessage message = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                                          QStringLiteral("org.freedesktop.login1.Manager"),
                                                          QLatin1String(member));
        message << start;
        QVERIFY(logind.send(message));
    };
    notice("PrepareForSleep", true);
    QTRY_COMPARE(standby.count(), 1);
    QVERIFY(pOs->inStandBy);
    notice("PrepareForSleep", false);
    QTRY_COMPARE(wake.count(), 1);
    QVERIFY(!pOs->inStandBy);
    notice("PrepareForShutdown", true);
    QTRY_COMPARE(logout.count(), 1);
    QCOMPARE(standby.count(), 1);
}

QMTEST_APP_MAIN(TestOsBus)
#include "tst_os_bus.moc"
