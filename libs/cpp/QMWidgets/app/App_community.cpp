// Web and mail actions of the application object and the share links built
// from the program's identity data.
#include "App.h"

#include "SystemInfo.h"
#include "UrlOpener.h"
#include "WebHosts.h"

#include <QDebug>

namespace QMWidgets {

namespace {
void openLink(const QString& strLink)
{
    if (strLink.isEmpty())
        return;
    // A failed opening is not reported to the user.
    Platform::openLink(strLink);
}
}  // namespace

QString App::windowsVersionName()
{
    return windowsVersionName(Platform::windowsVersion());
}

QString App::windowsVersionName(int nVersion)
{
    QString strName;
    switch (nVersion) {
    case 0x0020: strName = QStringLiteral("2000"); break;
    case 0x0030: strName = QStringLiteral("XP"); break;
    case 0x0040: strName = QStringLiteral("2003"); break;
    case 0x0080: strName = QStringLiteral("Vista"); break;
    case 0x0090: strName = QStringLiteral("7"); break;
    case 0x00a0: strName = QStringLiteral("8"); break;
    case 0x00b0: strName = QStringLiteral("8.1"); break;
    case 0x00c0: strName = QStringLiteral("10"); break;
    default: strName = QLatin1Char('(') + QString::number(nVersion) + QLatin1Char(')'); break;
    }
    return QStringLiteral("Win ") + strName;
}

void App::slotRateApp()
{
    QString strLink;
    if (m_bIndependentBuild) {
        strLink = appServerAddress() + QStringLiteral("/rate.php?appname=")
                  + QCoreApplication::applicationName().toLower();
    } else {
        strLink = storeLinkForApp(m_strAppPageLink);
        strLink.replace(QStringLiteral("//pdp/?productid="), QStringLiteral("//review/?ProductId="));
    }
    qDebug() << "!!!!" << strLink;
    openLink(strLink);
}

void App::slotContactUs()
{
    const QString strLink = QStringLiteral("mailto:") + Platform::webHost(Platform::WebHost::ContactMail)
                            + QStringLiteral("?subject=Contact (") + QCoreApplication::applicationName()
                            + QLatin1Char(' ') + QCoreApplication::applicationVersion() + QStringLiteral(") ")
                            + windowsVersionName() + QLatin1Char(' ') + language() + QLatin1Char(' ')
                            + (isStoreBuild() ? QString() : QStringLiteral("I")) + QStringLiteral("&body=");
    openLink(strLink);
}

void App::slotTellFriend()
{
    const QString strAppLower = QCoreApplication::applicationName().toLower();
    QString strLink = siteAddress() + QLatin1Char('/') + strAppLower;
    if (!m_strAppPageLink.isEmpty()) {
        strLink = m_strAppPageLink;
    } else if (isStoreBuild()) {
        strLink = storeLinkForApp(strAppLower);
        strLink.replace(QStringLiteral("https"), QStringLiteral("macappstore"));
    }
    openLink(QStringLiteral("mailto:?subject=Check out the cool ") + QCoreApplication::applicationName()
             + QStringLiteral(" app!&body=") + slogan() + QStringLiteral(" - ") + strLink);
}

void App::slotSupportPage()
{
    openLink(m_strAppPageLink.isEmpty() ? siteAddress() : m_strAppPageLink);
}

void App::slotShowPrivacyPolicy()
{
    openLink(m_strPrivacyPolicyUrl);
}

void App::slotGoToPromotedApp()
{
    QString strLink = m_strPromotedLink;
    if (!hasPromotedApp() && !m_strSecondPromotedLink.isEmpty())
        strLink = m_strSecondPromotedLink;
    openLink(strLink);
}

void App::setPrivacyPolicyUrl(const QString& strUrl)
{
    m_strPrivacyPolicyUrl = strUrl;
}

QString App::privacyPolicyUrl() const
{
    return m_strPrivacyPolicyUrl;
}

void App::setSlogan(const QString& strSlogan)
{
    m_strSlogan = strSlogan;
}

QString App::slogan() const
{
    return m_strSlogan.isEmpty() ? QCoreApplication::applicationName() : m_strSlogan;
}

void App::setShareAppId(const QString& strId)
{
    const QString strAppId = strId.isEmpty() ? QCoreApplication::applicationName().toLower() : strId;
    const QString strCode = m_strLanguageCode;
    QString strDomain = QStringLiteral("org");
    if (strCode == QLatin1String("de") || strCode == QLatin1String("ru") || m_slShareLanguages.contains(strCode))
        strDomain = strCode;
    m_strAppPageLink = Platform::countrySite(strDomain) + QLatin1Char('/') + strAppId;
    // The shared address goes in as it is: the share pages expect it unencoded.
    m_strFacebookShareLink = Platform::facebookSharerBase() + m_strAppPageLink;
    m_strTwitterShareLink = Platform::twitterStatusBase() + m_strAppPageLink;
}

void App::setShareAppFolder(const QString& strId)
{
    const QString strAppId = strId.isEmpty() ? QCoreApplication::applicationName().toLower() : strId;
    const QString strFolder = siteAddress() + QStringLiteral("/apps/");
    m_strFacebookShareLink = strFolder + strAppId + QStringLiteral("/facebook.php");
    m_strTwitterShareLink = strFolder + strAppId + QStringLiteral("/twitter.php");
    m_strVkontakteShareLink = strFolder + strAppId + QStringLiteral("/vkontakte.php");
    m_strAppPageLink = strFolder + strAppId;
}

void App::setShareLanguages(const QStringList& slLanguages)
{
    m_slShareLanguages = slLanguages;
}

bool App::hasShareLanguage(const QString& strCode) const
{
    return m_slShareLanguages.contains(strCode);
}

QString App::facebookShareLink() const { return m_strFacebookShareLink; }
void App::setFacebookShareLink(const QString& strLink) { m_strFacebookShareLink = strLink; }
QString App::otherShareLink() const { return m_strOtherShareLink; }
void App::setOtherShareLink(const QString& strLink) { m_strOtherShareLink = strLink; }
QString App::twitterShareLink() const { return m_strTwitterShareLink; }
void App::setTwitterShareLink(const QString& strLink) { m_strTwitterShareLink = strLink; }
QString App::vkontakteShareLink() const { return m_strVkontakteShareLink; }
void App::setVkontakteShareLink(const QString& strLink) { m_strVkontakteShareLink = strLink; }
QString App::appPageLink() const { return m_strAppPageLink; }
void App::setAppPageLink(const QString& strLink) { m_strAppPageLink = strLink; }

void App::setPromotedApp(const QString& strA, const QString& strB)
{
    m_strPromotedAppText1 = strB;
    m_strPromotedAppText2 = strA;
}

void App::setSecondPromotedApp(const QString& strA, const QString& strB)
{
    m_strSecondPromotedAppText1 = strB;
    m_strSecondPromotedAppText2 = strA;
}

void App::setSecondPromotedLink(const QString& strLink)
{
    m_strSecondPromotedLink = strLink;
}

// The maker's addresses live in one place, the platform layer's host table.
QString App::siteAddress()
{
    return Platform::webHost(Platform::WebHost::MainSite);
}

QString App::appServerAddress()
{
    return Platform::webHost(Platform::WebHost::AppServer);
}

QString App::regionalSiteAddress()
{
    return Platform::webHost(Platform::WebHost::RegionalSite);
}

}  // namespace QMWidgets
