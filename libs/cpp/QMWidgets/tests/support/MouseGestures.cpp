#include "MouseGestures.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWidget>

namespace QMTest {

namespace {

void send(QWidget* pWidget, QEvent::Type type, const QPoint& pos, Qt::MouseButton button, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers modifiers)
{
    const QPointF local(pos);
    QMouseEvent event(type, local, pWidget->window()->mapFromGlobal(pWidget->mapToGlobal(pos)),
                      pWidget->mapToGlobal(pos), button, buttons, modifiers);
    QApplication::sendEvent(pWidget, &event);
}

}  // namespace

void pressAt(QWidget* pWidget, const QPoint& pos, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    send(pWidget, QEvent::MouseButtonPress, pos, button, button, modifiers);
}

void moveHeldTo(QWidget* pWidget, const QPoint& pos, Qt::MouseButtons buttons)
{
    send(pWidget, QEvent::MouseMove, pos, Qt::NoButton, buttons, Qt::NoModifier);
}

void releaseAt(QWidget* pWidget, const QPoint& pos, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    send(pWidget, QEvent::MouseButtonRelease, pos, button, Qt::NoButton, modifiers);
}

void dragThrough(QWidget* pWidget, const QList<QPoint>& points, Qt::KeyboardModifiers releaseModifiers)
{
    if (points.isEmpty())
        return;
    pressAt(pWidget, points.first());
    for (int i = 1; i < points.size(); ++i)
        moveHeldTo(pWidget, points.at(i));
    releaseAt(pWidget, points.last(), Qt::LeftButton, releaseModifiers);
}

void dragFromTo(QWidget* pWidget, const QPoint& from, const QPoint& to)
{
    dragThrough(pWidget, {from, to});
}

void sendEnter(QWidget* pWidget, const QPoint& pos)
{
    QEnterEvent event(QPointF(pos), QPointF(pWidget->window()->mapFromGlobal(pWidget->mapToGlobal(pos))),
                      QPointF(pWidget->mapToGlobal(pos)));
    QApplication::sendEvent(pWidget, &event);
}

void sendLeave(QWidget* pWidget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(pWidget, &event);
}

}  // namespace QMTest
