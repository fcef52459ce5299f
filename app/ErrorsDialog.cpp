#include "ErrorsDialog.h"

#include "WidgetFunctions.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

ErrorsDialog::ErrorsDialog(QWidget* parent)
    : QDialog(parent)
    , m_pTextEdit(new QTextEdit(this))
{
    setWindowTitle(tr("ERRORS LOG"));
    m_pTextEdit->setReadOnly(true);
    m_pTextEdit->setObjectName(QStringLiteral("ErrorsText"));

    auto* okButton = new QPushButton(tr("&Ok"), this);
    QMWidgets::makeFlatPushButton(okButton);
    connect(okButton, SIGNAL(clicked()), this, SLOT(accept()));

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(okButton);
    buttonRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pTextEdit);
    layout->addLayout(buttonRow);
}

void ErrorsDialog::setText(const QString& text)
{
    m_pTextEdit->setPlainText(text);
}
