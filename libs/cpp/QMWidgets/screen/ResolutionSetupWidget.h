#pragma once

#include <QGroupBox>
#include <QSize>
#include <QVector>

class QSlider;
class QSpinBox;

namespace QMWidgets {

// A group of preset resolutions: a slider from "Low" to "High" over the
// presets and two spin boxes that show, and can change, the chosen width and
// height (100 to 30000 each).
class ResolutionSetupWidget : public QGroupBox
{
    Q_OBJECT

public:
    explicit ResolutionSetupWidget(QWidget* pParent = nullptr);

    void addResolution(const QSize& size);
    QSize resolution() const;

signals:
    void resolutionChanged(QSize size);

private slots:
    void slotValueChanged(int nIndex);

private:
    QVector<int> m_widths;
    QVector<int> m_heights;
    QSlider* m_pSlider = nullptr;
    QSpinBox* m_pWidthBox = nullptr;
    QSpinBox* m_pHeightBox = nullptr;
};

}  // namespace QMWidgets
