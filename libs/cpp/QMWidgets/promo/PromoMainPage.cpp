#include "PromoMainPage.h"

#include "PromoAdsBar.h"
#include "PromoMenuBar.h"

namespace QMWidgets {

PromoMainPage::PromoMainPage(QWidget* pParent, bool bRelayQuit)
    : QFrame(pParent)
{
    m_pPromoMenuBar = new PromoMenuBar(nullptr, bRelayQuit);
    connect(m_pPromoMenuBar, SIGNAL(quitApp()), this, SIGNAL(quitApp()));
}

PromoMainPage::~PromoMainPage()
{
    // Once laid out the bar is one of our children and goes with them; a
    // page that never laid it out would otherwise leak it.
    if (m_pPromoMenuBar && !m_pPromoMenuBar->parent())
        delete m_pPromoMenuBar;
}

PromoMenuBar* PromoMainPage::promoMenuBar() const
{
    return m_pPromoMenuBar;
}

PromoAdsBar* PromoMainPage::adsBar()
{
    if (!m_pAdsBar) {
        m_pAdsBar = new PromoAdsBar(this, m_pPromoMenuBar);
        connect(m_pAdsBar, SIGNAL(adClicked()), this, SLOT(slotAdClicked()));
    }
    return m_pAdsBar;
}

void PromoMainPage::slotAdClicked()
{
}

}  // namespace QMWidgets
