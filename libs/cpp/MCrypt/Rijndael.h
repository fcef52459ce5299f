#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <iosfwd>

// The Rijndael block cipher of the AES proposal, with block and key lengths of
// 128, 192 or 256 bits chosen independently (128-bit blocks make it AES).
// One object holds one key schedule and processes single blocks, byte by byte.
// An object whose init() was never called or was refused does nothing: it
// sets no key and leaves every output buffer untouched.
namespace MCrypt {

class Rijndael
{
public:
    Rijndael();

    // Takes keyBits and blockBits among 128, 192 and 256; anything else leaves
    // the object unset (all counts 0).
    void init(int keyBits, int blockBits);

    // Expands the first 4 x keyWords() bytes of key into the round keys.
    // Decryption runs the same schedule backwards, so both do the same.
    void setEncryptKey(const char* key);
    void setDecryptKey(const char* key);

    // Encrypts (decrypts) blockBytes() bytes from in into out and returns out.
    // expected, when not null, holds rounds() - 1 intermediate states; a round
    // whose state differs is traced on the standard error stream.
    void* encryptBlock(const void* in, void* out, const unsigned char* expected = nullptr);
    void* decryptBlock(const void* in, void* out, const unsigned char* expected = nullptr);

    int blockWords() const { return m_nNb; }
    int keyWords() const { return m_nNk; }
    int rounds() const { return m_nNr; }
    int blockBytes() const { return m_nBlockBytes; }
    // Left rotation of state row 1, 2 or 3 (0 for other rows).
    int rowShift(int row) const;

    // Computes the shared tables and stores them (generate) or compares them
    // with the stored ones (verify). True when every table was built or
    // matched. With writeFile the tables are written to "Tables.dat" in the
    // current folder. Safe to call from several threads.
    static bool buildTables(bool generate, bool writeFile);

private:
    void keyExpansion(const char* key);
    static quint32 rotWord(quint32 word);
    static quint32 subWord(quint32 word);

    void byteSub();
    void invByteSub();
    void shiftRow();
    void invShiftRow();
    void mixColumn();
    void invMixColumn();
    void addRoundKey(int nRound);
    void round(int nRound);
    void finalRound(int nRound);
    void invRound(int nRound);
    void invFinalRound(int nRound);

    void checkRound(int nRound, const unsigned char* expected) const;
    void dumpState(std::ostream& out, const unsigned char* bytes) const;
    static void dumpByteTable(std::ostream& out, const char* name, const unsigned char* table);
    static void dumpWordTable(std::ostream& out, const char* name, const quint32* table, int count);

    static constexpr int kMaxBlockBytes = 32;
    static constexpr int kMaxRoundKeyWords = 120;  // 8 words x (14 + 1) rounds

    int m_nNb = 0;           // block length in 32-bit words
    int m_nNk = 0;           // key length in 32-bit words
    int m_nNr = 0;           // rounds
    int m_nBlockBytes = 0;
    int m_nC1 = 0, m_nC2 = 0, m_nC3 = 0;  // row rotations
    unsigned char m_aState[kMaxBlockBytes] = {};  // column by column: byte 4c + r is row r
    quint32 m_aW[kMaxRoundKeyWords] = {};          // first key byte in the low byte
};

// Encrypts data with a text key: Rijndael with 256-bit key and 256-bit blocks,
// each block on its own, the last block filled up with spaces (always written,
// so the result is 32 x (length / 32 + 1) bytes). The key is the first 32
// characters (a character above 255 counts as 0), padded with spaces. An
// empty result when the tables cannot be built.
QByteArray encryptRijndael(const QString& key, const QByteArray& data);
// The inverse: every full 32-byte block is decrypted, a trailing partial block
// ignored; the padding spaces are not removed.
QByteArray decryptRijndael(const QString& key, const QByteArray& data);

// Zeros as long as data; the key is not used.
QByteArray zeroBytes(const QString& key, const QByteArray& data);
QByteArray emptyBytes();
// 1 when an odd number of the eight low bits of value is set.
int byteParity(unsigned value);

}  // namespace MCrypt
