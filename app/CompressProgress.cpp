#include "CompressProgress.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace {

QFont ringFont(int pointSize)
{
    // Small rings would ask for point size 0, which Qt refuses.
    QFont font(QStringLiteral("Lucida"), qMax(1, pointSize), QFont::Normal, false);
    return font;
}

} // namespace

CompressProgress::CompressProgress(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CompressProgress::setPercent(const int& percent)
{
    m_nPercent = percent;
    update();
}

void CompressProgress::setSizes(const qint64& inputTotal, const qint64& outputTotal)
{
    m_nInputTotal = inputTotal;
    m_nOutputTotal = outputTotal;
    update();
}

int CompressProgress::side() const
{
    return qMin(width(), height());
}

QStringList CompressProgress::formatSize(qint64 bytes)
{
    static const char* const units[] = {"B", "KB", "MB", "GB", "TB"};
    float value = float(bytes);
    int unit = 0;
    while (value > 1023 && unit < 4) {
        value = value / 1024;
        ++unit;
    }
    QString number;
    if (value < 10)
        number = QString::number(double(value), 'f', 2);
    else if (value < 100)
        number = QString::number(double(value), 'f', 1);
    else
        number = QString::number(qint64(std::round(double(value))));
    return {number, QString::fromLatin1(units[unit])};
}

int CompressProgress::reducedPercent(qint64 inputTotal, qint64 outputTotal)
{
    return int(std::round(100.0 - 100.0 * double(outputTotal) / double(inputTotal)));
}

QStringList CompressProgress::ringTexts(qint64 inputTotal, qint64 outputTotal)
{
    const QStringList saved = formatSize(inputTotal - outputTotal);
    QStringList texts{saved.at(0), saved.at(1) + QStringLiteral(" SAVED")};
    if (inputTotal != 0 && outputTotal != 0)
        texts << QStringLiteral("REDUCED: ") + QString::number(reducedPercent(inputTotal, outputTotal))
                     + QLatin1Char('%');
    return texts;
}

void CompressProgress::drawPie(QPainter& painter, int percent, const QColor& inner,
                               const QColor& middle, const QColor& outer) const
{
    const int s = side();
    const int left = (width() - s) / 2;
    const int top = (height() - s) / 2;
    const int right = left + s - 1;
    const int bottom = top + s - 1;
    const QPointF centre((left + right) / 2, (top + bottom) / 2);
    QRadialGradient gradient(centre, s / 2, centre);
    gradient.setColorAt(0, inner);
    gradient.setColorAt(0.9, middle);
    gradient.setColorAt(1, outer);
    painter.setBrush(gradient);
    painter.drawPie(QRect(left, top, s, s), 1440, -int(percent * 3.6 * 16));
}

void CompressProgress::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    const int s = side();
    const int w = width();
    const int h = height();

    drawPie(painter, 100, QColor(70, 70, 70), QColor(200, 200, 200), QColor(100, 100, 100));
    drawPie(painter, m_nPercent, QColor(0, 10, 0), QColor(0, 100, 0), QColor(0, 255, 0));
    const bool totalsKnown = m_nInputTotal != 0 && m_nOutputTotal != 0;
    if (totalsKnown) {
        const int outputShare = int(m_nPercent * double(m_nOutputTotal) / double(m_nInputTotal));
        drawPie(painter, outputShare, QColor(10, 0, 10), QColor(100, 0, 10), QColor(255, 0, 255));
    }

    const int d = s - s / 10;
    painter.setBrush(QColor(45, 45, 45));
    painter.drawEllipse(QRect((w - d) / 2, (h - d) / 2, d, d));

    const QStringList texts = ringTexts(m_nInputTotal, m_nOutputTotal);
    painter.setPen(QColor(0, 210, 0));
    painter.setFont(ringFont(s / 5));
    painter.drawText(rect(), Qt::AlignCenter, texts.at(0));
    painter.setFont(ringFont(s / 14));
    painter.drawText(QRect(0, h / 2, w, h / 2), Qt::AlignCenter, texts.at(1));
    if (texts.size() > 2) {
        painter.setFont(ringFont(s / 26));
        painter.drawText(QRect(0, 0, w, h / 2), Qt::AlignCenter, texts.at(2));
    }
}
