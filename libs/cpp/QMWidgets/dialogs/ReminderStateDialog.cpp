#include "ReminderStateDialog.h"

#include <QCoreApplication>

namespace QMWidgets {

ReminderStateDialog::ReminderStateDialog(QWidget* pParent)
    : QDialog(pParent, Qt::WindowFlags())
{
    setWindowTitle(QCoreApplication::applicationName());
}

ReminderStateDialog::~ReminderStateDialog() = default;

} // namespace QMWidgets
