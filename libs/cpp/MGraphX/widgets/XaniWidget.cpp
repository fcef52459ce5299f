#include "XaniWidget.h"

#include <QPainter>

namespace MGraphX {

XaniWidget::XaniWidget(QWidget* pParent)
    : QWidget(pParent), m_xani(QString(), nullptr)
{
    connect(&m_xani, SIGNAL(frameChanged()), this, SLOT(repaint()));
}

XaniWidget::~XaniWidget() = default;

void XaniWidget::setAnimation(const Xani& animation)
{
    m_xani = animation;
}

void XaniWidget::play()
{
    m_xani.start();
}

void XaniWidget::stop()
{
    m_xani.stop();
}

void XaniWidget::paintEvent(QPaintEvent* pEvent)
{
    {
        QPainter painter(this);
        const QImage& image = m_xani;
        painter.drawImage(QRect(0, 0, width(), height()), image, image.rect());
    }
    QWidget::paintEvent(pEvent);
}

} // namespace MGraphX
