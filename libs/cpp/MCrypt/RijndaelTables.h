#pragma once

#include <QtGlobal>

// The lookup tables of the Rijndael cipher, shared by the whole process and
// stored with their standard values, so a cipher works without building them
// first. Rijndael::buildTables() recomputes them (writing only entries that
// differ) or checks them against the computation.
namespace MCrypt {

// Multiplicative inverse of every element of GF(2^8) modulo 0x11B (0 for 0).
extern unsigned char gf2_8_inv[256];
// The S-box: the inverse followed by the affine map with constant 0x63.
extern unsigned char byte_sub[256];
// The inverse S-box.
extern unsigned char inv_byte_sub[256];
// Round constants: entry i (1 to 58) is x^(i-1) in GF(2^8), in the low byte.
// Entry 59 is never computed nor read; it holds the next power, 0x80.
extern quint32 RCon[60];

}  // namespace MCrypt
