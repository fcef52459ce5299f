#include "UrlOpener.h"

#include <QDesktopServices>
#include <QMutex>
#include <QMutexLocker>

namespace Platform {

namespace {
QMutex g_hookMutex;
UrlOpenHook& hookRef()
{
    static UrlOpenHook hook;
    return hook;
}
}  // namespace

bool openUrl(const QUrl& url)
{
    UrlOpenHook hook;
    {
        QMutexLocker lock(&g_hookMutex);
        hook = hookRef();
    }
    if (hook)
        return hook(url);
    return QDesktopServices::openUrl(url);
}

bool openLink(const QString& strLink)
{
    return openUrl(QUrl(strLink, QUrl::TolerantMode));
}

UrlOpenHook setUrlOpenHook(UrlOpenHook hook)
{
    QMutexLocker lock(&g_hookMutex);
    UrlOpenHook previous = hookRef();
    hookRef() = std::move(hook);
    return previous;
}

bool hasUrlOpenHook()
{
    QMutexLocker lock(&g_hookMutex);
    return static_cast<bool>(hookRef());
}

}  // namespace Platform
