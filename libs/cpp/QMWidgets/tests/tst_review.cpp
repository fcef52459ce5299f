// The review request after a batch: once per run, three times a year.
#include "QMTest.h"

#include "App.h"
#include "Os.h"

#include <climits>

using namespace QMWidgets;

namespace {

App* app()
{
    return App::instance();
}

const QString kRatePage = "https://apps.zintrop.invalid/rate.php?appname=zintrop lite";

// Stored dates are written as days before today; "unset" leaves the key out.
QVariant daysAgo(int nDays)
{
    return QDate::currentDate().addDays(-nDays).toString("yyyy-MM-dd");
}

void store(const QString& strKey, const QVariant& value)
{
    if (value.isValid())
        app()->setSettingsValue(strKey, value);
}

} // namespace

class TestReview : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void request_data();
    void request();
    void onlyOncePerRun();
    void secondRequestFromInsideTheDialog();
    void remaining_data();
    void remaining();
    void lastDate();
};

void TestReview::init()
{
    QMTest::clearSettings();
    Os::resetReviewRequestForTests();
}

void TestReview::request_data()
{
    QTest::addColumn<QVariant>("countBefore");
    QTest::addColumn<QVariant>("callsBefore");
    QTest::addColumn<QVariant>("dateBefore");
    QTest::addColumn<QVariant>("autoBefore");
    QTest::addColumn<int>("nPeriod");
    QTest::addColumn<bool>("bForce");
    QTest::addColumn<QString>("strAnswer");   // empty: no dialog expected
    QTest::addColumn<int>("nCountAfter");
    QTest::addColumn<int>("nCallsAfter");
    QTest::addColumn<QVariant>("dateAfter");
    QTest::addColumn<bool>("bRatePage");
    QTest::addColumn<QVariant>("autoAfter");

    const QVariant unset;
    const QVariant today = daysAgo(0);
    // clang-format off
    QTest::newRow("first call ever") << unset << unset << unset << unset << 2 << false << "&Later"
        << 1 << 1 << today << false << unset;
    QTest::newRow("even call is due") << QVariant(1) << QVariant(2) << daysAgo(10) << unset << 2 << false << "&Later"
        << 2 << 3 << today << false << unset;
    QTest::newRow("odd call is not due") << QVariant(1) << QVariant(3) << daysAgo(10) << unset << 2 << false << ""
        << 1 << 4 << daysAgo(10) << false << unset;
    QTest::newRow("forced odd call") << QVariant(1) << QVariant(3) << daysAgo(10) << unset << 2 << true << "&Later"
        << 2 << 4 << today << false << unset;
    QTest::newRow("period 3") << QVariant(1) << QVariant(3) << daysAgo(10) << unset << 3 << false << "&Later"
        << 2 << 4 << today << false << unset;
    QTest::newRow("period 0 keeps the period of 2") << QVariant(1) << QVariant(3) << daysAgo(10) << unset << 0
        << false << "" << 1 << 4 << daysAgo(10) << false << unset;
    QTest::newRow("negative period keeps the period of 2") << QVariant(1) << QVariant(4) << daysAgo(10) << unset
        << -5 << false << "&Later" << 2 << 5 << today << false << unset;
    QTest::newRow("third of the year, 365 days") << QVariant(2) << QVariant(4) << daysAgo(365) << unset << 2 << false
        << "&Later" << 3 << 5 << today << false << unset;
    QTest::newRow("three shown, 366 days: limit") << QVariant(3) << QVariant(5) << daysAgo(366) << unset << 2 << true
        << "" << 3 << 5 << daysAgo(366) << false << unset;
    QTest::newRow("three shown, 367 days: new year") << QVariant(3) << QVariant(5) << daysAgo(367) << unset << 2
        << false << "&Later" << 1 << 1 << today << false << unset;
    QTest::newRow("one shown, 366 days: limit") << QVariant(1) << QVariant(4) << daysAgo(366) << unset << 2 << true
        << "" << 1 << 4 << daysAgo(366) << false << unset;
    QTest::newRow("unreadable date counts as today") << QVariant(3) << QVariant(5) << QVariant("garbage") << unset
        << 2 << true << "" << 3 << 5 << QVariant("garbage") << false << unset;
    QTest::newRow("calls at maximum wrap to 1") << QVariant(1) << QVariant(INT_MAX) << daysAgo(1) << unset << 2
        << false << "" << 1 << 1 << daysAgo(1) << false << unset;
    QTest::newRow("switched off: counted, not shown") << unset << unset << unset << QVariant(false) << 2 << false
        << "" << 1 << 1 << today << false << QVariant(false);
    QTest::newRow("rate") << unset << unset << unset << unset << 2 << false << "&Rate It Now"
        << 1 << 1 << today << true << QVariant(false);
    QTest::newRow("never") << unset << unset << unset << QVariant(true) << 2 << false << "&Don't ask me again"
        << 1 << 1 << today << false << QVariant(false);
    QTest::newRow("escape") << unset << unset << unset << QVariant(true) << 2 << false << "escape"
        << 1 << 1 << today << false << QVariant(true);
    // clang-format on
}

void TestReview::request()
{
    QFETCH(QVariant, countBefore);
    QFETCH(QVariant, callsBefore);
    QFETCH(QVariant, dateBefore);
    QFETCH(QVariant, autoBefore);
    QFETCH(int, nPeriod);
    QFETCH(bool, bForce);
    QFETCH(QString, strAnswer);
    QFETCH(int, nCountAfter);
    QFETCH(int, nCallsAfter);
    QFETCH(QVariant, dateAfter);
    QFETCH(bool, bRatePage);
    QFETCH(QVariant, autoAfter);

    store("RequestedReviewsCount", countBefore);
    store("RequestedReviewsCalls", callsBefore);
    store("RequestedReviewsLastDate", dateBefore);
    store("AutoReminder", autoBefore);
    Os::setReviewCallsPeriod(nPeriod);

    QMTest::UrlRecorder recorder;
    QMTest::ModalAnswerer answerer(QMTest::ModalAnswerer::clickButtonOrEscape(strAnswer), 1000);
    Os::requestReview(bForce);

    QCOMPARE(answerer.answered(), !strAnswer.isEmpty());
    if (answerer.answered())
        QCOMPARE(answerer.answeredClassName(), QString("QMWidgets::RateAppStoreDialog"));
    QCOMPARE(app()->settingsValue("RequestedReviewsCount").toInt(), nCountAfter);
    QCOMPARE(app()->settingsValue("RequestedReviewsCalls").toInt(), nCallsAfter);
    QCOMPARE(app()->settingsValue("RequestedReviewsLastDate"), dateAfter);
    QCOMPARE(recorder.count(), bRatePage ? 1 : 0);
    if (bRatePage)
        QCOMPARE(recorder.last(), QUrl(kRatePage, QUrl::TolerantMode));
    QCOMPARE(app()->settingsValue("AutoReminder"), autoAfter);
}

void TestReview::onlyOncePerRun()
{
    {
        QMTest::ModalAnswerer answerer(QMTest::ModalAnswerer::reject(), 1000);
        Os::requestReview(false);
        QVERIFY(answerer.answered());
    }
    QMTest::ModalAnswerer answerer(QMTest::ModalAnswerer::reject(), 300);
    Os::requestReview(true);
    QTest::qWait(350);
    QVERIFY(!answerer.answered());
    QCOMPARE(app()->settingsValue("RequestedReviewsCount").toInt(), 1);
    QCOMPARE(app()->settingsValue("RequestedReviewsCalls").toInt(), 1);
}

void TestReview::secondRequestFromInsideTheDialog()
{
    int nDialogsSeen = 0;
    QMTest::ModalAnswerer answerer([&nDialogsSeen](QWidget* pWidget) {
        ++nDialogsSeen;
        Os::requestReview(true);
        static_cast<QDialog*>(pWidget)->reject();
    }, 1000);
    Os::requestReview(false);
    QCOMPARE(nDialogsSeen, 1);
    QCOMPARE(app()->settingsValue("RequestedReviewsCount").toInt(), 1);
    QCOMPARE(app()->settingsValue("RequestedReviewsCalls").toInt(), 1);
}

void TestReview::remaining_data()
{
    QTest::addColumn<QVariant>("countBefore");
    QTest::addColumn<QVariant>("dateBefore");
    QTest::addColumn<int>("nRemaining");
    QTest::addColumn<int>("nCountAfter");

    QTest::newRow("nothing stored") << QVariant() << QVariant() << 3 << 0;
    QTest::newRow("one shown") << QVariant(1) << daysAgo(20) << 2 << 1;
    QTest::newRow("three shown") << QVariant(3) << daysAgo(20) << 0 << 3;
    QTest::newRow("three shown a year and two days ago") << QVariant(3) << daysAgo(367) << 3 << 0;
}

void TestReview::remaining()
{
    QFETCH(QVariant, countBefore);
    QFETCH(QVariant, dateBefore);
    QFETCH(int, nRemaining);
    QFETCH(int, nCountAfter);

    store("RequestedReviewsCount", countBefore);
    store("RequestedReviewsLastDate", dateBefore);
    QCOMPARE(Os::remainingReviewRequests(), nRemaining);
    QCOMPARE(Os::requestedReviewsCount(), nCountAfter);
}

void TestReview::lastDate()
{
    QCOMPARE(Os::requestedReviewsLastDate(), QDate::currentDate());
    app()->setSettingsValue("RequestedReviewsLastDate", "2020-02-29");
    QCOMPARE(Os::requestedReviewsLastDate(), QDate(2020, 2, 29));
    app()->setSettingsValue("RequestedReviewsLastDate", "29.02.2020");
    QVERIFY(!Os::requestedReviewsLastDate().isValid());
}

QMTEST_APP_MAIN(TestReview)
#include "tst_review.moc"
