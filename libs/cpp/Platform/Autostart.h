#pragma once

#include <QString>

namespace Platform {

// Start with the desktop session: an XDG autostart entry
// ($XDG_CONFIG_HOME/autostart/<entry>.desktop).
QString autostartEntryPath(const QString& strEntryName);

// Writes the entry that starts strExecutable (quoted as the desktop entry
// format wants) under the visible name strName; returns false when the file
// cannot be written.
bool writeAutostartEntry(const QString& strEntryName, const QString& strName, const QString& strExecutable);

// Removes the entry; true when no entry remains.
bool removeAutostartEntry(const QString& strEntryName);

// The program that the entry starts, or an empty text when there is no entry.
QString autostartEntryCommand(const QString& strEntryName);

// One argument of an Exec line, quoted and escaped where needed.
QString quoteExecArgument(const QString& strArgument);

}  // namespace Platform
