#include "MenuButton.h"

#include <QPainter>

namespace QMWidgets {

MenuButton::MenuButton(const QString& strText, QWidget* pParent)
    : QPushButton(strText, pParent)
{
}

MenuButton::MenuButton(QWidget* pParent)
    : QPushButton(pParent)
{
}

void MenuButton::paintEvent(QPaintEvent* pEvent)
{
    QPushButton::paintEvent(pEvent);
    // The lower half in whole rows: for an odd height the middle row belongs
    // to the upper half and the last row to neither.
    const int nHalf = height() / 2;
    QPainter painter(this);
    painter.setPen(Qt::white);
    painter.drawText(QRect(QPoint(0, nHalf), QPoint(width() - 1, 2 * nHalf - 1)), Qt::AlignCenter, tr("Menu"));
}

} // namespace QMWidgets
