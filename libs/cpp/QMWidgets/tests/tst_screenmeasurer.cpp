// The screen measurer: the size it labels whichever way the user drags, the
// label's type, where the grab is shown, and that it stays up until Escape.
#include "ScreenMeasurer.h"

#include "QMTest.h"

#include <QFontMetrics>
#include <QScreen>

using QMWidgets::ScreenMeasurer;

namespace {

int timesHeight(int nPointSize)
{
    return QFontMetrics(QFont(QStringLiteral("Times"), nPointSize, 75, false)).height();
}

}  // namespace

class TestScreenMeasurer : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void sizeText_data();
    void sizeText();
    void insideLabelPointSize_data();
    void insideLabelPointSize();
    void longLabelsFitAcross_data();
    void longLabelsFitAcross();
    void labelIsTheSameWhicheverWayDragged_data();
    void labelIsTheSameWhicheverWayDragged();
    void grabIsShownCentred();
    void staysUpAcrossDrags();
    void escapeQuits();
    void cursorsAreBalanced();
};

void TestScreenMeasurer::sizeText_data()
{
    QTest::addColumn<QPoint>("corner1");
    QTest::addColumn<QPoint>("corner2");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("text");
    QTest::newRow("45 x 10 down and right") << QPoint(10, 10) << QPoint(54, 19) << 1.0 << "45x10";
    QTest::newRow("45 x 10 up and left") << QPoint(54, 19) << QPoint(10, 10) << 1.0 << "45x10";
    QTest::newRow("2 to the left") << QPoint(10, 10) << QPoint(9, 10) << 1.0 << "2x1";
    QTest::newRow("click") << QPoint(7, 7) << QPoint(7, 7) << 1.0 << "1x1";
    QTest::newRow("scaled twice") << QPoint(0, 0) << QPoint(44, 9) << 2.0 << "90x20";
    QTest::newRow("scaled, cut to whole pixels") << QPoint(0, 0) << QPoint(2, 2) << 0.5 << "1x1";
}

void TestScreenMeasurer::sizeText()
{
    QFETCH(QPoint, corner1);
    QFETCH(QPoint, corner2);
    QFETCH(double, scale);
    QFETCH(QString, text);
    QCOMPARE(ScreenMeasurer::sizeText(corner1, corner2, scale), text);
}

void TestScreenMeasurer::insideLabelPointSize_data()
{
    QTest::addColumn<QSize>("selection");
    QTest::addColumn<int>("pointSize");
    // 45 x 10: 10 points, or 6 when a 10-point line is taller than 10
    // pixels, and above the selection when that is 8 pixels or less.
    const int nFor45x10 = timesHeight(10) <= 10 ? 10 : (timesHeight(6) > 8 ? 6 : 0);
    QTest::newRow("45 x 10") << QSize(45, 10) << nFor45x10;
    QTest::newRow("wide and low: two thirds of the height") << QSize(450, 30) << 20;
    QTest::newRow("narrower than 4.5 pixels: above") << QSize(4, 100) << 0;
    QTest::newRow("too low for a readable size: above") << QSize(200, 6) << 0;
}

void TestScreenMeasurer::insideLabelPointSize()
{
    QFETCH(QSize, selection);
    QFETCH(int, pointSize);
    const QString strLabel = ScreenMeasurer::sizeText(QPoint(0, 0), QPoint(selection.width() - 1, selection.height() - 1));
    QCOMPARE(ScreenMeasurer::insideLabelPointSize(selection, strLabel), pointSize);
}

void TestScreenMeasurer::longLabelsFitAcross_data()
{
    QTest::addColumn<QSize>("selection");
    QTest::newRow("601 x 301") << QSize(601, 301);
    QTest::newRow("1920 x 1080") << QSize(1920, 1080);
    QTest::newRow("120 x 1000") << QSize(120, 1000);
}

void TestScreenMeasurer::longLabelsFitAcross()
{
    // A quarter and a bit of the width suits five characters; the label of
    // a larger selection is made smaller until it fits between the sides.
    QFETCH(QSize, selection);
    const QString strLabel = ScreenMeasurer::sizeText(QPoint(0, 0), QPoint(selection.width() - 1, selection.height() - 1));
    const int nPointSize = ScreenMeasurer::insideLabelPointSize(selection, strLabel);
    QVERIFY(nPointSize > 0);
    QVERIFY(nPointSize <= int(selection.width() / 4.5));
    const QFontMetrics metrics(QFont(QStringLiteral("Times"), nPointSize, 75, false));
    QVERIFY2(metrics.horizontalAdvance(strLabel) <= selection.width(), qPrintable(QString::number(nPointSize)));
    QVERIFY(QFontMetrics(QFont(QStringLiteral("Times"), nPointSize + 2, 75, false)).horizontalAdvance(strLabel)
            > selection.width());
}

void TestScreenMeasurer::labelIsTheSameWhicheverWayDragged_data()
{
    QTest::addColumn<QRect>("area");
    QTest::newRow("label inside") << QRect(100, 100, 120, 60);
    QTest::newRow("label above") << QRect(100, 100, 45, 6);
}

void TestScreenMeasurer::labelIsTheSameWhicheverWayDragged()
{
    // The same area dragged from either end shows the same picture: the
    // label counts both corners either way round.
    QFETCH(QRect, area);
    QMTest::SyntheticDesktop desktop(QMTest::SyntheticDesktop::coordinatePicture(QSize(300, 200)));
    QList<QImage> images;
    for (const auto& corners : {qMakePair(area.topLeft(), area.bottomRight()),
                                qMakePair(area.bottomRight(), area.topLeft())}) {
        ScreenMeasurer measurer;
        measurer.resize(400, 300);
        QMetaObject::invokeMethod(&measurer, "grabScreen");
        measurer.resize(400, 301);  // the shown picture follows the grab at a resize
        measurer.resize(400, 300);
        QMTest::pressAt(&measurer, corners.first);
        QMTest::moveHeldTo(&measurer, corners.second);
        images << measurer.grab().toImage();
    }
    QCOMPARE(images.first(), images.last());
    // Some of the label shows in the type's light grey.
    int nLabel = 0;
    const QRect labelArea = area.adjusted(1, -25, 0, -1);
    for (int y = labelArea.top(); y < labelArea.bottom(); ++y) {
        for (int x = labelArea.left() + 1; x < labelArea.right(); ++x)
            nLabel += images.first().pixelColor(x, y).lightness() > 150;
    }
    QVERIFY(nLabel > 5);
}

void TestScreenMeasurer::grabIsShownCentred()
{
    QMTest::SyntheticDesktop desktop(QMTest::SyntheticDesktop::coordinatePicture(QSize(200, 100)));
    ScreenMeasurer measurer;
    measurer.resize(400, 300);
    QSignalSpy doneSpy(&measurer, SIGNAL(done()));
    QMetaObject::invokeMethod(&measurer, "grabScreen");
    QCOMPARE(doneSpy.count(), 1);
    QVERIFY(!measurer.isVisible());  // the owner shows it
    QCOMPARE(measurer.cursor().shape(), Qt::CrossCursor);
    measurer.resize(401, 300);
    measurer.resize(400, 300);
    const QImage image = measurer.grab().toImage();
    QCOMPARE(image.pixelColor(5, 5), QColor(71, 71, 71));
    QCOMPARE(image.pixelColor(100 + 7, 100 + 9), QColor(7, 9, 0));
    QCOMPARE(image.pixelColor(299, 199), QColor(199, 99, 0));
    QCOMPARE(image.pixelColor(300, 150), QColor(71, 71, 71));
}

void TestScreenMeasurer::staysUpAcrossDrags()
{
    QMTest::SyntheticDesktop desktop(QMTest::SyntheticDesktop::coordinatePicture(QSize(200, 100)));
    ScreenMeasurer measurer;
    measurer.resize(400, 300);
    measurer.show();
    QMetaObject::invokeMethod(&measurer, "grabScreen");
    QSignalSpy quitSpy(&measurer, SIGNAL(doQuit()));
    QSignalSpy doneSpy(&measurer, SIGNAL(done()));
    QSignalSpy cutSpy(&measurer, SIGNAL(done(QPixmap)));
    for (int i = 0; i < 3; ++i)
        QMTest::dragFromTo(&measurer, QPoint(10, 10), QPoint(60 + i, 40));
    QVERIFY(measurer.isVisible());
    QCOMPARE(quitSpy.count() + doneSpy.count() + cutSpy.count(), 0);
    QVERIFY(measurer.croppedPixmap().isNull());
    // Moves without a press draw no selection.
    const QImage before = measurer.grab().toImage();
    QMTest::moveHeldTo(&measurer, QPoint(200, 200), Qt::NoButton);
    QCOMPARE(measurer.grab().toImage(), before);
}

void TestScreenMeasurer::escapeQuits()
{
    ScreenMeasurer measurer;
    measurer.show();
    QMetaObject::invokeMethod(&measurer, "grabScreen");
    QSignalSpy quitSpy(&measurer, SIGNAL(doQuit()));
    QSignalSpy escapedSpy(&measurer, SIGNAL(escaped()));
    QSignalSpy closedSpy(&measurer, SIGNAL(closed()));
    QApplication::setActiveWindow(&measurer);
    QTRY_VERIFY(measurer.isActiveWindow());
    QTest::keyClick(&measurer, Qt::Key_Escape);
    QCOMPARE(quitSpy.count(), 1);
    QCOMPARE(escapedSpy.count(), 1);
    QCOMPARE(closedSpy.count(), 0);
    QVERIFY(!measurer.isVisible());
    QVERIFY(!QApplication::overrideCursor());
}

void TestScreenMeasurer::cursorsAreBalanced()
{
    ScreenMeasurer measurer;
    measurer.show();
    QMetaObject::invokeMethod(&measurer, "grabScreen");
    for (int i = 0; i < 100; ++i) {
        QMTest::sendEnter(&measurer);
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
        QMTest::sendLeave(&measurer);
        QVERIFY(!QApplication::overrideCursor());
    }
    QMTest::sendEnter(&measurer);
    QMetaObject::invokeMethod(&measurer, "slotClose");
    QVERIFY(!QApplication::overrideCursor());
}

QMTEST_APP_MAIN(TestScreenMeasurer)
#include "tst_screenmeasurer.moc"
