#pragma once

#include "ReminderDialog.h"

namespace QMWidgets {

// Feedback variant: rate the app or write an e-mail about what went wrong.
class RateMailDialog : public ReminderDialog
{
    Q_OBJECT
public:
    explicit RateMailDialog(QWidget* pParent = nullptr);
    ~RateMailDialog() override;
};

} // namespace QMWidgets
