#include "RoundProgress.h"

#include <QPainter>
#include <QRadialGradient>

#include <limits>

namespace QMWidgets {

RoundProgress::RoundProgress(QWidget* pParent)
    : QWidget(pParent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

int RoundProgress::value() const
{
    return m_nValue;
}

void RoundProgress::setValue(const int& nValue)
{
    m_nValue = nValue;
    update();
}

int RoundProgress::pieSpan(int nValue)
{
    const float fDegreesPerPercent = 3.6f;
    // Values of many turns are drawn as the full circle anyway; the product
    // is held within int's range, whose overflow on conversion is undefined.
    const double dSpan = double(nValue) * double(fDegreesPerPercent) * 16.0;
    const double dLimit = std::numeric_limits<int>::max();
    return -static_cast<int>(qBound(-dLimit, dSpan, dLimit));
}

void RoundProgress::paintEvent(QPaintEvent* /*pEvent*/)
{
    const int nW = width();
    const int nH = height();
    const int nSide = qMin(nW, nH);
    const int nLeft = (nW - nSide) / 2;
    const int nTop = (nH - nSide) / 2;
    const QRect square(nLeft, nTop, nSide, nSide);
    const QPointF centre((2 * nLeft + nSide - 1) / 2, (2 * nTop + nSide - 1) / 2);
    const qreal radius = nSide / 2;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    QRadialGradient background(centre, radius, centre);
    background.setColorAt(0, QColor(70, 70, 70));
    background.setColorAt(0.9, QColor(200, 200, 200));
    background.setColorAt(1, QColor(100, 100, 100));
    painter.setBrush(background);
    painter.drawEllipse(square);

    QRadialGradient progress(centre, radius, centre);
    progress.setColorAt(0, QColor(0, 10, 0));
    progress.setColorAt(0.9, QColor(0, 100, 0));
    progress.setColorAt(1, QColor(0, 255, 0));
    painter.setBrush(progress);
    painter.drawPie(square, 90 * 16, pieSpan(m_nValue));

    const int nInner = nSide - nSide / 10;
    painter.setBrush(QColor(45, 45, 45));
    painter.drawEllipse(QRect((nW - nInner) / 2, (nH - nInner) / 2, nInner, nInner));

    QFont font(QStringLiteral("System"), qMax(1, nSide / 3), 50, false);
    painter.setFont(font);
    painter.setPen(QColor(0, 210, 0));
    painter.drawText(rect(), Qt::AlignCenter, QString::number(m_nValue) + QLatin1Char('%'));
}

} // namespace QMWidgets
