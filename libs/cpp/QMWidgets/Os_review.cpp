// Review request of the platform layer.
#include "Os.h"

bool Os::reviewRequestedThisRun = false;
int Os::reviewCallsPeriod = 2;

void Os::requestReview(bool)
{
}

void Os::showReviewDialog()
{
}

int Os::requestedReviewsCalls()
{
    return 0;
}

int Os::requestedReviewsCount()
{
    return 0;
}

QDate Os::requestedReviewsLastDate()
{
    return QDate::currentDate();
}

bool Os::isReviewLimitReached()
{
    return false;
}

int Os::remainingReviewRequests()
{
    return 3;
}

void Os::setReviewCallsPeriod(const int& n)
{
    if (n > 0)
        reviewCallsPeriod = n;
}
