#pragma once

#include <QDialog>

namespace QMWidgets {

// The follow panel on demand, with a close button.
class JoinDialog : public QDialog
{
    Q_OBJECT
public:
    explicit JoinDialog(QWidget* pParent = nullptr);
    ~JoinDialog() override;
};

} // namespace QMWidgets
