#include "VirtualResolutionDialog.h"

#include "ResolutionSetupWidget.h"
#include "WidgetFunctions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

// Q_INIT_RESOURCE names a function at global scope: the dialog's logo
// (vresolution.qrc), linked in from the static library only when asked for.
static void registerVirtualResolutionResources()
{
    Q_INIT_RESOURCE(vresolution);
}

namespace QMWidgets {

namespace {

// The presets as the product has always offered them: 1980 x 1250 and
// 2650 x 1600 are not typing errors to correct.
const QSize kPresets[] = {
    {1024, 768}, {1152, 864}, {1280, 800}, {1280, 1024}, {1440, 900}, {1600, 1200}, {1680, 1050},
    {1920, 1200}, {1980, 1250}, {2048, 1536}, {2650, 1600}, {3840, 2400}, {4096, 3072}, {5300, 3200},
};

QHBoxLayout* newRow(int nMargin, int nSpacing)
{
    auto* pLayout = new QHBoxLayout;
    pLayout->setMargin(nMargin);
    pLayout->setSpacing(nSpacing);
    return pLayout;
}

}  // namespace

VirtualResolutionDialog::VirtualResolutionDialog(QWidget* pParent)
    : QDialog(pParent)
{
    static const bool s_bResources = (registerVirtualResolutionResources(), true);
    Q_UNUSED(s_bResources);

    m_pModeBox = new QComboBox;
    m_pModeBox->addItem(tr("Virtual Resolution Mode"));
    m_pModeBox->addItem(tr("Normal Model"));
    connect(m_pModeBox, SIGNAL(activated(int)), this, SLOT(slotModeChanged(int)));

    auto* pOpenGlLabel = new QLabel(tr("OpenGL Acceleration"));
    auto* pOpenGlBox = new QCheckBox;
    pOpenGlBox->setChecked(false);
    pOpenGlBox->setEnabled(false);

    auto* pLogo = new QLabel;
    const QPixmap logo(QStringLiteral(":/pix/vrlogo.png"));
    pLogo->setPixmap(logo);
    pLogo->setFixedSize(logo.size());

    m_pVirtualGroup = new ResolutionSetupWidget;
    m_pVirtualGroup->setTitle(tr("Virtual Resolution"));
    for (const QSize& size : kPresets)
        m_pVirtualGroup->addResolution(size);
    connect(m_pVirtualGroup, SIGNAL(resolutionChanged(QSize)), this, SIGNAL(virtualResolutionChanged(QSize)));
    m_pWindowGroup = new ResolutionSetupWidget;
    m_pWindowGroup->setTitle(tr("Window Size"));
    m_pWindowGroup->hide();

    auto* pOk = new QPushButton(tr("&Ok"));
    auto* pCancel = new QPushButton(tr("&Cancel"));
    auto* pApply = new QPushButton(tr("&Apply"));
    for (QPushButton* pButton : {pOk, pCancel, pApply})
        makeFlatPushButton(pButton);
    connect(pOk, SIGNAL(clicked()), this, SLOT(accept()));
    connect(pCancel, SIGNAL(clicked()), this, SLOT(reject()));
    connect(pApply, SIGNAL(clicked()), this, SLOT(slotApply()));

    QHBoxLayout* pOpenGlRow = newRow(5, 1);
    pOpenGlRow->addWidget(pOpenGlLabel);
    pOpenGlRow->addWidget(pOpenGlBox);
    pOpenGlRow->addStretch();
    QHBoxLayout* pGroupRow = newRow(5, 5);
    pGroupRow->addWidget(m_pVirtualGroup);
    pGroupRow->addWidget(m_pWindowGroup);
    QHBoxLayout* pButtonRow = newRow(5, 3);
    pButtonRow->addStretch();
    pButtonRow->addWidget(pOk);
    pButtonRow->addWidget(pCancel);
    pButtonRow->addWidget(pApply);

    auto* pLayout = new QVBoxLayout;
    pLayout->setMargin(1);
    pLayout->setSpacing(3);
    pLayout->addWidget(pLogo);
    pLayout->addLayout(pOpenGlRow);
    pLayout->addWidget(m_pModeBox);
    pLayout->addLayout(pGroupRow);
    pLayout->addLayout(pButtonRow);
    setLayout(pLayout);
}

VirtualResolutionDialog::Mode VirtualResolutionDialog::mode() const
{
    return m_pModeBox->currentIndex() == 0 ? VirtualMode : NormalMode;
}

QSize VirtualResolutionDialog::virtualResolution() const
{
    return m_pVirtualGroup->resolution();
}

void VirtualResolutionDialog::slotApply()
{
    emit changeVirtualResolution(virtualResolution());
    emit changeSettings();
}

void VirtualResolutionDialog::slotModeChanged(int)
{
    m_pVirtualGroup->setEnabled(m_pModeBox->currentIndex() == 0);
}

}  // namespace QMWidgets
