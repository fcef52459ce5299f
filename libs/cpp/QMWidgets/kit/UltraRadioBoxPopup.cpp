#include "UltraRadioBoxPopup.h"

#include <QEvent>

namespace QMWidgets {

UltraRadioBoxPopup::UltraRadioBoxPopup(QWidget* pParent, Qt::WindowFlags flags)
    : QWidget(pParent, flags)
{
}

bool UltraRadioBoxPopup::isHovered() const
{
    return m_bHovered;
}

bool UltraRadioBoxPopup::event(QEvent* pEvent)
{
    if (pEvent->type() == QEvent::WindowDeactivate)
        hide();
    return QWidget::event(pEvent);
}

void UltraRadioBoxPopup::enterEvent(QEvent* pEvent)
{
    m_bHovered = true;
    QWidget::enterEvent(pEvent);
}

void UltraRadioBoxPopup::leaveEvent(QEvent* pEvent)
{
    m_bHovered = false;
    QWidget::leaveEvent(pEvent);
}

}  // namespace QMWidgets
