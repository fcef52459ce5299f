#include "AFTransCoder.h"

#include <QDebug>

namespace QMMultiMedia {

AFTransCoder::AFTransCoder(QObject *parent)
    : QObject(parent)
{
}

void AFTransCoder::setQuality(const int &value) { m_nQuality = value; }
void AFTransCoder::setBitRate(const int &value) { m_nBitRate = value; }

QString AFTransCoder::fileTypeCode() const
{
    return QStringLiteral("m4af");
}

QString AFTransCoder::fileTypeName() const
{
    return QStringLiteral("Apple MPEG-4 Audio");
}

QStringList AFTransCoder::extensions() const
{
    return {QStringLiteral("m4a"), QStringLiteral("m4r")};
}

QStringList AFTransCoder::dataFormats() const
{
    return {QStringLiteral("aac "), QStringLiteral("aace"), QStringLiteral("aacf"), QStringLiteral("aacg"),
            QStringLiteral("aach"), QStringLiteral("aacl"), QStringLiteral("aacp"), QStringLiteral("ac-3"),
            QStringLiteral("alac"), QStringLiteral("ec-3"), QStringLiteral("paac"), QStringLiteral("pac3"),
            QStringLiteral("pec3")};
}

void AFTransCoder::encode()
{
    qDebug() << "!!!END";
}

} // namespace QMMultiMedia
