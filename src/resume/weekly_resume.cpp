#include "resume/weekly_resume.h"

#include "core/datetime.h"
#include "core/text.h"

#include <QCoreApplication>
#include <optional>

namespace zk {

namespace {

// The row's time of day; nothing for a row without one, or with an hour or
// minute that is no time of day.
std::optional<QTime> RowTime(const ResumeEntry &e)
{
    if (e.Hour.isEmpty() || e.Minute.isEmpty())
        return std::nullopt;
    return RowClockTime(e.Hour, e.Minute);
}

// The first ticked day from today on (seven days at most) whose row gives a
// time after now: row 0 on every day for the default pass, the weekday's own
// row for the weekday pass.
std::optional<WeeklyResumeChoice> Pass(const WeeklyTable &table, const JobSettings &job, const QDateTime &now,
                                       bool defaultPass)
{
    int w = WeekdayNumber(now.date());
    for (int k = 1; k <= 7; ++k) {
        const ResumeEntry &row = table[size_t(defaultPass ? 0 : w)];
        const std::optional<QTime> at = RowTime(row);
        if (job.resumeWeekday(w) == 1 && at) {
            const QDateTime candidate = WallTime(now.date().addDays(k - 1), *at);
            if (candidate.isValid() && candidate > now)
                return WeeklyResumeChoice{candidate, row.Application};
        }
        w = w == 7 ? 1 : w + 1;
    }
    return std::nullopt;
}

}  // namespace

WeeklyResumeChoice ChooseWeeklyResume(const WeeklyTable &table, const JobSettings &job, const QDateTime &now)
{
    const std::optional<WeeklyResumeChoice> byDefault = Pass(table, job, now, true);
    const std::optional<WeeklyResumeChoice> byDay = Pass(table, job, now, false);
    // A missing candidate counts as the earliest date of all.
    const qint64 defaultDate = byDefault ? byDefault->time.date().toJulianDay() : 0;
    const qint64 dayDate = byDay ? byDay->time.date().toJulianDay() : 0;
    std::optional<WeeklyResumeChoice> chosen;
    if (dayDate > defaultDate)
        chosen = byDefault ? byDefault : byDay;
    else if (dayDate < defaultDate)
        chosen = byDay ? byDay : byDefault;
    else
        chosen = byDay;
    return chosen.value_or(WeeklyResumeChoice{});
}

QList<int> DroppedResumeRows(const WeeklyTable &table)
{
    QList<int> dropped;
    for (int i = 0; i < kWeeklyRowCount; ++i) {
        const ResumeEntry &e = table[size_t(i)];
        if (!e.Hour.isEmpty() && !e.Minute.isEmpty() && !RowClockTime(e.Hour, e.Minute))
            dropped.append(i);
    }
    return dropped;
}

QString DroppedResumeRowsText(const QList<int> &rows)
{
    if (rows.isEmpty())
        return QString();
    //: The rows of the weekly resume list: the default row, then Sunday to Saturday.
    static const char *names[] = {QT_TRANSLATE_NOOP("WeeklyResume", "基本"), QT_TRANSLATE_NOOP("WeeklyResume", "日曜"),
                                  QT_TRANSLATE_NOOP("WeeklyResume", "月曜"), QT_TRANSLATE_NOOP("WeeklyResume", "火曜"),
                                  QT_TRANSLATE_NOOP("WeeklyResume", "水曜"), QT_TRANSLATE_NOOP("WeeklyResume", "木曜"),
                                  QT_TRANSLATE_NOOP("WeeklyResume", "金曜"), QT_TRANSLATE_NOOP("WeeklyResume", "土曜")};
    QStringList named;
    for (const int r : rows)
        //: One row's name, quoted, in a list of rows.
        named << QCoreApplication::translate("WeeklyResume", "「%1」")
                     .arg(QCoreApplication::translate("WeeklyResume", names[r]));
    //: %1: the quoted names of the rows.
    return QCoreApplication::translate("WeeklyResume",
                                       "復帰リストの %1 の行は時刻が正しくない（時は 0〜23、分は 0〜59）ため、時刻の無い行として扱います。")
        .arg(named.join(QCoreApplication::translate("WeeklyResume", "、")));
}

QJsonArray ExplainDroppedResumeRows(const AppState &state)
{
    QJsonArray a;
    for (const int r : DroppedResumeRows(state.WeeklyResumeTable))
        a.append(r);
    return a;
}

QString ApplyWeeklyResumeList(AppState &state, const Clock &clock)
{
    const WeeklyResumeChoice c = ChooseWeeklyResume(state.WeeklyResumeTable, state.job, clock.now());
    state.cl.ResumeTime = c.time;
    state.cl.ResumeAppCommand = c.application;
    return DroppedResumeRowsText(DroppedResumeRows(state.WeeklyResumeTable));
}

void ShowResumeInBoxes(JobSettings &job, const CommandLineValues &cl)
{
    if (!cl.ResumeTime.isValid()) {
        ClearResumeBoxes(job);
        return;
    }
    const QDate d = cl.ResumeTime.date();
    const QTime t = cl.ResumeTime.time();
    job.ResumeDateParts = {QString::number(d.year()), QString::number(d.month()), QString::number(d.day()),
                           QString::number(t.hour()), QString::number(t.minute())};
    job.AppCommand = cl.ResumeAppCommand;
}

void ClearResumeBoxes(JobSettings &job)
{
    job.ResumeDateParts.fill(QString());
    job.AppCommand.clear();
}

QString WeekSpinValue(const QString &text, int direction, int high)
{
    if (text.isEmpty())
        return QStringLiteral("0");
    const qint64 v = LeadingInt(text);
    if (direction == 0)
        return QString::number(v >= high ? 0 : v + 1);
    return QString::number(v <= 0 ? high : v - 1);
}

void WeekSpinHour(WeekRowEdit &row, int direction)
{
    row.hour = WeekSpinValue(row.hour, direction, 23);
    if (row.minute.isEmpty())
        row.minute = QStringLiteral("0");
}

void WeekSpinMinute(WeekRowEdit &row, int direction)
{
    row.minute = WeekSpinValue(row.minute, direction, 59);
}

void WeekHourEdited(WeekRowEdit &row)
{
    if (row.hour.isEmpty())
        row.minute.clear();
}

}  // namespace zk
