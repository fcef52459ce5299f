// The cross-promotion catalogue: the row rules on a small fixture table, the
// shape of this program's own table, and the More menu filled by category
// without the running application itself.
#include "PromoCatalogue.h"
#include "PromoMenuBar.h"
#include "WebHosts.h"

#include "QMTest.h"

#include <QAction>
#include <QMenu>
#include <QUrl>

using namespace QMWidgets;
using Match = PromoCatalogue::Match;

namespace {

QMTest::PassThroughApp* testApp()
{
    return static_cast<QMTest::PassThroughApp*>(QCoreApplication::instance());
}

const QVector<PromoCatalogue::Row> kFixture = {
    {Match::Equal, "alpha", "alpha", "Alpha", "Alpha", "alphabase", nullptr},
    {Match::EndsWith, "beta", "pfxbeta", "Beta", "Beta", "betabase", "other"},
    {Match::Contains, "gamma", "gamma", "Gamma", "Gamma", nullptr, nullptr},
    {Match::Contains, "delta", "delta", "Delta", "Delta", nullptr, nullptr},
    {Match::Equal, "deltas", "deltas", "Deltas", "Deltas", nullptr, nullptr},
};

// Entries as the menu shows them: separators collapsed, none at the ends.
QStringList shownEntries(const PromoMenuBar& bar)
{
    QStringList shown;
    bool bSeparatorPending = false;
    for (const QAction* pAction : bar.moreMenuActions()) {
        if (pAction->isSeparator()) {
            bSeparatorPending = !shown.isEmpty();
            continue;
        }
        if (bSeparatorPending)
            shown << QStringLiteral("-");
        bSeparatorPending = false;
        shown << pAction->text();
    }
    return shown;
}

// Number of entries between separators; every list ends with a separator.
QList<int> groupSizes(const PromoMenuBar& bar)
{
    QList<int> sizes{0};
    for (const QAction* pAction : bar.moreMenuActions()) {
        if (pAction->isSeparator())
            sizes << 0;
        else
            ++sizes.last();
    }
    sizes.removeLast();
    return sizes;
}

QString textOf(const char* szMatchKey)
{
    for (const PromoCatalogue::Row& row : PromoCatalogue::rows()) {
        if (qstrcmp(row.szMatchKey, szMatchKey) == 0)
            return QLatin1String(row.szText);
    }
    return QString();
}

}  // namespace

class TestCatalogue : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void ownKey_data();
    void ownKey();
    void rowRules_data();
    void rowRules();
    void tableShape();
    void iconsAreCompiledIn();
    void addAppOpensCrossPromotionPage();
    void addAppNeverAdvertisesRunningApp_data();
    void addAppNeverAdvertisesRunningApp();
    void graphicsCatalogue();
    void categoryWordIsExact_data();
    void categoryWordIsExact();
    void emptyWordPicksInstrumentFromName_data();
    void emptyWordPicksInstrumentFromName();
    void relatedListGroups_data();
    void relatedListGroups();
    void photoLeavesOutRunningTool();
    void catalogueTwiceAppendsTwice();
    void emptyStoreLinksLeaveOnlyMoreApps();
};

void TestCatalogue::init()
{
    QMTest::clearSettings();
    testApp()->setPassLinksThrough(true);
}

void TestCatalogue::cleanup()
{
    QCoreApplication::setApplicationName(QStringLiteral("Zintrop Lite"));
}

void TestCatalogue::ownKey_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    QTest::newRow("program") << "Zintrop Lite" << "zintrop";
    QTest::newRow("lite and blanks") << "Foo Lite" << "foo";
    QTest::newRow("inner lite") << "Satellite Map" << "satelmap";
    QTest::newRow("no lite") << "Chord Finder" << "chordfinder";
    QTest::newRow("lite removed before blanks") << "Li te" << "lite";
}

void TestCatalogue::ownKey()
{
    QFETCH(QString, name);
    QFETCH(QString, key);
    QCOMPARE(PromoCatalogue::ownKey(name), key);
}

void TestCatalogue::rowRules_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("ownKey");
    QTest::addColumn<int>("row");
    QTest::newRow("equal accepts") << "alpha" << "app" << 0;
    QTest::newRow("equal refuses longer") << "alphas" << "app" << -1;
    QTest::newRow("request not lower-cased") << "Alpha" << "app" << -1;
    QTest::newRow("equal refuses own key") << "alpha" << "alpha" << -1;
    QTest::newRow("equal refuses excluded own key") << "alpha" << "alphabase" << -1;
    QTest::newRow("ends-with accepts prefixed") << "superbeta" << "app" << 1;
    QTest::newRow("ends-with refuses suffixed") << "betas" << "app" << -1;
    QTest::newRow("ends-with refuses own key ending alike") << "beta" << "mybeta" << -1;
    QTest::newRow("ends-with refuses second excluded key") << "beta" << "other" << -1;
    QTest::newRow("contains accepts") << "xgammay" << "app" << 2;
    QTest::newRow("contains refuses own key holding it") << "gamma" << "bigammas" << -1;
    QTest::newRow("first accepting row wins") << "deltas" << "app" << 3;
    QTest::newRow("later row when earlier refuses") << "deltas" << "delta" << 4;
    QTest::newRow("unknown") << "omega" << "app" << -1;
}

void TestCatalogue::rowRules()
{
    QFETCH(QString, request);
    QFETCH(QString, ownKey);
    QFETCH(int, row);
    QCOMPARE(PromoCatalogue::findRow(kFixture, request, ownKey), row);
}

void TestCatalogue::tableShape()
{
    const QVector<PromoCatalogue::Row>& rows = PromoCatalogue::rows();
    QCOMPARE(rows.size(), 42);
    int nEqual = 0, nEqualExcluding = 0, nEndsWith = 0, nContains = 0, nContainsPrefixed = 0, nOwn = 0;
    QSet<QString> matchKeys, endsWithExclusions;
    for (const PromoCatalogue::Row& row : rows) {
        const QString strKey = QLatin1String(row.szMatchKey);
        const QString strLink = QLatin1String(row.szLinkKey);
        const QString strText = QLatin1String(row.szText);
        QVERIFY2(!matchKeys.contains(strKey), row.szMatchKey);
        matchKeys.insert(strKey);
        QVERIFY2(QRegularExpression(QStringLiteral("^[a-z]+$")).match(strKey).hasMatch(), row.szMatchKey);
        QVERIFY2(!strText.isEmpty() && strText.size() <= 52, row.szText);
        QVERIFY2(QString::fromLatin1(row.szDisplayName).indexOf(QLatin1Char(' ')) < 0, row.szDisplayName);
        if (strKey == PromoCatalogue::ownKey(QStringLiteral("Zintrop Lite")))
            ++nOwn;
        switch (row.mode) {
        case Match::Equal:
            ++nEqual;
            nEqualExcluding += row.szExcluded1 ? 1 : 0;
            QCOMPARE(strLink, strKey);
            break;
        case Match::EndsWith:
            ++nEndsWith;
            QVERIFY(row.szExcluded1 && !row.szExcluded2);
            endsWithExclusions.insert(QLatin1String(row.szExcluded1));
            QCOMPARE(strLink.size(), strKey.size() + 3);
            QVERIFY(strLink.endsWith(strKey));
            break;
        case Match::Contains:
            ++nContains;
            QVERIFY(!row.szExcluded1);
            if (strLink != strKey) {
                ++nContainsPrefixed;
                QCOMPARE(strLink.size(), strKey.size() + 4);
                QVERIFY(strLink.endsWith(strKey));
            }
            break;
        }
    }
    QCOMPARE(nEqual, 28);
    QCOMPARE(nEqualExcluding, 13);
    QCOMPARE(nEndsWith, 7);
    QCOMPARE(endsWithExclusions.size(), 1);
    QCOMPARE(nContains, 7);
    QCOMPARE(nContainsPrefixed, 2);
    QCOMPARE(nOwn, 1);
}

void TestCatalogue::iconsAreCompiledIn()
{
    PromoMenuBar bar(nullptr, false);  // registers the pictures
    for (const PromoCatalogue::Row& row : PromoCatalogue::rows()) {
        const QPixmap picture(PromoCatalogue::iconPath(row));
        QVERIFY2(!picture.isNull(), qPrintable(PromoCatalogue::iconPath(row)));
        QCOMPARE(picture.size(), QSize(64, 64));
    }
}

void TestCatalogue::addAppOpensCrossPromotionPage()
{
    QMTest::UrlRecorder recorder;
    PromoMenuBar bar(nullptr, false);
    bar.addApp(QStringLiteral("chordfinderguitar"));
    bar.addApp(QStringLiteral("pagesaver"));
    const QList<QAction*> actions = bar.moreMenuActions();
    QCOMPARE(actions.size(), 2);
    QCOMPARE(actions.at(0)->text(), textOf("guitar"));
    QVERIFY(!actions.at(0)->icon().isNull());
    QCOMPARE(actions.at(1)->text(), QStringLiteral("Save web pages as PDF && images"));

    actions.at(0)->trigger();
    const QString strBase = Platform::webHost(Platform::WebHost::AppServer);
    QCOMPARE(recorder.last(), QUrl(strBase + QStringLiteral("/crosspromo.php?appname=crdguitar")));
    QCOMPARE(recorder.last().scheme(), QStringLiteral("https"));
    actions.at(1)->trigger();
    QCOMPARE(recorder.last(), QUrl(strBase + QStringLiteral("/crosspromo.php?appname=pagesaver")));
}

void TestCatalogue::addAppNeverAdvertisesRunningApp_data()
{
    QTest::addColumn<QString>("appName");
    QTest::addColumn<QString>("request");
    QTest::addColumn<bool>("added");
    QTest::newRow("own key") << "Zintrop Lite" << "zintrop" << false;
    QTest::newRow("own key, capitals and blanks") << "ZINTROP lite " << "zintrop" << false;
    QTest::newRow("another app") << "Zintrop Lite" << "jpegtrim" << true;
    QTest::newRow("family base skips edition") << "Tuner Pro" << "guitartuner" << false;
    QTest::newRow("edition of other family") << "Tuner Pro" << "guitarchordbook" << true;
    QTest::newRow("base excluded for bundling app") << "Chord Finder Lite" << "tunerpro" << false;
    QTest::newRow("ends-with family base") << "Chord Finder" << "chordfinderbanjo" << false;
    QTest::newRow("own key ends alike") << "Jazz Guitar" << "chordfinderguitar" << false;
    QTest::newRow("own key contains") << "Pocket Metronome" << "metronome" << false;
}

void TestCatalogue::addAppNeverAdvertisesRunningApp()
{
    QFETCH(QString, appName);
    QFETCH(QString, request);
    QFETCH(bool, added);

    QCoreApplication::setApplicationName(appName);
    PromoMenuBar bar(nullptr, false);
    bar.addApp(request);
    QCOMPARE(bar.moreMenuActions().size(), added ? 1 : 0);
}

// This program's menu: three groups of four (its own row left out of the
// first, the audio group adding nothing), then "More Apps".
void TestCatalogue::graphicsCatalogue()
{
    PromoMenuBar bar(nullptr, false);
    bar.addCatalogue(QStringLiteral("graphics"));
    const QStringList expected = {
        textOf("jpegtrim"), textOf("imageresize"), textOf("iconforge"), textOf("colorpicker"), "-",
        textOf("screengrab"), textOf("screenruler"), textOf("pagesaver"), textOf("screenmarker"), "-",
        textOf("metronome"), textOf("chordbook"), textOf("tunerpro"), textOf("clock"), "-",
        "More Apps"};
    QCOMPARE(shownEntries(bar), expected);
    QCOMPARE(shownEntries(bar).size() - shownEntries(bar).count(QStringLiteral("-")), 13);
    QVERIFY(bar.moreMenuActions().last()->isSeparator());
}

void TestCatalogue::categoryWordIsExact_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("capitalised") << "Graphics";
    QTest::newRow("unknown") << "games";
    QTest::newRow("padded") << " graphics";
}

void TestCatalogue::categoryWordIsExact()
{
    QFETCH(QString, word);
    PromoMenuBar bar(nullptr, false);
    bar.addCatalogue(word);
    QCOMPARE(shownEntries(bar), QStringList{"More Apps"});
    QCOMPARE(bar.moreMenuActions().size(), 4);  // separator, separator, More Apps, separator
}

void TestCatalogue::emptyWordPicksInstrumentFromName_data()
{
    QTest::addColumn<QString>("appName");
    QTest::addColumn<QString>("first");
    QTest::newRow("bass before guitar") << "Guitar and Bass Lab" << textOf("basschordbook");
    QTest::newRow("balalaika first") << "Piano Balalaika" << textOf("balalaikatuner");
    QTest::newRow("case folded") << "VIOLIN Helper" << textOf("violintuner");
    // No instrument: the audio list alone, whose audio tools add nothing.
    QTest::newRow("no instrument") << "Sample" << textOf("zintrop");
}

void TestCatalogue::emptyWordPicksInstrumentFromName()
{
    QFETCH(QString, appName);
    QFETCH(QString, first);

    QCoreApplication::setApplicationName(appName);
    PromoMenuBar bar(nullptr, false);
    bar.addCatalogue(QString());
    const QStringList shown = shownEntries(bar);
    QCOMPARE(shown.first(), first);
    QCOMPARE(shown.last(), QStringLiteral("More Apps"));
    // The audio list always follows: its desktop tools close the sequence.
    QCOMPARE(shown.at(shown.size() - 3), textOf("calendar"));
}

void TestCatalogue::relatedListGroups_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QList<int>>("sizes");
    QTest::newRow("banjo") << 0 << QList<int>{3, 4, 4, 4};
    QTest::newRow("mandolin") << 1 << QList<int>{4, 4, 4};
    QTest::newRow("balalaika") << 2 << QList<int>{2, 4, 5, 5};
    QTest::newRow("piano") << 3 << QList<int>{3, 4, 4};
    QTest::newRow("guitar") << 4 << QList<int>{4, 4, 4};
    QTest::newRow("bass") << 5 << QList<int>{4, 4, 4};
    QTest::newRow("ukulele") << 6 << QList<int>{4, 4, 4};
    QTest::newRow("violin") << 7 << QList<int>{2, 4, 4};
    // The audio tools have no rows in this program's table.
    QTest::newRow("audio") << 8 << QList<int>{0, 5, 3};
}

void TestCatalogue::relatedListGroups()
{
    QFETCH(int, list);
    QFETCH(QList<int>, sizes);

    using AddList = void (PromoMenuBar::*)();
    const AddList lists[] = {&PromoMenuBar::addBanjoApps, &PromoMenuBar::addMandolinApps,
                             &PromoMenuBar::addBalalaikaApps, &PromoMenuBar::addPianoApps,
                             &PromoMenuBar::addGuitarApps, &PromoMenuBar::addBassApps,
                             &PromoMenuBar::addUkuleleApps, &PromoMenuBar::addViolinApps,
                             &PromoMenuBar::addAudioApps};
    QCoreApplication::setApplicationName(QStringLiteral("Sample"));
    PromoMenuBar bar(nullptr, false);
    (bar.*lists[list])();
    QCOMPARE(groupSizes(bar), sizes);

    // The four general music tools are the second group of every instrument list.
    if (list < 8) {
        const QList<QAction*> actions = bar.moreMenuActions();
        const int nStart = sizes.first() + 1;
        QStringList general;
        for (int i = nStart; i < nStart + 4; ++i)
            general << actions.at(i)->text();
        QCOMPARE(general, QStringList({textOf("metronome"), textOf("drummachine"), textOf("eartrainer"),
                                       textOf("scalefinder")}));
    }
}

void TestCatalogue::photoLeavesOutRunningTool()
{
    PromoMenuBar own(nullptr, false);
    own.addCatalogue(QStringLiteral("photo"));
    QCOMPARE(shownEntries(own).first(), textOf("colorpicker"));
    QVERIFY(!shownEntries(own).contains(textOf("jpegtrim")));

    QCoreApplication::setApplicationName(QStringLiteral("Photo Booth"));
    PromoMenuBar other(nullptr, false);
    other.addCatalogue(QStringLiteral("photo"));
    QCOMPARE(shownEntries(other).mid(0, 4),
             QStringList({textOf("jpegtrim"), textOf("imageresize"), textOf("zintrop"), "-"}));
}

void TestCatalogue::catalogueTwiceAppendsTwice()
{
    PromoMenuBar bar(nullptr, false);
    bar.addCatalogue(QStringLiteral("graphics"));
    const int nOnce = bar.moreMenuActions().size();
    bar.addCatalogue(QStringLiteral("graphics"));
    QCOMPARE(bar.moreMenuActions().size(), 2 * nOnce);
}

void TestCatalogue::emptyStoreLinksLeaveOnlyMoreApps()
{
    testApp()->setPassLinksThrough(false);
    PromoMenuBar bar(nullptr, false);
    bar.addCatalogue(QStringLiteral("graphics"));
    QCOMPARE(shownEntries(bar), QStringList{"More Apps"});
}

QMTEST_APP_MAIN_WITH(QMTest::PassThroughApp, TestCatalogue)

#include "tst_catalogue.moc"
