#include "EBUInfo.h"

#include "ChunkReader.h"
#include "Codecs.h"
#include "FrameworkServices.h"
#include "ProductionParameters.h"

#include <QCoreApplication>
#include <QDate>
#include <QDebug>
#include <QStringList>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace QMMultiMedia {

namespace {

constexpr int kDescriptionWidth = 256;
constexpr int kOriginatorWidth = 32;
constexpr int kReferenceWidth = 32;
constexpr int kDateWidth = 10;
constexpr int kTimeWidth = 8;
constexpr quint32 kFixedSize = 602;
constexpr qint64 kMaxCodingHistory = qint64(1) << 29;

QString nulFilled(const QString& text, int width)
{
    return text.size() >= width ? text : text + QString(width - text.size(), QChar(0));
}

// The field's Latin-1 bytes at exactly its width.
void appendField(QByteArray& out, const QString& text, int width)
{
    QByteArray bytes = text.toLatin1().left(width);
    bytes.append(width - bytes.size(), '\0');
    out.append(bytes);
}

void appendLe(QByteArray& out, quint32 value, int width)
{
    for (int i = 0; i < width; ++i)
        out.append(char(quint8(value >> (8 * i))));
}

QString readText(FILE* file, int width)
{
    unsigned char bytes[kDescriptionWidth];
    ChunkReader::readFilled(file, bytes, width);
    return MTools::fromLatin1Bytes(bytes, width);
}

quint32 readLe(FILE* file, int width)
{
    unsigned char bytes[4];
    ChunkReader::readFilled(file, bytes, width);
    quint32 value = 0;
    for (int i = 0; i < width; ++i)
        value |= quint32(bytes[i]) << (8 * i);
    return value;
}

}  // namespace

EBUInfo::EBUInfo()
{
    setDescription(QString());
    setOriginator(QString());
    setOriginatorReference(QString());
    setOriginationDate(QStringLiteral("0000-00-00"));
    setOriginationTime(QStringLiteral("00:00:00"));
}

EBUInfo::EBUInfo(qint32 timeReferenceLow, qint32 timeReferenceHigh, float fps)
    : EBUInfo()
{
    m_nTimeReferenceLow = timeReferenceLow;
    m_nTimeReferenceHigh = timeReferenceHigh;
    m_fFps = fps;
    setDescription(QStringLiteral("sSPEED=") + QString::number(double(fps), 'g', 6));
}

EBUInfo::~EBUInfo() = default;

EBUInfo::EBUInfo(const EBUInfo& other)
{
    copyFields(other);
}

EBUInfo& EBUInfo::operator=(const EBUInfo& other)
{
    if (this != &other)
        copyFields(other);
    return *this;
}

void EBUInfo::copyFields(const EBUInfo& other)
{
    m_strDescription = other.m_strDescription;
    m_strOriginator = other.m_strOriginator;
    m_strOriginatorReference = other.m_strOriginatorReference;
    m_strOriginationDate = other.m_strOriginationDate;
    m_strOriginationTime = other.m_strOriginationTime;
    m_nTimeReferenceLow = other.m_nTimeReferenceLow;
    m_nTimeReferenceHigh = other.m_nTimeReferenceHigh;
    m_nVersion = other.m_nVersion;
    std::memcpy(m_umid, other.m_umid, sizeof m_umid);
    std::memcpy(m_reserved, other.m_reserved, sizeof m_reserved);
    m_strCodingHistory = other.m_strCodingHistory;
    m_fFps = other.m_fFps;
}

void EBUInfo::setDescription(const QString& text)
{
    m_strDescription = nulFilled(text, kDescriptionWidth);
}

void EBUInfo::setOriginator(const QString& text)
{
    m_strOriginator = nulFilled(text, kOriginatorWidth);
}

void EBUInfo::setOriginatorReference(const QString& text)
{
    m_strOriginatorReference = nulFilled(text, kReferenceWidth);
}

void EBUInfo::setOriginationDate(const QString& text)
{
    m_strOriginationDate = nulFilled(text, kDateWidth);
}

void EBUInfo::setOriginationTime(const QString& text)
{
    m_strOriginationTime = nulFilled(text, kTimeWidth);
}

void EBUInfo::setTimeReference(qint64 samples)
{
    m_nTimeReferenceLow = qint32(quint32(quint64(samples)));
    m_nTimeReferenceHigh = qint32(quint32(quint64(samples) >> 32));
}

qint64 EBUInfo::timeReference() const
{
    return qint64((quint64(quint32(m_nTimeReferenceHigh)) << 32) | quint32(m_nTimeReferenceLow));
}

void EBUInfo::setUmidByte(int index, unsigned char value)
{
    if (index >= 0 && index < 64)
        m_umid[index] = value;
}

int EBUInfo::umidByte(int index) const
{
    return index >= 0 && index < 64 ? m_umid[index] : 0;
}

quint32 EBUInfo::chunkSize() const
{
    return kFixedSize + quint32(m_strCodingHistory.size());
}

bool EBUInfo::writeChunk(FILE* file) const
{
    if (!file)
        return false;
    QByteArray fixed;
    fixed.reserve(8 + int(kFixedSize));
    fixed.append("bext", 4);
    appendLe(fixed, chunkSize(), 4);
    appendField(fixed, m_strDescription, kDescriptionWidth);
    appendField(fixed, m_strOriginator, kOriginatorWidth);
    appendField(fixed, m_strOriginatorReference, kReferenceWidth);
    appendField(fixed, m_strOriginationDate, kDateWidth);
    appendField(fixed, m_strOriginationTime, kTimeWidth);
    appendLe(fixed, quint32(m_nTimeReferenceLow), 4);
    appendLe(fixed, quint32(m_nTimeReferenceHigh), 4);
    appendLe(fixed, m_nVersion, 2);
    fixed.append(reinterpret_cast<const char*>(m_umid), sizeof m_umid);
    fixed.append(reinterpret_cast<const char*>(m_reserved), sizeof m_reserved);
    if (std::fwrite(fixed.constData(), 1, size_t(fixed.size()), file) != size_t(fixed.size()))
        return false;
    const QByteArray history = m_strCodingHistory.toLatin1();
    return history.isEmpty() || std::fwrite(history.constData(), 1, size_t(history.size()), file) == size_t(history.size());
}

void EBUInfo::readChunk(FILE* file)
{
    if (!file)
        return;
    setDescription(readText(file, kDescriptionWidth));
    setOriginator(readText(file, kOriginatorWidth));
    setOriginatorReference(readText(file, kReferenceWidth));
    setOriginationDate(readText(file, kDateWidth));
    setOriginationTime(readText(file, kTimeWidth));
    m_nTimeReferenceLow = qint32(readLe(file, 4));
    m_nTimeReferenceHigh = qint32(readLe(file, 4));
    m_nVersion = quint16(readLe(file, 2));
    ChunkReader::readFilled(file, m_umid, sizeof m_umid);
    ChunkReader::readFilled(file, m_reserved, sizeof m_reserved);
    if (m_nStoredChunkSize > kFixedSize) {
        // The size comes from the file: never more than the bytes it holds
        // (nor than a text can hold).
        const qint64 n = std::min<qint64>({qint64(m_nStoredChunkSize - kFixedSize), ChunkReader::bytesLeft(file),
                                           kMaxCodingHistory});
        QByteArray history(int(n), '\0');
        const qint64 got = ChunkReader::readFilled(file, history.data(), n);
        m_strCodingHistory = MTools::fromLatin1Bytes(reinterpret_cast<const uchar*>(history.constData()), int(got));
    }
}

bool EBUInfo::save(const char* path) const
{
    FILE* file = path ? std::fopen(path, "wb") : nullptr;
    if (!file) {
        qDebug() << "EBUInfo::save: file create error";
        return false;
    }
    const bool written = writeChunk(file);
    return std::fclose(file) == 0 && written;
}

bool EBUInfo::load(const char* path)
{
    FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file) {
        qDebug() << "EBUInfo::load: file open error";
        return false;
    }
    ChunkReader reader(file, 0, ChunkReader::fileLength(file));
    ChunkHeader header;
    const bool found = reader.next(&header);
    if (found) {
        setChunkSize(header.size);
        readChunk(file);
    }
    std::fclose(file);
    return found;
}

void EBUInfo::setDefaults(const QString& fileName, int sampleRate, int bitsPerSample, int channels)
{
    setOriginator(QStringLiteral("CORVANE"));
    setOriginatorReference(QCoreApplication::applicationName() + QLatin1Char(':'));
    m_nVersion = 1;
    const QDate today = QDate::currentDate();
    setOriginationDate(QString::asprintf("%04d-%02d-%02d", today.year(), today.month(), today.day()));
    const QTime now = QTime::currentTime();
    setOriginationTime(QString::asprintf("%02d:%02d:%02d", now.hour(), now.minute(), now.second()));
    buildDescription(fileName);
    appendCodingHistory(sampleRate, bitsPerSample, channels);
}

void EBUInfo::appendCodingHistory(int sampleRate, int bitsPerSample, int channels)
{
    QString mode;
    if (channels == 1)
        mode = QStringLiteral("mono");
    else if (channels == 2)
        mode = QStringLiteral("stereo");
    else
        mode = QString::number(channels) + QStringLiteral("CH");
    m_strCodingHistory += QStringLiteral("A=PCM,F=%1,W=%2,M=%3,T=\r\n").arg(sampleRate).arg(bitsPerSample).arg(mode);
}

void EBUInfo::buildDescription(const QString& fileName)
{
    QString userBitsText = userBits();
    if (userBitsText.isEmpty()) {
        const QDate today = QDate::currentDate();
        userBitsText = QString::asprintf("%02d%02d%02d%02d", today.day(), today.month(), today.year(), 0).left(8);
    }
    // A rate whose whole part is 0 is no rate: the production's is written.
    // The -1 of a record made without one is written as it is.
    float rate = m_fFps;
    if (!std::isfinite(rate) || std::trunc(rate) == 0.0f)
        rate = productionFps();
    QStringList lines;
    lines << QStringLiteral("sUBITS=$") + userBitsText;
    lines << QStringLiteral("sSPEED=") + QString::asprintf("%6.3f", double(rate)).left(6) + QStringLiteral("-ND");
    if (!take().isEmpty())
        lines << QStringLiteral("sTAKE=") + take();
    if (!scene().isEmpty())
        lines << QStringLiteral("sSCENE=") + scene();
    lines << QStringLiteral("sSWVER=") + QCoreApplication::applicationVersion() + QLatin1Char('.')
            + frameworkBuildDateText();
    lines << QStringLiteral("sFILENAME=") + replaceBlanks(fileName, QLatin1Char('_'));
    lines << QStringLiteral("sPROJECTNAME=") + replaceBlanks(productionProjectName(), QLatin1Char('_'));
    setDescription(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\nsTRK=\r\nsNOTE=\r\n"));
}

QString EBUInfo::replaceBlanks(const QString& text, QChar replacement)
{
    QString result = text;
    result.replace(QLatin1Char(' '), replacement);
    return result;
}

QString EBUInfo::umidText() const
{
    QString text;
    for (int line = 0; line < 8; ++line) {
        const unsigned char* b = m_umid + 8 * line;
        text += QString::asprintf("%02x %02x %02x %02x %02x %02x %02x %02x\n", b[0], b[1], b[2], b[3], b[4], b[5],
                                  b[6], b[7]);
    }
    return text;
}

void EBUInfo::dumpInfo() const
{
    qDebug() << "----- EBU Info Begin ------";
    qDebug() << "Description = " << m_strDescription;
    qDebug() << "Originator = " << m_strOriginator;
    qDebug() << "OriginationRef = " << m_strOriginatorReference;
    qDebug() << "OriginationDate = " << m_strOriginationDate;
    qDebug() << "OriginationTime = " << m_strOriginationTime;
    qDebug() << "TimeReferenceLow = " << m_nTimeReferenceLow;
    qDebug() << "TimeReferenceHigh = " << m_nTimeReferenceHigh;
    qDebug() << "Version = " << version();
    qDebug() << "UMIDS = " << umidText();
    qDebug() << "CodingHistory = " << m_strCodingHistory;
    qDebug() << "Size = " << chunkSize();
    qDebug() << "Fps = " << m_fFps;
    qDebug() << "Scene = " << scene();
    qDebug() << "Take = " << take();
    qDebug() << "UserBits = " << userBits();
    qDebug() << "----- EBU Info End ------";
}

}  // namespace QMMultiMedia
