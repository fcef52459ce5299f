#include "Os.h"
#include "QMTest.h"

#include "Autostart.h"
#include "SessionWatcher.h"

#include <QDialog>
#include <QFileDialog>
#include <QTemporaryDir>

namespace {

struct Step {
    quint32 message;
    quintptr wParam;
};

QFileDialog* asFileDialog(QWidget* pWidget)
{
    return qobject_cast<QFileDialog*>(pWidget);
}

}  // namespace

Q_DECLARE_METATYPE(QList<quint32>)

// The platform helpers: file manager fallback, standby state, autostart,
// file dialogs and the small constants.
class TestOs : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void fileManagerPath_data();
    void fileManagerPath();
    void showFileOpensFolderWithoutFileManager_data();
    void showFileOpensFolderWithoutFileManager();
    void showFileReportsFailedFallback();

    void hookWithoutInstance();
    void standbyStates_data();
    void standbyStates();
    void desktopNoticesReachSignals();
    void instanceLifecycle();

    void autostart();
    void constants();

    void openWithParentCancelled();
    void openWithParentAccepted();
    void openSeveralWithParent();
    void saveWithParent();
    void openWithoutParentFillsFilter();
    void scriptedDialogsAnswerInOrder();

private:
    QTemporaryDir m_dir;
};

void TestOs::fileManagerPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("doubled") << "X://photos//a.png" << "X:/photos/a.png";
    QTest::newRow("three") << "/a///b.png" << "/a//b.png";
    QTest::newRow("four") << "/a////b.png" << "/a//b.png";
    QTest::newRow("plain") << "/home/u/a.png" << "/home/u/a.png";
}

void TestOs::fileManagerPath()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(Os::fileManagerPath(path), expected);
}

void TestOs::showFileOpensFolderWithoutFileManager_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::newRow("hash") << "/tmp/a #1/b.png" << "/tmp/a #1";
    QTest::newRow("question") << "/tmp/why?/b.png" << "/tmp/why?";
    QTest::newRow("percent") << "/tmp/100% done/b.png" << "/tmp/100% done";
    QTest::newRow("non-ascii") << QString::fromUtf8("/tmp/Bilder äö/b.png") << QString::fromUtf8("/tmp/Bilder äö");
    QTest::newRow("doubled slashes") << "/tmp//x//b.png" << "/tmp/x";
}

void TestOs::showFileOpensFolderWithoutFileManager()
{
    // The tests run without a session bus, so the folder opens instead.
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QMTest::UrlRecorder recorder;
    QVERIFY(Os::showFileInExplorer(path));
    QCOMPARE(recorder.count(), 1);
    QVERIFY(recorder.last().isLocalFile());
    QCOMPARE(recorder.last().toLocalFile(), folder);
}

void TestOs::showFileReportsFailedFallback()
{
    QMTest::UrlRecorder recorder;
    recorder.setAnswer(false);
    QVERIFY(!Os::showFileInExplorer(QStringLiteral("/tmp/gone/a.png")));
    QCOMPARE(recorder.count(), 1);
}

void TestOs::hookWithoutInstance()
{
    Os::NativeMessage message;
    message.message = Os::kPowerBroadcast;
    message.wParam = Os::kPowerSuspend;
    QVERIFY(!Os::nativeEventHook(message));
}

void TestOs::standbyStates_data()
{
    QTest::addColumn<QList<quint32>>("steps");  // message << 16 | wParam
    QTest::addColumn<QStringList>("emitted");
    const quint32 suspend = Os::kPowerBroadcast << 16 | Os::kPowerSuspend;
    const quint32 resume = Os::kPowerBroadcast << 16 | Os::kPowerResumeAutomatic;
    const quint32 logout = Os::kEndSession << 16;
    const quint32 other = 0x0218u << 16 | 7;
    QTest::newRow("suspend resume") << QList<quint32>{suspend, resume} << QStringList{"standby", "wake"};
    QTest::newRow("repeated") << QList<quint32>{suspend, suspend, resume, resume} << QStringList{"standby", "wake"};
    QTest::newRow("resume first") << QList<quint32>{resume} << QStringList{};
    QTest::newRow("logout") << QList<quint32>{logout, logout} << QStringList{"logout", "logout"};
    QTest::newRow("other power event") << QList<quint32>{other, 0x0001u << 16} << QStringList{};
    QTest::newRow("twice around") << QList<quint32>{suspend, resume, suspend, resume}
                                  << QStringList{"standby", "wake", "standby", "wake"};
}

void TestOs::standbyStates()
{
    QFETCH(QList<quint32>, steps);
    QFETCH(QStringList, emitted);
    Os* pOs = Os::instance();
    pOs->inStandBy = false;
    QStringList seen;
    QObject context;
    connect(pOs, &Os::atSwitchToStandBy, &context, [&seen] { seen << QStringLiteral("standby"); });
    connect(pOs, &Os::atWakeUpFromStandBy, &context, [&seen] { seen << QStringLiteral("wake"); });
    connect(pOs, &Os::atUserLogout, &context, [&seen] { seen << QStringLiteral("logout"); });
    connect(pOs, &Os::atWorkspaceChanged, &context, [&seen] { seen << QStringLiteral("workspace"); });
    for (quint32 step : steps) {
        Os::NativeMessage message;
        message.message = step >> 16;
        message.wParam = step & 0xffff;
        QVERIFY(!Os::nativeEventHook(message));  // never consumed
    }
    QCOMPARE(seen, emitted);
}

void TestOs::desktopNoticesReachSignals()
{
    Os* pOs = Os::instance();
    pOs->inStandBy = false;
    auto* pWatcher = pOs->findChild<Platform::SessionWatcher*>();
    QVERIFY(pWatcher);
    QSignalSpy standby(pOs, &Os::atSwitchToStandBy);
    QSignalSpy wake(pOs, &Os::atWakeUpFromStandBy);
    QSignalSpy logout(pOs, &Os::atUserLogout);
    emit pWatcher->suspending();
    emit pWatcher->suspending();
    emit pWatcher->resumed();
    emit pWatcher->sessionEnding();
    QCOMPARE(standby.count(), 1);
    QCOMPARE(wake.count(), 1);
    QCOMPARE(logout.count(), 1);
    QVERIFY(!pOs->inStandBy);
}

void TestOs::instanceLifecycle()
{
    Os* pFirst = Os::instance();
    QCOMPARE(Os::instance(), pFirst);
    pFirst->inStandBy = true;
    delete pFirst;
    Os::NativeMessage message;
    message.message = Os::kEndSession;
    QVERIFY(!Os::nativeEventHook(message));  // no instance: nothing happens
    Os* pSecond = Os::instance();
    QVERIFY(pSecond);
    QVERIFY(!pSecond->inStandBy);
}

void TestOs::autostart()
{
    Os::setAutostart(false);
    QVERIFY(!Os::isAutostartEnabled());
    Os::setAutostart(true);
    QVERIFY(Os::isAutostartEnabled());
    QCOMPARE(Os::autostartEntryName(), QStringLiteral("corvane-zintrop-lite"));
    const QString entry = Platform::autostartEntryPath(Os::autostartEntryName());
    QVERIFY2(entry.startsWith(QMTest::temporaryHome()), qPrintable(entry));
    QCOMPARE(Platform::autostartEntryCommand(Os::autostartEntryName()), QCoreApplication::applicationFilePath());
    Os::setAutostart(false);
    QVERIFY(!Os::isAutostartEnabled());
    QVERIFY(!QFile::exists(entry));
}

void TestOs::constants()
{
    QCOMPARE(Os::devicePixelRatio(), 1.0);
    QCOMPARE(Os::libraryFileName(QStringLiteral("png")), QStringLiteral("libpng.so"));
    QCOMPARE(Os::windowsVersion(), 0);
}

void TestOs::openWithParentCancelled()
{
    QWidget parent;
    QMTest::ModalAnswerer answer(QMTest::ModalAnswerer::reject());
    QString filter = QStringLiteral("untouched");
    const QString result = Os::getOpenFileName(&parent, QStringLiteral("Open"), m_dir.path(),
                                               QStringLiteral("Images (*.png)"), &filter);
    QVERIFY(answer.answered());
    QVERIFY(result.isEmpty());
    QCOMPARE(filter, QStringLiteral("untouched"));
}

void TestOs::openWithParentAccepted()
{
    const QString file = m_dir.path() + QStringLiteral("/a.png");
    QVERIFY(QMTest::writeFile(file, QByteArray()));
    QWidget parent;
    bool bRightMode = false;
    QMTest::ModalAnswerer answer([&](QWidget* pWidget) {
        QFileDialog* pDialog = asFileDialog(pWidget);
        bRightMode = pDialog && pDialog->fileMode() == QFileDialog::ExistingFile
                     && pDialog->testOption(QFileDialog::DontUseNativeDialog);
        QVERIFY(QMTest::typeIntoFileDialog(pDialog, file));
    });
    QString filter = QStringLiteral("untouched");
    const QString result = Os::getOpenFileName(&parent, QStringLiteral("Open"), m_dir.path(),
                                               QStringLiteral("Images (*.png)"), &filter,
                                               QFileDialog::DontUseNativeDialog);
    QVERIFY(answer.answered());
    QVERIFY(bRightMode);
    QCOMPARE(result, file);
    QCOMPARE(filter, QStringLiteral("untouched"));  // neither applied nor filled with a parent
}

void TestOs::openSeveralWithParent()
{
    QStringList files;
    for (const char* name : {"x.png", "y.png"}) {
        files << m_dir.path() + QLatin1Char('/') + QLatin1String(name);
        QVERIFY(QMTest::writeFile(files.last(), QByteArray()));
    }
    QWidget parent;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    QMTest::ModalAnswerer answer([&](QWidget* pWidget) {
        QFileDialog* pDialog = asFileDialog(pWidget);
        mode = pDialog->fileMode();
        QVERIFY(QMTest::typeIntoFileDialog(pDialog, QStringLiteral("\"x.png\" \"y.png\"")));
    });
    QStringList result = Os::getOpenFileNames(&parent, QStringLiteral("Open"), m_dir.path(), QString());
    QVERIFY(answer.answered());
    QCOMPARE(mode, QFileDialog::ExistingFiles);
    result.sort();
    QCOMPARE(result, files);
}

void TestOs::saveWithParent()
{
    QWidget parent;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    QMTest::ModalAnswerer answer([&](QWidget* pWidget) {
        QFileDialog* pDialog = asFileDialog(pWidget);
        acceptMode = pDialog->acceptMode();
        QVERIFY(QMTest::typeIntoFileDialog(pDialog, m_dir.path() + QStringLiteral("/new.css")));
    });
    const QString result = Os::getSaveFileName(&parent, QStringLiteral("Save"), m_dir.path(), QString());
    QVERIFY(answer.answered());
    QCOMPARE(acceptMode, QFileDialog::AcceptSave);
    QCOMPARE(result, m_dir.path() + QStringLiteral("/new.css"));
}

void TestOs::openWithoutParentFillsFilter()
{
    const QString file = m_dir.path() + QStringLiteral("/b.png");
    QVERIFY(QMTest::writeFile(file, QByteArray()));
    QMTest::ModalAnswerer answer([&](QWidget* pWidget) {
        QFileDialog* pDialog = asFileDialog(pWidget);
        QVERIFY(pDialog);
        pDialog->selectNameFilter(QStringLiteral("Images (*.png)"));
        QVERIFY(QMTest::typeIntoFileDialog(pDialog, file));
    });
    QString filter;
    const QString result = Os::getOpenFileName(nullptr, QStringLiteral("Open"), m_dir.path(),
                                               QStringLiteral("All (*);;Images (*.png)"), &filter,
                                               QFileDialog::DontUseNativeDialog);
    QVERIFY(answer.answered());
    QCOMPARE(result, file);
    QCOMPARE(filter, QStringLiteral("Images (*.png)"));
}

void TestOs::scriptedDialogsAnswerInOrder()
{
    // A scripted answer replaces the dialog (no modal window comes up), the
    // request carries what the caller asked, and the script runs in order,
    // Cancel included; once it is used up every dialog is cancelled.
    QWidget parent;
    const QString file = m_dir.path() + QStringLiteral("/s.png");
    {
        QMTest::ScriptedFileDialogs script;
        script.answer(file);
        script.answer(QString());
        script.answer(QStringList{file, file + QStringLiteral("2")});
        QCOMPARE(Os::getSaveFileName(&parent, QStringLiteral("Save Picture"), m_dir.path(), QStringLiteral("*.png")),
                 file);
        QCOMPARE(Os::getOpenFileName(nullptr, QStringLiteral("Open"), QString(), QString()), QString());
        QCOMPARE(Os::getOpenFileNames(&parent, QStringLiteral("Open"), QString(), QString()),
                 (QStringList{file, file + QStringLiteral("2")}));
        QCOMPARE(Os::getOpenFileName(&parent, QStringLiteral("Open"), QString(), QString()), QString());

        const QList<Os::FileDialogRequest> requests = script.requests();
        QCOMPARE(requests.size(), 4);
        QCOMPARE(requests[0].kind, Os::FileDialogRequest::SaveFile);
        QCOMPARE(requests[0].pParent, &parent);
        QCOMPARE(requests[0].caption, QStringLiteral("Save Picture"));
        QCOMPARE(requests[0].dir, m_dir.path());
        QCOMPARE(requests[0].filter, QStringLiteral("*.png"));
        QCOMPARE(requests[1].kind, Os::FileDialogRequest::OpenFile);
        QCOMPARE(requests[2].kind, Os::FileDialogRequest::OpenFiles);
    }
    // Without the script the real dialog is back.
    QMTest::ModalAnswerer answer(QMTest::ModalAnswerer::reject());
    QVERIFY(Os::getOpenFileName(&parent, QStringLiteral("Open"), m_dir.path(), QString()).isEmpty());
    QVERIFY(answer.answered());
}

QMTEST_APP_MAIN(TestOs)
#include "tst_os.moc"
