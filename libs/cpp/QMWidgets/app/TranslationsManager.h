#pragma once

#include <QObject>
#include <QString>

class QTranslator;

namespace QMWidgets {

// Chooses the interface language once per run (the stored "Language" or the
// system locale), installs the Qt, library and application catalogues for it
// and records the choice in the settings store and the application object.
class TranslationsManager : public QObject
{
    Q_OBJECT

public:
    static TranslationsManager* instance();

    void setLanguage(const QString& strCode);
    QString language() const;
    void reload();
    void setQtTranslationsBase(const QString& strPrefix);
    void setLibsTranslationsBase(const QString& strPrefix);
    void setAppTranslationsBase(const QString& strPrefix);

    // The language code for a stored value or locale name: the first of the
    // known codes that the text contains (case-sensitive), else "en".
    static QString codeForLocaleName(const QString& strName);

    // Catalogue resource paths for a code, in installation order (Qt, libraries, application).
    QString qtCatalogue(const QString& strCode) const;
    QString libsCatalogue(const QString& strCode) const;
    QString appCatalogue(const QString& strCode) const;

private:
    TranslationsManager();

    QTranslator* qtTranslator = nullptr;
    QTranslator* libsTranslator = nullptr;
    QTranslator* appTranslator = nullptr;
    QString languageCode;
    QString appTranslationsBase;
    QString libsTranslationsBase;
    QString qtTranslationsBase;

    static TranslationsManager* s_pInstance;
};

}  // namespace QMWidgets
