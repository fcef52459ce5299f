#pragma once

#include <QWidget>

class QComboBox;

namespace QMWidgets {

// Picks a calendar date with three combo boxes: day (1 to 31, whatever the
// month), month (translated names) and year (an empty first item, then 131
// years downwards from the current year plus an offset). A box without a
// current item reads as 0 (day, month); the empty or no year reads as -1.
class DateWidget : public QWidget
{
    Q_OBJECT

public:
    // The current year is read once, here.
    explicit DateWidget(int nYearOffset = 0, QWidget* pParent = nullptr);

    int day() const;
    int month() const;
    int year() const;
    // 0 or less selects the first item; a number past the end leaves the
    // box without a current item.
    void setDay(int nDay);
    void setMonth(int nMonth);
    // Selects the year's item; nothing for 0 or less, no current item for
    // a year outside the list.
    void setYear(int nYear);
    // true shows the day only.
    void setDayOnly(bool bDayOnly);
    // The empty year, the first month and day 1, without dataChanged().
    void reset();

signals:
    void dataChanged();

private slots:
    void slotMonthChanged(int nIndex);

private:
    QComboBox* m_pDayBox = nullptr;
    QComboBox* m_pMonthBox = nullptr;
    QComboBox* m_pYearBox = nullptr;
};

} // namespace QMWidgets
