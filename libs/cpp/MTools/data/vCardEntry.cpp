#include "vCardEntry.h"

#include "vCardText.h"

#include <QDate>
#include <QDateTime>

vCardEntry::vCardEntry() = default;

vCardEntry::vCardEntry(const QString& name, const QStringList& values, const Params& params)
    : m_strName(name)
    , m_lstValues(values)
    , m_lstParams(params)
{
}

vCardEntry::vCardEntry(const QString& name, const QString& value, const Params& params)
    : vCardEntry(name, value.split(QLatin1Char(';')), params)
{
}

vCardEntry::vCardEntry(const QString& name, const QString& value, const QString& params)
    : vCardEntry(name, value.split(QLatin1Char(';')), vCardEntryParam::parseList(params.toUtf8()))
{
}

vCardEntry::vCardEntry(const QString& name, const QStringList& values, const QString& params)
    : vCardEntry(name, values, vCardEntryParam::parseList(params.toUtf8()))
{
}

QString vCardEntry::value() const
{
    return m_lstValues.join(QLatin1Char(';'));
}

bool vCardEntry::isValid() const
{
    if (m_strName.isEmpty() || m_lstValues.isEmpty())
        return false;
    for (const vCardEntryParam& param : m_lstParams) {
        if (!param.isValid())
            return false;
    }
    return true;
}

bool vCardEntry::operator==(const vCardEntry& other) const
{
    return m_strName == other.m_strName && m_lstValues == other.m_lstValues;
}

bool vCardEntry::operator!=(const vCardEntry& other) const
{
    return !(*this == other);
}

QByteArray vCardEntry::serialize(vCardFormat format) const
{
    if (format != Format21 && format != Format30)
        return QByteArray();
    QByteArray line = vCardText::upper(m_strName.toUtf8());
    const QByteArray params = vCardEntryParam::serializeList(m_lstParams, format);
    if (!params.isEmpty())
        line += ';' + params;
    line += ':';
    line += value().toUtf8();
    return line;
}

QList<vCardEntry> vCardEntry::parse(const QByteArray& text)
{
    QList<vCardEntry> entries;
    const QStringList lines = vCardText::decode(text).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        if (line == QLatin1String("BEGIN:VCARD") || line == QLatin1String("END:VCARD"))
            break;
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        QStringList head = line.left(colon).split(QLatin1Char(';'));
        const QString name = head.takeFirst();
        if (name == QLatin1String("VERSION"))
            continue;
        entries.append(vCardEntry(name, line.mid(colon + 1),
                                  vCardEntryParam::parseList(head.join(QLatin1Char(';')).toUtf8())));
    }
    return entries;
}

vCardEntry vCardEntry::makeBirthday(const QDateTime& dateTime, const Params& params)
{
    return vCardEntry(QStringLiteral("BDAY"),
                      dateTime.toString(QStringLiteral("yyyy-MM-dd'T'hh:mm:ss'Z'")), params);
}

vCardEntry vCardEntry::makeBirthday(const QDate& date, const Params& params)
{
    return vCardEntry(QStringLiteral("BDAY"), date.toString(QStringLiteral("yyyy-MM-dd")), params);
}

vCardEntry vCardEntry::makeOrganization(const QString& organization, const QStringList& units,
                                        const Params& params)
{
    return vCardEntry(QStringLiteral("ORG"), QStringList{organization} + units, params);
}

vCardEntry vCardEntry::makeName(const QString& givenName, const QString& familyName,
                                const QString& additionalNames, const QString& prefix,
                                const QString& suffix, const Params& params)
{
    return vCardEntry(QStringLiteral("N"),
                      QStringList{familyName, givenName, additionalNames, prefix, suffix}, params);
}

vCardEntry vCardEntry::makeAddress(const QString& street, const QString& locality,
                                   const QString& region, const QString& postalCode,
                                   const QString& country, const QString& postOfficeBox,
                                   const QString& extendedAddress, const Params& params)
{
    return vCardEntry(QStringLiteral("ADR"),
                      QStringList{postOfficeBox, extendedAddress, street, locality, region,
                                  postalCode, country},
                      params);
}

vCardEntry vCardEntry::makeGeoPosition(double latitude, double longitude, const Params& params)
{
    return vCardEntry(QStringLiteral("GEO"),
                      QStringList{QStringLiteral("%1").arg(latitude, 0, 'g', -1),
                                  QStringLiteral("%1").arg(longitude, 0, 'g', -1)},
                      params);
}
