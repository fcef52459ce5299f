#pragma once

#include <QDialog>

class QTextEdit;

// Shows the error log of a batch.
class ErrorsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ErrorsDialog(QWidget* parent = nullptr);

    void setText(const QString& text);
    QTextEdit* textEdit() const { return m_pTextEdit; }

private:
    QTextEdit* m_pTextEdit = nullptr;
};
