#include "ImageArea.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QScrollArea>

namespace QMWidgets {

namespace {
constexpr int kAnimationSide = 96;
// The loading label leaves room around the animation: 96 x 1.5.
constexpr int kLoadingLabelSide = 144;
}

ImageArea::ImageArea(QWidget* pParent)
    : QFrame(pParent)
{
    // First child, so that every control created below lies above it.
    m_pScrollArea = new QScrollArea(this);
    // No frame: the viewport is then exactly the area, as the fitted label is.
    m_pScrollArea->setFrameShape(QFrame::NoFrame);
    m_pPreviewLabel = new QLabel;
    m_pPreviewLabel->setObjectName(QStringLiteral("PreviewLabel"));
    m_pPreviewLabel->setAlignment(Qt::AlignCenter);
    m_pScrollArea->setWidget(m_pPreviewLabel);

    m_pNextButton = new QPushButton;
    m_pNextButton->setObjectName(QStringLiteral("NextImageButton"));
    m_pPreviousButton = new QPushButton;
    m_pPreviousButton->setObjectName(QStringLiteral("PreviousImageButton"));
    connect(m_pNextButton, SIGNAL(clicked()), this, SLOT(slotNextClicked()));
    connect(m_pPreviousButton, SIGNAL(clicked()), this, SLOT(slotPreviousClicked()));

    m_pInfoLabel = new QLabel;

    m_pLoadingMovie = new QMovie(QStringLiteral(":/loading_image.gif"), QByteArray(), this);
    m_pLoadingMovie->setScaledSize(QSize(kAnimationSide, kAnimationSide));
    m_pLoadingLabel = new QLabel;
    m_pLoadingLabel->setObjectName(QStringLiteral("ImageLoadingLabel"));
    m_pLoadingLabel->setAlignment(Qt::AlignCenter);
    m_pLoadingLabel->setFixedSize(kLoadingLabelSide, kLoadingLabelSide);
    m_pLoadingLabel->setMovie(m_pLoadingMovie);
    m_pLoadingLabel->hide();

    auto* pNavigationRow = new QHBoxLayout;
    pNavigationRow->setContentsMargins(0, 0, 0, 0);
    pNavigationRow->setSpacing(0);
    pNavigationRow->addWidget(m_pPreviousButton);
    pNavigationRow->addStretch(1);
    pNavigationRow->addWidget(m_pLoadingLabel);
    pNavigationRow->addStretch(1);
    pNavigationRow->addWidget(m_pNextButton);

    auto* pInfoRow = new QHBoxLayout;
    pInfoRow->setContentsMargins(0, 0, 0, 0);
    pInfoRow->setSpacing(0);
    pInfoRow->addStretch(1);
    pInfoRow->addWidget(m_pInfoLabel);
    pInfoRow->addStretch(1);

    auto* pLayout = new QVBoxLayout;
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addStretch(1);
    pLayout->addLayout(pNavigationRow);
    pLayout->addStretch(1);
    pLayout->addLayout(pInfoRow);
    setLayout(pLayout);
}

void ImageArea::setPixmap(const QPixmap& pixmap)
{
    m_pixmap = pixmap;
    refresh();
    m_pLoadingMovie->stop();
    m_pLoadingLabel->hide();
}

QPixmap ImageArea::pixmap() const
{
    return m_pixmap;
}

void ImageArea::setInfoText(const QString& strText)
{
    if (strText.isEmpty()) {
        m_pInfoLabel->hide();
        return;
    }
    m_pInfoLabel->setText(strText);
    m_pInfoLabel->show();
}

void ImageArea::setNavigationHidden(bool bHidden)
{
    m_bNavigationHidden = bHidden;
    if (bHidden) {
        m_pPreviousButton->hide();
        m_pNextButton->hide();
        m_pInfoLabel->hide();
    }
}

void ImageArea::zoom(int nPercent)
{
    m_nZoom = nPercent;
    const QSize sizeTarget(qRound(m_pixmap.width() * double(nPercent) / 100.0),
                           qRound(m_pixmap.height() * double(nPercent) / 100.0));
    const QPixmap scaled = m_pixmap.isNull()
        ? QPixmap()
        : m_pixmap.scaled(sizeTarget, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_pPreviewLabel->setPixmap(scaled);

    // Strict comparisons: a picture exactly as wide as the area counts as
    // not fitting, and then scrolls as needed.
    const int nW = width();
    const int nH = height();
    const int w = scaled.width();
    const int h = scaled.height();
    if (nW > w && nH > h) {
        m_pPreviewLabel->setFixedSize(nW, nH);
        m_pScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_pScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else if (nW > w) {
        m_pPreviewLabel->setFixedSize(nW, h);
        m_pScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_pScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    } else if (nH > h) {
        m_pPreviewLabel->setFixedSize(w, nH);
        m_pScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        m_pScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else {
        m_pPreviewLabel->setFixedSize(w, h);
        m_pScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        m_pScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
    m_pScrollArea->setGeometry(0, 0, nW, nH);
}

void ImageArea::fitToWindow()
{
    const QSize sizeArea = size();
    m_pPreviewLabel->setPixmap(m_pixmap.isNull()
                                   ? QPixmap()
                                   : m_pixmap.scaled(sizeArea, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_pScrollArea->setGeometry(0, 0, sizeArea.width(), sizeArea.height());
    m_pPreviewLabel->setFixedSize(sizeArea);
    m_pScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pScrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void ImageArea::refresh()
{
    if (m_bFitToWindow)
        fitToWindow();
    else
        zoom(m_nZoom);
}

void ImageArea::slotZoom(int nPercent)
{
    m_bFitToWindow = false;
    zoom(nPercent);
}

void ImageArea::slotFitScreen()
{
    m_pInfoLabel->setText(tr("<H1>Fit to Window</H1>"));
    m_bFitToWindow = true;
    fitToWindow();
}

void ImageArea::slotHideInfo()
{
    m_pInfoLabel->hide();
}

void ImageArea::slotShowInfo()
{
    m_pInfoLabel->show();
}

void ImageArea::startLoading()
{
    m_pLoadingMovie->start();
    m_pLoadingLabel->show();
}

void ImageArea::slotNextClicked()
{
    startLoading();
    emit next();
    emit infoChanged();
}

void ImageArea::slotPreviousClicked()
{
    startLoading();
    emit previous();
    emit infoChanged();
}

void ImageArea::enterEvent(QEvent* pEvent)
{
    if (!m_bNavigationHidden) {
        m_pPreviousButton->show();
        m_pNextButton->show();
    }
    m_pInfoLabel->show();
    QWidget::enterEvent(pEvent);
}

void ImageArea::leaveEvent(QEvent* pEvent)
{
    m_pPreviousButton->hide();
    m_pNextButton->hide();
    m_pInfoLabel->hide();
    QWidget::leaveEvent(pEvent);
}

void ImageArea::resizeEvent(QResizeEvent* pEvent)
{
    refresh();
    QWidget::resizeEvent(pEvent);
}

} // namespace QMWidgets
