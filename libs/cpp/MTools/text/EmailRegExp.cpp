#include "EmailRegExp.h"

namespace MTools {

QRegExp emailRegExp()
{
    return QRegExp(QStringLiteral("([a-zA-Z0-9_\\-\\.]+)@([a-zA-Z0-9_.-])+\\.([a-zA-Z]{2,4}|[0-9]{1,3})"),
                   Qt::CaseSensitive, QRegExp::RegExp);
}

}  // namespace MTools
