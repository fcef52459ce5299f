#include "Error.h"
#include "MString.h"
#include "MStringWrap.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cfloat>
#include <climits>
#include <iostream>
#include <sstream>

namespace {

QByteArray bytesOf(const MString& s)
{
    return QByteArray(s.data(), int(s.length()));
}

MTools::MStringWrap fromBytes(const QByteArray& bytes)
{
    return MTools::MStringWrap(bytes.constData(), unsigned(bytes.size()));
}

const char kUuid[] = "41c69b52-961b-4eee-b5aa-36a830fc3d81";

// What a file operation threw, or "" when it threw nothing.
template<typename F>
QByteArray thrownText(F operation)
{
    try {
        operation();
    } catch (const char* pText) {
        return QByteArray(pText);
    }
    return QByteArray();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

class TestMString : public QObject
{
    Q_OBJECT

private slots:
    void ordering_data();
    void ordering();
    void find_data();
    void find();
    void mid_data();
    void mid();
    void emptyAndNullText();
    void appendAndConcat();
    void assignment();
    void caseFoldingReverseAndTerminator();
    void printing();
    void instanceIds();
    void saveAndLoadRoundTrip();
    void loadRangeZeroFillsWhatTheFileLacks();
    void loadFailuresLeaveTheString_data();
    void loadFailuresLeaveTheString();
    void saveFailures_data();
    void saveFailures();
    void wrapNumbers_data();
    void wrapNumbers();
    void wrapBytesSizeAndCharacter();
    void wrapPrintLine();
    void errorCarriesItsMessage();
};

void TestMString::ordering_data()
{
    QTest::addColumn<QByteArray>("left");
    QTest::addColumn<QByteArray>("right");
    QTest::addColumn<int>("order");  // -1 left below, 0 equal, 1 left above
    QTest::newRow("abc < abd") << QByteArray("abc") << QByteArray("abd") << -1;
    QTest::newRow("abc > ab (longer prefix)") << QByteArray("abc") << QByteArray("ab") << 1;
    QTest::newRow("0x80 < 0x7F (signed bytes)") << QByteArray("\x80") << QByteArray("\x7F") << -1;
    QTest::newRow("0xFF < 0x00") << QByteArray("\xFF", 1) << QByteArray("\0", 1) << -1;
    QTest::newRow("empty < a") << QByteArray("") << QByteArray("a") << -1;
    QTest::newRow("equal") << QByteArray("abc") << QByteArray("abc") << 0;
    QTest::newRow("NUL inside counts") << QByteArray("a\0c", 3) << QByteArray("a\0b", 3) << 1;
}

void TestMString::ordering()
{
    QFETCH(QByteArray, left);
    QFETCH(QByteArray, right);
    QFETCH(int, order);
    const MTools::MStringWrap a = fromBytes(left);
    const MTools::MStringWrap b = fromBytes(right);
    QCOMPARE(a.isLess(b), order < 0);
    QCOMPARE(a.isGreater(b), order > 0);
    QCOMPARE(a.isLessOrEqual(b), order <= 0);
    QCOMPARE(a.isGreaterOrEqual(b), order >= 0);
    QCOMPARE(a.isEqual(b), order == 0);
    QCOMPARE(a.isNotEqual(b), order != 0);
    QCOMPARE(b.isLess(a), order > 0);
}

void TestMString::find_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<uint>("from");
    QTest::addColumn<int>("index");
    QTest::newRow("aab in aaab") << QByteArray("aaab") << QByteArray("aab") << 0u << 1;
    QTest::newRow("aab in aaab from 2") << QByteArray("aaab") << QByteArray("aab") << 2u << -1;
    QTest::newRow("from the length") << QByteArray("aaab") << QByteArray("b") << 4u << -1;
    QTest::newRow("from beyond") << QByteArray("aaab") << QByteArray("b") << 99u << -1;
    QTest::newRow("runs past the end") << QByteArray("xxab") << QByteArray("abc") << 0u << -1;
    QTest::newRow("longer than text") << QByteArray("ab") << QByteArray("abc") << 0u << -1;
    QTest::newRow("at the start index") << QByteArray("abab") << QByteArray("ab") << 2u << 2;
    QTest::newRow("NUL bytes") << QByteArray("x\0\0y", 4) << QByteArray("\0y", 2) << 0u << 2;
}

void TestMString::find()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, pattern);
    QFETCH(uint, from);
    QFETCH(int, index);
    QCOMPARE(fromBytes(text).find(fromBytes(pattern), from), index);
}

void TestMString::mid_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QByteArray>("part");
    QTest::newRow("1..4") << 1 << 4 << QByteArray("bcd");
    QTest::newRow("2..2 empty") << 2 << 2 << QByteArray("");
    QTest::newRow("whole") << 0 << 6 << QByteArray("abcdef");
    QTest::newRow("end clipped") << 4 << 99 << QByteArray("ef");
    QTest::newRow("start clipped") << -3 << 2 << QByteArray("ab");
    QTest::newRow("reversed range") << 4 << 2 << QByteArray("");
}

void TestMString::mid()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QByteArray, part);
    const MString s("abcdef");
    const MString m = s.mid(from, to);
    QCOMPARE(bytesOf(m), part);
    QCOMPARE(bytesOf(s), QByteArray("abcdef"));
}

void TestMString::emptyAndNullText()
{
    const MString empty("");
    QCOMPARE(empty.length(), 0u);
    QVERIFY(empty.isEmpty());
    QVERIFY(empty.data() != nullptr);
    const MString null(static_cast<const char*>(nullptr));
    QVERIFY(null.isEmpty());
    QVERIFY(null.isEqual(empty));
    MString s("x");
    s.assignCString(nullptr);
    QVERIFY(s.isEmpty());
}

void TestMString::appendAndConcat()
{
    MString s("ab");
    s.append(MString(""));
    QCOMPARE(bytesOf(s), QByteArray("ab"));
    QCOMPARE(s.length(), 2u);

    MString empty("");
    empty.append(s);
    QCOMPARE(bytesOf(empty), QByteArray("ab"));

    // Appending a string to itself reads it before the buffer is replaced.
    s.append(s);
    QCOMPARE(bytesOf(s), QByteArray("abab"));

    MString t("x");
    t.appendInPlace(MString("y")).appendString(fromBytes(QByteArray("\0z", 2)));
    QCOMPARE(bytesOf(t), QByteArray("xy\0z", 4));

    const MString left("left");
    const MString joined = left.concat(MString("+right"));
    QCOMPARE(bytesOf(joined), QByteArray("left+right"));
    QCOMPARE(bytesOf(left), QByteArray("left"));
}

void TestMString::assignment()
{
    MString s("abc");
    MString& same = s;
    s = same;
    QCOMPARE(bytesOf(s), QByteArray("abc"));
    s.assign(same);
    QCOMPARE(bytesOf(s), QByteArray("abc"));

    MString copy(s);
    MString other("zz");
    other = s;
    s.toUpperAscii();
    QCOMPARE(bytesOf(copy), QByteArray("abc"));
    QCOMPARE(bytesOf(other), QByteArray("abc"));

    other.assignCString("new");
    QCOMPARE(bytesOf(other), QByteArray("new"));
}

void TestMString::caseFoldingReverseAndTerminator()
{
    const QByteArray mixed("aZ@[`{\xE4\xC4" "09", 10);
    MTools::MStringWrap s = fromBytes(mixed);
    s.toUpperAscii();
    QCOMPARE(bytesOf(s), QByteArray("AZ@[`{\xE4\xC4" "09", 10));
    s.toLowerAscii();
    QCOMPARE(bytesOf(s), QByteArray("az@[`{\xE4\xC4" "09", 10));

    MString r = fromBytes(QByteArray("ab\0c", 4));
    r.reverse();
    QCOMPARE(bytesOf(r), QByteArray("c\0ba", 4));

    MString t("abc");
    const char* pText = t.cString();
    QCOMPARE(t.length(), 3u);
    QCOMPARE(pText[3], '\0');
    QCOMPARE(QByteArray(pText), QByteArray("abc"));
    QVERIFY(t.isEqual(MString("abc")));
    // The terminator is not content: an append follows the third byte.
    t.append(MString("d"));
    QCOMPARE(bytesOf(t), QByteArray("abcd"));
}

void TestMString::printing()
{
    MTools::MStringWrap s = fromBytes(QByteArray("a\0b", 3));
    std::ostringstream readable;
    s.printReadable(readable);
    QCOMPARE(QByteArray::fromStdString(readable.str()), QByteArray("a b"));
    std::ostringstream upToNul;
    s.writeTo(upToNul);
    QCOMPARE(QByteArray::fromStdString(upToNul.str()), QByteArray("a"));
    std::ostringstream whole;
    MString("whole").writeTo(whole);
    QCOMPARE(QByteArray::fromStdString(whole.str()), QByteArray("whole"));
}

void TestMString::instanceIds()
{
    QCOMPARE(MString("probe").instanceCount(), 1);
    {
        const MString first("first");
        QCOMPARE(bytesOf(first.objectId()), QByteArray(kUuid) + "0");
        const MString second("second");
        QCOMPARE(bytesOf(second.objectId()), QByteArray(kUuid) + "1");
        QCOMPARE(second.instanceCount(), 2);
        QCOMPARE(*second.instanceCounter(), 2);
    }
    // Ids count the strings alive, so they repeat once strings are gone.
    const MString again("again");
    QCOMPARE(bytesOf(again.objectId()), QByteArray(kUuid) + "0");
    QCOMPARE(bytesOf(again.classUuid()), QByteArray(kUuid));
    QCOMPARE(again.classUuid().length(), 36u);
    QCOMPARE(bytesOf(again.className()), QByteArray("MString"));
}

void TestMString::saveAndLoadRoundTrip()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray binary("\x00\xFF\x0A\x0D", 4);
    const QByteArray path = QFile::encodeName(dir.filePath("bytes.bin"));

    MTools::MStringWrap s = fromBytes(binary);
    s.saveToFile(path.constData());
    QCOMPARE(readFile(dir.filePath("bytes.bin")), binary);

    MString loaded("old content");
    loaded.loadFromFile(path.constData());
    QCOMPARE(bytesOf(loaded), binary);

    // The MString path forms terminate their argument in place.
    MString pathString = fromBytes(path);
    MString other("other");
    other.saveToFile(pathString);
    QCOMPARE(pathString.length(), unsigned(path.size()));
    QCOMPARE(pathString.data()[path.size()], '\0');
    QCOMPARE(readFile(dir.filePath("bytes.bin")), QByteArray("other"));
    MString back("");
    back.loadFromFile(pathString);
    QCOMPARE(bytesOf(back), QByteArray("other"));

    // An empty file loads as an empty string.
    MString("").saveToFile(path.constData());
    back.loadFromFile(path.constData());
    QVERIFY(back.isEmpty());
}

void TestMString::loadRangeZeroFillsWhatTheFileLacks()
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath("abc.txt"));
    MString("abcdef").saveToFile(path.constData());

    MString s("");
    s.loadRange(path.constData(), 2, 3);
    QCOMPARE(bytesOf(s), QByteArray("cde"));
    s.loadRange(path.constData(), 4, 5);
    QCOMPARE(bytesOf(s), QByteArray("ef\0\0\0", 5));
    s.loadRange(path.constData(), 100, 2);
    QCOMPARE(bytesOf(s), QByteArray("\0\0", 2));
}

void TestMString::loadFailuresLeaveTheString_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("whole");
    QTest::newRow("missing file") << "missing.bin" << 0 << 0 << true;
    QTest::newRow("a folder") << "." << 0 << 0 << true;
    QTest::newRow("missing file, range") << "missing.bin" << 0 << 4 << false;
    QTest::newRow("negative count") << "file.bin" << 0 << -1 << false;
    QTest::newRow("negative offset") << "file.bin" << -1 << 2 << false;
}

void TestMString::loadFailuresLeaveTheString()
{
    QFETCH(QString, name);
    QFETCH(int, offset);
    QFETCH(int, count);
    QFETCH(bool, whole);
    QTemporaryDir dir;
    MString("content").saveToFile(QFile::encodeName(dir.filePath("file.bin")).constData());
    const QByteArray path = QFile::encodeName(dir.filePath(name));

    MString s("unchanged");
    const QByteArray thrown = thrownText([&] {
        if (whole)
            s.loadFromFile(path.constData());
        else
            s.loadRange(path.constData(), offset, count);
    });
    QCOMPARE(thrown, QByteArray("can not open the file"));
    QCOMPARE(bytesOf(s), QByteArray("unchanged"));
}

void TestMString::saveFailures_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing folder") << "no/such/folder/file.bin";
    // Opens fine, but every write fails for want of space.
    if (QFile::exists("/dev/full"))
        QTest::newRow("full device") << "/dev/full";
}

void TestMString::saveFailures()
{
    QFETCH(QString, path);
    QTemporaryDir dir;
    const QByteArray target = QFile::encodeName(QDir(dir.path()).absoluteFilePath(path));
    MString s("some bytes to write");
    QCOMPARE(thrownText([&] { s.saveToFile(target.constData()); }), QByteArray("can not create the file"));
    QCOMPARE(bytesOf(s), QByteArray("some bytes to write"));
}

void TestMString::wrapNumbers_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("int") << bytesOf(MTools::MStringWrap(-42)) << QByteArray("-42");
    QTest::newRow("int minimum") << bytesOf(MTools::MStringWrap(INT_MIN)) << QByteArray("-2147483648");
    QTest::newRow("long") << bytesOf(MTools::MStringWrap(-7L)) << QByteArray("-7");
    QTest::newRow("unsigned maximum") << bytesOf(MTools::MStringWrap(UINT_MAX)) << QByteArray("4294967295");
    QTest::newRow("float 1.5") << bytesOf(MTools::MStringWrap(1.5f)) << QByteArray("1.500000");
    QTest::newRow("double rounds to six") << bytesOf(MTools::MStringWrap(2.0 / 3.0)) << QByteArray("0.666667");
    QTest::newRow("negative double") << bytesOf(MTools::MStringWrap(-0.25)) << QByteArray("-0.250000");
    // 2^24 + 1 has no single-precision form; it rounds to 2^24 first.
    QTest::newRow("long double via float") << bytesOf(MTools::MStringWrap(16777217.0L))
                                           << QByteArray("16777216.000000");
    // 309 digits and six decimals: far beyond a fixed scratch buffer.
    QTest::newRow("largest double") << bytesOf(MTools::MStringWrap(DBL_MAX)) << QByteArray::number(DBL_MAX, 'f', 6);
}

void TestMString::wrapNumbers()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(text, expected);
    QVERIFY(!text.contains('\0'));
}

void TestMString::wrapBytesSizeAndCharacter()
{
    const MTools::MStringWrap bytes("a\0b\0", 4u);
    QCOMPARE(bytesOf(bytes), QByteArray("a\0b\0", 4));

    const MTools::MStringWrap sized(std::size_t(5));
    QCOMPARE(sized.length(), 5u);
    QCOMPARE(bytesOf(sized), QByteArray(5, '\0'));

    const char c = 'q';
    QCOMPARE(bytesOf(MTools::MStringWrap(c)), QByteArray("q"));
    QCOMPARE(bytesOf(MTools::MStringWrap("text")), QByteArray("text"));

    // The wrap keeps the byte string's operations.
    MTools::MStringWrap upper("mixed Case");
    upper.toUpperAscii();
    QCOMPARE(bytesOf(upper), QByteArray("MIXED CASE"));
    QCOMPARE(bytesOf(upper.className()), QByteArray("MString"));
}

void TestMString::wrapPrintLine()
{
    std::ostringstream captured;
    std::streambuf* pOld = std::cout.rdbuf(captured.rdbuf());
    MTools::MStringWrap s("line\0hidden", 11u);
    s.printLine();
    MTools::MStringWrap("second").printLine();
    std::cout.rdbuf(pOld);
    QCOMPARE(QByteArray::fromStdString(captured.str()), QByteArray("line\nsecond\n"));
    QCOMPARE(s.length(), 11u);
}

void TestMString::errorCarriesItsMessage()
{
    const int nBefore = MString("probe").instanceCount();
    bool bCaught = false;
    try {
        throw MTools::Error("Null handle");
    } catch (const MTools::Error& error) {
        bCaught = true;
        QCOMPARE(bytesOf(error.message()), QByteArray("Null handle"));
    }
    QVERIFY(bCaught);
    // The exception's message is gone with it.
    QCOMPARE(MString("probe").instanceCount(), nBefore);

    try {
        throw MTools::Error(MString("from a string"));
    } catch (...) {
        bCaught = false;
    }
    QVERIFY(!bCaught);
}

QTEST_GUILESS_MAIN(TestMString)
#include "tst_mstring.moc"
