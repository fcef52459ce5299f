#include "TranslationsManager.h"

#include "App.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QTranslator>

namespace QMWidgets {

TranslationsManager* TranslationsManager::s_pInstance = nullptr;

TranslationsManager* TranslationsManager::instance()
{
    if (!s_pInstance)
        s_pInstance = new TranslationsManager();
    return s_pInstance;
}

TranslationsManager::TranslationsManager()
    : qtTranslator(new QTranslator(this))
    , libsTranslator(new QTranslator(this))
    , appTranslator(new QTranslator(this))
{
    QString strStored = QLocale::system().name();
    if (App* pApp = App::instance())
        strStored = pApp->settingsValue(QStringLiteral("Language"), strStored).toString();
    setLanguage(codeForLocaleName(strStored));
}

QString TranslationsManager::codeForLocaleName(const QString& strName)
{
    static const char* const kCodes[] = {"de", "ru", "fr", "nl", "it", "pt", "es",
                                         "ko", "ja", "zh_CN", "zh_TW", "hi", "ar"};
    for (const char* szCode : kCodes) {
        if (strName.contains(QLatin1String(szCode)))
            return QLatin1String(szCode);
    }
    return QStringLiteral("en");
}

QString TranslationsManager::qtCatalogue(const QString& strCode) const
{
    return QStringLiteral(":/") + qtTranslationsBase + QStringLiteral("Translations/qt_") + strCode;
}

QString TranslationsManager::libsCatalogue(const QString& strCode) const
{
    return QStringLiteral(":/") + libsTranslationsBase + QStringLiteral("/Translations/libs_") + strCode;
}

QString TranslationsManager::appCatalogue(const QString& strCode) const
{
    return QStringLiteral(":/") + appTranslationsBase + QStringLiteral("Translations/")
           + QCoreApplication::applicationName() + QLatin1Char('_') + strCode;
}

void TranslationsManager::setLanguage(const QString& strCode)
{
    QCoreApplication::removeTranslator(qtTranslator);
    QCoreApplication::removeTranslator(libsTranslator);
    QCoreApplication::removeTranslator(appTranslator);

    if (strCode != QLatin1String("en")) {
        // A missing catalogue leaves its translator empty; it is installed all
        // the same so that a later reload has the same shape.
        (void)qtTranslator->load(qtCatalogue(strCode));
        QCoreApplication::installTranslator(qtTranslator);
        (void)libsTranslator->load(libsCatalogue(strCode));
        QCoreApplication::installTranslator(libsTranslator);
        (void)appTranslator->load(appCatalogue(strCode));
        QCoreApplication::installTranslator(appTranslator);
    }

    languageCode = strCode;
    QGuiApplication::setLayoutDirection(strCode == QLatin1String("ar") ? Qt::RightToLeft : Qt::LeftToRight);

    if (App* pApp = App::instance()) {
        pApp->setSettingsValue(QStringLiteral("Language"), strCode);
        pApp->setLanguageCode(strCode);
    }
}

QString TranslationsManager::language() const
{
    return languageCode;
}

void TranslationsManager::reload()
{
    const QString strCode = languageCode;
    setLanguage(strCode);
}

void TranslationsManager::setQtTranslationsBase(const QString& strPrefix)
{
    qtTranslationsBase = strPrefix;
}

void TranslationsManager::setLibsTranslationsBase(const QString& strPrefix)
{
    libsTranslationsBase = strPrefix;
}

void TranslationsManager::setAppTranslationsBase(const QString& strPrefix)
{
    appTranslationsBase = strPrefix;
}

}  // namespace QMWidgets
