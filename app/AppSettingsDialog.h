#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QShowEvent;

namespace QMWidgets {
class ComboSlider;
}

// The application's options. The static getters read the settings store anew
// at every call (no cached copy), so they work without a dialog object and on
// the batch thread; a value saved in the dialog takes effect at the next read.
class AppSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AppSettingsDialog(QWidget* parent = nullptr);

    static int quality();             // "KeyQuality": colours, clamped to 1..256
    static int bits();                // "KeyBits": stored only
    static int resizePercent();       // "KeyResize": percent, clamped to 1..100
    static bool dithering();          // "KeyDithering"
    static bool doGray();             // "KeyDoGray"
    static bool playSoundAfter();     // "KeyPlaySoundAfter"
    static bool openFolderAfter();    // "KeyOpenFolderAfter"
    static bool clearListAfter();     // "KeyClearListAfter": stored only
    static bool folderStructureActive();   // "KeyFolderStructureActive"
    static bool copyTextsActive();         // "KeyCopyTextssActive"
    static bool copyEntireContentActive(); // "KeyCopyEntireContentActive"

    // For tests and the screenshot script.
    QMWidgets::ComboSlider* qualitySlider() const { return m_pQualitySlider; }
    QMWidgets::ComboSlider* scaleSlider() const { return m_pScaleSlider; }
    QComboBox* bitsList() const { return m_pcbxBitRate; }

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void slotSaveSettings();
    void slotLoadSettings();
    void slotGotoFilesLocation();
    void slotBitsChanged();
    void slotQualityChanged();

private:
    QWidget* createGeneralPage();

    QPushButton* m_pcmdOk = nullptr;
    QPushButton* m_pcmdCancel = nullptr;
    QComboBox* m_pcbxBitRate = nullptr;
    QComboBox* m_pcbxUnused = nullptr;
    QMWidgets::ComboSlider* m_pQualitySlider = nullptr;
    QLabel* m_plblBits = nullptr;
    QLabel* m_plblQuality = nullptr;
    QGroupBox* m_pgrbCompression = nullptr;
    QGroupBox* m_pgrbSourceDestination = nullptr;
    QCheckBox* m_pchbCopyTexts = nullptr;
    QCheckBox* m_pchbCopyEntireContent = nullptr;
    QCheckBox* m_pchbFolderStructure = nullptr;
    QGroupBox* m_pgrbAfterConversion = nullptr;
    QCheckBox* m_pchbPlaySound = nullptr;
    QCheckBox* m_pchbOpenFolder = nullptr;
    QCheckBox* m_pchbClearList = nullptr;
    QCheckBox* m_pchbDithering = nullptr;
    QCheckBox* m_pchbGray = nullptr;
    QMWidgets::ComboSlider* m_pScaleSlider = nullptr;
};
