#include "MString.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <ostream>

namespace {

// Strings are built on any thread (the audio classes throw MTools::Error from
// theirs), so the counter moves atomically; it stays a plain int because
// instanceCounter() hands out its address.
int g_nInstances = 0;

int takeInstanceId()
{
    return __atomic_fetch_add(&g_nInstances, 1, __ATOMIC_RELAXED);
}

const char kCanNotOpen[] = "can not open the file";
const char kCanNotCreate[] = "can not create the file";

struct FileCloser
{
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr openForReading(const char* path)
{
    FilePtr file(path ? std::fopen(path, "rb") : nullptr);
    if (!file)
        throw kCanNotOpen;
    return file;
}

}  // namespace

MString::MString()
    : m_pBuffer(new char[0])
    , m_nLength(0)
{
    m_nInstanceId = takeInstanceId();
}

MString::MString(const char* text)
    : MString()
{
    assignCString(text);
}

MString::MString(const MString& other)
    : MString()
{
    setBytes(other.m_pBuffer, other.m_nLength);
}

MString::~MString()
{
    __atomic_fetch_sub(&g_nInstances, 1, __ATOMIC_RELAXED);
    delete[] m_pBuffer;
}

void MString::setBytes(const char* bytes, unsigned size)
{
    char* pNew = new char[size];
    if (size > 0)
        std::memcpy(pNew, bytes, size);
    delete[] m_pBuffer;
    m_pBuffer = pNew;
    m_nLength = size;
}

void MString::setZeroBytes(unsigned size)
{
    char* pNew = new char[size]();
    delete[] m_pBuffer;
    m_pBuffer = pNew;
    m_nLength = size;
}

int* MString::instanceCounter() const
{
    return &g_nInstances;
}

MString& MString::appendInPlace(const MString& other)
{
    return append(other);
}

MString MString::concat(const MString& other) const
{
    MString result(*this);
    result.append(other);
    return result;
}

char* MString::at(const int& i)
{
    return m_pBuffer + i;
}

const char* MString::at(const int& i) const
{
    return m_pBuffer + i;
}

bool MString::isEqual(const MString& other) const
{
    return equals(other);
}

bool MString::isNotEqual(const MString& other) const
{
    return !equals(other);
}

int MString::compare(const MString& other) const
{
    const unsigned nCommon = std::min(m_nLength, other.m_nLength);
    for (unsigned i = 0; i < nCommon; ++i) {
        // Signed bytes: 0x80..0xFF sort below 0x00..0x7F, whatever the
        // signedness of char on the platform.
        const auto a = static_cast<signed char>(m_pBuffer[i]);
        const auto b = static_cast<signed char>(other.m_pBuffer[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (m_nLength == other.m_nLength)
        return 0;
    return m_nLength < other.m_nLength ? -1 : 1;
}

bool MString::isGreater(const MString& other) const
{
    return compare(other) > 0;
}

bool MString::isLess(const MString& other) const
{
    return compare(other) < 0;
}

bool MString::isGreaterOrEqual(const MString& other) const
{
    return isGreater(other) || isEqual(other);
}

bool MString::isLessOrEqual(const MString& other) const
{
    return isLess(other) || isEqual(other);
}

void MString::printReadable(std::ostream& out) const
{
    for (unsigned i = 0; i < m_nLength; ++i)
        out.put(m_pBuffer[i] == '\0' ? ' ' : m_pBuffer[i]);
}

bool MString::isEmpty() const
{
    return m_nLength == 0;
}

MString MString::mid(const int& from, const int& to) const
{
    const long long nLength = m_nLength;
    const long long nFrom = std::clamp<long long>(from, 0, nLength);
    const long long nTo = std::clamp<long long>(to, nFrom, nLength);
    MString result("");
    result.setBytes(m_pBuffer + nFrom, static_cast<unsigned>(nTo - nFrom));
    return result;
}

MString& MString::assignCString(const char* text)
{
    const std::size_t nLength = text ? std::strlen(text) : 0;
    if (nLength > UINT_MAX)
        throw std::bad_array_new_length();
    setBytes(text, static_cast<unsigned>(nLength));
    return *this;
}

MString& MString::assign(const MString& other)
{
    if (&other != this)
        setBytes(other.m_pBuffer, other.m_nLength);
    return *this;
}

MString& MString::append(const MString& other)
{
    const unsigned nOther = other.m_nLength;  // other may be this string
    if (nOther > UINT_MAX - m_nLength)
        throw std::bad_array_new_length();
    char* pNew = new char[m_nLength + nOther];
    if (m_nLength > 0)
        std::memcpy(pNew, m_pBuffer, m_nLength);
    if (nOther > 0)
        std::memcpy(pNew + m_nLength, other.m_pBuffer, nOther);
    delete[] m_pBuffer;
    m_pBuffer = pNew;
    m_nLength += nOther;
    return *this;
}

MString& MString::appendString(const MString& other)
{
    return append(other);
}

MString& MString::reverse()
{
    std::reverse(m_pBuffer, m_pBuffer + m_nLength);
    return *this;
}

bool MString::equals(const MString& other) const
{
    return m_nLength == other.m_nLength
           && (m_nLength == 0 || std::memcmp(m_pBuffer, other.m_pBuffer, m_nLength) == 0);
}

MString& MString::terminate()
{
    if (m_nLength == UINT_MAX)
        throw std::bad_array_new_length();
    char* pNew = new char[m_nLength + 1];
    if (m_nLength > 0)
        std::memcpy(pNew, m_pBuffer, m_nLength);
    pNew[m_nLength] = '\0';
    delete[] m_pBuffer;
    m_pBuffer = pNew;
    return *this;
}

MString& MString::toUpperAscii()
{
    for (unsigned i = 0; i < m_nLength; ++i)
        if (m_pBuffer[i] >= 'a' && m_pBuffer[i] <= 'z')
            m_pBuffer[i] = static_cast<char>(m_pBuffer[i] - 'a' + 'A');
    return *this;
}

MString& MString::toLowerAscii()
{
    for (unsigned i = 0; i < m_nLength; ++i)
        if (m_pBuffer[i] >= 'A' && m_pBuffer[i] <= 'Z')
            m_pBuffer[i] = static_cast<char>(m_pBuffer[i] - 'A' + 'a');
    return *this;
}

char* MString::data()
{
    return m_pBuffer;
}

const char* MString::data() const
{
    return m_pBuffer;
}

MString& MString::saveToFile(const char* path)
{
    std::FILE* pFile = path ? std::fopen(path, "wb") : nullptr;
    if (!pFile)
        throw kCanNotCreate;
    const std::size_t nWritten = m_nLength > 0 ? std::fwrite(m_pBuffer, 1, m_nLength, pFile) : 0;
    // A full disk shows in the count or only when the buffer is flushed.
    const bool bClosed = std::fclose(pFile) == 0;
    if (nWritten != m_nLength || !bClosed)
        throw kCanNotCreate;
    return *this;
}

MString& MString::saveToFile(MString& path)
{
    path.terminate();
    return saveToFile(path.data());
}

MString& MString::writeTo(std::ostream& out)
{
    const void* pNul = m_nLength > 0 ? std::memchr(m_pBuffer, '\0', m_nLength) : nullptr;
    const std::size_t nCount = pNul ? static_cast<std::size_t>(static_cast<const char*>(pNul) - m_pBuffer)
                                    : m_nLength;
    out.write(m_pBuffer, static_cast<std::streamsize>(nCount));
    return *this;
}

MString& MString::loadFromFile(const char* path)
{
    long long nSize = -1;
    {
        FilePtr file = openForReading(path);
        if (fseeko(file.get(), 0, SEEK_END) == 0)
            nSize = ftello(file.get());
    }
    // The size is read in 64 bits: a file of 2 GiB or more does not fit the
    // count and is refused rather than read short.
    if (nSize < 0 || nSize > INT_MAX)
        throw kCanNotOpen;
    return loadRange(path, 0, static_cast<int>(nSize));
}

MString& MString::loadFromFile(MString& path)
{
    path.terminate();
    return loadFromFile(path.data());
}

MString& MString::loadRange(const char* path, const int& offset, const int& count)
{
    if (offset < 0 || count < 0)
        throw kCanNotOpen;
    FilePtr file = openForReading(path);
    // Zero-filled, so that what a short file does not supply reads as 0.
    std::unique_ptr<char[]> pNew(new char[static_cast<unsigned>(count)]());
    if (fseeko(file.get(), offset, SEEK_SET) == 0 && count > 0)
        std::fread(pNew.get(), 1, static_cast<std::size_t>(count), file.get());
    // A read that fails (a folder, an I/O error) is no short file.
    if (std::ferror(file.get()))
        throw kCanNotOpen;
    delete[] m_pBuffer;
    m_pBuffer = pNew.release();
    m_nLength = static_cast<unsigned>(count);
    return *this;
}

char* MString::cString()
{
    terminate();
    return m_pBuffer;
}

int MString::find(const MString& pattern, const unsigned& from) const
{
    if (from >= m_nLength)
        return -1;
    const unsigned nPattern = pattern.m_nLength;
    if (nPattern > m_nLength - from)
        return -1;
    const unsigned nLastStart = m_nLength - nPattern;
    for (unsigned i = from; i <= nLastStart; ++i) {
        if (nPattern == 0 || std::memcmp(m_pBuffer + i, pattern.m_pBuffer, nPattern) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

unsigned MString::length() const
{
    return m_nLength;
}

MString MString::classUuid() const
{
    return MString("41c69b52-961b-4eee-b5aa-36a830fc3d81");
}

MString MString::objectId() const
{
    MString result = classUuid();
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", m_nInstanceId);
    result.append(MString(digits));
    return result;
}

MString MString::className() const
{
    return MString("MString");
}

int MString::instanceCount() const
{
    return __atomic_load_n(instanceCounter(), __ATOMIC_RELAXED);
}
