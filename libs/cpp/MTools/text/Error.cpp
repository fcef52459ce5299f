#include "Error.h"

namespace MTools {

Error::Error(const char* text)
    : m_message(text)
{
}

Error::Error(const MString& message)
    : m_message(message)
{
}

}  // namespace MTools
