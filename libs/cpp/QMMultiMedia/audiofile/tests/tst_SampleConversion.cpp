// Byte order, the stream helpers and the sample conversion kernels. Expected
// values are worked out by hand from the scaling rules (full scale 2^(w-1),
// symmetric clipping of the signed kernels, midpoints of the unsigned ones).
#include "AudioTestSupport.h"
#include "SampleConversion.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <cstdio>
#include <functional>
#include <limits>

using namespace QMMultiMedia;

Q_DECLARE_METATYPE(std::function<qint32(float)>)
Q_DECLARE_METATYPE(std::function<float(qint32)>)

namespace {

template <int (*Kernel)(const float*, qint32*, int)>
qint32 one(float v)
{
    qint32 out = 0x5A5A5A5A;
    Kernel(&v, &out, 1);
    return out;
}

qint32 oneShort(float v)
{
    qint16 out = 0x5A5A;
    floatToShort(&v, &out, 1);
    return out;
}

template <int (*Kernel)(const qint32*, float*, int)>
float back(qint32 v)
{
    float out = 12345.0f;
    Kernel(&v, &out, 1);
    return out;
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

FILE* openBytes(const QByteArray& content, QTemporaryDir& dir, const char* mode = "rb")
{
    const QString path = dir.filePath("stream.bin");
    AudioTest::writeFile(path, content);
    return std::fopen(QFile::encodeName(path).constData(), mode);
}

const float kNaN = std::numeric_limits<float>::quiet_NaN();

}  // namespace

class tst_SampleConversion : public QObject
{
    Q_OBJECT

private slots:
    void swaps();
    void streamReads_data();
    void streamReads();
    void streamWrites();
    void floatToInteger_data();
    void floatToInteger();
    void integerToFloat_data();
    void integerToFloat();
    void integersToBytes();
    void bytesToIntegersDoNotSignExtend();
    void bytesToFloat_data();
    void bytesToFloat();
    void wholeArraysConvert();
    void extendedToDouble_data();
    void extendedToDouble();
};

void tst_SampleConversion::swaps()
{
    QCOMPARE(swap16(0x1234), quint16(0x3412));
    QCOMPARE(swap32(0x01020304u), 0x04030201u);
    QCOMPARE(swap64(0x0102030405060708ull), 0ull);
}

void tst_SampleConversion::streamReads_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("swap");
    QTest::addColumn<qint64>("value");
    QTest::newRow("16 swapped") << bytes({0x12, 0x34}) << 16 << true << qint64(0x1234);
    QTest::newRow("16 plain") << bytes({0x12, 0x34}) << 16 << false << qint64(0x3412);
    QTest::newRow("16 is unsigned") << bytes({0xFF, 0xFF}) << 16 << false << qint64(65535);
    QTest::newRow("16 short read") << bytes({0x12}) << 16 << false << qint64(0);
    QTest::newRow("32 plain") << bytes({1, 2, 3, 4}) << 32 << false << qint64(0x04030201);
    QTest::newRow("32 swapped") << bytes({1, 2, 3, 4}) << 32 << true << qint64(0x01020304);
    QTest::newRow("32 negative") << bytes({0xFE, 0xFF, 0xFF, 0xFF}) << 32 << false << qint64(-2);
    QTest::newRow("32 short read") << bytes({1, 2, 3}) << 32 << false << qint64(0);
    QTest::newRow("8") << bytes({0xF0}) << 8 << false << qint64(240);
    QTest::newRow("8 at the end") << QByteArray() << 8 << false << qint64(0);
    QTest::newRow("64 does nothing") << bytes({1, 2, 3, 4, 5, 6, 7, 8}) << 64 << false << qint64(0);
}

void tst_SampleConversion::streamReads()
{
    QFETCH(QByteArray, content);
    QFETCH(int, width);
    QFETCH(bool, swap);
    QFETCH(qint64, value);
    QTemporaryDir dir;
    FILE* file = openBytes(content, dir);
    QVERIFY(file);
    qint64 got = -99;
    switch (width) {
    case 8: got = readInt8(file); break;
    case 16: got = readInt16(file, swap); break;
    case 32: got = readInt32(file, swap); break;
    case 64: got = readInt64(file, swap); break;
    }
    std::fclose(file);
    QCOMPARE(got, value);
}

void tst_SampleConversion::streamWrites()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.bin");
    FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    QVERIFY(file);
    QCOMPARE(writeInt8(0x1AB, file), 1);
    QCOMPARE(writeInt16(0x11234, file, false), 1);
    QCOMPARE(writeInt16(0x1234, file, true), 1);
    QCOMPARE(writeInt32(0x01020304, file, false), 1);
    QCOMPARE(writeInt32(0x01020304, file, true), 1);
    QCOMPARE(writeInt64(-1, file, false), 0);
    std::fclose(file);
    QCOMPARE(AudioTest::fileBytes(path),
             bytes({0xAB, 0x34, 0x12, 0x12, 0x34, 4, 3, 2, 1, 1, 2, 3, 4}));

    // A stream that cannot be written reports 0 items.
    FILE* readOnly = std::fopen(QFile::encodeName(path).constData(), "rb");
    QVERIFY(readOnly);
    QCOMPARE(writeInt8(1, readOnly), 0);
    QCOMPARE(writeInt16(1, readOnly, false), 0);
    QCOMPARE(writeInt32(1, readOnly, true), 0);
    std::fclose(readOnly);
}

void tst_SampleConversion::floatToInteger_data()
{
    using K = std::function<qint32(float)>;
    QTest::addColumn<K>("kernel");
    QTest::addColumn<float>("input");
    QTest::addColumn<qint32>("expected");

    const K i8 = one<floatToInt8>, i16 = one<floatToInt16>, i24 = one<floatToInt24>, i32 = one<floatToInt32>;
    const K u8 = one<floatToUInt8>, u16 = one<floatToUInt16>, u24 = one<floatToUInt24>, s16 = oneShort;

    QTest::newRow("int16 1.0") << i16 << 1.0f << 32767;
    QTest::newRow("int16 -1.0 clips symmetrically") << i16 << -1.0f << -32767;
    QTest::newRow("int16 0.99999") << i16 << 0.99999f << 32767;
    QTest::newRow("int16 -0.00001 truncates to 0") << i16 << -0.00001f << 0;
    QTest::newRow("int16 0.5") << i16 << 0.5f << 16384;
    QTest::newRow("int16 -16384.5 truncates toward 0") << i16 << -0.5000153f << -16384;
    QTest::newRow("int16 NaN") << i16 << kNaN << 0;
    QTest::newRow("short -1.0") << s16 << -1.0f << -32767;
    QTest::newRow("short 0.25") << s16 << 0.25f << 8192;
    QTest::newRow("int8 1.0") << i8 << 1.0f << 127;
    QTest::newRow("int8 -1.0") << i8 << -1.0f << -127;
    QTest::newRow("int8 -0.5") << i8 << -0.5f << -64;
    QTest::newRow("int24 2.0") << i24 << 2.0f << 8388607;
    QTest::newRow("int24 -2.0") << i24 << -2.0f << -8388607;
    QTest::newRow("int24 -1.0") << i24 << -1.0f << -8388607;
    QTest::newRow("int24 0.25") << i24 << 0.25f << 2097152;
    QTest::newRow("int24 infinity") << i24 << std::numeric_limits<float>::infinity() << 8388607;
    QTest::newRow("int32 1.0") << i32 << 1.0f << 2147483647;
    QTest::newRow("int32 -1.0 keeps the full range") << i32 << -1.0f << qint32(-2147483647 - 1);
    QTest::newRow("int32 -3.0") << i32 << -3.0f << qint32(-2147483647 - 1);
    QTest::newRow("int32 0.5") << i32 << 0.5f << 1073741824;
    QTest::newRow("int32 NaN") << i32 << kNaN << 0;
    QTest::newRow("uint8 -1.0") << u8 << -1.0f << 0;
    QTest::newRow("uint8 0.0") << u8 << 0.0f << 128;
    QTest::newRow("uint8 1.0 clips 256") << u8 << 1.0f << 255;
    QTest::newRow("uint8 -0.5") << u8 << -0.5f << 64;
    QTest::newRow("uint8 NaN is the midpoint") << u8 << kNaN << 128;
    QTest::newRow("uint16 0.0") << u16 << 0.0f << 32768;
    QTest::newRow("uint16 1.0") << u16 << 1.0f << 65535;
    QTest::newRow("uint16 -2.0") << u16 << -2.0f << 0;
    QTest::newRow("uint24 0.0") << u24 << 0.0f << 8388608;
    QTest::newRow("uint24 -0.5") << u24 << -0.5f << 4194304;
    QTest::newRow("uint24 1.0") << u24 << 1.0f << 16777215;
}

void tst_SampleConversion::floatToInteger()
{
    QFETCH(std::function<qint32(float)>, kernel);
    QFETCH(float, input);
    QFETCH(qint32, expected);
    QCOMPARE(kernel(input), expected);
}

void tst_SampleConversion::integerToFloat_data()
{
    using K = std::function<float(qint32)>;
    QTest::addColumn<K>("kernel");
    QTest::addColumn<qint32>("input");
    QTest::addColumn<float>("expected");

    QTest::newRow("uint8 0") << K(back<uint8ToFloat>) << 0 << -1.0f;
    QTest::newRow("uint8 128") << K(back<uint8ToFloat>) << 128 << 0.0f;
    QTest::newRow("uint8 255") << K(back<uint8ToFloat>) << 255 << 0.9921875f;
    QTest::newRow("uint16 0") << K(back<uint16ToFloat>) << 0 << -1.0f;
    QTest::newRow("uint16 49152") << K(back<uint16ToFloat>) << 49152 << 0.5f;
    QTest::newRow("uint24 0") << K(back<uint24ToFloat>) << 0 << -1.0f;
    QTest::newRow("uint24 8388608") << K(back<uint24ToFloat>) << 8388608 << 0.0f;
    QTest::newRow("uint32 0") << K(back<uint32ToFloat>) << 0 << -1.0f;
    QTest::newRow("uint32 2^31") << K(back<uint32ToFloat>) << qint32(-2147483647 - 1) << 0.0f;
    QTest::newRow("int8 128 is the sign") << K(back<int8ToFloat>) << 128 << -1.0f;
    QTest::newRow("int8 64") << K(back<int8ToFloat>) << 64 << 0.5f;
    QTest::newRow("int16 0x8000") << K(back<int16ToFloat>) << 0x8000 << -1.0f;
    QTest::newRow("int16 -16384") << K(back<int16ToFloat>) << -16384 << -0.5f;
    QTest::newRow("int16 32767") << K(back<int16ToFloat>) << 32767 << 0.999969482f;
    QTest::newRow("int24 0x800000") << K(back<int24ToFloat>) << 0x800000 << -1.0f;
    QTest::newRow("int24 0x400000") << K(back<int24ToFloat>) << 0x400000 << 0.5f;
    QTest::newRow("int32 minimum") << K(back<int32ToFloat>) << qint32(-2147483647 - 1) << -1.0f;
    QTest::newRow("int32 2^30") << K(back<int32ToFloat>) << 1073741824 << 0.5f;
}

void tst_SampleConversion::integerToFloat()
{
    QFETCH(std::function<float(qint32)>, kernel);
    QFETCH(qint32, input);
    QFETCH(float, expected);
    QCOMPARE(kernel(input), expected);
}

void tst_SampleConversion::integersToBytes()
{
    const qint32 values[] = {0x01020304, 0x0A0B0C0D};
    char out[8];
    int32ToBytes(values, out, 8, false);
    QCOMPARE(QByteArray(out, 8), bytes({1, 2, 3, 4, 0x0A, 0x0B, 0x0C, 0x0D}));
    int32ToBytes(values, out, 8, true);
    QCOMPARE(QByteArray(out, 8), bytes({4, 3, 2, 1, 0x0D, 0x0C, 0x0B, 0x0A}));
    qint32 readBack[2];
    bytesToInt32(out, readBack, 2, true);
    QCOMPARE(readBack[0], values[0]);
    QCOMPARE(readBack[1], values[1]);
    int32ToBytes(values, out, 8, false);
    bytesToInt32(out, readBack, 2, false);
    QCOMPARE(readBack[1], values[1]);

    // The count of these three is in bytes: 4 bytes are two 16-bit values.
    const qint32 shorts[] = {0x11234, -2, 0x7777};
    char out16[6] = {9, 9, 9, 9, 9, 9};
    int16ToBytes(shorts, out16, 4, true);
    QCOMPARE(QByteArray(out16, 6), bytes({0x34, 0x12, 0xFE, 0xFF, 9, 9}));
    int16ToBytes(shorts, out16, 4, false);
    QCOMPARE(QByteArray(out16, 4), bytes({0x12, 0x34, 0xFF, 0xFE}));

    const qint32 triples[] = {0x123456, -1, 0x7F};
    char out24[7] = {9, 9, 9, 9, 9, 9, 9};
    int24ToBytes(triples, out24, 6);
    QCOMPARE(QByteArray(out24, 7), bytes({0x56, 0x34, 0x12, 0xFF, 0xFF, 0xFF, 9}));

    // Longer runs too: every value in place, nothing past the count.
    const qint32 five[] = {0x010203, 0x040506, 0x070809, 0x0A0B0C, -2};
    char out15[16];
    std::memset(out15, 9, 16);
    int24ToBytes(five, out15, 15);
    QCOMPARE(QByteArray(out15, 16), bytes({3, 2, 1, 6, 5, 4, 9, 8, 7, 0x0C, 0x0B, 0x0A, 0xFE, 0xFF, 0xFF, 9}));

    const qint32 octets[] = {0x1FF, 128, -128};
    char out8[3];
    int8ToBytes(octets, out8, 3);
    QCOMPARE(QByteArray(out8, 3), bytes({0xFF, 0x80, 0x80}));
}

void tst_SampleConversion::bytesToIntegersDoNotSignExtend()
{
    const QByteArray in = bytes({0xFF, 0xFF, 0xFE, 0x80, 0x00, 0x01});
    qint32 out[6];
    bytesToInt8(in.constData(), out, 2);
    QCOMPARE(out[0], 255);
    bytesToInt16(in.constData(), out, 3, true);
    QCOMPARE(out[0], 65535);
    QCOMPARE(out[1], 0x80FE);
    QCOMPARE(out[2], 0x0100);
    bytesToInt16(in.constData(), out, 3, false);
    QCOMPARE(out[1], 0xFE80);
    bytesToInt24(in.constData(), out, 2, false);
    QCOMPARE(out[0], 0xFFFFFE);
    QCOMPARE(out[1], 0x800001);
    bytesToInt24(in.constData(), out, 2, true);
    QCOMPARE(out[0], 0xFEFFFF);
    QCOMPARE(out[1], 0x010080);
}

void tst_SampleConversion::bytesToFloat_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("littleEndian");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QVector<float>>("expected");

    QTest::newRow("24 big-endian full scale") << 24 << false << bytes({0x80, 0, 0}) << QVector<float>{-1.0f};
    QTest::newRow("24 little-endian full scale") << 24 << true << bytes({0, 0, 0x80}) << QVector<float>{-1.0f};
    // Each sample reads its own three bytes only.
    QTest::newRow("24 two samples") << 24 << true << bytes({0, 0, 0x40, 0xFF, 0xFF, 0xFF})
                                    << QVector<float>{0.5f, -1.0f / 8388608.0f};
    QTest::newRow("24 big-endian positive") << 24 << false << bytes({0x7F, 0xFF, 0xFF})
                                            << QVector<float>{8388607.0f / 8388608.0f};
    QTest::newRow("16 little-endian") << 16 << true << bytes({0x00, 0x80, 0x00, 0x40})
                                      << QVector<float>{-1.0f, 0.5f};
    QTest::newRow("16 big-endian") << 16 << false << bytes({0xC0, 0x00}) << QVector<float>{-0.5f};
    QTest::newRow("32 big-endian") << 32 << false << bytes({0xC0, 0, 0, 0}) << QVector<float>{-0.5f};
    QTest::newRow("32 little-endian") << 32 << true << bytes({0, 0, 0, 0x40}) << QVector<float>{0.5f};
}

void tst_SampleConversion::bytesToFloat()
{
    QFETCH(int, width);
    QFETCH(bool, littleEndian);
    QFETCH(QByteArray, input);
    QFETCH(QVector<float>, expected);
    QVector<float> out(expected.size() + 1, 7.0f);
    switch (width) {
    case 16: bytes16ToFloat(input.constData(), out.data(), expected.size(), littleEndian); break;
    case 24: bytes24ToFloat(input.constData(), out.data(), expected.size(), littleEndian); break;
    case 32: bytes32ToFloat(input.constData(), out.data(), expected.size(), littleEndian); break;
    }
    QCOMPARE(out.takeLast(), 7.0f);  // nothing past the count
    QCOMPARE(out, expected);
}

void tst_SampleConversion::wholeArraysConvert()
{
    // The writer's pairing for 24 bits: floats to integers to stored bytes.
    const float samples[] = {0.0f, 0.5f, -0.5f, 1.0f};
    qint32 ints[4];
    floatToInt24(samples, ints, 4);
    char stored[12];
    int24ToBytes(ints, stored, 12);
    QCOMPARE(QByteArray(stored, 12),
             bytes({0, 0, 0, 0, 0, 0x40, 0, 0, 0xC0, 0xFF, 0xFF, 0x7F}));
    float back[4];
    bytes24ToFloat(stored, back, 4, true);
    QCOMPARE(back[1], 0.5f);
    QCOMPARE(back[2], -0.5f);

    float copy[4] = {};
    copyFloats(samples, copy, 4, false);
    QCOMPARE(copy[3], 1.0f);
    QCOMPARE(floatToInt16(samples, ints, 4), 0);
    QCOMPARE(ints[3], 32767);
}

void tst_SampleConversion::extendedToDouble_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<double>("expected");
    QTest::newRow("44100") << bytes({0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}) << 44100.0;
    QTest::newRow("48000") << bytes({0x40, 0x0E, 0xBB, 0x80, 0, 0, 0, 0, 0, 0}) << 48000.0;
    QTest::newRow("1.0") << bytes({0x3F, 0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0}) << 1.0;
    QTest::newRow("-2.0") << bytes({0xC0, 0x00, 0x80, 0, 0, 0, 0, 0, 0, 0}) << -2.0;
    QTest::newRow("low mantissa counts") << bytes({0x40, 0x1E, 0x80, 0, 0, 0, 0x80, 0, 0, 0}) << 2147483648.5;
    QTest::newRow("zero") << QByteArray(10, '\0') << 0.0;
    QTest::newRow("infinity") << bytes({0x7F, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8})
                              << std::numeric_limits<double>::infinity();
    QTest::newRow("minus infinity") << bytes({0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0})
                                    << -std::numeric_limits<double>::infinity();
}

void tst_SampleConversion::extendedToDouble()
{
    QFETCH(QByteArray, input);
    QFETCH(double, expected);
    QCOMPARE(ieeeExtendedToDouble(reinterpret_cast<const unsigned char*>(input.constData())), expected);
}

QTEST_GUILESS_MAIN(tst_SampleConversion)
#include "tst_SampleConversion.moc"
