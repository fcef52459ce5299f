#include "RadioBox.h"

#include <QAbstractButton>
#include <QBoxLayout>

namespace QMWidgets {

RadioBox::RadioBox(int nDirection, QWidget* pParent)
    : QWidget(pParent)
{
    m_pLayout = new QBoxLayout(static_cast<QBoxLayout::Direction>(nDirection));
    m_pLayout->setMargin(0);
    m_pLayout->setSpacing(0);
    setLayout(m_pLayout);
    QPalette pal = palette();
    pal.setBrush(QPalette::All, backgroundRole(), QBrush(Qt::green, Qt::SolidPattern));
    setPalette(pal);
}

void RadioBox::addButton(QAbstractButton* pButton)
{
    pButton->setCheckable(true);
    m_pLayout->addWidget(pButton);
    connect(pButton, SIGNAL(clicked()), this, SLOT(slotButtonClicked()));
}

void RadioBox::slotButtonClicked()
{
    auto* pClicked = qobject_cast<QAbstractButton*>(sender());
    if (!pClicked)
        return;
    const QList<QAbstractButton*> buttons = findChildren<QAbstractButton*>();
    for (QAbstractButton* pButton : buttons)
        pButton->setChecked(false);
    pClicked->setChecked(true);
}

}  // namespace QMWidgets
