#pragma once

#include "vCardEntryParam.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QDate;
class QDateTime;

// One content line of a vCard: a name such as "TEL" or "N", the value's
// components (the parts between ';') and the parameters. Values are written
// as they are: no escaping of ',', ';', ':' or line breaks, no folding.
class vCardEntry
{
public:
    using Params = QList<vCardEntryParam>;

    vCardEntry();
    vCardEntry(const QString& name, const QStringList& values, const Params& params);
    // The value text is split on ';', empty parts kept.
    vCardEntry(const QString& name, const QString& value, const Params& params);
    // The parameter text is read by vCardEntryParam::parseList.
    vCardEntry(const QString& name, const QString& value, const QString& params);
    vCardEntry(const QString& name, const QStringList& values, const QString& params);

    QString name() const { return m_strName; }
    QStringList values() const { return m_lstValues; }
    Params params() const { return m_lstParams; }
    // The values joined with ';'.
    QString value() const;

    // A name, at least one value (an empty one counts) and only valid parameters.
    bool isValid() const;

    // Same name and values; the parameters are not compared.
    bool operator==(const vCardEntry& other) const;
    bool operator!=(const vCardEntry& other) const;

    // "NAME;PARAMS:value;value" without a line end; the name upper-cased.
    QByteArray serialize(vCardFormat format) const;
    // The entries of content lines, one a line, up to a NUL byte or a
    // "BEGIN:VCARD" or "END:VCARD" line. Lines without ':' and VERSION lines
    // are skipped; names keep their case and any group prefix.
    static QList<vCardEntry> parse(const QByteArray& text);

    static vCardEntry makeBirthday(const QDateTime& dateTime, const Params& params = Params());
    static vCardEntry makeBirthday(const QDate& date, const Params& params = Params());
    static vCardEntry makeOrganization(const QString& organization, const QStringList& units,
                                       const Params& params = Params());
    // Stored family name first, in the component order of RFC 2426.
    static vCardEntry makeName(const QString& givenName, const QString& familyName,
                               const QString& additionalNames, const QString& prefix,
                               const QString& suffix, const Params& params = Params());
    // Stored post-office box and extended address first, as RFC 2426 orders them.
    static vCardEntry makeAddress(const QString& street, const QString& locality,
                                  const QString& region, const QString& postalCode,
                                  const QString& country, const QString& postOfficeBox,
                                  const QString& extendedAddress, const Params& params = Params());
    static vCardEntry makeGeoPosition(double latitude, double longitude,
                                      const Params& params = Params());

private:
    QString m_strName;
    QStringList m_lstValues;
    Params m_lstParams;
};
