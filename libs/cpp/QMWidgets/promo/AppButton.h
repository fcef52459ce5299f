#pragma once

#include <QPushButton>

namespace QMWidgets {

class AppMenu;

// A push button whose drop-down is the application menu. The menu's Quit is
// passed on as the button's own quitPressed(); its owner gives the button its
// name, tool tip, look and size.
class AppButton : public QPushButton
{
    Q_OBJECT

public:
    explicit AppButton(QWidget* pParent = nullptr);

    void hideSupportPage();
    void hideRate();
    void hideMoreApps();
    void hideShare();
    void hideJoin();
    void hideIntro();

signals:
    void quitPressed();

private:
    AppMenu* m_pAppMenu = nullptr;
};

}  // namespace QMWidgets
