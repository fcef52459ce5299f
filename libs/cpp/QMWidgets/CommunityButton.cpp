#include "CommunityButton.h"

#include <QPushButton>

namespace QMWidgets {

QPushButton* makeCommunityButton(QPushButton* pButton, const QString& strObjectName)
{
    pButton->setFlat(true);
    pButton->setFixedSize(190, 35);
    pButton->setObjectName(strObjectName);
    pButton->setCheckable(true);
    return pButton;
}

} // namespace QMWidgets
