#include "SingleAppCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using QMRequest::SingleAppCheck;

namespace {

QString uniqueKey(const char* what)
{
    static int counter = 0;
    return QStringLiteral("zintrop-test-%1-%2-%3")
        .arg(QCoreApplication::applicationPid()).arg(what).arg(++counter);
}

// Child modes of this program, standing in for other instances:
//   --crash KEY  becomes the first instance, then dies without clean-up
//   --serve KEY  becomes the first instance and prints the first message
int runChild(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString mode = QString::fromLocal8Bit(argv[1]);
    SingleAppCheck guard(QString::fromLocal8Bit(argv[2]));
    if (guard.isRunning()) {
        std::printf("already running\n");
        return 2;
    }
    if (mode == QLatin1String("--crash")) {
        std::printf("ready\n");
        std::fflush(stdout);
        ::_exit(0);  // no destructors: the segment and socket file stay behind
    }
    QObject::connect(&guard, &SingleAppCheck::messageAvailable, &app, [&app](const QString& text) {
        std::printf("message:%s\n", text.toUtf8().constData());
        std::fflush(stdout);
        app.quit();
    });
    QTimer::singleShot(20000, &app, &QCoreApplication::quit);
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

} // namespace

class tst_SingleAppCheck : public QObject
{
    Q_OBJECT
private slots:
    void secondInstanceReachesFirst();
    void firstInstanceWithoutPeerCannotSend();
    void socketIsTheUsersOwn();
    void leftoversOfCrashedInstanceDoNotBlock();
    void instanceInOtherProcess();
};

void tst_SingleAppCheck::secondInstanceReachesFirst()
{
    const QString key = uniqueKey("same");
    SingleAppCheck first(key);
    QVERIFY(!first.isRunning());
    QSignalSpy received(&first, &SingleAppCheck::messageAvailable);

    SingleAppCheck second(key);
    QVERIFY(second.isRunning());
    QVERIFY(second.sendMessage(QStringLiteral("open /tmp/b\u00e4r.png")));
    QVERIFY(received.wait(5000));
    QCOMPARE(received.first().first().toString(), QStringLiteral("open /tmp/b\u00e4r.png"));
}

void tst_SingleAppCheck::firstInstanceWithoutPeerCannotSend()
{
    SingleAppCheck only(uniqueKey("only"));
    QVERIFY(!only.isRunning());
    QVERIFY(!only.sendMessage("hello"));
}

// The local socket is a file in the temporary folder, which every user can
// reach: only its owner may connect to it.
void tst_SingleAppCheck::socketIsTheUsersOwn()
{
    const QString key = uniqueKey("mode");
    SingleAppCheck first(key);
    QVERIFY(!first.isRunning());
    struct stat info {};
    QCOMPARE(::lstat(QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + key).constData(), &info), 0);
    QVERIFY(S_ISSOCK(info.st_mode));
    QCOMPARE(info.st_uid, ::getuid());
    QCOMPARE(int(info.st_mode & 0777), 0700);
}

void tst_SingleAppCheck::leftoversOfCrashedInstanceDoNotBlock()
{
    const QString key = uniqueKey("crash");
    QProcess crashed;
    crashed.start(QCoreApplication::applicationFilePath(), {"--crash", key});
    QVERIFY(crashed.waitForFinished(10000));
    QCOMPARE(crashed.readAllStandardOutput().trimmed(), QByteArray("ready"));

    SingleAppCheck next(key);
    QVERIFY(!next.isRunning());

    // It has really become the first instance: others reach it.
    QSignalSpy received(&next, &SingleAppCheck::messageAvailable);
    SingleAppCheck other(key);
    QVERIFY(other.isRunning());
    QVERIFY(other.sendMessage("after crash"));
    QVERIFY(received.wait(5000));
    QCOMPARE(received.first().first().toString(), QString("after crash"));
}

void tst_SingleAppCheck::instanceInOtherProcess()
{
    const QString key = uniqueKey("peer");
    QProcess first;
    first.start(QCoreApplication::applicationFilePath(), {"--serve", key});
    QVERIFY(first.waitForReadyRead(10000));
    QCOMPARE(first.readLine().trimmed(), QByteArray("ready"));

    {
        SingleAppCheck second(key);
        QVERIFY(second.isRunning());
        QVERIFY(second.sendMessage("from the second"));
    }
    QVERIFY(first.waitForFinished(10000));
    QCOMPARE(first.readAllStandardOutput().trimmed(), QByteArray("message:from the second"));
    QCOMPARE(first.exitCode(), 0);

    // With the first instance gone, the key is free again.
    SingleAppCheck later(key);
    QVERIFY(!later.isRunning());
}

int main(int argc, char** argv)
{
    if (argc >= 3 && (qstrcmp(argv[1], "--crash") == 0 || qstrcmp(argv[1], "--serve") == 0))
        return runChild(argc, argv);
    QCoreApplication app(argc, argv);
    tst_SingleAppCheck test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleappcheck.moc"
