#pragma once

#include <QObject>
#include <QString>

namespace QMWidgets {

// Provides an application's style sheet; the base provides none.
class CommonStyle : public QObject
{
    Q_OBJECT

public:
    explicit CommonStyle(QObject* pParent = nullptr);

    virtual QString styleSheet();

    // The shorter side of the desktop divided by fDivisor, truncated toward
    // zero. A divisor that is not positive gives 0; a result beyond int
    // stops at the largest int.
    static int sizeFromScreen(float fDivisor);
};

} // namespace QMWidgets
