#include "TellReminderDialog.h"

#include "TellWidget.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace QMWidgets {

TellReminderDialog::TellReminderDialog(QWidget* pParent)
    : ReminderDialog(pParent)
{
    setWindowTitle(tr("Share"));

    m_pLayoutExtra->addStretch(1);
    m_pLayoutExtra->addWidget(new TellWidget());
    m_pLayoutExtra->addStretch(1);

    // The message stays visible: it tells the user why the panel appears.
    m_pLabelMessage->setText("<CENTER>" + bodyOpen() + tr("If you like the app") + tr(",")
                             + tr("<br>Share it with Your Friends.<br>Thanks!") + bodyClose() + "</CENTER>");

    m_pButtonRate->setText(tr("&Close"));
    m_pButtonRate->setFocus(Qt::OtherFocusReason);
    m_pButtonLater->hide();
    m_pButtonMail->hide();

    // Close leaves the result at "no choice".
    connect(m_pButtonRate, SIGNAL(clicked()), this, SLOT(accept()));
    connect(m_pButtonNever, SIGNAL(clicked()), this, SLOT(slotNeverAskMeAgain()));
}

TellReminderDialog::~TellReminderDialog() = default;

} // namespace QMWidgets
