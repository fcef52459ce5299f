#include "EmailEdit.h"

#include "EmailRegExp.h"
#include "WidgetFunctions.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace QMWidgets {

namespace {
QPushButton* newSendButton(const QString& strObjectName, const QString& strToolTip)
{
    auto* pButton = new QPushButton;
    setObjectNameAndToolTip(pButton, strObjectName, strToolTip);
    pButton->setFixedSize(24, 24);
    pButton->setFlat(true);
    pButton->setEnabled(false);
    return pButton;
}
} // namespace

EmailEdit::EmailEdit(QWidget* pParent)
    : QWidget(pParent)
{
    m_pLineEdit = new QLineEdit;
    m_pECardButton = newSendButton(QStringLiteral("CardEditButton"), tr("Send an ecard"));
    m_pEmailButton = newSendButton(QStringLiteral("EmailEditButton"), tr("Send an email"));

    auto* pLayout = new QHBoxLayout;
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pLineEdit);
    pLayout->addWidget(m_pECardButton);
    pLayout->addWidget(m_pEmailButton);
    setLayout(pLayout);

    connect(m_pLineEdit, SIGNAL(textChanged(const QString&)), this, SLOT(slotTextChanged()));
    connect(m_pECardButton, SIGNAL(clicked()), this, SLOT(slotSendECard()));
    connect(m_pEmailButton, SIGNAL(clicked()), this, SLOT(slotSendEmail()));
}

void EmailEdit::setText(const QString& strText)
{
    m_pLineEdit->setText(strText);
    enableButtons();
}

QString EmailEdit::text() const
{
    return m_pLineEdit->text();
}

void EmailEdit::enableButtons()
{
    const bool bWellFormed = MTools::emailRegExp().exactMatch(m_pLineEdit->text());
    m_pECardButton->setEnabled(bWellFormed);
    m_pEmailButton->setEnabled(bWellFormed);
}

void EmailEdit::slotSendEmail()
{
    emit sendEmail(m_pLineEdit->text());
}

void EmailEdit::slotSendECard()
{
    emit sendECard(m_pLineEdit->text());
}

void EmailEdit::slotTextChanged()
{
    emit textChanged(m_pLineEdit->text());
    enableButtons();
}

} // namespace QMWidgets
