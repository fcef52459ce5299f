#pragma once

#include <QByteArray>
#include <QList>

namespace QMWidgets {

class SettingsWidget;

// The settings file shared by all pages of the settings dialog: an XML
// document without declaration whose root "Settings" holds one element per
// page, each element on a line of its own, indented one blank per level.

// Files above this size are not settings exports; they are refused unread.
constexpr qint64 kMaxSettingsFileSize = 4 * 1024 * 1024;
// Elements nested deeper than this are no settings either. The parser
// descends recursively: some ten thousand levels, well within the size
// limit, would exhaust the stack.
constexpr int kMaxSettingsNesting = 256;

// The document of the pages' elements, in the order given, as UTF-8 text.
// No page gives "<Settings/>" and a line break. Whatever the pages built,
// readSettingsXml reads the result: characters XML 1.0 cannot carry (C0
// controls but tab, line feed and carriage return; U+FFFE, U+FFFF; lone
// surrogates) are dropped from attribute values, text, CDATA, comments and
// processing instructions, and a page element that still would not read
// (a name XML does not allow, say) is left out. Every other value reads
// back exactly, blank text included.
QByteArray writeSettingsXml(const QList<SettingsWidget*>& pages);

// Parses the text and hands every element child of the root (whatever the
// root's name), in document order, to each page whose settingsName equals
// its tag name exactly. Other nodes and elements no page claims are
// skipped. Text that is not well-formed XML, larger than
// kMaxSettingsFileSize, nested deeper than kMaxSettingsNesting, carrying
// a document type (the export never writes one) or referring to an entity
// it does not declare reaches no page and gives false.
bool readSettingsXml(const QByteArray& xml, const QList<SettingsWidget*>& pages);

} // namespace QMWidgets
