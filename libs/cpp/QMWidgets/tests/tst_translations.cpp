#include "QMTest.h"

#include "TranslationsManager.h"

#include <QTranslator>

using QMWidgets::App;
using QMWidgets::TranslationsManager;

// The interface language: choice from the stored value or the locale,
// catalogues, layout direction and what is stored back.
class TestTranslations : public QMTest::TestCase
{
    Q_OBJECT

private slots:
    void storedValueChosenAtCreation();
    void codeForLocaleName_data();
    void codeForLocaleName();
    void catalogues();
    void applyCode_data();
    void applyCode();
    void englishInstallsNothing();
    void reloadKeepsCode();
};

void TestTranslations::storedValueChosenAtCreation()
{
    // Runs first: the manager does not exist yet, so the stored value decides.
    App::instance()->setSettingsValue(QStringLiteral("Language"), QStringLiteral("fr_CA"));
    QCOMPARE(App::language(), QStringLiteral("fr"));
    QCOMPARE(App::instance()->settingsValue(QStringLiteral("Language")).toString(), QStringLiteral("fr"));
    QCOMPARE(TranslationsManager::instance()->language(), QStringLiteral("fr"));
}

void TestTranslations::codeForLocaleName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    QTest::newRow("pt_BR") << "pt_BR" << "pt";
    QTest::newRow("zh_HK") << "zh_HK" << "en";
    QTest::newRow("zh_TW") << "zh_TW" << "zh_TW";
    QTest::newRow("zh_CN") << "zh_CN" << "zh_CN";
    QTest::newRow("fr_CA") << "fr_CA" << "fr";
    QTest::newRow("capitals") << "FR" << "en";
    QTest::newRow("C") << "C" << "en";
    QTest::newRow("empty") << "" << "en";
    QTest::newRow("de before others") << "de_ru" << "de";
    QTest::newRow("es_ES") << "es_ES" << "es";
    const char* const codes[] = {"de", "ru", "fr", "nl", "it", "pt", "es", "ko", "ja", "zh_CN", "zh_TW", "hi", "ar", "en"};
    for (const char* code : codes)
        QTest::addRow("itself %s", code) << QString::fromLatin1(code) << QString::fromLatin1(code);
}

void TestTranslations::codeForLocaleName()
{
    QFETCH(QString, name);
    QFETCH(QString, code);
    QCOMPARE(TranslationsManager::codeForLocaleName(name), code);
}

void TestTranslations::catalogues()
{
    TranslationsManager* pManager = TranslationsManager::instance();
    QCOMPARE(pManager->qtCatalogue(QStringLiteral("de")), QStringLiteral(":/Translations/qt_de"));
    QCOMPARE(pManager->libsCatalogue(QStringLiteral("de")), QStringLiteral("://Translations/libs_de"));
    QCOMPARE(pManager->appCatalogue(QStringLiteral("de")), QStringLiteral(":/Translations/Zintrop Lite_de"));
    pManager->setQtTranslationsBase(QStringLiteral("q/"));
    pManager->setLibsTranslationsBase(QStringLiteral("l"));
    pManager->setAppTranslationsBase(QStringLiteral("a/"));
    QCOMPARE(pManager->qtCatalogue(QStringLiteral("ru")), QStringLiteral(":/q/Translations/qt_ru"));
    QCOMPARE(pManager->libsCatalogue(QStringLiteral("ru")), QStringLiteral(":/l/Translations/libs_ru"));
    QCOMPARE(pManager->appCatalogue(QStringLiteral("ru")), QStringLiteral(":/a/Translations/Zintrop Lite_ru"));
    pManager->setQtTranslationsBase(QString());
    pManager->setLibsTranslationsBase(QString());
    pManager->setAppTranslationsBase(QString());
}

void TestTranslations::applyCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("direction");
    QTest::newRow("ar") << "ar" << int(Qt::RightToLeft);
    QTest::newRow("de") << "de" << int(Qt::LeftToRight);
    QTest::newRow("en") << "en" << int(Qt::LeftToRight);
}

void TestTranslations::applyCode()
{
    QFETCH(QString, code);
    QFETCH(int, direction);
    TranslationsManager::instance()->setLanguage(code);
    QCOMPARE(int(QGuiApplication::layoutDirection()), direction);
    QCOMPARE(TranslationsManager::instance()->language(), code);
    QCOMPARE(App::language(), code);
    QCOMPARE(App::instance()->settingsValue(QStringLiteral("Language")).toString(), code);
}

void TestTranslations::englishInstallsNothing()
{
    // The three translators are children of the manager; with "en" none of
    // them is installed, so a language-change event reaches no one.
    TranslationsManager* pManager = TranslationsManager::instance();
    pManager->setLanguage(QStringLiteral("de"));
    int installed = 0;
    for (QTranslator* pTranslator : pManager->findChildren<QTranslator*>()) {
        // An installed translator is asked for texts; an empty one answers nothing.
        if (QCoreApplication::removeTranslator(pTranslator)) {
            ++installed;
            QCoreApplication::installTranslator(pTranslator);
        }
    }
    QCOMPARE(installed, 3);
    pManager->setLanguage(QStringLiteral("en"));
    for (QTranslator* pTranslator : pManager->findChildren<QTranslator*>())
        QVERIFY(!QCoreApplication::removeTranslator(pTranslator));
}

void TestTranslations::reloadKeepsCode()
{
    TranslationsManager* pManager = TranslationsManager::instance();
    pManager->setLanguage(QStringLiteral("ko"));
    App::instance()->setSettingsValue(QStringLiteral("Language"), QStringLiteral("xx"));
    pManager->reload();
    QCOMPARE(pManager->language(), QStringLiteral("ko"));
    QCOMPARE(App::instance()->settingsValue(QStringLiteral("Language")).toString(), QStringLiteral("ko"));
}

QMTEST_APP_MAIN(TestTranslations)
#include "tst_translations.moc"
