#pragma once

#include <QListWidgetItem>
#include <QString>

namespace QMWidgets {

// A list item that carries one extra string for its owner. Copying from
// another item does not copy the extra string.
class ListWidgetItem : public QListWidgetItem
{
public:
    explicit ListWidgetItem(QListWidget* pView = nullptr, int nType = Type);
    explicit ListWidgetItem(const QString& strText, QListWidget* pView = nullptr, int nType = Type);
    ListWidgetItem(const QIcon& icon, const QString& strText, QListWidget* pView = nullptr, int nType = Type);
    ListWidgetItem(const QListWidgetItem& other);
    ListWidgetItem(const ListWidgetItem& other);

    void setUserString(const QString& strUser);
    QString userString() const;

private:
    QString m_userString;
};

} // namespace QMWidgets
