#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace QMWidgets {

// A field for an e-mail address with a send-ecard and a send-email button
// beside it, enabled only while the whole text is a well-formed address.
// It sends nothing itself: the buttons hand the address to the owner.
class EmailEdit : public QWidget
{
    Q_OBJECT

public:
    explicit EmailEdit(QWidget* pParent = nullptr);

    void setText(const QString& strText);
    QString text() const;

signals:
    void sendEmail(const QString& strAddress);
    void sendECard(const QString& strAddress);
    void textChanged(const QString& strText);

protected slots:
    void slotSendEmail();
    void slotSendECard();
    void slotTextChanged();

private:
    void enableButtons();

    QLineEdit* m_pLineEdit = nullptr;
    QPushButton* m_pECardButton = nullptr;
    QPushButton* m_pEmailButton = nullptr;
};

} // namespace QMWidgets
