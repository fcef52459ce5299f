#include "WidgetLookup.h"

#include <QLabel>
#include <QPushButton>

namespace QMTest {

QPushButton* buttonWithText(QWidget* pParent, const QString& strText)
{
    const QList<QPushButton*> buttons = pParent->findChildren<QPushButton*>();
    for (QPushButton* pButton : buttons) {
        if (pButton->text() == strText)
            return pButton;
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
