#include "WidgetLookup.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace QMTest {

QPushButton* buttonWithText(QWidget* pParent, const QString& strText)
{
    return childWithText<QPushButton>(pParent, strText);
}

QAction* actionWithText(const QMenu* pMenu, const QString& strText)
{
    const QList<QAction*> actions = pMenu->actions();
    for (QAction* pAction : actions) {
        if (pAction->text() == strText)
            return pAction;
    }
    return nullptr;
}

QString labelTextContaining(QWidget* pParent, const QString& strPart)
{
    const QList<QLabel*> labels = pParent->findChildren<QLabel*>();
    for (QLabel* pLabel : labels) {
        if (pLabel->text().contains(strPart))
            return pLabel->text();
    }
    return QString();
}

}  // namespace QMTest
