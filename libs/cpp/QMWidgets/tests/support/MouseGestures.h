#pragma once

#include <QList>
#include <QPoint>
#include <Qt>

class QWidget;

namespace QMTest {

// Mouse events delivered straight to a widget, as the window system would
// deliver them during a gesture. QTest's own mouse functions do not carry a
// held button on moves in Qt 5, and send no enter or leave events at all.
void pressAt(QWidget* pWidget, const QPoint& pos, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void moveHeldTo(QWidget* pWidget, const QPoint& pos, Qt::MouseButtons buttons = Qt::LeftButton);
void releaseAt(QWidget* pWidget, const QPoint& pos, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// A left-button gesture: press at the first point, a move to every further
// point, release at the last. The moves come one after the other with no
// paint in between, as when the user moves faster than the screen repaints.
void dragThrough(QWidget* pWidget, const QList<QPoint>& points,
                 Qt::KeyboardModifiers releaseModifiers = Qt::NoModifier);
void dragFromTo(QWidget* pWidget, const QPoint& from, const QPoint& to);

void sendEnter(QWidget* pWidget, const QPoint& pos = QPoint(1, 1));
void sendLeave(QWidget* pWidget);

}  // namespace QMTest
