#include "CommunityButton.h"

#include "App.h"
#include "UrlOpener.h"

#include <QIcon>
#include <QMenu>

namespace QMWidgets {

CommunityButton::CommunityButton(QWidget* pParent)
    : QPushButton(pParent)
{
    auto* pMenu = new QMenu(this);
    // Sharing belongs to the running application; without one there is
    // nothing to share through.
    QAction* pShare = pMenu->addAction(QIcon(QStringLiteral(":/share_hover.png")), tr("Share"));
    if (App* pApp = App::instance())
        connect(pShare, SIGNAL(triggered()), pApp, SLOT(slotShareApp()));
    pMenu->addSeparator();
    // The network names are brand names and stay untranslated.
    pMenu->addAction(QIcon(QStringLiteral(":/pix/facebook.png")), QStringLiteral("FaceBook"), this,
                     SLOT(slotFaceBook()));
    pMenu->addAction(QIcon(QStringLiteral(":/pix/youtube.png")), QStringLiteral("YouTube"), this,
                     SLOT(slotYouTube()));
    pMenu->addAction(QIcon(QStringLiteral(":/pix/xing.png")), QStringLiteral("Xing"), this, SLOT(slotXing()));
    pMenu->addAction(QIcon(QStringLiteral(":/pix/mailru.png")), QStringLiteral("MoiMir"), this,
                     SLOT(slotMoiMir()));
    setMenu(pMenu);
}

void CommunityButton::setFaceBookUrl(const QString& strUrl)
{
    m_strFaceBookUrl = strUrl;
}

void CommunityButton::setYouTubeUrl(const QString& strUrl)
{
    m_strYouTubeUrl = strUrl;
}

void CommunityButton::setTwitterUrl(const QString& strUrl)
{
    m_strTwitterUrl = strUrl;
}

void CommunityButton::setMoiMirUrl(const QString& strUrl)
{
    m_strMoiMirUrl = strUrl;
}

void CommunityButton::setXingUrl(const QString& strUrl)
{
    m_strXingUrl = strUrl;
}

void CommunityButton::slotFaceBook()
{
    Platform::openLink(m_strFaceBookUrl);
}

void CommunityButton::slotYouTube()
{
    Platform::openLink(m_strYouTubeUrl);
}

void CommunityButton::slotTwitter()
{
    Platform::openLink(m_strTwitterUrl);
}

void CommunityButton::slotMoiMir()
{
    Platform::openLink(m_strMoiMirUrl);
}

void CommunityButton::slotXing()
{
    Platform::openLink(m_strXingUrl);
}

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
