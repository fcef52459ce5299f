#include "BalancedOverrideCursor.h"

#include <QApplication>
#include <QCursor>

namespace QMWidgets {

BalancedOverrideCursor::~BalancedOverrideCursor()
{
    release();
}

void BalancedOverrideCursor::set(const QCursor& cursor)
{
    if (m_bPushed) {
        QApplication::changeOverrideCursor(cursor);
        return;
    }
    QApplication::setOverrideCursor(cursor);
    m_bPushed = true;
}

void BalancedOverrideCursor::release()
{
    if (!m_bPushed)
        return;
    QApplication::restoreOverrideCursor();
    m_bPushed = false;
}

bool BalancedOverrideCursor::isSet() const
{
    return m_bPushed;
}

}  // namespace QMWidgets
