// Whether two states describe the same run in everything a generated command
// line carries: the state the line was generated from, and the state the
// parser made of that line. Values are compared as the run reads them (the
// number in a box, the phrase as the screen watcher searches for it, the
// program and arguments an application command launches), not as texts.
//
// Differences the grammar is known to have and the comparison accepts:
// - a watched phrase differs only in case (the parser lower-cases the line;
//   the watcher compares without case) or in blanks the watcher drops;
// - a process name differs only in case and its process-id word;
// - a clock-time resume keeps only the time of day (hour and minute with
//   their carries); its date comes from the clock when the line runs.
// A clock-time resume comes back enabled only when the weekday box of its
// day is ticked, so states under comparison should tick that box.
// Fields the generator never writes (weekday masks, lead times, ...) are not
// compared.
#pragma once

#include "core/command_line_generator.h"
#include "core/job.h"
#include "core/text.h"

#include <QString>
#include <QStringList>
#include <algorithm>

namespace zktest {

namespace same_run_detail {

inline QString Watched(QString phrase)
{
    phrase.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return zk::CollapseSpaces(phrase).toLower();
}

inline QString Launched(const zk::JobSettings &j)
{
    QString app = j.LaunchApp == 1 ? j.AppCommand : QString();
    app.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return zk::CommandPart(app) + QLatin1Char('|') + zk::ParameterPart(app);
}

inline QString Process(const zk::JobSettings &j)
{
    return j.CpuProcess.isEmpty() ? QString() : QStringLiteral("? ") + zk::ParameterPart(j.CpuProcess.trimmed()).toLower();
}

// The number a box holds as the run reads it; 17 digits tell every double apart.
inline QString Number(const QString &box)
{
    const double v = zk::LeadingNumber(box);
    return v == 0 ? QStringLiteral("0") : QString::number(v, 'g', 17);
}

// Minute of the day of a clock-time resume, from its hour and minute boxes.
inline QString ResumeMinuteOfDay(const zk::JobSettings &j)
{
    const qint64 h = zk::LeadingInt(j.ResumeDateParts[3]);
    const qint64 mi = zk::LeadingInt(j.ResumeDateParts[4]);
    constexpr qint64 kFar = 1'000'000'000;  // beyond it the run refuses the boxes anyway
    if (h < -kFar || h > kFar || mi < -kFar || mi > kFar)
        return QStringLiteral("beyond range ") + j.ResumeDateParts[3] + QLatin1Char(':') + j.ResumeDateParts[4];
    const qint64 m = h * 60 + mi;
    return QString::number(((m % 1440) + 1440) % 1440);
}

// The run as "name=value" entries, in a fixed order.
inline QStringList RunEntries(const zk::AppState &s)
{
    const zk::JobSettings &j = s.job;
    QStringList r;
    auto add = [&r](const char *name, const QString &value) { r << QLatin1String(name) + QLatin1Char('=') + value; };
    auto flag = [&add](const char *name, int value) { add(name, QString::number(value)); };
    flag("MultiEnabled", j.MultiEnabled);
    if (j.MultiEnabled != 1) {
        add("Operation", s.operation() ? zk::OperationPiece(*s.operation()) : QString());
        flag("TimingMode", j.TimingMode);
        if (j.TimingMode == 1) {
            add("ClockHour", Number(j.ClockHour));
            add("ClockMinute", Number(j.ClockMinute));
        } else {
            add("DelayMinutes", Number(j.DelayMinutes));
        }
        flag("Force", j.Force);
        flag("MonitorEnabled", j.MonitorEnabled);
        if (j.MonitorEnabled == 1) {
            flag("MonitorKind", j.MonitorKind);
            if (j.MonitorKind == 0) {
                flag("PhraseEvent", j.PhraseEvent);
                add("MonitorPhrase", Watched(j.MonitorPhrase));
            } else if (j.MonitorKind == 1) {
                add("CpuLowerLimit", Number(j.CpuLowerLimit));
                add("CpuAverageSeconds", Number(j.CpuAverageSeconds));
                add("CpuProcess", Process(j));
            } else if (j.MonitorKind == 2) {
                add("IdleSeconds", Number(j.IdleSeconds));
            }
        }
        flag("ResumeEnabled", j.ResumeEnabled);
        if (j.ResumeEnabled == 1) {
            flag("ResumeAtClock", j.ResumeAtClock);
            if (j.ResumeAtClock == 1)
                add("ResumeTimeOfDay", ResumeMinuteOfDay(j));
            else
                add("ResumeAfterMinutes", Number(j.ResumeAfterMinutes));
            add("AppCommand", Launched(j));
        }
    }
    const std::pair<const char *, int> flags[] = {
        {"NoAlert", j.NoAlert}, {"MinimizeAtStart", j.MinimizeAtStart}, {"TrayIcon", j.TrayIcon},
        {"CaptureOnExit", j.CaptureOnExit}, {"IeMonitor", j.IeMonitor}, {"ResumeOnly", j.ResumeOnly},
        {"Topmost", j.Topmost}, {"CountdownSound", j.CountdownSound}, {"ResumeMonitorOn", j.ResumeMonitorOn},
        {"ResumeKeepState", j.ResumeKeepState}};
    for (const auto &[name, value] : flags)
        flag(name, value);
    return r;
}

}  // namespace same_run_detail

// Whether `generated` and `parsed` (what ParseCommandLine made of the line
// generated from it) describe the same run; if not, *why (when given) names
// the first field that differs with both values.
inline bool SameRun(const zk::AppState &generated, const zk::AppState &parsed, QString *why = nullptr)
{
    const QStringList a = same_run_detail::RunEntries(generated);
    const QStringList b = same_run_detail::RunEntries(parsed);
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        if (a.value(i) == b.value(i))
            continue;
        if (why)
            *why = QStringLiteral("generated from [%1], parsed as [%2]").arg(a.value(i), b.value(i));
        return false;
    }
    return true;
}

}  // namespace zktest
