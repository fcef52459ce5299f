// The colour swatch and its grid of fixed colours.
#include "ColorWidget.h"
#include "ColorWidgetPopup.h"

#include "QMTest.h"

#include <QGridLayout>
#include <QPushButton>
#include <QSignalSpy>

using QMWidgets::ColorWidget;
using QMWidgets::ColorWidgetPopup;

namespace {

ColorWidgetPopup* popupOf(ColorWidget& swatch)
{
    return swatch.findChild<ColorWidgetPopup*>();
}

QPushButton* gridButton(ColorWidgetPopup* pPopup, int nRow, int nColumn)
{
    auto* pGrid = qobject_cast<QGridLayout*>(pPopup->layout());
    return pGrid ? qobject_cast<QPushButton*>(pGrid->itemAtPosition(nRow, nColumn)->widget()) : nullptr;
}

}  // namespace

class TestColorWidget : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void construction();
    void choosingAColour_data();
    void choosingAColour();
    void choiceTravelsWithTheButtonNotItsPicture();
    void setColorEmitsNothing();
    void clickTogglesGridBelowSwatch();
    void leavingGridClosesItUnchanged();
    void directCallOnlyHides();
    void painting();
};

void TestColorWidget::construction()
{
    ColorWidget swatch;
    QCOMPARE(swatch.color(), QColor(Qt::green));
    QVERIFY(swatch.testAttribute(Qt::WA_MouseTracking));
    QCOMPARE(swatch.minimumSize(), QSize(10, 10));
    ColorWidgetPopup* pPopup = popupOf(swatch);
    QVERIFY(pPopup);
    QCOMPARE(pPopup->objectName(), QStringLiteral("ColorWidgetPopup"));
    QCOMPARE(pPopup->windowType(), Qt::Popup);
    QVERIFY(pPopup->isHidden());
    QCOMPARE(pPopup->windowOpacity(), 1.0);
    auto* pGrid = qobject_cast<QGridLayout*>(pPopup->layout());
    QVERIFY(pGrid);
    QCOMPARE(pGrid->rowCount(), 6);
    QCOMPARE(pGrid->columnCount(), 8);
    QCOMPARE(pGrid->margin(), 5);
    QCOMPARE(pGrid->spacing(), 2);
    QPushButton* pButton = gridButton(pPopup, 0, 0);
    QCOMPARE(pButton->size(), QSize(20, 20));
    QVERIFY(pButton->isFlat());
}

void TestColorWidget::choosingAColour_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("white, top left") << 0 << 0 << QColor(255, 255, 255);
    QTest::newRow("orange") << 2 << 2 << QColor(255, 128, 0);
    QTest::newRow("brown is not darker") << 5 << 2 << QColor(128, 64, 64);
    QTest::newRow("black") << 5 << 0 << QColor(0, 0, 0);
    QTest::newRow("dark purple, bottom right") << 5 << 7 << QColor(64, 0, 64);
}

void TestColorWidget::choosingAColour()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QColor, expected);
    ColorWidget swatch;
    swatch.show();
    ColorWidgetPopup* pPopup = popupOf(swatch);
    QSignalSpy popupSpy(pPopup, SIGNAL(colorChanged(const QColor&)));
    QSignalSpy swatchSpy(&swatch, SIGNAL(colorChanged(const QColor&)));
    QTest::mouseClick(&swatch, Qt::LeftButton);
    QVERIFY(pPopup->isVisible());

    QTest::mouseClick(gridButton(pPopup, row, column), Qt::LeftButton);
    QCOMPARE(popupSpy.count(), 1);
    QCOMPARE(swatchSpy.count(), 1);
    const QColor chosen = swatchSpy.first().first().value<QColor>();
    QCOMPARE(chosen, expected);
    QCOMPARE(chosen.alpha(), 255);
    QCOMPARE(swatch.color(), expected);
    QVERIFY(!pPopup->isVisible());
    QVERIFY(!pPopup->isMouseOver());
}

void TestColorWidget::choiceTravelsWithTheButtonNotItsPicture()
{
    // A display of fewer bits would render the icon in a nearby colour;
    // the choice must still be the grid's exact colour.
    ColorWidget swatch;
    ColorWidgetPopup* pPopup = popupOf(swatch);
    QPushButton* pButton = gridButton(pPopup, 3, 2);
    QPixmap quantised(20, 20);
    quantised.fill(QColor(200, 64, 0));
    pButton->setIcon(QIcon(quantised));
    QSignalSpy swatchSpy(&swatch, SIGNAL(colorChanged(const QColor&)));
    pButton->click();
    QCOMPARE(swatchSpy.count(), 1);
    QCOMPARE(swatch.color(), QColor(192, 64, 0));
}

void TestColorWidget::setColorEmitsNothing()
{
    ColorWidget swatch;
    QSignalSpy spy(&swatch, SIGNAL(colorChanged(const QColor&)));
    swatch.setColor(Qt::yellow);
    QCOMPARE(swatch.color(), QColor(Qt::yellow));
    QCOMPARE(spy.count(), 0);
    // The slot, unlike the setter, announces the colour.
    swatch.slotColorChanged(Qt::red);
    QCOMPARE(spy.count(), 1);
}

void TestColorWidget::clickTogglesGridBelowSwatch()
{
    QWidget window;
    window.resize(200, 200);
    auto* pSwatch = new ColorWidget(&window);
    pSwatch->setGeometry(30, 40, 22, 22);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ColorWidgetPopup* pPopup = popupOf(*pSwatch);
    QTest::mousePress(pSwatch, Qt::LeftButton);
    QVERIFY(pPopup->isVisible());
    // The offscreen platform gives every framed window a 2-pixel frame,
    // which it reports inside the position.
    const QPoint offset = pPopup->pos() - pSwatch->mapToGlobal(QPoint(0, 22));
    QVERIFY2(offset.x() >= 0 && offset.x() <= 2 && offset.y() >= 0 && offset.y() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    QTest::mousePress(pSwatch, Qt::LeftButton);
    QVERIFY(!pPopup->isVisible());
}

void TestColorWidget::leavingGridClosesItUnchanged()
{
    ColorWidget swatch;
    swatch.setColor(Qt::blue);
    swatch.show();
    QSignalSpy spy(&swatch, SIGNAL(colorChanged(const QColor&)));
    QTest::mousePress(&swatch, Qt::LeftButton);
    ColorWidgetPopup* pPopup = popupOf(swatch);
    QMTest::sendEnter(pPopup);
    QVERIFY(pPopup->isMouseOver());
    QVERIFY(pPopup->isVisible());
    QMTest::sendLeave(pPopup);
    QVERIFY(!pPopup->isMouseOver());
    QVERIFY(!pPopup->isVisible());
    QCOMPARE(swatch.color(), QColor(Qt::blue));
    QCOMPARE(spy.count(), 0);
}

void TestColorWidget::directCallOnlyHides()
{
    ColorWidget swatch;
    ColorWidgetPopup* pPopup = popupOf(swatch);
    QSignalSpy spy(pPopup, SIGNAL(colorChanged(const QColor&)));
    pPopup->show();
    pPopup->slotColorChanged();
    QCOMPARE(spy.count(), 0);
    QVERIFY(!pPopup->isVisible());
}

void TestColorWidget::painting()
{
    // A 40 x 30 red swatch under a gloss at half strength that is white at
    // (5, 5) and grey (160) from 20 pixels out, and a white arrow with a
    // black outline whose top edge runs along y = 22 from x = 30 to 38.
    ColorWidget swatch;
    swatch.setColor(QColor(255, 0, 0));
    swatch.resize(40, 30);
    const QImage image = swatch.grab().toImage();
    auto near = [](const QColor& c, int r, int g) { return qAbs(c.red() - r) <= 2 && qAbs(c.green() - g) <= 2; };
    QVERIFY2(near(image.pixelColor(5, 5), 255, 128), qPrintable(image.pixelColor(5, 5).name()));
    QVERIFY2(near(image.pixelColor(30, 25), 208, 80), qPrintable(image.pixelColor(30, 25).name()));
    QCOMPARE(image.pixelColor(34, 22), QColor(Qt::black));
    QCOMPARE(image.pixelColor(34, 23), QColor(Qt::white));
    QCOMPARE(image.pixelColor(34, 26), QColor(Qt::black));  // the tip
    QVERIFY(near(image.pixelColor(29, 22), 208, 80));
}

QMTEST_APP_MAIN(TestColorWidget)
#include "tst_colorwidget.moc"
