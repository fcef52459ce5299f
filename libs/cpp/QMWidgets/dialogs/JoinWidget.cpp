#include "JoinWidget.h"

#include "App.h"
#include "CommunityButton.h"
#include "MMessageBox.h"
#include "UrlOpener.h"
#include "WebHosts.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace QMWidgets {

namespace {

// The maker's own pages on the follow services.
const char* const kYouTubeChannel = "https://www.youtube.com/c/Corvane?sub_confirmation=1";
const char* const kFaceBookPage = "https://www.facebook.com/corvane";
const char* const kTwitterPage = "https://twitter.com/corvane";
const char* const kVKontaktePage = "https://vk.com/corvane";

QString throughJoinRedirector(const QString& strLink)
{
    return throughSocialRedirector(Platform::WebHost::AppServer, QStringLiteral("join"), strLink);
}

} // namespace

JoinWidget::JoinWidget(QWidget* pParent)
    : QFrame(pParent, Qt::WindowFlags())
{
    auto* pButtonYouTube = new QPushButton();
    auto* pButtonFaceBook = new QPushButton();
    auto* pButtonTwitter = new QPushButton();
    auto* pButtonVKontakte = new QPushButton();
    auto* pButtonEmail = new QPushButton();

    if (App::language() != "ru")
        pButtonVKontakte->hide();
    pButtonEmail->hide();

    makeCommunityButton(pButtonYouTube, "YouTubeJoinButton");
    makeCommunityButton(pButtonFaceBook, "FaceBookJoinButton");
    makeCommunityButton(pButtonTwitter, "TwitterJoinButton");
    makeCommunityButton(pButtonVKontakte, "VKontakteJoinButton");
    makeCommunityButton(pButtonEmail, "EmailJoinButton");

    connect(pButtonYouTube, SIGNAL(clicked()), this, SLOT(slotYouTubeClicked()));
    connect(pButtonFaceBook, SIGNAL(clicked()), this, SLOT(slotFaceBookClicked()));
    connect(pButtonTwitter, SIGNAL(clicked()), this, SLOT(slotTwitterClicked()));
    connect(pButtonVKontakte, SIGNAL(clicked()), this, SLOT(slotVKontakteClicked()));
    connect(pButtonEmail, SIGNAL(clicked()), this, SLOT(slotEmailClicked()));

    const bool bSmall = App::isSmallScreen();
    auto* pLabelText = new QLabel();
    pLabelText->setText(QString(bSmall ? "<H5>" : "<H3>") + tr("Follow us and stay informed<br>about our")
                        + (bSmall ? "</H5>" : "</H3>") + (bSmall ? "<H4>" : "<H3>")
                        + tr("   1. Important News<br>") + tr("   2. New APPs<br>") + tr("   3. APP Updates<br>")
                        + tr("   and more...") + (bSmall ? "</H4>" : "</H3>"));

    auto* pLayoutButtons = new QVBoxLayout();
    pLayoutButtons->setSpacing(6);
    pLayoutButtons->setContentsMargins(10, 10, 10, 10);
    pLayoutButtons->addWidget(pButtonYouTube);
    pLayoutButtons->addWidget(pButtonFaceBook);
    pLayoutButtons->addWidget(pButtonTwitter);
    pLayoutButtons->addWidget(pButtonVKontakte);
    pLayoutButtons->addWidget(pButtonEmail);

    auto* pLayoutRow = new QHBoxLayout();
    pLayoutRow->setSpacing(0);
    pLayoutRow->setContentsMargins(0, 0, 0, 0);
    pLayoutRow->addStretch(0);
    pLayoutRow->addLayout(pLayoutButtons);
    pLayoutRow->addStretch(0);

    auto* pLayout = new QVBoxLayout();
    pLayout->setSpacing(0);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(pLabelText);
    pLayout->addLayout(pLayoutRow);
    setLayout(pLayout);
}

JoinWidget::~JoinWidget() = default;

void JoinWidget::slotYouTubeClicked()
{
    Platform::openLink(throughJoinRedirector(kYouTubeChannel));
}

void JoinWidget::slotFaceBookClicked()
{
    MMessageBox::information(App::instance()->mainWidget(), tr("Information"),
                             tr("<H3>\"Like\" Corvane on Facebook to join us!<br>Thank you!</H3>"), 0x400);
    Platform::openLink(throughJoinRedirector(kFaceBookPage));
}

void JoinWidget::slotTwitterClicked()
{
    Platform::openLink(throughJoinRedirector(kTwitterPage));
}

void JoinWidget::slotVKontakteClicked()
{
    Platform::openLink(kVKontaktePage);
}

void JoinWidget::slotEmailClicked()
{
    // No template is set in this program: there is nothing to open.
    if (m_strMailTemplate.isEmpty())
        return;
    Platform::openLink(m_strMailTemplate.arg(QCoreApplication::applicationName()).arg("email"));
}

} // namespace QMWidgets
