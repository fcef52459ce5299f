#pragma once

#include <QString>

namespace Platform {

// Start with the desktop session: an XDG autostart entry
// ($XDG_CONFIG_HOME/autostart/<entry>.desktop).
QString autostartEntryPath(const QString& strEntryName);

// Writes the entry that starts strExecutable (quoted as the desktop entry
// format wants) under the visible name strName, each value escaped so that
// no character of it can end the line or add a key; returns false when the
// file cannot be written.
bool writeAutostartEntry(const QString& strEntryName, const QString& strName, const QString& strExecutable);

// Removes the entry; true when no entry remains.
bool removeAutostartEntry(const QString& strEntryName);

// The program that the entry starts, as it was written (the entry's escapes,
// the quoting and the "%%" of its Exec line undone), or an empty text when
// there is no entry.
QString autostartEntryCommand(const QString& strEntryName);

// One argument of an Exec line as the entry holds it: quoted and escaped
// where needed, with the entry's own escapes on top.
QString quoteExecArgument(const QString& strArgument);

}  // namespace Platform
