#pragma once

#include <QFrame>
#include <QString>

class QLabel;
class QSlider;
class QSpinBox;

namespace QMWidgets {

// A title, a horizontal slider and a spin box kept at the same value, with an
// optional suffix label. Every change of value, from either control or from
// setValue, emits sliderMoved exactly once.
class ComboSlider : public QFrame
{
    Q_OBJECT

public:
    explicit ComboSlider(const QString &title, QWidget *parent = nullptr);

    // Slider first, then spin box; connect receivers after set-up, since a
    // range change can pass through a clamped intermediate value.
    void setRange(int minimum, int maximum);
    void setValue(int value);
    int value() const;
    void setSingleStep(int step);          // the slider's; the spin box keeps its own
    void setTickInterval(int interval);
    void setSuffixText(const QString &text);   // empty hides the suffix label

signals:
    void sliderMoved(int value);

public slots:
    void slotSpinValueChanged(int value);

private:
    QLabel *m_pTitleLabel = nullptr;
    QSlider *m_pSlider = nullptr;
    QSpinBox *m_pSpinBox = nullptr;
    QLabel *m_pSuffixLabel = nullptr;
};

} // namespace QMWidgets
