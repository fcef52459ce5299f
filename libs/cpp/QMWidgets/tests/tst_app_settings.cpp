#include "QMTest.h"

#include <QFile>
#include <QSettings>
#include <QThread>

#include <atomic>

using QMWidgets::App;

// The settings store: key rule, storage on disk, typed reads and use from a
// worker thread.
class TestAppSettings : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void cleanup();

    void keyRule_data();
    void keyRule();
    void writtenToDiskAtOnce();
    void typedReadBack_data();
    void typedReadBack();
    void missingKeyGivesDefault();
    void appFirstStartOnce();
    void childKeysAndGroups();
    void workerThreadReadsAndWrites();
    void workerReadsDoNotShareTheGuiStore();
};

void TestAppSettings::cleanup()
{
    App* pApp = App::instance();
    pApp->setSettingsWithoutPrefix(false);
    while (!pApp->settings()->group().isEmpty())
        pApp->endSettingsGroup();
}

void TestAppSettings::keyRule_data()
{
    QTest::addColumn<bool>("noPrefix");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("storedKey");
    QTest::newRow("prefixed") << false << QString() << "Language" << "Zintrop Lite/Language";
    QTest::newRow("sub group") << false << QString() << "TransparencyParameters/ContextMenus"
                               << "Zintrop Lite/TransparencyParameters/ContextMenus";
    QTest::newRow("leading slash folds") << false << QString() << "/Width" << "Zintrop Lite/Width";
    QTest::newRow("no prefix") << true << QString() << "Language" << "Language";
    QTest::newRow("inside group") << false << "G" << "K" << "G/Zintrop Lite/K";
}

void TestAppSettings::keyRule()
{
    QFETCH(bool, noPrefix);
    QFETCH(QString, group);
    QFETCH(QString, key);
    QFETCH(QString, storedKey);
    App* pApp = App::instance();
    pApp->setSettingsWithoutPrefix(noPrefix);
    if (!group.isEmpty())
        pApp->beginSettingsGroup(group);
    pApp->setSettingsValue(key, QStringLiteral("de"));
    QCOMPARE(pApp->settingsValue(key).toString(), QStringLiteral("de"));
    if (!group.isEmpty())
        pApp->endSettingsGroup();
    QCOMPARE(pApp->settings()->value(storedKey).toString(), QStringLiteral("de"));
}

void TestAppSettings::writtenToDiskAtOnce()
{
    App* pApp = App::instance();
    pApp->setSettingsValue(QStringLiteral("Width"), 371);
    // Another reader of the file sees the value without any further sync.
    const QString path = pApp->settings()->fileName();
    QVERIFY2(path.startsWith(QMTest::temporaryHome()), qPrintable(path));
    QVERIFY(path.endsWith(QLatin1String("/Corvane/Zintrop Lite.conf")));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY2(content.contains("[Zintrop%20Lite]"), content.constData());
    QVERIFY2(content.contains("Width=371"), content.constData());
}

void TestAppSettings::typedReadBack_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::newRow("bool false") << QVariant(false);
    QTest::newRow("bool true") << QVariant(true);
    QTest::newRow("int") << QVariant(256);
    QTest::newRow("double") << QVariant(0.5);
    QTest::newRow("text with blanks") << QVariant(QStringLiteral("/home/u/Pictures/Corvane/Zintrop Lite/"));
    QTest::newRow("date text") << QVariant(QStringLiteral("2024-02-29"));
}

void TestAppSettings::typedReadBack()
{
    QFETCH(QVariant, value);
    App* pApp = App::instance();
    pApp->setSettingsValue(QStringLiteral("Value"), value);
    // Read through a fresh store, as the next run would.
    QSettings fresh(QStringLiteral("Corvane"), QStringLiteral("Zintrop Lite"));
    const QVariant stored = fresh.value(QStringLiteral("Zintrop Lite/Value"));
    switch (value.type()) {
    case QVariant::Bool: QCOMPARE(stored.toBool(), value.toBool()); break;
    case QVariant::Int: QCOMPARE(stored.toInt(), value.toInt()); break;
    case QVariant::Double: QCOMPARE(stored.toDouble(), value.toDouble()); break;
    default: QCOMPARE(stored.toString(), value.toString()); break;
    }
}

void TestAppSettings::missingKeyGivesDefault()
{
    App* pApp = App::instance();
    QCOMPARE(pApp->settingsValue(QStringLiteral("KeyQuality"), 256).toInt(), 256);
    QVERIFY(!pApp->settingsValue(QStringLiteral("Nothing")).isValid());
}

void TestAppSettings::appFirstStartOnce()
{
    App* pApp = App::instance();
    QVERIFY(pApp->isAppFirstStart());
    QVERIFY(!pApp->isAppFirstStart());
    QVERIFY(!pApp->isAppFirstStart());
    QCOMPARE(pApp->settingsValue(QStringLiteral("AppFirstStart")).toBool(), false);
}

void TestAppSettings::childKeysAndGroups()
{
    App* pApp = App::instance();
    pApp->setSettingsValue(QStringLiteral("A"), 1);
    pApp->setSettingsValue(QStringLiteral("B"), 2);
    pApp->beginSettingsGroup(QStringLiteral("Zintrop Lite"));
    QStringList keys = pApp->settingsChildKeys();
    keys.sort();
    QCOMPARE(keys, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    pApp->endSettingsGroup();
}

namespace {
class SettingsReader : public QThread
{
public:
    std::atomic<int> wrong{0};
    std::atomic<int> reads{0};

protected:
    void run() override
    {
        App* pApp = App::instance();
        for (int i = 0; i < 400; ++i) {
            // The batch worker reads its settings per file like this.
            const int quality = pApp->settingsValue(QStringLiteral("KeyQuality"), 256).toInt();
            if (quality != 64 && quality != 128)
                ++wrong;
            if (pApp->settingsValue(QStringLiteral("KeyDithering"), true).toBool() != false)
                ++wrong;
            ++reads;
        }
        pApp->setSettingsValue(QStringLiteral("FromWorker"), QStringLiteral("yes"));
    }
};
}  // namespace

void TestAppSettings::workerThreadReadsAndWrites()
{
    App* pApp = App::instance();
    pApp->setSettingsValue(QStringLiteral("KeyQuality"), 64);
    pApp->setSettingsValue(QStringLiteral("KeyDithering"), false);
    SettingsReader reader;
    reader.start();
    // The GUI thread keeps writing meanwhile.
    for (int i = 0; i < 200 && !reader.isFinished(); ++i)
        pApp->setSettingsValue(QStringLiteral("KeyQuality"), i % 2 ? 64 : 128);
    QVERIFY(reader.wait(60000));
    QCOMPARE(reader.reads.load(), 400);
    QCOMPARE(reader.wrong.load(), 0);
    // A value the worker wrote is there for the GUI thread.
    QCOMPARE(pApp->settingsValue(QStringLiteral("FromWorker")).toString(), QStringLiteral("yes"));
}

void TestAppSettings::workerReadsDoNotShareTheGuiStore()
{
    // The GUI thread's store carries state of its own (here an open group);
    // a worker that went through that object would read another key.
    App* pApp = App::instance();
    pApp->setSettingsValue(QStringLiteral("KeyQuality"), 64);
    pApp->beginSettingsGroup(QStringLiteral("Elsewhere"));
    int quality = 0;
    QThread* pWorker = QThread::create(
        [&quality, pApp] { quality = pApp->settingsValue(QStringLiteral("KeyQuality"), 256).toInt(); });
    pWorker->start();
    QVERIFY(pWorker->wait(60000));
    delete pWorker;
    pApp->endSettingsGroup();
    QCOMPARE(quality, 64);
}

QMTEST_APP_MAIN(TestAppSettings)
#include "tst_app_settings.moc"
