#include "Codecs.h"

#include <QtTest>

class TestCodecs : public QObject
{
    Q_OBJECT

private slots:
    void base32Vectors_data();
    void base32Vectors();
    void base32RejectsBadLength_data();
    void base32RejectsBadLength();
    void base32PaddingPositions_data();
    void base32PaddingPositions();
    void base32OutsideAlphabetStaysInItsGroup();
    void base32Lengths_data();
    void base32Lengths();
    void base32StringsStopAtNul();
    void latin1BytesKeepNul();
    void utf16BigEndian();
    void base64();
};

void TestCodecs::base32Vectors_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("f") << QByteArray("f") << "MY======";
    QTest::newRow("fo") << QByteArray("fo") << "MZXQ====";
    QTest::newRow("foo") << QByteArray("foo") << "MZXW6===";
    QTest::newRow("foob") << QByteArray("foob") << "MZXW6YQ=";
    QTest::newRow("fooba") << QByteArray("fooba") << "MZXW6YTB";
    QTest::newRow("foobar") << QByteArray("foobar") << "MZXW6YTBOI======";
    QTest::newRow("high bytes") << QByteArray("\xff\x00\x80\x01\xfe\x7f", 6) << "74AIAAP6P4======";
}

void TestCodecs::base32Vectors()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(MTools::toBase32(bytes), text);
    QCOMPARE(MTools::fromBase32(text), bytes);
    QCOMPARE(MTools::fromBase32(text.toLower()), bytes);
}

void TestCodecs::base32RejectsBadLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("7") << "MZXW6YT";
    QTest::newRow("9") << "MZXW6YTBO";
    QTest::newRow("1") << "M";
}

void TestCodecs::base32RejectsBadLength()
{
    QFETCH(QString, text);
    QVERIFY(MTools::fromBase32(text).isEmpty());
    QCOMPARE(MTools::base32DecodedCapacity(static_cast<unsigned>(text.size())), 0u);
}

void TestCodecs::base32PaddingPositions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kept");
    // '=' at 2, 4, 5, 7 ends the block with 1, 2, 3, 4 bytes; elsewhere it is no padding.
    QTest::newRow("pos 2") << "MZ======" << 1;
    QTest::newRow("pos 4") << "MZXW====" << 2;
    QTest::newRow("pos 5") << "MZXW6===" << 3;
    QTest::newRow("pos 7") << "MZXW6YT=" << 4;
    QTest::newRow("pos 0 is data") << "=ZXW6YTB" << 5;
    QTest::newRow("stops after the padded block") << "MZ======MZXW6YTB" << 1;
}

void TestCodecs::base32PaddingPositions()
{
    QFETCH(QString, text);
    QFETCH(int, kept);
    QCOMPARE(MTools::fromBase32(text).size(), kept);
}

void TestCodecs::base32OutsideAlphabetStaysInItsGroup()
{
    // '!' is not in the alphabet; its value must not corrupt the groups
    // around it: the first and last bytes decode as for "A" in its place,
    // except for the 5 bits of that group.
    const QByteArray withBad = MTools::fromBase32(QStringLiteral("MZXW!YTB"));
    const QByteArray withA = MTools::fromBase32(QStringLiteral("MZXWAYTB"));
    QCOMPARE(withBad.size(), 5);
    QCOMPARE(withBad.at(0), withA.at(0));
    QCOMPARE(withBad.at(4), withA.at(4));
}

void TestCodecs::base32Lengths_data()
{
    QTest::addColumn<uint>("bytes");
    QTest::addColumn<uint>("significant");
    QTest::addColumn<uint>("padding");
    QTest::newRow("0") << 0u << 0u << 0u;
    QTest::newRow("1") << 1u << 2u << 6u;
    QTest::newRow("2") << 2u << 4u << 4u;
    QTest::newRow("3") << 3u << 5u << 3u;
    QTest::newRow("4") << 4u << 7u << 1u;
    QTest::newRow("5") << 5u << 8u << 0u;
    QTest::newRow("11") << 11u << 18u << 6u;
}

void TestCodecs::base32Lengths()
{
    QFETCH(uint, bytes);
    QFETCH(uint, significant);
    QFETCH(uint, padding);
    QCOMPARE(MTools::base32SignificantLength(bytes), significant);
    QCOMPARE(MTools::base32PaddingLength(bytes), padding);
    QCOMPARE(MTools::base32EncodedLength(bytes), significant + padding);
    QCOMPARE(MTools::base32EncodedLength(bytes) % 8, 0u);
}

void TestCodecs::base32StringsStopAtNul()
{
    QCOMPARE(MTools::encodeBase32String(QStringLiteral("foobar")), QStringLiteral("MZXW6YTBOI======"));
    const QString encoded = MTools::toBase32(QByteArray("ab\0c", 4));
    QCOMPARE(MTools::decodeBase32String(encoded), QStringLiteral("ab"));
}

void TestCodecs::latin1BytesKeepNul()
{
    const uchar bytes[] = {0x41, 0x00, 0xE9};
    const QString text = MTools::fromLatin1Bytes(bytes, 3);
    QCOMPARE(text.size(), 3);
    QCOMPARE(text.at(1).unicode(), ushort(0));
    QCOMPARE(text.at(2).unicode(), ushort(0xE9));
    QVERIFY(MTools::fromLatin1Bytes(bytes, 0).isEmpty());
    QVERIFY(MTools::fromLatin1Bytes(bytes, -1).isEmpty());
}

void TestCodecs::utf16BigEndian()
{
    QCOMPARE(MTools::fromUtf16BigEndian(QByteArray("\x00\x41\x20\xAC", 4)), QString::fromUtf8("A\u20AC"));
    QCOMPARE(MTools::toUtf16BigEndian(QString::fromUtf8("A\u20AC")), QByteArray("\x00\x41\x20\xAC", 4));
    // An odd last byte is the high byte of a last character.
    const QString odd = MTools::fromUtf16BigEndian(QByteArray("\x00\x41\x01", 3));
    QCOMPARE(odd.size(), 2);
    QCOMPARE(odd.at(1).unicode(), ushort(0x0100));
    const QString text = QString::fromUtf8("Grüße \u20AC");
    QCOMPARE(MTools::fromUnicodeBase64(MTools::toUnicodeBase64(text)), text);
}

void TestCodecs::base64()
{
    QCOMPARE(MTools::toBase64(QByteArray("foobar")), QStringLiteral("Zm9vYmFy"));
    QCOMPARE(MTools::fromBase64(QStringLiteral("Zm9vYmE=")), QByteArray("fooba"));
    QCOMPARE(MTools::decodeBase64String(MTools::toBase64(QByteArray("ab\0c", 4))), QStringLiteral("ab"));
    QCOMPARE(MTools::decodeBase64String(MTools::encodeBase64String(QStringLiteral("http://a.b/c"))),
             QStringLiteral("http://a.b/c"));
}

QTEST_GUILESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
