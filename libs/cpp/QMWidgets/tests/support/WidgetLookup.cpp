#include "WidgetLookup.h"

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

}  // namespace QMTest
