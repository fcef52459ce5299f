#pragma once

#include <QFrame>

namespace QMWidgets {

// Share buttons: Facebook and Twitter (through the maker's share redirector),
// LinkedIn and VKontakte (kept hidden), and e-mail.
class TellWidget : public QFrame
{
    Q_OBJECT
public:
    explicit TellWidget(QWidget* pParent = nullptr);
    ~TellWidget() override;

private slots:
    void slotLinkedinClicked();
    void slotFaceBookClicked();
    void slotTwitterClicked();
    void slotVKontakteClicked();
    void slotEmailClicked();
};

} // namespace QMWidgets
