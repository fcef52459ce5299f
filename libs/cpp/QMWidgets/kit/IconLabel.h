#pragma once

#include <QLabel>

namespace QMWidgets {

// The icon beside a frameless window's title bar.
class IconLabel : public QLabel
{
    Q_OBJECT

public:
    explicit IconLabel(QWidget* pParent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
};

} // namespace QMWidgets
