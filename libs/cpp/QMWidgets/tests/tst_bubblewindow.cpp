// The speech bubble: its painted shape, hiding on clicks, its animations.
#include "BubbleWindow.h"

#include "QMTest.h"

#include <QPropertyAnimation>

using QMWidgets::BubbleWindow;

namespace {

bool isPainted(const QImage& image, int x, int y)
{
    return qAlpha(image.pixel(x, y)) == 255;
}

bool isClear(const QImage& image, int x, int y)
{
    return qAlpha(image.pixel(x, y)) == 0;
}

} // namespace

class TestBubbleWindow : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void windowKind();
    void shape_data();
    void shape();
    void colourAndDirectionAtNextPaint();
    void clickHidesIt();
    void applicationClickHidesItWhenAsked();
    void animationsStartOnShowAndHide();
    void focusSlotHidesUnlessActive();
};

void TestBubbleWindow::windowKind()
{
    BubbleWindow bubble(nullptr, Qt::red);
    QCOMPARE(bubble.windowType(), Qt::Tool);
    QVERIFY(bubble.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(bubble.testAttribute(Qt::WA_TranslucentBackground));
}

void TestBubbleWindow::shape_data()
{
    QTest::addColumn<bool>("bDown");
    QTest::addColumn<QList<QPoint>>("painted");
    QTest::addColumn<QList<QPoint>>("clear");

    // 200 x 100 pointing down: body 0..80, tip at (100, 100), base 80..120 on y = 80.
    QTest::newRow("down") << true
                          << QList<QPoint>{{100, 99}, {100, 85}, {1, 1}, {198, 78}, {85, 81}}
                          << QList<QPoint>{{70, 90}, {130, 90}, {1, 95}, {82, 95}};
    // Pointing up: tip at (100, 0), body from y = 20 with cut corners.
    QTest::newRow("up") << false
                        << QList<QPoint>{{100, 2}, {100, 15}, {5, 22}, {100, 98}, {198, 50}}
                        << QList<QPoint>{{70, 10}, {130, 10}, {0, 20}, {199, 99}, {0, 99}};
}

void TestBubbleWindow::shape()
{
    QFETCH(bool, bDown);
    QFETCH(QList<QPoint>, painted);
    QFETCH(QList<QPoint>, clear);

    BubbleWindow bubble(nullptr, QColor(0, 0, 200));
    bubble.setPointingDown(bDown);
    bubble.resize(200, 100);
    const QImage image = bubble.grab().toImage();
    QCOMPARE(image.size(), QSize(200, 100));
    for (const QPoint& p : painted) {
        QVERIFY2(isPainted(image, p.x(), p.y()), qPrintable(QString("(%1, %2) not painted").arg(p.x()).arg(p.y())));
        QCOMPARE(QColor(image.pixel(p)).rgb() & 0xffffff, QColor(0, 0, 200).rgb() & 0xffffff);
    }
    for (const QPoint& p : clear)
        QVERIFY2(isClear(image, p.x(), p.y()), qPrintable(QString("(%1, %2) painted").arg(p.x()).arg(p.y())));
}

void TestBubbleWindow::colourAndDirectionAtNextPaint()
{
    BubbleWindow bubble(nullptr, Qt::red);
    bubble.resize(200, 100);
    bubble.setColor(Qt::green);
    bubble.setPointingDown(true);
    const QImage image = bubble.grab().toImage();
    QCOMPARE(image.pixel(100, 99) & 0xffffff, QColor(Qt::green).rgb() & 0xffffff);
    QVERIFY(isClear(image, 1, 95));
}

void TestBubbleWindow::clickHidesIt()
{
    BubbleWindow bubble(nullptr, Qt::red);
    bubble.resize(200, 100);
    bubble.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bubble));
    QTest::mouseClick(&bubble, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QVERIFY(!bubble.isVisible());
}

void TestBubbleWindow::applicationClickHidesItWhenAsked()
{
    QWidget other;
    other.resize(100, 100);
    other.show();
    BubbleWindow bubble(nullptr, Qt::red);
    bubble.resize(200, 100);
    bubble.show();

    QTest::mouseClick(&other, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QVERIFY(bubble.isVisible());

    bubble.hideOnApplicationClick();
    QTest::mouseClick(&other, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QVERIFY(!bubble.isVisible());
}

void TestBubbleWindow::animationsStartOnShowAndHide()
{
    BubbleWindow bubble(nullptr, Qt::red);
    bubble.resize(200, 100);
    bubble.show();
    bubble.hide();  // without animations only the window shows and hides

    QPropertyAnimation fadeIn(&bubble, "windowOpacity");
    fadeIn.setStartValue(0.0);
    fadeIn.setEndValue(1.0);
    fadeIn.setDuration(5000);
    QPropertyAnimation fadeOut(&bubble, "windowOpacity");
    fadeOut.setStartValue(1.0);
    fadeOut.setEndValue(0.5);
    fadeOut.setDuration(5000);
    bubble.setShowAnimation(&fadeIn);
    bubble.setHideAnimation(&fadeOut);

    bubble.show();
    QCOMPARE(fadeIn.state(), QAbstractAnimation::Running);
    QCOMPARE(fadeOut.state(), QAbstractAnimation::Stopped);
    fadeIn.stop();
    bubble.hide();
    QCOMPARE(fadeOut.state(), QAbstractAnimation::Running);
    fadeOut.stop();
}

void TestBubbleWindow::focusSlotHidesUnlessActive()
{
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    BubbleWindow bubble(nullptr, Qt::red);
    bubble.show();
    QVERIFY(QMetaObject::invokeMethod(&bubble, "slotFocusChanged", Q_ARG(QWidget*, nullptr), Q_ARG(QWidget*, &other)));
    QVERIFY(!bubble.isVisible());

    bubble.show();
    QApplication::setActiveWindow(&bubble);
    QVERIFY(QMetaObject::invokeMethod(&bubble, "slotFocusChanged", Q_ARG(QWidget*, &other), Q_ARG(QWidget*, nullptr)));
    QVERIFY(bubble.isVisible());
}

QMTEST_APP_MAIN(TestBubbleWindow)
#include "tst_bubblewindow.moc"
