#include "BlenderWidget.h"

namespace QMWidgets {

BlenderWidget::BlenderWidget(QWidget* pParent)
    : QLabel(pParent)
{
}

void BlenderWidget::mousePressEvent(QMouseEvent* pEvent)
{
    QLabel::mousePressEvent(pEvent);
}

}  // namespace QMWidgets
