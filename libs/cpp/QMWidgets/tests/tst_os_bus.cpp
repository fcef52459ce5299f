#include "Os.h"
#include "QMTest.h"

#include "FileManager.h"
#include "SessionWatcher.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QSemaphore>
#include <QStandardPaths>
#include <QThread>

#include <atomic>

namespace {

// Stands in for the desktop's file manager on a private session bus. It lives
// on a thread of its own and holds every call until the test lets it answer,
// so the test can tell whether the program waited for the answer.
class FakeFileManager : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QSemaphore m_gate;                 // one release lets one call answer
    std::atomic<bool> m_bRefuse{false}; // answer with an error
    std::atomic<int> m_nCalls{0};
    std::atomic<int> m_nAnswered{0};
    QMutex m_mutex;
    QStringList m_slUris;
    QString m_strStartupId;

public slots:
    void ShowItems(const QStringList& uris, const QString& startupId)
    {
        {
            QMutexLocker lock(&m_mutex);
            m_slUris = uris;
            m_strStartupId = startupId;
        }
        ++m_nCalls;
        m_gate.tryAcquire(1, 20000);
        if (m_bRefuse)
            sendErrorReply(QDBusError::Failed, QStringLiteral("cannot show the file"));
        ++m_nAnswered;
    }

    // Answered after every earlier call: once its answer is in, so are theirs.
    int Ping() { return m_nAnswered; }
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
    void selectsTheFileWithoutWaiting();
    void refusalOpensTheFolder();
    void lateAnswerIsNoFailure();
    void logindNoticesBecomeSignals();

private:
    void startFileManager();
    // Waits until every answer the file manager gave has reached the
    // program and been handled.
    void settleAnswers();

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
        m_pService->m_gate.release(100);
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

void TestOsBus::startFileManager()
{
    if (m_pService)
        return;
    m_serviceThread.start();
    m_pService = new FakeFileManager;
    m_pService->moveToThread(&m_serviceThread);
    QDBusConnection service = QDBusConnection::connectToBus(m_strAddress, QStringLiteral("fake-file-manager"));
    QVERIFY(service.isConnected());
    QVERIFY(service.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), m_pService,
                                   QDBusConnection::ExportAllSlots));
    QVERIFY(service.registerService(QStringLiteral("org.freedesktop.FileManager1")));
}

void TestOsBus::settleAnswers()
{
    QDBusMessage ping = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("Ping"));
    // On the program's own connection, so its answers come in before this one.
    const QDBusMessage reply = QDBusConnection::sessionBus().call(ping, QDBus::Block, 10000);
    QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
    QTest::qWait(50);
}

void TestOsBus::fallbackWhenNoFileManager()
{
    // A bus without the service says so; the folder opens instead.
    QMTest::UrlRecorder recorder;
    QVERIFY(Os::showFileInExplorer(QStringLiteral("/tmp/a #1/b.png")));
    QTRY_COMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last().toLocalFile(), QStringLiteral("/tmp/a #1"));
    QTest::qWait(100);
    QCOMPARE(recorder.count(), 1);
}

void TestOsBus::selectsTheFileWithoutWaiting()
{
    startFileManager();
    QMTest::UrlRecorder recorder;
    // The file manager holds its answer: the call must come back meanwhile.
    QVERIFY(Os::showFileInExplorer(QStringLiteral("/tmp//a #1//b c.png")));
    QCOMPARE(m_pService->m_nAnswered.load(), 0);
    QTRY_COMPARE(m_pService->m_nCalls.load(), 1);
    {
        QMutexLocker lock(&m_pService->m_mutex);
        QCOMPARE(m_pService->m_slUris.size(), 1);
        QCOMPARE(QUrl(m_pService->m_slUris.first()).toLocalFile(), QStringLiteral("/tmp/a #1/b c.png"));
        QVERIFY(m_pService->m_strStartupId.isEmpty());
    }
    m_pService->m_gate.release();
    settleAnswers();
    QCOMPARE(m_pService->m_nAnswered.load(), 1);
    QCOMPARE(recorder.count(), 0);  // the file manager showed it: no second window
}

void TestOsBus::refusalOpensTheFolder()
{
    startFileManager();
    m_pService->m_bRefuse = true;
    QMTest::UrlRecorder recorder;
    const int before = m_pService->m_nCalls;
    QVERIFY(Os::showFileInExplorer(QStringLiteral("/tmp/gone #2/c.png")));
    QTRY_COMPARE(m_pService->m_nCalls.load(), before + 1);
    QCOMPARE(recorder.count(), 0);  // nothing before the answer
    m_pService->m_gate.release();
    QTRY_COMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last().toLocalFile(), QStringLiteral("/tmp/gone #2"));
    m_pService->m_bRefuse = false;
}

void TestOsBus::lateAnswerIsNoFailure()
{
    // A file manager that starts on demand answers late; the short limit
    // here runs out long before it does.
    startFileManager();
    int failures = 0;
    const int before = m_pService->m_nCalls;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(Platform::showItemInFileManager(QStringLiteral("/tmp/late.png"), [&failures] { ++failures; }, 100));
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QTRY_COMPARE(m_pService->m_nCalls.load(), before + 1);
    QTest::qWait(400);  // well past the limit
    QCOMPARE(failures, 0);
    m_pService->m_gate.release();
    settleAnswers();
    QCOMPARE(failures, 0);
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
