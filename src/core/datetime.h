// Date and time helpers: the day-count form, weekday numbers and the display
// pictures the program uses.
#pragma once

#include <QDateTime>
#include <QString>

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

// today 00:00 + hours + minutes, carrying values beyond their range.
QDateTime AtClock(const QDate &today, qint64 hours, qint64 minutes, qint64 seconds = 0);

}  // namespace zk
