// The stand-alone more-apps button: its entries open their URLs as given,
// and actions added unchanged keep their own connections.
#include "MoreAppsButton.h"

#include "QMTest.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>

using QMWidgets::MoreAppsButton;

class TestPromoMoreAppsButton : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void startsWithEmptyMenu();
    void appActionOpensUrlAsGiven_data();
    void appActionOpensUrlAsGiven();
    void storeAppActionAddress();
    void menuActionIsNotMapped();
};

void TestPromoMoreAppsButton::startsWithEmptyMenu()
{
    MoreAppsButton button;
    QVERIFY(button.menu());
    QCOMPARE(button.menu()->parent(), static_cast<QObject*>(&button));
    QVERIFY(button.menu()->actions().isEmpty());
    QVERIFY(button.text().isEmpty());
    QVERIFY(button.objectName().isEmpty());
}

void TestPromoMoreAppsButton::appActionOpensUrlAsGiven_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("web page") << "https://example.invalid/page?x=1";
    // Without a store step or an emptiness test the entry is still there.
    QTest::newRow("empty") << "";
    QTest::newRow("malformed") << "http://[broken";
}

void TestPromoMoreAppsButton::appActionOpensUrlAsGiven()
{
    QFETCH(QString, url);

    QMTest::UrlRecorder recorder;
    MoreAppsButton button;
    QPixmap picture(8, 8);
    picture.fill(Qt::green);
    button.addAppAction(picture, QStringLiteral("Entry"), url);
    QCOMPARE(button.menu()->actions().size(), 1);
    QAction* pAction = button.menu()->actions().first();
    QCOMPARE(pAction->text(), QStringLiteral("Entry"));
    QVERIFY(!pAction->icon().isNull());

    pAction->trigger();
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last(), QUrl(url, QUrl::TolerantMode));
}

void TestPromoMoreAppsButton::storeAppActionAddress()
{
    QMTest::UrlRecorder recorder;
    MoreAppsButton button;
    button.addStoreAppAction(QPixmap(), QStringLiteral("Tool"), QStringLiteral("Big Tool"), QStringLiteral("XY12"));
    button.addMenuSeparator();
    QCOMPARE(button.menu()->actions().size(), 2);
    QVERIFY(button.menu()->actions().last()->isSeparator());
    button.menu()->actions().first()->trigger();
    QCOMPARE(recorder.last().path(), QStringLiteral("/app/big tool/XY12"));
    QCOMPARE(recorder.last().query(), QStringLiteral("ls=1&mt=12"));
}

void TestPromoMoreAppsButton::menuActionIsNotMapped()
{
    QMTest::UrlRecorder recorder;
    MoreAppsButton button;
    QAction* pOwn = new QAction(QStringLiteral("Own"), &button);
    QSignalSpy triggered(pOwn, SIGNAL(triggered()));
    button.addMenuAction(pOwn);
    QCOMPARE(button.menu()->actions(), QList<QAction*>{pOwn});
    pOwn->trigger();
    QCOMPARE(triggered.count(), 1);
    QCOMPARE(recorder.count(), 0);
}

QMTEST_APP_MAIN(TestPromoMoreAppsButton)

#include "tst_promomoreappsbutton.moc"
