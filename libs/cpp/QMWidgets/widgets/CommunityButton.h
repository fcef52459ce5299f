#pragma once

#include "WebHosts.h"

#include <QPushButton>
#include <QString>

namespace QMWidgets {

// A push button whose drop-down menu shares the application and opens its
// pages on social networks. Each page address is opened as it was set, an
// empty one as an empty URL: the button checks nothing, the owner fills them.
// The menu offers no Twitter entry; that page opens only through slotTwitter.
class CommunityButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommunityButton(QWidget* pParent = nullptr);

    void setFaceBookUrl(const QString& strUrl);
    void setYouTubeUrl(const QString& strUrl);
    void setTwitterUrl(const QString& strUrl);
    void setMoiMirUrl(const QString& strUrl);
    void setXingUrl(const QString& strUrl);

private slots:
    void slotFaceBook();
    void slotYouTube();
    void slotTwitter();
    void slotMoiMir();
    void slotXing();

private:
    QString m_strFaceBookUrl;
    QString m_strYouTubeUrl;
    QString m_strTwitterUrl;
    QString m_strMoiMirUrl;
    QString m_strXingUrl;
};

// The form of the share and follow buttons: flat, 190 x 35, checkable, named
// so that the application's style sheet can draw its picture. Returns the button.
QPushButton* makeCommunityButton(QPushButton* pButton, const QString& strObjectName);

// What a share or follow button opens: in an independent build the link goes
// through the maker's redirector page "/social/<strScript>.php" on the host;
// a Store build opens the link itself. The link is appended as it is: the
// redirector expects it unencoded.
QString throughSocialRedirector(Platform::WebHost host, const QString& strScript, const QString& strLink);

} // namespace QMWidgets
