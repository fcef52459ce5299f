#include "ColorWidget.h"

#include "ColorWidgetPopup.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QRadialGradient>

namespace QMWidgets {

ColorWidget::ColorWidget(QWidget* pParent)
    : QWidget(pParent)
{
    setAttribute(Qt::WA_MouseTracking);
    setMinimumWidth(10);
    setMinimumHeight(10);
    // The pop-up's constructor turns the tool-tip flag into a pop-up window.
    m_pPopup = new ColorWidgetPopup(this, Qt::ToolTip);
    m_pPopup->hide();
    m_pPopup->setWindowOpacity(1.0);
    connect(m_pPopup, SIGNAL(colorChanged(const QColor&)), this, SLOT(slotColorChanged(const QColor&)));
}

QColor ColorWidget::color() const
{
    return m_color;
}

void ColorWidget::setColor(const QColor& color)
{
    m_color = color;
    repaint();
}

void ColorWidget::setPopupOpacity(float fOpacity)
{
    m_pPopup->setWindowOpacity(fOpacity);
}

void ColorWidget::slotColorChanged(const QColor& color)
{
    m_color = color;
    repaint();
    emit colorChanged(color);
}

void ColorWidget::mousePressEvent(QMouseEvent* pEvent)
{
    m_pPopup->move(mapToGlobal(QPoint(0, height())));
    m_pPopup->setVisible(m_pPopup->isHidden());
    QWidget::mousePressEvent(pEvent);
}

void ColorWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect area(0, 0, width(), height());
    painter.setBrush(QBrush(m_color, Qt::SolidPattern));
    painter.drawRect(area);

    QRadialGradient gloss(QPointF(5, 5), width() / 2, QPointF(5, 5));
    gloss.setColorAt(0, Qt::white);
    gloss.setColorAt(1, Qt::gray);
    painter.setBrush(gloss);
    painter.setOpacity(0.5);
    painter.drawRect(area);

    painter.setOpacity(1);
    painter.setBrush(QBrush(Qt::white, Qt::SolidPattern));
    painter.translate(width() - 10, height() - 8);
    painter.drawPolygon(QPolygon({QPoint(0, 0), QPoint(8, 0), QPoint(4, 4)}), Qt::OddEvenFill);
}

}  // namespace QMWidgets
