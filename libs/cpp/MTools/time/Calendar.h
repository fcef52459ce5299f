#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QtGlobal>

// Calendar helpers: names of days and months, age, zodiac sign, moon age and
// phase, seconds within a year, times from durations. Names are translated
// in the context "QObject"; "Unknown" and the zodiac texts are not.
namespace MTools {

// 0 "Monday" .. 6 "Sunday"; "Unknown" for any other index.
QString dayName(int index);
// 1 "January" .. 12 "December"; "Unknown" for any other month.
QString monthName(int month);

// Whole years from birth to today (to the given day).
int ageInYears(const QDate& birth);
int ageInYears(const QDate& birth, const QDate& today);

// The sign whose range holds the birth day and month placed in the current
// year (in the given year): "" when none does, as for 29 February in a year
// that is not a leap year. The sign of late December and of January up to
// the 23rd is spelled "Capricom".
QString zodiacSign(const QDate& birth);
QString zodiacSign(const QDate& birth, int year);
// "The Ram" for "Aries" and so on, exact and case-sensitive; "" otherwise.
QString zodiacMeaning(const QString& sign);

// Days since the last new moon, 0..29, by a Julian-day approximation in
// single precision (6 January 2000 gives 0).
int moonAge(const QDate& date);
// From the moon age: 0 new, 1 waxing crescent (1-6), 2 first quarter (7),
// 3 waxing gibbous (8-13), 4 full (14), 5 waning gibbous (15-20), 7 (21),
// 6 (22-27), 0 again at 28 and 29.
int moonPhase(const QDate& date);

// Seconds from 1 January of the year, midnight local time, until now.
qint64 secondsSinceStartOfYear(const int& year);
// 1 January of the year, midnight local time, plus the seconds.
QDateTime dateTimeFromYearSeconds(const qint64& seconds, const int& year);

// Hours, minutes and whole seconds of a duration; invalid from 24 hours on
// and for negative durations.
QTime timeFromMilliseconds(qint64 milliseconds);
QTime timeFromMicroseconds(qint64 microseconds);

}  // namespace MTools
