// Reminder scheduler, introduction and the slots that open the framework's
// dialogs. The dialogs themselves live in their own files.
#include "App.h"

#include "AboutDialog.h"
#include "CssEditor.h"
#include "HelpDialog.h"
#include "JoinDialog.h"
#include "JoinReminderDialog.h"
#include "RateAppStoreDialog.h"
#include "TellDialog.h"
#include "TellReminderDialog.h"

#include <QPointer>
#include <QTime>
#include <QTimer>
#include <QWidget>

#include <climits>

namespace QMWidgets {

namespace {

// The reminder fires on every n-th quit; n below 1 would divide by zero.
int saneInterval(int nInterval)
{
    return nInterval < 1 ? 1 : nInterval;
}

// What the reminder on quit and "Rate this App" do with the user's choice.
void actOnReminderState(App* pApp, int nState)
{
    switch (nState) {
    case ReminderStateDialog::StateRate:
        pApp->slotRateApp();
        pApp->setSettingsValue("AutoReminder", false);
        break;
    case ReminderStateDialog::StateMail:
        pApp->slotContactUs();
        pApp->setSettingsValue("AutoReminder", false);
        break;
    case ReminderStateDialog::StateNever:
        pApp->setSettingsValue("AutoReminder", false);
        break;
    default:
        break;
    }
}

// Runs the dialog modally, acts on the choice and deletes the dialog (unless
// its parent went away meanwhile and took it along).
void runReminder(App* pApp, ReminderStateDialog* pDialog)
{
    QPointer<ReminderStateDialog> pGuard(pDialog);
    pDialog->exec();
    if (!pGuard)
        return;
    actOnReminderState(pApp, pGuard->reminderState());
    delete pGuard.data();
}

} // namespace

void App::setReminderInterval(int nInterval)
{
    m_nReminderInterval = saneInterval(nInterval);
}

void App::setReminderDelay(int nMilliseconds)
{
    m_nReminderDelay = nMilliseconds;
}

void App::startReminders(int nInterval, int nKinds)
{
    if (nKinds == RequestReminder) {
        m_nReminderKind = isStoreBuild() ? RateReminder : TellReminder;
    } else {
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        qsrand(static_cast<uint>(QTime::currentTime().msec()));
        const int r = qrand();
        QT_WARNING_POP
        const bool bRate = nKinds & RateReminder;
        const bool bTell = nKinds & TellReminder;
        const bool bJoin = nKinds & JoinReminder;
        if (bRate && bTell && bJoin) {
            static const int kinds[3] = {RateReminder, TellReminder, JoinReminder};
            m_nReminderKind = kinds[r % 3];
        } else if (bRate && bTell && !bJoin) {
            m_nReminderKind = r % 2 == 0 ? RateReminder : TellReminder;
        } else if (bRate && bJoin && !bTell) {
            m_nReminderKind = r % 2 == 0 ? RateReminder : JoinReminder;
        } else if (bTell && bJoin && !bRate) {
            m_nReminderKind = r % 2 == 0 ? JoinReminder : TellReminder;
        } else {
            m_nReminderKind = nKinds;
        }
    }
    m_nReminderInterval = saneInterval(nInterval);
    connect(this, SIGNAL(aboutToQuit()), this, SLOT(slotCallRateReminderInternal()));
}

void App::startRateReminders(int nInterval)
{
    startReminders(nInterval, RateReminder);
}

void App::startTellReminders(int nInterval)
{
    startReminders(nInterval, TellReminder);
}

void App::startJoinReminders(int nInterval)
{
    startReminders(nInterval, JoinReminder);
}

void App::setIntroSlides(const QStringList& slSlides)
{
    m_slIntroSlides = slSlides;
}

QStringList App::introSlides() const
{
    return m_slIntroSlides;
}

void App::setIntroVideoLink(const QString& strLink)
{
    m_strIntroVideoLink = strLink;
}

QString App::introVideoLink() const
{
    return m_strIntroVideoLink;
}

void App::showIntroOnStart()
{
    if (HelpDialog::isIntroEnabled())
        QTimer::singleShot(500, this, SLOT(slotHelp()));
}

void App::slotCallRateReminderInternal()
{
    if (m_pMainWidget && !m_pMainWidget->isVisible())
        m_pMainWidget->show();

    const bool bAutoReminder = settingsValue("AutoReminder", true).toBool();
    const int nCount = settingsValue("AutoReminderCount", 1).toInt();
    if (!bAutoReminder)
        return;

    if (nCount % saneInterval(m_nReminderInterval) == 0) {
        ReminderStateDialog* pDialog = nullptr;
        switch (m_nReminderKind) {
        case RateReminder:
            pDialog = new RateAppStoreDialog(m_pMainWidget);
            break;
        case TellReminder:
            pDialog = new TellReminderDialog(m_pMainWidget);
            break;
        default:
            pDialog = new JoinReminderDialog(m_pMainWidget);
            break;
        }
        runReminder(this, pDialog);
    }

    // Wrap to 1 instead of overflowing.
    setSettingsValue("AutoReminderCount", nCount == INT_MAX ? 1 : nCount + 1);
}

void App::slotCallRateReminder()
{
    m_nReminderKind = RateReminder;
    QTimer::singleShot(m_nReminderDelay, this, SLOT(slotCallRateReminderInternal()));
}

void App::slotCallTellReminder()
{
    m_nReminderKind = TellReminder;
    QTimer::singleShot(m_nReminderDelay, this, SLOT(slotCallRateReminderInternal()));
}

void App::slotCallJoinReminder()
{
    m_nReminderKind = JoinReminder;
    QTimer::singleShot(m_nReminderDelay, this, SLOT(slotCallRateReminderInternal()));
}

void App::slotImmediatelyRate()
{
    runReminder(this, new RateAppStoreDialog(m_pMainWidget));
}

void App::slotStartCount()
{
}

void App::slotShowCssEditor()
{
    auto* pEditor = new CssEditor(nullptr);
    // Each call opens another window; closing one frees it.
    pEditor->setAttribute(Qt::WA_DeleteOnClose);
    pEditor->show();
}

void App::slotHelp()
{
    if (!m_pHelpDialog) {
        m_pHelpDialog = new HelpDialog(m_pMainWidget);
        for (const QString& strSlide : qAsConst(m_slIntroSlides))
            m_pHelpDialog->addSlide(strSlide);
        if (!m_strIntroVideoLink.isEmpty())
            m_pHelpDialog->setVideoLink(m_strIntroVideoLink);
    }
    m_pHelpDialog->raise();
    m_pHelpDialog->activateWindow();
    m_pHelpDialog->show();
}

void App::slotShareApp()
{
    TellDialog dialog(QApplication::activeWindow());
    dialog.exec();
}

void App::slotJoin()
{
    JoinDialog dialog(QApplication::activeWindow());
    dialog.exec();
}

void App::slotAbout()
{
    auto* pDialog = new AboutDialog(m_pMainWidget);
    QPointer<AboutDialog> pGuard(pDialog);
    pDialog->exec();
    delete pGuard.data();
}

}  // namespace QMWidgets
