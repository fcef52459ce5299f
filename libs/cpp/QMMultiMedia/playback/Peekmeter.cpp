#include "Peekmeter.h"

#include <QPainter>

namespace QMMultiMedia {

namespace {

constexpr int kLowest = -70;
constexpr int kHighest = 10;

} // namespace

Peekmeter::Peekmeter(QWidget *parent)
    : QWidget(parent)
{
}

int Peekmeter::value() const
{
    return m_nValue;
}

int Peekmeter::percent() const
{
    return (m_nValue - kLowest) * 100 / (kHighest - kLowest);
}

void Peekmeter::slotSetValue(int level)
{
    m_nValue = qBound(kLowest, level, kHighest);
    repaint();
}

void Peekmeter::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        drawMeter(&painter);
    }
    QWidget::paintEvent(event);
}

void Peekmeter::drawMeter(QPainter *painter)
{
    const int w = width();
    const int h = height();
    const int bar = percent() * h / 100;
    if (bar <= 0 || w <= 0)
        return;
    // Both corners inclusive: the bar's bottom row is the widget's last.
    painter->fillRect(QRect(QPoint(0, h - bar), QPoint(w - 1, h - 1)), Qt::red);
}

} // namespace QMMultiMedia
