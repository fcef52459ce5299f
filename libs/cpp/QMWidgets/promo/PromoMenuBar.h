#pragma once

#include <QFrame>
#include <QList>
#include <QPixmap>
#include <QString>

#include <initializer_list>

class QAction;
class QHBoxLayout;
class QMenu;
class QPushButton;
class QSignalMapper;

namespace QMWidgets {

class AppButton;

// The top bar of a promotion page: the "More" drop-down with the
// cross-promotion entries, a centre and a right slot for the application's
// own widgets, a row of flat icon buttons that call the application object,
// and the app button with the application menu. The bar sets only object
// names and tool tips; the style sheet gives the buttons their pictures.
class PromoMenuBar : public QFrame
{
    Q_OBJECT

public:
    // With bRelayQuit the application menu's Quit is emitted as quitApp();
    // otherwise it quits the application directly.
    PromoMenuBar(QWidget* pParent, bool bRelayQuit);

    QMenu* moreMenu() const;
    QList<QAction*> moreMenuActions() const;
    void addMoreAction(QAction* pAction);
    void addMoreSeparator();
    void addCenterWidget(QWidget* pWidget);
    void addRightWidget(QWidget* pWidget);

    // Adds one cross-promotion entry whose link is the application object's
    // store link for strUrl; nothing is added when that link is empty.
    void addAppAction(const QPixmap& pixmap, const QString& strText, const QString& strUrl);
    void addStoreAppAction(const QPixmap& pixmap, const QString& strText,
                           const QString& strAppName, const QString& strStoreId);
    // Separator, the standing "More Apps" entry, separator.
    void addMoreAppsEntry();

    void hideSupportPage();
    void hideIntro();
    void hideIntroButton();
    void hideMore();
    void hideMoreButton();
    void hideRate();
    void hideRateButton();
    void hideMoreApps();
    void hideMoreAppsButton();
    void hideShare();
    void hideShareButton();
    void hideJoin();
    void hideJoinButton();

    // The compiled-in catalogue of the maker's other applications
    // (PromoCatalogue.cpp). addApp adds at most one entry and never one for
    // the running application; addCatalogue adds a category's sequence and
    // closes it with "More Apps".
    void addApp(const QString& strKey);
    void addCatalogue(const QString& strCategory);
    void addBanjoApps();
    void addMandolinApps();
    void addBalalaikaApps();
    void addPianoApps();
    void addGuitarApps();
    void addBassApps();
    void addUkuleleApps();
    void addViolinApps();
    void addAudioApps();

signals:
    void quitApp();

public slots:
    void slotCallUrl(const QString& strUrl);

private:
    void createButtons();
    void createLayout();
    void connectToApplication(bool bRelayQuit);
    void hideCommunity();
    // Adds each key with addApp, then one separator.
    void addGroup(std::initializer_list<const char*> keys);
    void addGeneralMusicApps();

    QMenu* m_pMoreMenu = nullptr;
    QSignalMapper* m_pUrlMapper = nullptr;
    QHBoxLayout* m_pRightLayout = nullptr;
    QHBoxLayout* m_pCenterLayout = nullptr;
    QPushButton* m_pIntroButton = nullptr;
    QPushButton* m_pMoreButton = nullptr;
    QPushButton* m_pRateButton = nullptr;
    QPushButton* m_pMoreAppsButton = nullptr;
    QPushButton* m_pShareButton = nullptr;
    QPushButton* m_pJoinButton = nullptr;
    AppButton* m_pAppButton = nullptr;
};

}  // namespace QMWidgets
