#include "DebugMessages.h"
#include "FrameCount.h"
#include "Timecode.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QtTest>

#include <cmath>
#include <limits>

namespace {

constexpr qint64 kUnset = std::numeric_limits<qint64>::min();
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

QString fields(const MTools::FrameCount& value, bool wholeDay = false, int frameOffset = 0, bool pulldown = false,
               int phase = 0)
{
    int h = -1, m = -1, s = -1, f = -1;
    value.timecodeFromFrameCount(h, m, s, f, wholeDay, frameOffset, pulldown, phase);
    return QStringLiteral("%1 %2 %3 %4").arg(h).arg(m).arg(s).arg(f);
}

void expectGuardMessage()
{
    static const QRegularExpression guard(
        QStringLiteral("^unexpected ERROR in \\.\\.\\\\\\.\\.\\\\\\.\\.\\\\\\.\\.\\\\libs\\\\cpp\\\\MTools\\\\FrameCount:\\d+$"));
    QTest::ignoreMessage(QtDebugMsg, guard);
}

}  // namespace

class TestFrameCount : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void timecodeText_data();
    void timecodeText();
    void countFromTimecode_data();
    void countFromTimecode();
    void dropFrameWholeDayRoundTrip_data();
    void dropFrameWholeDayRoundTrip();
    void pulldownTablesRoundTrip();
    void pulldownVectors_data();
    void pulldownVectors();
    void pulldownOutsideTheTables();
    void countFromString_data();
    void countFromString();
    void packedSmpte_data();
    void packedSmpte();
    void packedSmpteCache();
    void state();
    void guardedOperationsOnUnknownCount();
    void rates_data();
    void rates();
    void formatTimecode_data();
    void formatTimecode();
    void currentTimeStamp();
    void positions_data();
    void positions();
};

void TestFrameCount::initTestCase()
{
    TestSupport::enableDebugMessages();
}

void TestFrameCount::timecodeText_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<float>("fps");
    QTest::addColumn<bool>("wholeDay");
    QTest::addColumn<QString>("text");
    QTest::newRow("0 at 25") << qint64(0) << 25.0f << false << "00:00:00:00";
    QTest::newRow("90000 at 25") << qint64(90000) << 25.0f << false << "01:00:00:00";
    QTest::newRow("-1 at 25") << qint64(-1) << 25.0f << false << "23:59:59:24";
    QTest::newRow("1800 at 29.97") << qint64(1800) << 29.97f << false << "00;01;00;02";
    QTest::newRow("1799 at 29.97") << qint64(1799) << 29.97f << false << "00;00;59;29";
    QTest::newRow("17982 at 29.97") << qint64(17982) << 29.97f << false << "00;10;00;00";
    QTest::newRow("day at 29.97") << qint64(2589408) << 29.97f << false << "00;00;00;00";
    QTest::newRow("day at 29.97, whole") << qint64(2589408) << 29.97f << true << "24;00;00;00";
    QTest::newRow("day - 1 at 29.97") << qint64(2589407) << 29.97f << false << "23;59;59;29";
    QTest::newRow("1440 at 23.98") << qint64(1440) << 23.98f << false << "00;01;00;02";
    QTest::newRow("day at 23.98, whole") << qint64(2071008) << 23.98f << true << "24;00;00;00";
    QTest::newRow("two days, whole") << qint64(2 * 2160000) << 25.0f << true << "24:00:00:00";
    QTest::newRow("59.94 counts 59") << qint64(59) << 59.94f << false << "00:00:01:00";
    QTest::newRow("30000/1001 is no drop rate") << qint64(1800) << float(30000.0 / 1001.0) << false << "00:01:02:02";
    QTest::newRow("low 32 bits") << (qint64(1) << 32) + 25 << 25.0f << false << "00:00:01:00";
    QTest::newRow("unset count") << kUnset << 30.0f << false << "00:00:00:00";
    QTest::newRow("rate 0") << qint64(100) << 0.0f << false << "";
}

void TestFrameCount::timecodeText()
{
    QFETCH(qint64, count);
    QFETCH(float, fps);
    QFETCH(bool, wholeDay);
    QFETCH(QString, text);
    QCOMPARE(MTools::FrameCount(count, fps).toTimecodeString(wholeDay, false, 0, false), text);
}

void TestFrameCount::countFromTimecode_data()
{
    QTest::addColumn<float>("fps");
    QTest::addColumn<int>("h");
    QTest::addColumn<int>("m");
    QTest::addColumn<int>("s");
    QTest::addColumn<int>("f");
    QTest::addColumn<qint64>("count");
    QTest::newRow("00:01:00:02 at 29.97") << 29.97f << 0 << 1 << 0 << 2 << qint64(1800);
    QTest::newRow("00:10:00:00 at 29.97") << 29.97f << 0 << 10 << 0 << 0 << qint64(17982);
    QTest::newRow("00:01:00:02 at 23.98") << 23.98f << 0 << 1 << 0 << 2 << qint64(1440);
    QTest::newRow("01:00:00:00 at 25") << 25.0f << 1 << 0 << 0 << 0 << qint64(90000);
    QTest::newRow("01:02:03:04 at 30") << 30.0f << 1 << 2 << 3 << 4 << qint64(108000 + 3600 + 90 + 4);
    QTest::newRow("negative rate by magnitude") << -25.0f << 1 << 0 << 0 << 0 << qint64(90000);
    // 30000 hours at 24 fps is 2592000000 frames, past 2^31 - 1: the sum wraps.
    QTest::newRow("wraps at 32 bits") << 24.0f << 30000 << 0 << 0 << 0 << qint64(2592000000LL - 4294967296LL);
    QTest::newRow("rate 0") << 0.0f << 1 << 0 << 0 << 0 << kUnset;
    QTest::newRow("rate 0.5") << 0.5f << 1 << 0 << 0 << 0 << kUnset;
    QTest::newRow("rate NaN") << kNaN << 1 << 0 << 0 << 0 << kUnset;
}

void TestFrameCount::countFromTimecode()
{
    QFETCH(float, fps);
    QFETCH(int, h);
    QFETCH(int, m);
    QFETCH(int, s);
    QFETCH(int, f);
    QFETCH(qint64, count);
    const MTools::FrameCount value(1234, fps);
    QCOMPARE(value.frameCountFromTimecode(h, m, s, f), count);

    MTools::FrameCount set;
    set.setFromTimecode(h, m, s, f, fps);
    QCOMPARE(set.frameCountFromTimecode(h, m, s, f), count);
    if (count != kUnset)
        QCOMPARE(set.frameCount(), count);
}

void TestFrameCount::dropFrameWholeDayRoundTrip_data()
{
    QTest::addColumn<float>("fps");
    QTest::addColumn<int>("perSecond");
    QTest::addColumn<int>("day");
    QTest::newRow("29.97") << 29.97f << 30 << 2589408;
    QTest::newRow("23.98") << 23.98f << 24 << 2071008;
}

void TestFrameCount::dropFrameWholeDayRoundTrip()
{
    QFETCH(float, fps);
    QFETCH(int, perSecond);
    QFETCH(int, day);
    int previous = -1;
    for (int n = 0; n < day; ++n) {
        const MTools::FrameCount value(n, fps);
        int h, m, s, f;
        value.timecodeFromFrameCount(h, m, s, f);
        if (value.frameCountFromTimecode(h, m, s, f) != n)
            QFAIL(qPrintable(QStringLiteral("count %1 reads back as %2").arg(n).arg(value.frameCountFromTimecode(h, m, s, f))));
        // Frame labels 0 and 1 exist only in every tenth minute.
        if (s == 0 && f < 2 && m % 10 != 0)
            QFAIL(qPrintable(QStringLiteral("count %1 has the skipped label %2").arg(n).arg(value.toTimecodeString())));
        const int label = ((h * 60 + m) * 60 + s) * perSecond + f;
        if (label <= previous)
            QFAIL(qPrintable(QStringLiteral("count %1 does not move forward").arg(n)));
        previous = label;
    }
}

void TestFrameCount::pulldownTablesRoundTrip()
{
    // Film frame -> video frame -> film frame at every phase (film frame 23
    // at phase 4 goes to the next second).
    for (int phase = 1; phase <= 4; ++phase) {
        for (int film = 0; film < 24; ++film) {
            if (film == 23 && phase == 4)
                continue;
            const MTools::FrameCount value(film, 24.0f);
            int h, m, s, video;
            value.timecodeFromFrameCount(h, m, s, video, false, 0, true, phase);
            QCOMPARE(h + m + s, 0);
            int field = 7;
            const qint64 back = value.frameCountFromTimecode(0, 0, 0, video, true, phase, &field);
            if (back != film)
                QFAIL(qPrintable(QStringLiteral("film %1 phase %2 -> video %3 -> film %4").arg(film).arg(phase).arg(video).arg(back)));
            QVERIFY(field == 0 || field == 1);
        }
    }
}

void TestFrameCount::pulldownVectors_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<int>("phase");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("fields");
    QTest::newRow("film 1 phase 1") << qint64(1) << 1 << 0 << "0 0 0 1";
    QTest::newRow("film 1 phase 2") << qint64(1) << 2 << 0 << "0 0 0 2";
    QTest::newRow("film 7 phase 4") << qint64(7) << 4 << 0 << "0 0 0 10";
    QTest::newRow("film 0 phase 3") << qint64(0) << 3 << 0 << "0 0 0 1";
    QTest::newRow("film 23 phase 4 carries") << qint64(23) << 4 << 0 << "0 0 1 0";
    QTest::newRow("film 23 phase 1 + 5 carries") << qint64(23) << 1 << 5 << "0 0 1 4";
    QTest::newRow("last frame of the day wraps") << qint64(24 * 86400 - 1) << 4 << 0 << "0 0 0 0";
    QTest::newRow("59:59 carries into the hour") << qint64(24 * 3599 + 23) << 4 << 0 << "1 0 0 0";
    QTest::newRow("borrow before the day") << qint64(0) << 1 << -1 << "23 59 59 29";
    QTest::newRow("borrow a second") << qint64(24 * 61) << 1 << -2 << "0 1 0 28";
}

void TestFrameCount::pulldownVectors()
{
    QFETCH(qint64, count);
    QFETCH(int, phase);
    QFETCH(int, offset);
    QFETCH(QString, fields);
    QCOMPARE(::fields(MTools::FrameCount(count, 24.0f), false, offset, true, phase), fields);
}

void TestFrameCount::pulldownOutsideTheTables()
{
    // A wrong phase keeps the film timecode.
    QTest::ignoreMessage(QtDebugMsg, "FrameCount::timecodeFromFrameCount wrong pulldown phase value: 5");
    QCOMPARE(fields(MTools::FrameCount(30, 24.0f), false, 0, true, 5), QStringLiteral("0 0 1 6"));
    // Film frames past 23 (here at 30 fps) have no row in the table.
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("pulldown table: 29$"));
    QCOMPARE(fields(MTools::FrameCount(29, 30.0f), false, 0, true, 1), QStringLiteral("0 0 0 29"));

    const MTools::FrameCount value(0, 24.0f);
    int field = 7;
    QCOMPARE(value.frameCountFromTimecode(0, 0, 1, 2, true, 1, &field), qint64(24 + 1));
    QCOMPARE(field, 1);
    QCOMPARE(value.frameCountFromTimecode(0, 0, 0, 0, true, 3, &field), qint64(0));
    QCOMPARE(field, -1);
    // At 29.97 the film count drops two per minute like any drop rate.
    QCOMPARE(MTools::FrameCount(0, 29.97f).frameCountFromTimecode(0, 1, 0, 0, true, 1), qint64(1440 - 2));

    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("outside the pulldown table$"));
    QCOMPARE(value.frameCountFromTimecode(0, 0, 0, 30, true, 1), kUnset);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("outside the pulldown table$"));
    QCOMPARE(value.frameCountFromTimecode(0, 0, 0, -1, true, 1), kUnset);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("outside the pulldown table$"));
    QCOMPARE(value.frameCountFromTimecode(0, 0, 0, 5, true, 0), kUnset);
}

void TestFrameCount::countFromString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("fps");
    QTest::addColumn<bool>("pulldown");
    QTest::addColumn<qint64>("count");
    QTest::newRow("drop frame") << "00;01;00;02" << 29.97f << false << qint64(1800);
    QTest::newRow("separators not read") << "01x00y00z00" << 25.0f << false << qint64(90000);
    QTest::newRow("leading digits only") << "0x:01:00:00" << 25.0f << false << qint64(1500);
    QTest::newRow("no digits count 0") << "ab:cd:ef:gh" << 25.0f << false << qint64(0);
    QTest::newRow("pulldown") << "00:00:01:02" << 24.0f << true << qint64(25);
    QTest::newRow("10 characters") << "00:00:01:0" << 25.0f << false << kUnset;
    QTest::newRow("12 characters") << "00:00:01:000" << 25.0f << false << kUnset;
    QTest::newRow("empty") << "" << 25.0f << false << kUnset;
}

void TestFrameCount::countFromString()
{
    QFETCH(QString, text);
    QFETCH(float, fps);
    QFETCH(bool, pulldown);
    QFETCH(qint64, count);
    QCOMPARE(MTools::FrameCount(0, fps).frameCountFromString(text, pulldown, pulldown ? 1 : 0), count);
}

void TestFrameCount::packedSmpte_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<float>("fps");
    QTest::addColumn<uint>("packed");
    // BCD digits: hour tens in bits 28-31 down to frame units in bits 0-3;
    // bit 6 marks drop frame.
    QTest::newRow("01:02:03:04 at 25") << qint64(90000 + 3000 + 75 + 4) << 25.0f << 0x01020304u;
    QTest::newRow("23:59:59:29 at 30") << qint64(30 * 86400 - 1) << 30.0f << 0x23595929u;
    QTest::newRow("00;10;00;00 at 29.97") << qint64(17982) << 29.97f << 0x00100040u;
    QTest::newRow("00;01;00;02 at 29.97") << qint64(1800) << 29.97f << 0x00010042u;
    QTest::newRow("00;01;00;02 at 23.98") << qint64(1440) << 23.98f << 0x00010042u;
}

void TestFrameCount::packedSmpte()
{
    QFETCH(qint64, count);
    QFETCH(float, fps);
    QFETCH(uint, packed);
    MTools::FrameCount value(count, fps);
    QCOMPARE(value.smpteTimecode(), quint32(packed));

    // A word read back keeps its rate and count.
    MTools::FrameCount read;
    read.setFromSmpte(packed, fps);
    QCOMPARE(read.frameCount(), count);
    QVERIFY(read == MTools::FrameCount(count, fps));
    QCOMPARE(read.smpteTimecode(), quint32(packed));
    MTools::FrameCount readRateFirst;
    readRateFirst.setFromSmpte(fps, packed);
    QVERIFY(readRateFirst == read);
}

void TestFrameCount::packedSmpteCache()
{
    // Words without the drop-frame bit read at 30 or 24 fps.
    MTools::FrameCount value;
    value.setFromSmpte(0x00100000u, 29.97f);
    QVERIFY(value == MTools::FrameCount(18000, 30.0f));
    value.setFromSmpte(0x00010002u, 23.98f);
    QVERIFY(value == MTools::FrameCount(1442, 24.0f));
    value.setFromSmpte(0x00000100u, 50.0f);
    QVERIFY(value == MTools::FrameCount(30, 30.0f));
    // The word read is what smpteTimecode() gives, even bits it does not read.
    value.setFromSmpte(0x80000080u, 25.0f);
    QCOMPARE(value.smpteTimecode(), 0x80000080u);
    QCOMPARE(value.frameCount(), qint64(0));

    // A new count or rate replaces the cached word.
    MTools::FrameCount cached(0, 25.0f);
    QCOMPARE(cached.smpteTimecode(), 0u);
    cached.setFrameCount(90001);
    QCOMPARE(cached.smpteTimecode(), 0x01000001u);
    cached.setFrameRate(50.0f);
    QCOMPARE(cached.smpteTimecode(), 0x01000002u);
    // clear() keeps the word.
    cached.clear();
    QCOMPARE(cached.smpteTimecode(), 0x01000002u);

    MTools::FrameCount unknown;
    unknown.clear();
    MTools::FrameCount copy(unknown);
    QTest::ignoreMessage(QtDebugMsg, "FrameCount::smpteTimecode() wille framecount is unkonwn");
    QCOMPARE(copy.smpteTimecode(), 0u);

    // A BCD frames digit past 29 must not read outside the pulldown table.
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("outside the pulldown table$"));
    value.setFromSmpte(0x0000003Fu, 24.0f, true, 1);
    QCOMPARE(value.frameCount(), kUnset);
}

void TestFrameCount::state()
{
    const MTools::FrameCount none;
    QVERIFY(none == MTools::FrameCount(kUnset, 30.0f));
    QCOMPARE(none.frameCount(), kUnset);
    QCOMPARE(none.toTimecodeString(), QStringLiteral("00:00:00:00"));

    MTools::FrameCount a(10, 25.0f);
    MTools::FrameCount b(20, 25.0f);
    QVERIFY(a < b);
    QVERIFY(b > a);
    QVERIFY(!(a > a));
    QVERIFY(!(a == b));
    QVERIFY(!(MTools::FrameCount(10, 25.0f) == MTools::FrameCount(10, 30.0f)));
    MTools::FrameCount& same = a;
    a = same;
    QVERIFY(a == MTools::FrameCount(10, 25.0f));
    b = a;
    QVERIFY(b == a);
    b.setFrameCount(-5);
    QCOMPARE(b.frameCount(), qint64(-5));

    QTest::ignoreMessage(QtDebugMsg, "frame = -5");
    b.printDebug();
    MTools::FrameCount cleared(b);
    cleared.clear();
    cleared.printDebug();  // says nothing
    // A copy of an unknown count is unknown and unset.
    MTools::FrameCount copy;
    copy = cleared;
    QVERIFY(copy == cleared);
    QCOMPARE(a.formatTimecode(1, 2, 3, 4, true), QStringLiteral("01;02;03;04"));
}

void TestFrameCount::guardedOperationsOnUnknownCount()
{
    MTools::FrameCount unknown(99, 25.0f);
    unknown.clear();
    const MTools::FrameCount known(1, 25.0f);

    expectGuardMessage();
    QCOMPARE(unknown.frameCount(), qint64(-1));
    expectGuardMessage();
    QVERIFY(!(unknown < known));
    expectGuardMessage();
    QVERIFY(!(known > unknown));
    expectGuardMessage();
    QCOMPARE(fields(unknown), QStringLiteral("0 0 0 0"));
    expectGuardMessage();
    QCOMPARE(unknown.frameCountAtRate(25.0f), kUnset);
}

void TestFrameCount::rates_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<float>("fps");
    QTest::addColumn<float>("newRate");
    QTest::addColumn<qint64>("converted");
    QTest::addColumn<QString>("text");
    QTest::newRow("25 to 50") << qint64(25) << 25.0f << 50.0f << qint64(50) << "00:00:01:00";
    QTest::newRow("30 to 29.97 rounds") << qint64(18000) << 30.0f << 29.97f << qint64(17982) << "00:10:00:00";
    QTest::newRow("negative count truncates") << qint64(-10) << 30.0f << 29.0f << qint64(-9) << "23:59:59:20";
    // 2^40 + 1 has no float form: the conversion must not go through float.
    QTest::newRow("beyond float") << (qint64(1) << 40) + 1 << 25.0f << 50.0f << (qint64(1) << 41) + 2 << "00:00:00:01";
    QTest::newRow("stored rate -25") << qint64(25) << -25.0f << 50.0f << qint64(50) << "00:00:01:00";
    // The audio library's rate -1 counts as 1 fps.
    QTest::newRow("rate -1") << qint64(3661) << -1.0f << 2.0f << qint64(7322) << "01:01:01:00";
    QTest::newRow("stored rate 0") << qint64(25) << 0.0f << 25.0f << kUnset << "";
    QTest::newRow("stored rate 0.5") << qint64(25) << 0.5f << 25.0f << kUnset << "";
    QTest::newRow("stored rate NaN") << qint64(25) << kNaN << 25.0f << kUnset << "";
    QTest::newRow("stored rate infinite") << qint64(25) << kInf << 25.0f << kUnset << "";
    QTest::newRow("new rate NaN counts 0") << qint64(25) << 25.0f << kNaN << qint64(0) << "00:00:01:00";
    QTest::newRow("huge rate") << qint64(1000) << 1e30f << 1e30f << qint64(1000) << "00:00:00:1000";
}

void TestFrameCount::rates()
{
    QFETCH(qint64, count);
    QFETCH(float, fps);
    QFETCH(float, newRate);
    QFETCH(qint64, converted);
    QFETCH(QString, text);
    MTools::FrameCount value(count, fps);
    QCOMPARE(value.toTimecodeString(), text);
    QCOMPARE(value.frameCountAtRate(newRate), converted);
    // The stored rate is made positive on the way.
    QVERIFY(value == MTools::FrameCount(count, std::fabs(fps)) || fps != fps);
    if (text.isEmpty())
        QCOMPARE(fields(value), QStringLiteral("0 0 0 0"));

    value.setFrameRate(newRate);
    QCOMPARE(value.frameCount(), converted);
}

void TestFrameCount::formatTimecode_data()
{
    QTest::addColumn<bool>("drop");
    QTest::addColumn<float>("fps");
    QTest::addColumn<bool>("rateMark");
    QTest::addColumn<QString>("text");
    QTest::newRow("mark at 24") << false << 24.0f << true << "01:02:03+04";
    QTest::newRow("mark at 25") << false << 25.0f << true << "01:02:03:04";
    QTest::newRow("mark at 30") << false << 30.0f << true << "01:02:03:04";
    QTest::newRow("mark at 29.97 without drop") << false << 29.97f << true << "01:02:03+04";
    QTest::newRow("mark with drop") << true << 24.0f << true << "01;02;03;04";
    QTest::newRow("drop, no mark") << true << 25.0f << false << "01;02;03;04";
    QTest::newRow("no mark at 24") << false << 24.0f << false << "01:02:03:04";
}

void TestFrameCount::formatTimecode()
{
    QFETCH(bool, drop);
    QFETCH(float, fps);
    QFETCH(bool, rateMark);
    QFETCH(QString, text);
    QCOMPARE(MTools::formatTimecode(1, 2, 3, 4, drop, fps, rateMark), text);
    // Fields wider than a timecode print whole.
    QCOMPARE(MTools::formatTimecode(-2147483647 - 1, 123456, 7, 2147483647, false, 25.0f, false),
             QStringLiteral("-2147483648:123456:07:2147483647"));
}

void TestFrameCount::currentTimeStamp()
{
    const QDateTime before = QDateTime::currentDateTime();
    const QString stamp = MTools::currentTimeStamp();
    const QDateTime after = QDateTime::currentDateTime();
    QCOMPARE(stamp.size(), 23);
    QVERIFY2(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d_\\d\\d:\\d\\d:\\d\\d:\\d{3}$").match(stamp).hasMatch(),
             qPrintable(stamp));
    const QDateTime read = QDateTime::fromString(stamp, QStringLiteral("yyyy-MM-dd_hh:mm:ss:zzz"));
    QVERIFY(read.isValid());
    QVERIFY(before <= read && read <= after);
}

void TestFrameCount::positions_data()
{
    QTest::addColumn<QString>("function");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<int>("kind");
    QTest::addColumn<float>("fps");
    QTest::addColumn<int>("otherRate");
    QTest::addColumn<int>("sampleRate");
    QTest::addColumn<qint64>("result");
    const int F = MTools::kPositionFrames;
    const int S = MTools::kPositionSamples;
    QTest::newRow("to samples: frames") << "toSamples" << qint64(25) << F << 25.0f << 0 << 48000 << qint64(48000);
    QTest::newRow("to samples: 29.97") << "toSamples" << qint64(30) << F << 29.97f << 0 << 48000 << qint64(48048);
    QTest::newRow("to samples: truncates toward 0") << "toSamples" << qint64(-1) << F << 29.97f << 0 << 48000 << qint64(-1601);
    QTest::newRow("to samples: fps 0") << "toSamples" << qint64(25) << F << 0.0f << 0 << 48000 << qint64(0);
    QTest::newRow("to samples: overflow") << "toSamples" << std::numeric_limits<qint64>::max() << F << 1.0f << 0 << 48000 << kUnset;
    QTest::newRow("to samples: NaN") << "toSamples" << qint64(25) << F << kNaN << 0 << 48000 << kUnset;
    QTest::newRow("to samples: resample") << "toSamples" << qint64(44100) << S << 0.0f << 44100 << 48000 << qint64(48000);
    QTest::newRow("to samples: equal rates") << "toSamples" << qint64(12345) << S << 0.0f << 48000 << 48000 << qint64(12345);
    QTest::newRow("to samples: rate 0") << "toSamples" << qint64(12345) << S << 0.0f << 0 << 48000 << qint64(0);
    QTest::newRow("to samples: exact beyond 2^53") << "toSamples" << (qint64(1) << 60) + 1 << S << 0.0f << 1 << 2 << (qint64(1) << 61) + 2;
    QTest::newRow("to samples: other kind") << "toSamples" << qint64(77) << 1 << 25.0f << 1 << 2 << qint64(77);
    QTest::newRow("to position: frames") << "toPosition" << qint64(48000) << F << 25.0f << 0 << 48000 << qint64(25);
    QTest::newRow("to position: samples") << "toPosition" << qint64(48000) << S << 0.0f << 44100 << 48000 << qint64(44100);
    QTest::newRow("to position: equal") << "toPosition" << qint64(5) << S << 0.0f << 48000 << 48000 << qint64(5);
    QTest::newRow("to position: rate 0") << "toPosition" << qint64(48000) << F << 25.0f << 0 << 0 << qint64(0);
    QTest::newRow("to position: other kind") << "toPosition" << qint64(9) << 0 << 25.0f << 1 << 0 << qint64(9);
    QTest::newRow("resampled to frames") << "samplesToFramesResampled" << qint64(44100) << 0 << 25.0f << 44100 << 48000 << qint64(25);
    // 100 samples at 3 Hz are 66 (not 66.7) at 2 Hz, so 990 frames at 30 fps.
    QTest::newRow("resampled to frames truncates between") << "samplesToFramesResampled" << qint64(100) << 0 << 30.0f << 3 << 2 << qint64(990);
    QTest::newRow("resampled to frames: file rate 0") << "samplesToFramesResampled" << qint64(100) << 0 << 30.0f << 0 << 2 << qint64(0);
    QTest::newRow("resampled to frames: rate 0") << "samplesToFramesResampled" << qint64(100) << 0 << 30.0f << 3 << 0 << qint64(0);
    QTest::newRow("resampled to samples") << "framesToSamplesResampled" << qint64(25) << 0 << 25.0f << 44100 << 48000 << qint64(44100);
    QTest::newRow("resampled to samples: same rate") << "framesToSamplesResampled" << qint64(25) << 0 << 25.0f << 48000 << 48000 << qint64(48000);
    QTest::newRow("resampled to samples: fps 0") << "framesToSamplesResampled" << qint64(25) << 0 << 0.0f << 44100 << 48000 << qint64(0);
    QTest::newRow("resampled to samples: rate 0") << "framesToSamplesResampled" << qint64(25) << 0 << 25.0f << 44100 << 0 << qint64(0);
    QTest::newRow("samples to frames") << "samplesToFrames" << qint64(96000) << 0 << 25.0f << 0 << 48000 << qint64(50);
    QTest::newRow("samples to frames: 29.97") << "samplesToFrames" << qint64(48000) << 0 << 29.97f << 0 << 48000 << qint64(29);
    QTest::newRow("samples to frames: rate 0") << "samplesToFrames" << qint64(96000) << 0 << 25.0f << 0 << 0 << qint64(0);
    QTest::newRow("frames to samples") << "framesToSamples" << qint64(3) << 0 << 25.0f << 0 << 48000 << qint64(5760);
    QTest::newRow("frames to samples: fps 0") << "framesToSamples" << qint64(3) << 0 << 0.0f << 0 << 48000 << qint64(0);
}

void TestFrameCount::positions()
{
    QFETCH(QString, function);
    QFETCH(qint64, value);
    QFETCH(int, kind);
    QFETCH(float, fps);
    QFETCH(int, otherRate);
    QFETCH(int, sampleRate);
    QFETCH(qint64, result);
    qint64 actual = 0;
    if (function == "toSamples")
        actual = MTools::positionToSamples(value, kind, fps, otherRate, sampleRate);
    else if (function == "toPosition")
        actual = MTools::samplesToPosition(value, kind, fps, otherRate, sampleRate);
    else if (function == "samplesToFramesResampled")
        actual = MTools::samplesToFramesResampled(value, fps, otherRate, sampleRate);
    else if (function == "framesToSamplesResampled")
        actual = MTools::framesToSamplesResampled(value, fps, otherRate, sampleRate);
    else if (function == "samplesToFrames")
        actual = MTools::samplesToFrames(value, fps, unsigned(sampleRate));
    else if (function == "framesToSamples")
        actual = MTools::framesToSamples(value, fps, unsigned(sampleRate));
    else
        QFAIL("unknown function");
    QCOMPARE(actual, result);
}

QTEST_GUILESS_MAIN(TestFrameCount)
#include "tst_framecount.moc"
