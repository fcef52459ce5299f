#pragma once

#include <QPixmap>
#include <QString>

class QPushButton;
class QWidget;

namespace QMWidgets {

// Sets the object name; the tool tip only when its text is not empty, so an
// empty text keeps an earlier tool tip.
void setObjectNameAndToolTip(QWidget *widget, const QString &name, const QString &toolTip);

// The common push button of the framework's dialogs: the style sheet styles
// every "PushButton" the same way.
void makeFlatPushButton(QPushButton *button);

// A flat 32 x 32 button; its object name is left alone.
void makeFlatFixedButton(QPushButton *button);

// Window opacity 1.3 - v / 100 from "TransparencyParameters/ChartDialogs"
// (default 35, giving 0.95). The window clamps values outside 0 .. 1.
void applyChartDialogsTransparency(QWidget *widget);

// The same from "TransparencyParameters/ContextMenus", applied to the widget
// and to every QMenu among its descendants.
void applyContextMenusTransparency(QWidget *widget);

// The default screen as a picture; empty where the platform gives none.
QPixmap grabDesktopScreen();

} // namespace QMWidgets
