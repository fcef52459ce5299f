#pragma once

#include <QFrame>
#include <QPointer>

namespace QMWidgets {

class PromoAdsBar;
class PromoMenuBar;

// The frame an application's main page derives from. It makes the top bar
// (which the derived page lays out) and, on request, the rotating banner
// (which the derived page lays out and configures). Banner clicks reach the
// virtual slotAdClicked().
class PromoMainPage : public QFrame
{
    Q_OBJECT

public:
    // With bRelayQuit the top bar's Quit is relayed as quitApp(); otherwise
    // the top bar quits the application itself.
    PromoMainPage(QWidget* pParent, bool bRelayQuit);
    ~PromoMainPage() override;

    // Never null. Without a parent until the derived page lays it out.
    PromoMenuBar* promoMenuBar() const;

    // Made on the first call (parent this page, entries from the top bar's
    // More menu); later calls return the same banner.
    PromoAdsBar* adsBar();

signals:
    void quitApp();

public slots:
    virtual void slotAdClicked();

private:
    // Guarded: a bar laid out into a widget outside this page may be gone
    // before the page is.
    QPointer<PromoMenuBar> m_pPromoMenuBar;
    PromoAdsBar* m_pAdsBar = nullptr;
};

}  // namespace QMWidgets
