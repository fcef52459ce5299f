#include "Rijndael.h"

#include "RijndaelTables.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <mutex>

namespace MCrypt {

namespace {

// Rounds and row rotations (Nr, C1, C2, C3) by block words (rows: 4, 6, 8)
// and key words (columns: 4, 6, 8), from the Rijndael proposal.
constexpr int kRoundTable[3][3][4] = {
    {{10, 1, 2, 3}, {12, 1, 2, 3}, {14, 1, 2, 3}},
    {{12, 1, 2, 3}, {12, 1, 2, 3}, {14, 1, 2, 3}},
    {{14, 1, 3, 4}, {14, 1, 3, 4}, {14, 1, 3, 4}},
};

// Index 0, 1, 2 for 128, 192, 256 bits; -1 for any other length.
int sizeIndex(int bits)
{
    switch (bits) {
    case 128: return 0;
    case 192: return 1;
    case 256: return 2;
    default: return -1;
    }
}

// Multiplication in GF(2^8) modulo x^8 + x^4 + x^3 + x + 1, shift and add.
unsigned char GF2_8_mult(unsigned char a, unsigned char b)
{
    unsigned char product = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (b & 1)
            product ^= a;
        const bool carry = a & 0x80;
        a = static_cast<unsigned char>(a << 1);
        if (carry)
            a ^= 0x1B;
        b >>= 1;
    }
    return product;
}

unsigned char affine(unsigned char x)
{
    unsigned char result = 0;
    for (int k = 0; k < 8; ++k) {
        const int bit = ((x >> k) ^ (x >> ((k + 4) % 8)) ^ (x >> ((k + 5) % 8))
                         ^ (x >> ((k + 6) % 8)) ^ (x >> ((k + 7) % 8))) & 1;
        result |= static_cast<unsigned char>(bit << k);
    }
    return result ^ 0x63;
}

// Generate mode stores a computed entry, verify mode compares it. Entries
// that already hold their value are never written, so rebuilding intact
// tables while other threads encrypt writes nothing they read.
template <typename T>
bool settle(T& stored, T computed, bool generate)
{
    if (stored == computed)
        return true;
    if (!generate)
        return false;
    stored = computed;
    return true;
}

std::mutex g_tablesMutex;

bool tablesReady()
{
    // Built once per process; a static's initialisation is thread-safe.
    static const bool ready = Rijndael::buildTables(true, false);
    return ready;
}

QByteArray cipherKey(const QString& key)
{
    QByteArray bytes(32, ' ');
    const int n = std::min(32, int(key.size()));
    for (int i = 0; i < n; ++i) {
        const ushort code = key.at(i).unicode();
        bytes[i] = code <= 255 ? char(code) : char(0);
    }
    return bytes;
}

}  // namespace

Rijndael::Rijndael() = default;

void Rijndael::init(int keyBits, int blockBits)
{
    // Reset everything, so a refused size leaves an object that does nothing.
    m_nNb = m_nNk = m_nNr = m_nBlockBytes = 0;
    m_nC1 = m_nC2 = m_nC3 = 0;
    std::memset(m_aState, 0, sizeof m_aState);
    std::memset(m_aW, 0, sizeof m_aW);
    const int keyIndex = sizeIndex(keyBits);
    const int blockIndex = sizeIndex(blockBits);
    if (keyIndex < 0 || blockIndex < 0)
        return;
    m_nNk = keyBits / 32;
    m_nNb = blockBits / 32;
    m_nBlockBytes = 4 * m_nNb;
    const int* entry = kRoundTable[blockIndex][keyIndex];
    m_nNr = entry[0];
    m_nC1 = entry[1];
    m_nC2 = entry[2];
    m_nC3 = entry[3];
}

int Rijndael::rowShift(int row) const
{
    switch (row) {
    case 1: return m_nC1;
    case 2: return m_nC2;
    case 3: return m_nC3;
    default: return 0;
    }
}

void Rijndael::setEncryptKey(const char* key)
{
    keyExpansion(key);
}

void Rijndael::setDecryptKey(const char* key)
{
    keyExpansion(key);
}

quint32 Rijndael::rotWord(quint32 word)
{
    // (b0, b1, b2, b3) to (b1, b2, b3, b0) with b0 in the low byte.
    return (word >> 8) | (word << 24);
}

quint32 Rijndael::subWord(quint32 word)
{
    return quint32(byte_sub[word & 0xFF]) | quint32(byte_sub[(word >> 8) & 0xFF]) << 8
         | quint32(byte_sub[(word >> 16) & 0xFF]) << 16 | quint32(byte_sub[word >> 24]) << 24;
}

void Rijndael::keyExpansion(const char* key)
{
    if (m_nNk == 0 || m_nNb == 0 || !key)
        return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(key);
    for (int i = 0; i < m_nNk; ++i) {
        m_aW[i] = quint32(bytes[4 * i]) | quint32(bytes[4 * i + 1]) << 8
                | quint32(bytes[4 * i + 2]) << 16 | quint32(bytes[4 * i + 3]) << 24;
    }
    const int total = m_nNb * (m_nNr + 1);
    for (int i = m_nNk; i < total; ++i) {
        quint32 t = m_aW[i - 1];
        if (i % m_nNk == 0)
            t = subWord(rotWord(t)) ^ RCon[i / m_nNk];
        else if (m_nNk > 6 && i % m_nNk == 4)
            t = subWord(t);
        m_aW[i] = m_aW[i - m_nNk] ^ t;
    }
}

void Rijndael::byteSub()
{
    for (int i = 0; i < m_nBlockBytes; ++i)
        m_aState[i] = byte_sub[m_aState[i]];
}

void Rijndael::invByteSub()
{
    for (int i = 0; i < m_nBlockBytes; ++i)
        m_aState[i] = inv_byte_sub[m_aState[i]];
}

void Rijndael::shiftRow()
{
    unsigned char row[8];
    for (int r = 1; r < 4; ++r) {
        const int shift = rowShift(r);
        for (int c = 0; c < m_nNb; ++c)
            row[c] = m_aState[4 * ((c + shift) % m_nNb) + r];
        for (int c = 0; c < m_nNb; ++c)
            m_aState[4 * c + r] = row[c];
    }
}

void Rijndael::invShiftRow()
{
    unsigned char row[8];
    for (int r = 1; r < 4; ++r) {
        const int shift = rowShift(r);
        for (int c = 0; c < m_nNb; ++c)
            row[(c + shift) % m_nNb] = m_aState[4 * c + r];
        for (int c = 0; c < m_nNb; ++c)
            m_aState[4 * c + r] = row[c];
    }
}

void Rijndael::mixColumn()
{
    for (int c = 0; c < m_nNb; ++c) {
        unsigned char* col = m_aState + 4 * c;
        const unsigned char a0 = col[0], a1 = col[1], a2 = col[2], a3 = col[3];
        col[0] = GF2_8_mult(2, a0) ^ GF2_8_mult(3, a1) ^ a2 ^ a3;
        col[1] = a0 ^ GF2_8_mult(2, a1) ^ GF2_8_mult(3, a2) ^ a3;
        col[2] = a0 ^ a1 ^ GF2_8_mult(2, a2) ^ GF2_8_mult(3, a3);
        col[3] = GF2_8_mult(3, a0) ^ a1 ^ a2 ^ GF2_8_mult(2, a3);
    }
}

void Rijndael::invMixColumn()
{
    for (int c = 0; c < m_nNb; ++c) {
        unsigned char* col = m_aState + 4 * c;
        const unsigned char a0 = col[0], a1 = col[1], a2 = col[2], a3 = col[3];
        col[0] = GF2_8_mult(14, a0) ^ GF2_8_mult(11, a1) ^ GF2_8_mult(13, a2) ^ GF2_8_mult(9, a3);
        col[1] = GF2_8_mult(9, a0) ^ GF2_8_mult(14, a1) ^ GF2_8_mult(11, a2) ^ GF2_8_mult(13, a3);
        col[2] = GF2_8_mult(13, a0) ^ GF2_8_mult(9, a1) ^ GF2_8_mult(14, a2) ^ GF2_8_mult(11, a3);
        col[3] = GF2_8_mult(11, a0) ^ GF2_8_mult(13, a1) ^ GF2_8_mult(9, a2) ^ GF2_8_mult(14, a3);
    }
}

void Rijndael::addRoundKey(int nRound)
{
    const quint32* words = m_aW + nRound * m_nNb;
    for (int c = 0; c < m_nNb; ++c)
        for (int r = 0; r < 4; ++r)
            m_aState[4 * c + r] ^= static_cast<unsigned char>(words[c] >> (8 * r));
}

void Rijndael::round(int nRound)
{
    byteSub();
    shiftRow();
    mixColumn();
    addRoundKey(nRound);
}

void Rijndael::finalRound(int nRound)
{
    byteSub();
    shiftRow();
    addRoundKey(nRound);
}

void Rijndael::invRound(int nRound)
{
    addRoundKey(nRound);
    invMixColumn();
    invShiftRow();
    invByteSub();
}

void Rijndael::invFinalRound(int nRound)
{
    addRoundKey(nRound);
    invShiftRow();
    invByteSub();
}

void* Rijndael::encryptBlock(const void* in, void* out, const unsigned char* expected)
{
    if (m_nNb == 0 || m_nNk == 0)
        return out;
    std::memcpy(m_aState, in, size_t(m_nBlockBytes));
    addRoundKey(0);
    for (int r = 1; r < m_nNr; ++r) {
        round(r);
        if (expected)
            checkRound(r, expected + (r - 1) * m_nBlockBytes);
    }
    finalRound(m_nNr);
    std::memcpy(out, m_aState, size_t(m_nBlockBytes));
    return out;
}

void* Rijndael::decryptBlock(const void* in, void* out, const unsigned char* expected)
{
    if (m_nNb == 0 || m_nNk == 0)
        return out;
    std::memcpy(m_aState, in, size_t(m_nBlockBytes));
    invFinalRound(m_nNr);
    for (int r = m_nNr - 1; r >= 1; --r) {
        if (expected)
            checkRound(r, expected + (r - 1) * m_nBlockBytes);
        invRound(r);
    }
    addRoundKey(0);
    std::memcpy(out, m_aState, size_t(m_nBlockBytes));
    return out;
}

void Rijndael::checkRound(int nRound, const unsigned char* expected) const
{
    if (std::memcmp(m_aState, expected, size_t(m_nBlockBytes)) == 0)
        return;
    std::cerr << "State " << nRound << " failed:\n";
    std::cerr << "State     : ";
    dumpState(std::cerr, m_aState);
    std::cerr << "Should be : ";
    dumpState(std::cerr, expected);
}

void Rijndael::dumpState(std::ostream& out, const unsigned char* bytes) const
{
    const char fill = out.fill('0');
    out << std::hex;
    for (int i = 0; i < m_nBlockBytes; ++i) {
        out << std::setw(2) << unsigned(bytes[i]) << ' ';
        if ((i + 1) % 16 == 0)
            out << '\n';
    }
    out << std::dec;
    out.fill(fill);
}

void Rijndael::dumpByteTable(std::ostream& out, const char* name, const unsigned char* table)
{
    out << name << '\n' << std::hex << std::setfill('0');
    for (int i = 0; i < 256; ++i) {
        out << "0x" << std::setw(2) << unsigned(table[i]) << ',';
        if ((i + 1) % 16 == 0)
            out << '\n';
    }
    out << std::dec << "\n\n";
}

void Rijndael::dumpWordTable(std::ostream& out, const char* name, const quint32* table, int count)
{
    out << name << '\n' << std::hex << std::setfill('0');
    for (int i = 0; i < count; ++i) {
        out << "0x" << std::setw(8) << table[i] << ',';
        if ((i + 1) % 8 == 0)
            out << '\n';
    }
    out << std::dec;
}

bool Rijndael::buildTables(bool generate, bool writeFile)
{
    std::lock_guard<std::mutex> lock(g_tablesMutex);
    if (GF2_8_mult(0x57, 0x13) != 0xFE)
        qFatal("GF2_8_mult(0x57,0x13) == 0xFE");
    if (GF2_8_mult(0xFF, 0x55) != 0xF8)
        qFatal("GF2_8_mult(0xFF,0x55) == 0xF8");

    bool invOk = settle(gf2_8_inv[0], static_cast<unsigned char>(0), generate);
    for (int i = 1; invOk && i < 256; ++i) {
        int j = 1;
        while (GF2_8_mult(static_cast<unsigned char>(i), static_cast<unsigned char>(j)) != 1)
            ++j;
        invOk = settle(gf2_8_inv[i], static_cast<unsigned char>(j), generate);
    }

    bool subOk = invOk;
    for (int i = 0; subOk && i < 256; ++i)
        subOk = settle(byte_sub[i], affine(gf2_8_inv[i]), generate);

    bool invSubOk = subOk;
    if (subOk) {
        unsigned char inverse[256];
        for (int j = 0; j < 256; ++j)
            inverse[byte_sub[j]] = static_cast<unsigned char>(j);
        for (int i = 0; invSubOk && i < 256; ++i)
            invSubOk = settle(inv_byte_sub[i], inverse[i], generate);
    }

    if (!settle(RCon[0], quint32(0), generate))
        return false;
    unsigned char d = 1;
    for (int i = 1; i <= 58; ++i) {
        if (!settle(RCon[i], quint32(d), generate))
            return false;
        d = GF2_8_mult(d, 2);
    }

    if (writeFile) {
        std::ofstream file("Tables.dat", std::ios::out | std::ios::trunc);
        if (file) {
            dumpByteTable(file, "gf2_8_inv", gf2_8_inv);
            dumpByteTable(file, "byte_sub", byte_sub);
            dumpByteTable(file, "inv_byte_sub", inv_byte_sub);
            dumpWordTable(file, "RCon", RCon, 60);
        }
    }
    return invOk && subOk && invSubOk;
}

QByteArray encryptRijndael(const QString& key, const QByteArray& data)
{
    if (!tablesReady())
        return QByteArray();
    const QByteArray keyBytes = cipherKey(key);
    Rijndael cipher;
    cipher.init(256, 256);
    cipher.setEncryptKey(keyBytes.constData());

    const int fullBlocks = data.size() / 32;
    QByteArray result(32 * (fullBlocks + 1), Qt::Uninitialized);
    for (int b = 0; b < fullBlocks; ++b)
        cipher.encryptBlock(data.constData() + 32 * b, result.data() + 32 * b);
    // The last block is always written, filled up with spaces.
    char last[32];
    std::memset(last, ' ', sizeof last);
    std::memcpy(last, data.constData() + 32 * fullBlocks, size_t(data.size() - 32 * fullBlocks));
    cipher.encryptBlock(last, result.data() + 32 * fullBlocks);
    return result;
}

QByteArray decryptRijndael(const QString& key, const QByteArray& data)
{
    if (!tablesReady())
        return QByteArray();
    const QByteArray keyBytes = cipherKey(key);
    Rijndael cipher;
    cipher.init(256, 256);
    cipher.setDecryptKey(keyBytes.constData());

    const int fullBlocks = data.size() / 32;
    QByteArray result(32 * fullBlocks, Qt::Uninitialized);
    for (int b = 0; b < fullBlocks; ++b)
        cipher.decryptBlock(data.constData() + 32 * b, result.data() + 32 * b);
    return result;
}

QByteArray zeroBytes(const QString& key, const QByteArray& data)
{
    Q_UNUSED(key)
    return QByteArray(data.size(), '\0');
}

QByteArray emptyBytes()
{
    return QByteArray();
}

int byteParity(unsigned value)
{
    int parity = 0;
    for (int bit = 0; bit < 8; ++bit)
        parity ^= (value >> bit) & 1;
    return parity;
}

}  // namespace MCrypt
