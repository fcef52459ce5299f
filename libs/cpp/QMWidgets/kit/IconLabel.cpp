#include "IconLabel.h"

namespace QMWidgets {

IconLabel::IconLabel(QWidget* pParent)
    : QLabel(pParent)
{
}

void IconLabel::mousePressEvent(QMouseEvent* pEvent)
{
    QLabel::mousePressEvent(pEvent);
}

} // namespace QMWidgets
