#include "vCardEntryParam.h"

#include "vCardText.h"

#include <QStringList>

namespace {

QString named(const char* name, const QString& value)
{
    return QStringLiteral("%1=%2").arg(QLatin1String(name), value);
}

}  // namespace

vCardEntryParam::vCardEntryParam() = default;

vCardEntryParam::vCardEntryParam(const QString& value, Kind kind)
    : m_eKind(kind)
    , m_strValue(value)
{
}

bool vCardEntryParam::isValid() const
{
    return !m_strValue.isEmpty();
}

bool vCardEntryParam::operator==(const vCardEntryParam& other) const
{
    return m_eKind == other.m_eKind && m_strValue == other.m_strValue;
}

bool vCardEntryParam::operator!=(const vCardEntryParam& other) const
{
    return !(*this == other);
}

QByteArray vCardEntryParam::serialize(vCardFormat format) const
{
    if (format != Format21 && format != Format30)
        return QByteArray();
    QString text;
    switch (m_eKind) {
    case Encoding: text = named("ENCODING", m_strValue); break;
    case Charset: text = named("CHARSET", m_strValue); break;
    case Type: text = format == Format30 ? named("TYPE", m_strValue) : m_strValue; break;
    default: text = m_strValue; break;
    }
    return vCardText::upper(text.toUtf8());
}

QByteArray vCardEntryParam::serializeList(const QList<vCardEntryParam>& params, vCardFormat format)
{
    QList<QByteArray> parts;
    if (format == Format21) {
        for (const vCardEntryParam& param : params)
            parts.append(param.serialize(Format21));
    } else if (format == Format30) {
        QList<QByteArray> types, encodings, charsets;
        for (const vCardEntryParam& param : params) {
            const QByteArray text = param.serialize(Format21);
            switch (param.kind()) {
            case Type: types.append(text); break;
            case Encoding: encodings.append(text); break;
            case Charset: charsets.append(text); break;
            default: parts.append(text); break;
            }
        }
        parts += charsets;
        parts += encodings;
        if (!types.isEmpty()) {
            QByteArray joined;
            for (int i = 0; i < types.size(); ++i)
                joined += (i ? "," : "") + types.at(i);
            parts.prepend("TYPE=" + joined);
        }
    }
    QByteArray result;
    for (int i = 0; i < parts.size(); ++i)
        result += (i ? ";" : "") + parts.at(i);
    return vCardText::upper(result);
}

QList<vCardEntryParam> vCardEntryParam::parseList(const QByteArray& text)
{
    // The character after a known prefix (normally '=') is dropped unseen; a
    // part no longer than its prefix keeps the whole part, as QString::right
    // does with a negative count.
    QList<vCardEntryParam> params;
    const QStringList parts = vCardText::decode(text).simplified().split(QLatin1Char(';'));
    for (const QString& part : parts) {
        if (part.isEmpty())
            continue;
        if (part.startsWith(QLatin1String("TYPE"), Qt::CaseInsensitive)) {
            const QStringList types = part.right(part.size() - 5).split(QLatin1Char(','));
            for (const QString& type : types)
                params.append(vCardEntryParam(type, Type));
        } else if (part.startsWith(QLatin1String("ENCODING"), Qt::CaseInsensitive)) {
            params.append(vCardEntryParam(part.right(part.size() - 9), Encoding));
        } else if (part.startsWith(QLatin1String("CHARSET"), Qt::CaseInsensitive)) {
            params.append(vCardEntryParam(part.right(part.size() - 8), Charset));
        } else {
            params.append(vCardEntryParam(part, Other));
        }
    }
    return params;
}
