#ifndef QMMULTIMEDIA_MEDIATYPE_H
#define QMMULTIMEDIA_MEDIATYPE_H

#include <QString>

namespace QMMultiMedia {

// What a file holds, judged by the ending of its name alone. The codes are
// plain integers shared with callers that store or compare them; 3 is unused.
enum MediaType {
    Audio = 0,
    Video = 1,
    Image = 2,
    Text = 4,
    Other = 5
};

// The MediaType of a bare name or a whole path; only its ending counts and no
// file is opened.
int mediaTypeOfFile(const QString &name);

bool isAudioFile(const QString &name);
bool isVideoFile(const QString &name);
bool isImageFile(const QString &name);
bool isTextFile(const QString &name);

// "hh:mm:ss" of a millisecond count (milliseconds dropped); empty when the
// count is no valid time of day (24 hours or more, a negative part).
QString timeText(const qint64 &milliseconds);

} // namespace QMMultiMedia

#endif
