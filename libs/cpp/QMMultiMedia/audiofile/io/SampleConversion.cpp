#include "SampleConversion.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace QMMultiMedia {

namespace {

constexpr double kTwoToMinus31 = 1.0 / 2147483648.0;

inline quint8 byteAt(const char* p, int i)
{
    return quint8(p[i]);
}

// Unsigned kernels: (v + 1) x full formed in double, clipped to [0, high]
// and truncated; NaN gives the midpoint.
int convertUnsigned(const float* source, qint32* target, int count, double full, double high, qint32 nan)
{
    for (int i = 0; i < count; ++i) {
        const double x = (double(source[i]) + 1.0) * full;
        if (x > high)
            target[i] = qint32(high);
        else if (x < 0.0)
            target[i] = 0;
        else if (x != x)
            target[i] = nan;
        else
            target[i] = qint32(x);
    }
    return 0;
}

// Signed kernels: v x 2^(w-1), clipped to [-limit, limit] and truncated
// toward zero; NaN gives 0. Scaling by a power of two is exact in float as in
// double, and the bounds are exact in both, so the float form gives the
// double results bit for bit (and vectorises).
template <typename Out>
int convertSigned(const float* source, Out* target, int count, float full, float limit)
{
    for (int i = 0; i < count; ++i) {
        float x = source[i] * full;
        x = x > limit ? limit : x;
        x = x < -limit ? -limit : x;
        x = x == x ? x : 0.0f;
        target[i] = Out(qint32(x));
    }
    return 0;
}

inline float topBitsToFloat(quint32 bits)
{
    return float(double(qint32(bits)) * kTwoToMinus31);
}

}  // namespace

quint16 swap16(quint16 value)
{
    return quint16((value >> 8) | (value << 8));
}

quint32 swap32(quint32 value)
{
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

quint64 swap64(quint64)
{
    return 0;
}

int readInt8(FILE* file)
{
    unsigned char b = 0;
    return std::fread(&b, 1, 1, file) == 1 ? b : 0;
}

int readInt16(FILE* file, bool swap)
{
    unsigned char b[2];
    if (std::fread(b, 1, 2, file) != 2)
        return 0;
    return swap ? (b[0] << 8) | b[1] : (b[1] << 8) | b[0];
}

qint32 readInt32(FILE* file, bool swap)
{
    unsigned char b[4];
    if (std::fread(b, 1, 4, file) != 4)
        return 0;
    const quint32 value = swap ? (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | b[3]
                               : (quint32(b[3]) << 24) | (quint32(b[2]) << 16) | (quint32(b[1]) << 8) | b[0];
    return qint32(value);
}

qint64 readInt64(FILE*, bool)
{
    return 0;
}

int writeInt8(int value, FILE* file)
{
    const unsigned char b = quint8(value);
    return int(std::fwrite(&b, 1, 1, file));
}

int writeInt16(int value, FILE* file, bool swap)
{
    const quint16 v = quint16(value);
    const unsigned char b[2] = {quint8(swap ? v >> 8 : v), quint8(swap ? v : v >> 8)};
    return int(std::fwrite(b, 2, 1, file));
}

int writeInt32(qint32 value, FILE* file, bool swap)
{
    const quint32 v = quint32(value);
    unsigned char b[4];
    for (int i = 0; i < 4; ++i)
        b[swap ? 3 - i : i] = quint8(v >> (8 * i));
    return int(std::fwrite(b, 4, 1, file));
}

int writeInt64(qint64, FILE*, bool)
{
    return 0;
}

int floatToInt8(const float* source, qint32* target, int count)
{
    return convertSigned(source, target, count, 128.0f, 127.0f);
}

int floatToInt16(const float* source, qint32* target, int count)
{
    return convertSigned(source, target, count, 32768.0f, 32767.0f);
}

int floatToShort(const float* source, qint16* target, int count)
{
    return convertSigned(source, target, count, 32768.0f, 32767.0f);
}

int floatToInt24(const float* source, qint32* target, int count)
{
    return convertSigned(source, target, count, 8388608.0f, 8388607.0f);
}

int floatToInt32(const float* source, qint32* target, int count)
{
    // Full range: from 2^31 up gives 2147483647, below -2^31 gives -2^31.
    for (int i = 0; i < count; ++i) {
        const double x = double(source[i]) * 2147483648.0;
        if (x >= 2147483648.0)
            target[i] = 2147483647;
        else if (x < -2147483648.0)
            target[i] = qint32(-2147483647 - 1);
        else if (x != x)
            target[i] = 0;
        else
            target[i] = qint32(x);
    }
    return 0;
}

int floatToUInt8(const float* source, qint32* target, int count)
{
    return convertUnsigned(source, target, count, 128.0, 255.0, 128);
}

int floatToUInt16(const float* source, qint32* target, int count)
{
    return convertUnsigned(source, target, count, 32768.0, 65535.0, 32768);
}

int floatToUInt24(const float* source, qint32* target, int count)
{
    return convertUnsigned(source, target, count, 8388608.0, 16777215.0, 8388608);
}

int int8ToBytes(const qint32* source, char* target, int count)
{
    for (int i = 0; i < count; ++i)
        target[i] = char(quint8(source[i]));
    return 0;
}

int int16ToBytes(const qint32* source, char* target, int byteCount, bool littleEndian)
{
    const int n = byteCount / 2;
    for (int i = 0; i < n; ++i) {
        const quint32 v = quint32(source[i]);
        target[2 * i + (littleEndian ? 0 : 1)] = char(quint8(v));
        target[2 * i + (littleEndian ? 1 : 0)] = char(quint8(v >> 8));
    }
    return 0;
}

int int24ToBytes(const qint32* source, char* target, int byteCount)
{
    const int n = byteCount / 3;
    int i = 0;
    // Two values at a time as eight little-endian bytes, of which the last two
    // are overwritten by the next pair; the last values go byte by byte so
    // that nothing is written past the count.
    for (; i + 3 <= n; i += 2) {
        const quint64 pair = (quint64(quint32(source[i]) & 0xFFFFFFu)) | (quint64(quint32(source[i + 1])) << 24);
        const quint64 bytes = qToLittleEndian(pair);
        std::memcpy(target + 3 * i, &bytes, 8);
    }
    for (; i < n; ++i) {
        const quint32 v = quint32(source[i]);
        target[3 * i] = char(quint8(v));
        target[3 * i + 1] = char(quint8(v >> 8));
        target[3 * i + 2] = char(quint8(v >> 16));
    }
    return 0;
}

int int32ToBytes(const qint32* source, char* target, int byteCount, bool littleEndian)
{
    const int n = byteCount / 4;
    for (int i = 0; i < n; ++i) {
        const quint32 v = quint32(source[i]);
        for (int k = 0; k < 4; ++k)
            target[4 * i + (littleEndian ? k : 3 - k)] = char(quint8(v >> (8 * k)));
    }
    return 0;
}

int bytesToInt8(const char* source, qint32* target, int count)
{
    for (int i = 0; i < count; ++i)
        target[i] = byteAt(source, i);
    return 0;
}

int bytesToInt16(const char* source, qint32* target, int count, bool littleEndian)
{
    for (int i = 0; i < count; ++i) {
        const quint8 b0 = byteAt(source, 2 * i), b1 = byteAt(source, 2 * i + 1);
        target[i] = littleEndian ? (b1 << 8) | b0 : (b0 << 8) | b1;
    }
    return 0;
}

int bytesToInt24(const char* source, qint32* target, int count, bool littleEndian)
{
    for (int i = 0; i < count; ++i) {
        const quint8 b0 = byteAt(source, 3 * i), b1 = byteAt(source, 3 * i + 1), b2 = byteAt(source, 3 * i + 2);
        target[i] = littleEndian ? (b2 << 16) | (b1 << 8) | b0 : (b0 << 16) | (b1 << 8) | b2;
    }
    return 0;
}

int bytesToInt32(const char* source, qint32* target, int count, bool littleEndian)
{
    for (int i = 0; i < count; ++i) {
        quint32 v = 0;
        for (int k = 0; k < 4; ++k)
            v |= quint32(byteAt(source, 4 * i + (littleEndian ? k : 3 - k))) << (8 * k);
        target[i] = qint32(v);
    }
    return 0;
}

int int8ToFloat(const qint32* source, float* target, int count)
{
    for (int i = 0; i < count; ++i)
        target[i] = topBitsToFloat(quint32(source[i]) << 24);
    return 0;
}

int int16ToFloat(const qint32* source, float* target, int count)
{
    for (int i = 0; i < count; ++i)
        target[i] = topBitsToFloat(quint32(source[i]) << 16);
    return 0;
}

int int24ToFloat(const qint32* source, float* target, int count)
{
    for (int i = 0; i < count; ++i)
        target[i] = topBitsToFloat(quint32(source[i]) << 8);
    return 0;
}

int int32ToFloat(const qint32* source, float* target, int count)
{
    for (int i = 0; i < count; ++i)
        target[i] = topBitsToFloat(quint32(source[i]));
    return 0;
}

int uint8ToFloat(const qint32* source, float* target, int count)
{
    for (int i = 0; i < count; ++i)
        target[i] = topBitsToFloat((quint32(source[i]) - 128u) << 24);
    return 0;
}

int uint16ToFloat(const qint32* source, float* target, int count)
{
    for (int i = 0; i < count; ++i)
        target[i] = topBitsToFloat((quint32(source[i]) - 32768u) << 16);
    return 0;
}

int uint24ToFloat(const qint32* source, float* target, int count)
{
    for (int i = 0; i < count; ++i)
        target[i] = topBitsToFloat((quint32(source[i]) - 8388608u) << 8);
    return 0;
}

int uint32ToFloat(const qint32* source, float* target, int count)
{
    for (int i = 0; i < count; ++i)
        target[i] = topBitsToFloat(quint32(source[i]) - 2147483648u);
    return 0;
}

int bytes16ToFloat(const char* source, float* target, int count, bool littleEndian)
{
    for (int i = 0; i < count; ++i) {
        const quint8 b0 = byteAt(source, 2 * i), b1 = byteAt(source, 2 * i + 1);
        const quint32 top = littleEndian ? (quint32(b1) << 24) | (quint32(b0) << 16)
                                         : (quint32(b0) << 24) | (quint32(b1) << 16);
        target[i] = topBitsToFloat(top);  // the 16-bit value times 2^-15
    }
    return 0;
}

int bytes24ToFloat(const char* source, float* target, int count, bool littleEndian)
{
    for (int i = 0; i < count; ++i) {
        const quint8 b0 = byteAt(source, 3 * i), b1 = byteAt(source, 3 * i + 1), b2 = byteAt(source, 3 * i + 2);
        const quint32 top = littleEndian ? (quint32(b2) << 24) | (quint32(b1) << 16) | (quint32(b0) << 8)
                                         : (quint32(b0) << 24) | (quint32(b1) << 16) | (quint32(b2) << 8);
        target[i] = topBitsToFloat(top);
    }
    return 0;
}

int bytes32ToFloat(const char* source, float* target, int count, bool littleEndian)
{
    qint32 value;
    for (int i = 0; i < count; ++i) {
        bytesToInt32(source + 4 * i, &value, 1, littleEndian);
        target[i] = topBitsToFloat(quint32(value));
    }
    return 0;
}

int copyFloats(const float* source, float* target, int count, bool)
{
    for (int i = 0; i < count; ++i)
        target[i] = source[i];
    return 0;
}

double ieeeExtendedToDouble(const unsigned char* bytes)
{
    const int exponent = ((bytes[0] & 0x7F) << 8) | bytes[1];
    const bool negative = bytes[0] & 0x80;
    const quint32 high = (quint32(bytes[2]) << 24) | (quint32(bytes[3]) << 16) | (quint32(bytes[4]) << 8) | bytes[5];
    const quint32 low = (quint32(bytes[6]) << 24) | (quint32(bytes[7]) << 16) | (quint32(bytes[8]) << 8) | bytes[9];
    double result;
    if (exponent == 0 && high == 0 && low == 0)
        result = 0.0;
    else if (exponent == 0x7FFF)
        result = HUGE_VAL;
    else
        result = std::ldexp(double(high), exponent - 16414) + std::ldexp(double(low), exponent - 16446);
    return negative ? -result : result;
}

}  // namespace QMMultiMedia
