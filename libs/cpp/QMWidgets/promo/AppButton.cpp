#include "AppButton.h"

#include "AppMenu.h"

namespace QMWidgets {

AppButton::AppButton(QWidget* pParent)
    : QPushButton(pParent)
{
    m_pAppMenu = new AppMenu(this);
    connect(m_pAppMenu, SIGNAL(quitPressed()), this, SIGNAL(quitPressed()));
    setMenu(m_pAppMenu);
}

void AppButton::hideSupportPage() { m_pAppMenu->hideSupportPage(); }
void AppButton::hideRate() { m_pAppMenu->hideRate(); }
void AppButton::hideMoreApps() { m_pAppMenu->hideMoreApps(); }
void AppButton::hideShare() { m_pAppMenu->hideShare(); }
void AppButton::hideJoin() { m_pAppMenu->hideJoin(); }
void AppButton::hideIntro() { m_pAppMenu->hideIntro(); }

}  // namespace QMWidgets
