#include "TellDialog.h"

#include "App.h"
#include "TellWidget.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace QMWidgets {

TellDialog::TellDialog(QWidget* pParent)
    : QDialog(pParent, Qt::WindowFlags())
{
    setWindowTitle("Share " + QCoreApplication::applicationName());
    setObjectName("Dialog");

    const bool bSmall = App::isSmallScreen();
    auto* pLabelMessage = new QLabel();
    pLabelMessage->setText(QString("<CENTER>") + (bSmall ? "<H4>" : "<H2>") + tr("If you like the app")
                           + tr("<br>please share it with<br>your friends.<br>Thanks!") + (bSmall ? "</H4>" : "</H2>")
                           + "</CENTER>");

    auto* pButtonClose = new QPushButton(tr("&Close"));
    pButtonClose->setMinimumHeight(32);
    pButtonClose->setFlat(true);
    pButtonClose->setObjectName("PushButton");
    connect(pButtonClose, SIGNAL(clicked()), this, SLOT(accept()));

    auto* pTellWidget = new TellWidget();

    auto* pLayoutRow = new QHBoxLayout();
    pLayoutRow->setSpacing(7);
    pLayoutRow->setContentsMargins(15, 15, 15, 15);
    pLayoutRow->addStretch(1);
    pLayoutRow->addWidget(pTellWidget);
    pLayoutRow->addStretch(1);

    QBoxLayout* pLayoutButtons = bSmall ? static_cast<QBoxLayout*>(new QVBoxLayout())
                                        : static_cast<QBoxLayout*>(new QHBoxLayout());
    pLayoutButtons->setContentsMargins(10, 10, 10, 10);
    pLayoutButtons->setSpacing(7);
    pLayoutButtons->addStretch(1);
    pLayoutButtons->addWidget(pButtonClose);
    pLayoutButtons->addStretch(1);

    auto* pLayout = new QVBoxLayout();
    pLayout->setSpacing(7);
    pLayout->setContentsMargins(10, 10, 10, 10);
    pLayout->addWidget(pLabelMessage);
    pLayout->addLayout(pLayoutRow);
    pLayout->addLayout(pLayoutButtons);
    setLayout(pLayout);
}

TellDialog::~TellDialog() = default;

} // namespace QMWidgets
