#include "InputDialog.h"

#include "App.h"
#include "WidgetFunctions.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>

namespace QMWidgets {

InputDialog::InputDialog(const QString& strLabel, QWidget* pParent, Qt::WindowFlags flags, int nInputMode)
    : QDialog(pParent, flags)
{
    setObjectName(QStringLiteral("InputDialog"));

    m_pSpinBox = new QSpinBox;
    m_pLineEdit = new QLineEdit;
    m_pLineEdit->setFixedHeight(32);
    m_pOkButton = new QPushButton(tr("Ok"));
    m_pCancelButton = new QPushButton(QStringLiteral("Cancel"));
    makeFlatPushButton(m_pOkButton);
    makeFlatPushButton(m_pCancelButton);
    m_pStack = new QStackedWidget;
    m_pStack->addWidget(m_pSpinBox);
    m_pStack->addWidget(m_pLineEdit);

    auto* pContent = new QVBoxLayout;
    pContent->addWidget(new QLabel(strLabel));
    pContent->addWidget(m_pStack);

    // A row of buttons does not fit a small screen's width.
    QBoxLayout* pButtons = App::isSmallScreen() ? static_cast<QBoxLayout*>(new QVBoxLayout)
                                                : static_cast<QBoxLayout*>(new QHBoxLayout);
    pButtons->addStretch(1);
    pButtons->addWidget(m_pOkButton);
    pButtons->addWidget(m_pCancelButton);

    auto* pLayout = new QVBoxLayout;
    pLayout->setContentsMargins(10, 10, 10, 10);
    pLayout->setSpacing(7);
    pLayout->addLayout(pContent);
    pLayout->addLayout(pButtons);
    setLayout(pLayout);

    setInputMode(nInputMode);
    connect(m_pOkButton, SIGNAL(clicked()), this, SLOT(accept()));
    connect(m_pCancelButton, SIGNAL(clicked()), this, SLOT(reject()));
}

void InputDialog::setInputMode(int nMode)
{
    m_nInputMode = nMode;
    QWidget* pInput = nullptr;
    if (nMode == IntInput)
        pInput = m_pSpinBox;
    else if (nMode == TextInput)
        pInput = m_pLineEdit;
    if (!pInput)
        return;
    m_pStack->setCurrentWidget(pInput);
    pInput->setFocus(Qt::OtherFocusReason);
}

int InputDialog::inputMode() const
{
    return m_nInputMode;
}

QSpinBox* InputDialog::spinBox() const
{
    return m_pSpinBox;
}

QLineEdit* InputDialog::lineEdit() const
{
    return m_pLineEdit;
}

void InputDialog::accept()
{
    QDialog::accept();
}

void InputDialog::reject()
{
    QDialog::reject();
}

QString InputDialog::getText(QWidget* pParent, const QString& strTitle, const QString& strLabel,
                             QLineEdit::EchoMode echoMode, const QString& strText, bool* pOk, Qt::WindowFlags flags)
{
    // Held weakly across exec: the parent may go, and the dialog with it.
    QPointer<InputDialog> pDialog = new InputDialog(strLabel, pParent, flags, TextInput);
    pDialog->setWindowTitle(strTitle);
    pDialog->m_pLineEdit->setEchoMode(echoMode);
    pDialog->m_pLineEdit->setText(strText);
    pDialog->m_pLineEdit->setFocus();
    const int nResult = pDialog->exec();
    if (pOk)
        *pOk = nResult == QDialog::Accepted;
    if (!pDialog)
        return QString();
    const QString strResult = pDialog->m_pLineEdit->text();
    delete pDialog;
    return strResult;
}

int InputDialog::getInt(QWidget* pParent, const QString& strTitle, const QString& strLabel, int nValue,
                        int nMinimum, int nMaximum, int nStep, bool* pOk, Qt::WindowFlags flags)
{
    QPointer<InputDialog> pDialog = new InputDialog(strLabel, pParent, flags, IntInput);
    pDialog->setWindowTitle(strTitle);
    // The range first, so that a value outside the default 0 to 99 stays.
    pDialog->m_pSpinBox->setRange(nMinimum, nMaximum);
    pDialog->m_pSpinBox->setValue(nValue);
    pDialog->m_pSpinBox->setSingleStep(nStep);
    const int nResult = pDialog->exec();
    if (pOk)
        *pOk = nResult == QDialog::Accepted;
    if (!pDialog)
        return nValue;
    const int nResultValue = pDialog->m_pSpinBox->value();
    delete pDialog;
    return nResultValue;
}

} // namespace QMWidgets
