#pragma once

#include <iosfwd>

namespace MTools {

// A fixed-length vector of bits in a byte array: bit i is bit i % 8 of byte
// i / 8. Bits of the last byte above the count take no part in the
// operations, except invert(), setBytes() and toInt(), which work on whole
// bytes. Range errors of setBit() and getCode() are written to the standard
// error stream; nothing throws.
class Bits
{
public:
    // count bits, all 0 (a negative count gives an empty vector).
    explicit Bits(const int& count);
    Bits(const Bits& other);
    Bits& operator=(const Bits& other);
    virtual ~Bits();

    // Copies as many bytes as the vector holds from source.
    void setBytes(const char* source);
    void invert();
    // 0 or 1; -1 when i is not below the bit count.
    int bit(const unsigned& i) const;
    // Sets bit i when value is not 0, clears it when it is; an i out of range
    // writes "Bits::setBit(int,int) Position is out of range" and changes
    // nothing.
    void setBit(const unsigned& i, const int& value);
    // Bits 0 to 31 from the 32 bits of value, least significant first.
    void setFromInt(const int& value);
    // The first n bits as a number, bit 0 least significant; n must be 1..39
    // and not above the bit count, else "Bits::getCode(int) Out Of Range" is
    // written and the result is 0. Bits from 32 up do not fit the result.
    int getCode(const int& n) const;
    // The first four bytes, little-endian (bytes past the array count 0).
    int toInt() const;

    // k steps toward bit 0; the rotations bring the bit leaving one end back
    // in at the other, the shifts bring in 0. Each returns the bit that left
    // in the last step (0 when k is 0 or the vector is empty).
    int rotateDown(const unsigned& k);
    int shiftDown(const unsigned& k);
    // The same, toward the top.
    int rotateUp(const unsigned& k);
    int shiftUp(const unsigned& k);

    // Drops the lowest k bits (all of them when k exceeds the count).
    Bits& dropLow(const unsigned& k);
    // Other's bits follow above this vector's.
    Bits& append(const Bits& other);
    // Bitwise over the positions below both counts. Positions at or above
    // other's count are kept by xorWith() and orWith() and cleared by
    // andWith().
    void xorWith(const Bits& other);
    void andWith(const Bits& other);
    void orWith(const Bits& other);

    // The bits as digits 0 and 1, top position first, no newline.
    void print(std::ostream& out) const;
    // Bit 0 first, then a newline, to standard output.
    void printLine() const;

private:
    static int byteCountFor(int nBits);
    int bitAt(int i) const;
    void put(int i, int nValue);
    // Replaces the bits by nBits bits taken from source(i).
    template<typename Source>
    void rebuild(int nBits, Source source);

    unsigned char* m_pBytes;
    int m_nBits;
    int m_nBytes;
};

}  // namespace MTools
