#pragma once

#include <QString>

namespace Platform {

// The maker's web addresses, kept in one place. The defaults are reserved
// placeholder hosts (".invalid" never resolves); a deployment fills in the
// real ones, and tests point them at a loopback server.
//
// Overrides, strongest first:
//  - setWebHost() at run time;
//  - the environment variable ZINTROP_HOST_<NAME> for one host
//    (NAME as listed below, e.g. ZINTROP_HOST_BUILDS=http://127.0.0.1:8080);
//  - the environment variable ZINTROP_WEB_BASE for every maker host at once
//    (not for the contact address, the publisher name or the country sites).
enum class WebHost {
    MainSite,        // SITE      plain-scheme web site of the maker
    AppServer,       // APPS      secure-scheme app server (rating page, social redirectors, cross-promotion)
    ShareServer,     // SHARE     second host name of the app server (Twitter share redirector)
    RegionalSite,    // REGIONAL  secure-scheme regional site
    AppsWebServer,   // APPSWEB   apps web server of the program (usage ping, "More Apps" page)
    BuildsPrimary,   // BUILDS    primary build-information server base
    BuildsFallback,  // BUILDS2   fallback build-information server base
    ContactMail,     // MAIL      contact mail address (no scheme)
    PublisherName,   // PUBLISHER the maker's publisher name in store links
};

// The address of a host, without a trailing "/".
QString webHost(WebHost host);

// Replaces one address for the rest of the run; an empty text restores the default.
void setWebHost(WebHost host, const QString& address);

// Forgets every setWebHost() override.
void resetWebHosts();

// The maker's site for a country top-level domain such as "de", "ru" or "org"
// (share links, video page); "%1" in the pattern stands for the domain.
QString countrySite(const QString& topLevelDomain);
void setCountrySitePattern(const QString& pattern);

// Third-party pages that the share links point at.
QString facebookSharerBase();   // followed by the shared address
QString twitterStatusBase();    // followed by the shared address

// The toolkit project's web site, shown in the about text.
QString toolkitSite();

}  // namespace Platform
