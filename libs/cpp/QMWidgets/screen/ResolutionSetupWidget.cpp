#include "ResolutionSetupWidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace QMWidgets {

namespace {

constexpr int kSmallestSide = 100;
constexpr int kLargestSide = 30000;
constexpr int kTimesLabelWidth = 10;

QSpinBox* newSideBox()
{
    auto* pBox = new QSpinBox;
    pBox->setRange(kSmallestSide, kLargestSide);
    return pBox;
}

QHBoxLayout* newRow()
{
    auto* pLayout = new QHBoxLayout;
    pLayout->setMargin(1);
    pLayout->setSpacing(1);
    return pLayout;
}

}  // namespace

ResolutionSetupWidget::ResolutionSetupWidget(QWidget* pParent)
    : QGroupBox(pParent)
{
    m_pSlider = new QSlider(Qt::Horizontal);
    m_pSlider->setTickInterval(1);
    m_pSlider->setTickPosition(QSlider::TicksBelow);
    // No presets yet: the slider has nowhere to go.
    m_pSlider->setRange(0, 0);
    m_pWidthBox = newSideBox();
    m_pHeightBox = newSideBox();

    QHBoxLayout* pSliderRow = newRow();
    pSliderRow->addWidget(new QLabel(tr("Low")));
    pSliderRow->addWidget(m_pSlider);
    pSliderRow->addWidget(new QLabel(tr("High")));

    auto* pTimes = new QLabel(QStringLiteral("x"));
    pTimes->setMaximumWidth(kTimesLabelWidth);
    QHBoxLayout* pSizeRow = newRow();
    pSizeRow->addWidget(m_pWidthBox);
    pSizeRow->addWidget(pTimes);
    pSizeRow->addWidget(m_pHeightBox);

    auto* pLayout = new QVBoxLayout;
    pLayout->setMargin(1);
    pLayout->setSpacing(1);
    pLayout->addLayout(pSliderRow);
    pLayout->addLayout(pSizeRow);
    setLayout(pLayout);

    connect(m_pSlider, SIGNAL(valueChanged(int)), this, SLOT(slotValueChanged(int)));
}

void ResolutionSetupWidget::addResolution(const QSize& size)
{
    m_widths.append(size.width());
    m_heights.append(size.height());
    m_pSlider->setRange(0, m_widths.size() - 1);
    m_pWidthBox->setValue(m_widths.first());
    m_pHeightBox->setValue(m_heights.first());
}

QSize ResolutionSetupWidget::resolution() const
{
    return QSize(m_pWidthBox->value(), m_pHeightBox->value());
}

void ResolutionSetupWidget::slotValueChanged(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_widths.size())
        return;
    m_pWidthBox->setValue(m_widths.at(nIndex));
    m_pHeightBox->setValue(m_heights.at(nIndex));
    emit resolutionChanged(resolution());
}

}  // namespace QMWidgets
