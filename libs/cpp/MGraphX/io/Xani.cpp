#include "Xani.h"

#include "SafeSave.h"

#include <QBuffer>
#include <QDebug>
#include <QFile>

namespace MGraphX {

namespace {

constexpr qint64 kFieldSize = 16;
constexpr qint64 kHeaderSize = 40;    // "XANI" + total, "BIND" + L
constexpr qint64 kIndexHeaderSize = 20; // "XMLD" + X
constexpr int kPlayInterval = 1000;

const char kRootText[] =
    "<Xani loop = \"<!LOOP!>\" frameduration=\"<!FRAMEDURATION!>\" framecount=\"<!FRAMECOUNT!>\">\n"
    "<!CONTENT!></Xani>";
const char kFrameText[] =
    "<Image index=\"<!INDEX!>\" name=\"<!NAME!>\" format=\"<!FORMAT!>\" duration=\"<!DIRATION!>\" "
    "background=\"<!BACKGROUND!>\">\n"
    "  <data start=\"<!START!>\" size=\"<!SIZE!>\">\n"
    "</Image>\n";

QByteArray lengthField(qint64 nLength)
{
    return QByteArray::number(nLength, 16).leftJustified(int(kFieldSize), ' ');
}

// A length field: the text up to the first NUL, without blanks, as
// hexadecimal. -1 when that is not a number from 0 up.
qint64 parseLengthField(const QByteArray& field, QByteArray* pText = nullptr)
{
    QByteArray text = field.left(field.indexOf('\0') < 0 ? field.size() : field.indexOf('\0'));
    if (pText)
        *pText = text;
    text.replace(' ', QByteArray());
    bool bOk = false;
    const qint64 n = text.toLongLong(&bOk, 16);
    return bOk && n >= 0 ? n : -1;
}

bool readExactly(QFile& file, qint64 nPos, qint64 nLength, QByteArray* pBytes)
{
    if (!file.seek(nPos))
        return false;
    *pBytes = file.read(nLength);
    return pBytes->size() == nLength;
}

} // namespace

Xani::Xani(const QString&, QObject* pParent)
    : QObject(pParent)
{
    connect(&m_timer, SIGNAL(timeout()), this, SLOT(nextFrame()));
}

Xani::Xani(const Xani& other)
    : QObject(nullptr), QImage(),
      m_nLoop(other.m_nLoop), m_nFrameDuration(other.m_nFrameDuration), m_vecFrames(other.m_vecFrames)
{
}

Xani& Xani::operator=(const Xani& other)
{
    m_nLoop = other.m_nLoop;
    m_nFrameDuration = other.m_nFrameDuration;
    m_vecFrames = other.m_vecFrames;
    return *this;
}

Xani::~Xani() = default;

XaniFrame Xani::frame(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_vecFrames.size() ? m_vecFrames.at(nIndex) : XaniFrame();
}

int Xani::addFrame(const XaniFrame& frame)
{
    m_vecFrames.append(frame);
    return m_vecFrames.size();
}

void Xani::replaceFrame(int nIndex, const XaniFrame& frame)
{
    if (nIndex >= 0 && nIndex < m_vecFrames.size())
        m_vecFrames[nIndex] = frame;
}

void Xani::clearFrames()
{
    m_vecFrames.clear();
}

void Xani::start()
{
    // Frames advance once a second whatever their durations say.
    m_timer.setInterval(kPlayInterval);
    m_timer.start();
}

void Xani::stop()
{
    m_timer.stop();
}

void Xani::nextFrame()
{
    if (m_vecFrames.isEmpty()) {
        m_timer.stop();
        return;
    }
    if (m_nNextIndex >= m_vecFrames.size())
        m_nNextIndex = 0;
    setCurrentIndex(m_nNextIndex);
    ++m_nNextIndex;
}

void Xani::setCurrentIndex(int nIndex)
{
    QImage::operator=(frame(nIndex).image());
    emit frameChanged();
}

QString Xani::indexText(const QVector<XaniFrame>& vecStored) const
{
    // Placeholders are replaced one after the other, in this order; names and
    // formats go in as they are, without escaping.
    QString strContent;
    for (int i = 0; i < vecStored.size(); ++i) {
        const XaniFrame& f = vecStored.at(i);
        strContent += QString::fromLatin1(kFrameText)
                          .replace(QLatin1String("<!INDEX!>"), QString::number(i))
                          .replace(QLatin1String("<!NAME!>"), f.name())
                          .replace(QLatin1String("<!FORMAT!>"), f.format())
                          .replace(QLatin1String("<!DIRATION!>"), QString::number(f.duration()))
                          .replace(QLatin1String("<!BACKGROUND!>"), f.background() ? QLatin1String("true") : QLatin1String("false"))
                          .replace(QLatin1String("<!START!>"), QString::number(f.start()))
                          .replace(QLatin1String("<!SIZE!>"), QString::number(f.size()));
    }
    return QString::fromLatin1(kRootText)
        .replace(QLatin1String("<!LOOP!>"), QString::number(m_nLoop))
        .replace(QLatin1String("<!FRAMEDURATION!>"), QString::number(m_nFrameDuration))
        .replace(QLatin1String("<!FRAMECOUNT!>"), QString::number(vecStored.size()))
        .replace(QLatin1String("<!CONTENT!>"), strContent);
}

bool Xani::save(const QString& strFileName, int nQuality)
{
    // Written through a temporary file that replaces the target only when
    // everything was written: a failed save leaves no half container.
    // The lengths are filled in at the end, which a pipe cannot take back.
    MTools::SafeSave file(strFileName, MTools::SafeSave::RegularFileOnly);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray blank(int(kFieldSize), ' ');
    bool bOk = file.write("XANI" + blank + "BIND" + blank) == kHeaderSize;

    QVector<XaniFrame> vecStored = m_vecFrames;
    qint64 nBlockLength = 0;
    for (XaniFrame& f : vecStored) {
        if (!bOk)
            break;
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        bOk = f.image().save(&buffer, f.format().toLocal8Bit().constData(), nQuality)
              && file.write(bytes) == bytes.size();
        f.setStart(kHeaderSize + nBlockLength);
        f.setSize(bytes.size());
        nBlockLength += bytes.size();
    }
    if (!bOk) {
        file.cancel();
        return false;
    }

    const QByteArray index = indexText(vecStored).toLatin1();
    const qint64 nTotal = kHeaderSize + nBlockLength + kIndexHeaderSize + index.size();
    bOk = file.write("XMLD" + lengthField(index.size())) == kIndexHeaderSize
          && file.write(index) == index.size()
          && file.seek(4) && file.write(lengthField(nTotal)) == kFieldSize
          && file.seek(24) && file.write(lengthField(nBlockLength)) == kFieldSize;
    if (!bOk) {
        file.cancel();
        return false;
    }
    return file.commit();
}

bool Xani::load(const QString& strFileName)
{
    m_strFileName = strFileName;
    QFile file(strFileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Every length is checked against the file before anything of that
    // length is read, so a forged header cannot ask for a huge buffer.
    const qint64 nFileSize = file.size();
    QByteArray header;
    if (nFileSize < kHeaderSize + kIndexHeaderSize || !readExactly(file, 0, kHeaderSize, &header))
        return false;
    if (!header.startsWith("XANI") || header.mid(20, 4) != "BIND")
        return false;
    const qint64 nTotal = parseLengthField(header.mid(4, int(kFieldSize)));
    const qint64 nBlockLength = parseLengthField(header.mid(24, int(kFieldSize)));
    if (nTotal < 0 || nTotal > nFileSize || nBlockLength < 0
        || nBlockLength > nFileSize - kHeaderSize - kIndexHeaderSize)
        return false;

    QByteArray indexHeader;
    if (!readExactly(file, kHeaderSize + nBlockLength, kIndexHeaderSize, &indexHeader)
        || !indexHeader.startsWith("XMLD"))
        return false;
    QByteArray lengthText;
    const qint64 nIndexLength = parseLengthField(indexHeader.mid(4), &lengthText);
    if (nIndexLength < 0 || nIndexLength > nFileSize - kHeaderSize - kIndexHeaderSize - nBlockLength)
        return false;
    qDebug().noquote() << QStringLiteral("XXXX:") + QString::fromLatin1(lengthText);
    qDebug().noquote() << QStringLiteral("XXXX:") + QString::number(nIndexLength);

    QByteArray index;
    if (!readExactly(file, kHeaderSize + nBlockLength + kIndexHeaderSize, nIndexLength, &index))
        return false;
    const int nEnd = index.indexOf('\0');
    qDebug().noquote() << QStringLiteral("$$$$$$$$$$$$$$") + QString::fromLatin1(nEnd < 0 ? index : index.left(nEnd));
    return true;
}

} // namespace MGraphX
