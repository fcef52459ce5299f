// The holder frame, the flat combo-box painter, the centring filter, the
// screen-relative size and the list item with an extra string.
#include "CenterFilter.h"
#include "ComboBoxFilter.h"
#include "CommonStyle.h"
#include "ListWidgetItem.h"
#include "MobileSimulator.h"

#include "QMTest.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDesktopWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include <limits>

using QMWidgets::CenterFilter;
using QMWidgets::ComboBoxFilter;
using QMWidgets::CommonStyle;
using QMWidgets::ListWidgetItem;
using QMWidgets::MobileSimulator;

namespace {

// Counts the move events a widget receives.
class MoveCounter : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Move)
            ++m_nMoves;
        return false;
    }
    int m_nMoves = 0;
};

} // namespace

class TestLayoutAids : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void mobileSimulatorHoldsWidgets();
    void comboBoxPaintedFlat();
    void otherWidgetsPaintNothing();
    void centreOnTheDesktop();
    void centreInTheParent();
    void centreAgainOnResize();
    void sizeFromScreen_data();
    void sizeFromScreen();
    void commonStyleIsEmpty();
    void listItemCarriesAString();
};

void TestLayoutAids::mobileSimulatorHoldsWidgets()
{
    MobileSimulator frame;
    QCOMPARE(frame.objectName(), QString("MobileSimulator"));
    auto* pLayout = qobject_cast<QHBoxLayout*>(frame.layout());
    QVERIFY(pLayout);
    QCOMPARE(pLayout->contentsMargins(), QMargins(5, 5, 5, 5));
    QCOMPARE(pLayout->spacing(), 3);
    auto* pFirst = new QLabel("one");
    auto* pSecond = new QLabel("two");
    frame.setWidget(pFirst);
    frame.setWidget(pSecond);
    QCOMPARE(pLayout->count(), 2);
    QCOMPARE(pFirst->parentWidget(), &frame);
    frame.resize(200, 50);
    frame.show();
    QApplication::processEvents();
    QCOMPARE(pFirst->x(), 5);
    QCOMPARE(pSecond->x(), pFirst->geometry().right() + 1 + 3);
}

void TestLayoutAids::comboBoxPaintedFlat()
{
    QComboBox box;
    box.addItem("Item");
    box.resize(100, 30);
    QPalette palette = box.palette();
    palette.setColor(QPalette::Base, Qt::yellow);
    palette.setColor(QPalette::Text, Qt::blue);
    box.setPalette(palette);
    ComboBoxFilter filter;
    box.installEventFilter(&filter);
    const QImage image = box.grab().toImage();

    // The arrow (93,23), (93,13), (83,23) in the Text colour; inside it near
    // its corners and at its centre of mass.
    QCOMPARE(QColor(image.pixel(91, 21)), QColor(Qt::blue));
    QCOMPARE(QColor(image.pixel(90, 19)), QColor(Qt::blue));
    QCOMPARE(QColor(image.pixel(86, 22)), QColor(Qt::blue));
    // Outside the arrow, below and right of it, the Base colour.
    QCOMPARE(QColor(image.pixel(96, 25)), QColor(Qt::yellow));
    QCOMPARE(QColor(image.pixel(85, 15)), QColor(Qt::yellow));
    // The frame in the Text colour at the edge.
    QCOMPARE(QColor(image.pixel(0, 15)), QColor(Qt::blue));
    // The text centred: blue pixels in the middle.
    bool bText = false;
    for (int x = 30; x < 70; ++x)
        bText = bText || QColor(image.pixel(x, 15)) == QColor(Qt::blue);
    QVERIFY(bText);
}

void TestLayoutAids::otherWidgetsPaintNothing()
{
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::green);
    parent.setPalette(palette);
    parent.resize(100, 40);
    // A button draws its red face in its own painting, which the filter swallows.
    auto* pButton = new QPushButton(&parent);
    pButton->setStyleSheet("QPushButton { background: red; border: none; }");
    pButton->setGeometry(0, 0, 100, 40);
    ComboBoxFilter filter;
    pButton->installEventFilter(&filter);
    QCOMPARE(QColor(parent.grab().toImage().pixel(50, 20)), QColor(Qt::green));
    pButton->removeEventFilter(&filter);
    QCOMPARE(QColor(parent.grab().toImage().pixel(50, 20)), QColor(Qt::red));
}

void TestLayoutAids::centreOnTheDesktop()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QWidget window;
    window.resize(200, 100);
    CenterFilter filter;
    window.installEventFilter(&filter);
    window.show();
    QCOMPARE(window.pos(), QPoint(screen.width() / 2 - 100, screen.height() / 2 - 50));
    QCOMPARE(window.pos(), QPoint(300, 250));  // the offscreen screen is 800 x 600

    // Shown again at the same size: not moved.
    window.hide();
    MoveCounter counter;
    window.installEventFilter(&counter);
    window.show();
    QApplication::processEvents();
    QCOMPARE(counter.m_nMoves, 0);
    QCOMPARE(window.pos(), QPoint(300, 250));
}

void TestLayoutAids::centreInTheParent()
{
    QWidget parent;
    parent.resize(300, 200);
    auto* pChild = new QWidget(&parent);
    pChild->resize(101, 51);
    pChild->hide();
    CenterFilter filter;
    pChild->installEventFilter(&filter);
    parent.show();
    pChild->show();
    QCOMPARE(pChild->pos(), QPoint(150 - 50, 100 - 25));
}

void TestLayoutAids::centreAgainOnResize()
{
    QWidget window;
    window.resize(200, 100);
    CenterFilter filter;
    window.installEventFilter(&filter);
    window.show();
    window.move(0, 0);
    QVERIFY(QMetaObject::invokeMethod(&filter, "slotResized", Q_ARG(int, 0)));
    QCOMPARE(window.pos(), QPoint(300, 250));

    window.hide();
    window.move(0, 0);
    QVERIFY(QMetaObject::invokeMethod(&filter, "slotResized", Q_ARG(int, 0)));
    QCOMPARE(window.pos(), QPoint(0, 0));  // not while hidden

    // The desktop announcing a new size reaches the filter by itself.
    window.show();
    window.move(0, 0);
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QVERIFY(QMetaObject::invokeMethod(QApplication::desktop(), "resized", Q_ARG(int, 0)));
    QT_WARNING_POP
    QCOMPARE(window.pos(), QPoint(300, 250));
}

void TestLayoutAids::sizeFromScreen_data()
{
    QTest::addColumn<float>("fDivisor");
    QTest::addColumn<int>("nSize");

    // The offscreen screen is 800 x 600: the shorter side is 600.
    QTest::newRow("2") << 2.0f << 300;
    QTest::newRow("truncated toward zero") << 7.0f << 85;
    QTest::newRow("fraction") << 0.5f << 1200;
    QTest::newRow("zero") << 0.0f << 0;
    QTest::newRow("negative") << -3.0f << 0;
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << 0;
    QTest::newRow("tiny: held at the largest int") << 1e-30f << std::numeric_limits<int>::max();
}

void TestLayoutAids::sizeFromScreen()
{
    QFETCH(float, fDivisor);
    QFETCH(int, nSize);
    QCOMPARE(QMWidgets::App::screenShortSide(), 600);
    QCOMPARE(CommonStyle::sizeFromScreen(fDivisor), nSize);
}

void TestLayoutAids::commonStyleIsEmpty()
{
    CommonStyle style;
    QVERIFY(style.styleSheet().isEmpty());

    class DarkStyle : public CommonStyle
    {
    public:
        QString styleSheet() override { return "QWidget { color: white; }"; }
    };
    DarkStyle dark;
    CommonStyle* pStyle = &dark;
    QCOMPARE(pStyle->styleSheet(), QString("QWidget { color: white; }"));
}

void TestLayoutAids::listItemCarriesAString()
{
    QListWidget list;
    auto* pPlain = new ListWidgetItem(&list, QListWidgetItem::UserType);
    auto* pText = new ListWidgetItem("text", &list);
    auto* pIcon = new ListWidgetItem(QIcon(), "icon", &list);
    QCOMPARE(list.count(), 3);
    QCOMPARE(pPlain->type(), int(QListWidgetItem::UserType));
    QCOMPARE(pText->text(), QString("text"));
    QCOMPARE(pIcon->text(), QString("icon"));
    for (ListWidgetItem* pItem : {pPlain, pText, pIcon})
        QVERIFY(pItem->userString().isEmpty());

    pText->setUserString("extra");
    QCOMPARE(pText->userString(), QString("extra"));
    const ListWidgetItem copy(*pText);
    QCOMPARE(copy.text(), QString("text"));
    QVERIFY(copy.userString().isEmpty());  // the extra string stays behind
    const QListWidgetItem& asBase = *pText;
    const ListWidgetItem fromBase(asBase);
    QVERIFY(fromBase.userString().isEmpty());
}

QMTEST_APP_MAIN(TestLayoutAids)
#include "tst_layoutaids.moc"
