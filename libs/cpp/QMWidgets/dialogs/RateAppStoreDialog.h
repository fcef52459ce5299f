#pragma once

#include "ReminderDialog.h"

namespace QMWidgets {

// "Enjoying ... ?": rate now, later, or never again.
class RateAppStoreDialog : public ReminderDialog
{
    Q_OBJECT
public:
    explicit RateAppStoreDialog(QWidget* pParent = nullptr);
    ~RateAppStoreDialog() override;
};

} // namespace QMWidgets
