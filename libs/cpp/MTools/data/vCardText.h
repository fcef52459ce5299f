#pragma once

#include <QByteArray>
#include <QString>

#include <cstring>

// Text helpers shared by the vCard classes.
namespace vCardText {

// Upper-cases the ASCII letters only. Qt 5's QByteArray::toUpper maps bytes
// as Latin-1 and so breaks the lead byte of UTF-8 sequences of three and
// four bytes (the euro sign, CJK, emoji) into invalid text.
inline QByteArray upper(QByteArray bytes)
{
    char* p = bytes.data();
    for (int i = 0; i < bytes.size(); ++i) {
        if (p[i] >= 'a' && p[i] <= 'z')
            p[i] = char(p[i] - 'a' + 'A');
    }
    return bytes;
}

// The bytes up to the first NUL, decoded as UTF-8.
inline QString decode(const QByteArray& bytes)
{
    const void* nul = std::memchr(bytes.constData(), 0, size_t(bytes.size()));
    const int length = nul ? int(static_cast<const char*>(nul) - bytes.constData()) : bytes.size();
    return QString::fromUtf8(bytes.constData(), length);
}

}  // namespace vCardText
