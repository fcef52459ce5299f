#pragma once

#include "ReminderStateDialog.h"

class QLabel;
class QPushButton;
class QHBoxLayout;

namespace QMWidgets {

// Common look of the reminders: logo and message on top, a free row for
// extra content, and the four choice buttons. Subclasses fill the message,
// rename or hide buttons and connect the ones they use.
class ReminderDialog : public ReminderStateDialog
{
    Q_OBJECT
public:
    explicit ReminderDialog(QWidget* pParent = nullptr);
    ~ReminderDialog() override;

public slots:
    void slotMail();
    void slotRate();
    void slotMaybeLater();
    void slotNeverAskMeAgain();

protected:
    void focusInEvent(QFocusEvent* pEvent) override;

    // Makes a share or follow reminder: the panel centred in the free row, the
    // rate button renamed to close (leaving the result at "no choice"), later
    // and mail hidden. The caller passes the text, translated in its own context.
    void showPanelWithClose(QWidget* pPanel, const QString& strCloseText);

    // Heading levels: one level smaller on a small screen.
    static QString headOpen();
    static QString headClose();
    static QString bodyOpen();
    static QString bodyClose();

    QLabel* m_pLabelMessage;
    QPushButton* m_pButtonRate;
    QPushButton* m_pButtonMail;
    QPushButton* m_pButtonLater;
    QPushButton* m_pButtonNever;
    QHBoxLayout* m_pLayoutExtra;
    QLabel* m_pLabelLogo;
};

} // namespace QMWidgets
