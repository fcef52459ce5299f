// Reminder scheduler, introduction and the slots that open the framework's
// dialogs. The dialogs themselves live in their own files.
#include "App.h"

#include <QTimer>

namespace QMWidgets {

void App::setReminderInterval(int nInterval)
{
    m_nReminderInterval = nInterval;
}

void App::setReminderDelay(int nMilliseconds)
{
    m_nReminderDelay = nMilliseconds;
}

void App::startReminders(int nInterval, int nKinds)
{
    // Kind selection and the quit connection come with the reminder dialogs.
    m_nReminderKind = nKinds;
    m_nReminderInterval = nInterval;
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
}

void App::slotCallRateReminderInternal()
{
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
}

void App::slotStartCount()
{
}

void App::slotShowCssEditor()
{
}

void App::slotHelp()
{
}

void App::slotShareApp()
{
}

void App::slotJoin()
{
}

void App::slotAbout()
{
}

}  // namespace QMWidgets
