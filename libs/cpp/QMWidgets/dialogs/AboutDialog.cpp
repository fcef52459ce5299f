#include "AboutDialog.h"

#include "App.h"
#include "UrlOpener.h"
#include "WebHosts.h"
#include "WidgetFunctions.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

static void initAboutDialogResources()
{
    // A static library's resources are linked in only when referred to.
    Q_INIT_RESOURCE(AboutDialog);
}

namespace QMWidgets {

namespace {

const char* const kMakerName = "Corvane";
const char* const kMakerLogo = ":/QMWidgets/dialogs/MakerLogo.png";

QString& collectedLegalNotices()
{
    static QString strNotices;
    return strNotices;
}

// How much of the collected notices has already gone into the about-Qt text:
// every box appends only what is new, so the text does not grow with each box.
int& appendedNoticesLength()
{
    static int nLength = 0;
    return nLength;
}

} // namespace

AboutDialog::AboutDialog(QWidget* pParent)
    : QDialog(pParent, Qt::WindowFlags())
{
    initAboutDialogResources();
    setObjectName("AboutDialog");

    App* pApp = App::instance();
    const QString& strNotices = collectedLegalNotices();
    if (appendedNoticesLength() < strNotices.size()) {
        pApp->appendAboutQtText(strNotices.mid(appendedNoticesLength()));
        appendedNoticesLength() = strNotices.size();
    }

    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::CustomizeWindowHint);
    setWindowTitle(QCoreApplication::applicationName() + tr(" Info"));

    m_pLabelLogo = new QLabel();
    m_pLabelLogo->setObjectName("LogoLabel");
    m_pLabelLogo->setFixedSize(290, 290);
    m_pLabelLogo->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    m_pLabelLogo->setLineWidth(5);
    m_pLabelLogo->setAutoFillBackground(true);

    m_pButtonLegalNotices = new QPushButton(tr("&Legal Notices"));
    auto* pButtonOk = new QPushButton(tr("&Ok"));
    makeFlatPushButton(m_pButtonLegalNotices);
    makeFlatPushButton(pButtonOk);
    connect(m_pButtonLegalNotices, SIGNAL(clicked()), this, SLOT(slotLegalNoticesClicked()));
    connect(pButtonOk, SIGNAL(clicked()), this, SLOT(slotOkClicked()));

    m_pLabelInfo = new QLabel();

    m_pBrowserLegal = new QTextBrowser();
    m_pBrowserLegal->hide();
    m_pBrowserLegal->setReadOnly(true);
    m_pBrowserLegal->setObjectName("AboutLegalInfo");
    m_pBrowserLegal->setOpenLinks(false);
    m_pBrowserLegal->setOpenExternalLinks(false);
    connect(m_pBrowserLegal, SIGNAL(anchorClicked(const QUrl&)), this, SLOT(slotAnchorClicked(const QUrl&)));

    m_pLabelInfo->setObjectName("AboutInfoLabel");
    m_pLabelInfo->setStyleSheet("background: black;");
    m_pLabelInfo->setOpenExternalLinks(true);
    m_pLabelInfo->setText(infoText());
    m_pLabelInfo->setFixedHeight(87);

    auto* pLayoutLogo = new QHBoxLayout();
    pLayoutLogo->addStretch(1);
    pLayoutLogo->addWidget(m_pLabelLogo);
    pLayoutLogo->addStretch(1);

    auto* pLayoutLegal = new QHBoxLayout();
    pLayoutLegal->addStretch();
    pLayoutLegal->addWidget(m_pButtonLegalNotices);
    pLayoutLegal->addStretch();

    auto* pLayoutOk = new QHBoxLayout();
    pLayoutOk->addStretch();
    pLayoutOk->addWidget(pButtonOk);
    pLayoutOk->addStretch();

    auto* pLayout = new QVBoxLayout();
    pLayout->setContentsMargins(4, 4, 4, 4);
    pLayout->setSpacing(5);
    pLayout->addLayout(pLayoutLogo);
    pLayout->addWidget(m_pLabelInfo);
    pLayout->addWidget(m_pBrowserLegal);
    pLayout->addLayout(pLayoutLegal);
    pLayout->addLayout(pLayoutOk);
    setLayout(pLayout);

    pButtonOk->setFocus(Qt::OtherFocusReason);
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::addLegalNotice(const QString& strNotice)
{
    collectedLegalNotices() += QString(strNotice).replace("<!bundlepath!>", App::instance()->resourcesPath());
}

QString AboutDialog::infoText()
{
    App* pApp = App::instance();
    const QDate dateBuild = App::buildDate();
    const QString strSite = Platform::webHost(Platform::WebHost::MainSite);
    QString strAddress = strSite;
    strAddress.remove(QRegularExpression("^[a-z]+://"));

    QString strText = "<BODY BGCOLOR=#000000><FONT COLOR=#00A0E0 SIZE=2><CENTER>";
    strText += QCoreApplication::applicationName();
    strText += " v" + QCoreApplication::applicationVersion();
    strText += " Build: " + dateBuild.toString("dd.MM.yyyy");
    strText += "<BR>" + QString("Copyright &copy; %1 %2. All rights reserved.")
                            .arg(dateBuild.toString("yyyy"), QString(kMakerName).toUpper())
               + " <BR>";
    if (pApp->isCommunityHidden())
        strText += strAddress + "<BR>";
    else
        strText += "<A HREF=\"" + strSite + "\">" + strAddress + "</A>" + "<BR>";
    strText += QString("<IMG SRC=\"%1\">").arg(kMakerLogo) + "</CENTER>";
    return strText;
}

void AboutDialog::showInfo(bool bInfo)
{
    const QSize sizeNow = size();
    m_pLabelInfo->setVisible(bInfo);
    m_pLabelLogo->setVisible(bInfo);
    m_pBrowserLegal->setVisible(!bInfo);
    if (bInfo) {
        m_pButtonLegalNotices->setText(tr("&Legal Notices"));
    } else {
        m_pButtonLegalNotices->setText(tr("&Back"));
        m_pBrowserLegal->setHtml("<BODY><CENTER>" + App::instance()->aboutQtText() + "</CENTER></BODY>");
    }
    setFixedSize(sizeNow);
}

void AboutDialog::slotLegalNoticesClicked()
{
    showInfo(m_pLabelLogo->isHidden());
}

void AboutDialog::slotOkClicked()
{
    close();
    showInfo(true);
}

void AboutDialog::slotAnchorClicked(const QUrl& url)
{
    const QString strLocal = url.toLocalFile();
    if (!strLocal.contains(".LGPL")) {
        Platform::openUrl(url);
        return;
    }

    QFile file(App::instance()->resourcesPath() + "LICENSE.LGPL");
    if (!file.open(QIODevice::ReadOnly))
        return;
    QByteArray baContent = file.readAll();
    const int nZero = baContent.indexOf('\0');
    if (nZero >= 0)
        baContent.truncate(nZero);
    const QString strContent = QString::fromUtf8(baContent);
    // The licence is usually plain text: as HTML its line breaks would
    // collapse and its <https://...> addresses would vanish as tags.
    if (Qt::mightBeRichText(strContent))
        m_pBrowserLegal->setHtml(strContent);
    else
        m_pBrowserLegal->setPlainText(strContent);
    file.close();
}

} // namespace QMWidgets
