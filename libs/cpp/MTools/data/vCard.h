#pragma once

#include "vCardEntry.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A contact card: content lines in order, looked up by name and parameters,
// written as vCard 2.1 or 3.0 text and read from text holding any number of
// cards. The reader joins the continuation lines of a PHOTO line, strips
// numbered "itemN." group prefixes, and drops lines outside cards, VERSION
// lines and unterminated cards without complaint. Files are written as 2.1,
// and a file is replaced only once the whole new card is written.
class vCard
{
public:
    vCard();
    vCard(const vCard& other);
    vCard(const QList<vCardEntry>& entries);
    virtual ~vCard();
    vCard& operator=(const vCard& other);

    QList<vCardEntry> entries() const { return m_lstEntries; }
    void addEntry(const vCardEntry& entry);
    void addEntries(const QList<vCardEntry>& entries);
    int entryCount() const;

    // The first entry of that name (case-sensitive) whose parameters match:
    // strict, the same list in the same order; otherwise every given
    // parameter somewhere among the entry's. A default entry when none does.
    vCardEntry findEntry(const QString& name, const QList<vCardEntryParam>& params,
                         bool strict) const;
    bool hasEntry(const QString& name, const QList<vCardEntryParam>& params, bool strict) const;
    // Whether an entry equals this one (name and values).
    bool hasEntry(const vCardEntry& entry) const;

    // At least one entry, and every entry valid.
    bool isValid() const;

    // BEGIN, VERSION, every entry, END, joined with line feeds; empty for an
    // unknown format.
    QByteArray serialize(vCardFormat format) const;
    // Writes the 2.1 text through MTools::SafeSave (a failed write keeps an old
    // file; a pipe or a device is written in place); false when the file could
    // not be written completely.
    bool writeFile(const QString& path) const;

    static QList<vCard> parse(const QByteArray& text);
    // The cards of the file; an empty list when it cannot be opened.
    static QList<vCard> readFile(const QString& path);

private:
    int indexOfEntry(const QString& name, const QList<vCardEntryParam>& params, bool strict) const;

    QList<vCardEntry> m_lstEntries;
};
