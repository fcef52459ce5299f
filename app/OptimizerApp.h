#pragma once

#include "App.h"

class MainPage;
class QJSEngine;

namespace QMWebView {
class NativeWebView;
}

// The program's application object: exposes itself to scripts as "app",
// keeps Qt's messages quiet, promotes one of the maker's other apps, and
// schedules the usage ping and the update check on start.
class OptimizerApp : public QMWidgets::App
{
    Q_OBJECT
public:
    OptimizerApp(int& argc, char** argv, const QString& strOrganisation, const QString& strApplication);
    ~OptimizerApp() override;

    QString storeLinkForApp(const QString& strLink) const override;

    // The usage ping's address for a first or a later run.
    static QString webMetricsUrl(bool bFirstRun);
    // "More Apps": the maker's cross-promotion page.
    static QString moreAppsUrl();

    // Start-up steps of the program's entry, in their order: the product's
    // identity and style sheet before the window is built, then the window's
    // catalogue, introduction slides, showing, introduction and reminders.
    void setUpIdentity();
    void presentMainPage(MainPage* pPage);

    // "en", "de" or "ru": the language of the introduction slides.
    static QString slideLanguage(const QString& strLanguage);
    static QStringList introSlidePaths(const QString& strResourcesPath, const QString& strLanguage);
    // The application style sheet compiled into the program.
    static QString styleSheetText();

    QJSEngine* scriptEngine() const { return m_pScriptEngine; }
    QMWebView::NativeWebView* webView() const { return m_pWebView; }

public slots:
    void slotShowMoreApps() override;
    void slotCheckUpdate() override;
    void nop_cuos();

private slots:
    void slotDoWebMetrics();

public:
    Q_INVOKABLE void setSettings(QString strKey, QString strValue);

private:
    QJSEngine* m_pScriptEngine = nullptr;
    QMWebView::NativeWebView* m_pWebView = nullptr;
};
