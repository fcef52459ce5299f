#include "Downloader.h"
#include "LoopbackHttpServer.h"
#include "ReplyReader.h"
#include "TestFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>

using QMRequest::Downloader;

Q_DECLARE_METATYPE(LoopbackHttpServer::Reply)

class tst_Downloader : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void normalizedUrl_data();
    void normalizedUrl();

    void download_data();
    void download();
    void redirectIsNotFollowed();
    void serverDown();
    void unusableAddress_data();
    void unusableAddress();
    void abortBeforeAnswer();
    void nestedCallIsTurnedAway();
    void reusedForSeveralDownloads();
    void answerBeyondLimitFails_data();
    void answerBeyondLimitFails();
    void stalledTransferFails();
    void endsWithinBound_data();
    void endsWithinBound();
    void slowSteadyLink_data();
    void slowSteadyLink();

    void progressPercent_data();
    void progressPercent();
    void unknownSizeGivesNoPercent();

    void downloadToFile_data();
    void downloadToFile();
    void downloadToFileWriteFailureKeepsFile();
    void onlyWholeSuccessCounts_data();
    void onlyWholeSuccessCounts();
    void downloadToFileStreams();
};

namespace {

// Generous: only a download that never ends meets it.
const int kSafetyAbortMs = 20000;

// The time bound the tests set in place of the product's 30 s.
const int kBoundMs = 1000;

// A download's target "target.txt" that holds "old content", alone in a
// folder of its own.
struct OldTarget
{
    QTemporaryDir dir;
    const QString path = dir.filePath("target.txt");
    const bool isWritten = QMTest::writeFile(path, "old content");

    // Each file of the folder with its content, as "name: content".
    QStringList files() const
    {
        QStringList files;
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
            files << name + ": " + QString::fromUtf8(QMTest::readFile(dir.filePath(name)));
        return files;
    }
};

} // namespace

void tst_Downloader::initTestCase()
{
    // A proxy from the environment must not take loopback traffic.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void tst_Downloader::cleanup()
{
    QMRequest::ReplyReader::setTransferTimeout(0);
}

void tst_Downloader::normalizedUrl_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("http kept") << "http://host/a" << "http://host/a";
    QTest::newRow("no scheme") << "host/a" << "http://host/a";
    QTest::newRow("https kept") << "https://host/a" << "https://host/a";
    QTest::newRow("other scheme prefixed") << "ftp://host/a" << "http://ftp://host/a";
    QTest::newRow("capital HTTP prefixed") << "HTTP://host/a" << "http://HTTP://host/a";
    QTest::newRow("capital HTTPS prefixed") << "HTTPS://host/a" << "http://HTTPS://host/a";
    QTest::newRow("empty") << "" << "http://";
}

void tst_Downloader::normalizedUrl()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(Downloader::normalizedUrl(input), expected);
}

void tst_Downloader::download_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("closeWithoutAnswer");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("good answer") << 200 << QByteArray("build:1.0;date:2030-01-01") << false
                                 << QByteArray("build:1.0;date:2030-01-01");
    QTest::newRow("empty answer") << 200 << QByteArray() << false << QByteArray();
    QTest::newRow("binary with zero bytes") << 200 << QByteArray("a\0b\xff", 4) << false
                                            << QByteArray("a\0b\xff", 4);
    QTest::newRow("not found") << 404 << QByteArray("missing") << false << QByteArray();
    QTest::newRow("server error") << 500 << QByteArray("oops") << false << QByteArray();
    QTest::newRow("closed without answer") << 200 << QByteArray("x") << true << QByteArray();
}

void tst_Downloader::download()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, closeWithoutAnswer);
    QFETCH(QByteArray, expected);

    LoopbackHttpServer server;
    QVERIFY(server.isListening());
    LoopbackHttpServer::Reply reply;
    reply.status = status;
    reply.body = body;
    reply.closeWithoutAnswer = closeWithoutAnswer;
    server.setReply("/file.txt", reply);

    Downloader downloader;
    QVERIFY(!downloader.isFinished());
    // Without a scheme, as the update check's server bases may be stored.
    const QByteArray answer = downloader.download(server.hostAndPort() + "/file.txt");
    QCOMPARE(answer, expected);
    QVERIFY(downloader.isFinished());
    // A connection closed without answer may be retried once by the client.
    const QStringList lines = server.requestLines();
    QVERIFY(!lines.isEmpty());
    for (const QString& line : lines)
        QCOMPARE(line, QString("GET /file.txt HTTP/1.1"));
}

// A plain request does not follow redirects: the redirect fails, and the new
// location is never asked.
void tst_Downloader::redirectIsNotFollowed()
{
    LoopbackHttpServer server;
    server.setRedirect("/old", server.url("/new"));
    server.setResponse("/new", 200, "new body");

    Downloader downloader;
    QCOMPARE(downloader.download(server.url("/old")), QByteArray());
    QCOMPARE(server.requestCount("/new"), 0);
}

void tst_Downloader::serverDown()
{
    QString url;
    {
        LoopbackHttpServer server;
        url = server.url("/file.txt");
    }  // nobody listens on that port any more

    Downloader downloader;
    QSignalSpy percent(&downloader, SIGNAL(progressPercent(int)));
    QVERIFY(downloader.download(url).isEmpty());
    QVERIFY(downloader.isFinished());
    QCOMPARE(percent.count(), 0);
}

void tst_Downloader::unusableAddress_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("empty") << "";
    QTest::newRow("no host") << "http:///path";
    QTest::newRow("bad port") << "127.0.0.1:99999/x";
}

// Requests that fail before reaching any server must still end the wait.
void tst_Downloader::unusableAddress()
{
    QFETCH(QString, url);
    Downloader downloader;
    QVERIFY(downloader.download(url).isEmpty());
    QVERIFY(downloader.isFinished());
}

void tst_Downloader::abortBeforeAnswer()
{
    LoopbackHttpServer server;
    server.setSilent("/slow");

    Downloader downloader;
    bool finishedWhileWaiting = true;
    QTimer::singleShot(50, this, [&] { finishedWhileWaiting = downloader.isFinished(); });
    QTimer::singleShot(150, &downloader, SLOT(slotAbort()));
    QVERIFY(downloader.download(server.url("/slow")).isEmpty());
    QVERIFY(!finishedWhileWaiting);
    QVERIFY(downloader.isFinished());
    QCOMPARE(server.requestCount("/slow"), 1);
}

void tst_Downloader::nestedCallIsTurnedAway()
{
    LoopbackHttpServer server;
    server.setDelayed("/slow", 300, "outer");
    server.setResponse("/other", 200, "inner");

    Downloader downloader;
    QByteArray nested = "not called";
    QTimer::singleShot(50, this, [&] { nested = downloader.download(server.url("/other")); });
    QCOMPARE(downloader.download(server.url("/slow")), QByteArray("outer"));
    QCOMPARE(nested, QByteArray());
    QCOMPARE(server.requestCount("/other"), 0);
}

void tst_Downloader::reusedForSeveralDownloads()
{
    LoopbackHttpServer server;
    server.setResponse("/a", 200, "first");
    server.setResponse("/b", 200, "second");

    Downloader downloader;
    QCOMPARE(downloader.download(server.url("/a")), QByteArray("first"));
    QVERIFY(downloader.download(server.url("/missing")).isEmpty());
    QCOMPARE(downloader.download(server.url("/b")), QByteArray("second"));
}

void tst_Downloader::answerBeyondLimitFails_data()
{
    const auto replies = LoopbackHttpServer::oversized("build:1.0;date:2031-01-01;windows:all;");
    QTest::addColumn<LoopbackHttpServer::Reply>("reply");
    QTest::newRow("body past the limit") << replies.sized;
    QTest::newRow("gzip that inflates past the limit") << replies.gzip;
    QTest::newRow("endless body") << replies.endless;
}

// An answer is counted as it arrives and dropped once it passes the limit,
// however it is sent and wherever it goes: in memory as into a file, which
// keeps its old content. It fails as an aborted download does.
void tst_Downloader::answerBeyondLimitFails()
{
    QFETCH(LoopbackHttpServer::Reply, reply);
    const qint64 limit = 4096;
    LoopbackHttpServer server;
    server.setReply("/f", reply);
    OldTarget target;
    QVERIFY(target.isWritten);

    Downloader downloader;
    downloader.setSizeLimit(limit);
    QSignalSpy progress(&downloader, SIGNAL(progress(qint64)));
    bool safetyAbort = false;
    QTimer safety;
    safety.setSingleShot(true);
    safety.setInterval(kSafetyAbortMs);
    connect(&safety, &QTimer::timeout, &downloader, [&] {
        safetyAbort = true;
        downloader.slotAbort();
    });
    safety.start();
    QCOMPARE(downloader.download(server.url("/f")), QByteArray());
    QVERIFY(!safetyAbort);
    safety.start();
    QVERIFY(!downloader.downloadToFile(server.url("/f"), target.path));
    safety.stop();
    QVERIFY(!safetyAbort);
    QCOMPARE(target.files(), QStringList{"target.txt: old content"});
    // Little more than the limit was taken in before the answer was dropped.
    for (const auto& args : progress)
        QVERIFY2(args.at(0).toLongLong() < 1024 * 1024, qPrintable(args.at(0).toString()));

    // Within the limit the same downloader takes the answer.
    server.setResponse("/small", 200, QByteArray(int(limit), 'y'));
    QCOMPARE(downloader.download(server.url("/small")).size(), int(limit));
    QVERIFY(downloader.downloadToFile(server.url("/small"), target.path));
    QCOMPARE(QFileInfo(target.path).size(), limit);
}

// A server that accepts the request and then says nothing ends the download
// once the set time has passed.
void tst_Downloader::stalledTransferFails()
{
    LoopbackHttpServer server;
    server.setSilent("/silent");
    QMRequest::ReplyReader::setTransferTimeout(300);

    Downloader downloader;
    bool safetyAbort = false;
    QTimer::singleShot(kSafetyAbortMs, &downloader, [&] {
        safetyAbort = true;
        downloader.slotAbort();
    });
    const QByteArray answer = downloader.download(server.url("/silent"));
    QMRequest::ReplyReader::setTransferTimeout(0);
    QCOMPARE(answer, QByteArray());
    QVERIFY(!safetyAbort);
    QVERIFY(downloader.isFinished());
}

void tst_Downloader::endsWithinBound_data()
{
    QTest::addColumn<bool>("intoFile");
    QTest::addColumn<bool>("ownDeadline");
    QTest::addColumn<LoopbackHttpServer::Reply>("reply");
    // One byte every 100 ms: 15 s for the whole answer, and never a pause
    // long enough for a stall timeout.
    const QByteArray body(150, 'd');
    const struct { const char* name; LoopbackHttpServer::Reply reply; } answers[] = {
        {"dripping with length", LoopbackHttpServer::dripping(body, 100, true)},
        {"dripping without length", LoopbackHttpServer::dripping(body, 100, false)},
        {"silent", [] { LoopbackHttpServer::Reply r; r.silent = true; return r; }()},
    };
    const struct { const char* name; bool intoFile; bool ownDeadline; } kinds[] = {
        {"download()", false, false},
        {"download() with its own deadline", false, true},
        {"downloadToFile()", true, false},
    };
    for (const auto& kind : kinds) {
        for (const auto& answer : answers) {
            QTest::addRow("%s, %s", kind.name, answer.name)
                << kind.intoFile << kind.ownDeadline << answer.reply;
        }
    }
}

// However slowly the bytes keep coming, a request ends as a failure within
// its bound: a total deadline for an answer kept in memory (the shared one,
// or the downloader's own), the least rate for one written to a file.
// Nothing is kept and the old file stays.
void tst_Downloader::endsWithinBound()
{
    QFETCH(bool, intoFile);
    QFETCH(bool, ownDeadline);
    QFETCH(LoopbackHttpServer::Reply, reply);
    LoopbackHttpServer server;
    server.setReply("/f", reply);
    OldTarget target;
    QVERIFY(target.isWritten);

    Downloader downloader;
    if (ownDeadline)
        downloader.setDeadline(kBoundMs);  // the shared bound stays at 30 s
    else
        QMRequest::ReplyReader::setTransferTimeout(kBoundMs);
    bool safetyAbort = false;
    QTimer::singleShot(kSafetyAbortMs, &downloader, [&] {
        safetyAbort = true;
        downloader.slotAbort();
    });
    QElapsedTimer clock;
    clock.start();
    if (intoFile)
        QVERIFY(!downloader.downloadToFile(server.url("/f"), target.path));
    else
        QCOMPARE(downloader.download(server.url("/f")), QByteArray());
    const qint64 took = clock.elapsed();
    QVERIFY(!safetyAbort);
    QVERIFY2(took < 10 * kBoundMs, qPrintable(QString::number(took)));
    QVERIFY(downloader.isFinished());
    QCOMPARE(target.files(), QStringList{"target.txt: old content"});
}

void tst_Downloader::slowSteadyLink_data()
{
    QTest::addColumn<bool>("intoFile");
    QTest::addColumn<bool>("completes");
    QTest::newRow("into a file, above the least rate: completes") << true << true;
    QTest::newRow("into memory, past the deadline: fails") << false << false;
}

// 512 bytes every 125 ms is 4 KiB in each span of the bound, four times the
// least rate, for four spans: a file download takes it whole, a download into
// memory fails at its deadline.
void tst_Downloader::slowSteadyLink()
{
    QFETCH(bool, intoFile);
    QFETCH(bool, completes);
    QByteArray body;
    for (int i = 0; i < 16 * 1024; ++i)
        body += char('a' + i % 26);
    LoopbackHttpServer server;
    server.setReply("/f", LoopbackHttpServer::dripping(body, 125, true, 512));
    OldTarget target;
    QVERIFY(target.isWritten);
    QMRequest::ReplyReader::setTransferTimeout(kBoundMs);

    Downloader downloader;
    bool safetyAbort = false;
    QTimer::singleShot(kSafetyAbortMs, &downloader, [&] {
        safetyAbort = true;
        downloader.slotAbort();
    });
    if (intoFile) {
        QCOMPARE(downloader.downloadToFile(server.url("/f"), target.path), completes);
    } else {
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(downloader.download(server.url("/f")), completes ? body : QByteArray());
        QVERIFY2(clock.elapsed() < 10 * kBoundMs, qPrintable(QString::number(clock.elapsed())));
    }
    QVERIFY(!safetyAbort);
    QCOMPARE(QMTest::readFile(target.path), intoFile && completes ? body : QByteArray("old content"));
}

void tst_Downloader::progressPercent_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("half") << qint64(50) << qint64(100) << QList<int>{50};
    QTest::newRow("truncated") << qint64(2) << qint64(3) << QList<int>{66};
    QTest::newRow("all") << qint64(100) << qint64(100) << QList<int>{100};
    QTest::newRow("large sizes") << qint64(3000000000LL) << qint64(4000000000LL) << QList<int>{75};
    QTest::newRow("unknown total") << qint64(40000000) << qint64(-1) << QList<int>{};
    QTest::newRow("zero total") << qint64(0) << qint64(0) << QList<int>{};
    QTest::newRow("more than total") << qint64(150) << qint64(100) << QList<int>{100};
}

void tst_Downloader::progressPercent()
{
    QFETCH(qint64, received);
    QFETCH(qint64, total);
    QFETCH(QList<int>, expected);

    Downloader downloader;
    QSignalSpy bytes(&downloader, SIGNAL(progress(qint64)));
    QSignalSpy percent(&downloader, SIGNAL(progressPercent(int)));
    downloader.slotProgress(received, total);
    QCOMPARE(bytes.count(), 1);
    QCOMPARE(bytes.first().at(0).toLongLong(), received);
    QList<int> got;
    for (const auto& args : percent)
        got << args.at(0).toInt();
    QCOMPARE(got, expected);
}

void tst_Downloader::unknownSizeGivesNoPercent()
{
    LoopbackHttpServer server;
    LoopbackHttpServer::Reply unsized;
    unsized.body = QByteArray(100000, 'x');
    unsized.omitContentLength = true;
    server.setReply("/unsized", unsized);
    server.setResponse("/empty", 200, QByteArray());
    server.setResponse("/sized", 200, QByteArray(100000, 'y'));

    Downloader downloader;
    QSignalSpy percent(&downloader, SIGNAL(progressPercent(int)));
    QSignalSpy bytes(&downloader, SIGNAL(progress(qint64)));

    // Without a known size the only percentage is the final 100 that the
    // network layer reports once the whole answer is in.
    QCOMPARE(downloader.download(server.url("/unsized")).size(), 100000);
    QCOMPARE(downloader.download(server.url("/empty")).size(), 0);
    QVERIFY(bytes.count() > 0);
    for (const auto& args : percent)
        QCOMPARE(args.at(0).toInt(), 100);
    percent.clear();

    QCOMPARE(downloader.download(server.url("/sized")).size(), 100000);
    QVERIFY(percent.count() > 0);
    for (const auto& args : percent)
        QVERIFY(args.at(0).toInt() >= 0 && args.at(0).toInt() <= 100);
    QCOMPARE(percent.last().at(0).toInt(), 100);
}

void tst_Downloader::downloadToFile_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("abort");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("content");
    QTest::newRow("good answer replaces") << 200 << QByteArray("fresh") << false << true << "fresh";
    QTest::newRow("empty answer replaces") << 200 << QByteArray() << false << true << "";
    QTest::newRow("not found keeps") << 404 << QByteArray("page") << false << false << "old content";
    QTest::newRow("aborted keeps") << 200 << QByteArray("late") << true << false << "old content";
}

void tst_Downloader::downloadToFile()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, abort);
    QFETCH(bool, written);
    QFETCH(QString, content);

    OldTarget target;
    QVERIFY(target.isWritten);

    LoopbackHttpServer server;
    LoopbackHttpServer::Reply reply;
    reply.status = status;
    reply.body = body;
    reply.silent = abort;
    server.setReply("/f", reply);

    Downloader downloader;
    if (abort)
        QTimer::singleShot(100, &downloader, SLOT(slotAbort()));
    QCOMPARE(downloader.downloadToFile(server.url("/f"), target.path), written);
    QCOMPARE(target.files(), QStringList{"target.txt: " + content});
}

void tst_Downloader::downloadToFileWriteFailureKeepsFile()
{
    OldTarget target;
    QVERIFY(target.isWritten);
    LoopbackHttpServer server;
    server.setResponse("/f", 200, "fresh content from the server");
    Downloader downloader;

    // A path in a folder that does not exist fails cleanly.
    QVERIFY(!downloader.downloadToFile(server.url("/f"), target.dir.filePath("no/such/folder/x.txt")));

    // The file system takes no more than a few bytes per file (as when the
    // disk is full), so writing the new content fails part way.
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 4;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool written = downloader.downloadToFile(server.url("/f"), target.path);
    ::setrlimit(RLIMIT_FSIZE, &saved);

    QVERIFY(!written);
    QCOMPARE(target.files(), QStringList{"target.txt: old content"});
}

void tst_Downloader::onlyWholeSuccessCounts_data()
{
    QTest::addColumn<LoopbackHttpServer::Reply>("reply");
    LoopbackHttpServer::Reply reply;
    reply.status = 204;
    QTest::newRow("204 no content") << reply;
    reply.status = 304;
    QTest::newRow("304 not modified") << reply;
    reply.status = 206;
    reply.body = "fresh, but only a part";
    QTest::newRow("206 partial content") << reply;
    reply.status = 302;
    reply.body = "moved";
    reply.headers = "Location: /elsewhere\r\n";
    QTest::newRow("302 redirect") << reply;
    // Chunks end the body after 5 bytes although 999 were announced.
    LoopbackHttpServer::Reply chunked;
    chunked.body = "5\r\nfresh\r\n0\r\n\r\n";
    chunked.omitContentLength = true;
    chunked.headers = "Transfer-Encoding: chunked\r\nContent-Length: 999\r\n";
    QTest::newRow("body shorter than its Content-Length") << chunked;
}

// Only a 200 answer that came whole is the resource asked for: anything else
// fails, in memory as into a file, and the file keeps its old content.
void tst_Downloader::onlyWholeSuccessCounts()
{
    QFETCH(LoopbackHttpServer::Reply, reply);
    LoopbackHttpServer server;
    server.setReply("/f", reply);
    OldTarget target;
    QVERIFY(target.isWritten);

    Downloader downloader;
    QCOMPARE(downloader.download(server.url("/f")), QByteArray());
    QVERIFY(!downloader.downloadToFile(server.url("/f"), target.path));
    QCOMPARE(target.files(), QStringList{"target.txt: old content"});
    QCOMPARE(server.requestCount("/elsewhere"), 0);
}

// The bytes on disk in files of the folder that this process holds open; a
// temporary file may have no name there yet.
static qint64 bytesOpenIn(const QString& folder)
{
    qint64 total = 0;
    const QFileInfoList fds = QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::System | QDir::Files);
    for (const QFileInfo& fd : fds) {
        if (fd.symLinkTarget().startsWith(folder + QLatin1Char('/')))
            total += fd.size();
    }
    return total;
}

// The body goes to the file beside the target while it arrives, not through
// memory at the end.
void tst_Downloader::downloadToFileStreams()
{
    const int size = 8 * 1024 * 1024;
    LoopbackHttpServer server;
    server.setResponse("/big", 200, QByteArray(size, 'z'));
    QTemporaryDir dir;
    const QString path = dir.filePath("target.bin");

    Downloader downloader;
    qint64 onDiskMidway = -1;
    connect(&downloader, &Downloader::progress, this, [&](qint64 received) {
        if (onDiskMidway < 0 && received >= size / 2)
            onDiskMidway = bytesOpenIn(dir.path());
    });
    QVERIFY(downloader.downloadToFile(server.url("/big"), path));
    QVERIFY2(onDiskMidway >= size / 4, qPrintable(QString::number(onDiskMidway)));
    QCOMPARE(QFileInfo(path).size(), qint64(size));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"target.bin"});
}

QTEST_GUILESS_MAIN(tst_Downloader)
#include "tst_downloader.moc"
