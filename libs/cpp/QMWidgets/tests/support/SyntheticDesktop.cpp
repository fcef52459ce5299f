#include "SyntheticDesktop.h"

namespace QMTest {

SyntheticDesktop::SyntheticDesktop(const QPixmap& picture)
    : m_picture(picture)
{
    m_previous = Platform::setScreenGrabHook([this](const QRect& area) {
        m_grabs << area;
        return m_picture.copy(area.intersected(m_picture.rect()));
    });
}

SyntheticDesktop::~SyntheticDesktop()
{
    Platform::setScreenGrabHook(m_previous);
}

QList<QRect> SyntheticDesktop::grabs() const
{
    return m_grabs;
}

QPixmap SyntheticDesktop::coordinatePicture(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + (y / 256)));
    }
    return QPixmap::fromImage(image);
}

}  // namespace QMTest
