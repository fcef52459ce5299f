#pragma once

#include "WebHosts.h"

#include <QString>

class QPushButton;

namespace QMWidgets {

// The form of the share and follow buttons: flat, 190 x 35, checkable, named
// so that the application's style sheet can draw its picture. Returns the button.
QPushButton* makeCommunityButton(QPushButton* pButton, const QString& strObjectName);

// What a share or follow button opens: in an independent build the link goes
// through the maker's redirector page "/social/<strScript>.php" on the host;
// a Store build opens the link itself. The link is appended as it is: the
// redirector expects it unencoded.
QString throughSocialRedirector(Platform::WebHost host, const QString& strScript, const QString& strLink);

} // namespace QMWidgets
