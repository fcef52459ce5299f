#include "AddButtonAction.h"

#include <QIcon>
#include <QMouseEvent>
#include <QPainter>

AddButtonAction::AddButtonAction(QObject* parent)
    : QAction(parent)
    , m_pixPicture(QStringLiteral(":/PopupButton.png"))
{
    QIcon icon;
    icon.addPixmap(m_pixPicture, QIcon::Normal, QIcon::On);
    icon.addPixmap(m_pixPicture, QIcon::Normal, QIcon::Off);
    setIcon(icon);
}

void AddButtonAction::draw(QPainter* painter)
{
    const int side = m_pixPicture.height() / 4;
    const QRect target(m_rect.left(), m_rect.top() + m_rect.height() / 8, side, side);
    painter->drawPixmap(target, m_pixPicture);
}

bool AddButtonAction::handleEvent(QEvent* event, const QModelIndex& index)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease
        && event->type() != QEvent::MouseButtonDblClick && event->type() != QEvent::MouseMove)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (!m_rect.contains(mouse->localPos().toPoint()))
        return false;
    const QSize size = m_pixPicture.size();
    if (event->type() == QEvent::MouseButtonPress) {
        m_pixPicture = icon().pixmap(size, QIcon::Normal, QIcon::On);
        emit triggered(index, m_rect.topLeft());
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease)
        m_pixPicture = icon().pixmap(size, QIcon::Normal, QIcon::Off);
    return false;
}
