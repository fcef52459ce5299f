#pragma once

#include <QString>

#include <functional>

namespace Platform {

// Asks the desktop's file manager (org.freedesktop.FileManager1 on the
// session bus) to open the folder of the file with the file selected. The
// call is sent without waiting for the answer: returns false at once when
// there is no session bus or the call cannot be sent, else true. onFailure
// runs later, on the calling thread's event loop, only when the bus answers
// with an error (no such service, the file manager refused or could not be
// started). A slow answer, even one past nTimeoutMs, is no failure: a file
// manager started on demand still opens its window, and a fallback would
// open a second one.
bool showItemInFileManager(const QString& strFilePath, std::function<void()> onFailure = {},
                           int nTimeoutMs = 25000);

// Opens a local folder in the desktop's handler for folders (through
// Platform::openUrl). Names with "#", "?" or "%" open the right folder.
bool openFolder(const QString& strFolderPath);

}  // namespace Platform
