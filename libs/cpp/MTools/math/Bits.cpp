#include "Bits.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <iostream>
#include <new>
#include <vector>

namespace MTools {

namespace {

int bitIn(const std::vector<unsigned char>& bytes, unsigned long long i)
{
    return (bytes[i / 8] >> (i % 8)) & 1;
}

// The low 32 bits of a pattern as a signed number.
int signed32(unsigned nPattern)
{
    return nPattern <= INT_MAX ? static_cast<int>(nPattern) : static_cast<int>(nPattern - INT_MAX - 1) + INT_MIN;
}

}  // namespace

int Bits::byteCountFor(int nBits)
{
    return nBits / 8 + (nBits % 8 != 0 ? 1 : 0);
}

Bits::Bits(const int& count)
    : m_nBits(count > 0 ? count : 0)
{
    m_nBytes = byteCountFor(m_nBits);
    m_pBytes = new unsigned char[static_cast<unsigned>(m_nBytes)]();
}

Bits::Bits(const Bits& other)
    : m_pBytes(new unsigned char[static_cast<unsigned>(other.m_nBytes)])
    , m_nBits(other.m_nBits)
    , m_nBytes(other.m_nBytes)
{
    if (m_nBytes > 0)
        std::memcpy(m_pBytes, other.m_pBytes, static_cast<unsigned>(m_nBytes));
}

Bits& Bits::operator=(const Bits& other)
{
    // Copied before the old array goes, so that assigning a vector to itself
    // never reads released memory.
    if (&other != this) {
        auto* pNew = new unsigned char[static_cast<unsigned>(other.m_nBytes)];
        if (other.m_nBytes > 0)
            std::memcpy(pNew, other.m_pBytes, static_cast<unsigned>(other.m_nBytes));
        delete[] m_pBytes;
        m_pBytes = pNew;
        m_nBits = other.m_nBits;
        m_nBytes = other.m_nBytes;
    }
    return *this;
}

Bits::~Bits()
{
    delete[] m_pBytes;
}

int Bits::bitAt(int i) const
{
    return (m_pBytes[i / 8] >> (i % 8)) & 1;
}

void Bits::put(int i, int nValue)
{
    const auto nMask = static_cast<unsigned char>(1u << (i % 8));
    if (nValue != 0)
        m_pBytes[i / 8] |= nMask;
    else
        m_pBytes[i / 8] &= static_cast<unsigned char>(~nMask);
}

template<typename Source>
void Bits::rebuild(int nBits, Source source)
{
    const int nBytes = byteCountFor(nBits);
    auto* pNew = new unsigned char[static_cast<unsigned>(nBytes)]();
    for (int i = 0; i < nBits; ++i) {
        if (source(i))
            pNew[i / 8] |= static_cast<unsigned char>(1u << (i % 8));
    }
    delete[] m_pBytes;
    m_pBytes = pNew;
    m_nBits = nBits;
    m_nBytes = nBytes;
}

void Bits::setBytes(const char* source)
{
    if (source && m_nBytes > 0)
        std::memcpy(m_pBytes, source, static_cast<unsigned>(m_nBytes));
}

void Bits::invert()
{
    for (int i = 0; i < m_nBytes; ++i)
        m_pBytes[i] = static_cast<unsigned char>(~m_pBytes[i]);
}

int Bits::bit(const unsigned& i) const
{
    if (i >= static_cast<unsigned>(m_nBits))
        return -1;
    return bitAt(static_cast<int>(i));
}

void Bits::setBit(const unsigned& i, const int& value)
{
    if (i >= static_cast<unsigned>(m_nBits)) {
        std::cerr << "Bits::setBit(int,int) Position is out of range" << '\n';
        return;
    }
    put(static_cast<int>(i), value);
}

void Bits::setFromInt(const int& value)
{
    const auto nPattern = static_cast<unsigned>(value);
    for (unsigned i = 0; i < 32; ++i)
        setBit(i, static_cast<int>((nPattern >> i) & 1u));
}

int Bits::getCode(const int& n) const
{
    if (n < 1 || n > 39 || n > m_nBits) {
        std::cerr << "Bits::getCode(int) Out Of Range" << '\n';
        return 0;
    }
    // Gathered in 64 bits: shifting a 32-bit int by 32 or more is undefined.
    unsigned long long nCode = 0;
    for (int i = 0; i < n; ++i)
        nCode |= static_cast<unsigned long long>(bitAt(i)) << i;
    return signed32(static_cast<unsigned>(nCode & 0xFFFFFFFFull));
}

int Bits::toInt() const
{
    unsigned nValue = 0;
    for (int b = 0; b < 4 && b < m_nBytes; ++b)
        nValue |= static_cast<unsigned>(m_pBytes[b]) << (8 * b);
    return signed32(nValue);
}

int Bits::rotateDown(const unsigned& k)
{
    if (m_nBits == 0 || k == 0)
        return 0;
    const unsigned long long n = static_cast<unsigned>(m_nBits);
    const std::vector<unsigned char> old(m_pBytes, m_pBytes + m_nBytes);
    const unsigned long long nShift = k % n;
    for (unsigned long long i = 0; i < n; ++i)
        put(static_cast<int>(i), bitIn(old, (i + nShift) % n));
    return bitIn(old, (k - 1ull) % n);
}

int Bits::shiftDown(const unsigned& k)
{
    if (m_nBits == 0 || k == 0)
        return 0;
    const unsigned long long n = static_cast<unsigned>(m_nBits);
    const std::vector<unsigned char> old(m_pBytes, m_pBytes + m_nBytes);
    for (unsigned long long i = 0; i < n; ++i)
        put(static_cast<int>(i), i + k < n ? bitIn(old, i + k) : 0);
    return k <= n ? bitIn(old, k - 1ull) : 0;
}

int Bits::rotateUp(const unsigned& k)
{
    if (m_nBits == 0 || k == 0)
        return 0;
    const unsigned long long n = static_cast<unsigned>(m_nBits);
    const std::vector<unsigned char> old(m_pBytes, m_pBytes + m_nBytes);
    const unsigned long long nShift = k % n;
    for (unsigned long long i = 0; i < n; ++i)
        put(static_cast<int>(i), bitIn(old, (i + n - nShift) % n));
    // Step j brings the bit that was at n - j round to bit 0.
    return bitIn(old, n - 1 - (k - 1ull) % n);
}

int Bits::shiftUp(const unsigned& k)
{
    if (m_nBits == 0 || k == 0)
        return 0;
    const unsigned long long n = static_cast<unsigned>(m_nBits);
    const std::vector<unsigned char> old(m_pBytes, m_pBytes + m_nBytes);
    for (unsigned long long i = 0; i < n; ++i)
        put(static_cast<int>(i), i >= k ? bitIn(old, i - k) : 0);
    return k <= n ? bitIn(old, n - k) : 0;
}

Bits& Bits::dropLow(const unsigned& k)
{
    const int nDropped = static_cast<int>(std::min<unsigned long long>(k, static_cast<unsigned>(m_nBits)));
    rebuild(m_nBits - nDropped, [this, nDropped](int i) { return bitAt(i + nDropped); });
    return *this;
}

Bits& Bits::append(const Bits& other)
{
    const int nOwn = m_nBits;
    const int nOther = other.m_nBits;  // other may be this vector
    if (nOther > INT_MAX - nOwn)
        throw std::bad_array_new_length();
    // Every new bit is written, so bits of the old last byte above the count
    // do not show through.
    rebuild(nOwn + nOther, [this, &other, nOwn](int i) { return i < nOwn ? bitAt(i) : other.bitAt(i - nOwn); });
    return *this;
}

void Bits::xorWith(const Bits& other)
{
    const int nCommon = std::min(m_nBits, other.m_nBits);
    for (int i = 0; i < nCommon; ++i)
        put(i, bitAt(i) ^ other.bitAt(i));
}

void Bits::andWith(const Bits& other)
{
    for (int i = 0; i < m_nBits; ++i)
        put(i, i < other.m_nBits ? (bitAt(i) & other.bitAt(i)) : 0);
}

void Bits::orWith(const Bits& other)
{
    const int nCommon = std::min(m_nBits, other.m_nBits);
    for (int i = 0; i < nCommon; ++i)
        put(i, bitAt(i) | other.bitAt(i));
}

void Bits::print(std::ostream& out) const
{
    for (int i = m_nBits - 1; i >= 0; --i)
        out << (bitAt(i) ? '1' : '0');
}

void Bits::printLine() const
{
    for (int i = 0; i < m_nBits; ++i)
        std::cout << (bitAt(i) ? '1' : '0');
    std::cout << '\n';
    std::cout.flush();
}

}  // namespace MTools
