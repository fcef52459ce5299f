#include "ComboProgress.h"

#include "WidgetFunctions.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace QMWidgets {

ComboProgress::ComboProgress(QWidget* pParent)
    : QWidget(pParent)
{
    m_pProgressBar = new QProgressBar;
    m_pStopButton = new QPushButton;
    m_pLabel = new QLabel;

    setObjectNameAndToolTip(m_pStopButton, QStringLiteral("ComboProgressStop"), tr("Stop"));
    m_pStopButton->setFixedSize(20, 20);
    m_pStopButton->setFlat(true);
    connect(m_pStopButton, SIGNAL(clicked()), this, SLOT(slotStopPressed()));

    auto* pLayout = new QHBoxLayout;
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pProgressBar);
    pLayout->addWidget(m_pStopButton);
    pLayout->addWidget(m_pLabel);
    setLayout(pLayout);

    setLabelMode(true);
}

void ComboProgress::setLabelMode(bool bLabel)
{
    m_pLabel->setVisible(bLabel);
    m_pProgressBar->setVisible(!bLabel);
    m_pStopButton->setVisible(!bLabel);
}

int ComboProgress::value() const
{
    return m_pProgressBar->value();
}

bool ComboProgress::isStopped() const
{
    return m_bStopped;
}

QLabel* ComboProgress::label() const
{
    return m_pLabel;
}

void ComboProgress::slotSetProgress(int nValue)
{
    if (nValue >= 100) {
        setLabelMode(true);
        return;
    }
    if (m_pLabel->isVisible())
        setLabelMode(false);
    m_bStopped = false;
    m_pProgressBar->setValue(nValue);
}

void ComboProgress::slotStopPressed()
{
    m_bStopped = true;
    if (!m_pLabel->isVisible())
        setLabelMode(true);
}

} // namespace QMWidgets
