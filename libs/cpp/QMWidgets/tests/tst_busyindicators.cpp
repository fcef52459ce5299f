// The round gauge, the movie label, the self-closing update dialog and the
// wait window.
#include "MovieLabel.h"
#include "RoundProgress.h"
#include "UpdateIndicationDialog.h"
#include "WaitLabel.h"

#include "QMTest.h"

#include <QBoxLayout>
#include <QMovie>
#include <QTimer>

#include <limits>

using QMWidgets::MovieLabel;
using QMWidgets::RoundProgress;
using QMWidgets::UpdateIndicationDialog;
using QMWidgets::WaitLabel;

namespace {

bool isGreen(QRgb p)
{
    return qGreen(p) > 60 && qRed(p) < 30 && qBlue(p) < 30;
}

bool isGrey(QRgb p)
{
    return qRed(p) > 60 && qAbs(qRed(p) - qGreen(p)) < 8 && qAbs(qRed(p) - qBlue(p)) < 8;
}

QString gifPath()
{
    return QFINDTESTDATA("data/two_frames.gif");
}

} // namespace

class TestBusyIndicators : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void pieSpan_data();
    void pieSpan();
    void gaugePaint_data();
    void gaugePaint();
    void gaugeStaysRoundAndCentred();
    void valueIsNotClamped();
    void movieLabelPlaysWhileShown();
    void movieLabelScalesBelowItsSize();
    void movieLabelStopDelay();
    void updateDialogAcceptsItself();
    void updateDialogHidingStopsItsTimer();
    void waitLabel();
};

void TestBusyIndicators::pieSpan_data()
{
    QTest::addColumn<int>("nValue");
    QTest::addColumn<int>("nSpan");

    // 3.6 in single precision is a little below 3.6: the spans fall one
    // sixteenth of a degree short of the exact ones.
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("25") << 25 << -1439;
    QTest::newRow("50") << 50 << -2879;
    QTest::newRow("100") << 100 << -5759;
    QTest::newRow("over 100") << 150 << -8639;
    QTest::newRow("negative turns the other way") << -10 << 575;
    // Millions of turns: held at the ends of int's range, signs kept.
    QTest::newRow("largest") << std::numeric_limits<int>::max() << -std::numeric_limits<int>::max();
    QTest::newRow("smallest") << std::numeric_limits<int>::min() << std::numeric_limits<int>::max();
}

void TestBusyIndicators::pieSpan()
{
    QFETCH(int, nValue);
    QFETCH(int, nSpan);
    QCOMPARE(RoundProgress::pieSpan(nValue), nSpan);
}

void TestBusyIndicators::gaugePaint_data()
{
    QTest::addColumn<int>("nValue");
    QTest::addColumn<bool>("bRightGreen");  // three o'clock on the ring
    QTest::addColumn<bool>("bLeftGreen");   // nine o'clock

    QTest::newRow("0 leaves the ring grey") << 0 << false << false;
    QTest::newRow("50 fills the right half clockwise") << 50 << true << false;
    QTest::newRow("100 fills it all") << 100 << true << true;
    QTest::newRow("the largest value fills it all") << std::numeric_limits<int>::max() << true << true;
    QTest::newRow("the smallest value fills it all") << std::numeric_limits<int>::min() << true << true;
}

void TestBusyIndicators::gaugePaint()
{
    QFETCH(int, nValue);
    QFETCH(bool, bRightGreen);
    QFETCH(bool, bLeftGreen);

    RoundProgress gauge;
    gauge.resize(200, 200);
    gauge.setValue(nValue);
    QCOMPARE(gauge.value(), nValue);
    const QImage image = gauge.grab().toImage();
    // The ring lies between the inner disc (radius 90) and the edge (100).
    const QRgb right = image.pixel(196, 100);
    const QRgb left = image.pixel(3, 100);
    QCOMPARE(isGreen(right), bRightGreen);
    QCOMPARE(isGreen(left), bLeftGreen);
    if (!bRightGreen)
        QVERIFY(isGrey(right));
    // The inner disc is dark grey rgb(45,45,45) away from the text.
    QCOMPARE(QColor(image.pixel(100, 20)), QColor(45, 45, 45));
}

void TestBusyIndicators::gaugeStaysRoundAndCentred()
{
    RoundProgress gauge;
    gauge.resize(300, 100);
    gauge.setValue(100);
    const QImage image = gauge.grab().toImage();
    QCOMPARE(qAlpha(image.pixel(40, 50)) == 0 || !isGreen(image.pixel(40, 50)), true);  // left of the gauge
    QVERIFY(isGreen(image.pixel(102, 50)));  // its left edge at 100
    QVERIFY(isGreen(image.pixel(197, 50)));  // its right edge at 200
    QVERIFY(!isGreen(image.pixel(260, 50)));
}

void TestBusyIndicators::valueIsNotClamped()
{
    RoundProgress gauge;
    gauge.resize(120, 120);
    gauge.setValue(250);
    QCOMPARE(gauge.value(), 250);
    QVERIFY(!gauge.grab().toImage().isNull());
    QCOMPARE(gauge.sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(gauge.sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
}

void TestBusyIndicators::movieLabelPlaysWhileShown()
{
    MovieLabel label(gifPath());
    QCOMPARE(label.objectName(), QString("MovieLabel"));
    QCOMPARE(label.alignment(), Qt::AlignCenter);
    QMovie* pMovie = label.movie();
    QVERIFY(pMovie && pMovie->isValid());
    QVERIFY(pMovie->state() != QMovie::Running);
    label.show();
    QCOMPARE(pMovie->state(), QMovie::Running);
    label.hide();
    QCOMPARE(pMovie->state(), QMovie::NotRunning);
    label.setSpeed(250);
    QCOMPARE(pMovie->speed(), 250);
}

void TestBusyIndicators::movieLabelScalesBelowItsSize()
{
    MovieLabel label(gifPath());
    label.resize(110, 55);
    label.show();
    QCOMPARE(label.movie()->scaledSize(), QSize(100, 50));
}

void TestBusyIndicators::movieLabelStopDelay()
{
    MovieLabel label(gifPath());
    label.setStopDelay(50);
    label.show();
    QCOMPARE(label.movie()->state(), QMovie::Running);
    QTRY_COMPARE_WITH_TIMEOUT(label.movie()->state(), QMovie::NotRunning, 2000);
    label.hide();
    label.setStopDelay(0);  // never
    label.show();
    QTest::qWait(120);
    QCOMPARE(label.movie()->state(), QMovie::Running);

    // Shown again before the delay of an earlier show ran out: the delay
    // counts from the latest show.
    label.hide();
    label.setStopDelay(2000);
    label.show();
    QTest::qWait(1000);
    label.hide();
    label.show();
    QTest::qWait(1500);
    QCOMPARE(label.movie()->state(), QMovie::Running);
    QTRY_COMPARE_WITH_TIMEOUT(label.movie()->state(), QMovie::NotRunning, 3000);
}

void TestBusyIndicators::updateDialogAcceptsItself()
{
    UpdateIndicationDialog dialog;
    QCOMPARE(dialog.windowType(), Qt::Window);
    QVERIFY(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(dialog.windowOpacity(), 0.8);
    QCOMPARE(dialog.minimumHeight(), 70);
    dialog.setText("Checking");
    QCOMPARE(QMTest::labelTextContaining(&dialog, "Checking"), QString("Checking"));
    auto* pTimer = dialog.findChild<QTimer*>();
    QVERIFY(pTimer);
    QCOMPARE(pTimer->interval(), 10000);
    pTimer->setInterval(30);  // the 10 s shortened for the test
    QElapsedTimer elapsed;
    elapsed.start();
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(elapsed.elapsed() < 5000);
}

void TestBusyIndicators::updateDialogHidingStopsItsTimer()
{
    UpdateIndicationDialog dialog;
    auto* pTimer = dialog.findChild<QTimer*>();
    dialog.show();
    QVERIFY(pTimer->isActive());
    QMovie* pMovie = dialog.findChild<QMovie*>();
    QVERIFY(pMovie);
    QCOMPARE(pMovie->speed(), 300);
    dialog.hide();
    QVERIFY(!pTimer->isActive());
    QCOMPARE(pMovie->state(), QMovie::NotRunning);
}

void TestBusyIndicators::waitLabel()
{
    WaitLabel label("Please wait");
    QCOMPARE(label.text(), QString("Please wait"));
    QCOMPARE(label.windowType(), Qt::Window);
    QVERIFY(label.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(label.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(qAbs(label.windowOpacity() - 0.5) < 0.01);  // kept in 8 bits
    // The width it had before being shown, 300 high.
    QCOMPARE(label.height(), 300);
    QCOMPARE(label.minimumSize(), label.maximumSize());
    QCOMPARE(label.layout()->contentsMargins(), QMargins(20, 20, 20, 20));
    QCOMPARE(label.layout()->spacing(), 10);
    auto* pInner = qobject_cast<QLabel*>(label.layout()->itemAt(0)->widget());
    QVERIFY(pInner && pInner->movie());
}

QMTEST_APP_MAIN(TestBusyIndicators)
#include "tst_busyindicators.moc"
