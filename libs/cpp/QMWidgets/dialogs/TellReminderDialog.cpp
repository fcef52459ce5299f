#include "TellReminderDialog.h"

#include "TellWidget.h"

#include <QLabel>

namespace QMWidgets {

TellReminderDialog::TellReminderDialog(QWidget* pParent)
    : ReminderDialog(pParent)
{
    setWindowTitle(tr("Share"));
    showPanelWithClose(new TellWidget(), tr("&Close"));
    // The message stays visible: it tells the user why the panel appears.
    m_pLabelMessage->setText("<CENTER>" + bodyOpen() + tr("If you like the app") + tr(",")
                             + tr("<br>Share it with Your Friends.<br>Thanks!") + bodyClose() + "</CENTER>");
}

TellReminderDialog::~TellReminderDialog() = default;

} // namespace QMWidgets
