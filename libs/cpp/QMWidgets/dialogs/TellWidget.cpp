#include "TellWidget.h"

#include "App.h"
#include "CommunityButton.h"
#include "UrlOpener.h"
#include "WebHosts.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace QMWidgets {

namespace {

QString throughShareRedirector(Platform::WebHost host, const QString& strLink)
{
    return throughSocialRedirector(host, QStringLiteral("share"), strLink);
}

} // namespace

TellWidget::TellWidget(QWidget* pParent)
    : QFrame(pParent, Qt::WindowFlags())
{
    App* pApp = App::instance();

    auto* pButtonFaceBook = makeCommunityButton(new QPushButton(), "FaceBookShareButton");
    auto* pButtonTwitter = makeCommunityButton(new QPushButton(), "TwitterShareButton");
    auto* pButtonVKontakte = makeCommunityButton(new QPushButton(), "VKontakteShareButton");
    auto* pButtonLinkedin = makeCommunityButton(new QPushButton(), "LinkedinShareButton");
    auto* pButtonEmail = makeCommunityButton(new QPushButton(), "EmailShareButton");

    if (pApp->facebookShareLink().isEmpty())
        pButtonFaceBook->hide();
    if (pApp->twitterShareLink().isEmpty())
        pButtonTwitter->hide();
    pButtonVKontakte->hide();

    connect(pButtonFaceBook, SIGNAL(clicked()), this, SLOT(slotFaceBookClicked()));
    connect(pButtonTwitter, SIGNAL(clicked()), this, SLOT(slotTwitterClicked()));
    connect(pButtonVKontakte, SIGNAL(clicked()), this, SLOT(slotVKontakteClicked()));
    connect(pButtonEmail, SIGNAL(clicked()), this, SLOT(slotEmailClicked()));
    connect(pButtonLinkedin, SIGNAL(clicked()), this, SLOT(slotLinkedinClicked()));
    pButtonLinkedin->hide();

    auto* pLayout = new QVBoxLayout();
    pLayout->setSpacing(6);
    pLayout->setContentsMargins(10, 10, 10, 10);
    pLayout->addWidget(pButtonFaceBook);
    pLayout->addWidget(pButtonTwitter);
    pLayout->addWidget(pButtonLinkedin);
    pLayout->addWidget(pButtonVKontakte);
    pLayout->addWidget(pButtonEmail);
    setLayout(pLayout);
}

TellWidget::~TellWidget() = default;

void TellWidget::slotLinkedinClicked()
{
}

void TellWidget::slotFaceBookClicked()
{
    Platform::openLink(throughShareRedirector(Platform::WebHost::AppServer, App::instance()->facebookShareLink()));
}

void TellWidget::slotTwitterClicked()
{
    Platform::openLink(throughShareRedirector(Platform::WebHost::ShareServer, App::instance()->twitterShareLink()));
}

void TellWidget::slotVKontakteClicked()
{
    Platform::openLink(App::instance()->vkontakteShareLink());
}

void TellWidget::slotEmailClicked()
{
    App::instance()->slotTellFriend();
}

} // namespace QMWidgets
