#include "Calendar.h"
#include "EmailRegExp.h"
#include "PackedDate.h"
#include "PackedTime.h"

#include <QCoreApplication>
#include <QTranslator>
#include <QtTest>

#include <limits>

namespace {

// Translates a few texts of the context "QObject", as a German catalogue
// would, including one the library must not translate.
class GermanNames : public QTranslator
{
public:
    QString translate(const char* context, const char* source, const char* = nullptr, int = -1) const override
    {
        if (qstrcmp(context, "QObject") != 0)
            return QString();
        if (qstrcmp(source, "May") == 0)
            return QStringLiteral("Mai");
        if (qstrcmp(source, "Sunday") == 0)
            return QStringLiteral("Sonntag");
        if (qstrcmp(source, "Unknown") == 0)
            return QStringLiteral("Unbekannt");
        return QString();
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

class TestCalendar : public QObject
{
    Q_OBJECT

private slots:
    void packedDate_data();
    void packedDate();
    void packedTime();
    void names();
    void translatedNames();
    void age_data();
    void age();
    void zodiac_data();
    void zodiac();
    void zodiacMeaning();
    void moonAge_data();
    void moonAge();
    void moonAgeOverTwoCenturies();
    void moonPhase_data();
    void moonPhase();
    void yearSeconds();
    void timeFromDurations_data();
    void timeFromDurations();
    void emailPattern_data();
    void emailPattern();
};

void TestCalendar::packedDate_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("packed");
    QTest::addColumn<int>("readYear");
    QTest::newRow("7 March 2014") << 2014 << 3 << 7 << (44 << 9 | 3 << 5 | 7) << 2014;
    QTest::newRow("first day") << 1970 << 1 << 1 << (1 << 5 | 1) << 1970;
    QTest::newRow("last year") << 2097 << 12 << 31 << (127 << 9 | 12 << 5 | 31) << 2097;
    QTest::newRow("2098 wraps to 1970") << 2098 << 1 << 2 << (1 << 5 | 2) << 1970;
    QTest::newRow("1969 wraps to 2097") << 1969 << 6 << 30 << (127 << 9 | 6 << 5 | 30) << 2097;
}

void TestCalendar::packedDate()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(int, packed);
    QFETCH(int, readYear);
    const MTools::PackedDate fromDate(QDate(year, month, day));
    QCOMPARE(int(fromDate.toUInt16()), packed);
    const MTools::PackedDate fromNumbers(year, uchar(month), day);
    QCOMPARE(int(fromNumbers.toUInt16()), packed);
    QCOMPARE(fromDate.year(), readYear);
    QCOMPARE(fromDate.month(), month);
    QCOMPARE(fromDate.day(), day);

    MTools::PackedDate read(QDate(2000, 1, 1));
    MTools::setPackedDate(read, quint16(packed));
    QCOMPARE(read.year(), readYear);
    QCOMPARE(read.month(), month);
    QCOMPARE(read.day(), day);

    MTools::PackedDate copy(read);
    MTools::PackedDate assigned(QDate(1999, 9, 9));
    QCOMPARE((assigned = copy).toUInt16(), quint16(packed));
}

void TestCalendar::packedTime()
{
    const MTools::PackedTime time(QTime(13, 45, 31));
    QCOMPARE(time.asDosTime(), quint16(13 << 11 | 45 << 5 | 15));
    QCOMPARE(int(time.asDosTime()), 28079);
    QCOMPARE(time.second(), 31);

    // DOS time keeps seconds in steps of two.
    MTools::PackedTime read(0, 0, 0);
    MTools::setPackedTimeFromDos(read, 28079);
    QCOMPARE(read.hour(), 13);
    QCOMPARE(read.minute(), 45);
    QCOMPARE(read.second(), 30);

    // Fields are cut to 5, 6 and 6 bits.
    const MTools::PackedTime cut(33, uchar(64 + 5), uchar(70));
    QCOMPARE(cut.hour(), 1);
    QCOMPARE(cut.minute(), 5);
    QCOMPARE(cut.second(), 6);

    MTools::PackedTime assigned(1, 2, 3);
    assigned = time;
    QCOMPARE(assigned.asDosTime(), time.asDosTime());
    QCOMPARE(MTools::PackedTime(23, 59, 59).asDosTime(), quint16(23 << 11 | 59 << 5 | 29));
}

void TestCalendar::names()
{
    QCOMPARE(MTools::dayName(0), QStringLiteral("Monday"));
    QCOMPARE(MTools::dayName(6), QStringLiteral("Sunday"));
    QCOMPARE(MTools::dayName(7), QStringLiteral("Unknown"));
    QCOMPARE(MTools::dayName(-1), QStringLiteral("Unknown"));
    QCOMPARE(MTools::monthName(1), QStringLiteral("January"));
    QCOMPARE(MTools::monthName(5), QStringLiteral("May"));
    QCOMPARE(MTools::monthName(12), QStringLiteral("December"));
    QCOMPARE(MTools::monthName(0), QStringLiteral("Unknown"));
    QCOMPARE(MTools::monthName(13), QStringLiteral("Unknown"));
    QCOMPARE(MTools::monthName(-1), QStringLiteral("Unknown"));
}

void TestCalendar::translatedNames()
{
    GermanNames german;
    QVERIFY(QCoreApplication::installTranslator(&german));
    const QString may = MTools::monthName(5);
    const QString sunday = MTools::dayName(6);
    const QString unknown = MTools::monthName(13);
    const QString june = MTools::monthName(6);
    QCoreApplication::removeTranslator(&german);
    QCOMPARE(may, QStringLiteral("Mai"));
    QCOMPARE(sunday, QStringLiteral("Sonntag"));
    QCOMPARE(unknown, QStringLiteral("Unknown"));
    QCOMPARE(june, QStringLiteral("June"));
}

void TestCalendar::age_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("age");
    // Born 15 March 2000.
    QTest::newRow("day before the birthday") << QDate(2024, 3, 14) << 23;
    QTest::newRow("on the birthday") << QDate(2024, 3, 15) << 24;
    QTest::newRow("month before") << QDate(2024, 2, 20) << 23;
    QTest::newRow("month after") << QDate(2024, 4, 1) << 24;
    QTest::newRow("day of birth") << QDate(2000, 3, 15) << 0;
}

void TestCalendar::age()
{
    QFETCH(QDate, today);
    QFETCH(int, age);
    QCOMPARE(MTools::ageInYears(QDate(2000, 3, 15), today), age);
    QCOMPARE(MTools::ageInYears(QDate::currentDate().addYears(-10)), 10);
}

void TestCalendar::zodiac_data()
{
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<int>("year");
    QTest::addColumn<QString>("sign");
    struct Edge { int month, day; const char* sign; };
    // The first and last day of every sign.
    const Edge edges[] = {
        {3, 20, "Pisces"}, {3, 21, "Aries"}, {4, 20, "Aries"}, {4, 21, "Taurus"}, {5, 21, "Taurus"},
        {5, 22, "Gemini"}, {6, 21, "Gemini"}, {6, 22, "Cancer"}, {7, 22, "Cancer"}, {7, 23, "Leo"},
        {8, 23, "Leo"}, {8, 24, "Virgo"}, {9, 23, "Virgo"}, {9, 24, "Libra"}, {10, 23, "Libra"},
        {10, 24, "Scorpio"}, {11, 22, "Scorpio"}, {11, 23, "Sagittarius"}, {12, 21, "Sagittarius"},
        {12, 22, "Capricom"}, {12, 31, "Capricom"}, {1, 1, "Capricom"}, {1, 23, "Capricom"},
        {1, 24, "Aquarius"}, {2, 19, "Aquarius"}, {2, 20, "Pisces"},
    };
    for (const Edge& e : edges)
        QTest::addRow("%02d-%02d", e.month, e.day) << QDate(1990, e.month, e.day) << 2023 << QString(e.sign);
    QTest::newRow("29 February, leap year") << QDate(1996, 2, 29) << 2024 << "Pisces";
    QTest::newRow("29 February, common year") << QDate(1996, 2, 29) << 2023 << "";
    QTest::newRow("invalid date") << QDate() << 2023 << "";
}

void TestCalendar::zodiac()
{
    QFETCH(QDate, birth);
    QFETCH(int, year);
    QFETCH(QString, sign);
    QCOMPARE(MTools::zodiacSign(birth, year), sign);
    if (birth.month() != 2 || birth.day() != 29)
        QCOMPARE(MTools::zodiacSign(birth), sign);
}

void TestCalendar::zodiacMeaning()
{
    QCOMPARE(MTools::zodiacMeaning("Aries"), QStringLiteral("The Ram"));
    QCOMPARE(MTools::zodiacMeaning("Capricom"), QStringLiteral("The Sea-Goat"));
    QCOMPARE(MTools::zodiacMeaning("Aquarius"), QStringLiteral("The Water-Bearer"));
    QCOMPARE(MTools::zodiacMeaning("Pisces"), QStringLiteral("The Fishes"));
    QCOMPARE(MTools::zodiacMeaning("aries"), QString());
    QCOMPARE(MTools::zodiacMeaning("Capricorn"), QString());
    QCOMPARE(MTools::zodiacMeaning(""), QString());
}

void TestCalendar::moonAge_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("age");
    // Ages worked out step by step in single precision.
    QTest::newRow("6 January 2000") << QDate(2000, 1, 6) << 0;
    QTest::newRow("full moon 21 January 2000") << QDate(2000, 1, 21) << 15;
    QTest::newRow("4 February 2000") << QDate(2000, 2, 4) << 29;
    QTest::newRow("new moon 8 May 2024") << QDate(2024, 5, 8) << 0;
    QTest::newRow("7 March 2014") << QDate(2014, 3, 7) << 6;
    // Two days before the formula's day 0: floor, not truncation.
    QTest::newRow("31 December 1964") << QDate(1964, 12, 31) << 27;
    QTest::newRow("1 January 1900") << QDate(1900, 1, 1) << 0;
}

void TestCalendar::moonAge()
{
    QFETCH(QDate, date);
    QFETCH(int, age);
    QCOMPARE(MTools::moonAge(date), age);
}

void TestCalendar::moonAgeOverTwoCenturies()
{
    // The age rises by one a day and falls back to 0 after 28 or 29. The
    // formula's year term (3/400 of the year, not of whole centuries) holds
    // the day count still on 1 March 2034 and skips one on 1 March 2100.
    int previous = MTools::moonAge(QDate(1899, 12, 31));
    for (QDate day(1900, 1, 1); day.year() <= 2100; day = day.addDays(1)) {
        const int age = MTools::moonAge(day);
        if (age < 0 || age > 29)
            QFAIL(qPrintable(day.toString(Qt::ISODate) + " gives " + QString::number(age)));
        int expected = previous + 1;
        if (day == QDate(2034, 3, 1))
            expected = previous;
        else if (day == QDate(2100, 3, 1))
            expected = previous + 2;
        if (age != expected && age != 0)
            QFAIL(qPrintable(day.toString(Qt::ISODate) + " gives " + QString::number(age) + " after "
                             + QString::number(previous)));
        if (age == 0 && previous < 28)
            QFAIL(qPrintable(day.toString(Qt::ISODate) + " wraps early"));
        previous = age;
    }
}

void TestCalendar::moonPhase_data()
{
    QTest::addColumn<int>("age");
    QTest::addColumn<int>("phase");
    const int phases[30] = {0, 1, 1, 1, 1, 1, 1, 2, 3, 3, 3, 3, 3, 3, 4,
                            5, 5, 5, 5, 5, 5, 7, 6, 6, 6, 6, 6, 6, 0, 0};
    for (int age = 0; age < 30; ++age)
        QTest::addRow("age %d", age) << age << phases[age];
}

void TestCalendar::moonPhase()
{
    QFETCH(int, age);
    QFETCH(int, phase);
    // A day of that age after the new moon of 6 January 2000 (29.5 days on,
    // the ages restart).
    const QDate day = QDate(2000, 1, 6).addDays(age);
    QCOMPARE(MTools::moonAge(day), age);
    QCOMPARE(MTools::moonPhase(day), phase);
}

void TestCalendar::yearSeconds()
{
    const int year = QDate::currentDate().year();
    const qint64 start = QDateTime(QDate(year, 1, 1), QTime(0, 0), Qt::LocalTime).toSecsSinceEpoch();
    const qint64 before = QDateTime::currentSecsSinceEpoch() - start;
    const qint64 seconds = MTools::secondsSinceStartOfYear(year);
    const qint64 after = QDateTime::currentSecsSinceEpoch() - start;
    QVERIFY2(before <= seconds && seconds <= after, qPrintable(QString::number(seconds)));

    QCOMPARE(MTools::dateTimeFromYearSeconds(31 * 86400 + 3600 + 61, 2014),
             QDateTime(QDate(2014, 2, 1), QTime(1, 1, 1), Qt::LocalTime));
    QCOMPARE(MTools::dateTimeFromYearSeconds(-1, 2015), QDateTime(QDate(2014, 12, 31), QTime(23, 59, 59), Qt::LocalTime));
}

void TestCalendar::timeFromDurations_data()
{
    QTest::addColumn<qint64>("milliseconds");
    QTest::addColumn<QTime>("time");
    QTest::newRow("1:30") << qint64(5400000) << QTime(1, 30, 0);
    QTest::newRow("milliseconds dropped") << qint64(3723999) << QTime(1, 2, 3);
    QTest::newRow("last second") << qint64(86399999) << QTime(23, 59, 59);
    QTest::newRow("24 hours") << qint64(86400000) << QTime();
    QTest::newRow("negative") << qint64(-1000) << QTime();
    QTest::newRow("one millisecond") << qint64(1) << QTime(0, 0, 0);
}

void TestCalendar::timeFromDurations()
{
    QFETCH(qint64, milliseconds);
    QFETCH(QTime, time);
    const QTime fromMs = MTools::timeFromMilliseconds(milliseconds);
    const QTime fromUs = MTools::timeFromMicroseconds(milliseconds * 1000);
    QCOMPARE(fromMs.isValid(), time.isValid());
    QCOMPARE(fromUs.isValid(), time.isValid());
    if (time.isValid()) {
        QCOMPARE(fromMs, time);
        QCOMPARE(fromUs, time);
    }
    QVERIFY(!MTools::timeFromMilliseconds(std::numeric_limits<qint64>::max()).isValid());
    QVERIFY(!MTools::timeFromMicroseconds(std::numeric_limits<qint64>::min()).isValid());
}

void TestCalendar::emailPattern_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("matches");
    QTest::newRow("plain") << "john.doe@example.com" << true;
    QTest::newRow("underscores both sides") << "a_b@c_d.org" << true;
    QTest::newRow("hyphens, capitals") << "A-B@X-Y.DE" << true;
    QTest::newRow("four letters") << "x@y.info" << true;
    QTest::newRow("five letters") << "x@y.museum" << false;
    QTest::newRow("one letter") << "x@y.c" << false;
    QTest::newRow("three digits") << "x@10.0.0.123" << true;
    QTest::newRow("four digits") << "x@y.1234" << false;
    QTest::newRow("no local part") << "@x.de" << false;
    QTest::newRow("blank") << "a b@c.de" << false;
    QTest::newRow("two at signs") << "a@b@c.de" << false;
    QTest::newRow("plus sign") << "a+b@c.de" << false;
}

void TestCalendar::emailPattern()
{
    QFETCH(QString, address);
    QFETCH(bool, matches);
    const QRegExp pattern = MTools::emailRegExp();
    QCOMPARE(pattern.exactMatch(address), matches);
    QCOMPARE(pattern.pattern(), QStringLiteral(R"(([a-zA-Z0-9_\-\.]+)@([a-zA-Z0-9_.-])+\.([a-zA-Z]{2,4}|[0-9]{1,3}))"));
    QCOMPARE(pattern.pattern().size(), 65);
    QCOMPARE(pattern.caseSensitivity(), Qt::CaseSensitive);
    QCOMPARE(pattern.patternSyntax(), QRegExp::RegExp);
}

QTEST_GUILESS_MAIN(TestCalendar)
#include "tst_calendar.moc"
