// Review request of the platform layer: the rating dialog after a batch, at
// most once per run and three times in a yearly window.
#include "Os.h"

#include "App.h"
#include "RateAppStoreDialog.h"

#include <QPointer>

#include <climits>

bool Os::reviewRequestedThisRun = false;
int Os::reviewCallsPeriod = 2;

namespace {

const char* const kKeyCalls = "RequestedReviewsCalls";
const char* const kKeyCount = "RequestedReviewsCount";
const char* const kKeyLastDate = "RequestedReviewsLastDate";

QMWidgets::App* app()
{
    return QMWidgets::App::instance();
}

QString today()
{
    return QDate::currentDate().toString(QMWidgets::App::dateFormat());
}

} // namespace

void Os::requestReview(bool force)
{
    // Set before anything else: a second request from inside the modal
    // dialog's event loop returns at once.
    if (reviewRequestedThisRun)
        return;
    reviewRequestedThisRun = true;

    if (isReviewLimitReached())
        return;

    const int nCount = requestedReviewsCount();
    const int nCalls = requestedReviewsCalls();
    // A period below 1 would divide by zero.
    const int nPeriod = reviewCallsPeriod < 1 ? 1 : reviewCallsPeriod;
    if (nCount == 0 || force || nCalls % nPeriod == 0) {
        showReviewDialog();
        app()->setSettingsValue(kKeyCount, nCount + 1);
        app()->setSettingsValue(kKeyLastDate, today());
    }
    app()->setSettingsValue(kKeyCalls, nCalls == INT_MAX ? 1 : nCalls + 1);
}

void Os::showReviewDialog()
{
    QMWidgets::App* pApp = app();
    if (!pApp->settingsValue("AutoReminder", true).toBool())
        return;

    QPointer<QMWidgets::RateAppStoreDialog> pDialog = new QMWidgets::RateAppStoreDialog(pApp->mainWidget());
    pDialog->exec();
    if (!pDialog)
        return;
    const int nState = pDialog->reminderState();
    delete pDialog.data();

    if (nState == QMWidgets::ReminderStateDialog::StateRate) {
        pApp->slotRateApp();
        pApp->setSettingsValue("AutoReminder", false);
    } else if (nState == QMWidgets::ReminderStateDialog::StateNever) {
        pApp->setSettingsValue("AutoReminder", false);
    }
}

int Os::requestedReviewsCalls()
{
    return app()->settingsValue(kKeyCalls, 0).toInt();
}

int Os::requestedReviewsCount()
{
    return app()->settingsValue(kKeyCount, 0).toInt();
}

QDate Os::requestedReviewsLastDate()
{
    const QString strDate = app()->settingsValue(kKeyLastDate, QString()).toString();
    if (strDate.isEmpty())
        return QDate::currentDate();
    // An unreadable text gives an invalid date, which counts as 0 days ago.
    return QDate::fromString(strDate, QMWidgets::App::dateFormat());
}

bool Os::isReviewLimitReached()
{
    const qint64 nDays = requestedReviewsLastDate().daysTo(QDate::currentDate());
    const int nCount = requestedReviewsCount();
    if (nCount < 3 && nDays <= 365)
        return false;
    if (nDays <= 366)
        return true;
    // A new yearly window begins.
    app()->setSettingsValue(kKeyCalls, 0);
    app()->setSettingsValue(kKeyCount, 0);
    app()->setSettingsValue(kKeyLastDate, today());
    return false;
}

int Os::remainingReviewRequests()
{
    if (isReviewLimitReached())
        return 0;
    return 3 - requestedReviewsCount();
}

void Os::setReviewCallsPeriod(const int& n)
{
    // The period is a positive count; anything else keeps the current one.
    if (n > 0)
        reviewCallsPeriod = n;
}

void Os::resetReviewRequestForTests()
{
    reviewRequestedThisRun = false;
    reviewCallsPeriod = 2;
}
