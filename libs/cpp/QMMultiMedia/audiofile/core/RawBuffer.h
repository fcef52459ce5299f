#pragma once

#include "AudioIO.h"

#include <vector>

// An owned array of samples or bytes that can be handed to an output. A copy
// starts with the default AudioIO settings; an assignment takes the source's
// count and content but keeps the target's own settings.
namespace QMMultiMedia {

template <typename T>
class Buffer : public AudioIO
{
public:
    // A negative count gives an empty buffer.
    explicit Buffer(int count)
        : m_nSize(count > 0 ? count : 0),
          m_data(size_t(m_nSize))
    {
    }

    Buffer(const Buffer& other)
        : AudioIO(),
          m_nSize(other.m_nSize),
          m_data(other.m_data)
    {
    }

    Buffer& operator=(const Buffer& other)
    {
        if (this != &other) {
            m_nSize = other.m_nSize;
            m_data = other.m_data;
        }
        return *this;
    }

    int size() const { return m_nSize; }
    T* data() { return m_data.data(); }
    const T* data() const { return m_data.data(); }

private:
    qint32 m_nSize;
    std::vector<T> m_data;
};

class RawBuffer : public Buffer<char>
{
public:
    explicit RawBuffer(int count);
};

}  // namespace QMMultiMedia
