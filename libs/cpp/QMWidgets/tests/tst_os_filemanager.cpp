#include "Os.h"
#include "QMTest.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
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

// Showing a file through the freedesktop file manager interface, on a
// session bus of the test's own.
class TestOsFileManager : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void fallbackWhenNoFileManager();
    void selectsTheFileInTheFileManager();

private:
    QProcess m_busDaemon;
    QThread m_serviceThread;
    FakeFileManager* m_pService = nullptr;
    QString m_strAddress;
};

void TestOsFileManager::initTestCase()
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
    // The program's own connection is made on first use, after this.
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_strAddress.toLatin1());
}

void TestOsFileManager::cleanupTestCase()
{
    if (m_pService) {
        QDBusConnection service = QDBusConnection(QStringLiteral("fake-file-manager"));
        service.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-file-manager"));
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

void TestOsFileManager::fallbackWhenNoFileManager()
{
    // A bus without the service answers at once; the folder opens instead.
    QMTest::UrlRecorder recorder;
    QVERIFY(Os::showFileInExplorer(QStringLiteral("/tmp/a #1/b.png")));
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last().toLocalFile(), QStringLiteral("/tmp/a #1"));
}

void TestOsFileManager::selectsTheFileInTheFileManager()
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

QMTEST_APP_MAIN(TestOsFileManager)
#include "tst_os_filemanager.moc"
