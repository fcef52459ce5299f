#pragma once

#include <QString>
#include <QWidget>

class QAction;
class QMenu;
class QPushButton;

namespace QMTest {

// The first widget of type T among the widget's descendants whose text() is
// exactly strText (mnemonic '&' included); nullptr when there is none.
template <typename T>
T* childWithText(QWidget* pParent, const QString& strText)
{
    const QList<T*> children = pParent->findChildren<T*>();
    for (T* pChild : children) {
        if (pChild->text() == strText)
            return pChild;
    }
    return nullptr;
}

// The same for push buttons.
QPushButton* buttonWithText(QWidget* pParent, const QString& strText);

// The first of the menu's own actions whose text is exactly strText;
// nullptr when there is none.
QAction* actionWithText(const QMenu* pMenu, const QString& strText);

// The text of the first label among the widget's descendants whose text
// contains strPart; empty when there is none.
QString labelTextContaining(QWidget* pParent, const QString& strPart);

}  // namespace QMTest
