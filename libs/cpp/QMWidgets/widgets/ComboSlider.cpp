#include "ComboSlider.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>

namespace QMWidgets {

ComboSlider::ComboSlider(const QString &title, QWidget *parent)
    : QFrame(parent)
{
    m_pTitleLabel = new QLabel(title);
    m_pSlider = new QSlider(Qt::Horizontal);
    m_pSpinBox = new QSpinBox;
    m_pSuffixLabel = new QLabel(QString());
    m_pSuffixLabel->hide();

    m_pSlider->setTickPosition(QSlider::TicksBothSides);
    m_pSlider->setTickInterval(20);

    if (title.isEmpty())
        m_pTitleLabel->hide();

    connect(m_pSlider, SIGNAL(valueChanged(int)), m_pSpinBox, SLOT(setValue(int)));
    connect(m_pSpinBox, SIGNAL(valueChanged(int)), this, SLOT(slotSpinValueChanged(int)));

    auto *layout = new QHBoxLayout;
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pTitleLabel);
    layout->addWidget(m_pSlider);
    layout->addWidget(m_pSpinBox);
    layout->addWidget(m_pSuffixLabel);
    setLayout(layout);
}

void ComboSlider::setRange(int minimum, int maximum)
{
    m_pSlider->setRange(minimum, maximum);
    m_pSpinBox->setRange(minimum, maximum);
}

void ComboSlider::setValue(int value)
{
    m_pSlider->setValue(value);
    m_pSpinBox->setValue(value);
}

int ComboSlider::value() const
{
    return m_pSlider->value();
}

void ComboSlider::setSingleStep(int step)
{
    m_pSlider->setSingleStep(step);
}

void ComboSlider::setTickInterval(int interval)
{
    m_pSlider->setTickInterval(interval);
}

void ComboSlider::setSuffixText(const QString &text)
{
    if (text.isEmpty()) {
        m_pSuffixLabel->hide();
        return;
    }
    m_pSuffixLabel->setText(text);
    m_pSuffixLabel->show();
}

void ComboSlider::slotSpinValueChanged(int value)
{
    // The slider is set silently so its valueChanged does not loop back into
    // the spin box; the one notification is ours.
    m_pSlider->blockSignals(true);
    m_pSlider->setValue(value);
    emit sliderMoved(value);
    m_pSlider->blockSignals(false);
}

} // namespace QMWidgets
