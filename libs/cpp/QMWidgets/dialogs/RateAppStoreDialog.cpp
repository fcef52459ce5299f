#include "RateAppStoreDialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace QMWidgets {

RateAppStoreDialog::RateAppStoreDialog(QWidget* pParent)
    : ReminderDialog(pParent)
{
    const QString strApp = QCoreApplication::applicationName();
    // The closing quote of the title is not a translatable piece.
    setWindowTitle(tr("Rate \"") + strApp + "\"");

    m_pButtonMail->hide();
    m_pButtonRate->setText(tr("&Rate It Now"));

    m_pLabelMessage->setText("<CENTER>" + headOpen() + tr("Enjoying \"") + strApp + tr("\" ?") + headClose()
                             + bodyOpen()
                             + tr("Please rate the app on the App Store.<br>This will help us improve <br>the "
                                  "app's features in the future.")
                             + "<br>" + bodyClose() + "</CENTER>");

    m_pButtonRate->setFocus(Qt::OtherFocusReason);

    connect(m_pButtonRate, SIGNAL(clicked()), this, SLOT(slotRate()));
    connect(m_pButtonLater, SIGNAL(clicked()), this, SLOT(slotMaybeLater()));
    connect(m_pButtonNever, SIGNAL(clicked()), this, SLOT(slotNeverAskMeAgain()));
}

RateAppStoreDialog::~RateAppStoreDialog() = default;

} // namespace QMWidgets
