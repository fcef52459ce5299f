#include "ComboBoxFilter.h"

#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QPolygonF>

namespace QMWidgets {

namespace {
constexpr int kArrowInset = 7;
} // namespace

ComboBoxFilter::ComboBoxFilter(QObject* pParent)
    : QObject(pParent)
{
}

bool ComboBoxFilter::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() != QEvent::Paint)
        return false;
    m_pComboBox = qobject_cast<QComboBox*>(pWatched);
    if (!m_pComboBox)
        return true;

    const int nW = m_pComboBox->width();
    const int nH = m_pComboBox->height();
    const QPalette palette = m_pComboBox->palette();
    const QPalette::ColorGroup group = palette.currentColorGroup();

    QPainter painter(m_pComboBox);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect frame(0, 0, nW, nH);
    painter.setBrush(palette.brush(group, QPalette::Base));
    painter.setPen(QPen(palette.brush(group, QPalette::Text), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.drawRect(frame);

    painter.setPen(palette.color(group, QPalette::Text));
    painter.drawText(frame, Qt::AlignCenter | Qt::TextWordWrap, m_pComboBox->currentText());

    // H / 3 in whole pixels, H / 1.5 exact: the arrow's shape as drawn so far.
    QPolygonF arrow;
    arrow << QPointF(nW, nH) << QPointF(nW, nH / 1.5) << QPointF(nW - nH / 3, nH);
    arrow.translate(-kArrowInset, -kArrowInset);
    painter.setBrush(palette.brush(group, QPalette::Text));
    painter.drawPolygon(arrow, Qt::OddEvenFill);
    return true;
}

} // namespace QMWidgets
