#pragma once

#include <QString>

namespace Platform {

// Asks the desktop's file manager (org.freedesktop.FileManager1 on the
// session bus) to open the folder of the file with the file selected.
// Returns false at once when there is no session bus, and false when the
// file manager does not answer within the timeout; it never blocks longer.
bool showItemInFileManager(const QString& strFilePath, int nTimeoutMs = 2000);

// Opens a local folder in the desktop's handler for folders (through
// Platform::openUrl). Names with "#", "?" or "%" open the right folder.
bool openFolder(const QString& strFolderPath);

}  // namespace Platform
