#pragma once

#include <QString>

class QFileDialog;

namespace QMTest {

// Types the text into a shown Qt file dialog's file name field and presses
// accept, as a user would (selectFile leaves a focused field alone), so the
// dialog's own checks run. Several names go in quotes: "\"a.png\" \"b.png\"".
// False when there is no dialog or it has no such field (a native dialog).
bool typeIntoFileDialog(QFileDialog* pDialog, const QString& strText);

}  // namespace QMTest
