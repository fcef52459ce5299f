#include "ScreenMeasurer.h"

#include "Os.h"
#include "WidgetFunctions.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <cstdlib>

namespace QMWidgets {

namespace {

constexpr int kHintPixelSize = 24;
constexpr double kHintWidthShare = 3.5;
constexpr double kWidthPerPoint = 4.5;
constexpr double kHeightPerPoint = 1.5;
constexpr int kSmallestInsideHeight = 8;  // pixels; smaller labels go above
constexpr int kAbovePointSize = 13;
constexpr int kLabelBold = 75;

QFont labelFont(int nPointSize)
{
    return QFont(QStringLiteral("Times"), nPointSize, kLabelBold, false);
}

QSize selectionSize(const QPoint& corner1, const QPoint& corner2)
{
    // Both corners are inside the selection, so either way round the size is
    // the distance plus one.
    return QSize(std::abs(corner2.x() - corner1.x()) + 1, std::abs(corner2.y() - corner1.y()) + 1);
}

}  // namespace

ScreenMeasurer::ScreenMeasurer(QWidget* pParent)
    : ScreenCropper(pParent)
{
}

QString ScreenMeasurer::sizeText(const QPoint& corner1, const QPoint& corner2, double dScale)
{
    const QSize size = selectionSize(corner1, corner2);
    const double factor = dScale / Os::devicePixelRatio();
    return QStringLiteral("%1x%2")
        .arg(int(std::fabs(factor * size.width())))
        .arg(int(std::fabs(factor * size.height())));
}

int ScreenMeasurer::insideLabelPointSize(const QSize& selection, const QString& strLabel)
{
    int nPointSize = int(selection.width() / kWidthPerPoint);
    if (nPointSize > 0 && QFontMetrics(labelFont(nPointSize)).height() > selection.height())
        nPointSize = int(selection.height() / kHeightPerPoint);
    // The width rule suits labels of five characters; longer ones ("601x301")
    // would run past the selection's sides and lose their outer digits.
    if (nPointSize > 0) {
        const int nLabelWidth = QFontMetrics(labelFont(nPointSize)).horizontalAdvance(strLabel);
        if (nLabelWidth > selection.width()) {
            nPointSize = int(nPointSize * double(selection.width()) / nLabelWidth);
            while (nPointSize > 0
                   && QFontMetrics(labelFont(nPointSize)).horizontalAdvance(strLabel) > selection.width())
                --nPointSize;
        }
    }
    // A font of no points cannot be made; its label goes above as well.
    if (nPointSize <= 0 || QFontMetrics(labelFont(nPointSize)).height() <= kSmallestInsideHeight)
        return 0;
    return nPointSize;
}

void ScreenMeasurer::grabScreen()
{
    m_bSelecting = false;
    m_desktopPixmap = grabDesktopScreen();
    emit done();
    repaint();
    setFocus(Qt::OtherFocusReason);
    setCursor(Qt::CrossCursor);
    m_overrideCursor.set(QCursor(Qt::CrossCursor));
}

void ScreenMeasurer::slotClose()
{
    m_overrideCursor.release();
    showNormal();
    hide();
    emit doQuit();
}

void ScreenMeasurer::updateSaveLocation()
{
}

void ScreenMeasurer::mousePressEvent(QMouseEvent* pEvent)
{
    m_nPressX = m_nCurrentX = qRound(pEvent->localPos().x());
    m_nPressY = m_nCurrentY = qRound(pEvent->localPos().y());
    m_bSelecting = true;
    QWidget::mousePressEvent(pEvent);
    repaint();
}

void ScreenMeasurer::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (m_bSelecting) {
        m_nCurrentX = qRound(pEvent->localPos().x());
        m_nCurrentY = qRound(pEvent->localPos().y());
        repaint();
    }
    QWidget::mouseMoveEvent(pEvent);
}

void ScreenMeasurer::mouseReleaseEvent(QMouseEvent* pEvent)
{
    QWidget::mouseReleaseEvent(pEvent);
    m_bSelecting = false;
    update();
}

void ScreenMeasurer::enterEvent(QEvent* pEvent)
{
    m_overrideCursor.set(QCursor(Qt::CrossCursor));
    QWidget::enterEvent(pEvent);
}

void ScreenMeasurer::leaveEvent(QEvent* pEvent)
{
    m_overrideCursor.release();
    QWidget::leaveEvent(pEvent);
}

void ScreenMeasurer::changeEvent(QEvent* pEvent)
{
    QWidget::changeEvent(pEvent);
}

void ScreenMeasurer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(71, 71, 71));
    painter.drawRect(rect());
    painter.drawPixmap((width() - m_shownPixmap.width()) / 2, (height() - m_shownPixmap.height()) / 2,
                       m_shownPixmap);
    if (m_bSelecting)
        paintSizeLabel(painter);
    else
        paintHintBox(painter, kHintPixelSize, kHintWidthShare);
}

void ScreenMeasurer::paintSizeLabel(QPainter& painter)
{
    const QColor selectionColor(10, 10, 80, 100);
    const QRect area = selection().normalized();
    painter.setPen(QPen(QBrush(QColor(210, 210, 210)), 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter.setBrush(selectionColor);
    painter.drawRect(area);
    painter.setRenderHint(QPainter::Antialiasing);

    const QString strLabel =
        sizeText(QPoint(m_nPressX, m_nPressY), QPoint(m_nCurrentX, m_nCurrentY), m_dMeasureScale);
    const int nPointSize = insideLabelPointSize(area.size(), strLabel);
    if (nPointSize > 0) {
        painter.setFont(labelFont(nPointSize));
        painter.drawText(area, Qt::AlignCenter, strLabel);
        return;
    }
    // Too small for a label inside: a small one on a band above it.
    const QFont font = labelFont(kAbovePointSize);
    const QFontMetrics metrics(font);
    const int nWidth = metrics.horizontalAdvance(strLabel);
    const int nHeight = metrics.height();
    painter.setFont(font);
    painter.setPen(Qt::NoPen);
    painter.setBrush(selectionColor);
    painter.drawRect(QRect(QPoint(area.left() - 2, area.top() - nHeight - 3), QPoint(area.left() + nWidth + 1, area.top())));
    painter.setPen(QPen(QBrush(QColor(210, 210, 210)), 1));
    painter.drawText(area.left(), area.top() - 3, strLabel);
}

}  // namespace QMWidgets
