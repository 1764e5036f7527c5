// Date and time helpers: the day-count form, weekday numbers and the display
// pictures the program uses.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace zk {

// Weekday number, 1 = Sunday .. 7 = Saturday.
int WeekdayNumber(const QDate &date);
// Japanese weekday name ("日曜日" .. "土曜日") for weekday number 1..7.
QString WeekdayName(int weekdayNumber);

// Day count since 1899-12-30 with the time of day as fraction, and back.
double ToDayCount(const QDateTime &t);
QDateTime FromDayCount(double days);

// "hh:mm:ss" of a span in seconds (hours wrap at 24; days are shown by the caller).
QString FormatHms(qint64 seconds);
// "hh:mm:ss" of a time of day.
QString FormatClock(const QDateTime &t);
// "mm月dd日 hh時MM分".
QString FormatMonthDayHourMinute(const QDateTime &t);
// "yyyy年mm月dd日(aaaa) HH:MM".
QString FormatLongDate(const QDateTime &t);
// "m月d日 h時n分" (no leading zeros).
QString FormatShortDate(const QDateTime &t);

// The moment the local wall clock shows `time` on `date`. A time the clock
// skips (the hour lost when daylight saving time begins) is moved on by the
// length of the jump (02:30 becomes 03:30); a time the clock shows twice (the
// hour repeated when it ends) is its first showing.
QDateTime WallTime(const QDate &date, const QTime &time);
// The wall-clock time hours:minutes:seconds on `date`, values beyond their
// range carried into the next unit and into the date (24:00 is 00:00 of the
// next day, 7:75 is 8:15): the clock's hour and minute, not midnight plus an
// elapsed time, so that it holds on the days daylight saving time changes.
// Invalid when the date would leave the calendar.
QDateTime AtClock(const QDate &date, qint64 hours, qint64 minutes, qint64 seconds = 0);
// The same with the time of day in milliseconds (which may be fractional
// hours or minutes turned into milliseconds).
QDateTime AtClockMs(const QDate &date, qint64 milliseconds);

// The time of day a row of the multi schedule or of the resume list names:
// the hour and minute read as the boxes read numbers (leading number), a
// whole hour 0..23 and a whole minute 0..59; nothing for any other text
// ("abc", " ", "-30", "8.9", "24").
std::optional<QTime> RowClockTime(const QString &hour, const QString &minute);

}  // namespace zk
