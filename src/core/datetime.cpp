#include "core/datetime.h"

#include <QCoreApplication>

#include "core/text.h"

#include <cmath>
#include <cstdlib>

namespace zk {

namespace {
const QDateTime &epoch()
{
    static const QDateTime e(QDate(1899, 12, 30), QTime(0, 0));
    return e;
}
QString two(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }
}  // namespace

int WeekdayNumber(const QDate &date)
{
    // Qt: Monday = 1 .. Sunday = 7.
    return date.dayOfWeek() % 7 + 1;
}

QString WeekdayName(int weekdayNumber)
{
    static const char *const names[] = {
        QT_TRANSLATE_NOOP("DateTime", "日曜日"), QT_TRANSLATE_NOOP("DateTime", "月曜日"),
        QT_TRANSLATE_NOOP("DateTime", "火曜日"), QT_TRANSLATE_NOOP("DateTime", "水曜日"),
        QT_TRANSLATE_NOOP("DateTime", "木曜日"), QT_TRANSLATE_NOOP("DateTime", "金曜日"),
        QT_TRANSLATE_NOOP("DateTime", "土曜日")};
    if (weekdayNumber < 1 || weekdayNumber > 7)
        return QString();
    return QCoreApplication::translate("DateTime", names[weekdayNumber - 1]);
}

double ToDayCount(const QDateTime &t)
{
    const qint64 days = epoch().date().daysTo(t.date());
    const double frac = t.time().msecsSinceStartOfDay() / 86400000.0;
    return static_cast<double>(days) + frac;
}

QDateTime FromDayCount(double days)
{
    const double whole = std::floor(days);
    const qint64 ms = std::llround((days - whole) * 86400000.0);
    return AtClockMs(epoch().date().addDays(static_cast<qint64>(whole)), ms);
}

QString FormatHms(qint64 seconds)
{
    if (seconds < 0)
        seconds = 0;
    const qint64 s = seconds % 86400;
    return two(int(s / 3600)) + QLatin1Char(':') + two(int(s / 60 % 60)) + QLatin1Char(':') + two(int(s % 60));
}

QString FormatClock(const QDateTime &t)
{
    return t.toString(QStringLiteral("HH:mm:ss"));
}

QString FormatMonthDayHourMinute(const QDateTime &t)
{
    //: %1 month, %2 day, %3 hour, %4 minute.
    return QCoreApplication::translate("DateTime", "%1月%2日 %3時%4分")
        .arg(two(t.date().month()), two(t.date().day()), two(t.time().hour()), two(t.time().minute()));
}

QString FormatLongDate(const QDateTime &t)
{
    //: %1 year, %2 month, %3 day (two digits), %4 weekday name, %5 hours:minutes.
    return QCoreApplication::translate("DateTime", "%1年%2月%3日(%4) %5")
        .arg(QString::number(t.date().year()), two(t.date().month()), two(t.date().day()),
             WeekdayName(WeekdayNumber(t.date())), two(t.time().hour()) + QLatin1Char(':') + two(t.time().minute()));
}

QString FormatShortDate(const QDateTime &t)
{
    return QCoreApplication::translate("DateTime", "%1月%2日 %3時%4分")
        .arg(QString::number(t.date().month()), QString::number(t.date().day()), QString::number(t.time().hour()),
             QString::number(t.time().minute()));
}

QDateTime WallTime(const QDate &date, const QTime &time)
{
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    QDateTime t(date, time);
    if (!t.isValid()) {
        // Skipped by the clock: as far after the start of the day as the
        // clock's reading is, which lands behind the jump by its length.
        const QDateTime start = date.startOfDay();
        if (!start.isValid())
            return QDateTime();
        return start.addMSecs(qint64(time.msecsSinceStartOfDay()) - start.time().msecsSinceStartOfDay());
    }
    // Shown twice: the earlier showing (the clock is set back by at most an hour).
    for (const qint64 back : {3600, 1800}) {
        const QDateTime earlier = t.addSecs(-back);
        if (earlier.date() == date && earlier.time() == time)
            return earlier;
    }
    return t;
}

QDateTime AtClockMs(const QDate &date, qint64 milliseconds)
{
    constexpr qint64 kDayMs = 86400000;
    qint64 days = milliseconds / kDayMs;
    qint64 rest = milliseconds % kDayMs;
    if (rest < 0) {
        rest += kDayMs;
        --days;
    }
    return WallTime(date.addDays(days), QTime::fromMSecsSinceStartOfDay(int(rest)));
}

QDateTime AtClock(const QDate &date, qint64 hours, qint64 minutes, qint64 seconds)
{
    // Beyond a few million years no date is meant, and the sum below could overflow.
    constexpr qint64 kLimit = qint64(1) << 40;
    if (std::llabs(hours) > kLimit || std::llabs(minutes) > kLimit || std::llabs(seconds) > kLimit)
        return QDateTime();
    const qint64 total = hours * 3600 + minutes * 60 + seconds;
    const qint64 days = total / 86400 - (total % 86400 < 0 ? 1 : 0);
    const qint64 rest = total - days * 86400;
    return WallTime(date.addDays(days), QTime::fromMSecsSinceStartOfDay(int(rest * 1000)));
}

std::optional<QTime> RowClockTime(const QString &hour, const QString &minute)
{
    if (!StartsWithNumber(hour) || !StartsWithNumber(minute))
        return std::nullopt;
    const double h = LeadingNumber(hour);
    const double m = LeadingNumber(minute);
    if (h != std::floor(h) || m != std::floor(m) || h < 0 || h > 23 || m < 0 || m > 59)
        return std::nullopt;
    return QTime(int(h), int(m));
}

}  // namespace zk
