#include "ImageViewer.h"

#include "App.h"
#include "ImageArea.h"
#include "UrlOpener.h"

#include <QBoxLayout>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QUrl>

namespace QMWidgets {

namespace {
constexpr int kMinimumZoom = 1;
constexpr int kMaximumZoom = 100;
constexpr int kStepButtonSide = 44;
constexpr int kBarButtonHeight = 32;
} // namespace

ImageViewer::ImageViewer(QWidget* pParent)
    : QFrame(pParent)
{
    setMinimumHeight(400);
    m_pImageArea = new ImageArea;

    m_pZoomSlider = new QSlider(Qt::Horizontal);
    m_pZoomSlider->setRange(kMinimumZoom, kMaximumZoom);
    m_pZoomSlider->setValue(kMaximumZoom);
    m_pZoomSlider->setMinimumWidth(200);
    m_pZoomSlider->setTickPosition(QSlider::TicksBothSides);
    m_pZoomSlider->setObjectName(QStringLiteral("ImageViewSlider"));

    m_pFitButton = new QPushButton;
    m_pFitButton->setToolTip(tr("Fit To Window"));
    m_pFitButton->setObjectName(QStringLiteral("FitToScreenButton"));
    m_pFitButton->setCheckable(true);
    m_pFitButton->setChecked(true);
    m_pFitButton->setFlat(true);

    m_pActualPixelsButton = new QPushButton(tr("Actual Pixels"));
    m_pActualPixelsButton->setToolTip(tr("100%"));
    m_pActualPixelsButton->setObjectName(QStringLiteral("ActualPixelsButton"));
    m_pActualPixelsButton->setCheckable(true);
    m_pActualPixelsButton->setFlat(true);
    m_pActualPixelsButton->setFixedHeight(kBarButtonHeight);

    auto* pPreviewButton = new QPushButton(tr("Open with Preview"));
    pPreviewButton->setObjectName(QStringLiteral("SysPreviewButton"));
    pPreviewButton->setFixedHeight(kBarButtonHeight);
    pPreviewButton->setFlat(true);

    auto* pLowerButton = new QPushButton;
    pLowerButton->setObjectName(QStringLiteral("ZoomInButton"));
    pLowerButton->setFixedSize(kStepButtonSide, kStepButtonSide);
    pLowerButton->setFlat(true);
    auto* pRaiseButton = new QPushButton;
    pRaiseButton->setObjectName(QStringLiteral("ZoomOutButton"));
    pRaiseButton->setFixedSize(kStepButtonSide, kStepButtonSide);
    pRaiseButton->setFlat(true);

    connect(m_pImageArea, SIGNAL(next()), this, SIGNAL(next()));
    connect(m_pImageArea, SIGNAL(previous()), this, SIGNAL(previous()));
    connect(m_pImageArea, SIGNAL(infoChanged()), this, SIGNAL(infoChanged()));
    connect(m_pZoomSlider, SIGNAL(valueChanged(int)), this, SLOT(slotZoom(int)));
    connect(m_pZoomSlider, SIGNAL(sliderPressed()), this, SLOT(slotShowInfo()));
    connect(m_pZoomSlider, SIGNAL(sliderReleased()), m_pImageArea, SLOT(slotHideInfo()));
    connect(m_pFitButton, SIGNAL(clicked()), this, SLOT(slotFitScreen()));
    connect(m_pActualPixelsButton, SIGNAL(clicked()), this, SLOT(slotActualPixels()));
    connect(pPreviewButton, SIGNAL(clicked()), this, SLOT(slotSysPreview()));
    connect(pRaiseButton, SIGNAL(clicked()), this, SLOT(slotIncZoom()));
    connect(pLowerButton, SIGNAL(clicked()), this, SLOT(slotDecZoom()));

    auto* pPreviewRow = new QHBoxLayout;
    pPreviewRow->addStretch(1);
    pPreviewRow->addWidget(pPreviewButton);
    pPreviewRow->addStretch(1);

    auto* pZoomBar = new QHBoxLayout;
    pZoomBar->setContentsMargins(5, 5, 5, 5);
    pZoomBar->addStretch(1);
    pZoomBar->addWidget(pLowerButton);
    pZoomBar->addWidget(m_pZoomSlider);
    pZoomBar->addWidget(pRaiseButton);
    pZoomBar->addSpacing(5);
    pZoomBar->addWidget(m_pActualPixelsButton);
    pZoomBar->addSpacing(20);
    pZoomBar->addWidget(m_pFitButton);
    pZoomBar->addStretch(1);

    auto* pLayout = new QVBoxLayout;
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(0);
    pLayout->addLayout(pPreviewRow);
    pLayout->addWidget(m_pImageArea);
    pLayout->addLayout(pZoomBar);
    setLayout(pLayout);
}

void ImageViewer::setInfoText(const QString& strText)
{
    m_pImageArea->setInfoText(strText);
}

void ImageViewer::setNavigationHidden(bool bHidden)
{
    m_pImageArea->setNavigationHidden(bHidden);
}

void ImageViewer::slotLoad(const QString& strPath)
{
    slotLoad(QImage(strPath));
}

void ImageViewer::slotLoad(const QImage& image)
{
    m_pImageArea->setPixmap(QPixmap::fromImage(image));
}

void ImageViewer::slotActualPixels()
{
    {
        const QSignalBlocker blocker(m_pFitButton);
        m_pFitButton->setChecked(false);
    }
    // Setting the slider to the value it has emits nothing, so 100 percent
    // is shown directly in that case.
    if (m_pActualPixelsButton->isChecked() && m_pZoomSlider->value() == kMaximumZoom)
        slotZoom(kMaximumZoom);
    if (m_pActualPixelsButton->isChecked())
        m_pZoomSlider->setValue(kMaximumZoom);
}

void ImageViewer::slotZoom(int nPercent)
{
    m_pImageArea->setInfoText(QStringLiteral("<H1>") + QString::number(nPercent) + QStringLiteral("%</H1>"));
    {
        const QSignalBlocker blocker(m_pFitButton);
        m_pFitButton->setChecked(false);
    }
    {
        const QSignalBlocker blocker(m_pActualPixelsButton);
        m_pActualPixelsButton->setChecked(m_pZoomSlider->value() == kMaximumZoom);
    }
    m_pImageArea->slotZoom(nPercent);
}

void ImageViewer::slotFitScreen()
{
    m_pImageArea->setInfoText(QString());
    m_pImageArea->slotHideInfo();
    m_pActualPixelsButton->setChecked(false);
    m_pImageArea->slotFitScreen();
}

void ImageViewer::slotIncZoom()
{
    if (m_pZoomSlider->value() < kMaximumZoom)
        m_pZoomSlider->setValue(m_pZoomSlider->value() + 1);
}

void ImageViewer::slotDecZoom()
{
    if (m_pZoomSlider->value() >= kMinimumZoom + 1)
        m_pZoomSlider->setValue(m_pZoomSlider->value() - 1);
}

void ImageViewer::slotSysPreview()
{
    const QString strPath = App::workDirectory(true) + QStringLiteral("preview.png");
    // An older preview must not be shown as if it were this picture.
    if (!m_pImageArea->pixmap().save(strPath, "png"))
        return;
    if (Platform::openUrl(QUrl::fromLocalFile(strPath)))
        emit systemPreviewOpened();
}

void ImageViewer::slotShowInfo()
{
    slotZoom(m_pZoomSlider->value());
}

} // namespace QMWidgets
