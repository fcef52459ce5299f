#pragma once

#include <QLabel>

namespace QMWidgets {

// A half-transparent, frameless, always-on-top window with a text and a
// loading animation, for waits the user should see.
class WaitLabel : public QLabel
{
    Q_OBJECT

public:
    explicit WaitLabel(const QString& strText, QWidget* pParent = nullptr);
};

} // namespace QMWidgets
