#include "LinkDialog.h"

#include "App.h"
#include "UrlOpener.h"
#include "WidgetFunctions.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace QMWidgets {

namespace {
// The settings key, spelled as stored by every release.
const QString kShowKey = QStringLiteral("ShowTutoralDialog");
} // namespace

LinkDialog::LinkDialog(QWidget* pParent)
    : QDialog(pParent)
{
    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral(" Information"));

    auto* pPicture = new QLabel;
    pPicture->setFixedSize(360, 177);
    pPicture->setWordWrap(true);  // a longer product name or translation stays inside the picture
    pPicture->setStyleSheet(QStringLiteral("QLabel{background-image: url(:/pix/nemo2.jpg);}"));
    pPicture->setText(QStringLiteral("<CENTER><H3>")
                      + tr("Do you want to know what you can achieve with %1?")
                            .arg(QCoreApplication::applicationName())
                      + tr("<BR>(Watch the Video Introduction)</H3></CENTER>"));

    auto* pYes = new QPushButton(tr("&Yes"));
    auto* pNo = new QPushButton(tr("&No"));
    makeFlatPushButton(pYes);
    makeFlatPushButton(pNo);
    auto* pButtonRow = new QHBoxLayout;
    pButtonRow->setContentsMargins(0, 0, 0, 0);
    pButtonRow->setSpacing(5);
    pButtonRow->addWidget(pYes);
    pButtonRow->addWidget(pNo);

    m_pDontShowCheckBox = new QCheckBox;
    auto* pCheckRow = new QHBoxLayout;
    pCheckRow->setContentsMargins(0, 0, 0, 0);
    pCheckRow->setSpacing(1);
    pCheckRow->addWidget(m_pDontShowCheckBox);
    pCheckRow->addWidget(new QLabel(tr("Do not show this dialog again")));
    pCheckRow->addStretch(1);

    auto* pLayout = new QVBoxLayout;
    pLayout->setContentsMargins(6, 6, 6, 6);
    pLayout->setSpacing(6);
    pLayout->addWidget(pPicture);
    pLayout->addLayout(pButtonRow);
    pLayout->addLayout(pCheckRow);
    setLayout(pLayout);

    // Set before connecting: showing the stored state must not store it again.
    bool bShow = true;
    if (App* pApp = App::instance())
        bShow = pApp->settingsValue(kShowKey, true).toBool();
    m_pDontShowCheckBox->setChecked(!bShow);
    connect(pYes, SIGNAL(clicked()), this, SLOT(slotGoToLink()));
    connect(pNo, SIGNAL(clicked()), this, SLOT(slotReject()));
    connect(m_pDontShowCheckBox, SIGNAL(toggled(bool)), this, SLOT(slotRememberToggled(bool)));
}

void LinkDialog::slotGoToLink()
{
    // English is the site's root language; others live in a folder named
    // after their code ("de/", "ru/").
    const QString strLanguage = App::language();
    const QString strLanguagePart =
        strLanguage.contains(QStringLiteral("en")) ? QString() : strLanguage + QLatin1Char('/');
    accept();
    Platform::openLink(App::siteAddress() + QLatin1Char('/') + strLanguagePart
                       + QStringLiteral("tutorial/tutorial.htm"));
}

void LinkDialog::slotReject()
{
    reject();
}

void LinkDialog::slotRememberToggled(bool bChecked)
{
    if (App* pApp = App::instance())
        pApp->setSettingsValue(kShowKey, !bChecked);
}

} // namespace QMWidgets
