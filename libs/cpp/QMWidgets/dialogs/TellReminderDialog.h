#pragma once

#include "ReminderDialog.h"

namespace QMWidgets {

// Reminder to share the app: the share panel between a close and a never button.
class TellReminderDialog : public ReminderDialog
{
    Q_OBJECT
public:
    explicit TellReminderDialog(QWidget* pParent = nullptr);
    ~TellReminderDialog() override;
};

} // namespace QMWidgets
