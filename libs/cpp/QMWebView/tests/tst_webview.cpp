#include "CustomWebView.h"
#include "LoopbackHttpServer.h"
#include "NativeWebView.h"
#include "NativeWebViewInternal.h"
#include "ReplyReader.h"
#include "WebViewInQt.h"

#include <QElapsedTimer>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTest>

using QMWebView::NativeWebView;
using QMWebView::NativeWebViewInternal;
using QMWebView::WebViewInQt;

Q_DECLARE_METATYPE(LoopbackHttpServer::Reply)

class tst_WebView : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void navigateLoadsPage();
    void navigateReportsFailure_data();
    void navigateReportsFailure();
    void navigateFollowsRedirect();
    void oversizedPageFails_data();
    void oversizedPageFails();
    void stalledPageFails();
    void pageEndsWithinBound_data();
    void pageEndsWithinBound();
    void unknownCallRequestsNothing();
    void translateKeyEvent_data();
    void translateKeyEvent();

    void hiddenViewLoadsTwice();
    void resizeKeepsViewAtFullSize();
    void signalsAreRelayed();
};

void tst_WebView::initTestCase()
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void tst_WebView::cleanup()
{
    QMRequest::ReplyReader::setTransferTimeout(0);
}

void tst_WebView::navigateLoadsPage()
{
    LoopbackHttpServer server;
    server.setResponse("/page", 200, "<html>hello</html>");

    CustomWebView control;
    QCOMPARE(control.control(), QString("8856F961-340A-11D0-A96B-00C04FD705A2"));
    QSignalSpy complete(&control, &CustomWebView::navigateComplete);
    QSignalSpy failed(&control, &CustomWebView::navigateError);
    control.dynamicCall("Navigate(const QString&)", server.url("/page?x=1"));
    QVERIFY(complete.wait(5000));
    QCOMPARE(complete.first().at(0).toString(), server.url("/page?x=1"));
    QCOMPARE(complete.first().at(1).toString(), QString("<html>hello</html>"));
    QCOMPARE(control.html(), QString("<html>hello</html>"));
    QCOMPARE(failed.count(), 0);
    QCOMPARE(server.requestLines(), QStringList{"GET /page?x=1 HTTP/1.1"});
}

void tst_WebView::navigateReportsFailure_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("not found") << "404";
    QTest::newRow("closed without answer") << "close";
    QTest::newRow("server down") << "down";
}

void tst_WebView::navigateReportsFailure()
{
    QFETCH(QString, kind);
    auto* server = new LoopbackHttpServer;
    server->setCloseWithoutAnswer("/close");
    const QString url = server->url("/" + kind);
    if (kind == "down") {
        delete server;
        server = nullptr;
    }

    CustomWebView control;
    QSignalSpy complete(&control, &CustomWebView::navigateComplete);
    QSignalSpy failed(&control, &CustomWebView::navigateError);
    control.navigate(url);
    QVERIFY(failed.wait(5000));
    QCOMPARE(failed.first().at(0).toString(), url);
    QCOMPARE(complete.count(), 0);
    delete server;
}

void tst_WebView::navigateFollowsRedirect()
{
    LoopbackHttpServer server;
    server.setRedirect("/old", server.url("/new"));
    server.setResponse("/new", 200, "new page");

    CustomWebView control;
    QSignalSpy complete(&control, &CustomWebView::navigateComplete);
    control.navigate(server.url("/old"));
    QVERIFY(complete.wait(5000));
    QCOMPARE(complete.first().at(0).toString(), server.url("/new"));
    QCOMPARE(complete.first().at(1).toString(), QString("new page"));
}

void tst_WebView::oversizedPageFails_data()
{
    const auto replies = LoopbackHttpServer::oversized("<html>");
    QTest::addColumn<LoopbackHttpServer::Reply>("reply");
    QTest::newRow("page past the limit") << replies.sized;
    QTest::newRow("gzip that inflates past the limit") << replies.gzip;
    QTest::newRow("endless page") << replies.endless;
}

// A page is counted as it arrives and dropped once it passes the limit.
void tst_WebView::oversizedPageFails()
{
    QFETCH(LoopbackHttpServer::Reply, reply);
    LoopbackHttpServer server;
    server.setReply("/page", reply);
    CustomWebView::setPageLimit(4096);

    CustomWebView control;
    QSignalSpy complete(&control, &CustomWebView::navigateComplete);
    QSignalSpy failed(&control, &CustomWebView::navigateError);
    control.navigate(server.url("/page"));
    const bool ended = failed.wait(20000);
    CustomWebView::setPageLimit(0);
    QVERIFY(ended);
    QCOMPARE(complete.count(), 0);
    QCOMPARE(control.html(), QString());
}

// A server that takes the request and says nothing more fails the page once
// the set time has passed.
void tst_WebView::stalledPageFails()
{
    LoopbackHttpServer server;
    server.setSilent("/silent");
    QMRequest::ReplyReader::setTransferTimeout(300);

    CustomWebView control;
    QSignalSpy failed(&control, &CustomWebView::navigateError);
    control.navigate(server.url("/silent"));
    const bool ended = failed.wait(20000);
    QMRequest::ReplyReader::setTransferTimeout(0);
    QVERIFY(ended);
}

void tst_WebView::pageEndsWithinBound_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<LoopbackHttpServer::Reply>("reply");
    // One byte every 100 ms: 15 s for the whole page, and never a pause long
    // enough for a stall timeout.
    const QByteArray page = "<html>" + QByteArray(144, 'p');
    const struct { const char* name; LoopbackHttpServer::Reply reply; } answers[] = {
        {"dripping with length", LoopbackHttpServer::dripping(page, 100, true)},
        {"dripping without length", LoopbackHttpServer::dripping(page, 100, false)},
        {"silent", [] { LoopbackHttpServer::Reply r; r.silent = true; return r; }()},
    };
    // The usage ping is a hidden view's load.
    for (const char* how : {"navigate", "navigate with its own deadline", "usage ping"}) {
        for (const auto& answer : answers)
            QTest::addRow("%s, %s", how, answer.name) << QString(how) << answer.reply;
    }
}

// However slowly its bytes keep coming, a page fails once its deadline (the
// shared one or the view's own) has passed, and nothing of it is kept.
void tst_WebView::pageEndsWithinBound()
{
    QFETCH(QString, how);
    QFETCH(LoopbackHttpServer::Reply, reply);
    const int boundMs = 1000;
    LoopbackHttpServer server;
    server.setReply("/page", reply);

    NativeWebView view;
    auto* control = view.findChild<CustomWebView*>();
    QVERIFY(control);
    if (how == "navigate with its own deadline")
        control->setDeadline(boundMs);  // the shared bound stays at 30 s
    else
        QMRequest::ReplyReader::setTransferTimeout(boundMs);
    QSignalSpy complete(control, &CustomWebView::navigateComplete);
    QSignalSpy failed(control, &CustomWebView::navigateError);
    QElapsedTimer clock;
    clock.start();
    if (how == "usage ping")
        view.load(QUrl(server.url("/page")));
    else
        control->navigate(server.url("/page"));
    QVERIFY(failed.wait(20000));
    QVERIFY2(clock.elapsed() < 10 * boundMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(complete.count(), 0);
    QCOMPARE(control->html(), QString());
}

void tst_WebView::unknownCallRequestsNothing()
{
    LoopbackHttpServer server;
    CustomWebView control;
    QSignalSpy failed(&control, &CustomWebView::navigateError);
    QVERIFY(!control.dynamicCall("GoBack()").isValid());
    control.dynamicCall("Refresh2(const QString&)", server.url("/x"));
    QTest::qWait(100);
    QCOMPARE(server.requestLines().size(), 0);
    QCOMPARE(failed.count(), 0);
}

void tst_WebView::translateKeyEvent_data()
{
    QTest::addColumn<int>("message");
    QTest::addColumn<bool>("toControl");
    QTest::newRow("0xFF") << 0xFF << false;
    QTest::newRow("key down 0x100") << 0x100 << true;
    QTest::newRow("char 0x102") << 0x102 << true;
    QTest::newRow("last key message 0x109") << 0x109 << true;
    QTest::newRow("0x10A") << 0x10A << false;
    QTest::newRow("mouse 0x201") << 0x201 << false;
}

void tst_WebView::translateKeyEvent()
{
    QFETCH(int, message);
    QFETCH(bool, toControl);
    CustomWebView control;
    QCOMPARE(control.translateKeyEvent(message, Qt::Key_Tab), toControl);
}

// The program's usage ping: a hidden view that only requests the page.
void tst_WebView::hiddenViewLoadsTwice()
{
    LoopbackHttpServer server;
    server.setResponse("/", 200, "ok");

    NativeWebView view;
    QSignalSpy started(&view, &NativeWebView::loadStarted);
    const QUrl url(server.url("/?f=zintroplite"));
    view.load(url);
    QCOMPARE(started.count(), 1);  // at once, before any answer
    view.load(url);
    QCOMPARE(started.count(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(server.requestLines().size(), 2, 5000);
    QCOMPARE(server.requestLines(),
             QStringList({"GET /?f=zintroplite HTTP/1.1", "GET /?f=zintroplite HTTP/1.1"}));
    QVERIFY(!view.isVisible());
}

void tst_WebView::resizeKeepsViewAtFullSize()
{
    NativeWebViewInternal internal;
    internal.show();
    auto* frame = internal.findChild<WebViewInQt*>();
    QVERIFY(frame);
    QCOMPARE(frame->pos(), QPoint(0, 0));
    internal.resize(321, 123);
    QCOMPARE(frame->size(), QSize(321, 123));
    internal.resize(50, 400);
    QCOMPARE(frame->size(), QSize(50, 400));
}

void tst_WebView::signalsAreRelayed()
{
    NativeWebView view;
    auto* frame = view.findChild<WebViewInQt*>();
    QVERIFY(frame);
    QSignalSpy started(&view, &NativeWebView::loadStarted);
    QSignalSpy finished(&view, &NativeWebView::loadFinished);
    QSignalSpy changed(&view, &NativeWebView::urlChanged);

    frame->emitLoadStart("http://a/", "");
    QCOMPARE(started.count(), 1);
    frame->emitLoadFinish("http://a/", "<html/>");
    frame->emitLoadError();
    QCOMPARE(finished.count(), 2);
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QCOMPARE(finished.at(1).at(0).toBool(), false);
    frame->emitUrlChanged("http://b/");
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).toString(), QString("http://b/"));
}

QTEST_MAIN(tst_WebView)
#include "tst_webview.moc"
