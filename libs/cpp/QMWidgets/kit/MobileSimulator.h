#pragma once

#include <QFrame>

class QHBoxLayout;

namespace QMWidgets {

// A frame that holds a widget with a small margin, named "MobileSimulator"
// for the style sheet.
class MobileSimulator : public QFrame
{
    Q_OBJECT

public:
    explicit MobileSimulator(QWidget* pParent = nullptr);

    // Adds the widget to the frame; a second call adds a second widget.
    void setWidget(QWidget* pWidget);

private:
    QHBoxLayout* m_pLayout = nullptr;
    QWidget* m_pContent = nullptr;
};

} // namespace QMWidgets
