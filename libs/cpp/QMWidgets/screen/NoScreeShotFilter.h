#pragma once

#include <QObject>

namespace QMWidgets {

// A key filter for the content of a screenshot guard: any key press on a
// watched object is swallowed and hides the content of the filter's parent.
// Create it with the guard (or any widget holding the content) as parent.
class NoScreeShotFilter : public QObject
{
    Q_OBJECT

public:
    explicit NoScreeShotFilter(QObject* pParent);

    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
};

} // namespace QMWidgets
