#include "BubbleWindow.h"

#include "App.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QPainter>
#include <QPolygonF>

namespace QMWidgets {

namespace {
constexpr qreal kArrowHalf = 20;   // the arrow is 40 pixels wide at its base
constexpr qreal kArrowHeight = 20;
constexpr qreal kCornerCut = 3;    // the upward bubble's cut corners
}

BubbleWindow::BubbleWindow(QWidget* pParent, const QColor& color)
    : QFrame(pParent)
    , m_color(color)
{
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
}

void BubbleWindow::setColor(const QColor& color)
{
    m_color = color;
}

void BubbleWindow::setPointingDown(bool bDown)
{
    m_bPointingDown = bDown;
}

void BubbleWindow::setShowAnimation(QAbstractAnimation* pAnimation)
{
    m_pShowAnimation = pAnimation;
}

void BubbleWindow::setHideAnimation(QAbstractAnimation* pAnimation)
{
    m_pHideAnimation = pAnimation;
}

void BubbleWindow::hideOnApplicationClick()
{
    if (App* pApp = App::instance())
        connect(pApp, SIGNAL(mouseButtonPress()), this, SLOT(hide()));
}

bool BubbleWindow::event(QEvent* pEvent)
{
    return QFrame::event(pEvent);
}

void BubbleWindow::showEvent(QShowEvent* pEvent)
{
    if (m_pShowAnimation)
        m_pShowAnimation->start(QAbstractAnimation::KeepWhenStopped);
    QWidget::showEvent(pEvent);
}

void BubbleWindow::hideEvent(QHideEvent* pEvent)
{
    if (m_pHideAnimation)
        m_pHideAnimation->start(QAbstractAnimation::KeepWhenStopped);
    QWidget::hideEvent(pEvent);
}

void BubbleWindow::mousePressEvent(QMouseEvent* pEvent)
{
    hide();
    QWidget::mousePressEvent(pEvent);
}

void BubbleWindow::paintEvent(QPaintEvent* pEvent)
{
    QFrame::paintEvent(pEvent);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(m_color, 1, Qt::SolidLine, Qt::SquareCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(QBrush(m_color, Qt::SolidPattern));

    const qreal w = width();
    const qreal h = height();
    const qreal mid = w / 2;  // exact, also for odd widths
    QPolygonF bubble;
    if (m_bPointingDown) {
        const qreal body = h - kArrowHeight;
        bubble << QPointF(0, 0) << QPointF(w, 0) << QPointF(w, body) << QPointF(mid + kArrowHalf, body)
               << QPointF(mid, h) << QPointF(mid - kArrowHalf, body) << QPointF(0, body);
    } else {
        const qreal top = kArrowHeight;
        bubble << QPointF(0, top + kCornerCut) << QPointF(kCornerCut, top) << QPointF(mid - kArrowHalf, top)
               << QPointF(mid, 0) << QPointF(mid + kArrowHalf, top) << QPointF(w - kCornerCut, top)
               << QPointF(w, top + kCornerCut) << QPointF(w, h - kCornerCut) << QPointF(w - kCornerCut, h)
               << QPointF(kCornerCut, h) << QPointF(0, h - kCornerCut);
    }
    painter.drawPolygon(bubble, Qt::OddEvenFill);
}

void BubbleWindow::slotFocusChanged(QWidget* /*pOld*/, QWidget* /*pNow*/)
{
    if (QApplication::activeWindow() != this)
        hide();
}

} // namespace QMWidgets
