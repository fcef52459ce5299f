#pragma once

#include <QPixmap>
#include <QString>

class QBoxLayout;
class QDialog;
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

// A new layout for a dialog's buttons: a row, or a column on a small screen,
// where a row of long texts would not fit.
QBoxLayout *newButtonRowLayout();

// Lays out a dialog around a panel: the message (when there is one), the
// panel centred in its row, and the close button centred below, made the
// common push button and accepting the dialog. The caller makes the button,
// so its text is translated in the dialog's own context.
void layOutPanelDialog(QDialog *dialog, QWidget *message, QWidget *panel, QPushButton *closeButton);

// Window opacity 1.3 - v / 100 from "TransparencyParameters/ChartDialogs"
// (default 35, giving 0.95). The window clamps values outside 0 .. 1.
void applyChartDialogsTransparency(QWidget *widget);

// The same from "TransparencyParameters/ContextMenus", applied to the widget
// and to every QMenu among its descendants.
void applyContextMenusTransparency(QWidget *widget);

// The default screen as a picture; empty where the platform gives none.
QPixmap grabDesktopScreen();

} // namespace QMWidgets
