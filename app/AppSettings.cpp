#include "AppSettingsDialog.h"

#include "App.h"

#include <QVariant>

#include <algorithm>

namespace {

QVariant storedValue(const char* key, const QVariant& defaultValue)
{
    QMWidgets::App* app = QMWidgets::App::instance();
    if (!app)
        return defaultValue;
    return app->settingsValue(QString::fromLatin1(key), defaultValue);
}

int intValue(const char* key, int defaultValue)
{
    return storedValue(key, QVariant(defaultValue)).toInt();
}

bool boolValue(const char* key, bool defaultValue)
{
    return storedValue(key, QVariant(defaultValue)).toBool();
}

} // namespace

// The store accepts anything; the colour reducer takes 1..256 and scaling needs
// a positive percentage, so values written by other means are clamped here, the
// same way the dialog's controls clamp them.
int AppSettingsDialog::quality()
{
    return std::clamp(intValue("KeyQuality", 256), 1, 256);
}

int AppSettingsDialog::bits()
{
    return intValue("KeyBits", 8);
}

int AppSettingsDialog::resizePercent()
{
    return std::clamp(intValue("KeyResize", 100), 1, 100);
}

bool AppSettingsDialog::dithering()
{
    return boolValue("KeyDithering", true);
}

bool AppSettingsDialog::doGray()
{
    return boolValue("KeyDoGray", false);
}

bool AppSettingsDialog::playSoundAfter()
{
    return boolValue("KeyPlaySoundAfter", true);
}

bool AppSettingsDialog::openFolderAfter()
{
    return boolValue("KeyOpenFolderAfter", true);
}

bool AppSettingsDialog::clearListAfter()
{
    return boolValue("KeyClearListAfter", false);
}

bool AppSettingsDialog::folderStructureActive()
{
    return boolValue("KeyFolderStructureActive", true);
}

bool AppSettingsDialog::copyTextsActive()
{
    return boolValue("KeyCopyTextssActive", false);
}

bool AppSettingsDialog::copyEntireContentActive()
{
    return boolValue("KeyCopyEntireContentActive", false);
}
