#include "AppSettingsDialog.h"

#include "QMTest.h"

#include <future>

class TestAppSettings : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void testFreshStoreDefaults();
    void testStoredValuesRead();
    void testClamped_data();
    void testClamped();
    void testReadOffGuiThread();
};

void TestAppSettings::testFreshStoreDefaults()
{
    QCOMPARE(AppSettingsDialog::quality(), 256);
    QCOMPARE(AppSettingsDialog::bits(), 8);
    QCOMPARE(AppSettingsDialog::resizePercent(), 100);
    QCOMPARE(AppSettingsDialog::dithering(), true);
    QCOMPARE(AppSettingsDialog::doGray(), false);
    QCOMPARE(AppSettingsDialog::playSoundAfter(), true);
    QCOMPARE(AppSettingsDialog::openFolderAfter(), true);
    QCOMPARE(AppSettingsDialog::clearListAfter(), false);
    QCOMPARE(AppSettingsDialog::folderStructureActive(), true);
    QCOMPARE(AppSettingsDialog::copyTextsActive(), false);
    QCOMPARE(AppSettingsDialog::copyEntireContentActive(), false);
}

// Every getter reads the store anew, under the exact key texts.
void TestAppSettings::testStoredValuesRead()
{
    auto* app = QMWidgets::App::instance();
    app->setSettingsValue(QStringLiteral("KeyQuality"), 128);
    app->setSettingsValue(QStringLiteral("KeyBits"), 24);
    app->setSettingsValue(QStringLiteral("KeyResize"), 99);
    app->setSettingsValue(QStringLiteral("KeyDithering"), false);
    app->setSettingsValue(QStringLiteral("KeyDoGray"), true);
    app->setSettingsValue(QStringLiteral("KeyPlaySoundAfter"), false);
    app->setSettingsValue(QStringLiteral("KeyOpenFolderAfter"), false);
    app->setSettingsValue(QStringLiteral("KeyClearListAfter"), true);
    app->setSettingsValue(QStringLiteral("KeyFolderStructureActive"), false);
    app->setSettingsValue(QStringLiteral("KeyCopyTextssActive"), true);
    app->setSettingsValue(QStringLiteral("KeyCopyEntireContentActive"), true);

    QCOMPARE(AppSettingsDialog::quality(), 128);
    QCOMPARE(AppSettingsDialog::bits(), 24);
    QCOMPARE(AppSettingsDialog::resizePercent(), 99);
    QCOMPARE(AppSettingsDialog::dithering(), false);
    QCOMPARE(AppSettingsDialog::doGray(), true);
    QCOMPARE(AppSettingsDialog::playSoundAfter(), false);
    QCOMPARE(AppSettingsDialog::openFolderAfter(), false);
    QCOMPARE(AppSettingsDialog::clearListAfter(), true);
    QCOMPARE(AppSettingsDialog::folderStructureActive(), false);
    QCOMPARE(AppSettingsDialog::copyTextsActive(), true);
    QCOMPARE(AppSettingsDialog::copyEntireContentActive(), true);

    // Text values, as an INI store gives them back, convert as well.
    app->setSettingsValue(QStringLiteral("KeyQuality"), QStringLiteral("64"));
    QCOMPARE(AppSettingsDialog::quality(), 64);
}

void TestAppSettings::testClamped_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("expected");

    QTest::newRow("quality 0") << "KeyQuality" << QVariant(0) << 1;
    QTest::newRow("quality -3") << "KeyQuality" << QVariant(-3) << 1;
    QTest::newRow("quality 1") << "KeyQuality" << QVariant(1) << 1;
    QTest::newRow("quality 256") << "KeyQuality" << QVariant(256) << 256;
    QTest::newRow("quality 300") << "KeyQuality" << QVariant(300) << 256;
    QTest::newRow("quality text") << "KeyQuality" << QVariant(QStringLiteral("abc")) << 1;
    QTest::newRow("resize 0") << "KeyResize" << QVariant(0) << 1;
    QTest::newRow("resize -5") << "KeyResize" << QVariant(-5) << 1;
    QTest::newRow("resize 1") << "KeyResize" << QVariant(1) << 1;
    QTest::newRow("resize 100") << "KeyResize" << QVariant(100) << 100;
    QTest::newRow("resize 150") << "KeyResize" << QVariant(150) << 100;
}

void TestAppSettings::testClamped()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(int, expected);

    QMWidgets::App::instance()->setSettingsValue(key, stored);
    const int value = key == QLatin1String("KeyQuality") ? AppSettingsDialog::quality()
                                                         : AppSettingsDialog::resizePercent();
    QCOMPARE(value, expected);
}

// The batch thread reads the options for every file while the GUI thread may
// read them too.
void TestAppSettings::testReadOffGuiThread()
{
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("KeyQuality"), 77);
    QMWidgets::App::instance()->setSettingsValue(QStringLiteral("KeyDoGray"), true);
    auto reads = [] {
        int good = 0;
        for (int i = 0; i < 200; ++i)
            good += AppSettingsDialog::quality() == 77 && AppSettingsDialog::doGray() ? 1 : 0;
        return good;
    };
    std::future<int> a = std::async(std::launch::async, reads);
    std::future<int> b = std::async(std::launch::async, reads);
    const int here = reads();
    QCOMPARE(here, 200);
    QCOMPARE(a.get(), 200);
    QCOMPARE(b.get(), 200);
}

QMTEST_APP_MAIN(TestAppSettings)

#include "tst_appsettings.moc"
