#include "NoScreenShotWidget.h"

#include "ChildWidgetsVisible.h"
#include "NoScreeShotFilter.h"

#include <QApplication>

namespace QMWidgets {

NoScreenShotWidget::NoScreenShotWidget(QWidget* pParent)
    : QLabel(pParent)
{
    init(QString());
}

NoScreenShotWidget::NoScreenShotWidget(const QString& strText, QWidget* pParent)
    : QLabel(pParent)
{
    init(strText);
}

void NoScreenShotWidget::init(const QString& strText)
{
    connect(qApp, SIGNAL(focusChanged(QWidget*,QWidget*)), this, SLOT(slotFocusChanged(QWidget*,QWidget*)));
    setText(strText.isEmpty() ? QStringLiteral("<H1><CENTER>") + tr("No!") + QStringLiteral("</CENTER></H1>")
                              : strText);
}

void NoScreenShotWidget::installKeyFilters()
{
    const auto widgets = findChildren<QWidget*>();
    for (QWidget* pWidget : widgets)
        pWidget->installEventFilter(new NoScreeShotFilter(this));
}

bool NoScreenShotWidget::event(QEvent* pEvent)
{
    // Coming back to a window whose focusable widgets are all hidden moves
    // no focus, so no focus change would ever bring the content back: the
    // window's activation does.
    if (pEvent->type() == QEvent::WindowActivate && QApplication::activeWindow())
        setChildWidgetsVisible(this, true);
    return QLabel::event(pEvent);
}

void NoScreenShotWidget::slotFocusChanged(QWidget* pOld, QWidget* /*pNow*/)
{
    // Hiding the content moves the focus away from the hidden widget; that
    // change is the guard's own doing and must not bring the content back.
    if (pOld && !pOld->isVisible() && isAncestorOf(pOld))
        return;
    setChildWidgetsVisible(this, QApplication::activeWindow() != nullptr);
}

} // namespace QMWidgets
