#include "ChildWidgetsVisible.h"

#include <QVariant>
#include <QWidget>

namespace QMWidgets {

namespace {
// Marks a child that was hidden with its parent's content.
const char* const kHiddenAsContent = "qmHiddenAsContent";
} // namespace

void setChildWidgetsVisible(QObject* pObject, bool bVisible)
{
    if (!pObject)
        return;
    const auto children = pObject->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* pChild : children) {
        if (bVisible) {
            if (pChild->property(kHiddenAsContent).toBool()) {
                pChild->setProperty(kHiddenAsContent, QVariant());
                pChild->show();
            }
        } else if (!pChild->isHidden()) {
            pChild->setProperty(kHiddenAsContent, true);
            pChild->hide();
        }
    }
}

} // namespace QMWidgets
