#pragma once

#include "ReminderDialog.h"

namespace QMWidgets {

// Reminder to follow the maker: the follow panel between a close and a never button.
class JoinReminderDialog : public ReminderDialog
{
    Q_OBJECT
public:
    explicit JoinReminderDialog(QWidget* pParent = nullptr);
    ~JoinReminderDialog() override;
};

} // namespace QMWidgets
