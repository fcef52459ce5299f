#pragma once

#include "ScreenGrab.h"

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QRect>

namespace QMTest {

// Puts a picture in place of the desktop while it lives: every grab of the
// platform layer receives the part of it that was asked for. The previous
// hook is restored on destruction.
class SyntheticDesktop
{
public:
    explicit SyntheticDesktop(const QPixmap& picture);
    ~SyntheticDesktop();
    SyntheticDesktop(const SyntheticDesktop&) = delete;
    SyntheticDesktop& operator=(const SyntheticDesktop&) = delete;

    // The areas asked for, oldest first.
    QList<QRect> grabs() const;

    // A picture whose every pixel has a colour of its own (red from x, green
    // from y, blue from both), so a cut-out part tells where it came from.
    static QPixmap coordinatePicture(const QSize& size);

private:
    QPixmap m_picture;
    QList<QRect> m_grabs;
    Platform::ScreenGrabHook m_previous;
};

}  // namespace QMTest
