#include "PromoMenuBar.h"

#include "App.h"
#include "AppButton.h"
#include "PromoCatalogue.h"
#include "PromoResources.h"
#include "UrlOpener.h"

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QPushButton>
#include <QSignalMapper>

namespace QMWidgets {

namespace {

// Every button of the bar has this size; the style sheet's pictures fit it.
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 32;

}  // namespace

PromoMenuBar::PromoMenuBar(QWidget* pParent, bool bRelayQuit)
    : QFrame(pParent)
{
    initPromoResources();
    setObjectName(QStringLiteral("MenuBar"));

    m_pUrlMapper = new QSignalMapper(this);
    connect(m_pUrlMapper, &QSignalMapper::mappedString, this, &PromoMenuBar::slotCallUrl);

    createButtons();
    connectToApplication(bRelayQuit);
    createLayout();

    // Asked once: a program that hides its community does so before it
    // builds its pages.
    const App* pApp = App::instance();
    if (pApp && pApp->isCommunityHidden())
        hideCommunity();
}

void PromoMenuBar::createButtons()
{
    struct ButtonInfo {
        QPushButton** ppButton;
        const char* szName;
        QString strToolTip;
    };
    const ButtonInfo buttons[] = {
        {&m_pIntroButton, "IntroButton", tr("Introduction")},
        {&m_pMoreButton, "MoreButton", tr("More")},
        {&m_pRateButton, "RateButton", tr("Rate App")},
        {&m_pMoreAppsButton, "MoreAppsButton", tr("More Apps")},
        {&m_pShareButton, "ShareButton", tr("Share")},
        {&m_pJoinButton, "JoinButton", tr("Join Us")},
    };
    for (const ButtonInfo& info : buttons) {
        QPushButton* pButton = new QPushButton;
        pButton->setObjectName(QLatin1String(info.szName));
        pButton->setFlat(true);
        pButton->setToolTip(info.strToolTip);
        pButton->setFixedSize(kButtonWidth, kButtonHeight);
        *info.ppButton = pButton;
    }

    m_pMoreMenu = new QMenu(m_pMoreButton);
    m_pMoreButton->setMenu(m_pMoreMenu);

    m_pMoreAppsButton->hide();
    m_pRateButton->hide();

    m_pAppButton = new AppButton;
    m_pAppButton->setFlat(true);
    m_pAppButton->setObjectName(QStringLiteral("AppButton"));
    m_pAppButton->setToolTip(tr("App Menu"));
    m_pAppButton->setFixedSize(kButtonWidth, kButtonHeight);
}

void PromoMenuBar::connectToApplication(bool bRelayQuit)
{
    QObject* pApp = QCoreApplication::instance();
    if (bRelayQuit)
        connect(m_pAppButton, SIGNAL(quitPressed()), this, SIGNAL(quitApp()));
    else
        connect(m_pAppButton, SIGNAL(quitPressed()), pApp, SLOT(quit()));

    // By signature text: these are the application object's slots, and a
    // derived application object may override the virtual ones.
    connect(m_pRateButton, SIGNAL(clicked()), pApp, SLOT(slotRateApp()));
    connect(m_pIntroButton, SIGNAL(clicked()), pApp, SLOT(slotHelp()));
    connect(m_pMoreAppsButton, SIGNAL(clicked()), pApp, SLOT(slotShowMoreApps()));
    connect(m_pShareButton, SIGNAL(clicked()), pApp, SLOT(slotShareApp()));
    connect(m_pJoinButton, SIGNAL(clicked()), pApp, SLOT(slotJoin()));
}

void PromoMenuBar::createLayout()
{
    m_pRightLayout = new QHBoxLayout;
    m_pCenterLayout = new QHBoxLayout;
    m_pCenterLayout->setContentsMargins(0, 0, 0, 0);
    m_pCenterLayout->setSpacing(0);

    QHBoxLayout* pRow = new QHBoxLayout;
    pRow->setContentsMargins(5, 5, 5, 5);
    pRow->setSpacing(0);
    pRow->addWidget(m_pMoreButton);
    pRow->addStretch(1);
    pRow->addLayout(m_pCenterLayout);
    pRow->addStretch(1);
    pRow->addLayout(m_pRightLayout);
    pRow->addWidget(m_pIntroButton);
    pRow->addWidget(m_pShareButton);
    pRow->addWidget(m_pJoinButton);
    pRow->addWidget(m_pMoreAppsButton);
    pRow->addWidget(m_pRateButton);
    pRow->addWidget(m_pAppButton);
    setLayout(pRow);
}

void PromoMenuBar::hideCommunity()
{
    m_pAppButton->hide();
    m_pMoreButton->hide();
    m_pRateButton->hide();
    m_pMoreAppsButton->hide();
    m_pShareButton->hide();
    m_pJoinButton->hide();
    m_pAppButton->hideSupportPage();
    m_pAppButton->hideRate();
    m_pAppButton->hideMoreApps();
    m_pAppButton->hideShare();
    m_pAppButton->hideJoin();
}

QMenu* PromoMenuBar::moreMenu() const
{
    return m_pMoreMenu;
}

QList<QAction*> PromoMenuBar::moreMenuActions() const
{
    return m_pMoreMenu->actions();
}

void PromoMenuBar::addMoreAction(QAction* pAction)
{
    m_pMoreMenu->addAction(pAction);
}

void PromoMenuBar::addMoreSeparator()
{
    m_pMoreMenu->addSeparator();
}

void PromoMenuBar::addCenterWidget(QWidget* pWidget)
{
    m_pCenterLayout->addWidget(pWidget);
}

void PromoMenuBar::addRightWidget(QWidget* pWidget)
{
    m_pRightLayout->addWidget(pWidget);
}

void PromoMenuBar::addAppAction(const QPixmap& pixmap, const QString& strText, const QString& strUrl)
{
    const App* pApp = App::instance();
    const QString strLink = pApp ? pApp->storeLinkForApp(strUrl) : strUrl;
    if (strLink.isEmpty())
        return;

    QAction* pAction = new QAction(QIcon(pixmap), strText, this);
    connect(pAction, SIGNAL(triggered()), m_pUrlMapper, SLOT(map()));
    m_pUrlMapper->setMapping(pAction, strLink);
    m_pMoreMenu->addAction(pAction);
}

void PromoMenuBar::addStoreAppAction(const QPixmap& pixmap, const QString& strText,
                                     const QString& strAppName, const QString& strStoreId)
{
    addAppAction(pixmap, strText, PromoCatalogue::storeAppPage(strAppName, strStoreId));
}

void PromoMenuBar::addMoreAppsEntry()
{
    m_pMoreMenu->addSeparator();
    m_pMoreMenu->addAction(QIcon(QStringLiteral(":/moreappsicon.png")), tr("More Apps"),
                           QCoreApplication::instance(), SLOT(slotShowMoreApps()), QKeySequence());
    m_pMoreMenu->addSeparator();
}

void PromoMenuBar::hideSupportPage()
{
    m_pAppButton->hideSupportPage();
}

void PromoMenuBar::hideIntro()
{
    m_pIntroButton->hide();
    m_pAppButton->hideIntro();
}

void PromoMenuBar::hideIntroButton()
{
    m_pIntroButton->hide();
}

void PromoMenuBar::hideMore()
{
    m_pMoreButton->hide();
}

void PromoMenuBar::hideMoreButton()
{
    m_pMoreButton->hide();
}

void PromoMenuBar::hideRate()
{
    m_pRateButton->hide();
    m_pAppButton->hideRate();
}

void PromoMenuBar::hideRateButton()
{
    m_pRateButton->hide();
}

void PromoMenuBar::hideMoreApps()
{
    m_pMoreAppsButton->hide();
    m_pAppButton->hideMoreApps();
}

void PromoMenuBar::hideMoreAppsButton()
{
    m_pMoreAppsButton->hide();
}

void PromoMenuBar::hideShare()
{
    m_pShareButton->hide();
    m_pAppButton->hideShare();
}

void PromoMenuBar::hideShareButton()
{
    m_pShareButton->hide();
}

void PromoMenuBar::hideJoin()
{
    m_pJoinButton->hide();
    m_pAppButton->hideJoin();
}

void PromoMenuBar::hideJoinButton()
{
    m_pJoinButton->hide();
}

void PromoMenuBar::slotCallUrl(const QString& strUrl)
{
    // A page that cannot be opened is not worth a message here.
    Platform::openLink(strUrl);
}

}  // namespace QMWidgets
