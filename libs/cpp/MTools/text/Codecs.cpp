#include "Codecs.h"

#include <array>

namespace MTools {

namespace {

const char kBase32Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";

const std::array<uchar, 256>& base32ReverseTable()
{
    static const std::array<uchar, 256> table = [] {
        std::array<uchar, 256> t;
        t.fill(255);
        for (int i = 0; i < 26; ++i) {
            t[static_cast<uchar>('A' + i)] = static_cast<uchar>(i);
            t[static_cast<uchar>('a' + i)] = static_cast<uchar>(i);
        }
        for (int i = 0; i < 6; ++i)
            t[static_cast<uchar>('2' + i)] = static_cast<uchar>(26 + i);
        return t;
    }();
    return table;
}

QString textUpToNul(const QByteArray& bytes)
{
    const int nul = bytes.indexOf('\0');
    return QString::fromUtf8(bytes.constData(), nul < 0 ? bytes.size() : nul);
}

}  // namespace

QString fromLatin1Bytes(const uchar* data, int length)
{
    if (!data || length <= 0)
        return QString();
    // The pointer-and-length form keeps NUL bytes as characters.
    return QString::fromLatin1(reinterpret_cast<const char*>(data), length);
}

QByteArray toUtf16BigEndian(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar ch : text) {
        bytes.append(static_cast<char>(ch.unicode() >> 8));
        bytes.append(static_cast<char>(ch.unicode() & 0xff));
    }
    return bytes;
}

QString fromUtf16BigEndian(const QByteArray& bytes)
{
    QString text;
    text.reserve((bytes.size() + 1) / 2);
    for (int i = 0; i < bytes.size(); i += 2) {
        const ushort high = static_cast<uchar>(bytes.at(i));
        const ushort low = i + 1 < bytes.size() ? static_cast<uchar>(bytes.at(i + 1)) : 0;
        text.append(QChar(static_cast<ushort>((high << 8) | low)));
    }
    return text;
}

QString toUnicodeBase64(const QString& text)
{
    return toBase64(toUtf16BigEndian(text));
}

QString fromUnicodeBase64(const QString& text)
{
    return fromUtf16BigEndian(fromBase64(text));
}

QString toBase64(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toBase64());
}

QByteArray fromBase64(const QString& text)
{
    return QByteArray::fromBase64(text.toLatin1());
}

QString encodeBase64String(const QString& text)
{
    return toBase64(text.toLatin1());
}

QString decodeBase64String(const QString& text)
{
    return textUpToNul(fromBase64(text));
}

unsigned base32SignificantLength(unsigned nBytes)
{
    return nBytes * 8 / 5 + (nBytes % 5 ? 1 : 0);
}

unsigned base32PaddingLength(unsigned nBytes)
{
    return nBytes % 5 == 0 ? 0 : (40 - 8 * (nBytes % 5)) / 5;
}

unsigned base32EncodedLength(unsigned nBytes)
{
    return base32SignificantLength(nBytes) + base32PaddingLength(nBytes);
}

unsigned base32Group(const uchar* data, unsigned nBytes, unsigned g)
{
    const unsigned block = g / 8;
    const unsigned bit = (g % 8) * 5;  // first bit of the group within the 40-bit block
    quint64 value = 0;
    for (unsigned i = 0; i < 5; ++i) {
        const unsigned index = block * 5 + i;
        value = (value << 8) | (index < nBytes ? data[index] : 0u);
    }
    return static_cast<unsigned>((value >> (35 - bit)) & 0x1f);
}

char base32Char(const uchar* data, unsigned nBytes, unsigned g)
{
    return kBase32Alphabet[base32Group(data, nBytes, g)];
}

void base32EncodeInto(const uchar* data, unsigned nBytes, char* out, unsigned nOutLength)
{
    const unsigned significant = base32SignificantLength(nBytes);
    unsigned i = 0;
    for (; i < significant && i < nOutLength; ++i)
        out[i] = base32Char(data, nBytes, i);
    for (; i < nOutLength; ++i)
        out[i] = '=';
}

unsigned base32DecodedCapacity(unsigned nCount)
{
    if (nCount == 0 || nCount % 8 != 0)
        return 0;
    return 8 * nCount / 5;
}

unsigned base32Decode(const char* text, unsigned nCount, uchar* out, unsigned nCapacity)
{
    if (nCapacity == 0 || nCount == 0 || nCount % 8 != 0)
        return 0;
    const std::array<uchar, 256>& table = base32ReverseTable();
    unsigned written = 0;
    for (unsigned start = 0; start < nCount; start += 8) {
        quint64 bits = 0;
        unsigned keep = 5;
        for (unsigned pos = 0; pos < 8; ++pos) {
            const char ch = text[start + pos];
            if (ch == '=' && (pos == 2 || pos == 4 || pos == 5 || pos == 7)) {
                keep = pos == 2 ? 1 : pos == 4 ? 2 : pos == 5 ? 3 : 4;
                bits <<= 5 * (8 - pos);
                break;
            }
            // Characters outside the alphabet are not detected; masking keeps
            // them from spilling into the neighbouring groups.
            bits = (bits << 5) | (table[static_cast<uchar>(ch)] & 0x1fu);
        }
        for (unsigned i = 0; i < keep && written < nCapacity; ++i)
            out[written++] = static_cast<uchar>((bits >> (32 - 8 * i)) & 0xff);
        if (keep < 5 || written >= nCapacity)
            break;
    }
    return written;
}

QString toBase32(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return QString();
    const unsigned n = static_cast<unsigned>(bytes.size());
    QByteArray out(static_cast<int>(base32EncodedLength(n)), '=');
    base32EncodeInto(reinterpret_cast<const uchar*>(bytes.constData()), n, out.data(),
                     static_cast<unsigned>(out.size()));
    return QString::fromLatin1(out);
}

QByteArray fromBase32(const QString& text)
{
    const QByteArray latin = text.toLatin1();
    const unsigned count = static_cast<unsigned>(latin.size());
    const unsigned capacity = base32DecodedCapacity(count);
    if (capacity == 0)
        return QByteArray();
    QByteArray out(static_cast<int>(capacity), '\0');
    const unsigned written =
        base32Decode(latin.constData(), count, reinterpret_cast<uchar*>(out.data()), capacity);
    out.truncate(static_cast<int>(written));
    return out;
}

QString encodeBase32String(const QString& text)
{
    return toBase32(text.toLatin1());
}

QString decodeBase32String(const QString& text)
{
    return textUpToNul(fromBase32(text));
}

}  // namespace MTools
