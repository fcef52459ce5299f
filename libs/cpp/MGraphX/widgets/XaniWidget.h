#pragma once

#include "Xani.h"

#include <QWidget>

namespace MGraphX {

// Shows an animated-frame container's current frame stretched over the whole
// widget (the aspect ratio is not kept), repainted at every frame change.
class XaniWidget : public QWidget
{
    Q_OBJECT

public:
    explicit XaniWidget(QWidget* pParent = nullptr);
    ~XaniWidget() override;

    // Takes the animation's loop, frame duration and frames.
    void setAnimation(const Xani& animation);
    Xani& animation() { return m_xani; }

public slots:
    void play();
    void stop();

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    Xani m_xani;
};

} // namespace MGraphX
