#include "CenterFilter.h"

#include <QApplication>
#include <QDesktopWidget>
#include <QEvent>
#include <QWidget>

namespace QMWidgets {

CenterFilter::CenterFilter(QObject* pParent)
    : QObject(pParent)
{
    // A screen that changes its size moves its middle: follow it.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    connect(QApplication::desktop(), SIGNAL(resized(int)), this, SLOT(slotResized(int)));
    QT_WARNING_POP
}

bool CenterFilter::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pEvent->type() == QEvent::Show) {
        m_pWidget = qobject_cast<QWidget*>(pWatched);
        if (m_pWidget)
            centre();
    }
    return false;
}

void CenterFilter::slotResized(int /*nScreen*/)
{
    if (m_pWidget && m_pWidget->isVisible())
        centre();
}

void CenterFilter::centre()
{
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    const QWidget* pReference = m_pWidget->parentWidget();
    if (!pReference)
        pReference = QApplication::desktop();
    QT_WARNING_POP
    const QPoint position(pReference->width() / 2 - m_pWidget->width() / 2,
                          pReference->height() / 2 - m_pWidget->height() / 2);
    // An unchanged position is not set again: no move event, no flicker.
    if (position != m_pWidget->pos())
        m_pWidget->move(position);
}

} // namespace QMWidgets
