#pragma once

#include <QRegExp>

namespace MTools {

// The pattern e-mail fields check addresses with (case-sensitive, QRegExp
// syntax): ([a-zA-Z0-9_\-\.]+)@([a-zA-Z0-9_.-])+\.([a-zA-Z]{2,4}|[0-9]{1,3})
// A whole address matches with exactMatch().
QRegExp emailRegExp();

}  // namespace MTools
