#pragma once

#include <QApplication>
#include <QDate>
#include <QList>
#include <QMap>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>

class QSettings;
class QWidget;

namespace QMWidgets {

class BlenderWidget;
class HelpDialog;

// The framework's application object: one per process, the QApplication that
// every program built on the framework derives its own application from.
// It owns the settings store, the standard folders, the resources path, the
// interface language, the main widget and the web and community actions.
class App : public QApplication
{
    Q_OBJECT

public:
    // Reminder kinds: a set of bits when requested, one value when stored.
    enum ReminderKind {
        RateReminder = 1,
        TellReminder = 2,
        JoinReminder = 4,
        RequestReminder = 8  // rate on a Store build, tell otherwise
    };

    typedef void (*StartUpHook)();
    static QList<StartUpHook> startUpHooks;

    App(int& argc, char** argv, const QString& strOrganisation, const QString& strApplication);
    ~App() override;

    // The running application object, or null when there is none or it is
    // not an App (a plain QApplication, as in a library's own tests): the
    // kit's classes test for it and fall back.
    static App* instance();

    // ---- settings store -------------------------------------------------
    // Keys are prefixed with the application name and "/" (unless the
    // no-prefix flag is set). Each write is synced to disk at once. Reads and
    // writes are safe from any thread: off the GUI thread they go through a
    // store of their own rather than the GUI thread's object.
    QVariant settingsValue(const QString& strKey, const QVariant& defaultValue = QVariant()) const;
    void setSettingsValue(const QString& strKey, const QVariant& value);
    void setSettingsWithoutPrefix(bool bOn);
    QSettings* settings() const;
    void beginSettingsGroup(const QString& strGroup);
    void endSettingsGroup();
    QStringList settingsChildKeys() const;
    bool isAppFirstStart();
    void markInitialized();

    // ---- folders and files ----------------------------------------------
    static QString supportDirectory(bool bCreate = false);
    static QString dataDirectory(bool bCreate = false);
    static QString documentsDirectory(bool bCreate = false);
    static QString cachesDirectory(bool bCreate = false);
    static QString picturesDirectory(bool bCreate = false);
    static QString musicDirectory(bool bCreate = false);
    static QString moviesDirectory(bool bCreate = false);
    static QString workDirectory(bool bCreate = false);
    static QString downloadsDirectory(bool bCreate = false);
    static void ensurePathExists(const QString& strPath);
    static void dumpDirectories();
    static bool detectFirstRun();
    bool isFirstRun() const;
    QString resourcesPath() const;
    void setLastOpenPath(const QString& strFilePath);
    void setLastSavePath(const QString& strFilePath);
    QString lastOpenDirectory() const;
    QString lastSaveDirectory() const;
    // Copies in blocks and checks every write and the close; a failed copy
    // leaves no partial target and returns false. The target is created
    // exclusively: an existing target (also one made meanwhile) is left alone
    // and counts as success; a dangling link in its place is not written
    // through and counts as failure.
    static bool copyFileToDirectory(const QString& strSource, const QString& strDirectory,
                                    const QString& strName = QString());
    static bool copyFileToSupportDirectory(const QString& strSource, const QString& strName = QString());
    static QString dateFormat();
    static QString applicationIdentifier();

    // ---- build channel --------------------------------------------------
    bool isIndependentBuild() const;
    static bool isStoreBuild();
    static bool isAutoUpdateAllowed();
    bool isCommunityHidden() const;
    void setCommunityHidden(bool bHidden);

    // ---- language and screen --------------------------------------------
    static QString language();
    void setLanguageCode(const QString& strCode);
    QString languagePathPart() const;
    static double devicePixelRatio();
    static bool isSmallScreen();
    static bool isSmallSize(const QSize& size);
    static int screenShortSide();
    static int screenLongSide();
    static bool isLandscape();
    static bool isPortrait();

    // ---- message handlers -----------------------------------------------
    static void silentMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& strMessage);
    static void fileMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& strMessage);
    static void installDefaultMessageHandler();
    static void installSilentMessageHandler();
    static void installFileMessageHandler();

    static void addStartUpHook(StartUpHook hook);

    // ---- community actions and share links ------------------------------
    static QString windowsVersionName();
    static QString windowsVersionName(int nVersion);
    void setPrivacyPolicyUrl(const QString& strUrl);
    QString privacyPolicyUrl() const;
    void setSlogan(const QString& strSlogan);
    QString slogan() const;
    void setShareAppId(const QString& strId);
    void setShareAppFolder(const QString& strId);
    void setShareLanguages(const QStringList& slLanguages);
    bool hasShareLanguage(const QString& strCode) const;
    QString facebookShareLink() const;
    void setFacebookShareLink(const QString& strLink);
    QString otherShareLink() const;
    void setOtherShareLink(const QString& strLink);
    QString twitterShareLink() const;
    void setTwitterShareLink(const QString& strLink);
    QString vkontakteShareLink() const;
    void setVkontakteShareLink(const QString& strLink);
    QString appPageLink() const;
    void setAppPageLink(const QString& strLink);
    void setPromotedApp(const QString& strA, const QString& strB);
    void setSecondPromotedApp(const QString& strA, const QString& strB);
    void setSecondPromotedLink(const QString& strLink);
    static QString siteAddress();
    static QString appServerAddress();
    static QString regionalSiteAddress();

    // ---- events, main widget, virtual operations ------------------------
    bool event(QEvent* pEvent) override;
    bool notify(QObject* pReceiver, QEvent* pEvent) override;
    bool isInactive() const;
    QWidget* mainWidget() const;
    void setMainWidget(QWidget* pWidget);
    QString aboutQtText() const;
    void appendAboutQtText(const QString& strText);
    void setAboutQtText(const QString& strText);
    virtual bool hasPromotedApp() const;
    virtual QString storeLinkForApp(const QString& strLink) const;
    QString storeIdForApp(const QString& strAppId) const;
    QString ownStoreId() const;
    static QString buildDateText();
    static QString buildDateTextFrom(const char* szCompilerDate);
    static QDate buildDate();
    static void postMousePress(QWidget* pWidget, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons);
    static void postMouseRelease(QWidget* pWidget, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons);
    static QPoint clickPoint(QWidget* pWidget, int x, int y);
    static void postMouseClick(QWidget* pWidget, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons);
    static QWidget* findWidgetByClassName(const QString& strClassName);
    static bool isDescendantOf(QWidget* pWidget, QObject* pAncestor);

    // ---- reminders and introduction -------------------------------------
    void setReminderInterval(int nInterval);
    void setReminderDelay(int nMilliseconds);
    void startReminders(int nInterval, int nKinds);
    void startRateReminders(int nInterval);
    void startTellReminders(int nInterval);
    void startJoinReminders(int nInterval);
    void setIntroSlides(const QStringList& slSlides);
    QStringList introSlides() const;
    void setIntroVideoLink(const QString& strLink);
    QString introVideoLink() const;
    void showIntroOnStart();

signals:
    void mouseButtonPress();
    void applicationActivated();
    void applicationDeactivated();
    void applicationExposed();
    void dockClicked();
    void fileOpenRequest(const QString& strFile);

private slots:
    void slotCallRateReminderInternal();
    void slotCallRateReminder();
    void slotCallTellReminder();
    void slotCallJoinReminder();
    void slotImmediatelyRate();
    void slotStartCount();

public slots:
    void slotShowPrivacyPolicy();
    void slotShowCssEditor();
    void slotContactUs();
    void slotTellFriend();
    void slotRateApp();
    void slotSupportPage();
    void slotHelp();
    void slotGoToPromotedApp();
    void slotShareApp();
    void slotJoin();
    void slotAbout();
    void slotSetBlendMainWidget(bool bOn);
    virtual void slotCheckUpdate();
    virtual void slotShowMoreApps();

protected:
    void fillStoreIdMap();

    QSettings* m_pSettings = nullptr;
    QString m_strLanguageCode;
    bool m_bInactive = false;
    QString m_strLastOpenDirectory;
    QString m_strLastSaveDirectory;
    int m_nReminderInterval = 10;
    int m_nReminderDelay = 4000;
    QPointer<HelpDialog> m_pHelpDialog;
    QStringList m_slIntroSlides;
    QString m_strIntroVideoLink;
    QString m_strPromotedAppText1;
    QString m_strPromotedAppText2;
    QString m_strPromotedLink;
    QString m_strSecondPromotedAppText1;
    QString m_strSecondPromotedAppText2;
    QString m_strSecondPromotedLink;
    int m_nReminderKind = RateReminder;
    QString m_strFacebookShareLink;
    QString m_strOtherShareLink;
    QString m_strTwitterShareLink;
    QString m_strVkontakteShareLink;
    bool m_bNoSettingsPrefix = false;
    QPointer<QWidget> m_pMainWidget;
    QPointer<BlenderWidget> m_pBlenderWidget;
    QString m_strAppPageLink;
    QString m_strResourcesPath;
    bool m_bCommunityHidden = false;
    QString m_strAboutQtText;
    QString m_strSlogan;
    QStringList m_slShareLanguages;
    QString m_strPrivacyPolicyUrl;
    bool m_bFirstRun = false;
    QMap<QString, QString> m_mapStoreIds;
    // Set by a derived application object that is distributed outside the Store.
    bool m_bIndependentBuild = false;

private:
    QString effectiveKey(const QString& strKey) const;

    // Organisation and application the store was opened for; off the GUI
    // thread a store of these names is opened per call.
    QString m_strSettingsOrganisation;
    QString m_strSettingsApplication;
};

}  // namespace QMWidgets
