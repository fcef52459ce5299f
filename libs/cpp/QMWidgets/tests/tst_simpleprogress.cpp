#include "SimpleProgress.h"

#include <QEvent>
#include <QImage>
#include <QPointer>
#include "QMTest.h"

#include <limits>

#include <QtTest>

using QMWidgets::SimpleProgress;

namespace {

bool isGreen(QRgb p) { return qGreen(p) > qRed(p) + 60 && qGreen(p) > qBlue(p) + 60; }
bool isGrey(QRgb p) { return qAbs(qGreen(p) - qRed(p)) < 12 && qAbs(qGreen(p) - qBlue(p)) < 12; }

// Counts the timer events the bar receives, which is how its busy pattern
// advances; no accessor exposes the timers themselves.
class TimerCounter : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Timer)
            ++count;
        return false;
    }
};

QImage render(SimpleProgress &bar) { return bar.grab().toImage(); }

} // namespace

class TestSimpleProgress : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void construction();
    void barWidth_data();
    void barWidth();
    void busyStripes_data();
    void busyStripes();
    void busyPatternMovesWhileZero();
    void timersStopAfterNonZeroAndRestart();
    void textIsDrawnOverTheBar();
};

void TestSimpleProgress::construction()
{
    SimpleProgress bar;
    QCOMPARE(bar.value(), 0);
    QCOMPARE(bar.minimumHeight(), 20);
    QCOMPARE(bar.sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(bar.sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(QByteArray(bar.metaObject()->className()), QByteArray("QMWidgets::SimpleProgress"));
}

void TestSimpleProgress::barWidth_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("lastGreenX");   // -1: no bar at all
    QTest::newRow("half ends at 100") << 50 << 99;
    QTest::newRow("one percent") << 1 << 1;
    QTest::newRow("full") << 100 << 199;
    QTest::newRow("above 100 clipped") << 150 << 199;
    QTest::newRow("negative shows none") << -5 << -1;
    QTest::newRow("huge value fills") << std::numeric_limits<int>::max() << 199;
    QTest::newRow("huge negative shows none") << std::numeric_limits<int>::min() << -1;
}

void TestSimpleProgress::barWidth()
{
    QFETCH(int, value);
    QFETCH(int, lastGreenX);
    SimpleProgress bar;
    bar.resize(200, 20);
    bar.setValue(value);
    const QImage image = render(bar);
    QCOMPARE(image.size(), QSize(200, 20));
    for (int x = 0; x < 200; ++x) {
        const QRgb p = image.pixel(x, 10);
        if (x <= lastGreenX)
            QVERIFY2(isGreen(p), qPrintable(QString("x %1 should be bar").arg(x)));
        else
            QVERIFY2(isGrey(p), qPrintable(QString("x %1 should be background").arg(x)));
    }
}

void TestSimpleProgress::busyStripes_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("greenX");
    QTest::addColumn<QList<int>>("greyX");
    // Width 200: stripes 10 wide every 20 pixels; at mid-height stripe k
    // spans [20k - 20, 20k - 10] with the step at 0.
    QTest::newRow("200 wide") << 200 << QList<int>{ 5, 25, 45, 185 } << QList<int>{ 15, 35, 195 };
    // Narrower than 20 pixels: the stripe width is 0, nothing shows.
    QTest::newRow("19 wide") << 19 << QList<int>{} << QList<int>{ 0, 5, 9, 18 };
}

void TestSimpleProgress::busyStripes()
{
    QFETCH(int, width);
    QFETCH(QList<int>, greenX);
    QFETCH(QList<int>, greyX);
    SimpleProgress bar;
    bar.resize(width, 20);
    // Rendered before the first 100 ms tick, so the step is still 0.
    const QImage image = render(bar);
    for (int x : greenX)
        QVERIFY2(isGreen(image.pixel(x, 10)), qPrintable(QString("x %1").arg(x)));
    for (int x : greyX)
        QVERIFY2(isGrey(image.pixel(x, 10)), qPrintable(QString("x %1").arg(x)));
}

void TestSimpleProgress::busyPatternMovesWhileZero()
{
    SimpleProgress bar;
    bar.resize(200, 20);
    bar.show();
    const QImage first = render(bar);
    QTRY_VERIFY_WITH_TIMEOUT(render(bar) != first, 3000);
}

void TestSimpleProgress::timersStopAfterNonZeroAndRestart()
{
    SimpleProgress bar;
    TimerCounter counter;
    bar.installEventFilter(&counter);
    bar.resize(200, 20);
    bar.setValue(0);   // a second timer beside the constructor's
    QTRY_VERIFY_WITH_TIMEOUT(counter.count >= 2, 3000);

    bar.setValue(40);
    // Each timer kills itself at its next tick; give them ample time.
    QTest::qWait(400);
    counter.count = 0;
    QTest::qWait(400);
    QCOMPARE(counter.count, 0);

    bar.setValue(0);
    QTRY_VERIFY_WITH_TIMEOUT(counter.count >= 2, 3000);
}

void TestSimpleProgress::textIsDrawnOverTheBar()
{
    SimpleProgress bar;
    bar.resize(200, 20);
    bar.setValue(100);
    const QImage plain = render(bar);
    bar.setText(QStringLiteral("Compressing a file with a rather long name.png"));
    const QImage withText = render(bar);
    QVERIFY(plain != withText);
    // The pen is near white: some pixel turns bright over the green bar.
    bool bright = false;
    for (int y = 0; y < withText.height() && !bright; ++y)
        for (int x = 0; x < withText.width() && !bright; ++x)
            bright = qRed(withText.pixel(x, y)) > 200 && qBlue(withText.pixel(x, y)) > 200;
    QVERIFY(bright);
}

QMTEST_APP_MAIN(TestSimpleProgress)
#include "tst_simpleprogress.moc"
