#pragma once

namespace QMWidgets {

// Registers the promotion chrome's compiled-in pictures (promo.qrc). A static
// library's resources are only linked in when something refers to them, so
// every class that loads one of these pictures calls this first; repeated
// calls do nothing more.
void initPromoResources();

}  // namespace QMWidgets
