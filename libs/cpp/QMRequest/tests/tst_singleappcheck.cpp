#include "SingleAppCheck.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

using QMRequest::SingleAppCheck;

namespace {

const uid_t kNobody = 65534;
// The most a message may hold.
const int kMessageLimit = 4 << 20;

QString uniqueKey(const char* what)
{
    static int counter = 0;
    return QStringLiteral("zintrop-test-%1-%2-%3")
        .arg(QCoreApplication::applicationPid()).arg(what).arg(++counter);
}

// A text of two-byte letters and an ending, so that a cut shows.
QString longText(int letters)
{
    return QString(letters, QChar(0xE4)) + QStringLiteral("end");
}

// How a child reports a message: its size, a hash and its beginning.
QByteArray describe(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return "message " + QByteArray::number(bytes.size()) + ' '
        + QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex() + ' ' + text.left(20).toUtf8();
}

void print(const QByteArray& line)
{
    std::printf("%s\n", line.constData());
    std::fflush(stdout);
}

// Child modes of this program, standing in for other instances:
//   --crash KEY  becomes the first instance, then dies without clean-up
//   --serve KEY  becomes the first instance and prints each message until
//                its input ends
//   --send KEY N a later instance: sends longText(N)
int runChild(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString mode = QString::fromLocal8Bit(argv[1]);
    SingleAppCheck guard(QString::fromLocal8Bit(argv[2]));
    if (mode == QLatin1String("--send")) {
        print(guard.isRunning() ? "running" : "not running");
        print(guard.sendMessage(longText(QByteArray(argv[3]).toInt())) ? "sent" : "not sent");
        return 0;
    }
    if (guard.hasError()) {
        print("error " + guard.errorString().toUtf8());
        return 2;
    }
    if (guard.isRunning()) {
        print("already running");
        return 2;
    }
    if (mode == QLatin1String("--crash")) {
        print("ready");
        ::_exit(0);  // no destructors: the segment and socket file stay behind
    }
    QObject::connect(&guard, &SingleAppCheck::messageAvailable, &app,
                     [](const QString& text) { print(describe(text)); });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&app] {
        char buffer[64];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            app.quit();
    });
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    print("ready");
    return app.exec();
}

// The next line a child prints; its first says how its guard stands.
QByteArray nextLine(QProcess& child)
{
    const QDeadlineTimer deadline(10000);
    while (!child.canReadLine() && !deadline.hasExpired() && child.state() != QProcess::NotRunning)
        child.waitForReadyRead(int(deadline.remainingTime()));
    return child.readLine().trimmed();
}

// Ends a serving child by closing its input; what it printed since.
QByteArray finish(QProcess& child)
{
    child.closeWriteChannel();
    if (!child.waitForFinished(10000))
        child.kill();
    return child.readAllStandardOutput();
}

struct stat statusOf(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        info.st_mode = 0;
    return info;
}

bool isSocket(const QString& path)
{
    return S_ISSOCK(statusOf(path).st_mode);
}

// A second instance under the key finds the first one running and tells it
// the text, which arrives whole.
void secondInstanceTells(SingleAppCheck& first, const QString& key, const QString& text)
{
    QSignalSpy received(&first, &SingleAppCheck::messageAvailable);
    SingleAppCheck second(key);
    QVERIFY(second.isRunning());
    QVERIFY(second.sendMessage(text));
    QVERIFY(received.wait(5000));
    QCOMPARE(received.first().first().toString(), text);
}

} // namespace

class tst_SingleAppCheck : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void secondInstanceReachesFirst();
    void firstInstanceWithoutPeerCannotSend();
    void socketIsTheUsersOwn_data();
    void socketIsTheUsersOwn();
    void leftoversOfCrashedInstanceDoNotBlock();
    void messageArrivesWhole_data();
    void messageArrivesWhole();
    void acceptedSocketsAreDeleted();
    void slowPeersDoNotStallTheFirst_data();
    void slowPeersDoNotStallTheFirst();
    void failedSetUpIsSeen_data();
    void failedSetUpIsSeen();
    void strangerAtTheOldNameHearsNothing();
    void strangerIsNeitherHeardNorTold_data();
    void strangerIsNeitherHeardNorTold();
    void otherUsersInstanceLeavesTheGuardOn();

private:
    // Starts this program in a child mode, as this user or as nobody.
    void startChild(QProcess& child, const QStringList& arguments, bool asNobody);
    // Starts a child that serves as the first instance under the key; its
    // first line, "ready" once it serves.
    QByteArray startServing(QProcess& child, const QString& key, bool asNobody);
    // Nobody's later instance under the key sends longText(letters); what it
    // printed.
    QByteArray sendAsNobody(const QString& key, int letters);
    bool canActAsNobody(QString* reason) const;
    // The socket of nobody's first instance, wherever the guard put it.
    QString nobodysSocket(const QString& key) const;

    // Stands in for /tmp: shared and sticky, so nobody reaches it too.
    std::unique_ptr<QTemporaryDir> m_sandbox;
    QString m_strRunuser;
    QString m_strProgramCopy;  // a copy of this program that nobody may run
};

void tst_SingleAppCheck::initTestCase()
{
    m_sandbox.reset(new QTemporaryDir);
    QVERIFY(m_sandbox->isValid());
    QCOMPARE(::chmod(QFile::encodeName(m_sandbox->path()).constData(), 01777), 0);
    m_strRunuser = QStandardPaths::findExecutable("runuser", {"/usr/sbin", "/sbin", "/usr/bin", "/bin"});
    if (::geteuid() == 0 && !m_strRunuser.isEmpty()) {
        const QString bin = m_sandbox->filePath("bin");
        QVERIFY(QDir().mkdir(bin));
        m_strProgramCopy = bin + "/" + QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), m_strProgramCopy));
        QCOMPARE(::chmod(QFile::encodeName(bin).constData(), 0755), 0);
        QCOMPARE(::chmod(QFile::encodeName(m_strProgramCopy).constData(), 0755), 0);
    }
    cleanup();
}

void tst_SingleAppCheck::cleanup()
{
    qputenv("TMPDIR", QFile::encodeName(m_sandbox->path()));
    qunsetenv("XDG_RUNTIME_DIR");
}

void tst_SingleAppCheck::startChild(QProcess& child, const QStringList& arguments, bool asNobody)
{
    if (!asNobody) {
        child.start(QCoreApplication::applicationFilePath(), arguments);
        return;
    }
    child.start(m_strRunuser, QStringList{"-u", "nobody", "--", "env", "-u", "XDG_RUNTIME_DIR",
                                          "TMPDIR=" + m_sandbox->path(), m_strProgramCopy}
                                  + arguments);
}

QByteArray tst_SingleAppCheck::startServing(QProcess& child, const QString& key, bool asNobody)
{
    startChild(child, {"--serve", key}, asNobody);
    return nextLine(child);
}

QByteArray tst_SingleAppCheck::sendAsNobody(const QString& key, int letters)
{
    QProcess child;
    startChild(child, {"--send", key, QString::number(letters)}, true);
    if (!child.waitForFinished(10000))
        return "did not end";
    return child.readAllStandardOutput();
}

bool tst_SingleAppCheck::canActAsNobody(QString* reason) const
{
    if (::geteuid() != 0)
        *reason = QStringLiteral("another user is played by nobody, which needs root");
    else if (m_strRunuser.isEmpty())
        *reason = QStringLiteral("runuser is missing");
    return !m_strProgramCopy.isEmpty();
}

QString tst_SingleAppCheck::nobodysSocket(const QString& key) const
{
    for (const QString& folder : {m_sandbox->filePath("SingleAppCheck-" + QString::number(kNobody)), m_sandbox->path()}) {
        if (isSocket(folder + "/" + key))
            return folder + "/" + key;
    }
    return {};
}

void tst_SingleAppCheck::secondInstanceReachesFirst()
{
    const QString key = uniqueKey("same");
    SingleAppCheck first(key);
    QVERIFY(!first.isRunning());
    QVERIFY2(!first.hasError(), qPrintable(first.errorString()));
    secondInstanceTells(first, key, QStringLiteral("open /tmp/b\u00e4r.png"));
}

void tst_SingleAppCheck::firstInstanceWithoutPeerCannotSend()
{
    SingleAppCheck only(uniqueKey("only"));
    QVERIFY(!only.isRunning());
    QVERIFY(!only.sendMessage("hello"));
}

// The socket lies where only the user can reach it: in the runtime folder
// when that is a real 0700 folder of the user's, else in a private folder
// named with the user id under the shared temporary folder; never under the
// key alone in the shared folder.
void tst_SingleAppCheck::socketIsTheUsersOwn_data()
{
    QTest::addColumn<QString>("runtime");  // how XDG_RUNTIME_DIR stands
    QTest::addColumn<bool>("inRuntime");
    QTest::newRow("no runtime folder") << "unset" << false;
    QTest::newRow("private runtime folder") << "0700" << true;
    QTest::newRow("runtime folder 0755") << "0755" << false;
    QTest::newRow("runtime folder of another user") << "nobody's" << false;
    QTest::newRow("runtime folder a link to a private one") << "link" << false;
}

void tst_SingleAppCheck::socketIsTheUsersOwn()
{
    QFETCH(QString, runtime);
    QFETCH(bool, inRuntime);
    if (runtime == "nobody's" && ::geteuid() != 0)
        QSKIP("another user's folder is made as root and given to nobody");
    QTemporaryDir top;
    const QString folder = top.filePath("runtime");
    QVERIFY(QDir().mkdir(folder));
    const QByteArray name = QFile::encodeName(folder);
    QCOMPARE(::chmod(name.constData(), runtime == "0755" ? 0755 : 0700), 0);
    if (runtime == "nobody's")
        QCOMPARE(::chown(name.constData(), kNobody, kNobody), 0);
    if (runtime == "link")
        QCOMPARE(::symlink(name.constData(), QFile::encodeName(top.filePath("link")).constData()), 0);
    if (runtime != "unset")
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime == "link" ? top.filePath("link") : folder));

    const QString key = uniqueKey("place");
    SingleAppCheck first(key);
    QVERIFY(!first.isRunning());
    QVERIFY2(!first.hasError(), qPrintable(first.errorString()));
    const QString expected = inRuntime ? folder : m_sandbox->filePath("SingleAppCheck-" + QString::number(::geteuid()));
    const struct stat socket = statusOf(expected + "/" + key);
    QVERIFY2(S_ISSOCK(socket.st_mode), qPrintable(expected));
    QCOMPARE(socket.st_uid, ::geteuid());
    QCOMPARE(int(socket.st_mode & 077), 0);
    const struct stat place = statusOf(expected);
    QVERIFY(S_ISDIR(place.st_mode));
    QCOMPARE(place.st_uid, ::geteuid());
    QCOMPARE(int(place.st_mode & 0777), 0700);
    QVERIFY(!QFileInfo::exists(m_sandbox->filePath(key)));

    // Instances find each other there.
    secondInstanceTells(first, key, "here");
}

void tst_SingleAppCheck::leftoversOfCrashedInstanceDoNotBlock()
{
    const QString key = uniqueKey("crash");
    QProcess crashed;
    startChild(crashed, {"--crash", key}, false);
    QVERIFY(crashed.waitForFinished(10000));
    QCOMPARE(crashed.readAllStandardOutput().trimmed(), QByteArray("ready"));

    SingleAppCheck next(key);
    QVERIFY(!next.isRunning());

    // It has really become the first instance: others reach it.
    secondInstanceTells(next, key, "after crash");
}

void tst_SingleAppCheck::messageArrivesWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("short") << QStringLiteral("from the second");
    QTest::newRow("1 MB") << longText(500000);
}

void tst_SingleAppCheck::messageArrivesWhole()
{
    QFETCH(QString, text);
    const QString key = uniqueKey("peer");
    QProcess first;
    QCOMPARE(startServing(first, key, false), QByteArray("ready"));

    {
        SingleAppCheck second(key);
        QVERIFY(second.isRunning());
        QVERIFY(second.sendMessage(text));
    }
    // The message is taken after the connection ends: wait for it before
    // telling the child to stop.
    QCOMPARE(nextLine(first), describe(text));
    QCOMPARE(finish(first), QByteArray());
    QCOMPARE(first.exitCode(), 0);

    // With the first instance gone, the key is free again.
    SingleAppCheck later(key);
    QVERIFY(!later.isRunning());
}

void tst_SingleAppCheck::acceptedSocketsAreDeleted()
{
    const QString key = uniqueKey("sockets");
    SingleAppCheck first(key);
    QSignalSpy received(&first, &SingleAppCheck::messageAvailable);
    for (int i = 0; i < 3; ++i) {
        SingleAppCheck second(key);
        QVERIFY(second.sendMessage(QString::number(i)));
        QVERIFY(received.wait(5000));
    }
    QCOMPARE(received.count(), 3);
    // Deleted once control is back in the event loop.
    QTRY_COMPARE(first.findChildren<QLocalSocket*>().size(), 0);
}

// Peers that connect and say nothing, send a byte now and then, or send
// more than a message may hold are cut off, at their deadline or at the
// limit, with nothing taken from them; meanwhile the first instance's event
// loop keeps running and a real second instance is heard.
void tst_SingleAppCheck::slowPeersDoNotStallTheFirst_data()
{
    QTest::addColumn<int>("silent");
    QTest::addColumn<bool>("dripping");
    QTest::addColumn<bool>("overlong");
    QTest::newRow("ten silent peers") << 10 << false << false;
    QTest::newRow("a peer sending a byte every 0.9 s") << 0 << true << false;
    QTest::newRow("a peer sending past the limit, then closing") << 0 << false << true;
    QTest::newRow("all of them at once") << 10 << true << true;
}

void tst_SingleAppCheck::slowPeersDoNotStallTheFirst()
{
    QFETCH(int, silent);
    QFETCH(bool, dripping);
    QFETCH(bool, overlong);
    const QString key = uniqueKey("stall");
    SingleAppCheck first(key);
    QVERIFY2(!first.hasError(), qPrintable(first.errorString()));
    QSignalSpy received(&first, &SingleAppCheck::messageAvailable);
    const QString socketPath = m_sandbox->filePath("SingleAppCheck-" + QString::number(::geteuid())) + "/" + key;

    QElapsedTimer sinceStart;
    sinceStart.start();
    qint64 firstCutOff = -1;  // when a silent or dripping peer was cut off
    std::vector<std::unique_ptr<QLocalSocket>> peers;
    const auto connectPeer = [&](bool waitsToBeCutOff) {
        peers.emplace_back(new QLocalSocket);
        QLocalSocket* peer = peers.back().get();
        peer->connectToServer(socketPath);
        if (waitsToBeCutOff) {
            connect(peer, &QLocalSocket::disconnected, this, [&] {
                if (firstCutOff < 0)
                    firstCutOff = sinceStart.elapsed();
            });
        }
        return peer->waitForConnected(5000) ? peer : nullptr;
    };
    for (int i = 0; i < silent; ++i)
        QVERIFY(connectPeer(true));
    QTimer drip;
    if (dripping) {
        QLocalSocket* peer = connectPeer(true);
        QVERIFY(peer);
        connect(&drip, &QTimer::timeout, peer, [peer] { peer->write("x"); });
        connect(peer, &QLocalSocket::disconnected, &drip, &QTimer::stop);
        drip.start(900);
    }
    if (overlong) {
        QLocalSocket* peer = connectPeer(false);
        QVERIFY(peer);
        peer->write(QByteArray(kMessageLimit + 1, 'x'));
        peer->disconnectFromServer();
    }

    // The event loop's longest pause, as a 20 ms timer sees it.
    qint64 longestGap = 0;
    QElapsedTimer sinceTick;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { longestGap = qMax(longestGap, sinceTick.restart()); });
    sinceTick.start();
    ticker.start(20);

    QProcess second;
    startChild(second, {"--send", key, "100000"}, false);
    const auto settled = [&] {
        return second.state() == QProcess::NotRunning && !received.isEmpty()
            && std::all_of(peers.begin(), peers.end(),
                           [](const std::unique_ptr<QLocalSocket>& peer) {
                               return peer->state() == QLocalSocket::UnconnectedState;
                           })
            && first.findChildren<QLocalSocket*>().isEmpty();
    };
    QVERIFY(QTest::qWaitFor(settled, 30000));
    ticker.stop();

    QCOMPARE(second.readAllStandardOutput(), QByteArray("running\nsent\n"));
    QCOMPARE(received.count(), 1);
    QCOMPARE(received.first().first().toString(), longText(100000));
    QVERIFY2(longestGap < 500, qPrintable(QStringLiteral("the event loop stood still for %1 ms").arg(longestGap)));
    // Peers making no end were given their time before being cut off.
    if (silent > 0 || dripping)
        QVERIFY2(firstCutOff >= 1000, qPrintable(QStringLiteral("cut off after %1 ms").arg(firstCutOff)));
}

void tst_SingleAppCheck::failedSetUpIsSeen_data()
{
    QTest::addColumn<bool>("noFolder");
    QTest::newRow("socket name too long to listen") << false;
    QTest::newRow("no private folder for the socket") << true;
}

void tst_SingleAppCheck::failedSetUpIsSeen()
{
    QFETCH(bool, noFolder);
    QTemporaryDir temp;
    QString key = uniqueKey("failed");
    if (noFolder) {
        // Both names the guard may take are files.
        const QString name = temp.filePath("SingleAppCheck-" + QString::number(::geteuid()));
        for (const QString& taken : {name, name + "-" + QString::number(::geteuid())}) {
            QFile file(taken);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
    } else {
        key += QString(150, 'k');  // a socket's path holds at most 107 bytes
    }
    SingleAppCheck first(key);
    QVERIFY(first.hasError());
    QVERIFY(!first.errorString().isEmpty());
    QVERIFY(!first.isRunning());
    QVERIFY(!first.sendMessage("lost"));
}

// A stranger who listens first where the guard's socket used to lie, under
// the key in the shared folder, hears nothing of the user's instances. The
// user is played by nobody: as root, the old guard removed the stranger's
// socket (root may, even in a sticky folder), which would hide the fault.
void tst_SingleAppCheck::strangerAtTheOldNameHearsNothing()
{
    QString reason;
    if (!canActAsNobody(&reason))
        QSKIP(qPrintable(reason));
    const QString key = uniqueKey("old-name");
    QLocalServer stranger;
    stranger.setSocketOptions(QLocalServer::WorldAccessOption);
    QVERIFY(stranger.listen(m_sandbox->filePath(key)));

    QProcess first;
    QCOMPARE(startServing(first, key, true), QByteArray("ready"));
    QCOMPARE(sendAsNobody(key, 12), QByteArray("running\nsent\n"));
    QCOMPARE(nextLine(first), describe(longText(12)));
    QCOMPARE(finish(first), QByteArray());
    QVERIFY(!stranger.waitForNewConnection(0));
}

// Whoever reaches the socket of nobody's first instance (root may) is not
// heard; whoever takes its place is not told.
void tst_SingleAppCheck::strangerIsNeitherHeardNorTold_data()
{
    QTest::addColumn<bool>("takesItsPlace");
    QTest::newRow("stranger connects") << false;
    QTest::newRow("stranger listens in its place") << true;
}

void tst_SingleAppCheck::strangerIsNeitherHeardNorTold()
{
    QFETCH(bool, takesItsPlace);
    QString reason;
    if (!canActAsNobody(&reason))
        QSKIP(qPrintable(reason));
    const QString key = uniqueKey("stranger");
    QProcess first;
    QCOMPARE(startServing(first, key, true), QByteArray("ready"));
    const QString socketPath = nobodysSocket(key);
    QVERIFY(!socketPath.isEmpty());

    if (!takesItsPlace) {
        QLocalSocket intruder;
        intruder.connectToServer(socketPath);
        QVERIFY(intruder.waitForConnected(5000));
        intruder.write("open /etc/shadow");
        // Fails when the instance has already shut the door.
        intruder.waitForBytesWritten(5000);
        // The instance closes the connection once it has dealt with it.
        QVERIFY(intruder.state() == QLocalSocket::UnconnectedState || intruder.waitForDisconnected(5000));
        QCOMPARE(finish(first), QByteArray());
        return;
    }
    QVERIFY(QFile::remove(socketPath));
    QLocalServer stranger;
    stranger.setSocketOptions(QLocalServer::WorldAccessOption);
    QVERIFY(stranger.listen(socketPath));
    QCOMPARE(sendAsNobody(key, 12), QByteArray("running\nnot sent\n"));
    QByteArray heard;
    if (stranger.waitForNewConnection(0)) {
        QLocalSocket* socket = stranger.nextPendingConnection();
        socket->waitForReadyRead(5000);
        heard = socket->readAll();
    }
    QCOMPARE(heard, QByteArray());
    finish(first);
}

// Another user's instance under the same key neither stands for this
// user's nor hears from it.
void tst_SingleAppCheck::otherUsersInstanceLeavesTheGuardOn()
{
    QString reason;
    if (!canActAsNobody(&reason))
        QSKIP(qPrintable(reason));
    const QString key = uniqueKey("other-user");
    QProcess other;
    QCOMPARE(startServing(other, key, true), QByteArray("ready"));

    SingleAppCheck first(key);
    QVERIFY(!first.isRunning());
    QVERIFY2(!first.hasError(), qPrintable(first.errorString()));
    secondInstanceTells(first, key, "mine");
    QCOMPARE(finish(other), QByteArray());
}

int main(int argc, char** argv)
{
    if (argc >= 3
        && (qstrcmp(argv[1], "--crash") == 0 || qstrcmp(argv[1], "--serve") == 0
            || (argc >= 4 && qstrcmp(argv[1], "--send") == 0)))
        return runChild(argc, argv);
    QCoreApplication app(argc, argv);
    tst_SingleAppCheck test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_singleappcheck.moc"
