// Any multi rows, resume list rows and clock movements, in a time zone with
// daylight saving time: no step of the multi schedule runs before the time
// its row names, none runs twice, and none comes from a row that names no
// time of day; the resume list only ever gives a time its row names, on a
// ticked day, after now.
//
// Input, one command a line:
//   N yyyy-MM-ddTHH:mm:ss   the start time (local)
//   M hour,minute,operation one more multi row
//   W index hour,minute     a resume list row (0 = default, 1..7 = Sunday..Saturday)
//   K 1010101               the resume weekday boxes
//   T seconds               time passes (wall and boot clock), then a tick
//   S seconds               the wall clock is set (the boot clock stays), then a tick
#include "core/datetime.h"
#include "run/multi_run.h"
#include "run/power_sequence.h"
#include "resume/weekly_resume.h"
#include "support/fake/fake_clock.h"

#include <QCoreApplication>
#include <QSet>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace zk;

namespace {

[[noreturn]] void Fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "property failed: %s\n%s\n", what, qPrintable(detail));
    std::abort();
}

// Whether `due` is the wall-clock time `named` of its date: exactly, or
// moved on by the jump when the clock skips that time.
bool ShowsNamedTime(const QDateTime &due, const QTime &named)
{
    if (due.time() == named)
        return true;
    return !QDateTime(due.date(), named).isValid() && named < due.time() && named.secsTo(due.time()) <= 3600;
}

qint64 Number(const QString &text, qint64 limit)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    return ok ? std::clamp(v, -limit, limit) : 0;
}

void CheckWeekly(const AppState &state, const QDateTime &now)
{
    const WeeklyResumeChoice c = ChooseWeeklyResume(state.WeeklyResumeTable, state.job, now);
    if (!c.time.isValid())
        return;
    if (c.time <= now)
        Fail("resume list: a time not after now", c.time.toString(Qt::ISODate) + QStringLiteral(" now ") + now.toString(Qt::ISODate));
    if (now.date().daysTo(c.time.date()) > 7)
        Fail("resume list: more than a week ahead", c.time.toString(Qt::ISODate));
    const int w = WeekdayNumber(c.time.date());
    if (!state.job.resumeWeekday(w))
        Fail("resume list: an unticked weekday", c.time.toString(Qt::ISODate));
    bool named = false;
    for (const int row : {0, w}) {
        const ResumeEntry &e = state.WeeklyResumeTable[size_t(row)];
        const std::optional<QTime> at = RowClockTime(e.Hour, e.Minute);
        if (at && ShowsNamedTime(c.time, *at))
            named = true;
    }
    if (!named)
        Fail("resume list: a time no row names", c.time.toString(Qt::ISODate));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Europe/Berlin: the clock skips 02:00-03:00 in March and shows 02:00-03:00 twice in October.
    qputenv("TZ", "Europe/Berlin");
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4096)
        return 0;
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)).split(QLatin1Char('\n'));

    AppState state;
    state.job.ResumeKeepState = 1;  // the schedule goes on after each wake-up
    QDateTime start(QDate(2025, 10, 25), QTime(23, 0));
    int multiRows = 0;
    QList<QPair<QChar, qint64>> moves;
    for (const QString &line : lines) {
        if (line.size() < 2)
            continue;
        const QChar command = line[0];
        const QString arg = line.mid(2);
        if (command == u'N') {
            const QDateTime t = QDateTime::fromString(arg.trimmed(), Qt::ISODate);
            if (t.isValid() && t.date().year() > 1900 && t.date().year() < 3000)
                start = t;
        } else if (command == u'M' && multiRows < kMultiRowCount) {
            const QStringList f = arg.split(QLatin1Char(','));
            state.MultiRows[size_t(multiRows++)] = {f.value(0), f.value(1), f.value(2), f.value(3)};
        } else if (command == u'W') {
            const QStringList f = arg.section(QLatin1Char(' '), 1).split(QLatin1Char(','));
            const qint64 i = Number(arg.section(QLatin1Char(' '), 0, 0), 100);
            if (i >= 0 && i < kWeeklyRowCount)
                state.WeeklyResumeTable[size_t(i)] = {f.value(0), f.value(1), QString()};
        } else if (command == u'K') {
            for (int w = 1; w <= 7 && w <= arg.size(); ++w)
                state.job.setResumeWeekday(w, arg[w - 1] == u'1' ? 1 : 0);
        } else if ((command == u'T' || command == u'S') && moves.size() < 400) {
            moves.append({command, Number(arg, 10LL * 86400)});
        }
    }

    FakeClock clock(start);
    CheckWeekly(state, start);

    PowerSequence power(state, clock);
    MultiRun run(state, clock, power);
    // What a row names, and the rows whose time is no time of day.
    const QList<int> dropped = DroppedMultiRows(state.MultiRows);
    const QDateTime startSecond = start.addMSecs(-start.time().msec());
    QSet<int> ran;
    QObject::connect(&run, &MultiRun::stepExecuting, &run, [&](const MultiStep &s) {
        const QString what = QStringLiteral("row ") + QString::number(s.row + 1) + QStringLiteral(" due ") +
                             s.due.toString(Qt::ISODate) + QStringLiteral(" at ") + clock.now().toString(Qt::ISODate);
        const MultiEntry &row = state.MultiRows[size_t(s.row)];
        const std::optional<QTime> named = RowClockTime(row.Hour, row.Minute);
        if (!named || dropped.contains(s.row))
            Fail("multi: a row that names no time ran", what);
        if (!s.due.isValid() || !ShowsNamedTime(s.due, *named))
            Fail("multi: due at another time than its row names", what);
        if (s.due < startSecond || startSecond.daysTo(s.due) > 1)
            Fail("multi: due outside the next day", what);
        if (clock.now() < s.due)
            Fail("multi: ran before its time", what);
        if (ran.contains(s.row))
            Fail("multi: ran twice", what);
        ran.insert(s.row);
    });
    run.start();
    // The power sequence's answer to each step: the schedule goes on.
    const auto step = [&](QChar kind, qint64 seconds) {
        if (kind == u'S')
            clock.stepWall(seconds * 1000);
        else
            clock.advanceSecs(std::max<qint64>(seconds, 0));
        run.tick();
        while (run.executing())
            run.powerFinished(PowerOutcome::RunGoesOn);
        CheckWeekly(state, clock.now());
    };
    for (const auto &[kind, seconds] : moves)
        step(kind, seconds);
    // Then two days pass: every step comes due.
    for (int i = 0; i < 2 * 24 * 12 && run.active() && !run.done(); ++i)
        step(u'T', 300);
    return 0;
}
