#include "Bits.h"

#include <QtTest>

#include <iostream>
#include <sstream>

using SetBits = QVector<int>;

namespace {

MTools::Bits makeBits(int count, const SetBits& set)
{
    MTools::Bits bits(count);
    for (int i : set)
        bits.setBit(unsigned(i), 1);
    return bits;
}

// The positions of the set bits, and the count as the first position that
// answers -1.
SetBits setBitsOf(const MTools::Bits& bits)
{
    SetBits set;
    unsigned i = 0;
    for (; bits.bit(i) >= 0; ++i)
        if (bits.bit(i) == 1)
            set << int(i);
    set << -int(i);  // the end marker: minus the bit count
    return set;
}

SetBits expected(int count, const SetBits& set)
{
    return SetBits(set) << -count;
}

// Captures what a call writes to a standard stream.
class StreamCapture
{
public:
    explicit StreamCapture(std::ostream& stream)
        : m_stream(stream)
        , m_pOld(stream.rdbuf(m_text.rdbuf()))
    {
    }
    ~StreamCapture() { m_stream.rdbuf(m_pOld); }
    QByteArray text() const { return QByteArray::fromStdString(m_text.str()); }

private:
    std::ostream& m_stream;
    std::ostringstream m_text;
    std::streambuf* m_pOld;
};

}  // namespace

class TestBits : public QObject
{
    Q_OBJECT

private slots:
    void byteCounts_data();
    void byteCounts();
    void setBitOutOfRange();
    void integers();
    void getCodeRange_data();
    void getCodeRange();
    void moves_data();
    void moves();
    void appendAndDropLow();
    void logic_data();
    void logic();
    void printing();
    void copyAndAssignment();
};

void TestBits::byteCounts_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("fromBytes");  // toInt() after every byte was set
    QTest::newRow("10 bits, 2 bytes") << 10 << 0xFFFF;
    QTest::newRow("16 bits, 2 bytes") << 16 << 0xFFFF;
    QTest::newRow("17 bits, 3 bytes") << 17 << 0xFFFFFF;
    QTest::newRow("1 bit, 1 byte") << 1 << 0xFF;
    QTest::newRow("0 bits") << 0 << 0;
    QTest::newRow("negative count") << -5 << 0;
}

void TestBits::byteCounts()
{
    QFETCH(int, count);
    QFETCH(int, fromBytes);
    MTools::Bits bits(count);
    bits.setBytes("\xFF\xFF\xFF\xFF\xFF");
    QCOMPARE(bits.toInt(), fromBytes);
    const int size = qMax(count, 0);
    QCOMPARE(bits.bit(unsigned(size)), -1);
    if (size > 0)
        QCOMPARE(bits.bit(unsigned(size - 1)), 1);
}

void TestBits::setBitOutOfRange()
{
    MTools::Bits bits = makeBits(10, {1, 9});
    QByteArray errors;
    {
        StreamCapture capture(std::cerr);
        bits.setBit(10, 1);
        QCOMPARE(bits.bit(10), -1);  // silent
        errors = capture.text();
    }
    QCOMPARE(errors, QByteArray("Bits::setBit(int,int) Position is out of range\n"));
    QCOMPARE(setBitsOf(bits), expected(10, {1, 9}));
    QCOMPARE(bits.toInt(), 2 | 512);
    bits.setBit(1, 0);
    bits.setBit(2, 7);
    QCOMPARE(setBitsOf(bits), expected(10, {2, 9}));
}

void TestBits::integers()
{
    MTools::Bits word(32);
    word.setFromInt(1000);
    QCOMPARE(word.getCode(32), 1000);
    QCOMPARE(word.toInt(), 1000);
    QCOMPARE(word.getCode(8), 232);
    word.setFromInt(-2);
    QCOMPARE(word.getCode(32), -2);
    QCOMPARE(word.toInt(), -2);
    QCOMPARE(word.getCode(31), 0x7FFFFFFE);

    // A shorter vector takes what fits and reports each position it lacks.
    MTools::Bits shorter(10);
    QByteArray errors;
    {
        StreamCapture capture(std::cerr);
        shorter.setFromInt(1000 + 4096);
        errors = capture.text();
    }
    QCOMPARE(errors.count("Bits::setBit(int,int) Position is out of range\n"), 22);
    QCOMPARE(errors.size(), 22 * 47);
    QCOMPARE(shorter.getCode(10), 1000);

    // Bits from 32 up do not fit the result, and must not shift past it.
    MTools::Bits wide = makeBits(39, {0, 1, 2, 31, 35, 38});
    QCOMPARE(wide.getCode(39), int(0x80000007u - 0x100000000LL));
}

void TestBits::getCodeRange_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("n");
    QTest::newRow("n 0") << 32 << 0;
    QTest::newRow("n 40") << 48 << 40;
    QTest::newRow("n above the count") << 8 << 9;
    QTest::newRow("negative n") << 8 << -1;
}

void TestBits::getCodeRange()
{
    QFETCH(int, count);
    QFETCH(int, n);
    MTools::Bits bits(count);
    bits.setBytes("\xFF\xFF\xFF\xFF\xFF\xFF");
    QByteArray errors;
    int code = -1;
    {
        StreamCapture capture(std::cerr);
        code = bits.getCode(n);
        errors = capture.text();
    }
    QCOMPARE(code, 0);
    QCOMPARE(errors, QByteArray("Bits::getCode(int) Out Of Range\n"));
}

void TestBits::moves_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<SetBits>("before");
    QTest::addColumn<QString>("move");
    QTest::addColumn<uint>("k");
    QTest::addColumn<SetBits>("after");
    QTest::addColumn<int>("result");
    QTest::newRow("rotate down 1") << 8 << SetBits{0} << "rotateDown" << 1u << SetBits{7} << 1;
    QTest::newRow("shift down 1") << 8 << SetBits{0} << "shiftDown" << 1u << SetBits{} << 1;
    QTest::newRow("rotate down 0") << 8 << SetBits{0} << "rotateDown" << 0u << SetBits{0} << 0;
    QTest::newRow("rotate down 3 of 5") << 5 << SetBits{1, 2} << "rotateDown" << 3u << SetBits{3, 4} << 1;
    QTest::newRow("rotate down 2 of 5") << 5 << SetBits{1, 2} << "rotateDown" << 2u << SetBits{0, 4} << 1;
    QTest::newRow("rotate down once round") << 8 << SetBits{0} << "rotateDown" << 9u << SetBits{7} << 1;
    QTest::newRow("shift down 2 of 5") << 5 << SetBits{1, 4} << "shiftDown" << 2u << SetBits{2} << 1;
    QTest::newRow("shift down past the count") << 5 << SetBits{1, 4} << "shiftDown" << 6u << SetBits{} << 0;
    QTest::newRow("rotate up 1") << 8 << SetBits{7} << "rotateUp" << 1u << SetBits{0} << 1;
    QTest::newRow("rotate up 2 of 5") << 5 << SetBits{0, 3} << "rotateUp" << 2u << SetBits{0, 2} << 1;
    QTest::newRow("rotate up 0") << 5 << SetBits{4} << "rotateUp" << 0u << SetBits{4} << 0;
    QTest::newRow("shift up 1") << 8 << SetBits{7} << "shiftUp" << 1u << SetBits{} << 1;
    QTest::newRow("shift up 2 of 5") << 5 << SetBits{0, 3} << "shiftUp" << 2u << SetBits{2} << 1;
    QTest::newRow("shift up past the count") << 5 << SetBits{0} << "shiftUp" << 7u << SetBits{} << 0;
    QTest::newRow("empty vector") << 0 << SetBits{} << "rotateDown" << 3u << SetBits{} << 0;
}

void TestBits::moves()
{
    QFETCH(int, count);
    QFETCH(SetBits, before);
    QFETCH(QString, move);
    QFETCH(uint, k);
    QFETCH(SetBits, after);
    QFETCH(int, result);
    MTools::Bits bits = makeBits(count, before);
    int out = -1;
    if (move == "rotateDown")
        out = bits.rotateDown(k);
    else if (move == "shiftDown")
        out = bits.shiftDown(k);
    else if (move == "rotateUp")
        out = bits.rotateUp(k);
    else
        out = bits.shiftUp(k);
    QCOMPARE(setBitsOf(bits), expected(count, after));
    QCOMPARE(out, result);
}

void TestBits::appendAndDropLow()
{
    MTools::Bits low = makeBits(2, {0});
    low.append(makeBits(3, {0, 2}));
    QCOMPARE(setBitsOf(low), expected(5, {0, 2, 4}));

    // Bits of the last byte above the count must not show through.
    MTools::Bits inverted(3);
    inverted.invert();
    QCOMPARE(inverted.toInt(), 0xFF);
    inverted.append(MTools::Bits(2));
    QCOMPARE(setBitsOf(inverted), expected(5, {0, 1, 2}));

    MTools::Bits self = makeBits(3, {0});
    self.append(self);
    QCOMPARE(setBitsOf(self), expected(6, {0, 3}));

    low.dropLow(2);
    QCOMPARE(setBitsOf(low), expected(3, {0, 2}));
    low.dropLow(0);
    QCOMPARE(setBitsOf(low), expected(3, {0, 2}));
    low.dropLow(9);
    QCOMPARE(setBitsOf(low), expected(0, {}));
    low.append(makeBits(1, {0}));
    QCOMPARE(setBitsOf(low), expected(1, {0}));

    // Moves leave the bits above the count as they are.
    MTools::Bits padded(3);
    padded.invert();
    padded.shiftDown(1);
    QCOMPARE(setBitsOf(padded), expected(3, {0, 1}));
    QCOMPARE(padded.toInt(), 0xFB);
}

void TestBits::logic_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<SetBits>("bits");
    QTest::addColumn<int>("otherCount");
    QTest::addColumn<SetBits>("other");
    QTest::addColumn<SetBits>("xored");
    QTest::addColumn<SetBits>("anded");
    QTest::addColumn<SetBits>("ored");
    // Positions 4 and 5 lie above the other's count.
    QTest::newRow("other shorter") << 6 << SetBits{0, 2, 4, 5} << 4 << SetBits{0, 1}
                                   << SetBits{1, 2, 4, 5} << SetBits{0} << SetBits{0, 1, 2, 4, 5};
    QTest::newRow("other longer") << 2 << SetBits{1} << 4 << SetBits{0, 1, 2, 3}
                                  << SetBits{0} << SetBits{1} << SetBits{0, 1};
    QTest::newRow("other empty") << 3 << SetBits{0, 2} << 0 << SetBits{}
                                 << SetBits{0, 2} << SetBits{} << SetBits{0, 2};
}

void TestBits::logic()
{
    QFETCH(int, count);
    QFETCH(SetBits, bits);
    QFETCH(int, otherCount);
    QFETCH(SetBits, other);
    QFETCH(SetBits, xored);
    QFETCH(SetBits, anded);
    QFETCH(SetBits, ored);
    const MTools::Bits second = makeBits(otherCount, other);
    MTools::Bits x = makeBits(count, bits);
    x.xorWith(second);
    QCOMPARE(setBitsOf(x), expected(count, xored));
    MTools::Bits a = makeBits(count, bits);
    a.andWith(second);
    QCOMPARE(setBitsOf(a), expected(count, anded));
    MTools::Bits o = makeBits(count, bits);
    o.orWith(second);
    QCOMPARE(setBitsOf(o), expected(count, ored));
    QCOMPARE(setBitsOf(second), expected(otherCount, other));
}

void TestBits::printing()
{
    const MTools::Bits bits = makeBits(4, {0});
    std::ostringstream printed;
    bits.print(printed);
    QCOMPARE(QByteArray::fromStdString(printed.str()), QByteArray("0001"));
    QByteArray line;
    {
        StreamCapture capture(std::cout);
        bits.printLine();
        makeBits(6, {1, 5}).printLine();
        line = capture.text();
    }
    QCOMPARE(line, QByteArray("1000\n010001\n"));
}

void TestBits::copyAndAssignment()
{
    MTools::Bits original = makeBits(12, {3, 11});
    MTools::Bits copy(original);
    original.setBit(3, 0);
    QCOMPARE(setBitsOf(copy), expected(12, {3, 11}));

    MTools::Bits& same = copy;
    copy = same;
    QCOMPARE(setBitsOf(copy), expected(12, {3, 11}));

    MTools::Bits other = makeBits(3, {1});
    other = copy;
    QCOMPARE(setBitsOf(other), expected(12, {3, 11}));
    copy = MTools::Bits(2);
    QCOMPARE(setBitsOf(copy), expected(2, {}));
}

QTEST_GUILESS_MAIN(TestBits)
#include "tst_bits.moc"
