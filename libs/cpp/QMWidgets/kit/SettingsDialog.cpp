#include "SettingsDialog.h"

#include "App.h"
#include "Os.h"
#include "SafeSave.h"
#include "SettingsWidget.h"
#include "SettingsXml.h"
#include "WidgetFunctions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>

namespace QMWidgets {

namespace {

const QString kExtension = QStringLiteral(".vexsettings");
const QString kFilter = QStringLiteral("*.vexsettings");

// Process-wide: every dialog shows the same pages. Weak pointers, because
// the first dialog that shows a page owns it and destroys it.
struct PageRegistry
{
    QMap<QString, QPointer<QWidget>> pages;
    QStringList order;
};

PageRegistry& registry()
{
    static PageRegistry s_registry;
    return s_registry;
}

} // namespace

SettingsDialog::SettingsDialog(QWidget* pParent)
    : QDialog(pParent)
{
    setWindowTitle(QCoreApplication::applicationName() + tr(" Settings"));
}

void SettingsDialog::addSettingsWidget(const QString& strName, QWidget* pPage)
{
    registry().pages[strName] = pPage;
    registry().order << strName;
}

QList<SettingsWidget*> SettingsDialog::settingsPages()
{
    QList<SettingsWidget*> pages;
    for (const QPointer<QWidget>& pPage : qAsConst(registry().pages)) {
        if (auto* pSettings = qobject_cast<SettingsWidget*>(pPage.data()))
            pages << pSettings;
    }
    return pages;
}

void SettingsDialog::showEvent(QShowEvent* pEvent)
{
    if (!m_bTabsBuilt) {
        buildTabs();
        m_bTabsBuilt = true;
    }
    QDialog::showEvent(pEvent);
}

void SettingsDialog::buildTabs()
{
    m_pTabs = new QTabWidget;
    for (const QString& strName : qAsConst(registry().order)) {
        if (QWidget* pPage = registry().pages.value(strName))
            m_pTabs->addTab(pPage, strName);
    }

    auto* pOk = new QPushButton(tr("&Ok"));
    auto* pApply = new QPushButton(tr("&Apply"));
    auto* pCancel = new QPushButton(tr("&Cancel"));
    makeFlatPushButton(pOk);
    makeFlatPushButton(pApply);
    makeFlatPushButton(pCancel);

    // Pictures only: the style sheet draws them by object name.
    auto* pSave = new QPushButton;
    auto* pLoad = new QPushButton;
    setObjectNameAndToolTip(pSave, QStringLiteral("StorageBrowserSS"), tr("Save the Settings"));
    setObjectNameAndToolTip(pLoad, QStringLiteral("StorageBrowserLS"), tr("Load the Settings"));
    makeFlatFixedButton(pSave);
    makeFlatFixedButton(pLoad);

    connect(pSave, SIGNAL(clicked()), this, SLOT(slotSaveSettings()));
    connect(pLoad, SIGNAL(clicked()), this, SLOT(slotLoadSettings()));
    connect(pApply, SIGNAL(clicked()), this, SLOT(slotApply()));
    connect(pOk, SIGNAL(clicked()), this, SLOT(slotOk()));
    connect(pCancel, SIGNAL(clicked()), this, SLOT(reject()));

    auto* pStorageRow = new QHBoxLayout;
    pStorageRow->setContentsMargins(0, 0, 0, 0);
    pStorageRow->setSpacing(2);
    pStorageRow->addWidget(pSave);
    pStorageRow->addWidget(pLoad);
    pStorageRow->addStretch(1);

    auto* pButtonRow = new QHBoxLayout;
    pButtonRow->setContentsMargins(0, 0, 0, 0);
    pButtonRow->setSpacing(2);
    pButtonRow->addStretch(1);
    pButtonRow->addWidget(pOk);
    pButtonRow->addWidget(pApply);
    pButtonRow->addWidget(pCancel);

    auto* pLayout = new QVBoxLayout;
    pLayout->setContentsMargins(7, 7, 7, 7);
    pLayout->setSpacing(4);
    pLayout->addLayout(pStorageRow);
    pLayout->addWidget(m_pTabs);
    pLayout->addLayout(pButtonRow);
    setLayout(pLayout);
}

void SettingsDialog::slotOk()
{
    slotApply();
    accept();
}

void SettingsDialog::slotApply()
{
    for (SettingsWidget* pPage : settingsPages())
        pPage->slotApply();
}

void SettingsDialog::slotSaveSettings()
{
    App* pApp = App::instance();
    const QString strFolder = pApp ? pApp->lastSaveDirectory() : QDir::homePath();
    const QString strChosen = Os::getSaveFileName(this, tr("Save Settings"),
                                                  strFolder + QStringLiteral("/Settings") + kExtension, kFilter);
    if (strChosen.isEmpty())
        return;

    const QByteArray xml = writeSettingsXml(settingsPages());
    QString strPath = strChosen;
    if (!strPath.endsWith(kExtension))
        strPath += kExtension;
    // Written aside and moved into place: a failed write leaves an earlier
    // export as it was.
    MTools::SafeSave file(strPath);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(xml);
        file.commit();
    }
    if (pApp)
        pApp->setLastSavePath(strChosen);
}

void SettingsDialog::slotLoadSettings()
{
    App* pApp = App::instance();
    const QString strFolder = pApp ? pApp->lastOpenDirectory() : QDir::homePath();
    const QString strChosen = Os::getOpenFileName(this, tr("Load Settings"), strFolder + QStringLiteral("/ "), kFilter);
    if (strChosen.isEmpty())
        return;

    // Only a plain file is read, and no more of it than a settings export
    // can hold: a device or a pipe typed into the dialog must not hang.
    QFile file(strChosen);
    if (QFileInfo(strChosen).isFile() && file.open(QIODevice::ReadOnly)) {
        const QByteArray xml = file.read(kMaxSettingsFileSize + 1);
        readSettingsXml(xml, settingsPages());
        file.close();
    }
    if (pApp)
        pApp->setLastOpenPath(strChosen);
}

} // namespace QMWidgets
