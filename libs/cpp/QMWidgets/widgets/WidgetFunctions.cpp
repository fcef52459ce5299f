#include "WidgetFunctions.h"

#include "App.h"
#include "Os.h"
#include "ScreenGrab.h"

#include <QBoxLayout>
#include <QDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QVariant>
#include <QWidget>

namespace QMWidgets {

namespace {

constexpr int kDefaultTransparency = 35;

// Floating division on purpose: with integers the default 35 would give an
// opaque window instead of 0.95.
double opacityFromSetting(const QString &key)
{
    int v = kDefaultTransparency;
    if (auto *app = qobject_cast<App *>(QCoreApplication::instance()))
        v = app->settingsValue(key, kDefaultTransparency).toInt();
    return 1.3 - v / 100.0;
}

} // namespace

void setObjectNameAndToolTip(QWidget *widget, const QString &name, const QString &toolTip)
{
    widget->setObjectName(name);
    if (!toolTip.isEmpty())
        widget->setToolTip(toolTip);
}

void makeFlatPushButton(QPushButton *button)
{
    button->setObjectName(QStringLiteral("PushButton"));
    button->setFlat(true);
    button->setMinimumHeight(32);
}

void makeFlatFixedButton(QPushButton *button)
{
    button->setFlat(true);
    button->setFixedSize(32, 32);
}

QBoxLayout *newButtonRowLayout()
{
    if (App::isSmallScreen())
        return new QVBoxLayout;
    return new QHBoxLayout;
}

void layOutPanelDialog(QDialog *dialog, QWidget *message, QWidget *panel, QPushButton *closeButton)
{
    makeFlatPushButton(closeButton);
    QObject::connect(closeButton, SIGNAL(clicked()), dialog, SLOT(accept()));

    auto *panelRow = new QHBoxLayout;
    panelRow->setSpacing(7);
    panelRow->setContentsMargins(15, 15, 15, 15);
    panelRow->addStretch(1);
    panelRow->addWidget(panel);
    panelRow->addStretch(1);

    QBoxLayout *buttonRow = newButtonRowLayout();
    buttonRow->setContentsMargins(10, 10, 10, 10);
    buttonRow->setSpacing(7);
    buttonRow->addStretch(1);
    buttonRow->addWidget(closeButton);
    buttonRow->addStretch(1);

    auto *layout = new QVBoxLayout;
    layout->setSpacing(7);
    layout->setContentsMargins(10, 10, 10, 10);
    if (message)
        layout->addWidget(message);
    layout->addLayout(panelRow);
    layout->addLayout(buttonRow);
    dialog->setLayout(layout);
}

void applyChartDialogsTransparency(QWidget *widget)
{
    widget->setWindowOpacity(
        opacityFromSetting(QStringLiteral("TransparencyParameters/ChartDialogs")));
}

void applyContextMenusTransparency(QWidget *widget)
{
    const double opacity =
        opacityFromSetting(QStringLiteral("TransparencyParameters/ContextMenus"));
    widget->setWindowOpacity(opacity);
    const QList<QMenu *> menus = widget->findChildren<QMenu *>();
    for (QMenu *menu : menus)
        menu->setWindowOpacity(opacity);
}

QPixmap grabDesktopScreen()
{
    // The platform layer grabs the root window from the screen's corner, or
    // hands out the picture a test put in its place.
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QPixmap();
    const QRect geometry = screen->geometry();
    const double r = Os::devicePixelRatio();
    return Platform::grabScreenArea(QRect(geometry.x(), geometry.y(), int(geometry.width() * r),
                                          int(geometry.height() * r)));
}

} // namespace QMWidgets
