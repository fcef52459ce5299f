#include "NoScreeShotFilter.h"

#include "ChildWidgetsVisible.h"

#include <QEvent>

namespace QMWidgets {

NoScreeShotFilter::NoScreeShotFilter(QObject* pParent)
    : QObject(pParent)
{
}

bool NoScreeShotFilter::eventFilter(QObject* /*pWatched*/, QEvent* pEvent)
{
    if (pEvent->type() != QEvent::KeyPress)
        return false;
    setChildWidgetsVisible(parent(), false);
    return true;
}

} // namespace QMWidgets
