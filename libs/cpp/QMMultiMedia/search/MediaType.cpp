#include "MediaType.h"

#include <QTime>

#include <cstring>

namespace QMMultiMedia {

namespace {

struct Ending {
    QLatin1String text;
    int type;
};

// Tested in this order; the first ending that matches decides. No ending is a
// suffix of another one of a different type, so the order only fixes the cost.
const Ending kEndings[] = {
    {QLatin1String(".avi"), Video}, {QLatin1String(".mp4"), Video},
    {QLatin1String(".mov"), Video}, {QLatin1String(".wmv"), Video},
    {QLatin1String(".3gp"), Video}, {QLatin1String(".3g2"), Video},
    {QLatin1String(".m4v"), Video}, {QLatin1String(".mpg"), Video},
    {QLatin1String(".flv"), Video}, {QLatin1String(".swf"), Video},
    {QLatin1String(".mkv"), Video}, {QLatin1String(".asf"), Video},
    {QLatin1String(".vob"), Video}, {QLatin1String(".ts"), Video},

    {QLatin1String(".wav"), Audio}, {QLatin1String(".mp3"), Audio},
    {QLatin1String(".mp2"), Audio}, {QLatin1String(".mp1"), Audio},
    {QLatin1String(".m4a"), Audio}, {QLatin1String(".m4b"), Audio},
    {QLatin1String(".m4r"), Audio}, {QLatin1String(".wma"), Audio},
    {QLatin1String(".ac3"), Audio}, {QLatin1String(".aac"), Audio},
    {QLatin1String(".ogg"), Audio}, {QLatin1String(".3ga"), Audio},
    {QLatin1String(".aiff"), Audio}, {QLatin1String(".aif"), Audio},
    {QLatin1String(".au"), Audio}, {QLatin1String(".caf"), Audio},
    {QLatin1String(".bwf"), Audio}, {QLatin1String(".amr"), Audio},
    {QLatin1String(".awb"), Audio}, {QLatin1String(".flac"), Audio},

    {QLatin1String(".jpg"), Image}, {QLatin1String(".png"), Image},
    {QLatin1String(".bmp"), Image}, {QLatin1String(".tif"), Image},
    {QLatin1String(".tiff"), Image}, {QLatin1String(".jpeg"), Image},
    {QLatin1String(".ppm"), Image}, {QLatin1String(".xpm"), Image},
    {QLatin1String(".gif"), Image},

    {QLatin1String(".doc"), Text}, {QLatin1String(".txt"), Text},
    {QLatin1String(".rtf"), Text}, {QLatin1String(".html"), Text},
    {QLatin1String(".htm"), Text}, {QLatin1String(".xml"), Text},
    {QLatin1String(".docx"), Text},
};

// The general rule: lower-case the text, then test the endings in order.
int mediaTypeByEndings(const QString &name)
{
    // Lower-casing maps character by character, so only the last characters
    // of a name can decide; the longest ending has five.
    const QString lower = name.right(8).toLower();
    for (const Ending &e : kEndings) {
        if (lower.endsWith(e.text, Qt::CaseSensitive))
            return e.type;
    }
    return Other;
}

} // namespace

// Every ending is a dot and one to four ASCII letters or digits, so a name
// whose text after the last dot is short plain ASCII can be decided by
// comparing that text alone; anything else takes the general rule, which
// gives the same answer, only slower. A folder walk classifies every file
// it meets, so this is worth the few lines.
int mediaTypeOfFile(const QString &name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const int length = name.size() - dot - 1;
    if (dot < 0 || length < 1 || length > 4)
        return dot < 0 ? int(Other) : mediaTypeByEndings(name);
    char ext[5] = {'.', 0, 0, 0, 0};
    const QChar *tail = name.constData() + dot + 1;
    for (int i = 0; i < length; ++i) {
        const ushort c = tail[i].unicode();
        if (c >= 0x80)
            return mediaTypeByEndings(name);
        ext[i + 1] = (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : char(c);
    }
    for (const Ending &e : kEndings) {
        if (e.text.size() == length + 1 && std::memcmp(e.text.data(), ext, size_t(length + 1)) == 0)
            return e.type;
    }
    return Other;
}

bool isAudioFile(const QString &name) { return mediaTypeOfFile(name) == Audio; }
bool isVideoFile(const QString &name) { return mediaTypeOfFile(name) == Video; }
bool isImageFile(const QString &name) { return mediaTypeOfFile(name) == Image; }
bool isTextFile(const QString &name) { return mediaTypeOfFile(name) == Text; }

QString timeText(const qint64 &milliseconds)
{
    const qint64 hours = milliseconds / 3600000;
    const qint64 minutes = (milliseconds % 3600000) / 60000;
    const qint64 seconds = (milliseconds % 60000) / 1000;
    if (hours < 0 || hours >= 24 || minutes < 0 || seconds < 0)
        return QString();
    return QTime(int(hours), int(minutes), int(seconds), 0).toString(QStringLiteral("hh:mm:ss"));
}

} // namespace QMMultiMedia
