#include "JoinReminderDialog.h"

#include "JoinWidget.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace QMWidgets {

JoinReminderDialog::JoinReminderDialog(QWidget* pParent)
    : ReminderDialog(pParent)
{
    setWindowTitle(tr("Join Us"));

    m_pLayoutExtra->addStretch(1);
    m_pLayoutExtra->addWidget(new JoinWidget());
    m_pLayoutExtra->addStretch(1);

    m_pButtonRate->setText(tr("&Close"));
    m_pButtonRate->setFocus(Qt::OtherFocusReason);
    m_pButtonLater->hide();
    m_pButtonMail->hide();
    // The panel carries its own invitation text.
    m_pLabelMessage->hide();

    // Close leaves the result at "no choice".
    connect(m_pButtonRate, SIGNAL(clicked()), this, SLOT(accept()));
    connect(m_pButtonNever, SIGNAL(clicked()), this, SLOT(slotNeverAskMeAgain()));
}

JoinReminderDialog::~JoinReminderDialog() = default;

} // namespace QMWidgets
