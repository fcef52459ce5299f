#pragma once

#include <QString>

class QPushButton;

namespace QMWidgets {

// The form of the share and follow buttons: flat, 190 x 35, checkable, named
// so that the application's style sheet can draw its picture. Returns the button.
QPushButton* makeCommunityButton(QPushButton* pButton, const QString& strObjectName);

} // namespace QMWidgets
