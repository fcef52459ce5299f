#include "HelpDisplay.h"

#include "App.h"

#include <QPainter>
#include <QPixmap>

#include <cstdlib>

namespace QMWidgets {

HelpDisplay::HelpDisplay(QWidget* pParent)
    : QFrame(pParent, Qt::WindowFlags())
{
}

HelpDisplay::~HelpDisplay() = default;

void HelpDisplay::setImagePath(const QString& strPath)
{
    m_strImagePath = strPath;
    update();
}

QRect HelpDisplay::slideRect(const QSize& sizeArea, const QSize& sizeScaled, int nRatio)
{
    const int r = nRatio < 1 ? 1 : nRatio;
    const int w = sizeScaled.width() / r;
    const int h = sizeScaled.height() / r;
    // Halve the free space whatever the ratio, so the picture is centred at
    // every ratio (dividing it by the ratio would only centre it at 2).
    return QRect(std::abs(sizeArea.width() - w) / 2, std::abs(sizeArea.height() - h) / 2, w, h);
}

void HelpDisplay::paintEvent(QPaintEvent* pEvent)
{
    QFrame::paintEvent(pEvent);
    if (m_strImagePath.isEmpty())
        return;

    const int W = width();
    const int H = height();
    QPainter painter(this);
    painter.setBrush(QBrush(Qt::black, Qt::SolidPattern));
    painter.setPen(Qt::NoPen);
    painter.drawRect(0, 0, W, H);

    int r = static_cast<int>(App::devicePixelRatio());
    if (r < 1)
        r = 1;

    // Nothing is cached: each paint reads the file again.
    const QPixmap pixmap(m_strImagePath);
    if (pixmap.isNull())
        return;
    const QPixmap scaled = pixmap.scaled(r * W, r * H, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    painter.drawPixmap(slideRect(QSize(W, H), scaled.size(), r), scaled, scaled.rect());
}

} // namespace QMWidgets
