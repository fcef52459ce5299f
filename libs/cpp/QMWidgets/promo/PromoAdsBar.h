#pragma once

#include <QFrame>
#include <QPointer>
#include <QRandomGenerator>
#include <QRect>

class QAction;
class QPushButton;
class QTimer;

namespace QMWidgets {

class PromoMenuBar;

// A one-line banner that shows one entry of the top bar's More menu at a
// time (icon left, text centred), moves to another randomly chosen entry at
// each interval and triggers the shown entry when pressed. The style sheet
// gives it its height and look through the object name "AdsBar".
class PromoAdsBar : public QFrame
{
    Q_OBJECT

public:
    PromoAdsBar(QWidget* pParent, PromoMenuBar* pSource);

    void setInterval(int nMilliseconds);
    // How many leading More-menu entries take part; 0, a negative value or
    // one past the menu's last-but-one entry means all but the last.
    void setMaxAds(int nMaxAds);
    void setHideOnClose(bool bHide);
    void setHideOnClick(bool bHide);
    void hideCloseButton();

    // The entry shown, painted and triggered; null before the first choice.
    QAction* currentAd() const;

    // Where the text goes in a banner of the given size: rows 0 to h - 1,
    // columns right of the icon square up to the close button's margin.
    static QRect textRect(const QSize& size, bool bCloseButtonVisible);
    // The painted text: "&&" shown as "&", followed by "!".
    static QString displayText(const QString& strActionText);

signals:
    void adClicked();
    void closeClicked();

public slots:
    void slotInsertAd();
    void slotCloseClicked();

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;

private:
    QPointer<PromoMenuBar> m_pSource;
    QPointer<QAction> m_pCurrentAd;
    QTimer* m_pTimer = nullptr;
    int m_nMaxAds = 10;
    bool m_bHideOnClick = false;
    QPushButton* m_pCloseButton = nullptr;
    bool m_bHideOnClose = false;
    // Re-seeded at every show, like the rotation it drives.
    QRandomGenerator m_random;
};

}  // namespace QMWidgets
