#pragma once

#include <QDialog>

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
};
