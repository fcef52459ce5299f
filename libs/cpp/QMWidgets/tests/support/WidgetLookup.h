#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace QMTest {

// The first push button among the widget's descendants whose text is exactly
// strText (mnemonic '&' included); nullptr when there is none.
QPushButton* buttonWithText(QWidget* pParent, const QString& strText);

}  // namespace QMTest
