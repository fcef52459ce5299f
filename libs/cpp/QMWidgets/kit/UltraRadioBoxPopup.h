#pragma once

#include <QWidget>

namespace QMWidgets {

// The drop-down window of an ultra radio box; it closes itself when another
// window becomes active.
class UltraRadioBoxPopup : public QWidget
{
    Q_OBJECT

public:
    UltraRadioBoxPopup(QWidget* pParent, Qt::WindowFlags flags);

    bool isHovered() const;

protected:
    bool event(QEvent* pEvent) override;
    void enterEvent(QEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;

private:
    bool m_bHovered = false;
};

}  // namespace QMWidgets
