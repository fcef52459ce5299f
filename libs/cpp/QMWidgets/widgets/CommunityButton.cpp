#include "CommunityButton.h"

#include "App.h"

#include <QPushButton>

namespace QMWidgets {

QPushButton* makeCommunityButton(QPushButton* pButton, const QString& strObjectName)
{
    pButton->setFlat(true);
    pButton->setFixedSize(190, 35);
    pButton->setObjectName(strObjectName);
    pButton->setCheckable(true);
    return pButton;
}

QString throughSocialRedirector(Platform::WebHost host, const QString& strScript, const QString& strLink)
{
    if (!App::instance()->isIndependentBuild())
        return strLink;
    return Platform::webHost(host) + "/social/" + strScript + ".php?link=" + strLink;
}

} // namespace QMWidgets
