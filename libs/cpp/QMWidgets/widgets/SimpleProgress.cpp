#include "SimpleProgress.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPointF>
#include <QPolygonF>
#include <QTimerEvent>

namespace QMWidgets {

namespace {

constexpr int kTickMs = 100;        // busy pattern speed: one pixel per tick
constexpr int kStripeCount = 11;    // enough stripes to cross the bar at any step

QLinearGradient verticalGradient(int height, const QColor &edge, const QColor &middle)
{
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0.0, edge);
    gradient.setColorAt(0.5, middle);
    gradient.setColorAt(1.0, edge);
    return gradient;
}

} // namespace

SimpleProgress::SimpleProgress(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setMinimumHeight(20);
    startTimer(kTickMs, Qt::CoarseTimer);
}

void SimpleProgress::setText(const QString &text)
{
    m_strText = text;
}

int SimpleProgress::value() const
{
    return m_nValue;
}

void SimpleProgress::setValue(const int &value)
{
    m_nValue = value;
    if (m_nValue == 0)
        startTimer(kTickMs);
    update();
}

void SimpleProgress::timerEvent(QTimerEvent *event)
{
    if (m_nValue != 0)
        killTimer(event->timerId());

    // The step runs 0 .. W/20 inclusive, then wraps: the pattern repeats
    // every two stripe widths, so the wrap is close enough to seamless.
    if (m_nBusyStep < width() / 20)
        ++m_nBusyStep;
    else
        m_nBusyStep = 0;
    update();
}

void SimpleProgress::paintEvent(QPaintEvent *)
{
    const int w = width();
    const int h = height();

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);

    painter.fillRect(QRect(0, 0, w, h),
                     verticalGradient(h, QColor(100, 100, 100), QColor(150, 150, 150)));

    const QBrush bar(verticalGradient(h, QColor(0, 140, 0), QColor(0, 230, 0)));
    if (m_nValue != 0) {
        // In 64 bits: a large value must not overflow into a short or
        // missing bar. Beyond the edges nothing would show anyway.
        const qint64 barWidth = qint64(w) * m_nValue / 100;
        painter.fillRect(QRect(0, 0, int(qBound<qint64>(0, barWidth, w)), h), bar);
    } else {
        const int v = w / 20;
        const int s = m_nBusyStep;
        painter.setBrush(bar);
        for (int k = 0; k < kStripeCount; ++k) {
            const int x = 2 * k * v + s;
            const QPointF stripe[4] = { QPointF(x - v, 0), QPointF(x, 0),
                                        QPointF(x - 2 * v, h), QPointF(x - 3 * v, h) };
            painter.drawPolygon(stripe, 4, Qt::OddEvenFill);
        }
    }

    QFont font(QStringLiteral("System"));
    font.setPointSize(qMax(1, int(h * 0.8)));
    font.setWeight(50);
    font.setItalic(false);
    painter.setFont(font);
    painter.setPen(QColor(255, 250, 255));
    const QString shown = painter.fontMetrics().elidedText(m_strText, Qt::ElideMiddle, w);
    painter.drawText(QRect(0, 0, w, h), Qt::AlignCenter, shown);
}

} // namespace QMWidgets
