#include "DateWidget.h"

#include "Calendar.h"

#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QSignalBlocker>

namespace QMWidgets {

namespace {
constexpr int kDays = 31;
constexpr int kYears = 131;

int selectIndex(int n)
{
    return n <= 0 ? 0 : n - 1;
}
} // namespace

DateWidget::DateWidget(int nYearOffset, QWidget* pParent)
    : QWidget(pParent)
{
    setMinimumWidth(300);
    m_pDayBox = new QComboBox;
    m_pMonthBox = new QComboBox;
    m_pYearBox = new QComboBox;
    m_pDayBox->setMinimumWidth(50);
    m_pDayBox->setMaximumWidth(80);
    m_pMonthBox->setMinimumWidth(90);
    m_pMonthBox->setMaximumWidth(110);
    m_pYearBox->setMinimumWidth(70);
    m_pYearBox->setMaximumWidth(90);

    for (int nDay = 1; nDay <= kDays; ++nDay)
        m_pDayBox->addItem(QString::number(nDay));
    for (int nMonth = 1; nMonth <= 12; ++nMonth)
        m_pMonthBox->addItem(MTools::monthName(nMonth));
    const int nTopYear = QDate::currentDate().year() + nYearOffset;
    m_pYearBox->addItem(QString());
    for (int i = 0; i < kYears; ++i)
        m_pYearBox->addItem(QString::number(nTopYear - i));

    connect(m_pDayBox, SIGNAL(currentIndexChanged(int)), this, SIGNAL(dataChanged()));
    connect(m_pMonthBox, SIGNAL(currentIndexChanged(int)), this, SIGNAL(dataChanged()));
    connect(m_pYearBox, SIGNAL(currentIndexChanged(int)), this, SIGNAL(dataChanged()));
    connect(m_pMonthBox, SIGNAL(currentIndexChanged(int)), this, SLOT(slotMonthChanged(int)));

    auto* pLayout = new QHBoxLayout;
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->setSpacing(1);
    pLayout->addWidget(m_pDayBox);
    pLayout->addWidget(m_pMonthBox);
    pLayout->addWidget(m_pYearBox);
    pLayout->addStretch();
    setLayout(pLayout);
}

int DateWidget::day() const
{
    return m_pDayBox->currentIndex() + 1;
}

int DateWidget::month() const
{
    return m_pMonthBox->currentIndex() + 1;
}

int DateWidget::year() const
{
    bool bOk = false;
    const int nYear = m_pYearBox->currentText().toInt(&bOk);
    return bOk ? nYear : -1;
}

void DateWidget::setDay(int nDay)
{
    const int nIndex = selectIndex(nDay);
    m_pDayBox->setCurrentIndex(nIndex < m_pDayBox->count() ? nIndex : -1);
}

void DateWidget::setMonth(int nMonth)
{
    const int nIndex = selectIndex(nMonth);
    m_pMonthBox->setCurrentIndex(nIndex < m_pMonthBox->count() ? nIndex : -1);
}

void DateWidget::setYear(int nYear)
{
    if (nYear <= 0)
        return;
    m_pYearBox->setCurrentIndex(m_pYearBox->findText(QString::number(nYear), Qt::MatchExactly));
}

void DateWidget::setDayOnly(bool bDayOnly)
{
    m_pMonthBox->setVisible(!bDayOnly);
    m_pYearBox->setVisible(!bDayOnly);
}

void DateWidget::reset()
{
    const QSignalBlocker dayBlocker(m_pDayBox);
    const QSignalBlocker monthBlocker(m_pMonthBox);
    const QSignalBlocker yearBlocker(m_pYearBox);
    m_pYearBox->setCurrentIndex(0);
    m_pMonthBox->setCurrentIndex(0);
    m_pDayBox->setCurrentIndex(0);
}

void DateWidget::slotMonthChanged(int /*nIndex*/)
{
    // The day list stays at 31 days for every month, on purpose: a day
    // chosen before the month is never taken away.
}

} // namespace QMWidgets
