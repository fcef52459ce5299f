#pragma once

#include <QWidget>

class QAbstractButton;
class QBoxLayout;

namespace QMWidgets {

// Checkable buttons in a row or column of which exactly the last clicked one
// stays checked.
class RadioBox : public QWidget
{
    Q_OBJECT

public:
    // The direction is a QBoxLayout::Direction.
    explicit RadioBox(int nDirection, QWidget* pParent = nullptr);

    void addButton(QAbstractButton* pButton);

private slots:
    void slotButtonClicked();

private:
    QBoxLayout* m_pLayout = nullptr;
};

}  // namespace QMWidgets
