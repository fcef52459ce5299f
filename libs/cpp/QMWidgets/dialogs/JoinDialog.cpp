#include "JoinDialog.h"

#include "JoinWidget.h"
#include "WidgetFunctions.h"

#include <QPushButton>

namespace QMWidgets {

JoinDialog::JoinDialog(QWidget* pParent)
    : QDialog(pParent, Qt::WindowFlags())
{
    setWindowTitle(tr("Join us"));
    setObjectName("Dialog");
    layOutPanelDialog(this, nullptr, new JoinWidget(), new QPushButton(tr("&Close")));
}

JoinDialog::~JoinDialog() = default;

} // namespace QMWidgets
