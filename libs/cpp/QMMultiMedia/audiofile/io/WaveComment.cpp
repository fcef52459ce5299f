#include "WaveComment.h"

#include <QTextCodec>

namespace QMMultiMedia {

QByteArray waveCommentBytes(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    const int limit = kMaxWaveCommentBytes - 1;  // the NUL follows
    if (bytes.size() > limit) {
        // A UTF-8 character starts at any byte but the continuation bytes
        // 10xxxxxx: step back to the start of the one that crosses the limit.
        int cut = limit;
        while (cut > 0 && (uchar(bytes.at(cut)) & 0xC0) == 0x80)
            --cut;
        bytes.truncate(cut);
    }
    return bytes;
}

QString waveCommentText(const QByteArray& bytes, bool cut)
{
    // The converter counts malformed sequences (overlong forms and
    // surrogates included) and keeps an incomplete last one apart. A leading
    // byte-order mark is text like any other here.
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars == 0 && (state.remainingChars == 0 || cut))
        return text;
    return QString::fromLatin1(bytes);
}

}  // namespace QMMultiMedia
