#pragma once

#include <QByteArray>
#include <QString>

// Text codecs: Latin-1 bytes, UTF-16 big-endian, Base64 and Base32 (RFC 4648).
namespace MTools {

QString fromLatin1Bytes(const uchar* data, int length);
QByteArray toUtf16BigEndian(const QString& text);
QString fromUtf16BigEndian(const QByteArray& bytes);
QString toUnicodeBase64(const QString& text);
QString fromUnicodeBase64(const QString& text);

QString toBase64(const QByteArray& bytes);
QByteArray fromBase64(const QString& text);
QString encodeBase64String(const QString& text);
// The decoded bytes up to the first NUL, read as UTF-8. Note that
// encodeBase64String writes Latin-1, so characters above 127 do not survive
// a round trip.
QString decodeBase64String(const QString& text);

QString toBase32(const QByteArray& bytes);
// An empty array when the length of the text is not a multiple of 8.
QByteArray fromBase32(const QString& text);
QString encodeBase32String(const QString& text);
QString decodeBase32String(const QString& text);

// Base32 building blocks.
unsigned base32SignificantLength(unsigned nBytes);
unsigned base32PaddingLength(unsigned nBytes);
unsigned base32EncodedLength(unsigned nBytes);
// The g-th 5-bit group of the bytes (missing bytes of the last block count as 0).
unsigned base32Group(const uchar* data, unsigned nBytes, unsigned g);
char base32Char(const uchar* data, unsigned nBytes, unsigned g);
// Writes the significant characters for nBytes input bytes into out and
// fills the rest of the nOutLength characters with '='.
void base32EncodeInto(const uchar* data, unsigned nBytes, char* out, unsigned nOutLength);
// Decodes nCount characters into at most nCapacity bytes; returns the number
// of bytes written (0 when the count is 0 or not a multiple of 8, or the
// capacity is 0).
unsigned base32Decode(const char* text, unsigned nCount, uchar* out, unsigned nCapacity);
unsigned base32DecodedCapacity(unsigned nCount);

}  // namespace MTools
