#include "JoinDialog.h"

#include "App.h"
#include "JoinWidget.h"

#include <QBoxLayout>
#include <QPushButton>

namespace QMWidgets {

JoinDialog::JoinDialog(QWidget* pParent)
    : QDialog(pParent, Qt::WindowFlags())
{
    setWindowTitle(tr("Join us"));
    setObjectName("Dialog");

    auto* pButtonClose = new QPushButton(tr("&Close"));
    pButtonClose->setMinimumHeight(32);
    pButtonClose->setFlat(true);
    pButtonClose->setObjectName("PushButton");
    connect(pButtonClose, SIGNAL(clicked()), this, SLOT(accept()));

    auto* pJoinWidget = new JoinWidget();

    auto* pLayoutRow = new QHBoxLayout();
    pLayoutRow->setSpacing(7);
    pLayoutRow->setContentsMargins(15, 15, 15, 15);
    pLayoutRow->addStretch(1);
    pLayoutRow->addWidget(pJoinWidget);
    pLayoutRow->addStretch(1);

    QBoxLayout* pLayoutButtons = App::isSmallScreen() ? static_cast<QBoxLayout*>(new QVBoxLayout())
                                                      : static_cast<QBoxLayout*>(new QHBoxLayout());
    pLayoutButtons->setContentsMargins(10, 10, 10, 10);
    pLayoutButtons->setSpacing(7);
    pLayoutButtons->addStretch(1);
    pLayoutButtons->addWidget(pButtonClose);
    pLayoutButtons->addStretch(1);

    auto* pLayout = new QVBoxLayout();
    pLayout->setSpacing(7);
    pLayout->setContentsMargins(10, 10, 10, 10);
    pLayout->addLayout(pLayoutRow);
    pLayout->addLayout(pLayoutButtons);
    setLayout(pLayout);
}

JoinDialog::~JoinDialog() = default;

} // namespace QMWidgets
