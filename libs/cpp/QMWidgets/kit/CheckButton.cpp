#include "CheckButton.h"

namespace QMWidgets {

CheckButton::CheckButton(QWidget* pParent)
    : QPushButton(pParent)
{
    setCheckable(true);
    connect(this, SIGNAL(toggled(bool)), this, SLOT(slotClicked(bool)));
}

void CheckButton::slotClicked(bool bChecked)
{
    if (bChecked)
        emit onClicked();
    else
        emit offClicked();
}

} // namespace QMWidgets
