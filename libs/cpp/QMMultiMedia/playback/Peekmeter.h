#ifndef QMMULTIMEDIA_PEEKMETER_H
#define QMMULTIMEDIA_PEEKMETER_H

#include <QWidget>

class QPainter;

namespace QMMultiMedia {

// A level meter: a red bar rising from the bottom, empty at level -70 and
// full at 10. Levels outside that scale are clamped to it.
class Peekmeter : public QWidget
{
    Q_OBJECT

public:
    explicit Peekmeter(QWidget *parent = nullptr);

    int value() const;
    // (level + 70) * 100 / 80, 0 to 100.
    int percent() const;

public slots:
    // Stores the clamped level and repaints at once.
    void slotSetValue(int level);

protected:
    void paintEvent(QPaintEvent *event) override;
    // Fills the bottom percent() of the widget's height with red; paints
    // nothing else.
    virtual void drawMeter(QPainter *painter);

private:
    int m_nValue = -70;
};

} // namespace QMMultiMedia

#endif
