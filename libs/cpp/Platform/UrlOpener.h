#pragma once

#include <QUrl>

#include <functional>

namespace Platform {

// Every web page, mail link and folder that the program opens goes through
// openUrl, so that tests can capture what would be opened instead of starting
// a browser or a mail client.
using UrlOpenHook = std::function<bool(const QUrl&)>;

// Opens the URL in the desktop's handler, or hands it to the installed hook.
// Returns the handler's (or the hook's) answer.
bool openUrl(const QUrl& url);

// The same for a link kept as text: read tolerantly, so that blanks and
// other characters written by hand are encoded instead of refused.
bool openLink(const QString& strLink);

// Installs a hook that receives every URL in place of the desktop handlers;
// an empty hook restores the desktop. Returns the previous hook.
UrlOpenHook setUrlOpenHook(UrlOpenHook hook);

bool hasUrlOpenHook();

}  // namespace Platform
