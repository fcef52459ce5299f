#pragma once

#include <QWidget>

namespace QMWidgets {

// A painted round gauge: a grey disc, a green pie growing clockwise from
// twelve o'clock, a dark inner disc and the value with "%". The gauge stays
// round and centred in any shape; the value is shown as set, unclamped.
class RoundProgress : public QWidget
{
    Q_OBJECT

public:
    explicit RoundProgress(QWidget* pParent = nullptr);

    int value() const;
    void setValue(const int& nValue);

    // The pie's span for a value in sixteenths of a degree, negative for
    // clockwise. 3.6 is taken in single precision and the product truncated,
    // so 100 stops one sixteenth short of the full circle; gauges drawn
    // before rely on these exact spans.
    static int pieSpan(int nValue);

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    int m_nValue = 0;
};

} // namespace QMWidgets
