#pragma once

#include <QPushButton>

namespace QMWidgets {

// A checkable push button that reports every change of its checked state,
// by a click or by setChecked, as exactly one of two signals.
class CheckButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CheckButton(QWidget* pParent = nullptr);

signals:
    void onClicked();
    void offClicked();

private slots:
    void slotClicked(bool bChecked);
};

} // namespace QMWidgets
