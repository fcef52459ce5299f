#include "QMTest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using QMWidgets::App;

namespace {

// Child process modes: report the first-run flag, or the start-up hooks
// that ran, and exit.
const char* const kProbeArgument = "--probe-first-run";
const char* const kHooksArgument = "--probe-hooks";

QString g_strHookTrace;
void firstHook() { g_strHookTrace += QLatin1Char('1'); }
void secondHook() { g_strHookTrace += QLatin1Char('2'); }

QByteArray patternBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 977) & 0xff);
    return bytes;
}

}  // namespace

// Standard folders, the resources path, the last used folders, the first-run
// test and the file copy.
class TestAppFolders : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void folderTable_data();
    void folderTable();
    void foldersCreatedOnlyOnDemand();
    void workFolderCreatedAtStart();
    void resourcesBesideExecutable();
    void lastFolders();
    void firstRunAnyExecutableName();
    void startUpHooksRunInOrder();

    void copyIntoNewFolder();
    void copyKeepsExistingTarget();
    void copyNeverWritesThroughALink();
    void copyLargeFileInBlocks();
    void copyMissingSource();
    void copyShortWriteLeavesNothing();
    void copyUnwritableTarget();
    void copyToSupportFolder();
};

void TestAppFolders::folderTable_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    const QString org = QStringLiteral("/Corvane/Zintrop Lite/");
    auto first = [](QStandardPaths::StandardLocation l) { return QStandardPaths::standardLocations(l).value(0); };
    QTest::newRow("support") << App::supportDirectory() << first(QStandardPaths::AppDataLocation);
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QTest::newRow("data") << App::dataDirectory() << first(QStandardPaths::DataLocation) + "/";
    QT_WARNING_POP
    QTest::newRow("documents") << App::documentsDirectory() << first(QStandardPaths::DocumentsLocation) + org;
    QTest::newRow("caches") << App::cachesDirectory() << first(QStandardPaths::CacheLocation);
    QTest::newRow("pictures") << App::picturesDirectory() << first(QStandardPaths::PicturesLocation) + org;
    QTest::newRow("music") << App::musicDirectory() << first(QStandardPaths::MusicLocation) + org;
    QTest::newRow("movies") << App::moviesDirectory() << first(QStandardPaths::MoviesLocation) + org;
    QTest::newRow("work") << App::workDirectory() << QDir::homePath() + "/Zintrop Lite/";
    QTest::newRow("downloads") << App::downloadsDirectory() << QDir::homePath() + "/Zintrop Lite/";
}

void TestAppFolders::folderTable()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(path, expected);
    QVERIFY2(path.startsWith(QMTest::temporaryHome()), qPrintable(path));
    const bool noSlash = QByteArray(QTest::currentDataTag()) == "support"
                         || QByteArray(QTest::currentDataTag()) == "caches";
    QCOMPARE(path.endsWith(QLatin1Char('/')), !noSlash);
}

void TestAppFolders::foldersCreatedOnlyOnDemand()
{
    QVERIFY(!QFileInfo::exists(App::moviesDirectory(false)));
    QVERIFY(!QFileInfo::exists(App::moviesDirectory(false)));
    const QString pictures = App::picturesDirectory(true);
    QVERIFY(QFileInfo(pictures).isDir());
    const QString support = App::supportDirectory(true);
    QVERIFY(QFileInfo(support).isDir());
    // Asking again with create on an existing folder changes nothing.
    QCOMPARE(App::picturesDirectory(true), pictures);
}

void TestAppFolders::workFolderCreatedAtStart()
{
    QVERIFY(QFileInfo(App::workDirectory(false)).isDir());
}

void TestAppFolders::resourcesBesideExecutable()
{
    QCOMPARE(App::instance()->resourcesPath(), QCoreApplication::applicationDirPath() + "/Resources/");
}

void TestAppFolders::lastFolders()
{
    App* pApp = App::instance();
    QCOMPARE(pApp->lastOpenDirectory(), App::workDirectory());
    QCOMPARE(pApp->lastSaveDirectory(), App::workDirectory());
    pApp->setLastOpenPath(QStringLiteral("/tmp/x/y/a.png"));
    pApp->setLastSavePath(QStringLiteral("/tmp/z/b.png"));
    QCOMPARE(pApp->lastOpenDirectory(), QStringLiteral("/tmp/x/y"));
    QCOMPARE(pApp->lastSaveDirectory(), QStringLiteral("/tmp/z"));
}

void TestAppFolders::firstRunAnyExecutableName()
{
    // Two runs of a program under a fresh HOME: the first is a first run, the
    // second is not. This program's file name is not the application name.
    QVERIFY(QCoreApplication::applicationFilePath().contains(QLatin1String("tst_app_folders")));
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + "/.config");
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path() + "/.local/share");
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home.path() + "/.cache");
    QStringList answers;
    for (int run = 0; run < 2; ++run) {
        QProcess probe;
        probe.setProcessEnvironment(env);
        probe.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kProbeArgument)});
        QVERIFY(probe.waitForFinished(30000));
        QCOMPARE(probe.exitCode(), 0);
        answers << QString::fromLatin1(probe.readAllStandardOutput()).trimmed();
    }
    QCOMPARE(answers, (QStringList{QStringLiteral("first"), QStringLiteral("again")}));
}

void TestAppFolders::startUpHooksRunInOrder()
{
    QProcess probe;
    probe.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kHooksArgument)});
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.exitCode(), 0);
    QCOMPARE(QString::fromLatin1(probe.readAllStandardOutput()).trimmed(), QStringLiteral("12"));
}

void TestAppFolders::copyIntoNewFolder()
{
    QTemporaryDir dir;
    const QString source = dir.path() + "/source file.png";
    QVERIFY(QMTest::writeFile(source, patternBytes(1000)));
    const QString folder = dir.path() + "/new/deeper";
    QVERIFY(App::copyFileToDirectory(source, folder, QString()));
    QCOMPARE(QMTest::readFile(folder + "/source file.png"), patternBytes(1000));
    QVERIFY(App::copyFileToDirectory(source, folder, QStringLiteral("other.png")));
    QCOMPARE(QMTest::readFile(folder + "/other.png"), patternBytes(1000));
}

void TestAppFolders::copyKeepsExistingTarget()
{
    QTemporaryDir dir;
    const QString source = dir.path() + "/a.png";
    QVERIFY(QMTest::writeFile(source, patternBytes(500)));
    QVERIFY(QDir().mkpath(dir.path() + "/out"));
    QVERIFY(QMTest::writeFile(dir.path() + "/out/a.png", "old"));
    QVERIFY(App::copyFileToDirectory(source, dir.path() + "/out", QString()));
    QCOMPARE(QMTest::readFile(dir.path() + "/out/a.png"), QByteArray("old"));
}

// A link in the target's place, pointing nowhere: the copy must not create
// the file it points at (it could lie anywhere) and reports that it failed.
void TestAppFolders::copyNeverWritesThroughALink()
{
    QTemporaryDir dir;
    const QString source = dir.path() + "/a.png";
    QVERIFY(QMTest::writeFile(source, patternBytes(500)));
    QVERIFY(QDir().mkpath(dir.path() + "/out"));
    const QString elsewhere = dir.path() + "/elsewhere.png";
    QVERIFY(QFile::link(elsewhere, dir.path() + "/out/a.png"));
    QVERIFY(!App::copyFileToDirectory(source, dir.path() + "/out", QString()));
    QVERIFY(!QFileInfo::exists(elsewhere));
    QVERIFY(QFileInfo(dir.path() + "/out/a.png").isSymLink());
}

void TestAppFolders::copyLargeFileInBlocks()
{
    // Several blocks and a partial last one.
    QTemporaryDir dir;
    const QByteArray bytes = patternBytes(3 * 1024 * 1024 + 12345);
    QVERIFY(QMTest::writeFile(dir.path() + "/big.bin", bytes));
    QVERIFY(App::copyFileToDirectory(dir.path() + "/big.bin", dir.path() + "/out", QString()));
    QCOMPARE(QMTest::readFile(dir.path() + "/out/big.bin"), bytes);
}

void TestAppFolders::copyMissingSource()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/created";
    QVERIFY(!App::copyFileToDirectory(dir.path() + "/missing.png", folder, QString()));
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(QDir(folder).entryList(QDir::Files).isEmpty());
}

void TestAppFolders::copyShortWriteLeavesNothing()
{
    // A file-size limit makes the write stop part-way, as a full disk would.
    // Done in a child process so the limit does not touch this one.
    QTemporaryDir dir;
    const QString source = dir.path() + "/big.png";
    QVERIFY(QMTest::writeFile(source, patternBytes(64 * 1024)));
    const QString folder = dir.path() + "/out";
    QDir().mkpath(folder);
    const pid_t pid = fork();
    QVERIFY(pid >= 0);
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool ok = App::copyFileToDirectory(source, folder, QString());
        _exit(ok ? 1 : 0);
    }
    int status = 0;
    QCOMPARE(waitpid(pid, &status, 0), pid);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);  // the copy reported failure
    QVERIFY(!QFileInfo::exists(folder + "/big.png"));
}

void TestAppFolders::copyUnwritableTarget()
{
    QTemporaryDir dir;
    const QString source = dir.path() + "/a.png";
    QVERIFY(QMTest::writeFile(source, "x"));
    // The "folder" is a file, so the target cannot be created (unlike a
    // permission test, this holds when the tests run as root).
    QVERIFY(QMTest::writeFile(dir.path() + "/file-not-folder", "x"));
    QVERIFY(!App::copyFileToDirectory(source, dir.path() + "/file-not-folder", QString()));
}

void TestAppFolders::copyToSupportFolder()
{
    QTemporaryDir dir;
    QVERIFY(QMTest::writeFile(dir.path() + "/s.txt", "support"));
    QVERIFY(App::copyFileToSupportDirectory(dir.path() + "/s.txt", QStringLiteral("t.txt")));
    QCOMPARE(QMTest::readFile(App::supportDirectory() + "/t.txt"), QByteArray("support"));
}

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], kProbeArgument) == 0) {
        // Environment comes from the parent test; only the platform is set here.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        int probeArgc = 1;
        QMWidgets::App app(probeArgc, argv, QStringLiteral("Corvane"), QStringLiteral("Zintrop Lite"));
        fputs(app.isFirstRun() ? "first\n" : "again\n", stdout);
        return 0;
    }
    if (argc > 1 && qstrcmp(argv[1], kHooksArgument) == 0) {
        QMTest::prepareEnvironment();
        QMWidgets::App::addStartUpHook(firstHook);
        QMWidgets::App::addStartUpHook(secondHook);
        int probeArgc = 1;
        QMWidgets::App app(probeArgc, argv, QStringLiteral("Corvane"), QStringLiteral("Zintrop Lite"));
        // A hook added now has no effect on the object already made.
        QMWidgets::App::addStartUpHook(firstHook);
        printf("%s\n", qPrintable(g_strHookTrace));
        return 0;
    }
    QMTest::prepareEnvironment();
    QMTest::TestApp app(argc, argv);
    TestAppFolders test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_app_folders.moc"
