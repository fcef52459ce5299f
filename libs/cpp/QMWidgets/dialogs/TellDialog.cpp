#include "TellDialog.h"

#include "App.h"
#include "TellWidget.h"
#include "WidgetFunctions.h"

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

    layOutPanelDialog(this, pLabelMessage, new TellWidget(), new QPushButton(tr("&Close")));
}

TellDialog::~TellDialog() = default;

} // namespace QMWidgets
