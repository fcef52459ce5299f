#include "PromoAdsBar.h"

#include "App.h"
#include "PromoMenuBar.h"

#include <QAction>
#include <QHBoxLayout>
#include <QIcon>
#include <QPainter>
#include <QPushButton>
#include <QTime>
#include <QTimer>
#include <QVector>

namespace QMWidgets {

namespace {

constexpr int kDefaultIntervalMs = 25000;

}  // namespace

PromoAdsBar::PromoAdsBar(QWidget* pParent, PromoMenuBar* pSource)
    : QFrame(pParent)
    , m_pSource(pSource)
{
    setObjectName(QStringLiteral("AdsBar"));

    m_pCloseButton = new QPushButton;
    m_pCloseButton->setObjectName(QStringLiteral("AdsBarCloseButton"));
    m_pCloseButton->setFlat(true);
    m_pCloseButton->setToolTip(tr("Close the banner"));
    connect(m_pCloseButton, SIGNAL(clicked()), this, SLOT(slotCloseClicked()));

    QHBoxLayout* pLayout = new QHBoxLayout;
    pLayout->setContentsMargins(1, 1, 1, 1);
    pLayout->addStretch(1);
    pLayout->addWidget(m_pCloseButton);
    setLayout(pLayout);

    setCursor(Qt::PointingHandCursor);

    m_pTimer = new QTimer(this);
    m_pTimer->setInterval(kDefaultIntervalMs);
    connect(m_pTimer, SIGNAL(timeout()), this, SLOT(slotInsertAd()));
}

void PromoAdsBar::setInterval(int nMilliseconds)
{
    m_pTimer->setInterval(nMilliseconds);
}

void PromoAdsBar::setMaxAds(int nMaxAds)
{
    m_nMaxAds = nMaxAds;
}

void PromoAdsBar::setHideOnClose(bool bHide)
{
    m_bHideOnClose = bHide;
}

void PromoAdsBar::setHideOnClick(bool bHide)
{
    m_bHideOnClick = bHide;
}

void PromoAdsBar::hideCloseButton()
{
    m_pCloseButton->hide();
}

QAction* PromoAdsBar::currentAd() const
{
    return m_pCurrentAd;
}

void PromoAdsBar::slotInsertAd()
{
    if (!m_pSource)
        return;

    // The menu's last action never takes part: in a filled catalogue it is
    // the closing separator.
    const QList<QAction*> actions = m_pSource->moreMenuActions();
    const int nCount = actions.size();
    const int nRange = (m_nMaxAds > 0 && m_nMaxAds < nCount - 1) ? m_nMaxAds : nCount - 1;
    if (nRange <= 0)
        return;

    // Drawing among the entries that have a text gives each of them the same
    // chance as drawing again until one has a text would, and always ends:
    // with no such entry in the range the current one stays.
    QVector<QAction*> candidates;
    for (int i = 0; i < nRange; ++i) {
        if (!actions.at(i)->text().isEmpty())
            candidates.append(actions.at(i));
    }
    if (!candidates.isEmpty())
        m_pCurrentAd = candidates.at(int(m_random.generate() % quint32(candidates.size())));

    repaint();
}

void PromoAdsBar::slotCloseClicked()
{
    if (m_bHideOnClose)
        hide();
    emit closeClicked();
}

QRect PromoAdsBar::textRect(const QSize& size, bool bCloseButtonVisible)
{
    const int w = size.width();
    const int h = size.height();
    if (bCloseButtonVisible)
        return QRect(QPoint(h + 10, 0), QPoint(w - 26, h - 1));
    return QRect(QPoint(h + 12, 0), QPoint(w - 13, h - 1));
}

QString PromoAdsBar::displayText(const QString& strActionText)
{
    QString strText = strActionText;
    strText.replace(QLatin1String("&&"), QLatin1String("&"));
    return strText + QLatin1Char('!');
}

void PromoAdsBar::mousePressEvent(QMouseEvent* pEvent)
{
    QWidget::mousePressEvent(pEvent);
    if (m_pCurrentAd)
        m_pCurrentAd->activate(QAction::Trigger);
    emit adClicked();
    if (m_bHideOnClick)
        hide();
}

void PromoAdsBar::paintEvent(QPaintEvent* pEvent)
{
    if (m_pCurrentAd) {
        QPainter painter(this);
        const int h = height();
        // The icon is fetched at the screen's whole-number ratio so that it
        // stays sharp on high-density screens.
        const int nRatio = qMax(1, int(App::devicePixelRatio()));
        const int nSide = nRatio * h;
        const QPixmap pixmap = m_pCurrentAd->icon().pixmap(QSize(nSide, nSide), QIcon::Normal, QIcon::Off);
        painter.drawPixmap(QRectF(0, 0, h, h), pixmap, QRectF(pixmap.rect()));
        painter.drawText(textRect(size(), m_pCloseButton->isVisible()),
                         Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap,
                         displayText(m_pCurrentAd->text()));
    }
    QFrame::paintEvent(pEvent);
}

void PromoAdsBar::showEvent(QShowEvent* pEvent)
{
    m_random.seed(quint32(QTime::currentTime().msec()));
    slotInsertAd();
    m_pTimer->start();
    QWidget::showEvent(pEvent);
}

}  // namespace QMWidgets
