#pragma once

#include <QPushButton>

namespace QMWidgets {

// A push button that writes the word "Menu" in white over its lower half,
// below whatever the button itself shows.
class MenuButton : public QPushButton
{
    Q_OBJECT

public:
    explicit MenuButton(const QString& strText, QWidget* pParent = nullptr);
    explicit MenuButton(QWidget* pParent = nullptr);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
};

} // namespace QMWidgets
