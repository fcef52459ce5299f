#include "FileDialogInput.h"

#include <QFileDialog>
#include <QLineEdit>

namespace QMTest {

bool typeIntoFileDialog(QFileDialog* pDialog, const QString& strText)
{
    auto* pEdit = pDialog ? pDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
    if (!pEdit)
        return false;
    pEdit->setText(strText);
    QMetaObject::invokeMethod(pDialog, "accept");
    return true;
}

}  // namespace QMTest
