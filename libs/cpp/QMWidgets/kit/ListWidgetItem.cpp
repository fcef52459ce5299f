#include "ListWidgetItem.h"

namespace QMWidgets {

ListWidgetItem::ListWidgetItem(QListWidget* pView, int nType)
    : QListWidgetItem(pView, nType)
{
}

ListWidgetItem::ListWidgetItem(const QString& strText, QListWidget* pView, int nType)
    : QListWidgetItem(strText, pView, nType)
{
}

ListWidgetItem::ListWidgetItem(const QIcon& icon, const QString& strText, QListWidget* pView, int nType)
    : QListWidgetItem(icon, strText, pView, nType)
{
}

ListWidgetItem::ListWidgetItem(const QListWidgetItem& other)
    : QListWidgetItem(other)
{
}

ListWidgetItem::ListWidgetItem(const ListWidgetItem& other)
    : QListWidgetItem(other)
{
}

void ListWidgetItem::setUserString(const QString& strUser)
{
    m_userString = strUser;
}

QString ListWidgetItem::userString() const
{
    return m_userString;
}

} // namespace QMWidgets
