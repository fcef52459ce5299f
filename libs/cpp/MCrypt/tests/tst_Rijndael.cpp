#include "Rijndael.h"
#include "RijndaelTables.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <iostream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// Sends std::cerr into a string for the lifetime of the object.
class CerrCapture
{
public:
    CerrCapture() : m_pOld(std::cerr.rdbuf(m_stream.rdbuf())) {}
    ~CerrCapture() { std::cerr.rdbuf(m_pOld); }
    std::string text() const { return m_stream.str(); }

private:
    std::ostringstream m_stream;
    std::streambuf* m_pOld;
};

// FIPS-197 appendix B: the state at the start of rounds 2 to 10, that is
// after rounds 1 to 9, for key 2b7e1516... and plaintext 3243f6a8...
const char* const kAppendixBRounds[9] = {
    "a49c7ff2689f352b6b5bea43026a5049", "aa8f5f0361dde3ef82d24ad26832469a",
    "486c4eee671d9d0d4de3b138d65f58e7", "e0927fe8c86363c0d9b1355085b8be01",
    "f1006f55c1924cef7cc88b325db5d50c", "260e2e173d41b77de86472a9fdd28b25",
    "5a4142b11949dc1fa3e019657a8c040c", "ea835cf00445332d655d98ad8596b0c5",
    "eb40f21e592e38848ba113e71bc342d2",
};

}  // namespace

class TestRijndael : public QObject
{
    Q_OBJECT

private slots:
    void initSizes_data();
    void initSizes();
    void knownAnswers_data();
    void knownAnswers();
    void unsetObjectDoesNothing_data();
    void unsetObjectDoesNothing();
    void roundTrace();
    void byteArrayLengths_data();
    void byteArrayLengths();
    void byteArrayKnownAnswers_data();
    void byteArrayKnownAnswers();
    void byteArrayKeys_data();
    void byteArrayKeys();
    void byteArrayFromThreads();
    void verifyTables_data();
    void verifyTables();
    void tablesFile();
    void smallFunctions();
};

void TestRijndael::initSizes_data()
{
    QTest::addColumn<int>("keyBits");
    QTest::addColumn<int>("blockBits");
    QTest::addColumn<int>("nk");
    QTest::addColumn<int>("nb");
    QTest::addColumn<int>("nr");
    QTest::addColumn<QVector<int>>("shifts");
    const QVector<int> narrow{1, 2, 3};
    const QVector<int> wide{1, 3, 4};
    QTest::newRow("aes-128") << 128 << 128 << 4 << 4 << 10 << narrow;
    QTest::newRow("aes-192") << 192 << 128 << 6 << 4 << 12 << narrow;
    QTest::newRow("aes-256") << 256 << 128 << 8 << 4 << 14 << narrow;
    QTest::newRow("key 128 block 192") << 128 << 192 << 4 << 6 << 12 << narrow;
    QTest::newRow("key 256 block 192") << 256 << 192 << 8 << 6 << 14 << narrow;
    QTest::newRow("key 128 block 256") << 128 << 256 << 4 << 8 << 14 << wide;
    QTest::newRow("key 256 block 256") << 256 << 256 << 8 << 8 << 14 << wide;
    QTest::newRow("key 64 refused") << 64 << 128 << 0 << 0 << 0 << QVector<int>{0, 0, 0};
    QTest::newRow("block 100 refused") << 128 << 100 << 0 << 0 << 0 << QVector<int>{0, 0, 0};
}

void TestRijndael::initSizes()
{
    QFETCH(int, keyBits);
    QFETCH(int, blockBits);
    QFETCH(int, nk);
    QFETCH(int, nb);
    QFETCH(int, nr);
    QFETCH(QVector<int>, shifts);
    MCrypt::Rijndael cipher;
    cipher.init(256, 256);  // a refused init must not keep anything of this
    cipher.init(keyBits, blockBits);
    QCOMPARE(cipher.keyWords(), nk);
    QCOMPARE(cipher.blockWords(), nb);
    QCOMPARE(cipher.rounds(), nr);
    QCOMPARE(cipher.blockBytes(), 4 * nb);
    QCOMPARE((QVector<int>{cipher.rowShift(1), cipher.rowShift(2), cipher.rowShift(3)}), shifts);
}

void TestRijndael::knownAnswers_data()
{
    QTest::addColumn<int>("blockBits");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QByteArray>("cipher");

    // FIPS-197 appendix C.
    const QByteArray fipsPlain = hex("00112233445566778899aabbccddeeff");
    QTest::newRow("FIPS-197 C.1 AES-128") << 128 << hex("000102030405060708090a0b0c0d0e0f")
        << fipsPlain << hex("69c4e0d86a7b0430d8cdb78070b4c55a");
    QTest::newRow("FIPS-197 C.2 AES-192")
        << 128 << hex("000102030405060708090a0b0c0d0e0f1011121314151617")
        << fipsPlain << hex("dda97ca4864cdfe06eaf70a0ec0d7191");
    QTest::newRow("FIPS-197 C.3 AES-256")
        << 128 << hex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f")
        << fipsPlain << hex("8ea2b7ca516745bfeafc49904b496089");

    // Gladman's published Rijndael values for every block and key length:
    // the key 2b7e1516... and the plaintext 3243f6a8... cut to length (also
    // checked with libmcrypt's rijndael-128/192/256).
    const char* key = "2b7e151628aed2a6abf7158809cf4f3c762e7160f38b4da56a784d9045190cfe";
    const char* plain = "3243f6a8885a308d313198a2e03707344a4093822299f31d0082efa98ec4e6c8";
    struct Row { int block; int key; const char* cipher; };
    const Row rows[] = {
        {128, 128, "3925841d02dc09fbdc118597196a0b32"},
        {128, 192, "f9fb29aefc384a250340d833b87ebc00"},
        {128, 256, "1a6e6c2c662e7da6501ffb62bc9e93f3"},
        {192, 128, "b24d275489e82bb8f7375e0d5fcdb1f481757c538b65148a"},
        {192, 192, "725ae43b5f3161de806a7c93e0bca93c967ec1ae1b71e1cf"},
        {192, 256, "0ebacf199e3315c2e34b24fcc7c46ef4388aa475d66c194c"},
        {256, 128, "7d15479076b69a46ffb3b3beae97ad8313f622f67fedb487de9f06b9ed9c8f19"},
        {256, 192, "5d7101727bb25781bf6715b0e6955282b9610e23a43c2eb062699f0ebf5887b2"},
        {256, 256, "a49406115dfb30a40418aafa4869b7c6a886ff31602a7dd19c889dc64f7e4e7a"},
    };
    for (const Row& row : rows) {
        QTest::addRow("Rijndael block %d key %d", row.block, row.key)
            << row.block << hex(key).left(row.key / 8) << hex(plain).left(row.block / 8)
            << hex(row.cipher);
    }
}

void TestRijndael::knownAnswers()
{
    QFETCH(int, blockBits);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, plain);
    QFETCH(QByteArray, cipher);

    MCrypt::Rijndael encryptor;
    encryptor.init(key.size() * 8, blockBits);
    encryptor.setEncryptKey(key.constData());
    QByteArray out(plain.size(), '\0');
    QCOMPARE(encryptor.encryptBlock(plain.constData(), out.data()), static_cast<void*>(out.data()));
    QCOMPARE(out.toHex(), cipher.toHex());

    MCrypt::Rijndael decryptor;
    decryptor.init(key.size() * 8, blockBits);
    decryptor.setDecryptKey(key.constData());
    QByteArray back(cipher.size(), '\0');
    decryptor.decryptBlock(cipher.constData(), back.data());
    QCOMPARE(back.toHex(), plain.toHex());
}

void TestRijndael::unsetObjectDoesNothing_data()
{
    QTest::addColumn<int>("keyBits");
    QTest::addColumn<int>("blockBits");
    QTest::newRow("never initialised") << 0 << 0;
    QTest::newRow("key refused") << 64 << 256;
    QTest::newRow("block refused") << 256 << 512;
}

void TestRijndael::unsetObjectDoesNothing()
{
    QFETCH(int, keyBits);
    QFETCH(int, blockBits);
    MCrypt::Rijndael cipher;
    if (keyBits) {
        cipher.init(256, 256);
        cipher.init(keyBits, blockBits);
    }
    const QByteArray key(64, 'k');
    cipher.setEncryptKey(key.constData());
    cipher.setDecryptKey(key.constData());
    const QByteArray in(32, 'i');
    QByteArray out(32, 'o');
    QCOMPARE(cipher.encryptBlock(in.constData(), out.data()), static_cast<void*>(out.data()));
    QCOMPARE(out, QByteArray(32, 'o'));
    cipher.decryptBlock(in.constData(), out.data());
    QCOMPARE(out, QByteArray(32, 'o'));
}

void TestRijndael::roundTrace()
{
    const QByteArray key = hex("2b7e151628aed2a6abf7158809cf4f3c");
    const QByteArray plain = hex("3243f6a8885a308d313198a2e0370734");
    QByteArray expected;
    for (const char* state : kAppendixBRounds)
        expected += hex(state);
    MCrypt::Rijndael cipher;
    cipher.init(128, 128);
    cipher.setEncryptKey(key.constData());
    QByteArray out(16, '\0');

    {
        CerrCapture capture;
        cipher.encryptBlock(plain.constData(), out.data(),
                            reinterpret_cast<const uchar*>(expected.constData()));
        QCOMPARE(capture.text(), std::string());
    }

    QByteArray wrong = expected;
    wrong[4 * 16] = char(0x00);  // the state after round 5 starts with f1
    const std::string trace =
        "State 5 failed:\n"
        "State     : f1 00 6f 55 c1 92 4c ef 7c c8 8b 32 5d b5 d5 0c \n"
        "Should be : 00 00 6f 55 c1 92 4c ef 7c c8 8b 32 5d b5 d5 0c \n";
    {
        CerrCapture capture;
        cipher.encryptBlock(plain.constData(), out.data(),
                            reinterpret_cast<const uchar*>(wrong.constData()));
        std::cerr << 255;  // the number base is back to decimal
        QCOMPARE(capture.text(), trace + "255");
    }
    QCOMPARE(out.toHex(), QByteArray("3925841d02dc09fbdc118597196a0b32"));

    cipher.setDecryptKey(key.constData());
    {
        CerrCapture capture;
        cipher.decryptBlock(out.constData(), out.data(),
                            reinterpret_cast<const uchar*>(wrong.constData()));
        QCOMPARE(capture.text(), trace);
    }
    QCOMPARE(out, plain);
}

void TestRijndael::byteArrayLengths_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("encrypted");
    QTest::newRow("empty") << 0 << 32;
    QTest::newRow("31") << 31 << 32;
    QTest::newRow("32") << 32 << 64;
    QTest::newRow("33") << 33 << 64;
    QTest::newRow("95") << 95 << 96;
}

void TestRijndael::byteArrayLengths()
{
    QFETCH(int, length);
    QFETCH(int, encrypted);
    QByteArray data(length, '\0');
    for (int i = 0; i < length; ++i)
        data[i] = char(i * 7 + 1);
    const QByteArray cipherText = MCrypt::encryptRijndael(QStringLiteral("key"), data);
    QCOMPARE(cipherText.size(), encrypted);
    // The padding spaces come back; nothing strips them.
    QCOMPARE(MCrypt::decryptRijndael(QStringLiteral("key"), cipherText),
             data + QByteArray(encrypted - length, ' '));
}

void TestRijndael::byteArrayKnownAnswers_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("cipher");
    // Checked with libmcrypt's rijndael-256 in ECB mode, key "secret" padded
    // with spaces to 32 bytes, data padded with spaces.
    QTest::newRow("empty: 32 spaces")
        << QByteArray()
        << hex("b6990d1fbe81d846c81520fb4e147eefafbae6ef2c22bac22658a7e20d3ef6a4");
    QTest::newRow("two blocks")
        << QByteArray("Zintrop keeps every byte of this text.")
        << hex("f7b5a8aaf5a5b10e8ccbdd563042b29c2852b43cf252f572e4f7f08ceff128e4"
               "8d42f7baad77d26bf78ea61a5c506289b1114ec127e606b4871b3e86d59f9ca0");
}

void TestRijndael::byteArrayKnownAnswers()
{
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, cipher);
    QCOMPARE(MCrypt::encryptRijndael(QStringLiteral("secret"), data).toHex(), cipher.toHex());
    // A trailing partial block is ignored; less than a block gives nothing.
    QCOMPARE(MCrypt::decryptRijndael(QStringLiteral("secret"), cipher + "12345678"),
             MCrypt::decryptRijndael(QStringLiteral("secret"), cipher));
    QCOMPARE(MCrypt::decryptRijndael(QStringLiteral("secret"), cipher.left(31)), QByteArray());
}

void TestRijndael::byteArrayKeys_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    const QString k32 = QStringLiteral("0123456789abcdef0123456789ABCDEF");
    QTest::newRow("padded with spaces") << "k" << "k" + QString(31, QLatin1Char(' '));
    QTest::newRow("after the 32nd character") << k32 + "one" << k32 + "two";
    QTest::newRow("above 255 is zero")
        << QString::fromUtf8("a\u20acb") << QString::fromLatin1("a\0b", 3);
    QTest::newRow("Latin-1 as its code") << QString::fromUtf8("\u00e9") << QString(QChar(0xE9));
}

void TestRijndael::byteArrayKeys()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    const QByteArray data("The same text under two spellings of one key");
    QCOMPARE(MCrypt::encryptRijndael(a, data), MCrypt::encryptRijndael(b, data));
    QVERIFY(MCrypt::encryptRijndael(a, data) != MCrypt::encryptRijndael(QStringLiteral("other"), data));
}

void TestRijndael::byteArrayFromThreads()
{
    const QByteArray data(1000, 'x');
    const QByteArray reference = MCrypt::encryptRijndael(QStringLiteral("key"), data);
    std::vector<QByteArray> results(6);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < results.size(); ++i) {
        threads.emplace_back([&results, &data, i] {
            for (int n = 0; n < 20; ++n) {
                if (i % 3 == 0)
                    MCrypt::Rijndael::buildTables(true, false);
                results[i] = MCrypt::encryptRijndael(QStringLiteral("key"), data);
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (const QByteArray& result : results)
        QCOMPARE(result, reference);
}

void TestRijndael::verifyTables_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("noticed");
    QTest::newRow("gf2_8_inv[0]") << 0 << 0 << true;
    QTest::newRow("gf2_8_inv[255]") << 0 << 255 << true;
    QTest::newRow("byte_sub[0x53]") << 1 << 0x53 << true;
    QTest::newRow("inv_byte_sub[7]") << 2 << 7 << true;
    QTest::newRow("RCon[0]") << 3 << 0 << true;
    QTest::newRow("RCon[58]") << 3 << 58 << true;
    QTest::newRow("RCon[59] is not computed") << 3 << 59 << false;
}

void TestRijndael::verifyTables()
{
    QFETCH(int, table);
    QFETCH(int, index);
    QFETCH(bool, noticed);
    QVERIFY(MCrypt::Rijndael::buildTables(false, false));

    quint32 saved = 0;
    switch (table) {
    case 0: saved = MCrypt::gf2_8_inv[index]; MCrypt::gf2_8_inv[index] ^= 0x10; break;
    case 1: saved = MCrypt::byte_sub[index]; MCrypt::byte_sub[index] ^= 0x10; break;
    case 2: saved = MCrypt::inv_byte_sub[index]; MCrypt::inv_byte_sub[index] ^= 0x10; break;
    default: saved = MCrypt::RCon[index]; MCrypt::RCon[index] ^= 0x100; break;
    }
    const bool verified = MCrypt::Rijndael::buildTables(false, false);
    // Generating repairs the entry (RCon[59] stays as it is: restore it).
    QVERIFY(MCrypt::Rijndael::buildTables(true, false));
    if (table == 3 && index == 59)
        MCrypt::RCon[59] = saved;
    QCOMPARE(verified, !noticed);
    QVERIFY(MCrypt::Rijndael::buildTables(false, false));
    const quint32 now = table == 0 ? MCrypt::gf2_8_inv[index]
                      : table == 1 ? MCrypt::byte_sub[index]
                      : table == 2 ? MCrypt::inv_byte_sub[index]
                                   : MCrypt::RCon[index];
    QCOMPARE(now, saved);
}

void TestRijndael::tablesFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const bool built = MCrypt::Rijndael::buildTables(false, true);
    QFile file(QStringLiteral("Tables.dat"));
    const bool opened = file.open(QIODevice::ReadOnly);
    const QByteArray text = file.readAll();
    QDir::setCurrent(previous);
    QVERIFY(built);
    QVERIFY(opened);

    const QList<QByteArray> lines = text.split('\n');
    // 3 x (name, 16 rows, 2 empty lines) + RCon name + 8 rows (the last one of 4).
    QCOMPARE(lines.size(), 3 * 19 + 1 + 8);
    QCOMPARE(lines[0], QByteArray("gf2_8_inv"));
    QVERIFY(lines[1].startsWith("0x00,0x01,0x8d,0xf6,"));
    for (int row = 1; row <= 16; ++row)
        QCOMPARE(lines[row].count(','), 16);
    QCOMPARE(lines[17], QByteArray());
    QCOMPARE(lines[18], QByteArray());
    QCOMPARE(lines[19], QByteArray("byte_sub"));
    QVERIFY(lines[20].startsWith("0x63,0x7c,0x77,0x7b,0xf2,"));
    QCOMPARE(lines[38], QByteArray("inv_byte_sub"));
    QVERIFY(lines[39].startsWith("0x52,0x09,0x6a,0xd5,"));
    QCOMPARE(lines[57], QByteArray("RCon"));
    QCOMPARE(lines[58], QByteArray("0x00000000,0x00000001,0x00000002,0x00000004,"
                                   "0x00000008,0x00000010,0x00000020,0x00000040,"));
    QCOMPARE(lines[59], QByteArray("0x00000080,0x0000001b,0x00000036,0x0000006c,"
                                   "0x000000d8,0x000000ab,0x0000004d,0x0000009a,"));
    QCOMPARE(lines.last(), QByteArray("0x00000010,0x00000020,0x00000040,0x00000080,"));
}

void TestRijndael::smallFunctions()
{
    QCOMPARE(MCrypt::zeroBytes(QStringLiteral("key"), QByteArray("abc")), QByteArray(3, '\0'));
    QCOMPARE(MCrypt::zeroBytes(QString(), QByteArray()), QByteArray());
    QVERIFY(MCrypt::emptyBytes().isEmpty());
    QCOMPARE(MCrypt::byteParity(0x00), 0);
    QCOMPARE(MCrypt::byteParity(0x01), 1);
    QCOMPARE(MCrypt::byteParity(0x03), 0);
    QCOMPARE(MCrypt::byteParity(0xFE), 1);
    QCOMPARE(MCrypt::byteParity(0x100), 0);  // only the eight low bits count
    QCOMPARE(MCrypt::byteParity(0x1FF), 0);
}

QTEST_GUILESS_MAIN(TestRijndael)
#include "tst_Rijndael.moc"
