#include "Label.h"

#include "App.h"

#include <QPainter>

namespace QMWidgets {

Label::Label(QWidget *parent)
    : QLabel(parent)
{
}

void Label::setPixmap(const QPixmap &pixmap)
{
    m_pixPicture = pixmap;
    update();
}

void Label::setFillMode(int mode)
{
    m_nFillMode = mode;
}

void Label::setOpacity(double opacity)
{
    m_dOpacity = opacity;
}

QSize Label::scaledPictureSize(const QSize &widgetSize, double ratio,
                               const QSize &pictureSize, int fillMode)
{
    const QSize target(int(widgetSize.width() * ratio), int(widgetSize.height() * ratio));
    if (target.isEmpty() || pictureSize.isEmpty())
        return QSize();
    // The same arithmetic QPixmap::scaled uses, so the prediction is exact.
    QSize scaled = pictureSize.scaled(target, fillMode == 0 ? Qt::KeepAspectRatio
                                                            : Qt::KeepAspectRatioByExpanding);
    scaled.rwidth() = qMax(scaled.width(), 1);
    scaled.rheight() = qMax(scaled.height(), 1);
    return scaled;
}

QRect Label::pictureRect(const QSize &widgetSize, double ratio,
                         const QSize &scaledSize, int fillMode)
{
    const double w = scaledSize.width() / ratio;
    const double h = scaledSize.height() / ratio;
    if (fillMode != 0)
        return QRect(0, 0, int(w), int(h));
    return QRect(int((widgetSize.width() - w) * 0.5), int((widgetSize.height() - h) * 0.5),
                 int(w), int(h));
}

void Label::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (m_pixPicture.isNull())
        return;

    // Asked afresh at every paint, so a change of screen shows at once.
    const double ratio = App::devicePixelRatio();
    if (ratio <= 0.0)
        return;
    const QSize scaledSize = scaledPictureSize(size(), ratio, m_pixPicture.size(), m_nFillMode);
    if (scaledSize.isEmpty())
        return;

    QPainter painter(this);
    if (m_dOpacity < 1.0)
        painter.setOpacity(m_dOpacity);
    const QPixmap scaled = m_pixPicture.scaled(scaledSize, Qt::IgnoreAspectRatio,
                                               Qt::SmoothTransformation);
    painter.drawPixmap(pictureRect(size(), ratio, scaled.size(), m_nFillMode), scaled);
}

} // namespace QMWidgets
