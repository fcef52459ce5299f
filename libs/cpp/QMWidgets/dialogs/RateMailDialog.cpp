#include "RateMailDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace QMWidgets {

RateMailDialog::RateMailDialog(QWidget* pParent)
    : ReminderDialog(pParent)
{
    setWindowTitle(tr("Feedback about \"") + QCoreApplication::applicationName() + "\"");

    m_pButtonRate->setText(tr("&Rate"));
    m_pButtonMail->setText(tr("&Write email"));

    m_pLabelMessage->setText("<CENTER>" + bodyOpen()
                             + tr("Please rate it on the app store or send us a quick e-mail<br>and tell us what "
                                  "you didn't enjoy. <br>Your feedback will help us improve this app.")
                             + bodyClose() + "</CENTER>");

    m_pButtonRate->setFocus(Qt::OtherFocusReason);

    connect(m_pButtonRate, SIGNAL(clicked()), this, SLOT(slotRate()));
    connect(m_pButtonMail, SIGNAL(clicked()), this, SLOT(slotMail()));
    connect(m_pButtonLater, SIGNAL(clicked()), this, SLOT(slotMaybeLater()));
    connect(m_pButtonNever, SIGNAL(clicked()), this, SLOT(slotNeverAskMeAgain()));
}

RateMailDialog::~RateMailDialog() = default;

} // namespace QMWidgets
