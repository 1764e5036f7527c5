#include "run/multi_run.h"

#include <QCoreApplication>

#include "core/datetime.h"
#include "run/run_plan.h"
#include "core/text.h"

#include <QJsonObject>
#include <algorithm>

namespace zk {

namespace {

constexpr qint64 kRedMs = 5000;
constexpr qint64 kOrangeMs = 15000;

QString DueText(const QDateTime &t)
{
    return t.toString(QStringLiteral("yyyy/MM/dd HH:mm"));
}

QString IsoOrEmpty(const QDateTime &t)
{
    return t.isValid() ? t.toString(Qt::ISODate) : QString();
}

}  // namespace

QList<MultiRunEntry> CollectMultiRunTable(const std::array<MultiEntry, kMultiRowCount> &rows, const QDateTime &now)
{
    // The time of day is compared to the whole second: at 09:00:00.4 a row
    // of 09:00 is still today's.
    const QDateTime second = now.addMSecs(-now.time().msec());
    QList<MultiRunEntry> table;
    for (int i = 0; i < kMultiRowCount; ++i) {
        const MultiEntry &r = rows[size_t(i)];
        if (r.Hour.isEmpty() || r.Minute.isEmpty())
            continue;
        const std::optional<QTime> at = RowClockTime(r.Hour, r.Minute);
        if (!at)
            continue;
        QDateTime due = WallTime(now.date(), *at);
        if (due < second)
            due = WallTime(now.date().addDays(1), *at);
        if (!due.isValid())
            continue;
        table.append({due, DueText(due), r.Operation, r.Application, i});
    }
    std::stable_sort(table.begin(), table.end(), [](const MultiRunEntry &a, const MultiRunEntry &b) {
        return a.dueText.compare(b.dueText, Qt::CaseInsensitive) < 0;
    });
    return table;
}

QList<int> DroppedMultiRows(const std::array<MultiEntry, kMultiRowCount> &rows)
{
    QList<int> dropped;
    for (int i = 0; i < kMultiRowCount; ++i) {
        const MultiEntry &r = rows[size_t(i)];
        if (!r.Hour.isEmpty() && !r.Minute.isEmpty() && !RowClockTime(r.Hour, r.Minute))
            dropped.append(i);
    }
    return dropped;
}

QString DroppedMultiRowsText(const QList<int> &rows)
{
    if (rows.isEmpty())
        return QString();
    QStringList numbers;
    for (const int r : rows)
        numbers << QString::number(r + 1);
    //: %1 lists the numbers of the multi-schedule rows.
    return QCoreApplication::translate("MultiRun", "連続指定の %1 行目は時刻が正しくない（時は 0〜23、分は 0〜59）ため、空の行として扱います。")
        .arg(numbers.join(QStringLiteral(", ")));
}

QList<MultiStep> PlanMultiSteps(const QList<MultiRunEntry> &table, bool keepState)
{
    QList<MultiStep> steps;
    for (qsizetype j = 0; j < table.size(); ++j) {
        const MultiRunEntry &e = table[j];
        const std::optional<OperationKind> kind = OperationFromText(e.operation);
        if (!kind)
            continue;
        if (IsSuspendOperation(*kind)) {
            MultiStep s{e.due, *kind, e.operation, QDateTime(), QString(), e.row};
            if (j + 1 < table.size() && IsWakeRowText(table[j + 1].operation)) {
                s.resumeAt = table[j + 1].due;
                s.application = table[j + 1].application;
            }
            steps.append(s);
            if (!keepState || !s.resumeAt.isValid())
                break;  // woken, the program ends
        } else {
            steps.append({e.due, *kind, e.operation, QDateTime(), QString(), e.row});
            break;
        }
    }
    return steps;
}

QList<MultiStep> PlanMultiSteps(const AppState &state, const QDateTime &now)
{
    return PlanMultiSteps(CollectMultiRunTable(state.MultiRows, now), state.job.ResumeKeepState != 0);
}

QString MultiStepLine(const MultiStep &step, int index, int count)
{
    //: One step of the multi schedule: %1/%2 its place, %3 when, %4 the operation.
    QString line = QCoreApplication::translate("MultiRun", "連続指定 %1/%2: %3 %4")
                       .arg(QString::number(index + 1), QString::number(count), FormatMonthDayHourMinute(step.due),
                            MultiRowDisplayName(step.operation));
    if (step.resumeAt.isValid())
        //: Part of a multi-schedule step: %1 is when the computer wakes up.
        line += QCoreApplication::translate("MultiRun", " 復帰 %1").arg(FormatMonthDayHourMinute(step.resumeAt));
    if (!step.application.isEmpty())
        //: Part of a multi-schedule step: %1 is the program started after the wake-up.
        line += QCoreApplication::translate("MultiRun", " 起動 %1").arg(step.application);
    return line;
}

QJsonArray ExplainMultiPlan(const AppState &state, const QDateTime &now)
{
    QJsonArray a;
    for (const MultiStep &s : PlanMultiSteps(state, now)) {
        a.append(QJsonObject{{QStringLiteral("Due"), IsoOrEmpty(s.due)},
                             {QStringLiteral("Operation"), s.operation},
                             {QStringLiteral("ResumeTime"), IsoOrEmpty(s.resumeAt)},
                             {QStringLiteral("Application"), s.application},
                             {QStringLiteral("Row"), s.row + 1}});
    }
    return a;
}

QJsonArray ExplainDroppedMultiRows(const AppState &state)
{
    QJsonArray a;
    for (const int r : DroppedMultiRows(state.MultiRows))
        a.append(r + 1);
    return a;
}

// ---------------------------------------------------------------------------

MultiRun::MultiRun(AppState &state, const Clock &clock, PowerSequence &power, QObject *parent)
    : QObject(parent), m_state(state), m_clock(clock), m_power(power)
{
}

void MultiRun::start()
{
    if (active())
        return;
    ++m_generation;
    m_executed = 0;
    m_steps = PlanMultiSteps(m_state, m_clock.now());
    m_index = -1;
    m_phase = Phase::Waiting;
    advance();
}

void MultiRun::stop()
{
    ++m_generation;
    m_phase = Phase::Idle;
    m_index = -1;
    if (m_services.sound)
        m_services.sound->stop();
}

void MultiRun::advance()
{
    ++m_index;
    if (m_index >= m_steps.size()) {
        m_phase = Phase::Done;
        Q_EMIT remainingText(QString());
        Q_EMIT waitingForStop(m_steps.isEmpty());
        return;
    }
    m_phase = Phase::Waiting;
    // The keep-awake phase of an earlier step ends with the next countdown.
    m_power.stopKeepAwakeTimer();
    if (m_view)
        m_view->showWindowNormal();
    const quint64 generation = m_generation;
    Q_EMIT stepStarted(m_steps[m_index], m_index, int(m_steps.size()));
    if (generation == m_generation)
        tick();  // a time already passed runs at once
}

void MultiRun::tick()
{
    if (m_phase != Phase::Waiting)
        return;
    const MultiStep &s = m_steps[m_index];
    // A step without a valid time never comes due (msecsTo would call it due now).
    if (!s.due.isValid())
        return;
    const qint64 remaining = m_clock.now().msecsTo(s.due);
    if (remaining <= 0) {
        execute();
        return;
    }
    if (remaining < kRedMs) {
        if (m_state.job.CountdownSound && m_services.sound)
            m_services.sound->play(true);
        Q_EMIT remainingColor(kColorWarning);
    } else if (remaining < kOrangeMs) {
        BringForwardForWarning(m_state.job.Topmost, m_view);
        Q_EMIT remainingColor(kColorLastMinute);
    } else {
        Q_EMIT remainingColor(kColorCountdown);
    }
    const QString left = FormatRemaining(remaining);
    Q_EMIT remainingText(left);
    //: Caption while counting down: %1 time left, %2 when the step runs, %3 the operation.
    Q_EMIT caption(tr("%1 　予定時刻 %2 %3").arg(left, FormatMonthDayHourMinute(s.due), MultiRowDisplayName(s.operation)));
}

void MultiRun::execute()
{
    // A step is handed over once; whatever comes later for it changes nothing.
    m_phase = Phase::Executing;
    ++m_executed;
    if (m_services.sound)
        m_services.sound->stop();
    Q_EMIT remainingText(QString());
    const MultiStep s = m_steps[m_index];
    const quint64 generation = m_generation;
    Q_EMIT stepExecuting(s);
    if (generation != m_generation)
        return;  // stopped meanwhile
    m_power.runStep(s.kind, s.resumeAt, s.application);
}

void MultiRun::powerFinished(PowerOutcome outcome)
{
    // Only the answer to the step under way moves the run on; the end of the
    // program is the engine's.
    if (m_phase != Phase::Executing || outcome == PowerOutcome::ProgramEnds)
        return;
    advance();
}

}  // namespace zk
