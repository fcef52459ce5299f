#include "HelpDialog.h"

#include "App.h"
#include "HelpViewArea.h"
#include "UrlOpener.h"
#include "WebHosts.h"
#include "WidgetFunctions.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>

namespace QMWidgets {

namespace {

const char* const kYouTubeShortPrefix = "https://youtu.be/";
const char* const kYouTubeWatchPrefix = "https://youtube.com/watch?v=";

} // namespace

HelpDialog::HelpDialog(QWidget* pParent)
    : QDialog(pParent, Qt::WindowFlags())
{
    setWindowTitle(QCoreApplication::applicationName() + tr(" Introduction"));
    setObjectName("Dialog");

    auto* pButtonClose = new QPushButton(tr("&Close"));
    m_pButtonSkip = new QPushButton(tr("&Always skip intro"));
    m_pButtonVideo = new QPushButton(tr("&Watch videos"));
    makeFlatPushButton(pButtonClose);
    makeFlatPushButton(m_pButtonSkip);
    m_pButtonVideo->setFlat(true);
    m_pButtonVideo->setObjectName("VideoButton");

    connect(pButtonClose, SIGNAL(clicked()), this, SLOT(slotReject()));
    connect(m_pButtonSkip, SIGNAL(clicked()), this, SLOT(slotNeverShowItAgain()));
    connect(m_pButtonVideo, SIGNAL(clicked()), this, SLOT(slotWatchVideo()));
    m_pButtonVideo->hide();

    m_pViewArea = new HelpViewArea();

    QBoxLayout* pLayoutButtons = newButtonRowLayout();
    pLayoutButtons->setContentsMargins(0, 0, 0, 0);
    pLayoutButtons->setSpacing(5);
    pLayoutButtons->addWidget(m_pButtonVideo);
    pLayoutButtons->addStretch(1);
    pLayoutButtons->addWidget(m_pButtonSkip);
    pLayoutButtons->addWidget(pButtonClose);

    auto* pLayout = new QVBoxLayout();
    pLayout->setContentsMargins(6, 6, 6, 6);
    pLayout->setSpacing(6);
    pLayout->addWidget(m_pViewArea);
    pLayout->addLayout(pLayoutButtons);
    setLayout(pLayout);

    pButtonClose->setFocus(Qt::OtherFocusReason);
}

HelpDialog::~HelpDialog() = default;

void HelpDialog::addSlide(const QString& strPath)
{
    m_pViewArea->addSlide(strPath);
}

void HelpDialog::setVideoLink(const QString& strLink)
{
    if (strLink.isEmpty() || App::instance()->isCommunityHidden())
        return;
    m_strVideoLink = strLink;
    m_pButtonVideo->show();
}

void HelpDialog::hideSkipButton()
{
    m_bKeepSkipHidden = true;
}

bool HelpDialog::isIntroEnabled()
{
    return !App::instance()->settingsValue("NeverShowItAgain", false).toBool();
}

QString HelpDialog::videoPageBase()
{
    static const QStringList slOwnDomains = {"de", "ru", "fr", "it", "nl"};
    const QString strLanguage = App::language();
    const QString strDomain = slOwnDomains.contains(strLanguage) ? strLanguage : QString("org");
    return Platform::countrySite(strDomain) + "/video.php?view=";
}

void HelpDialog::slotReject()
{
    reject();
}

void HelpDialog::slotNeverShowItAgain()
{
    App::instance()->setSettingsValue("NeverShowItAgain", true);
    accept();
}

void HelpDialog::slotWatchVideo()
{
    if (m_strVideoLink.isEmpty())
        return;
    if (Platform::openLink(m_strVideoLink))
        return;

    const QString strBase = videoPageBase();
    QString strCandidate = QString(m_strVideoLink).replace(kYouTubeShortPrefix, strBase);
    if (!strCandidate.startsWith(strBase))
        strCandidate = QString(m_strVideoLink).replace(kYouTubeWatchPrefix, strBase);
    if (!Platform::openLink(strCandidate))
        App::instance()->slotSupportPage();
}

void HelpDialog::showEvent(QShowEvent* pEvent)
{
    if (m_bKeepSkipHidden)
        m_pButtonSkip->hide();
    else
        m_pButtonSkip->setVisible(!App::instance()->settingsValue("NeverShowItAgain", false).toBool());
    m_pViewArea->slotStartSlideShow();
    QDialog::showEvent(pEvent);
}

void HelpDialog::hideEvent(QHideEvent* pEvent)
{
    m_pViewArea->slideTimer()->stop();
    QWidget::hideEvent(pEvent);
}

} // namespace QMWidgets
