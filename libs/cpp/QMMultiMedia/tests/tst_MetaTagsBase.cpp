#include "MetaTagsBase.h"
#include "WriterFixtures.h"
#include "../../MTools/tests/FileSizeLimit.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <memory>

#include <unistd.h>

using namespace QMMultiMedia;

namespace {

// The base leaves reading and saving to subclasses and offers no setters:
// this one fills the fields the way a format reader would.
class Tags : public MetaTagsBase
{
public:
    bool readTags(const QString &) override { return false; }
    bool saveTags(const QString &) override { return false; }

    void set(const QString &field, const QVariant &value)
    {
        const QHash<QString, QString *> texts = {
            {"inputFile", &m_strInputFile}, {"artist", &m_strArtist}, {"album", &m_strAlbum},
            {"albumArtist", &m_strAlbumArtist}, {"keySignature", &m_strKeySignature},
            {"creator", &m_strCreator}, {"timeSignature", &m_strTimeSignature},
            {"trackNumber", &m_strTrackNumber}, {"discNumber", &m_strDiscNumber}, {"year", &m_strYear},
            {"composer", &m_strComposer}, {"lyricist", &m_strLyricist}, {"genre", &m_strGenre},
            {"grouping", &m_strGrouping}, {"title", &m_strTitle}, {"recordedDate", &m_strRecordedDate},
            {"comments", &m_strComments}, {"copyright", &m_strCopyright},
            {"sourceEncoder", &m_strSourceEncoder}, {"encodingApplication", &m_strEncodingApplication},
            {"nominalBitRate", &m_strNominalBitRate}, {"channelLayout", &m_strChannelLayout},
            {"approximateDurationInSeconds", &m_strApproximateDurationInSeconds},
            {"sourceBitDepth", &m_strSourceBitDepth}, {"isrc", &m_strISRC}, {"subTitle", &m_strSubTitle},
            {"picType", &m_strPicType}};
        if (field == QLatin1String("tempo"))
            m_nTempo = value.toInt();
        else if (field == QLatin1String("picture"))
            m_imgPicture = value.value<QImage>();
        else if (QString *text = texts.value(field))
            *text = value.toString();
        else
            qFatal("no field %s", qPrintable(field));
    }

    bool isCreatorNull() const { return m_strCreator.isNull(); }
    QVector<QString> musicGenres() const { return m_vecMusicGenres; }
    QVector<QString> videoGenres() const { return m_vecVideoGenres; }

    QByteArray tag() const
    {
        unsigned int size = 12345;
        std::unique_ptr<char[]> bytes(buildId3Tag(&size));
        return QByteArray(bytes.get(), int(size));
    }
};

struct Frame
{
    QByteArray id;
    QByteArray sizeBytes;
    QByteArray content;
};

// Walks the frames after the header, reading sizes as synchsafe numbers.
QVector<Frame> framesOf(const QByteArray &tag)
{
    QVector<Frame> frames;
    int pos = 10;
    while (pos + 10 <= tag.size()) {
        const QByteArray size = tag.mid(pos + 4, 4);
        const int length = (uchar(size[0]) << 21) | (uchar(size[1]) << 14) | (uchar(size[2]) << 7) | uchar(size[3]);
        frames.append({tag.mid(pos, 4), size, tag.mid(pos + 10, length)});
        pos += 10 + length;
    }
    return frames;
}

QByteArray idsOf(const QByteArray &tag)
{
    QByteArray ids;
    for (const Frame &frame : framesOf(tag))
        ids += frame.id + ' ';
    return ids.trimmed();
}

QByteArray imageBytes(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray pngBytes(const QImage &image)
{
    return imageBytes(image, "PNG");
}

quint32 crc32(const QByteArray &bytes);

// A GIF with the given logical screen, one frame at the given place (one
// pixel of data) and no colour table.
QByteArray gif(const QSize &screen, const QRect &frame)
{
    const auto word = [](int value) { return QByteArray(1, char(value & 0xFF)) + char(value >> 8); };
    return QByteArray("GIF89a") + word(screen.width()) + word(screen.height()) + QByteArray(3, '\0')
        + '\x2C' + word(frame.x()) + word(frame.y()) + word(frame.width()) + word(frame.height()) + '\0'
        + QByteArray::fromHex("0202440100") + ';';
}

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(value >> (24 - 8 * i));
    return bytes;
}

// A 2 x 1 PNG with a private chunk holding FF 00 FF 00 after its header:
// dropping the zero bytes breaks the chunk layout.
QByteArray pngWithFfZero()
{
    QByteArray png = pngBytes(QImage(2, 1, QImage::Format_RGB32));
    const QByteArray body = QByteArray("ffZe") + QByteArray::fromHex("FF00FF00");
    const QByteArray chunk = bigEndian(4) + body + bigEndian(crc32(body));
    png.insert(33, chunk); // signature 8, IHDR chunk 25
    return png;
}

// ID3v2 unsynchronisation: a zero byte after every 0xFF.
QByteArray unsynchronised(const QByteArray &bytes)
{
    QByteArray out;
    for (char c : bytes) {
        out += c;
        if (c == '\xFF')
            out += '\0';
    }
    return out;
}

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= uchar(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A real PNG whose header then claims another size (its checksum redone),
// so that only the size tells it apart.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray png = pngBytes(QImage(1, 1, QImage::Format_RGB32));
    QByteArray dims(8, '\0');
    for (int i = 0; i < 4; ++i) {
        dims[i] = char(width >> (24 - 8 * i));
        dims[4 + i] = char(height >> (24 - 8 * i));
    }
    png.replace(16, 8, dims); // after the signature, length and "IHDR"
    const quint32 crc = crc32(png.mid(12, 17));
    for (int i = 0; i < 4; ++i)
        png[29 + i] = char(crc >> (24 - 8 * i));
    return png;
}

// Twenty frames of silent MPEG-1 Layer III audio (128 kbit/s, 44.1 kHz,
// joint stereo; 417 bytes each, all zero after the header) and, at the end,
// an ID3v1 tag of another title and year than the tag written in front:
// readers fall back on it for whatever the new tag does not carry.
QByteArray mp3WithId3v1()
{
    QByteArray frame = QByteArray::fromHex("FFFB9064");
    frame.append(417 - 4, '\0');
    QByteArray id3v1("TAG");
    const auto field = [&id3v1](const QByteArray &text, int width) { id3v1 += text.leftJustified(width, '\0'); };
    field("Old title", 30);
    field("Old artist", 30);
    field("Old album", 30);
    field("1999", 4);
    field("Old comment", 30);
    id3v1 += char(12); // "Other"
    return frame.repeated(20) + id3v1;
}

QImage coverPicture()
{
    QImage cover(300, 200, QImage::Format_RGB32);
    cover.fill(qRgb(10, 120, 230));
    return cover;
}

QImage colourCard()
{
    QImage image(4, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            image.setPixel(x, y, qRgb(60 * x, 80 * y, 200));
    return image;
}

// Every field that has a frame of its own, as a format reader would fill them.
void setEveryFramedField(Tags &tags)
{
    tags.set(QStringLiteral("title"), QString::fromUtf8("Gr\xC3\xBC\xC3\x9F" "e"));
    tags.set(QStringLiteral("artist"), QStringLiteral("Artist"));
    tags.set(QStringLiteral("album"), QStringLiteral("Album"));
    tags.set(QStringLiteral("composer"), QStringLiteral("Composer"));
    tags.set(QStringLiteral("genre"), QStringLiteral("Jazz+Funk"));
    tags.set(QStringLiteral("discNumber"), QStringLiteral("2/3"));
    tags.set(QStringLiteral("comments"), QString(300, QLatin1Char('c')));
    tags.set(QStringLiteral("lyricist"), QStringLiteral("Lyricist"));
    tags.set(QStringLiteral("subTitle"), QStringLiteral("Sub"));
    tags.set(QStringLiteral("copyright"), QStringLiteral("2024 Somebody"));
    tags.set(QStringLiteral("trackNumber"), QStringLiteral("5"));
    tags.set(QStringLiteral("year"), QStringLiteral("2024"));
    tags.set(QStringLiteral("picture"), coverPicture());
    tags.set(QStringLiteral("picType"), QStringLiteral("PNG"));
}

// Writes the audio to a new file, puts the tag in front of it and answers
// the file's bytes; empty when a step fails.
QByteArray tagSong(const QString &path, const Tags &tags, const QByteArray &audio)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(audio) != audio.size())
        return QByteArray();
    file.close();
    if (!tags.writeTagToFile(path) || !file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace

class tst_MetaTagsBase : public QObject
{
    Q_OBJECT

private slots:
    void startsEmptyWithTheGenreTables();
    void musicGenresAreTheId3v1List();
    void hasTags_data();
    void hasTags();
    void clearEmptiesEveryField();
    void dumpListsEveryFieldInOrder();

    void titleOnlyTag();
    void sizesAreSynchsafe_data();
    void sizesAreSynchsafe();
    void goldenTag();
    void framesComeInTheirOrder();
    void genreFrameOnlyForAListedName_data();
    void genreFrameOnlyForAListedName();
    void pictureFrameLayout_data();
    void pictureFrameLayout();

    void independentReaderReadsEveryField();
    void eyeD3ReadsEveryField();
    void writeKeepsTheAudioBehindTheTag();
    void writeFailsWithoutHarm_data();
    void writeFailsWithoutHarm();

    void removeUnsynchronisation_data();
    void removeUnsynchronisation();
    void imageFromPictureData_data();
    void imageFromPictureData();

private:
    QTemporaryDir m_dir;
};

void tst_MetaTagsBase::startsEmptyWithTheGenreTables()
{
    Tags tags;
    QCOMPARE(tags.tempo(), -1);
    QVERIFY(tags.title().isEmpty());
    QVERIFY(tags.picture().isNull());
    QVERIFY(tags.isCreatorNull());
    QVERIFY(!tags.hasTags());

    const QVector<QString> music = tags.musicGenres();
    QCOMPARE(music.size(), 126);
    QCOMPARE(music.first(), QStringLiteral("Blues"));
    QCOMPARE(music.at(79), QStringLiteral("Hard Rock"));
    QCOMPARE(music.at(80), QStringLiteral("Folk"));
    QCOMPARE(music.last(), QStringLiteral("Dance Hall"));
    QCOMPARE(tags.videoGenres(),
             QVector<QString>({"Drama", "Animation", "Action & Adventure", "Classic", "Kids", "Nonfiction",
                               "Reality TV", "Sci-Fi & Fantasy", "Sports", "Teens", "Latino TV"}));
}

// Checked against the list that mutagen carries; it modernised six
// spellings that the published list has.
void tst_MetaTagsBase::musicGenresAreTheId3v1List()
{
    bool ok = false;
    const QString listed = WriterFixtures::runTool(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral("-c"),
         QStringLiteral("from mutagen._constants import GENRES\nfor g in GENRES[:126]: print(g)")},
        &ok);
    QVERIFY2(ok, "python3-mutagen is needed (scripts/setup.sh installs it)");
    const QStringList reference = listed.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(reference.size(), 126);

    const QHash<int, QString> published = {{40, "AlternRock"}, {59, "Gangsta"}, {67, "Psychadelic"},
                                           {84, "Fast Fusion"}, {85, "Bebob"},  {123, "Acapella"}};
    const QVector<QString> music = Tags().musicGenres();
    for (int code = 0; code < 126; ++code) {
        const QString expected = published.value(code, reference.at(code));
        QVERIFY2(music.at(code) == expected,
                 qPrintable(QStringLiteral("code %1: %2, expected %3").arg(code).arg(music.at(code), expected)));
    }
}

void tst_MetaTagsBase::hasTags_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("expected");

    QTest::newRow("title") << "title" << QVariant("T") << true;
    QTest::newRow("album artist") << "albumArtist" << QVariant("A") << true;
    QTest::newRow("creator") << "creator" << QVariant("C") << true;
    QTest::newRow("grouping") << "grouping" << QVariant("G") << true;
    QTest::newRow("sub-title, the last text") << "subTitle" << QVariant("S") << true;
    QTest::newRow("tempo 0") << "tempo" << QVariant(0) << true;
    QTest::newRow("picture") << "picture" << QVariant(colourCard()) << true;
    QTest::newRow("input file does not count") << "inputFile" << QVariant("/a.mp3") << false;
    QTest::newRow("picture format does not count") << "picType" << QVariant("JPEG") << false;
    QTest::newRow("tempo -1") << "tempo" << QVariant(-1) << false;
}

void tst_MetaTagsBase::hasTags()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(bool, expected);

    Tags tags;
    tags.set(field, value);
    QCOMPARE(tags.hasTags(), expected);
}

void tst_MetaTagsBase::clearEmptiesEveryField()
{
    Tags tags;
    for (const char *field : {"inputFile", "artist", "creator", "genre", "isrc", "subTitle", "picType"})
        tags.set(QLatin1String(field), QStringLiteral("x"));
    tags.set(QStringLiteral("tempo"), 120);
    tags.set(QStringLiteral("picture"), colourCard());
    tags.setEncodingApplication(QStringLiteral("app"));
    tags.clear();

    QVERIFY(!tags.hasTags());
    QCOMPARE(tags.tempo(), -1);
    QVERIFY(tags.picture().isNull());
    QVERIFY(tags.encodingApplication().isEmpty());
    QCOMPARE(tags.musicGenres().size(), 126);
    QCOMPARE(tags.videoGenres().size(), 11);
}

void tst_MetaTagsBase::dumpListsEveryFieldInOrder()
{
    Tags tags;
    tags.set(QStringLiteral("title"), QStringLiteral("Abcd"));
    tags.set(QStringLiteral("tempo"), 90);

    const QStringList debugLines = WriterFixtures::debugLinesOf([&] { tags.dump(); });

    const QStringList labels = {
        "m_strInputFile:", "m_strTitle: ", "m_strCreator: ", "m_strArtist: ", "m_strAlbum: ",
        "m_strAlbumArtist: ", "m_nTempo: ", "m_strKeySignature: ", "m_strTimeSignature: ",
        "m_strTrackNumber: ", "m_strDiscNumber: ", "m_strYear: ", "m_strComposer: ", "m_strLyricist: ",
        "m_strGenre: ", "m_strGrouping: ", "m_strRecordedDate: ", "m_strComments: ", "m_strCopyright: ",
        "m_strSourceEncoder: ", "m_strEncodingApplication: ", "m_strNominalBitRate: ",
        "m_strChannelLayout: ", "m_strApproximateDurationInSeconds: ", "m_strSourceBitDepth: ",
        "m_strISRC: ", "m_strPicType: ", "m_strSubTitle: "};
    QCOMPARE(debugLines.size(), labels.size());
    for (int i = 0; i < labels.size(); ++i) {
        // The debug stream puts a blank between label and value.
        const QString label = labels.at(i).trimmed();
        QVERIFY2(debugLines.at(i).startsWith(label + QLatin1Char(' ')), qPrintable(debugLines.at(i)));
    }
    QVERIFY(debugLines.at(1).contains(QLatin1String("\"Abcd\"")));
    QVERIFY(debugLines.at(6).endsWith(QLatin1String(" 90")));
}

void tst_MetaTagsBase::titleOnlyTag()
{
    Tags tags;
    tags.set(QStringLiteral("title"), QStringLiteral("Abcd"));
    const QByteArray expected = QByteArray::fromHex("494433 0400 00 00000026"
                                                    "54454E43 0000000D 0000 03"
                                                    "5A696E74726F70204C697465"
                                                    "54495432 00000005 0000 03 41626364");
    QCOMPARE(WriterFixtures::hex(tags.tag()), WriterFixtures::hex(expected));
}

void tst_MetaTagsBase::sizesAreSynchsafe_data()
{
    QTest::addColumn<int>("titleBytes");
    QTest::addColumn<QByteArray>("headerSize");
    QTest::addColumn<QByteArray>("titleFrameSize");

    // TENC takes 23 bytes; TIT2 is 10 + 1 + the title.
    QTest::newRow("short") << 4 << QByteArray::fromHex("00000026") << QByteArray::fromHex("00000005");
    QTest::newRow("content of 128") << 127 << QByteArray::fromHex("00000121") << QByteArray::fromHex("00000100");
    QTest::newRow("total 200") << 166 << QByteArray::fromHex("00000148") << QByteArray::fromHex("00000127");
    QTest::newRow("content of 16384") << 16383 << QByteArray::fromHex("00010021")
                                      << QByteArray::fromHex("00010000");
}

void tst_MetaTagsBase::sizesAreSynchsafe()
{
    QFETCH(int, titleBytes);
    QFETCH(QByteArray, headerSize);
    QFETCH(QByteArray, titleFrameSize);

    Tags tags;
    tags.set(QStringLiteral("title"), QString(titleBytes, QLatin1Char('t')));
    const QByteArray tag = tags.tag();
    QCOMPARE(WriterFixtures::hex(tag.mid(6, 4)), WriterFixtures::hex(headerSize));
    const QVector<Frame> frames = framesOf(tag);
    QCOMPARE(frames.size(), 2);
    QCOMPARE(frames.at(1).id, QByteArray("TIT2"));
    QCOMPARE(WriterFixtures::hex(frames.at(1).sizeBytes), WriterFixtures::hex(titleFrameSize));
    QCOMPARE(frames.at(1).content.size(), titleBytes + 1);
}

void tst_MetaTagsBase::goldenTag()
{
    const QByteArray expected = WriterFixtures::hexFile(QFINDTESTDATA("data/id3-golden.hex"));
    QVERIFY(!expected.isEmpty());

    Tags tags;
    tags.set(QStringLiteral("title"), QStringLiteral("Abcd"));
    tags.set(QStringLiteral("artist"), QString::fromUtf8("\xC3\x84rzte"));
    tags.set(QStringLiteral("genre"), QStringLiteral("Blues"));
    tags.set(QStringLiteral("comments"), QString(123, QLatin1Char('c')));
    tags.set(QStringLiteral("trackNumber"), QStringLiteral("7"));
    tags.set(QStringLiteral("year"), QStringLiteral("2024"));
    // Fields that have no frame of their own add nothing.
    tags.set(QStringLiteral("grouping"), QStringLiteral("g"));
    tags.set(QStringLiteral("isrc"), QStringLiteral("i"));
    tags.set(QStringLiteral("tempo"), 100);
    QCOMPARE(WriterFixtures::hex(tags.tag()), WriterFixtures::hex(expected));
}

void tst_MetaTagsBase::framesComeInTheirOrder()
{
    Tags tags;
    const char *const fields[] = {"album", "year", "trackNumber", "copyright", "subTitle", "lyricist", "title",
                                  "artist", "comments", "discNumber", "composer"};
    for (const char *field : fields)
        tags.set(QLatin1String(field), QStringLiteral("v"));
    tags.set(QStringLiteral("genre"), QStringLiteral("Jazz"));
    tags.set(QStringLiteral("picture"), colourCard());
    QCOMPARE(idsOf(tags.tag()),
             QByteArray("TENC TCOM TCON TPOS COMM TPE1 TIT2 TEXT TIT3 TCOP TRCK TDRC TALB APIC"));
}

void tst_MetaTagsBase::genreFrameOnlyForAListedName_data()
{
    QTest::addColumn<QString>("genre");
    QTest::addColumn<QByteArray>("ids");

    QTest::newRow("Blues") << "Blues" << QByteArray("TENC TCON");
    QTest::newRow("Dance Hall, the last") << "Dance Hall" << QByteArray("TENC TCON");
    QTest::newRow("other letter case") << "blues" << QByteArray("TENC");
    QTest::newRow("a video genre") << "Drama" << QByteArray("TENC");
    QTest::newRow("trailing blank") << "Jazz " << QByteArray("TENC");
}

void tst_MetaTagsBase::genreFrameOnlyForAListedName()
{
    QFETCH(QString, genre);
    QFETCH(QByteArray, ids);

    Tags tags;
    tags.set(QStringLiteral("genre"), genre);
    const QByteArray tag = tags.tag();
    QCOMPARE(idsOf(tag), ids);
    if (ids.contains("TCON"))
        QCOMPARE(framesOf(tag).at(1).content, QByteArray(1, '\0') + genre.toLatin1());
}

void tst_MetaTagsBase::pictureFrameLayout_data()
{
    QTest::addColumn<QString>("picType");
    QTest::addColumn<QByteArray>("mime");
    QTest::addColumn<QByteArray>("magic");

    QTest::newRow("JPEG") << "JPEG" << QByteArray("image/jpeg") << QByteArray("\xFF\xD8\xFF");
    QTest::newRow("PNG") << "PNG" << QByteArray("image/png") << QByteArray("\x89PNG");
    // The bytes must be what the MIME type says.
    QTest::newRow("BMP is written as PNG") << "BMP" << QByteArray("image/png") << QByteArray("\x89PNG");
    QTest::newRow("no format named") << "" << QByteArray("image/png") << QByteArray("\x89PNG");
}

void tst_MetaTagsBase::pictureFrameLayout()
{
    QFETCH(QString, picType);
    QFETCH(QByteArray, mime);
    QFETCH(QByteArray, magic);

    Tags tags;
    tags.set(QStringLiteral("picture"), colourCard());
    tags.set(QStringLiteral("picType"), picType);
    const QVector<Frame> frames = framesOf(tags.tag());
    QCOMPARE(frames.size(), 2);
    QCOMPARE(frames.at(1).id, QByteArray("APIC"));
    // Encoding 0, MIME type, 0, picture type 3, empty description, 0.
    const QByteArray head = QByteArray(1, '\0') + mime + QByteArray("\0\x03\0", 3);
    const QByteArray content = frames.at(1).content;
    QCOMPARE(WriterFixtures::hex(content.left(head.size())), WriterFixtures::hex(head));
    const QByteArray picture = content.mid(head.size());
    QVERIFY(picture.startsWith(magic));
    QImage decoded;
    QVERIFY(decoded.loadFromData(picture));
    QCOMPARE(decoded.size(), QSize(4, 3));
}

// mutagen, through its mid3v2 tool, reads back every frame we write, the
// year included, in place of the old ID3v1 tag's.
void tst_MetaTagsBase::independentReaderReadsEveryField()
{
    const QString path = m_dir.filePath(QStringLiteral("song.mp3"));
    Tags tags;
    setEveryFramedField(tags);
    QVERIFY(!tagSong(path, tags, mp3WithId3v1()).isEmpty());

    bool ok = false;
    const QString listed = WriterFixtures::runTool(QStringLiteral("mid3v2"), {QStringLiteral("--list"), path}, &ok);
    QVERIFY2(ok, "mid3v2 (python3-mutagen) is needed (scripts/setup.sh installs it)");
    const QStringList lines = listed.split(QLatin1Char('\n'));
    const QStringList expected = {
        "TENC=Zintrop Lite", QString::fromUtf8("TIT2=Gr\xC3\xBC\xC3\x9F" "e"), "TPE1=Artist", "TALB=Album",
        "TCOM=Composer", "TCON=Jazz+Funk", "TPOS=2/3", "COMM==eng=" + QString(300, QLatin1Char('c')),
        "TEXT=Lyricist", "TIT3=Sub", "TCOP=2024 Somebody", "TRCK=5", "TDRC=2024"};
    for (const QString &line : expected)
        QVERIFY2(lines.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + listed));
    QVERIFY2(!listed.contains(QLatin1String("TYER")), qPrintable(listed));

    // The picture, as mutagen cuts it out of the frame.
    const QString script = QStringLiteral(
        "import sys\nfrom mutagen.id3 import ID3\n"
        "p = ID3(sys.argv[1]).getall('APIC')[0]\n"
        "print(p.mime, int(p.type), repr(p.desc), p.encoding)\n"
        "open(sys.argv[2], 'wb').write(p.data)\n");
    const QString picturePath = m_dir.filePath(QStringLiteral("cover-out.bin"));
    const QString described = WriterFixtures::runTool(QStringLiteral("/usr/bin/python3"),
                                                      {QStringLiteral("-c"), script, path, picturePath}, &ok);
    QVERIFY(ok);
    QCOMPARE(described.trimmed(), QStringLiteral("image/png 3 '' Encoding.LATIN1"));
    QImage readBack(picturePath, "PNG");
    QCOMPARE(readBack.convertToFormat(QImage::Format_RGB32), coverPicture());
}

// eyeD3 reads the same file: the year, which it looks for in TDRC only in a
// version-4 tag, every other frame, and the audio behind the tag. Its own
// parse is printed as JSON by a module of its pymod plugin, so the report
// depends on neither the locale nor the terminal.
void tst_MetaTagsBase::eyeD3ReadsEveryField()
{
    const QString eyeD3 = QStandardPaths::findExecutable(QStringLiteral("eyeD3"));
    QVERIFY2(!eyeD3.isEmpty(), "eyeD3 (eyed3) is needed (scripts/setup.sh installs it)");
    const QString path = m_dir.filePath(QStringLiteral("song for eyeD3.mp3"));
    Tags tags;
    setEveryFramedField(tags);
    const QByteArray audio = mp3WithId3v1();
    const QByteArray written = tagSong(path, tags, audio);
    QVERIFY(written.startsWith(tags.tag()));
    // The audio frames behind the tag are those that were there.
    QCOMPARE(written.mid(tags.tag().size()), audio);

    const QString modulePath = m_dir.filePath(QStringLiteral("eyed3fields.py"));
    {
        QFile module(modulePath);
        QVERIFY(module.open(QIODevice::WriteOnly | QIODevice::Truncate));
        module.write(R"py(import base64
import json


def text(tag, fid):
    frames = tag.frame_set.get(fid)
    return frames[0].text if frames else None


def audioFile(audio_file):
    tag = audio_file.tag
    date = tag.getBestDate()
    print(json.dumps({
        "version": "%d.%d" % tag.version[:2],
        "frames": " ".join(sorted(fid.decode() for fid in tag.frame_set)),
        "year": str(date) if date else "",
        "title": tag.title,
        "artist": tag.artist,
        "album": tag.album,
        "composer": tag.composer,
        "genre": tag.genre.name if tag.genre else "",
        "disc": "%s/%s" % tuple(tag.disc_num),
        "track": tag.track_num[0],
        "encoder": tag.encoded_by,
        "copyright": tag.copyright,
        "lyricist": text(tag, b"TEXT"),
        "subtitle": text(tag, b"TIT3"),
        "comment": ["%s/%s/%s" % (c.lang.decode(), c.description, c.text) for c in tag.comments],
        "picture": ["%s %d" % (p.mime_type, p.picture_type) for p in tag.images],
        "pictureData": [base64.b64encode(p.image_data).decode() for p in tag.images],
        "audio": "%d Hz %d kbit/s" % (audio_file.info.sample_freq, audio_file.info.bit_rate[1]),
    }))
)py");
    }
    bool ok = false;
    const QString report = WriterFixtures::runTool(
        QStringLiteral("/usr/bin/env"),
        {QStringLiteral("-i"), QStringLiteral("PATH=/usr/bin:/bin"), eyeD3, QStringLiteral("--no-config"),
         QStringLiteral("--no-color"), QStringLiteral("--plugin"), QStringLiteral("pymod"),
         QStringLiteral("--module"), modulePath, path},
        &ok);
    QVERIFY2(ok, qPrintable(report));
    const QJsonObject fields = QJsonDocument::fromJson(report.toUtf8()).object();
    QVERIFY2(!fields.isEmpty(), qPrintable(report));

    const QVariantMap expected = {
        {"version", "2.4"},
        {"frames", "APIC COMM TALB TCOM TCON TCOP TDRC TENC TEXT TIT2 TIT3 TPE1 TPOS TRCK"},
        {"year", "2024"},
        {"title", QString::fromUtf8("Gr\xC3\xBC\xC3\x9F" "e")},
        {"artist", "Artist"},
        {"album", "Album"},
        {"composer", "Composer"},
        {"genre", "Jazz+Funk"},
        {"disc", "2/3"},
        {"track", 5},
        {"encoder", "Zintrop Lite"},
        {"copyright", "2024 Somebody"},
        {"lyricist", "Lyricist"},
        {"subtitle", "Sub"},
        {"comment", QVariantList{"eng//" + QString(300, QLatin1Char('c'))}},
        {"picture", QVariantList{"image/png 3"}},
        {"audio", "44100 Hz 128 kbit/s"}};
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(fields.value(it.key()).toVariant() == it.value(),
                 qPrintable(it.key() + QStringLiteral(": ") + QJsonDocument(fields).toJson()));
    const QJsonArray pictures = fields.value(QStringLiteral("pictureData")).toArray();
    QCOMPARE(pictures.size(), 1);
    const QImage picture =
        QImage::fromData(QByteArray::fromBase64(pictures.at(0).toString().toLatin1()), "PNG");
    QCOMPARE(picture.convertToFormat(QImage::Format_RGB32), coverPicture());
}

void tst_MetaTagsBase::writeKeepsTheAudioBehindTheTag()
{
    const QString path = m_dir.filePath(QStringLiteral("keep.mp3"));
    const QByteArray audio = QByteArray("ID3 earlier tag") + QByteArray(200000, '\x42') + QByteArray("end");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(audio), qint64(audio.size()));
    }
    Tags tags;
    tags.set(QStringLiteral("title"), QStringLiteral("Abcd"));
    QVERIFY(tags.writeTagToFile(path));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), tags.tag() + audio);
}

void tst_MetaTagsBase::writeFailsWithoutHarm_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("missing file") << "missing";
    QTest::newRow("a folder") << "folder";
    QTest::newRow("read-only folder") << "readonly";
    // Runs for root as well, which the read-only folder does not stop.
    QTest::newRow("disk fills up half way") << "full";
    // The last bytes would wait in a buffer whose failed flush went unseen.
    QTest::newRow("disk fills up at the last bytes") << "full at the end";
    // A temporary file put in its place would cut the pipe off its writer.
    QTest::newRow("a pipe") << "pipe";
}

// A failed write says so and leaves what was there: the file is replaced
// only once the new content is complete.
void tst_MetaTagsBase::writeFailsWithoutHarm()
{
    QFETCH(QString, kind);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath(QStringLiteral("song.mp3"));
    QByteArray audio("precious audio");
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("song.mp3")));
    } else if (kind == QLatin1String("readonly")) {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(audio);
        file.close();
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    } else if (kind.startsWith(QLatin1String("full"))) {
        audio += QByteArray(200000, '\x42');
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(audio), qint64(audio.size()));
    }
    // A writer waits at the pipe, so that reading it would not wait forever.
    QProcess writer;
    if (kind == QLatin1String("pipe")) {
        QCOMPARE(QProcess::execute(QStringLiteral("mkfifo"), {path}), 0);
        writer.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("printf audio > \"$0\""), path});
        QVERIFY(writer.waitForStarted());
    }

    Tags tags;
    tags.set(QStringLiteral("title"), QStringLiteral("Abcd"));
    std::unique_ptr<FileSizeLimit> limit;
    if (kind == QLatin1String("full"))
        limit.reset(new FileSizeLimit(100000));
    else if (kind == QLatin1String("full at the end"))
        limit.reset(new FileSizeLimit(rlim_t(tags.tag().size() + audio.size() - 10)));
    const bool written = tags.writeTagToFile(path);
    limit.reset();
    QVERIFY(!written);

    if (kind == QLatin1String("missing")) {
        QVERIFY(!QFile::exists(path));
    } else if (kind == QLatin1String("pipe")) {
        QCOMPARE(QProcess::execute(QStringLiteral("test"), {QStringLiteral("-p"), path}), 0);
        writer.kill();
        writer.waitForFinished();
    } else if (kind == QLatin1String("readonly") || kind.startsWith(QLatin1String("full"))) {
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), audio);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList(QStringLiteral("song.mp3")));
    }
}

void tst_MetaTagsBase::removeUnsynchronisation_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");

    QTest::newRow("FF 00 E0") << QByteArray::fromHex("FF00E0") << QByteArray::fromHex("FFE0");
    QTest::newRow("FF 00 00") << QByteArray::fromHex("FF0000") << QByteArray::fromHex("FF00");
    QTest::newRow("empty") << QByteArray() << QByteArray();
    QTest::newRow("one zero byte") << QByteArray::fromHex("00") << QByteArray::fromHex("00");
    QTest::newRow("00 FF at the end") << QByteArray::fromHex("00FF") << QByteArray::fromHex("00FF");
    QTest::newRow("FF FF 00") << QByteArray::fromHex("FFFF00") << QByteArray::fromHex("FFFF");
    QTest::newRow("nothing to remove") << QByteArray("abc") << QByteArray("abc");
}

void tst_MetaTagsBase::removeUnsynchronisation()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, output);
    QCOMPARE(WriterFixtures::hex(MetaTagsBase::removeUnsynchronisation(input)), WriterFixtures::hex(output));
}

void tst_MetaTagsBase::imageFromPictureData_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("unsynchronisedFlag");
    QTest::addColumn<QSize>("size");

    const QByteArray card = pngBytes(colourCard());
    QTest::newRow("plain PNG") << card << false << QSize(4, 3);
    QTest::newRow("PNG flagged, nothing to clean") << card << true << QSize(4, 3);
    // A JPEG begins FF D8 FF E0: its markers are what unsynchronisation hides.
    const QByteArray jpeg = imageBytes(colourCard(), "JPEG");
    QTest::newRow("unsynchronised JPEG") << unsynchronised(jpeg) << true << QSize(4, 3);
    QTest::newRow("unsynchronised JPEG, not flagged") << unsynchronised(jpeg) << false << QSize(0, 0);
    // Flagged, but cleaning damages it: the data as given loads.
    const QByteArray withZeros = pngWithFfZero();
    QVERIFY(!QImage::fromData(withZeros).isNull());
    QVERIFY(QImage::fromData(QByteArray(withZeros).replace(QByteArray("\xFF\0", 2), "\xFF")).isNull());
    QTest::newRow("flagged, loads only as given") << withZeros << true << QSize(2, 1);
    QTest::newRow("8192 wide") << pngBytes(QImage(8192, 1, QImage::Format_Mono)) << false << QSize(8192, 1);
    QTest::newRow("8193 wide") << pngBytes(QImage(8193, 1, QImage::Format_Mono)) << false << QSize(0, 0);
    QTest::newRow("8193 high") << pngBytes(QImage(1, 8193, QImage::Format_Mono)) << false << QSize(0, 0);
    QTest::newRow("claims 30000 x 30000") << pngClaiming(30000, 30000) << false << QSize(0, 0);
    QTest::newRow("claims 30000 x 30000, flagged") << pngClaiming(30000, 30000) << true << QSize(0, 0);
    QTest::newRow("BMP") << imageBytes(colourCard(), "BMP") << false << QSize(4, 3);
    // Qt's GIF reader reports 3 x 3 for this one and makes it 3 x 12035.
    QTest::newRow("GIF screen 12035 high") << QByteArray::fromBase64("R0lGODlhAwADLyogWCH5BAAAAAAALAAAAAADfgMAAAIDhH8FADs=")
                                           << false << QSize(0, 0);
    QTest::newRow("GIF frame past 8192") << gif(QSize(3, 3), QRect(8190, 0, 3, 1)) << false << QSize(0, 0);
    QTest::newRow("GIF frame without pixels") << gif(QSize(8192, 6400), QRect(768, 0, 0, 349)) << false
                                              << QSize(0, 0);
    QTest::newRow("GIF within the limit") << gif(QSize(3, 3), QRect(0, 0, 3, 1)) << false << QSize(3, 3);
    QTest::newRow("not a tag's format (XPM)") << imageBytes(colourCard(), "XPM") << false << QSize(0, 0);
    QTest::newRow("garbage") << QByteArray("not a picture") << false << QSize(0, 0);
    QTest::newRow("empty") << QByteArray() << true << QSize(0, 0);
}

void tst_MetaTagsBase::imageFromPictureData()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, unsynchronisedFlag);
    QFETCH(QSize, size);

    QElapsedTimer clock;
    clock.start();
    const QImage image = MetaTagsBase::imageFromPictureData(data, unsynchronisedFlag);
    QCOMPARE(image.size(), size);
    if (size == QSize(4, 3) && data.startsWith("\x89PNG"))
        QCOMPARE(image.convertToFormat(QImage::Format_RGB32), colourCard());
    // Refused by the declared size, not after an attempt to decode.
    QVERIFY(clock.elapsed() < 2000);
}

int main(int argc, char *argv[])
{
    // dump() writes to the debug stream, which the test environment mutes.
    qunsetenv("QT_LOGGING_RULES");
    QGuiApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Zintrop Lite"));
    tst_MetaTagsBase tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_MetaTagsBase.moc"
