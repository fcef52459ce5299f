#include "NoteEditWidget.h"

#include "App.h"
#include "WidgetFunctions.h"

#include <QFontInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace QMWidgets {

namespace {

constexpr int kSizeStep = 5;

QPushButton* newFlatButton(const QString& strName, const QString& strToolTip)
{
    auto* pButton = new QPushButton;
    pButton->setFlat(true);
    setObjectNameAndToolTip(pButton, strName, strToolTip);
    return pButton;
}

}  // namespace

NoteEditWidget::NoteEditWidget(QWidget* pParent)
    : QWidget(pParent)
{
    // A new note box makes the work folder the next save dialog's start.
    if (App* pApp = App::instance())
        pApp->setLastSavePath(App::workDirectory(true));

    setObjectName(QStringLiteral("NoteEditWidget"));
    m_pAcceptButton = newFlatButton(QStringLiteral("NoteEditWidgetAccept"), tr("Accept"));
    m_pRejectButton = newFlatButton(QStringLiteral("NoteEditWidgetReject"), tr("Cancel"));
    QPushButton* pIncrease = newFlatButton(QStringLiteral("NoteEditWidgetInc"), tr("Increase"));
    QPushButton* pDecrease = newFlatButton(QStringLiteral("NoteEditWidgetDec"), tr("Decrease"));
    connect(pIncrease, SIGNAL(clicked()), this, SLOT(slotIncrease()));
    connect(pDecrease, SIGNAL(clicked()), this, SLOT(slotDecrease()));
    connect(m_pRejectButton, SIGNAL(clicked()), this, SIGNAL(cancelClicked()));
    connect(m_pAcceptButton, SIGNAL(clicked()), this, SIGNAL(okClicked()));

    m_pTextEdit = new QTextEdit;
    m_pTextEdit->setAttribute(Qt::WA_TranslucentBackground);

    auto* pButtonRow = new QHBoxLayout;
    pButtonRow->setMargin(0);
    pButtonRow->setSpacing(0);
    pButtonRow->addWidget(m_pAcceptButton);
    pButtonRow->addWidget(m_pRejectButton);
    pButtonRow->addStretch(1);
    pButtonRow->addWidget(pIncrease);
    pButtonRow->addWidget(pDecrease);

    auto* pLayout = new QVBoxLayout;
    pLayout->setMargin(0);
    pLayout->setSpacing(0);
    pLayout->addWidget(m_pTextEdit);
    pLayout->addLayout(pButtonRow);
    setLayout(pLayout);
}

void NoteEditWidget::hideAll()
{
    hide();
    m_pTextEdit->hide();
    m_pAcceptButton->hide();
    m_pRejectButton->hide();
}

void NoteEditWidget::showAll()
{
    show();
    m_pTextEdit->show();
    m_pAcceptButton->show();
    m_pRejectButton->show();
    m_pTextEdit->setFocus(Qt::OtherFocusReason);
}

QTextEdit* NoteEditWidget::textEdit() const
{
    return m_pTextEdit;
}

qreal NoteEditWidget::fontPointSize() const
{
    return m_pTextEdit->fontPointSize();
}

void NoteEditWidget::slotIncrease()
{
    changePointSize(kSizeStep);
}

void NoteEditWidget::slotDecrease()
{
    changePointSize(-kSizeStep);
}

void NoteEditWidget::changePointSize(int nStep)
{
    m_pTextEdit->selectAll();
    const QFont font = m_pTextEdit->currentFont();
    // A font sized in pixels reports no point size; its rendered size counts.
    qreal size = font.pointSizeF();
    if (size <= 0)
        size = QFontInfo(font).pointSizeF();
    const qreal newSize = size + nStep;
    if (newSize <= 0)
        return;
    m_pTextEdit->setFontPointSize(newSize);
}

}  // namespace QMWidgets
