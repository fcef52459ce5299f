#pragma once

#include <QDialog>

namespace QMWidgets {

// The share panel on demand, with a thank-you message and a close button.
class TellDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TellDialog(QWidget* pParent = nullptr);
    ~TellDialog() override;
};

} // namespace QMWidgets
