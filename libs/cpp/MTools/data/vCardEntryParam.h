#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The vCard versions a card can be written in. Serialisers take any int and
// give empty text for values other than these.
enum vCardFormat : int {
    Format21 = 0,  // vCard 2.1
    Format30 = 1,  // vCard 3.0 (RFC 2426)
};

// One parameter of a vCard content line: a type (HOME, CELL...), an encoding,
// a character set, or any other parameter text kept whole. Written
// upper-cased, values included; read back with the case of the text.
class vCardEntryParam
{
public:
    enum Kind : int { Type = 0, Encoding = 1, Charset = 2, Other = 3 };

    vCardEntryParam();
    vCardEntryParam(const QString& value, Kind kind);

    Kind kind() const { return m_eKind; }
    QString value() const { return m_strValue; }
    // True when the value is not empty.
    bool isValid() const;

    bool operator==(const vCardEntryParam& other) const;
    bool operator!=(const vCardEntryParam& other) const;

    // "ENCODING=B", "CHARSET=UTF-8", a type as "TYPE=HOME" (3.0) or "HOME"
    // (2.1), another parameter as its text.
    QByteArray serialize(vCardFormat format) const;
    // The parameters joined with ';'. In 3.0 the types come first as one
    // "TYPE=A,B", then the others, the character sets and the encodings.
    static QByteArray serializeList(const QList<vCardEntryParam>& params, vCardFormat format);
    // Parameters from text such as "TYPE=home,cell;ENCODING=b" (read up to a
    // NUL byte, white space simplified).
    static QList<vCardEntryParam> parseList(const QByteArray& text);

private:
    Kind m_eKind = Other;
    QString m_strValue;
};
