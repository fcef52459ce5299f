#include "MStringWrap.h"

#include <climits>
#include <cstdio>
#include <iostream>
#include <new>
#include <vector>

namespace MTools {

namespace {

// The buffer is sized to the text: "%f" of a double near its maximum prints
// over 300 characters.
template<typename T>
std::vector<char> formatted(const char* format, T value)
{
    const int nChars = std::snprintf(nullptr, 0, format, value);
    std::vector<char> text(static_cast<std::size_t>(nChars > 0 ? nChars : 0) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, value);
    return text;
}

}  // namespace

MStringWrap::MStringWrap(const char* text)
    : MString(text)
{
}

MStringWrap::MStringWrap(const char* bytes, unsigned size)
{
    setBytes(bytes, bytes ? size : 0);
}

MStringWrap::MStringWrap(std::size_t size)
{
    if (size > UINT_MAX)
        throw std::bad_array_new_length();
    setZeroBytes(static_cast<unsigned>(size));
}

MStringWrap::MStringWrap(const char& c)
{
    setBytes(&c, 1);
}

MStringWrap::MStringWrap(const int& value)
    : MString(formatted("%d", value).data())
{
}

MStringWrap::MStringWrap(const long& value)
    : MString(formatted("%ld", value).data())
{
}

MStringWrap::MStringWrap(const unsigned& value)
    : MString(formatted("%u", value).data())
{
}

MStringWrap::MStringWrap(const float& value)
    : MString(formatted("%f", static_cast<double>(value)).data())
{
}

MStringWrap::MStringWrap(const double& value)
    : MString(formatted("%f", value).data())
{
}

MStringWrap::MStringWrap(const long double& value)
    : MString(formatted("%f", static_cast<double>(static_cast<float>(value))).data())
{
}

void MStringWrap::printLine()
{
    std::cout << cString() << '\n';
    std::cout.flush();
}

}  // namespace MTools
