#include "App.h"
#include "WidgetFunctions.h"

#include "QMTest.h"

#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

using namespace QMWidgets;

namespace {

// A window stores its opacity in 1/255 steps.
bool sameOpacity(double got, double expected) { return qAbs(got - expected) <= 1.0 / 255 + 1e-9; }

} // namespace

class TestWidgetFunctions : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void objectNameAndToolTip_data();
    void objectNameAndToolTip();
    void flatButtons();
    void transparency_data();
    void transparency();
    void contextMenusGetTheSameOpacity();
    void grabDesktopScreen();
    void grabDesktopScreenShowsTheScreen();
};

void TestWidgetFunctions::objectNameAndToolTip_data()
{
    QTest::addColumn<QString>("earlierTip");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("expectedTip");
    QTest::newRow("sets tip") << QString() << "Open" << "Open";
    QTest::newRow("replaces tip") << "Old" << "New" << "New";
    QTest::newRow("empty keeps earlier") << "Old" << QString() << "Old";
}

void TestWidgetFunctions::objectNameAndToolTip()
{
    QFETCH(QString, earlierTip);
    QFETCH(QString, tip);
    QFETCH(QString, expectedTip);
    QWidget widget;
    widget.setToolTip(earlierTip);
    setObjectNameAndToolTip(&widget, QStringLiteral("AppButton"), tip);
    QCOMPARE(widget.objectName(), QStringLiteral("AppButton"));
    QCOMPARE(widget.toolTip(), expectedTip);
}

void TestWidgetFunctions::flatButtons()
{
    QPushButton push(QStringLiteral("Close"));
    makeFlatPushButton(&push);
    QCOMPARE(push.objectName(), QStringLiteral("PushButton"));
    QVERIFY(push.isFlat());
    QCOMPARE(push.minimumHeight(), 32);

    QPushButton fixed;
    fixed.setObjectName(QStringLiteral("VideoButton"));
    makeFlatFixedButton(&fixed);
    QCOMPARE(fixed.objectName(), QStringLiteral("VideoButton"));
    QVERIFY(fixed.isFlat());
    QCOMPARE(fixed.minimumSize(), QSize(32, 32));
    QCOMPARE(fixed.maximumSize(), QSize(32, 32));
}

void TestWidgetFunctions::transparency_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");   // invalid: nothing stored
    QTest::addColumn<double>("opacity");
    const QString chart = QStringLiteral("TransparencyParameters/ChartDialogs");
    const QString menus = QStringLiteral("TransparencyParameters/ContextMenus");
    for (const QString &key : { chart, menus }) {
        const QByteArray tag = key == chart ? "chart " : "menus ";
        QTest::newRow(tag + "default 35") << key << QVariant() << 0.95;
        QTest::newRow(tag + "50") << key << QVariant(50) << 0.8;
        QTest::newRow(tag + "0 clamps to opaque") << key << QVariant(0) << 1.0;
        QTest::newRow(tag + "130 transparent") << key << QVariant(130) << 0.0;
        QTest::newRow(tag + "200 clamps to transparent") << key << QVariant(200) << 0.0;
    }
}

void TestWidgetFunctions::transparency()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(double, opacity);
    if (stored.isValid())
        App::instance()->setSettingsValue(key, stored);

    QWidget window;   // opacity is a property of windows
    if (key.endsWith(QLatin1String("ChartDialogs")))
        applyChartDialogsTransparency(&window);
    else
        applyContextMenusTransparency(&window);
    QVERIFY2(sameOpacity(window.windowOpacity(), opacity),
             qPrintable(QString::number(window.windowOpacity())));
}

void TestWidgetFunctions::contextMenusGetTheSameOpacity()
{
    App::instance()->setSettingsValue(QStringLiteral("TransparencyParameters/ContextMenus"), 50);
    // The chart setting must not leak into menus.
    App::instance()->setSettingsValue(QStringLiteral("TransparencyParameters/ChartDialogs"), 0);
    QWidget window;
    auto *panel = new QWidget(&window);
    auto *direct = new QMenu(&window);
    auto *nested = new QMenu(panel);
    auto *submenu = new QMenu(nested);
    applyContextMenusTransparency(&window);
    for (QWidget *w : { static_cast<QWidget *>(&window), static_cast<QWidget *>(direct),
                        static_cast<QWidget *>(nested), static_cast<QWidget *>(submenu) })
        QVERIFY2(sameOpacity(w->windowOpacity(), 0.8), w->metaObject()->className());
}

namespace {

// A window that paints a known picture over the whole default screen, so
// that the desktop shows it and a grab can be compared pixel by pixel.
class PictureWindow : public QWidget
{
public:
    explicit PictureWindow(const QImage &picture)
        : QWidget(nullptr, Qt::FramelessWindowHint)
        , m_picture(picture)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, m_picture);
    }

private:
    QImage m_picture;
};

} // namespace

void TestWidgetFunctions::grabDesktopScreen()
{
    // The grab asks the platform layer for the whole default screen at ratio
    // 1, and gives back what the layer hands out.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QMTest::SyntheticDesktop desktop(QMTest::SyntheticDesktop::coordinatePicture(screen.size()));
    const QPixmap picture = QMWidgets::grabDesktopScreen();
    QCOMPARE(desktop.grabs(), QList<QRect>{screen});
    QCOMPARE(picture.size(), screen.size());
    QCOMPARE(picture.toImage().pixel(7, 9), qRgb(7, 9, 0));
}

void TestWidgetFunctions::grabDesktopScreenShowsTheScreen()
{
    // Four coloured quarters and a one-pixel frame: a grab of the wrong part
    // of the screen, of the wrong size or of nothing shows at once.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QImage picture(screen.size(), QImage::Format_RGB32);
    const int halfWidth = screen.width() / 2, halfHeight = screen.height() / 2;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            picture.setPixel(x, y, x < halfWidth ? (y < halfHeight ? qRgb(200, 0, 0) : qRgb(0, 200, 0))
                                                 : (y < halfHeight ? qRgb(0, 0, 200) : qRgb(200, 200, 0)));
    for (int x = 0; x < screen.width(); ++x) {
        picture.setPixel(x, 0, qRgb(255, 255, 255));
        picture.setPixel(x, screen.height() - 1, qRgb(255, 255, 255));
    }
    for (int y = 0; y < screen.height(); ++y) {
        picture.setPixel(0, y, qRgb(255, 255, 255));
        picture.setPixel(screen.width() - 1, y, qRgb(255, 255, 255));
    }
    PictureWindow window(picture);
    window.setGeometry(screen);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.repaint();

    const QImage grabbed = QMWidgets::grabDesktopScreen().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(grabbed.size(), screen.size());  // at pixel ratio 1
    QCOMPARE(grabbed, picture);

    // Nothing shows on the desktop: no picture, and no failure.
    window.hide();
    QTRY_VERIFY(!window.windowHandle()->isExposed());
    QVERIFY(QMWidgets::grabDesktopScreen().isNull());
}

QMTEST_APP_MAIN(TestWidgetFunctions)
#include "tst_widgetfunctions.moc"
