#include "core/datetime.h"

#include <cmath>

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
    static const char16_t *names[] = {u"日曜日", u"月曜日", u"火曜日", u"水曜日", u"木曜日", u"金曜日", u"土曜日"};
    if (weekdayNumber < 1 || weekdayNumber > 7)
        return QString();
    return QString::fromUtf16(names[weekdayNumber - 1]);
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
    return QDateTime(epoch().date().addDays(static_cast<qint64>(whole)), QTime(0, 0)).addMSecs(ms);
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
    return two(t.date().month()) + QStringLiteral("月") + two(t.date().day()) + QStringLiteral("日 ") +
           two(t.time().hour()) + QStringLiteral("時") + two(t.time().minute()) + QStringLiteral("分");
}

QString FormatLongDate(const QDateTime &t)
{
    return QString::number(t.date().year()) + QStringLiteral("年") + two(t.date().month()) + QStringLiteral("月") +
           two(t.date().day()) + QStringLiteral("日(") + WeekdayName(WeekdayNumber(t.date())) + QStringLiteral(") ") +
           two(t.time().hour()) + QLatin1Char(':') + two(t.time().minute());
}

QString FormatShortDate(const QDateTime &t)
{
    return QString::number(t.date().month()) + QStringLiteral("月") + QString::number(t.date().day()) +
           QStringLiteral("日 ") + QString::number(t.time().hour()) + QStringLiteral("時") +
           QString::number(t.time().minute()) + QStringLiteral("分");
}

QDateTime AtClock(const QDate &today, qint64 hours, qint64 minutes, qint64 seconds)
{
    return QDateTime(today, QTime(0, 0)).addSecs(hours * 3600 + minutes * 60 + seconds);
}

}  // namespace zk
