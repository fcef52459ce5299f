#include "vCard.h"

#include "SafeSave.h"
#include "vCardText.h"

#include <QFile>
#include <QLocale>

namespace {

// Joins the lines that continue a PHOTO line (they start with a space) onto
// it. A block still open when the lines run out is left as it is.
QList<QByteArray> joinPhotoLines(const QList<QByteArray>& lines)
{
    QList<QByteArray> result;
    bool open = false;
    int photo = -1;
    QByteArray data;
    QList<QByteArray> continuation;
    for (const QByteArray& line : lines) {
        if (!open) {
            result.append(line);
            if (line.startsWith("PHOTO")) {
                open = true;
                photo = result.size() - 1;
                data.clear();
                continuation.clear();
            }
            continue;
        }
        if (line.startsWith(' ')) {
            data += line.simplified();
            continuation.append(line);
            continue;
        }
        // The closing line is kept and not looked at as another PHOTO line.
        result[photo] = result.at(photo).simplified() + data;
        result.append(line);
        open = false;
    }
    if (open)
        result += continuation;
    return result;
}

// "item2.TEL:5" becomes "TEL:5"; "itemX.TEL" and "Item1.TEL" stay.
QByteArray withoutItemPrefix(const QByteArray& line)
{
    if (!line.startsWith("item") && !line.startsWith("ITEM"))
        return line;
    const int dot = line.indexOf('.');
    if (dot < 0)
        return line;
    bool ok = false;
    QLocale::c().toInt(QString::fromUtf8(line.mid(4, dot - 4)), &ok);
    return ok ? line.mid(dot + 1) : line;
}

}  // namespace

vCard::vCard() = default;

vCard::vCard(const vCard& other) = default;

vCard::vCard(const QList<vCardEntry>& entries)
    : m_lstEntries(entries)
{
}

vCard::~vCard() = default;

vCard& vCard::operator=(const vCard& other) = default;

void vCard::addEntry(const vCardEntry& entry)
{
    m_lstEntries.append(entry);
}

void vCard::addEntries(const QList<vCardEntry>& entries)
{
    m_lstEntries += entries;
}

int vCard::entryCount() const
{
    return m_lstEntries.size();
}

int vCard::indexOfEntry(const QString& name, const QList<vCardEntryParam>& params,
                        bool strict) const
{
    for (int i = 0; i < m_lstEntries.size(); ++i) {
        const vCardEntry& entry = m_lstEntries.at(i);
        if (entry.name() != name)
            continue;
        const QList<vCardEntryParam> own = entry.params();
        if (strict) {
            if (own == params)
                return i;
            continue;
        }
        bool all = true;
        for (const vCardEntryParam& param : params) {
            if (!own.contains(param)) {
                all = false;
                break;
            }
        }
        if (all)
            return i;
    }
    return -1;
}

vCardEntry vCard::findEntry(const QString& name, const QList<vCardEntryParam>& params,
                            bool strict) const
{
    const int index = indexOfEntry(name, params, strict);
    return index < 0 ? vCardEntry() : m_lstEntries.at(index);
}

bool vCard::hasEntry(const QString& name, const QList<vCardEntryParam>& params, bool strict) const
{
    return indexOfEntry(name, params, strict) >= 0;
}

bool vCard::hasEntry(const vCardEntry& entry) const
{
    return m_lstEntries.contains(entry);
}

bool vCard::isValid() const
{
    if (m_lstEntries.isEmpty())
        return false;
    for (const vCardEntry& entry : m_lstEntries) {
        if (!entry.isValid())
            return false;
    }
    return true;
}

QByteArray vCard::serialize(vCardFormat format) const
{
    if (format != Format21 && format != Format30)
        return QByteArray();
    QList<QByteArray> lines;
    lines << "BEGIN:VCARD";
    const QString version = format == Format21 ? QStringLiteral("2.1") : QStringLiteral("3.0");
    lines << vCardEntry(QStringLiteral("VERSION"), QStringList{version}, QList<vCardEntryParam>())
                 .serialize(Format21);
    for (const vCardEntry& entry : m_lstEntries)
        lines << entry.serialize(format);
    lines << "END:VCARD";
    QByteArray text;
    for (int i = 0; i < lines.size(); ++i) {
        if (i)
            text += '\n';
        text += vCardText::decode(lines.at(i)).toUtf8();
    }
    return text;
}

bool vCard::writeFile(const QString& path) const
{
    MTools::SafeSave file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = serialize(Format21);
    if (file.write(text) != text.size()) {
        file.cancel();
        return false;
    }
    return file.commit();
}

QList<vCard> vCard::parse(const QByteArray& text)
{
    QList<QByteArray> lines = joinPhotoLines(text.split('\n'));
    for (QByteArray& line : lines)
        line = withoutItemPrefix(line);

    QList<vCard> cards;
    bool open = false;
    vCard card;
    for (const QByteArray& raw : qAsConst(lines)) {
        const QByteArray line = raw.simplified();
        if (line == "BEGIN:VCARD" && !open) {
            open = true;
            card = vCard();
        } else if (line == "END:VCARD") {
            if (open)
                cards.append(card);
            open = false;
        } else if (open) {
            card.addEntries(vCardEntry::parse(line));
        }
    }
    return cards;
}

QList<vCard> vCard::readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QList<vCard>();
    return parse(file.readAll());
}
