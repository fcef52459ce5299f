#include "CommonStyle.h"

#include "App.h"

#include <limits>

namespace QMWidgets {

CommonStyle::CommonStyle(QObject* pParent)
    : QObject(pParent)
{
}

QString CommonStyle::styleSheet()
{
    return QString();
}

int CommonStyle::sizeFromScreen(float fDivisor)
{
    // Converting an infinite or too large quotient to int is undefined.
    if (!(fDivisor > 0))
        return 0;
    const double dSize = double(App::screenShortSide()) / double(fDivisor);
    if (dSize >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(dSize);
}

} // namespace QMWidgets
