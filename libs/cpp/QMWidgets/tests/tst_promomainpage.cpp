// The promotion page frame and its top bar: names, sizes and order of the
// buttons, the More menu's entries and links, the hide operations, the
// banner made on demand, and the frame laid out and painted at the program's
// default window size.
#include "AppButton.h"
#include "PromoAdsBar.h"
#include "PromoMainPage.h"
#include "PromoMenuBar.h"

#include "QMTest.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>

using namespace QMWidgets;

namespace {

QMTest::PassThroughApp* testApp()
{
    return static_cast<QMTest::PassThroughApp*>(QCoreApplication::instance());
}

// The program's main page in miniature: bar first, a widget of its own in
// the bar's centre, a list, and the banner below it.
class SamplePage : public PromoMainPage
{
    Q_OBJECT

public:
    int nAdClicks = 0;

    explicit SamplePage(bool bWithBanner)
        : PromoMainPage(nullptr, false)
    {
        // A logo-sized widget of the page's own in the bar's centre slot.
        QLabel* pCentre = new QLabel;
        pCentre->setObjectName(QStringLiteral("CentreLabel"));
        pCentre->setFixedSize(40, 32);
        promoMenuBar()->addCenterWidget(pCentre);
        QVBoxLayout* pLayout = new QVBoxLayout;
        pLayout->setContentsMargins(0, 0, 0, 0);
        pLayout->addWidget(promoMenuBar());
        pLayout->addWidget(new QListWidget);
        if (bWithBanner) {
            adsBar()->setInterval(180000);
            adsBar()->setMaxAds(-1);
            adsBar()->setHideOnClose(true);
            adsBar()->setFixedHeight(48);
            pLayout->addWidget(adsBar());
        }
        setLayout(pLayout);
    }

public slots:
    void slotAdClicked() override { ++nAdClicks; }
};

const char* const kBarButtons[] = {"MoreButton", "IntroButton", "ShareButton", "JoinButton",
                                   "MoreAppsButton", "RateButton", "AppButton"};

QStringList visibleButtonNames(const PromoMenuBar& bar)
{
    QStringList names;
    for (const char* szName : kBarButtons) {
        const QWidget* pButton = bar.findChild<QWidget*>(QLatin1String(szName));
        if (pButton && pButton->isVisible())
            names << QLatin1String(szName);
    }
    return names;
}

QStringList visibleMenuEntries(const QMenu* pMenu)
{
    QStringList entries;
    for (const QAction* pAction : pMenu->actions()) {
        if (pAction->isVisible() && !pAction->isSeparator())
            entries << pAction->text();
    }
    return entries;
}

}  // namespace

class TestPromoMainPage : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void init();
    void barButtons_data();
    void barButtons();
    void barStartsWithRateAndMoreAppsHidden();
    void rowOrder();
    void metaObjects();
    void communityHiddenLeavesIntro();
    void hideOperations_data();
    void hideOperations();
    void appEntryOpensItsLink();
    void emptyStoreLinkAddsNothing();
    void storeAppActionAddress();
    void moreAppsEntryIsThreeActions();
    void slotsTakeOwnWidgetsAndActions();
    void pageOwnsBarOnlyOnceLaidOut();
    void adsBarMadeOnceAndClicksReachPage();
    void frameLaysOutAtDefaultSize_data();
    void frameLaysOutAtDefaultSize();
};

void TestPromoMainPage::init()
{
    QMTest::clearSettings();
    testApp()->setPassLinksThrough(true);
    testApp()->setCommunityHidden(false);
}

void TestPromoMainPage::barButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("toolTip");
    QTest::newRow("intro") << "IntroButton" << "Introduction";
    QTest::newRow("more") << "MoreButton" << "More";
    QTest::newRow("rate") << "RateButton" << "Rate App";
    QTest::newRow("more apps") << "MoreAppsButton" << "More Apps";
    QTest::newRow("share") << "ShareButton" << "Share";
    QTest::newRow("join") << "JoinButton" << "Join Us";
    QTest::newRow("app") << "AppButton" << "App Menu";
}

void TestPromoMainPage::barButtons()
{
    QFETCH(QString, name);
    QFETCH(QString, toolTip);

    PromoMenuBar bar(nullptr, false);
    QCOMPARE(bar.objectName(), QStringLiteral("MenuBar"));
    const QList<QPushButton*> found = bar.findChildren<QPushButton*>(name);
    QCOMPARE(found.size(), 1);
    QPushButton* pButton = found.first();
    QVERIFY(pButton->isFlat());
    QCOMPARE(pButton->toolTip(), toolTip);
    QCOMPARE(pButton->minimumSize(), QSize(60, 32));
    QCOMPARE(pButton->maximumSize(), QSize(60, 32));
    // Pictures come from the style sheet, by object name.
    QVERIFY(pButton->text().isEmpty());
    QVERIFY(pButton->icon().isNull());
}

void TestPromoMainPage::barStartsWithRateAndMoreAppsHidden()
{
    PromoMenuBar bar(nullptr, false);
    bar.show();
    QCOMPARE(visibleButtonNames(bar),
             QStringList({"MoreButton", "IntroButton", "ShareButton", "JoinButton", "AppButton"}));
    QVERIFY(bar.moreMenuActions().isEmpty());
    QCOMPARE(bar.findChild<QPushButton*>(QStringLiteral("MoreButton"))->menu(), bar.moreMenu());
    QVERIFY(qobject_cast<AppButton*>(bar.findChild<QPushButton*>(QStringLiteral("AppButton"))));
}

void TestPromoMainPage::rowOrder()
{
    PromoMenuBar bar(nullptr, false);
    QHBoxLayout* pRow = qobject_cast<QHBoxLayout*>(bar.layout());
    QVERIFY(pRow);
    QCOMPARE(pRow->spacing(), 0);
    QCOMPARE(pRow->contentsMargins(), QMargins(5, 5, 5, 5));

    QStringList order;
    for (int i = 0; i < pRow->count(); ++i) {
        QLayoutItem* pItem = pRow->itemAt(i);
        if (pItem->widget())
            order << pItem->widget()->objectName();
        else if (pItem->spacerItem())
            order << QStringLiteral("stretch");
        else if (pItem->layout())
            order << QStringLiteral("layout");
    }
    QCOMPARE(order, QStringList({"MoreButton", "stretch", "layout", "stretch", "layout", "IntroButton",
                                 "ShareButton", "JoinButton", "MoreAppsButton", "RateButton", "AppButton"}));
    QCOMPARE(pRow->stretch(1), 1);
    QCOMPARE(pRow->stretch(3), 1);
}

void TestPromoMainPage::metaObjects()
{
    const QMetaObject& bar = PromoMenuBar::staticMetaObject;
    QCOMPARE(bar.className(), "QMWidgets::PromoMenuBar");
    QCOMPARE(bar.method(bar.methodOffset()).methodSignature(), QByteArray("quitApp()"));
    QCOMPARE(bar.method(bar.methodOffset() + 1).methodSignature(), QByteArray("slotCallUrl(QString)"));
    QCOMPARE(bar.methodCount() - bar.methodOffset(), 2);

    const QMetaObject& page = PromoMainPage::staticMetaObject;
    QCOMPARE(page.className(), "QMWidgets::PromoMainPage");
    QCOMPARE(page.method(page.methodOffset()).methodSignature(), QByteArray("quitApp()"));
    QCOMPARE(page.method(page.methodOffset() + 1).methodSignature(), QByteArray("slotAdClicked()"));
    QCOMPARE(page.methodCount() - page.methodOffset(), 2);

    // A derived page receives banner clicks through the virtual slot, also
    // when invoked by index through the meta-object.
    SamplePage sample(false);
    QVERIFY(sample.qt_metacast("QMWidgets::PromoMainPage") == static_cast<PromoMainPage*>(&sample));
    QVERIFY(QMetaObject::invokeMethod(&sample, "slotAdClicked"));
    QCOMPARE(sample.nAdClicks, 1);
}

void TestPromoMainPage::communityHiddenLeavesIntro()
{
    testApp()->setCommunityHidden(true);
    PromoMenuBar bar(nullptr, false);
    QLabel* pCentre = new QLabel(QStringLiteral("centre"));
    bar.addCenterWidget(pCentre);
    bar.show();
    QCOMPARE(visibleButtonNames(bar), QStringList{"IntroButton"});
    QVERIFY(pCentre->isVisible());

    QMenu* pAppMenu = bar.findChild<AppButton*>(QStringLiteral("AppButton"))->menu();
    const QStringList entries = visibleMenuEntries(pAppMenu);
    for (const char* szHidden : {"Support Page", "Rate this App", "More Apps", "Share", "Join Us"})
        QVERIFY2(!entries.contains(QLatin1String(szHidden)), szHidden);
    QVERIFY(entries.contains(QStringLiteral("Intro")));
}

void TestPromoMainPage::hideOperations_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("menuEntry");
    QTest::newRow("support page") << 0 << "" << "Support Page";
    QTest::newRow("intro") << 1 << "IntroButton" << "Intro";
    QTest::newRow("intro button") << 2 << "IntroButton" << "";
    QTest::newRow("more") << 3 << "MoreButton" << "";
    QTest::newRow("more button") << 4 << "MoreButton" << "";
    QTest::newRow("share") << 5 << "ShareButton" << "Share";
    QTest::newRow("share button") << 6 << "ShareButton" << "";
    QTest::newRow("join") << 7 << "JoinButton" << "Join Us";
    QTest::newRow("join button") << 8 << "JoinButton" << "";
    QTest::newRow("rate") << 9 << "" << "Rate this App";
    QTest::newRow("more apps") << 10 << "" << "More Apps";
}

void TestPromoMainPage::hideOperations()
{
    QFETCH(int, operation);
    QFETCH(QString, button);
    QFETCH(QString, menuEntry);

    using Hide = void (PromoMenuBar::*)();
    const Hide operations[] = {
        &PromoMenuBar::hideSupportPage, &PromoMenuBar::hideIntro, &PromoMenuBar::hideIntroButton,
        &PromoMenuBar::hideMore, &PromoMenuBar::hideMoreButton, &PromoMenuBar::hideShare,
        &PromoMenuBar::hideShareButton, &PromoMenuBar::hideJoin, &PromoMenuBar::hideJoinButton,
        &PromoMenuBar::hideRate, &PromoMenuBar::hideMoreApps,
    };
    PromoMenuBar bar(nullptr, false);
    bar.show();
    QMenu* pAppMenu = bar.findChild<AppButton*>(QStringLiteral("AppButton"))->menu();
    QStringList expectedButtons = visibleButtonNames(bar);
    QStringList expectedEntries = visibleMenuEntries(pAppMenu);
    expectedButtons.removeOne(button);
    expectedEntries.removeOne(menuEntry);

    (bar.*operations[operation])();
    QCOMPARE(visibleButtonNames(bar), expectedButtons);
    QCOMPARE(visibleMenuEntries(pAppMenu), expectedEntries);
}

void TestPromoMainPage::appEntryOpensItsLink()
{
    QMTest::UrlRecorder recorder;
    PromoMenuBar bar(nullptr, false);
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    bar.addAppAction(picture, QStringLiteral("Pick && choose"), QStringLiteral("https://example.invalid/a b"));
    QCOMPARE(bar.moreMenuActions().size(), 1);
    QAction* pAction = bar.moreMenuActions().first();
    QCOMPARE(pAction->text(), QStringLiteral("Pick && choose"));
    QVERIFY(!pAction->icon().isNull());

    pAction->trigger();
    QCOMPARE(recorder.urls(), QList<QUrl>{QUrl(QStringLiteral("https://example.invalid/a b"), QUrl::TolerantMode)});
}

void TestPromoMainPage::emptyStoreLinkAddsNothing()
{
    // The framework's own mapping knows no such application.
    testApp()->setPassLinksThrough(false);
    PromoMenuBar bar(nullptr, false);
    bar.addAppAction(QPixmap(), QStringLiteral("Unknown"), QStringLiteral("https://example.invalid/nosuchapp"));
    QVERIFY(bar.moreMenuActions().isEmpty());
}

void TestPromoMainPage::storeAppActionAddress()
{
    QMTest::UrlRecorder recorder;
    PromoMenuBar bar(nullptr, false);
    bar.addStoreAppAction(QPixmap(), QStringLiteral("My App"), QStringLiteral("My App"), QStringLiteral("Id123"));
    QCOMPARE(bar.moreMenuActions().size(), 1);
    bar.moreMenuActions().first()->trigger();
    QCOMPARE(recorder.count(), 1);
    const QUrl url = recorder.last();
    QCOMPARE(url.scheme(), QStringLiteral("https"));
    QCOMPARE(url.path(), QStringLiteral("/app/my app/Id123"));
    QCOMPARE(url.query(), QStringLiteral("ls=1&mt=12"));
}

void TestPromoMainPage::moreAppsEntryIsThreeActions()
{
    PromoMenuBar bar(nullptr, false);
    bar.addMoreAppsEntry();
    const QList<QAction*> actions = bar.moreMenuActions();
    QCOMPARE(actions.size(), 3);
    QVERIFY(actions.at(0)->isSeparator());
    QCOMPARE(actions.at(1)->text(), QStringLiteral("More Apps"));
    QVERIFY(!actions.at(1)->icon().isNull());
    QVERIFY(actions.at(2)->isSeparator());
    QVERIFY(bar.moreMenu()->separatorsCollapsible());
}

void TestPromoMainPage::slotsTakeOwnWidgetsAndActions()
{
    PromoMenuBar bar(nullptr, false);
    QLabel* pCentre = new QLabel;
    QLabel* pRight = new QLabel;
    bar.addCenterWidget(pCentre);
    bar.addRightWidget(pRight);
    QCOMPARE(pCentre->parentWidget(), static_cast<QWidget*>(&bar));
    QCOMPARE(pRight->parentWidget(), static_cast<QWidget*>(&bar));

    QAction own(QStringLiteral("Own"), nullptr);
    bar.addMoreAction(&own);
    bar.addMoreSeparator();
    QCOMPARE(bar.moreMenuActions().size(), 2);
    QCOMPARE(bar.moreMenuActions().first(), &own);
    QVERIFY(bar.moreMenuActions().last()->isSeparator());
    bar.moreMenu()->removeAction(&own);
}

void TestPromoMainPage::pageOwnsBarOnlyOnceLaidOut()
{
    PromoMainPage page(nullptr, true);
    QVERIFY(page.promoMenuBar());
    QVERIFY(!page.promoMenuBar()->parent());
    SamplePage sample(false);
    QCOMPARE(sample.promoMenuBar()->parentWidget(), static_cast<QWidget*>(&sample));

    // Laid out into a widget outside the page, the bar goes with that widget;
    // the page then hands out no stale pointer and does not touch it again.
    auto* pPage = new PromoMainPage(nullptr, false);
    auto* pHost = new QWidget;
    auto* pHostLayout = new QVBoxLayout;
    pHostLayout->addWidget(pPage->promoMenuBar());
    pHost->setLayout(pHostLayout);
    delete pHost;
    QVERIFY(!pPage->promoMenuBar());
    delete pPage;
}

void TestPromoMainPage::adsBarMadeOnceAndClicksReachPage()
{
    SamplePage page(false);
    PromoAdsBar* pBanner = page.adsBar();
    QVERIFY(pBanner);
    QCOMPARE(page.adsBar(), pBanner);
    QCOMPARE(pBanner->parentWidget(), static_cast<QWidget*>(&page));
    QCOMPARE(pBanner->objectName(), QStringLiteral("AdsBar"));

    pBanner->resize(300, 40);
    QTest::mouseClick(pBanner, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QCOMPARE(page.nAdClicks, 1);
}

void TestPromoMainPage::frameLaysOutAtDefaultSize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("withBanner");
    // The program's default window size, and its main page's minimum width.
    QTest::newRow("370x600 with banner") << QSize(370, 600) << true;
    QTest::newRow("370x600 without banner") << QSize(370, 600) << false;
    QTest::newRow("420x600 with banner") << QSize(420, 600) << true;
}

// Each bar button gets a colour of its own from a style sheet; in the grabbed
// frame every visible button must show its colour at its centre, inside the
// bar and without touching another.
void TestPromoMainPage::frameLaysOutAtDefaultSize()
{
    QFETCH(QSize, size);
    QFETCH(bool, withBanner);

    QMTest::UrlRecorder recorder;
    SamplePage page(withBanner);
    page.promoMenuBar()->addCatalogue(QStringLiteral("graphics"));
    const QStringList colours = {"#ff0000", "#00ff00", "#0000ff", "#ffff00", "#ff00ff", "#00ffff", "#800000"};
    QString strSheet;
    for (int i = 0; i < int(std::size(kBarButtons)); ++i)
        strSheet += QStringLiteral("#%1 { background: %2; border: none; }\n").arg(kBarButtons[i], colours.at(i));
    page.setStyleSheet(strSheet);
    page.resize(size);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    const QImage frame = page.grab().toImage();
    QCOMPARE(frame.size() / frame.devicePixelRatio(), size);

    PromoMenuBar* pBar = page.promoMenuBar();
    QCOMPARE(pBar->geometry().topLeft(), QPoint(0, 0));
    QCOMPARE(pBar->width(), size.width());
    QList<QRect> taken;
    QWidget* pCentre = pBar->findChild<QWidget*>(QStringLiteral("CentreLabel"));
    QVERIFY(pCentre->isVisible() && pCentre->width() > 0);
    taken << pCentre->geometry();
    for (int i = 0; i < int(std::size(kBarButtons)); ++i) {
        QWidget* pButton = pBar->findChild<QWidget*>(QLatin1String(kBarButtons[i]));
        if (!pButton->isVisible())
            continue;
        const QRect rect = pButton->geometry();
        QVERIFY2(pBar->rect().contains(rect), kBarButtons[i]);
        QCOMPARE(rect.size(), QSize(60, 32));
        for (const QRect& other : taken)
            QVERIFY2(!rect.intersects(other), kBarButtons[i]);
        taken << rect;
        const QPoint centre = pBar->mapTo(&page, rect.center());
        QCOMPARE(QColor(frame.pixel(centre * frame.devicePixelRatio())).name(), colours.at(i));
    }
    QCOMPARE(taken.size(), 6);  // centre widget, More, Intro, Share, Join, App

    if (withBanner) {
        PromoAdsBar* pBanner = page.adsBar();
        QVERIFY(pBanner->isVisible());
        QVERIFY(pBanner->geometry().top() >= pBar->geometry().bottom());
        QVERIFY(pBanner->currentAd());
    }
    QCOMPARE(recorder.count(), 0);
}

QMTEST_APP_MAIN_WITH(QMTest::PassThroughApp, TestPromoMainPage)

#include "tst_promomainpage.moc"
