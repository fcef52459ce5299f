#pragma once

#include <QString>

namespace QMWidgets {

// Opens an existing file with the desktop's program for it, or any other
// text as a link (read tolerantly) in the desktop's handler.
void openFileOrUrl(const QString& strFileOrUrl);

} // namespace QMWidgets
