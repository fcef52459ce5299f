#include "MobileSimulator.h"

#include <QHBoxLayout>

namespace QMWidgets {

MobileSimulator::MobileSimulator(QWidget* pParent)
    : QFrame(pParent)
{
    setObjectName(QStringLiteral("MobileSimulator"));
    m_pLayout = new QHBoxLayout(this);
    m_pLayout->setContentsMargins(5, 5, 5, 5);
    m_pLayout->setSpacing(3);
}

void MobileSimulator::setWidget(QWidget* pWidget)
{
    m_pContent = pWidget;
    m_pLayout->addWidget(pWidget);
}

} // namespace QMWidgets
