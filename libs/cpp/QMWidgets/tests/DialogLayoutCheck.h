#pragma once

// Headless layout check for the framework's dialogs: shown at its minimum
// size, a dialog must paint and no two visible sibling widgets may overlap
// or stick out of their parent.

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QStringList>
#include <QWidget>

namespace DialogLayoutCheck {

inline QString describe(const QWidget* pWidget)
{
    const QString strName = pWidget->objectName().isEmpty() ? QStringLiteral("-") : pWidget->objectName();
    return QString::fromLatin1(pWidget->metaObject()->className()) + "(" + strName + ")";
}

inline QList<QWidget*> visibleChildren(QWidget* pParent)
{
    QList<QWidget*> result;
    const auto children = pParent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* pChild : children) {
        if (!pChild->isWindow() && pChild->isVisible())
            result << pChild;
    }
    return result;
}

// Every problem found below pTop, as readable text.
inline QStringList layoutProblems(QWidget* pTop)
{
    QStringList problems;
    QList<QWidget*> parents{pTop};
    for (int i = 0; i < parents.size(); ++i) {
        QWidget* pParent = parents.at(i);
        const QList<QWidget*> children = visibleChildren(pParent);
        for (int a = 0; a < children.size(); ++a) {
            const QRect rectA = children.at(a)->geometry();
            if (rectA.isEmpty())
                problems << describe(children.at(a)) + " has no area";
            if (!pParent->rect().contains(rectA))
                problems << describe(children.at(a)) + " sticks out of " + describe(pParent);
            for (int b = a + 1; b < children.size(); ++b) {
                if (rectA.intersects(children.at(b)->geometry()))
                    problems << describe(children.at(a)) + " overlaps " + describe(children.at(b));
            }
            parents << children.at(a);
        }
    }
    return problems;
}

// Shows the widget at its minimum size and grabs it. Returns the problems
// found (empty when the layout is sound); the grab must not be empty.
inline QStringList checkAtMinimumSize(QWidget* pWidget)
{
    pWidget->show();
    QApplication::processEvents();
    const QSize sizeMinimum = pWidget->minimumSizeHint().expandedTo(pWidget->minimumSize());
    pWidget->resize(sizeMinimum);
    QApplication::processEvents();
    QStringList problems;
    if (pWidget->size() != sizeMinimum)
        problems << QString("not at its minimum size: %1x%2 instead of %3x%4")
                        .arg(pWidget->width()).arg(pWidget->height())
                        .arg(sizeMinimum.width()).arg(sizeMinimum.height());
    if (pWidget->grab().toImage().isNull())
        problems << "grab failed";
    problems << layoutProblems(pWidget);
    return problems;
}

} // namespace DialogLayoutCheck
