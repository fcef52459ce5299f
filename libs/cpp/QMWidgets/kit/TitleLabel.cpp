#include "TitleLabel.h"

#include <QMouseEvent>

namespace QMWidgets {

TitleLabel::TitleLabel(QWidget* pParent)
    : QLabel(pParent)
{
}

TitleLabel::~TitleLabel()
{
    delete m_pAttachedWidget.data();
}

void TitleLabel::setAttachedWidget(QWidget* pWidget, const QPoint& offset)
{
    if (m_pAttachedWidget != pWidget)
        delete m_pAttachedWidget.data();
    m_pAttachedWidget = pWidget;
    m_attachOffset = offset;
    if (pWidget)
        pWidget->setWindowFlags(Qt::ToolTip);
}

void TitleLabel::placeAttachedWidget()
{
    if (m_pAttachedWidget)
        m_pAttachedWidget->move(mapToGlobal(m_attachOffset));
}

void TitleLabel::mousePressEvent(QMouseEvent* pEvent)
{
    m_pressPos = pEvent->localPos().toPoint();
    QLabel::mousePressEvent(pEvent);
}

void TitleLabel::mouseMoveEvent(QMouseEvent* pEvent)
{
    // The press was taken in label coordinates and is applied to the
    // window's corner: the first move shifts the window by the label's own
    // offset inside it. Windows built on this rely on that behaviour.
    if (QWidget* pWindow = parentWidget())
        pWindow->move(pEvent->screenPos().toPoint() - m_pressPos);
    placeAttachedWidget();
    QLabel::mouseMoveEvent(pEvent);
}

void TitleLabel::paintEvent(QPaintEvent* pEvent)
{
    QLabel::paintEvent(pEvent);
    placeAttachedWidget();
}

void TitleLabel::showEvent(QShowEvent* pEvent)
{
    QLabel::showEvent(pEvent);
    if (m_pAttachedWidget)
        m_pAttachedWidget->show();
}

void TitleLabel::hideEvent(QHideEvent* pEvent)
{
    QLabel::hideEvent(pEvent);
    if (m_pAttachedWidget)
        m_pAttachedWidget->hide();
}

} // namespace QMWidgets
