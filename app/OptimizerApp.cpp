#include "OptimizerApp.h"

#include "AppResources.h"
#include "AppUpdate.h"
#include "MainPage.h"
#include "PromoMenuBar.h"
#include "AppUpdateDialog.h"
#include "NativeWebView.h"
#include "PromoCatalogue.h"
#include "UrlOpener.h"
#include "WebHosts.h"

#include <QFile>
#include <QJSEngine>
#include <QQmlEngine>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int kWebMetricsDelayMs = 4000;
constexpr int kUpdateCheckDelayMs = 2000;

} // namespace

OptimizerApp::OptimizerApp(int& argc, char** argv, const QString& strOrganisation,
                           const QString& strApplication)
    : QMWidgets::App(argc, argv, strOrganisation, strApplication)
{
    m_pScriptEngine = new QJSEngine(this);
    m_pScriptEngine->globalObject().setProperty(QStringLiteral("app"), m_pScriptEngine->newQObject(this));
    // newQObject would hand the application object to the engine's garbage
    // collector; it stays ours.
    QQmlEngine::setObjectOwnership(this, QQmlEngine::CppOwnership);

    m_bIndependentBuild = true;
    installSilentMessageHandler();

    // The banner shows the maker's first other app of the catalogue.
    const QString strOwnKey = QMWidgets::PromoCatalogue::ownKey(applicationName());
    for (const QMWidgets::PromoCatalogue::Row& row : QMWidgets::PromoCatalogue::rows()) {
        if (QLatin1String(row.szMatchKey) == strOwnKey)
            continue;
        setPromotedApp(QString::fromLatin1(row.szDisplayName), QString::fromUtf8(row.szText));
        m_strPromotedLink = QMWidgets::PromoCatalogue::link(QString::fromLatin1(row.szLinkKey));
        break;
    }

    m_pWebView = new QMWebView::NativeWebView(nullptr);
    QTimer::singleShot(kWebMetricsDelayMs, this, SLOT(slotDoWebMetrics()));
    if (AppUpdateDialog::isCheckOnStartEnabled())
        QTimer::singleShot(kUpdateCheckDelayMs, this, SLOT(nop_cuos()));
}

OptimizerApp::~OptimizerApp()
{
    m_pWebView->deleteLater();
}

QString OptimizerApp::storeLinkForApp(const QString& strLink) const
{
    return strLink;
}

QString OptimizerApp::moreAppsUrl()
{
    return Platform::webHost(Platform::WebHost::AppsWebServer) + QStringLiteral("/apps/crosspromo.php?appname=\"\"");
}

QString OptimizerApp::webMetricsUrl(bool bFirstRun)
{
    return Platform::webHost(Platform::WebHost::AppsWebServer) + QStringLiteral("/?")
        + (bFirstRun ? QStringLiteral("f=") : QStringLiteral("a="))
        + applicationName().toLower().remove(QStringLiteral(" "));
}

void OptimizerApp::setUpIdentity()
{
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));
    setShareAppId(QStringLiteral("zintroplite"));
    setPrivacyPolicyUrl(Platform::webHost(Platform::WebHost::MainSite) + QStringLiteral("/zintroplite/privacy.html"));
    setSlogan(QStringLiteral("Over 80% of PNG data can be reduced!"));
    setStyleSheet(styleSheetText());
}

void OptimizerApp::presentMainPage(MainPage* pPage)
{
    pPage->promoMenuBar()->addCatalogue(QStringLiteral("graphics"));
    setIntroSlides(introSlidePaths(resourcesPath(), language()));
    setIntroVideoLink(QStringLiteral("https://www.youtube.com/results?search_query=Zintrop+Lite"));
    setMainWidget(pPage);
    pPage->setWindowTitle(QCoreApplication::applicationName());
    pPage->show();
    showIntroOnStart();
    startReminders(2, RateReminder);
}

QString OptimizerApp::slideLanguage(const QString& strLanguage)
{
    for (const char* code : {"en", "de", "ru"}) {
        if (strLanguage == QLatin1String(code))
            return strLanguage;
    }
    return QStringLiteral("en");
}

QStringList OptimizerApp::introSlidePaths(const QString& strResourcesPath, const QString& strLanguage)
{
    const QString strCode = slideLanguage(strLanguage);
    QStringList slides;
    for (int n = 1; n <= 5; ++n)
        slides << strResourcesPath + QStringLiteral("Slide%1_%2.jpg").arg(n).arg(strCode);
    return slides;
}

QString OptimizerApp::styleSheetText()
{
    ensureAppResources();
    QFile file(QStringLiteral(":/style.qss"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void OptimizerApp::slotShowMoreApps()
{
    Platform::openUrl(QUrl(moreAppsUrl(), QUrl::TolerantMode));
}

void OptimizerApp::slotCheckUpdate()
{
    AppUpdate::showUpdateResult(AppUpdate::isNewerBuildAvailable());
}

void OptimizerApp::nop_cuos()
{
    AppUpdate::checkOnStart();
}

void OptimizerApp::slotDoWebMetrics()
{
    m_pWebView->load(QUrl(webMetricsUrl(isFirstRun()), QUrl::TolerantMode));
}

void OptimizerApp::setSettings(QString strKey, QString strValue)
{
    QMWidgets::App::instance()->setSettingsValue(strKey, strValue);
}
