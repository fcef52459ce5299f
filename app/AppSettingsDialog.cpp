#include "AppSettingsDialog.h"

#include "App.h"
#include "ComboSlider.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

AppSettingsDialog::AppSettingsDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SettingsDialog"));

    m_pcmdOk = new QPushButton(tr("Ok"));
    m_pcmdCancel = new QPushButton(tr("Cancel"));
    for (QPushButton* button : {m_pcmdOk, m_pcmdCancel}) {
        button->setFlat(true);
        button->setMinimumHeight(32);
        button->setObjectName(QStringLiteral("PushButton"));
    }
    m_pcmdOk->setMinimumWidth(75);

    auto* buttonRow = new QHBoxLayout();
    buttonRow->setContentsMargins(10, 10, 10, 10);
    buttonRow->addStretch();
    buttonRow->addWidget(m_pcmdOk);
    buttonRow->addWidget(m_pcmdCancel);

    auto* tabs = new QTabWidget();
    tabs->addTab(createGeneralPage(), QStringLiteral("General"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(10);
    layout->addWidget(tabs);
    layout->addLayout(buttonRow);

    setWindowTitle(QCoreApplication::applicationName() + tr(" Settings"));
    slotLoadSettings();

    connect(m_pcmdOk, SIGNAL(clicked()), this, SLOT(slotSaveSettings()));
    connect(m_pcmdCancel, SIGNAL(clicked()), this, SLOT(reject()));
    setWindowFlags(Qt::Tool | Qt::WindowSystemMenuHint);
}

QWidget* AppSettingsDialog::createGeneralPage()
{
    m_pcbxBitRate = new QComboBox();
    m_pcbxBitRate->setObjectName(QStringLiteral("m_pcbxBitRate"));
    m_pcbxBitRate->addItem(QStringLiteral("8"), 8);
    m_pcbxBitRate->addItem(QStringLiteral("24"), 24);
    m_pcbxBitRate->hide();
    // In no layout, so it needs the dialog as parent to go with it.
    m_pcbxUnused = new QComboBox(this);
    m_pcbxUnused->hide();

    m_pQualitySlider = new QMWidgets::ComboSlider(QString());
    m_pQualitySlider->setRange(1, 256);
    m_plblBits = new QLabel(tr("Bits:"));
    m_plblBits->hide();
    m_plblQuality = new QLabel(tr("Quality:"));

    m_pgrbCompression = new QGroupBox(tr("PNG Lossy Compression Settings"));
    m_pgrbSourceDestination = new QGroupBox(tr("Source / Destination Settings"));
    m_pchbCopyTexts = new QCheckBox(tr("Copy text files from source"));
    m_pchbCopyEntireContent = new QCheckBox(tr("Copy entire non-processed content from source"));
    m_pchbFolderStructure = new QCheckBox(tr("Preserve folder structure of the source"));
    m_pchbFolderStructure->setChecked(true);
    m_pgrbAfterConversion = new QGroupBox(tr("After Conversion"));
    m_pchbPlaySound = new QCheckBox(tr("Play sound"));
    m_pchbOpenFolder = new QCheckBox(tr("Open the destination folder"));
    m_pchbOpenFolder->setChecked(true);
    m_pchbClearList = new QCheckBox(tr("Clear the list"));
    m_pchbClearList->hide();
    m_pchbDithering = new QCheckBox();
    m_pchbDithering->setChecked(true);
    m_pchbGray = new QCheckBox();
    m_pScaleSlider = new QMWidgets::ComboSlider(QString());
    m_pScaleSlider->setRange(1, 100);
    m_pScaleSlider->setValue(100);

    auto* form = new QFormLayout();
    form->setContentsMargins(0, 0, 0, 0);
    form->setSpacing(3);
    form->addRow(m_plblBits, m_pcbxBitRate);
    form->addRow(m_plblQuality, m_pQualitySlider);
    form->addRow(QStringLiteral("Scale down %:"), m_pScaleSlider);
    form->addRow(QStringLiteral("Do gray:"), m_pchbGray);
    form->addRow(QStringLiteral("Dithering:"), m_pchbDithering);
    auto* compressionLayout = new QVBoxLayout(m_pgrbCompression);
    compressionLayout->setContentsMargins(22, 22, 22, 22);
    compressionLayout->setSpacing(7);
    compressionLayout->addLayout(form);

    auto* sourceLayout = new QVBoxLayout(m_pgrbSourceDestination);
    sourceLayout->setContentsMargins(25, 25, 25, 25);
    sourceLayout->setSpacing(9);
    sourceLayout->addWidget(m_pchbFolderStructure);
    sourceLayout->addWidget(m_pchbCopyTexts);
    sourceLayout->addWidget(m_pchbCopyEntireContent);

    auto* afterLayout = new QVBoxLayout(m_pgrbAfterConversion);
    afterLayout->setContentsMargins(25, 25, 25, 25);
    afterLayout->setSpacing(9);
    afterLayout->addWidget(m_pchbPlaySound);
    afterLayout->addWidget(m_pchbOpenFolder);
    afterLayout->addWidget(m_pchbClearList);

    auto* page = new QWidget();
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(5, 5, 5, 5);
    pageLayout->setSpacing(10);
    pageLayout->addStretch(1);
    pageLayout->addWidget(m_pgrbCompression);
    pageLayout->addStretch(1);
    pageLayout->addWidget(m_pgrbSourceDestination);
    pageLayout->addStretch(1);
    pageLayout->addWidget(m_pgrbAfterConversion);
    return page;
}

void AppSettingsDialog::showEvent(QShowEvent* event)
{
    slotLoadSettings();
    QDialog::showEvent(event);
}

void AppSettingsDialog::slotLoadSettings()
{
    m_pcbxBitRate->setCurrentIndex(m_pcbxBitRate->findData(bits(), Qt::UserRole, Qt::MatchExactly));
    // The getters already clamp to the sliders' ranges.
    m_pQualitySlider->setValue(quality());
    m_pScaleSlider->setValue(resizePercent());
    m_pchbDithering->setChecked(dithering());
    m_pchbGray->setChecked(doGray());
    m_pchbPlaySound->setChecked(playSoundAfter());
    m_pchbOpenFolder->setChecked(openFolderAfter());
    m_pchbCopyTexts->setChecked(copyTextsActive());
    m_pchbCopyEntireContent->setChecked(copyEntireContentActive());
    m_pchbFolderStructure->setChecked(folderStructureActive());
}

void AppSettingsDialog::slotSaveSettings()
{
    QMWidgets::App* app = QMWidgets::App::instance();
    const int nBits = m_pcbxBitRate->currentIndex() < 0 ? 0 : m_pcbxBitRate->currentData().toInt();
    app->setSettingsValue(QStringLiteral("KeyBits"), nBits);
    app->setSettingsValue(QStringLiteral("KeyQuality"), m_pQualitySlider->value());
    app->setSettingsValue(QStringLiteral("KeyResize"), m_pScaleSlider->value());
    app->setSettingsValue(QStringLiteral("KeyDithering"), m_pchbDithering->isChecked());
    app->setSettingsValue(QStringLiteral("KeyDoGray"), m_pchbGray->isChecked());
    app->setSettingsValue(QStringLiteral("KeyPlaySoundAfter"), m_pchbPlaySound->isChecked());
    app->setSettingsValue(QStringLiteral("KeyOpenFolderAfter"), m_pchbOpenFolder->isChecked());
    app->setSettingsValue(QStringLiteral("KeyClearListAfter"), m_pchbClearList->isChecked());
    app->setSettingsValue(QStringLiteral("KeyCopyTextssActive"), m_pchbCopyTexts->isChecked());
    app->setSettingsValue(QStringLiteral("KeyCopyEntireContentActive"), m_pchbCopyEntireContent->isChecked());
    app->setSettingsValue(QStringLiteral("KeyFolderStructureActive"), m_pchbFolderStructure->isChecked());
    accept();
}

void AppSettingsDialog::slotGotoFilesLocation()
{
}

void AppSettingsDialog::slotBitsChanged()
{
    m_pcbxBitRate->currentData();
}

void AppSettingsDialog::slotQualityChanged()
{
}
