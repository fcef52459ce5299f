#pragma once

class QObject;

namespace QMWidgets {

// Hides or brings back the content of a widget: its direct child widgets.
// Hiding remembers which children were shown; showing brings back exactly
// those, so children hidden on purpose (the other pages of a tab widget, a
// closed popup) stay hidden. Grandchildren keep their own state and follow
// their parent. Showing content that was not hidden this way does nothing.
void setChildWidgetsVisible(QObject* pObject, bool bVisible);

} // namespace QMWidgets
