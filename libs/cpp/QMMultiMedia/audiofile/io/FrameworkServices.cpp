#include "FrameworkServices.h"

#include <QCoreApplication>
#include <QVariant>

namespace QMMultiMedia {

QString frameworkBuildDateText()
{
    const QCoreApplication* pApp = QCoreApplication::instance();
    return pApp ? pApp->property("buildDateText").toString() : QString();
}

}  // namespace QMMultiMedia
