#pragma once

#include <QtGlobal>

#include <cstdio>

// Byte order and sample conversion for the audio-file readers and writers.
// Stateless; the caller owns every array and sizes it for the count.
//
// Two flags with opposite senses:
// - the stream functions take a swap flag: without it values are read and
//   written little-endian, with it big-endian;
// - the kernels take a byte-order flag: true means the stored bytes are
//   little-endian, false big-endian.
//
// Counts are numbers of samples, except for int16ToBytes, int24ToBytes and
// int32ToBytes, whose count is the number of bytes (a multiple of the width).
// Float samples have full scale at -1.0 and 1.0; products are formed in
// double on every platform, so results are the same everywhere.
namespace QMMultiMedia {

quint16 swap16(quint16 value);
quint32 swap32(quint32 value);
// The 64-bit members of the family do nothing: 0, and nothing is written.
quint64 swap64(quint64 value);

// Short reads are not reported: the value is then 0.
int readInt8(FILE* file);
int readInt16(FILE* file, bool swap);
qint32 readInt32(FILE* file, bool swap);
qint64 readInt64(FILE* file, bool swap);
// The number of items written: 1 on success, 0 on failure.
int writeInt8(int value, FILE* file);
int writeInt16(int value, FILE* file, bool swap);
int writeInt32(qint32 value, FILE* file, bool swap);
int writeInt64(qint64 value, FILE* file, bool swap);

// Float to integer: scaled, clipped and truncated toward zero. The signed 8-,
// 16- and 24-bit kernels clip symmetrically (the most negative code is never
// produced); NaN gives 0, or the midpoint for the unsigned kernels.
int floatToInt8(const float* source, qint32* target, int count);
int floatToInt16(const float* source, qint32* target, int count);
int floatToShort(const float* source, qint16* target, int count);
int floatToInt24(const float* source, qint32* target, int count);
int floatToInt32(const float* source, qint32* target, int count);
int floatToUInt8(const float* source, qint32* target, int count);
int floatToUInt16(const float* source, qint32* target, int count);
int floatToUInt24(const float* source, qint32* target, int count);

// Integers to stored bytes (the low bits of each value).
int int8ToBytes(const qint32* source, char* target, int count);
int int16ToBytes(const qint32* source, char* target, int byteCount, bool littleEndian);
int int24ToBytes(const qint32* source, char* target, int byteCount);  // always little-endian
int int32ToBytes(const qint32* source, char* target, int byteCount, bool littleEndian);

// Stored bytes to integers; the 8-, 16- and 24-bit ones do not sign-extend.
int bytesToInt8(const char* source, qint32* target, int count);
int bytesToInt16(const char* source, qint32* target, int count, bool littleEndian);
int bytesToInt24(const char* source, qint32* target, int count, bool littleEndian);
int bytesToInt32(const char* source, qint32* target, int count, bool littleEndian);

// Integers to float: the value moved into the top bits of 32 and multiplied
// by 2^-31; the unsigned ones subtract their midpoint first.
int int8ToFloat(const qint32* source, float* target, int count);
int int16ToFloat(const qint32* source, float* target, int count);
int int24ToFloat(const qint32* source, float* target, int count);
int int32ToFloat(const qint32* source, float* target, int count);
int uint8ToFloat(const qint32* source, float* target, int count);
int uint16ToFloat(const qint32* source, float* target, int count);
int uint24ToFloat(const qint32* source, float* target, int count);
int uint32ToFloat(const qint32* source, float* target, int count);

// Stored signed bytes straight to float, sign-extended.
int bytes16ToFloat(const char* source, float* target, int count, bool littleEndian);
int bytes24ToFloat(const char* source, float* target, int count, bool littleEndian);
int bytes32ToFloat(const char* source, float* target, int count, bool littleEndian);
// Copies unchanged; the flag has no effect.
int copyFloats(const float* source, float* target, int count, bool littleEndian);

// The 80-bit IEEE 754 extended number of an AIFF "COMM" chunk, ten bytes in
// big-endian order; exponent 32767 gives an infinity.
double ieeeExtendedToDouble(const unsigned char* bytes);

}  // namespace QMMultiMedia
