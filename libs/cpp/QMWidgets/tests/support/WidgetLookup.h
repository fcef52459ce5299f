#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace QMTest {

// The first push button among the widget's descendants whose text is exactly
// strText (mnemonic '&' included); nullptr when there is none.
QPushButton* buttonWithText(QWidget* pParent, const QString& strText);

// The text of the first label among the widget's descendants whose text
// contains strPart; empty when there is none.
QString labelTextContaining(QWidget* pParent, const QString& strPart);

}  // namespace QMTest
