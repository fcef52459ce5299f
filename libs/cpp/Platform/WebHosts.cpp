#include "WebHosts.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

namespace Platform {

namespace {

struct HostInfo {
    const char* envName;
    const char* defaultAddress;
    bool followsWebBase;
};

HostInfo info(WebHost host)
{
    switch (host) {
    case WebHost::MainSite:       return {"SITE", "http://zintrop.invalid", true};
    case WebHost::AppServer:      return {"APPS", "https://apps.zintrop.invalid", true};
    case WebHost::ShareServer:    return {"SHARE", "https://share.zintrop.invalid", true};
    case WebHost::RegionalSite:   return {"REGIONAL", "https://regional.zintrop.invalid", true};
    case WebHost::AppsWebServer:  return {"APPSWEB", "http://apps.zintrop.invalid", true};
    case WebHost::BuildsPrimary:  return {"BUILDS", "http://builds.zintrop.invalid", true};
    case WebHost::BuildsFallback: return {"BUILDS2", "http://builds2.zintrop.invalid", true};
    case WebHost::ContactMail:    return {"MAIL", "support@zintrop.invalid", false};
    case WebHost::PublisherName:  return {"PUBLISHER", "Corvane", false};
    }
    return {"", "", false};
}

QMutex g_mutex;
QHash<int, QString> g_overrides;
QString g_countryPattern;

QString withoutTrailingSlash(QString text)
{
    while (text.endsWith(QLatin1Char('/')))
        text.chop(1);
    return text;
}

}  // namespace

QString webHost(WebHost host)
{
    {
        QMutexLocker lock(&g_mutex);
        const auto it = g_overrides.constFind(static_cast<int>(host));
        if (it != g_overrides.constEnd())
            return it.value();
    }
    const HostInfo hi = info(host);
    const QByteArray own = qgetenv(QByteArray("ZINTROP_HOST_") + hi.envName);
    if (!own.isEmpty())
        return withoutTrailingSlash(QString::fromUtf8(own));
    if (hi.followsWebBase) {
        const QByteArray base = qgetenv("ZINTROP_WEB_BASE");
        if (!base.isEmpty())
            return withoutTrailingSlash(QString::fromUtf8(base));
    }
    return QString::fromLatin1(hi.defaultAddress);
}

void setWebHost(WebHost host, const QString& address)
{
    QMutexLocker lock(&g_mutex);
    if (address.isEmpty())
        g_overrides.remove(static_cast<int>(host));
    else
        g_overrides.insert(static_cast<int>(host), withoutTrailingSlash(address));
}

void resetWebHosts()
{
    QMutexLocker lock(&g_mutex);
    g_overrides.clear();
    g_countryPattern.clear();
}

QString countrySite(const QString& topLevelDomain)
{
    QString pattern;
    {
        QMutexLocker lock(&g_mutex);
        pattern = g_countryPattern;
    }
    if (pattern.isEmpty())
        pattern = QStringLiteral("http://zintrop.%1.invalid");
    return pattern.arg(topLevelDomain);
}

void setCountrySitePattern(const QString& pattern)
{
    QMutexLocker lock(&g_mutex);
    g_countryPattern = pattern;
}

QString facebookSharerBase()
{
    return QStringLiteral("http://www.facebook.com/sharer.php?u=");
}

QString twitterStatusBase()
{
    return QStringLiteral("https://twitter.com/home?status=");
}

QString toolkitSite()
{
    return QStringLiteral("https://www.qt.io");
}

}  // namespace Platform
