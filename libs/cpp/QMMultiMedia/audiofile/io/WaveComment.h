#pragma once

#include <QByteArray>
#include <QString>

// The text of the "ICMT" comment of a WAV file, as the writer stores it and
// the reader takes it back. It is stored as UTF-8, the local 8-bit encoding
// of Linux systems. Files written earlier hold Latin-1: bytes that are not
// valid UTF-8 are read as Latin-1, so those files read as they did.
namespace QMMultiMedia {

// The reader takes at most this many bytes of an "ICMT" body, its closing
// NUL included: a comment is a line or two, and the size comes from the file.
constexpr int kMaxWaveCommentBytes = 1 << 20;

// The bytes to store in front of the NUL: the UTF-8 form of the text, cut
// before the first character that would take it past kMaxWaveCommentBytes - 1
// bytes, so that what is written is read back whole.
QByteArray waveCommentBytes(const QString& text);

// The text of an "ICMT" body up to its first NUL. Valid UTF-8 is read as
// such; anything else is Latin-1, one character per byte. When the reader
// had to cut the body at kMaxWaveCommentBytes (cut is true), a character
// left incomplete at the end is dropped instead of turning the whole text
// into Latin-1.
QString waveCommentText(const QByteArray& bytes, bool cut);

}  // namespace QMMultiMedia
