#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QColor;
class QPainter;

// The batch dialog's ring: the share of the batch done in green, the share of
// bytes saved left green over a magenta pie of the output, and the bytes saved
// as text in the middle.
class CompressProgress : public QWidget
{
    Q_OBJECT
public:
    explicit CompressProgress(QWidget* parent = nullptr);

    void setPercent(const int& percent);
    int percent() const { return m_nPercent; }
    void setSizes(const qint64& inputTotal, const qint64& outputTotal);
    int side() const;

    // A byte count as a number text and a unit: "1.46" and "KB" for 1500.
    static QStringList formatSize(qint64 bytes);
    // 100 - 100 * output / input, rounded half away from zero.
    static int reducedPercent(qint64 inputTotal, qint64 outputTotal);
    // The ring's texts: the number, the unit with " SAVED" and, when both
    // totals are known, "REDUCED: n%".
    static QStringList ringTexts(qint64 inputTotal, qint64 outputTotal);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawPie(QPainter& painter, int percent, const QColor& inner, const QColor& middle,
                 const QColor& outer) const;

    int m_nPercent = 0;
    qint64 m_nInputTotal = 0;
    qint64 m_nOutputTotal = 0;
};
