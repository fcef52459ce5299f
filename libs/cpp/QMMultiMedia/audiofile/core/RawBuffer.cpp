#include "RawBuffer.h"

namespace QMMultiMedia {

RawBuffer::RawBuffer(int count)
    : Buffer<char>(count)
{
}

}  // namespace QMMultiMedia
