#pragma once

#include <QMenu>

class QAction;

namespace QMWidgets {

// The application menu: fixed entries that call slots of the running
// application object by signature, and a Quit entry that only emits
// quitPressed() so that its owner decides how to quit. Whether "Check
// Updates" and "Privacy Policy" appear is decided once, at construction.
class AppMenu : public QMenu
{
    Q_OBJECT

public:
    explicit AppMenu(QWidget* pParent = nullptr);

    // Each hides its own entry; hidden entries stay hidden.
    void hideIntro();
    void hideSupportPage();
    void hideRate();
    void hideMoreApps();
    void hideShare();
    void hideJoin();

signals:
    void quitPressed();

private:
    // Handles kept only for the hide operations.
    QAction* m_pRateAction = nullptr;
    QAction* m_pShareAction = nullptr;
    QAction* m_pJoinAction = nullptr;
    QAction* m_pMoreAppsAction = nullptr;
    QAction* m_pSupportPageAction = nullptr;
    QAction* m_pIntroAction = nullptr;
};

}  // namespace QMWidgets
