#include "AdvancedLabel.h"

#include "ImageProcess.h"

#include <QPainter>

namespace QMWidgets {

namespace {
constexpr int kHoverBrightening = 30;
} // namespace

AdvancedLabel::AdvancedLabel(QWidget* pParent)
    : QWidget(pParent)
{
    setMinimumSize(16, 16);
}

void AdvancedLabel::setText(const QString& strText)
{
    m_strText = strText;
    repaint();
}

void AdvancedLabel::setPixmap(const QPixmap& pixmap)
{
    m_pixmap = pixmap;
    repaint();
}

void AdvancedLabel::setMargin(int nMargin)
{
    m_nMargin = nMargin;
    repaint();
}

void AdvancedLabel::mousePressEvent(QMouseEvent* pEvent)
{
    emit clicked();
    QWidget::mousePressEvent(pEvent);
}

void AdvancedLabel::enterEvent(QEvent* pEvent)
{
    m_bHovered = true;
    setCursor(Qt::PointingHandCursor);
    QWidget::enterEvent(pEvent);
    repaint();
}

void AdvancedLabel::leaveEvent(QEvent* pEvent)
{
    m_bHovered = false;
    setCursor(Qt::ArrowCursor);
    QWidget::leaveEvent(pEvent);
    repaint();
}

void AdvancedLabel::paintEvent(QPaintEvent* /*pEvent*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    // A margin of half the size or more leaves no room: no picture then.
    const QSize sizeInner(width() - 2 * m_nMargin, height() - 2 * m_nMargin);
    if (!m_pixmap.isNull() && !sizeInner.isEmpty()) {
        QImage image = m_pixmap.toImage().scaled(sizeInner, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (m_bHovered) {
            MGraphX::ImageProcess planes(image);
            planes.brighten(kHoverBrightening);
            image = planes.toImage();
        }
        painter.drawImage(QPoint(m_nMargin, m_nMargin), image);
    }

    if (!m_strText.isEmpty()) {
        painter.setFont(QFont(QStringLiteral("Courier"), 8, 75, false));
        painter.drawText(QRect(QPoint(0, 0), QPoint(width() - 1, height() - 1)),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_strText);
    }
}

} // namespace QMWidgets
