#include "PromoResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function at global scope, so it cannot be used
// inside the library's namespace.
static void registerPromoResources()
{
    Q_INIT_RESOURCE(promo);
}

namespace QMWidgets {

void initPromoResources()
{
    static const bool s_bDone = (registerPromoResources(), true);
    Q_UNUSED(s_bDone);
}

}  // namespace QMWidgets
