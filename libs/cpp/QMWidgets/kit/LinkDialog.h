#pragma once

#include <QDialog>

class QCheckBox;

namespace QMWidgets {

// Invites the user to watch the product's video introduction: "Yes" opens
// the tutorial page of the maker's site (in the interface language where
// there is one), "No" declines. Its check box keeps the negation of the
// setting "ShowTutoralDialog", stored at once; whether to offer the dialog
// at all is the application's decision.
//
// The framework's application object holds that setting and the interface
// language; without one the box starts unticked, ticking stores nothing, and
// "Yes" opens the English page.
class LinkDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LinkDialog(QWidget* pParent = nullptr);

public slots:
    void slotGoToLink();
    void slotReject();
    void slotRememberToggled(bool bChecked);

private:
    QCheckBox* m_pDontShowCheckBox = nullptr;
};

} // namespace QMWidgets
