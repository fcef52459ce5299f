#include "MediaType.h"

#include <QtTest>

using namespace QMMultiMedia;

class tst_MediaType : public QObject
{
    Q_OBJECT

private slots:
    void classifiesByEnding_data();
    void classifiesByEnding();
    void everyListedEndingHasItsType_data();
    void everyListedEndingHasItsType();
    void predicatesFollowTheType();
    void timeText_data();
    void timeText();
};

void tst_MediaType::classifiesByEnding_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("type");

    QTest::newRow("upper-case video") << "Clip.AVI" << int(Video);
    QTest::newRow("lower-case video") << "clip.avi" << int(Video);
    QTest::newRow("path") << "films/clip.avi" << int(Video);
    QTest::newRow("absolute path, dots in folders") << "/home/a.b/c.d/song.mp3" << int(Audio);
    QTest::newRow("upper-case audio") << "song.MP3" << int(Audio);
    QTest::newRow(".ts is video") << "x.ts" << int(Video);
    QTest::newRow(".au is audio") << "x.au" << int(Audio);
    QTest::newRow(".tif") << "a.tif" << int(Image);
    QTest::newRow(".tiff") << "a.tiff" << int(Image);
    QTest::newRow(".htm") << "a.htm" << int(Text);
    QTest::newRow(".html") << "a.html" << int(Text);
    QTest::newRow(".doc") << "a.doc" << int(Text);
    QTest::newRow(".docx") << "a.docx" << int(Text);
    QTest::newRow("only the last ending counts") << "a.png.txt" << int(Text);
    QTest::newRow("the ending alone") << ".png" << int(Image);
    QTest::newRow("no dot") << "png" << int(Other);
    QTest::newRow(".mpeg is not listed") << "a.mpeg" << int(Other);
    QTest::newRow(".webm") << "a.webm" << int(Other);
    QTest::newRow(".tga") << "a.tga" << int(Other);
    QTest::newRow(".gz") << "a.gz" << int(Other);
    QTest::newRow("empty") << "" << int(Other);
    QTest::newRow("trailing blank") << "a.mp3 " << int(Other);
    QTest::newRow("trailing dot") << "a.png." << int(Other);
    QTest::newRow("long ending") << "a.backup" << int(Other);
    QTest::newRow("dotted folder, bare file") << "pics.png/file" << int(Other);
    QTest::newRow("mixed case") << "Movie.mKv" << int(Video);
    QTest::newRow("non-ASCII name") << QString::fromUtf8("Ärger über Öl.JPEG") << int(Image);
    QTest::newRow("dot in a folder, short text after it") << "my.d/png" << int(Other);
    QTest::newRow("two dots before the ending") << "a..png" << int(Image);
    // Characters outside ASCII lower-case by Unicode's rules: the Kelvin sign
    // becomes 'k', the dotted capital I does not become a plain 'i', and
    // full-width letters stay full-width.
    QTest::newRow("Kelvin sign in the ending") << QString::fromUtf8("clip.m\u212Av") << int(Video);
    QTest::newRow("dotted capital I") << QString::fromUtf8("clip.av\u0130") << int(Other);
    QTest::newRow("full-width letters") << QString::fromUtf8("a.\uFF30\uFF2E\uFF27") << int(Other);
    QTest::newRow("non-ASCII and a long ending") << QString::fromUtf8("a.\u00FCbersicht.DOCX") << int(Text);
    // Case folding would turn the long s into 's'; lower-casing does not.
    QTest::newRow("long s is not s") << QString::fromUtf8("x.\u017Fwf") << int(Other);
}

void tst_MediaType::classifiesByEnding()
{
    QFETCH(QString, name);
    QFETCH(int, type);
    QCOMPARE(mediaTypeOfFile(name), type);
}

void tst_MediaType::everyListedEndingHasItsType_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<int>("type");

    const QList<QPair<int, QStringList>> groups = {
        {Video, {".avi", ".mp4", ".mov", ".wmv", ".3gp", ".3g2", ".m4v", ".mpg", ".flv", ".swf",
                 ".mkv", ".asf", ".vob", ".ts"}},
        {Audio, {".wav", ".mp3", ".mp2", ".mp1", ".m4a", ".m4b", ".m4r", ".wma", ".ac3", ".aac",
                 ".ogg", ".3ga", ".aiff", ".aif", ".au", ".caf", ".bwf", ".amr", ".awb", ".flac"}},
        {Image, {".jpg", ".png", ".bmp", ".tif", ".tiff", ".jpeg", ".ppm", ".xpm", ".gif"}},
        {Text, {".doc", ".txt", ".rtf", ".html", ".htm", ".xml", ".docx"}},
    };
    for (const auto &group : groups) {
        for (const QString &ending : group.second) {
            QTest::newRow(qPrintable(ending)) << ending << group.first;
            QTest::newRow(qPrintable(ending.toUpper())) << ending.toUpper() << group.first;
        }
    }
}

void tst_MediaType::everyListedEndingHasItsType()
{
    QFETCH(QString, ending);
    QFETCH(int, type);
    QCOMPARE(mediaTypeOfFile(QStringLiteral("some/folder/name") + ending), type);
}

void tst_MediaType::predicatesFollowTheType()
{
    const QStringList names = {"a.wav", "a.mkv", "a.gif", "a.rtf", "a.zip"};
    for (const QString &n : names) {
        const int t = mediaTypeOfFile(n);
        QCOMPARE(isAudioFile(n), t == Audio);
        QCOMPARE(isVideoFile(n), t == Video);
        QCOMPARE(isImageFile(n), t == Image);
        QCOMPARE(isTextFile(n), t == Text);
    }
}

void tst_MediaType::timeText_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << qint64(0) << "00:00:00";
    QTest::newRow("below a second") << qint64(999) << "00:00:00";
    QTest::newRow("1:02:03") << qint64(3723000) << "01:02:03";
    QTest::newRow("milliseconds dropped") << qint64(3723999) << "01:02:03";
    QTest::newRow("last of the day") << qint64(86399999) << "23:59:59";
    QTest::newRow("24 hours") << qint64(86400000) << "";
    QTest::newRow("far beyond") << qint64(1) * 1000 * 86400000 << "";
    QTest::newRow("minus one millisecond") << qint64(-1) << "00:00:00";
    QTest::newRow("minus one second") << qint64(-1000) << "";
}

void tst_MediaType::timeText()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(QMMultiMedia::timeText(ms), text);
}

QTEST_APPLESS_MAIN(tst_MediaType)
#include "tst_MediaType.moc"
