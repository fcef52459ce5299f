#pragma once

#include <QDialog>

namespace QMWidgets {

// A dialog that remembers which of the reminder choices the user made.
// The caller runs it with exec() and reads reminderState() afterwards:
// 0 rate, 1 mail, 2 later, 3 never ask again, 4 no choice (closed otherwise).
class ReminderStateDialog : public QDialog
{
    Q_OBJECT
public:
    enum State { StateRate = 0, StateMail = 1, StateLater = 2, StateNever = 3, StateNoChoice = 4 };

    explicit ReminderStateDialog(QWidget* pParent = nullptr);
    ~ReminderStateDialog() override;

    int reminderState() const { return m_nReminderState; }

protected:
    int m_nReminderState = StateNoChoice;
};

} // namespace QMWidgets
