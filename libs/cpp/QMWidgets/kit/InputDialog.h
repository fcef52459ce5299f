#pragma once

#include <QDialog>
#include <QLineEdit>

class QPushButton;
class QSpinBox;
class QStackedWidget;

namespace QMWidgets {

// A small modal dialog that asks for one value, an integer or a line of
// text, under a label; its buttons stack vertically on a small screen.
class InputDialog : public QDialog
{
    Q_OBJECT

public:
    enum InputMode { IntInput = 0, TextInput = 1 };

    InputDialog(const QString& strLabel, QWidget* pParent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags(),
                int nInputMode = TextInput);

    // Shows the matching input and gives it the focus; other values are
    // kept but switch nothing.
    void setInputMode(int nMode);
    int inputMode() const;
    QSpinBox* spinBox() const;
    QLineEdit* lineEdit() const;

    // Both return the value also when the dialog is cancelled; *pOk (when
    // given) tells whether it was accepted.
    static QString getText(QWidget* pParent, const QString& strTitle, const QString& strLabel,
                           QLineEdit::EchoMode echoMode = QLineEdit::Normal, const QString& strText = QString(),
                           bool* pOk = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    static int getInt(QWidget* pParent, const QString& strTitle, const QString& strLabel, int nValue = 0,
                      int nMinimum = -2147483647, int nMaximum = 2147483647, int nStep = 1, bool* pOk = nullptr,
                      Qt::WindowFlags flags = Qt::WindowFlags());

protected slots:
    void accept() override;
    void reject() override;

private:
    QSpinBox* m_pSpinBox = nullptr;
    QLineEdit* m_pLineEdit = nullptr;
    QPushButton* m_pOkButton = nullptr;
    QPushButton* m_pCancelButton = nullptr;
    QStackedWidget* m_pStack = nullptr;
    int m_nInputMode = TextInput;
};

} // namespace QMWidgets
