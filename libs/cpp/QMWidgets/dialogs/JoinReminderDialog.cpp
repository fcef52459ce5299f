#include "JoinReminderDialog.h"

#include "JoinWidget.h"

#include <QLabel>

namespace QMWidgets {

JoinReminderDialog::JoinReminderDialog(QWidget* pParent)
    : ReminderDialog(pParent)
{
    setWindowTitle(tr("Join Us"));
    showPanelWithClose(new JoinWidget(), tr("&Close"));
    // The panel carries its own invitation text.
    m_pLabelMessage->hide();
}

JoinReminderDialog::~JoinReminderDialog() = default;

} // namespace QMWidgets
