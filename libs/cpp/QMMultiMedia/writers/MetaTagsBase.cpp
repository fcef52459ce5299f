#include "MetaTagsBase.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include <cstring>

namespace QMMultiMedia {

namespace {

// A synchsafe integer carries 7 bits per byte: 28 bits in four bytes.
constexpr quint32 kMaxSynchsafe = 0x0FFFFFFF;
constexpr int kHeaderSize = 10;
// Pictures of a tag are covers and thumbnails; anything larger is refused
// before it is decoded, whatever its header claims.
constexpr int kMaxPictureSide = 8192;

// Codes 0 to 79 of ID3v1 and the 46 later additions, as published with the
// ID3v2 standard (its spellings kept: "Psychadelic", "Bebob", "Acapella").
const char *const kMusicGenres[] = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz", "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop",
    "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game",
    "Sound Clip", "Gospel", "Noise", "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative",
    "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic", "Darkwave", "Techno-Industrial",
    "Electronic", "Pop-Folk", "Eurodance", "Dream", "Southern Rock", "Comedy", "Cult", "Gangsta",
    "Top 40", "Christian Rap", "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave",
    "Psychadelic", "Rave", "Showtunes", "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka",
    "Retro", "Musical", "Rock & Roll", "Hard Rock",
    "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin", "Revival", "Celtic",
    "Bluegrass", "Avantgarde", "Gothic Rock", "Progressive Rock", "Psychedelic Rock", "Symphonic Rock",
    "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic", "Humour", "Speech", "Chanson",
    "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus", "Porn Groove", "Satire",
    "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad", "Power Ballad", "Rhythmic Soul",
    "Freestyle", "Duet", "Punk Rock", "Drum Solo", "Acapella", "Euro-House", "Dance Hall"};

const char *const kVideoGenres[] = {"Drama", "Animation", "Action & Adventure", "Classic", "Kids", "Nonfiction",
                                    "Reality TV", "Sci-Fi & Fantasy", "Sports", "Teens", "Latino TV"};

QByteArray synchsafe(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 3; i >= 0; --i) {
        bytes[i] = char(value & 0x7F);
        value >>= 7;
    }
    return bytes;
}

// Frame sizes are synchsafe as well: version 4 says so for every frame.
// A frame whose size cannot be stated is left out.
void appendFrame(QByteArray &tag, const char *id, const QByteArray &content)
{
    if (quint32(content.size()) > kMaxSynchsafe)
        return;
    tag.append(id, 4);
    tag.append(synchsafe(quint32(content.size())));
    tag.append(2, '\0');
    tag.append(content);
}

void appendTextFrame(QByteArray &tag, const char *id, const QString &text)
{
    if (text.isEmpty())
        return;
    appendFrame(tag, id, QByteArray(1, '\x03') + text.toUtf8());
}

bool withinLimits(int width, int height)
{
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

// Qt's GIF reader makes its picture as large as the logical screen, or,
// when that looks implausible, as the first frame's extent, and its size()
// reports neither reliably: both are read from the data here. A frame
// without pixels never decodes; refusing it early spares clearing a screen
// of up to 8192 x 8192 for nothing.
bool gifWithinLimits(const QByteArray &data)
{
    const auto byteAt = [&data](int at) { return uchar(data.at(at)); };
    const auto word = [&byteAt](int at) { return byteAt(at) | (byteAt(at + 1) << 8); };
    if (data.size() < 13 || !withinLimits(word(6), word(8)))
        return false;
    int pos = 13;
    if (byteAt(10) & 0x80)
        pos += 3 * (2 << (byteAt(10) & 7)); // global colour table
    while (pos < data.size()) {
        if (byteAt(pos) == 0x2C) { // the first frame
            if (pos + 10 > data.size() || word(pos + 5) == 0 || word(pos + 7) == 0)
                return false;
            return withinLimits(word(pos + 1) + word(pos + 5), word(pos + 3) + word(pos + 7));
        }
        if (byteAt(pos) != 0x21) // anything but an extension: no frame follows
            return false;
        pos += 2;
        while (pos < data.size() && byteAt(pos) != 0)
            pos += 1 + byteAt(pos);
        ++pos;
    }
    return false;
}

// Only the formats that tags carry, and whose readers allocate what their
// header declares (GIF checked apart): a picture is refused by its declared
// size before anything is decoded.
QImage loadWithinLimits(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return QImage();
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    if (format == "gif") {
        if (!gifWithinLimits(bytes))
            return QImage();
    } else if (format != "png" && format != "jpeg" && format != "bmp") {
        return QImage();
    }
    const QSize size = reader.size();
    if (!withinLimits(size.width(), size.height()))
        return QImage();
    QImage image;
    if (!reader.read(&image) || !withinLimits(image.width(), image.height()))
        return QImage();
    return image;
}

} // namespace

MetaTagsBase::MetaTagsBase(QObject *parent)
    : QObject(parent)
{
    for (const char *name : kMusicGenres)
        m_vecMusicGenres.append(QString::fromLatin1(name));
    for (const char *name : kVideoGenres)
        m_vecVideoGenres.append(QString::fromLatin1(name));
}

QString MetaTagsBase::artist() const { return m_strArtist; }
QString MetaTagsBase::album() const { return m_strAlbum; }
int MetaTagsBase::tempo() const { return m_nTempo; }
QString MetaTagsBase::keySignature() const { return m_strKeySignature; }
QString MetaTagsBase::timeSignature() const { return m_strTimeSignature; }
QString MetaTagsBase::trackNumber() const { return m_strTrackNumber; }
QString MetaTagsBase::discNumber() const { return m_strDiscNumber; }
QString MetaTagsBase::year() const { return m_strYear; }
QString MetaTagsBase::composer() const { return m_strComposer; }
QString MetaTagsBase::lyricist() const { return m_strLyricist; }
QString MetaTagsBase::genre() const { return m_strGenre; }
QString MetaTagsBase::title() const { return m_strTitle; }
QString MetaTagsBase::recordedDate() const { return m_strRecordedDate; }
QString MetaTagsBase::comments() const { return m_strComments; }
QString MetaTagsBase::copyright() const { return m_strCopyright; }
QString MetaTagsBase::sourceEncoder() const { return m_strSourceEncoder; }
QString MetaTagsBase::encodingApplication() const { return m_strEncodingApplication; }
QString MetaTagsBase::nominalBitRate() const { return m_strNominalBitRate; }
QString MetaTagsBase::channelLayout() const { return m_strChannelLayout; }
QString MetaTagsBase::approximateDurationInSeconds() const { return m_strApproximateDurationInSeconds; }
QString MetaTagsBase::sourceBitDepth() const { return m_strSourceBitDepth; }
QString MetaTagsBase::isrc() const { return m_strISRC; }
QString MetaTagsBase::subTitle() const { return m_strSubTitle; }
QImage MetaTagsBase::picture() const { return m_imgPicture; }

void MetaTagsBase::setEncodingApplication(const QString &text)
{
    m_strEncodingApplication = text;
}

void MetaTagsBase::clear()
{
    QString *const texts[] = {
        &m_strInputFile, &m_strArtist, &m_strAlbum, &m_strAlbumArtist, &m_strKeySignature, &m_strCreator,
        &m_strTimeSignature, &m_strTrackNumber, &m_strDiscNumber, &m_strYear, &m_strComposer,
        &m_strLyricist, &m_strGenre, &m_strGrouping, &m_strTitle, &m_strRecordedDate, &m_strComments,
        &m_strCopyright, &m_strSourceEncoder, &m_strEncodingApplication, &m_strNominalBitRate,
        &m_strChannelLayout, &m_strApproximateDurationInSeconds, &m_strSourceBitDepth, &m_strISRC,
        &m_strSubTitle, &m_strPicType};
    for (QString *text : texts)
        text->clear();
    m_nTempo = -1;
    m_imgPicture = QImage();
}

bool MetaTagsBase::hasTags() const
{
    const QString *const texts[] = {
        &m_strArtist, &m_strAlbum, &m_strAlbumArtist, &m_strKeySignature, &m_strCreator,
        &m_strTimeSignature, &m_strTrackNumber, &m_strDiscNumber, &m_strYear, &m_strComposer,
        &m_strLyricist, &m_strGenre, &m_strGrouping, &m_strTitle, &m_strRecordedDate, &m_strComments,
        &m_strCopyright, &m_strSourceEncoder, &m_strEncodingApplication, &m_strNominalBitRate,
        &m_strChannelLayout, &m_strApproximateDurationInSeconds, &m_strSourceBitDepth, &m_strISRC,
        &m_strSubTitle};
    for (const QString *text : texts) {
        if (!text->isEmpty())
            return true;
    }
    return m_nTempo >= 0 || !m_imgPicture.isNull();
}

void MetaTagsBase::dump() const
{
    qDebug() << "m_strInputFile:" << m_strInputFile;
    qDebug() << "m_strTitle: " << m_strTitle;
    qDebug() << "m_strCreator: " << m_strCreator;
    qDebug() << "m_strArtist: " << m_strArtist;
    qDebug() << "m_strAlbum: " << m_strAlbum;
    qDebug() << "m_strAlbumArtist: " << m_strAlbumArtist;
    qDebug() << "m_nTempo: " << m_nTempo;
    qDebug() << "m_strKeySignature: " << m_strKeySignature;
    qDebug() << "m_strTimeSignature: " << m_strTimeSignature;
    qDebug() << "m_strTrackNumber: " << m_strTrackNumber;
    qDebug() << "m_strDiscNumber: " << m_strDiscNumber;
    qDebug() << "m_strYear: " << m_strYear;
    qDebug() << "m_strComposer: " << m_strComposer;
    qDebug() << "m_strLyricist: " << m_strLyricist;
    qDebug() << "m_strGenre: " << m_strGenre;
    qDebug() << "m_strGrouping: " << m_strGrouping;
    qDebug() << "m_strRecordedDate: " << m_strRecordedDate;
    qDebug() << "m_strComments: " << m_strComments;
    qDebug() << "m_strCopyright: " << m_strCopyright;
    qDebug() << "m_strSourceEncoder: " << m_strSourceEncoder;
    qDebug() << "m_strEncodingApplication: " << m_strEncodingApplication;
    qDebug() << "m_strNominalBitRate: " << m_strNominalBitRate;
    qDebug() << "m_strChannelLayout: " << m_strChannelLayout;
    qDebug() << "m_strApproximateDurationInSeconds: " << m_strApproximateDurationInSeconds;
    qDebug() << "m_strSourceBitDepth: " << m_strSourceBitDepth;
    qDebug() << "m_strISRC: " << m_strISRC;
    qDebug() << "m_strPicType: " << m_strPicType;
    qDebug() << "m_strSubTitle: " << m_strSubTitle;
}

QByteArray MetaTagsBase::id3Tag() const
{
    QByteArray tag("ID3\x04\x00\x00", 6);
    tag.append(4, '\0'); // size, filled in below

    appendFrame(tag, "TENC", QByteArray(1, '\x03') + QCoreApplication::applicationName().toUtf8());
    appendTextFrame(tag, "TCOM", m_strComposer);
    // Only a name of the list; all of them are ASCII, so Latin-1 (encoding 0).
    if (!m_strGenre.isEmpty() && m_vecMusicGenres.contains(m_strGenre))
        appendFrame(tag, "TCON", QByteArray(1, '\0') + m_strGenre.toLatin1());
    appendTextFrame(tag, "TPOS", m_strDiscNumber);
    if (!m_strComments.isEmpty())
        appendFrame(tag, "COMM", QByteArray("\x03" "eng\x00", 5) + m_strComments.toUtf8());
    appendTextFrame(tag, "TPE1", m_strArtist);
    appendTextFrame(tag, "TIT2", m_strTitle);
    appendTextFrame(tag, "TEXT", m_strLyricist);
    appendTextFrame(tag, "TIT3", m_strSubTitle);
    appendTextFrame(tag, "TCOP", m_strCopyright);
    appendTextFrame(tag, "TRCK", m_strTrackNumber);
    // Version 4 replaced TYER by the recording time TDRC, which a year alone
    // fills; readers of version 4 look only for TDRC.
    appendTextFrame(tag, "TDRC", m_strYear);
    appendTextFrame(tag, "TALB", m_strAlbum);

    if (!m_imgPicture.isNull()) {
        // The MIME type must name what the bytes are: any format name other
        // than "JPEG" gives a PNG.
        const bool jpeg = m_strPicType == QLatin1String("JPEG");
        QByteArray encoded;
        QBuffer buffer(&encoded);
        buffer.open(QIODevice::WriteOnly);
        if (m_imgPicture.save(&buffer, jpeg ? "JPEG" : "PNG", jpeg ? -1 : 0) && !encoded.isEmpty()) {
            // Text encoding 0, MIME type and its terminator, picture type 3
            // (front cover), an empty description and its terminator.
            QByteArray content(1, '\0');
            content.append(jpeg ? "image/jpeg" : "image/png");
            content.append('\0');
            content.append('\x03');
            content.append('\0');
            content.append(encoded);
            appendFrame(tag, "APIC", content);
        }
    }

    const quint32 framesLength = quint32(tag.size() - kHeaderSize);
    if (framesLength > kMaxSynchsafe)
        return QByteArray();
    tag.replace(6, 4, synchsafe(framesLength));
    return tag;
}

char *MetaTagsBase::buildId3Tag(unsigned int *size) const
{
    const QByteArray tag = id3Tag();
    if (size)
        *size = unsigned(tag.size());
    if (tag.isEmpty())
        return nullptr;
    char *buffer = new char[size_t(tag.size())];
    std::memcpy(buffer, tag.constData(), size_t(tag.size()));
    return buffer;
}

bool MetaTagsBase::writeTagToFile(const QString &path) const
{
    // The old content is copied behind the tag into a temporary file that
    // then replaces the file: this cannot be done in place (the file would
    // be cut before it is read), and a pipe or a device would be replaced by
    // a regular file, so only a regular file is tagged (a link is followed).
    if (!QFileInfo(path).isFile())
        return false;
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray tag = id3Tag();
    if (tag.isEmpty())
        return false;
    QSaveFile target(path);
    // Unbuffered, so that a short write (the disk filling up at the last
    // bytes) shows in write()'s count: commit() overlooks a failed flush of
    // a buffer and would report a cut file as written.
    if (!target.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (target.write(tag) != tag.size()) {
        target.cancelWriting();
        return false;
    }
    // Streamed: an audio file can be large.
    char chunk[64 * 1024];
    for (;;) {
        const qint64 got = source.read(chunk, sizeof chunk);
        if (got < 0 || (got > 0 && target.write(chunk, got) != got)) {
            target.cancelWriting();
            return false;
        }
        if (got == 0)
            break;
    }
    return target.commit();
}

QByteArray MetaTagsBase::removeUnsynchronisation(const QByteArray &data)
{
    QByteArray out;
    if (data.isEmpty())
        return out;
    out.reserve(data.size());
    out.append(data.at(0));
    for (int i = 1; i < data.size(); ++i) {
        if (data.at(i) == '\0' && data.at(i - 1) == '\xFF')
            continue;
        out.append(data.at(i));
    }
    return out;
}

QImage MetaTagsBase::imageFromPictureData(const QByteArray &data, bool unsynchronised)
{
    if (!unsynchronised)
        return loadWithinLimits(data);
    const QByteArray cleaned = removeUnsynchronisation(data);
    if (cleaned.size() == data.size())
        return loadWithinLimits(data);
    const QImage image = loadWithinLimits(cleaned);
    return image.isNull() ? loadWithinLimits(data) : image;
}

} // namespace QMMultiMedia
