#include "ReminderDialog.h"

#include "App.h"
#include "WidgetFunctions.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace QMWidgets {

namespace {
bool smallScreen()
{
    return App::isSmallScreen();
}
} // namespace

ReminderDialog::ReminderDialog(QWidget* pParent)
    : ReminderStateDialog(pParent)
{
    setObjectName("Dialog");

    m_pButtonRate = new QPushButton(tr("&Rate"));
    makeFlatPushButton(m_pButtonRate);
    m_pButtonMail = new QPushButton(tr("&Mail"));
    makeFlatPushButton(m_pButtonMail);
    m_pButtonLater = new QPushButton(tr("&Later"));
    makeFlatPushButton(m_pButtonLater);
    m_pButtonNever = new QPushButton(tr("&Don't ask me again"));
    makeFlatPushButton(m_pButtonNever);
    // Hide rather than setVisible(true): the button has no parent yet, and
    // showing it now would open it as a window of its own.
    if (!App::instance()->settingsValue("AutoReminder", true).toBool())
        m_pButtonNever->hide();

    m_pLabelMessage = new QLabel();
    m_pLabelMessage->setMinimumHeight(90);

    m_pLabelLogo = new QLabel();
    m_pLabelLogo->setObjectName("LogoLabel");
    m_pLabelLogo->setFixedSize(90, 90);

    m_pLayoutExtra = new QHBoxLayout();
    m_pLayoutExtra->setContentsMargins(0, 0, 0, 0);
    m_pLayoutExtra->setSpacing(0);

    const bool bSmall = smallScreen();

    QBoxLayout* pLayoutHead = nullptr;
    if (bSmall) {
        pLayoutHead = new QVBoxLayout();
        auto* pLayoutLogo = new QHBoxLayout();
        pLayoutLogo->addStretch(0);
        pLayoutLogo->addWidget(m_pLabelLogo);
        pLayoutLogo->addStretch(0);
        pLayoutHead->addLayout(pLayoutLogo);
    } else {
        pLayoutHead = new QHBoxLayout();
        pLayoutHead->addWidget(m_pLabelLogo);
    }
    pLayoutHead->setContentsMargins(0, 0, 0, 0);
    pLayoutHead->setSpacing(5);
    pLayoutHead->addWidget(m_pLabelMessage);

    QBoxLayout* pLayoutButtons = nullptr;
    if (bSmall) {
        pLayoutButtons = new QVBoxLayout();
        pLayoutButtons->addWidget(m_pButtonMail);
        pLayoutButtons->addWidget(m_pButtonRate);
        pLayoutButtons->addWidget(m_pButtonLater);
        pLayoutButtons->addWidget(m_pButtonNever);
    } else {
        pLayoutButtons = new QHBoxLayout();
        pLayoutButtons->addWidget(m_pButtonNever);
        pLayoutButtons->addWidget(m_pButtonLater);
        pLayoutButtons->addWidget(m_pButtonRate);
        pLayoutButtons->addWidget(m_pButtonMail);
    }
    pLayoutButtons->setContentsMargins(0, 0, 0, 0);
    pLayoutButtons->setSpacing(5);

    auto* pLayoutMain = new QVBoxLayout();
    pLayoutMain->setContentsMargins(6, 6, 6, 6);
    pLayoutMain->setSpacing(1);
    pLayoutMain->addLayout(pLayoutHead);
    pLayoutMain->addLayout(m_pLayoutExtra);
    pLayoutMain->addLayout(pLayoutButtons);
    setLayout(pLayoutMain);
}

ReminderDialog::~ReminderDialog() = default;

void ReminderDialog::slotMail()
{
    m_nReminderState = StateMail;
    accept();
}

void ReminderDialog::slotRate()
{
    m_nReminderState = StateRate;
    accept();
}

void ReminderDialog::slotMaybeLater()
{
    m_nReminderState = StateLater;
    accept();
}

void ReminderDialog::slotNeverAskMeAgain()
{
    m_nReminderState = StateNever;
    accept();
}

void ReminderDialog::showPanelWithClose(QWidget* pPanel, const QString& strCloseText)
{
    m_pLayoutExtra->addStretch(1);
    m_pLayoutExtra->addWidget(pPanel);
    m_pLayoutExtra->addStretch(1);

    m_pButtonRate->setText(strCloseText);
    m_pButtonRate->setFocus(Qt::OtherFocusReason);
    m_pButtonLater->hide();
    m_pButtonMail->hide();

    connect(m_pButtonRate, SIGNAL(clicked()), this, SLOT(accept()));
    connect(m_pButtonNever, SIGNAL(clicked()), this, SLOT(slotNeverAskMeAgain()));
}

void ReminderDialog::focusInEvent(QFocusEvent* pEvent)
{
    QWidget::focusInEvent(pEvent);
    if (m_pButtonMail->isVisible())
        m_pButtonMail->setFocus(Qt::OtherFocusReason);
    else
        m_pButtonLater->setFocus(Qt::OtherFocusReason);
}

QString ReminderDialog::headOpen() { return smallScreen() ? "<H3>" : "<H2>"; }
QString ReminderDialog::headClose() { return smallScreen() ? "</H3>" : "</H2>"; }
QString ReminderDialog::bodyOpen() { return smallScreen() ? "<H4>" : "<H3>"; }
QString ReminderDialog::bodyClose() { return smallScreen() ? "</H4>" : "</H3>"; }

} // namespace QMWidgets
