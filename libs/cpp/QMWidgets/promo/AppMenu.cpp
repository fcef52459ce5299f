#include "AppMenu.h"

#include "App.h"
#include "PromoResources.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QKeySequence>
#include <QPixmap>

namespace QMWidgets {

namespace {

QIcon resourceIcon(const char* szPath)
{
    // A picture missing from the resources gives an entry without an icon.
    return QIcon(QPixmap(QString::fromLatin1(szPath)));
}

void hideAction(QAction* pAction)
{
    if (pAction)
        pAction->setVisible(false);
}

}  // namespace

AppMenu::AppMenu(QWidget* pParent)
    : QMenu(pParent)
{
    initPromoResources();

    // Entries call the application object through signature text: the slot
    // names are the framework's interface, and a derived application object
    // may override the virtual ones.
    QObject* pApp = QCoreApplication::instance();
    const App* pFramework = App::instance();

    m_pRateAction = addAction(resourceIcon(":/star.png"), tr("Rate this App"),
                              pApp, SLOT(slotImmediatelyRate()), QKeySequence());
    m_pIntroAction = addAction(resourceIcon(":/Help_hover.png"), tr("Intro"),
                               pApp, SLOT(slotHelp()), QKeySequence());
    m_pShareAction = addAction(resourceIcon(":/share_hover.png"), tr("Share"),
                               pApp, SLOT(slotShareApp()), QKeySequence());
    m_pJoinAction = addAction(resourceIcon(":/join_hover.png"), tr("Join Us"),
                              pApp, SLOT(slotJoin()), QKeySequence());
    m_pMoreAppsAction = addAction(resourceIcon(":/moreappsicon.png"), tr("More Apps"),
                                  pApp, SLOT(slotShowMoreApps()), QKeySequence());
    addAction(resourceIcon(":/feedback.png"), tr("Contact Us"),
              pApp, SLOT(slotContactUs()), QKeySequence());
    m_pSupportPageAction = addAction(resourceIcon(":/webpage.png"), tr("Support Page"),
                                     pApp, SLOT(slotSupportPage()), QKeySequence());
    if (pFramework && pFramework->isIndependentBuild())
        addAction(tr("Check Updates"), pApp, SLOT(slotCheckUpdate()), QKeySequence());
    if (pFramework && !pFramework->privacyPolicyUrl().isEmpty())
        addAction(tr("Privacy Policy"), pApp, SLOT(slotShowPrivacyPolicy()), QKeySequence());
    addAction(resourceIcon(":/appicon.png"), tr("About"),
              pApp, SLOT(slotAbout()), QKeySequence());
    addSeparator();
    QAction* pQuitAction = addAction(tr("Quit"));
    connect(pQuitAction, SIGNAL(triggered()), this, SIGNAL(quitPressed()));
}

void AppMenu::hideIntro() { hideAction(m_pIntroAction); }
void AppMenu::hideSupportPage() { hideAction(m_pSupportPageAction); }
void AppMenu::hideRate() { hideAction(m_pRateAction); }
void AppMenu::hideMoreApps() { hideAction(m_pMoreAppsAction); }
void AppMenu::hideShare() { hideAction(m_pShareAction); }
void AppMenu::hideJoin() { hideAction(m_pJoinAction); }

}  // namespace QMWidgets
