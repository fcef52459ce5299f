#include "SettingsWidget.h"

namespace QMWidgets {

SettingsWidget::SettingsWidget(QWidget* pParent)
    : QWidget(pParent)
{
}

void SettingsWidget::slotApply()
{
}

} // namespace QMWidgets
