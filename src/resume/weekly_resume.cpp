#include "resume/weekly_resume.h"

#include "core/datetime.h"
#include "core/text.h"

#include <optional>

namespace zk {

namespace {

bool GivesTime(const ResumeEntry &e)
{
    return !e.Hour.isEmpty() && !e.Minute.isEmpty();
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
        if (job.resumeWeekday(w) == 1 && GivesTime(row)) {
            const QDateTime candidate =
                AtClock(now.date().addDays(k - 1), LeadingInt(row.Hour), LeadingInt(row.Minute));
            if (candidate > now)
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

void ApplyWeeklyResumeList(AppState &state, const Clock &clock)
{
    const WeeklyResumeChoice c = ChooseWeeklyResume(state.WeeklyResumeTable, state.job, clock.now());
    state.cl.ResumeTime = c.time;
    state.cl.ResumeAppCommand = c.application;
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
