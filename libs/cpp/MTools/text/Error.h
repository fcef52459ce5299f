#pragma once

#include "MString.h"

namespace MTools {

// The exception of the maker's non-Qt code, thrown by value. It carries one
// message; handlers catch it whole and do not look inside.
class Error
{
public:
    explicit Error(const char* text);
    explicit Error(const MString& message);

    const MString& message() const { return m_message; }

private:
    MString m_message;
};

}  // namespace MTools
