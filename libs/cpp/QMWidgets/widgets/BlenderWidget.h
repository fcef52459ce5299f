#pragma once

#include <QLabel>

namespace QMWidgets {

// The overlay that covers the main widget while the framework's dialogs are
// open ("MainWidgetBlender"); the style sheet gives it its look.
class BlenderWidget : public QLabel
{
    Q_OBJECT

public:
    explicit BlenderWidget(QWidget* pParent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
};

}  // namespace QMWidgets
