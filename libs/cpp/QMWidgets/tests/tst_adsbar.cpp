// The rotating banner: which More-menu entries it may choose, that the
// choice always ends, what it paints where, and what a press or the close
// button does.
#include "PromoAdsBar.h"
#include "PromoMenuBar.h"

#include "QMTest.h"

#include <QAction>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTimer>

using namespace QMWidgets;

namespace {

// Fills the bar's More menu from a pattern: "-" is a separator, "" an entry
// without text, anything else an entry with that text.
void fill(PromoMenuBar& bar, const QStringList& pattern)
{
    for (const QString& strItem : pattern) {
        if (strItem == QLatin1String("-"))
            bar.addMoreSeparator();
        else
            bar.addMoreAction(new QAction(strItem, &bar));
    }
}

QStringList numbered(int nCount)
{
    QStringList items;
    for (int i = 0; i < nCount; ++i)
        items << QStringLiteral("entry %1").arg(i);
    return items;
}

// Indices of the menu entries the banner chose in nDraws choices.
QSet<int> draws(PromoAdsBar& banner, PromoMenuBar& bar, int nDraws)
{
    QSet<int> chosen;
    for (int i = 0; i < nDraws; ++i) {
        banner.slotInsertAd();
        chosen.insert(bar.moreMenuActions().indexOf(banner.currentAd()));
    }
    return chosen;
}

QSet<int> range(int nFrom, int nTo)
{
    QSet<int> set;
    for (int i = nFrom; i < nTo; ++i)
        set.insert(i);
    return set;
}

QPixmap solid(const QColor& colour)
{
    QPixmap pixmap(32, 32);
    pixmap.fill(colour);
    return pixmap;
}

}  // namespace

class TestAdsBar : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void construction();
    void intervalAsSet();
    void choiceRange_data();
    void choiceRange();
    void separatorsAndEmptyTextsNeverChosen();
    void twoEntriesShowTheFirst();
    void choiceEndsWhenRangeHasNoText_data();
    void choiceEndsWhenRangeHasNoText();
    void nothingChosenWithoutEntries();
    void textRect_data();
    void textRect();
    void displayText_data();
    void displayText();
    void paintsIconAndText();
    void pressTriggersEntryThenSignals();
    void pressWithoutEntryStillSignals();
    void hideOnClick();
    void closeButton_data();
    void closeButton();
    void showChoosesAndStartsRotation();
};

void TestAdsBar::construction()
{
    PromoMenuBar bar(nullptr, false);
    PromoAdsBar banner(nullptr, &bar);
    QCOMPARE(banner.objectName(), QStringLiteral("AdsBar"));
    QCOMPARE(banner.cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(!banner.currentAd());

    QPushButton* pClose = banner.findChild<QPushButton*>(QStringLiteral("AdsBarCloseButton"));
    QVERIFY(pClose);
    QVERIFY(pClose->isFlat());
    QCOMPARE(pClose->toolTip(), QStringLiteral("Close the banner"));

    QTimer* pTimer = banner.findChild<QTimer*>();
    QVERIFY(pTimer);
    QCOMPARE(pTimer->interval(), 25000);
    QVERIFY(!pTimer->isActive());
}

// The program sets the rotation to three minutes.
void TestAdsBar::intervalAsSet()
{
    PromoMenuBar bar(nullptr, false);
    fill(bar, {"a", "b", "-"});
    PromoAdsBar banner(nullptr, &bar);
    banner.setInterval(180000);
    QTimer* pTimer = banner.findChild<QTimer*>();
    QCOMPARE(pTimer->interval(), 180000);
    banner.show();
    QVERIFY(pTimer->isActive());
    QCOMPARE(pTimer->interval(), 180000);
    banner.setInterval(1000);
    QVERIFY(pTimer->isActive());
    QCOMPARE(pTimer->interval(), 1000);
}

void TestAdsBar::choiceRange_data()
{
    QTest::addColumn<int>("actions");
    QTest::addColumn<int>("maxAds");
    QTest::addColumn<int>("shown");
    QTest::newRow("maximum 10 of 30") << 30 << 10 << 10;
    QTest::newRow("maximum -1") << 30 << -1 << 29;
    QTest::newRow("maximum 0") << 30 << 0 << 29;
    QTest::newRow("maximum c-2") << 30 << 28 << 28;
    QTest::newRow("maximum c-1") << 30 << 29 << 29;
    QTest::newRow("maximum above c") << 30 << 100 << 29;
    QTest::newRow("maximum 1") << 30 << 1 << 1;
}

void TestAdsBar::choiceRange()
{
    QFETCH(int, actions);
    QFETCH(int, maxAds);
    QFETCH(int, shown);

    PromoMenuBar bar(nullptr, false);
    fill(bar, numbered(actions));
    PromoAdsBar banner(nullptr, &bar);
    banner.setMaxAds(maxAds);
    QCOMPARE(draws(banner, bar, 2000), range(0, shown));
}

void TestAdsBar::separatorsAndEmptyTextsNeverChosen()
{
    PromoMenuBar bar(nullptr, false);
    fill(bar, {"-", "a", "", "-", "b", "-", "", "c", "-"});
    PromoAdsBar banner(nullptr, &bar);
    banner.setMaxAds(-1);
    QCOMPARE(draws(banner, bar, 500), QSet<int>({1, 4, 7}));
}

void TestAdsBar::twoEntriesShowTheFirst()
{
    PromoMenuBar bar(nullptr, false);
    fill(bar, {"first", "last"});
    PromoAdsBar banner(nullptr, &bar);
    QCOMPARE(draws(banner, bar, 50), QSet<int>({0}));
}

void TestAdsBar::choiceEndsWhenRangeHasNoText_data()
{
    QTest::addColumn<QStringList>("pattern");
    QTest::addColumn<int>("maxAds");
    // A maximum of c - 1 covers every entry but the last.
    QTest::newRow("only separators") << QStringList({"-", "-", "-", "-"}) << 3;
    QTest::newRow("only empty texts") << QStringList({"", "", "", "a"}) << 3;
    QTest::newRow("texts beyond the maximum") << QStringList({"-", "", "-", "a", "b", "-"}) << 3;
}

// Drawing again until an entry has a text would never end here; the banner
// keeps what it showed before.
void TestAdsBar::choiceEndsWhenRangeHasNoText()
{
    QFETCH(QStringList, pattern);
    QFETCH(int, maxAds);

    PromoMenuBar bar(nullptr, false);
    fill(bar, pattern);
    PromoAdsBar banner(nullptr, &bar);
    banner.setMaxAds(maxAds);
    banner.slotInsertAd();
    QVERIFY(!banner.currentAd());

    // With an earlier choice in place, that one stays.
    bar.addMoreAction(new QAction(QStringLiteral("shown before"), &bar));
    bar.addMoreSeparator();
    banner.setMaxAds(bar.moreMenuActions().size() - 1);
    for (int i = 0; i < 200 && !banner.currentAd(); ++i)
        banner.slotInsertAd();
    QAction* pBefore = banner.currentAd();
    QVERIFY(pBefore);
    banner.setMaxAds(maxAds);
    banner.slotInsertAd();
    QCOMPARE(banner.currentAd(), pBefore);
}

void TestAdsBar::nothingChosenWithoutEntries()
{
    PromoAdsBar noSource(nullptr, nullptr);
    noSource.slotInsertAd();
    QVERIFY(!noSource.currentAd());

    PromoMenuBar bar(nullptr, false);
    PromoAdsBar banner(nullptr, &bar);
    banner.slotInsertAd();
    QVERIFY(!banner.currentAd());
    fill(bar, {"only"});
    banner.slotInsertAd();
    QVERIFY(!banner.currentAd());
}

void TestAdsBar::textRect_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("closeVisible");
    QTest::addColumn<QRect>("expected");
    // Both ends inclusive: h + 10 .. w - 26, or h + 12 .. w - 13; rows 0 .. h - 1.
    QTest::newRow("close shown") << QSize(400, 40) << true << QRect(QPoint(50, 0), QPoint(374, 39));
    QTest::newRow("close hidden") << QSize(400, 40) << false << QRect(QPoint(52, 0), QPoint(387, 39));
    QTest::newRow("odd size") << QSize(371, 33) << true << QRect(QPoint(43, 0), QPoint(345, 32));
}

void TestAdsBar::textRect()
{
    QFETCH(QSize, size);
    QFETCH(bool, closeVisible);
    QFETCH(QRect, expected);
    QCOMPARE(PromoAdsBar::textRect(size, closeVisible), expected);
}

void TestAdsBar::displayText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "Resize pictures" << "Resize pictures!";
    QTest::newRow("doubled ampersand") << "Lyrics && chords" << "Lyrics & chords!";
    QTest::newRow("three ampersands") << "a &&& b" << "a && b!";
    QTest::newRow("single ampersand") << "&File" << "&File!";
}

void TestAdsBar::displayText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(PromoAdsBar::displayText(text), expected);
}

void TestAdsBar::paintsIconAndText()
{
    PromoMenuBar bar(nullptr, false);
    bar.addMoreAction(new QAction(QIcon(solid(Qt::red)), QStringLiteral("Red"), &bar));
    bar.addMoreAction(new QAction(QStringLiteral("last"), &bar));
    PromoAdsBar banner(nullptr, &bar);
    banner.setStyleSheet(QStringLiteral("#AdsBar { background: white; color: black; }"));
    banner.hideCloseButton();
    banner.resize(300, 40);
    banner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&banner));
    QCOMPARE(banner.currentAd()->text(), QStringLiteral("Red"));

    const QImage image = banner.grab().toImage();
    // The icon fills the square of the banner's height at the left end.
    QCOMPARE(QColor(image.pixel(2, 2)), QColor(Qt::red));
    QCOMPARE(QColor(image.pixel(37, 37)), QColor(Qt::red));
    QCOMPARE(QColor(image.pixel(45, 20)), QColor(Qt::white));
    // Dark text pixels lie only inside the text rectangle.
    const QRect text = PromoAdsBar::textRect(banner.size(), false);
    int nInk = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 40; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                QVERIFY2(text.contains(x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                ++nInk;
            }
        }
    }
    QVERIFY(nInk > 0);
}

void TestAdsBar::pressTriggersEntryThenSignals()
{
    QMTest::UrlRecorder recorder;
    PromoMenuBar bar(nullptr, false);
    bar.addAppAction(solid(Qt::blue), QStringLiteral("Blue"), QStringLiteral("https://example.invalid/blue"));
    bar.addMoreSeparator();
    PromoAdsBar banner(nullptr, &bar);
    banner.resize(300, 40);
    banner.slotInsertAd();
    QVERIFY(banner.currentAd());

    int nUrlsAtSignal = -1;
    connect(&banner, &PromoAdsBar::adClicked, [&] { nUrlsAtSignal = recorder.count(); });
    QSignalSpy spy(&banner, SIGNAL(adClicked()));
    QTest::mouseClick(&banner, Qt::RightButton, Qt::NoModifier, QPoint(150, 20));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(nUrlsAtSignal, 1);
    QCOMPARE(recorder.urls(), QList<QUrl>{QUrl(QStringLiteral("https://example.invalid/blue"))});
}

void TestAdsBar::pressWithoutEntryStillSignals()
{
    PromoMenuBar bar(nullptr, false);
    PromoAdsBar banner(nullptr, &bar);
    banner.setHideOnClick(true);
    banner.resize(300, 40);
    banner.show();
    QSignalSpy spy(&banner, SIGNAL(adClicked()));
    QTest::mouseClick(&banner, Qt::LeftButton, Qt::NoModifier, QPoint(150, 20));
    QCOMPARE(spy.count(), 1);
    QVERIFY(!banner.isVisible());
}

void TestAdsBar::hideOnClick()
{
    QMTest::UrlRecorder recorder;
    PromoMenuBar bar(nullptr, false);
    fill(bar, {"a", "-"});
    PromoAdsBar banner(nullptr, &bar);
    banner.resize(300, 40);
    banner.show();
    QTest::mouseClick(&banner, Qt::LeftButton, Qt::NoModifier, QPoint(150, 20));
    QVERIFY(banner.isVisible());
    banner.setHideOnClick(true);
    QTest::mouseClick(&banner, Qt::LeftButton, Qt::NoModifier, QPoint(150, 20));
    QVERIFY(!banner.isVisible());
}

void TestAdsBar::closeButton_data()
{
    QTest::addColumn<bool>("hideOnClose");
    QTest::newRow("stays") << false;
    QTest::newRow("hides") << true;
}

void TestAdsBar::closeButton()
{
    QFETCH(bool, hideOnClose);

    PromoMenuBar bar(nullptr, false);
    fill(bar, {"a", "-"});
    PromoAdsBar banner(nullptr, &bar);
    banner.setHideOnClose(hideOnClose);
    banner.resize(300, 40);
    banner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&banner));

    bool bVisibleAtSignal = true;
    connect(&banner, &PromoAdsBar::closeClicked, [&] { bVisibleAtSignal = banner.isVisible(); });
    QSignalSpy closeSpy(&banner, SIGNAL(closeClicked()));
    QSignalSpy adSpy(&banner, SIGNAL(adClicked()));
    QPushButton* pClose = banner.findChild<QPushButton*>(QStringLiteral("AdsBarCloseButton"));
    QTest::mouseClick(pClose, Qt::LeftButton);
    QCOMPARE(closeSpy.count(), 1);
    QCOMPARE(adSpy.count(), 0);
    QCOMPARE(bVisibleAtSignal, !hideOnClose);
    QCOMPARE(banner.isVisible(), !hideOnClose);
}

void TestAdsBar::showChoosesAndStartsRotation()
{
    PromoMenuBar bar(nullptr, false);
    fill(bar, numbered(6) << QStringLiteral("-"));
    PromoAdsBar banner(nullptr, &bar);
    banner.setInterval(5);
    banner.show();
    QVERIFY(banner.currentAd());

    // The timer keeps choosing: within a few dozen rounds another entry shows.
    QAction* pFirst = banner.currentAd();
    QTRY_VERIFY_WITH_TIMEOUT(banner.currentAd() != pFirst, 5000);

    // Hiding does not stop the rotation; showing again restarts it.
    banner.hide();
    QVERIFY(banner.findChild<QTimer*>()->isActive());
    banner.show();
    QVERIFY(banner.findChild<QTimer*>()->isActive());
}

QMTEST_APP_MAIN_WITH(QMTest::PassThroughApp, TestAdsBar)

#include "tst_adsbar.moc"
