#include "OpenFileOrUrl.h"

#include "UrlOpener.h"

#include <QFile>
#include <QUrl>

namespace QMWidgets {

void openFileOrUrl(const QString& strFileOrUrl)
{
    if (QFile::exists(strFileOrUrl))
        Platform::openUrl(QUrl::fromLocalFile(strFileOrUrl));
    else
        Platform::openLink(strFileOrUrl);
}

} // namespace QMWidgets
