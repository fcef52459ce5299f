#pragma once

#include "MString.h"

#include <cstddef>

namespace MTools {

// MString with constructors from raw bytes, a size, one character and
// numbers. Numbers are formatted the printf way ("%d", "%ld", "%u", "%f");
// a long double is rounded to single precision first. No constructor leaves
// a terminator in the buffer.
class MStringWrap : public MString
{
public:
    MStringWrap(const char* text);
    // size bytes, NUL bytes included.
    MStringWrap(const char* bytes, unsigned size);
    // size bytes 0. A size_t, so that an unsigned number picks the "%u"
    // constructor below; sizes above 4 GiB - 1 throw std::bad_array_new_length.
    explicit MStringWrap(std::size_t size);
    explicit MStringWrap(const char& c);
    explicit MStringWrap(const int& value);
    explicit MStringWrap(const long& value);
    explicit MStringWrap(const unsigned& value);
    explicit MStringWrap(const float& value);
    explicit MStringWrap(const double& value);
    explicit MStringWrap(const long double& value);

    // Writes cString() (so the buffer gains its terminator) and a newline to
    // standard output and flushes.
    virtual void printLine();
};

}  // namespace MTools
