#include "run/run_status.h"

#include <algorithm>

namespace zk {

namespace {
QString Iso(const QDateTime &t)
{
    return t.isValid() ? t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODate) : QString();
}
}  // namespace

QString RunStateName(RunState state)
{
    switch (state) {
    case RunState::Idle:
        return QStringLiteral("idle");
    case RunState::Counting:
        return QStringLiteral("counting");
    case RunState::Warning:
        return QStringLiteral("warning");
    case RunState::Executing:
        return QStringLiteral("executing");
    case RunState::WaitingForResume:
        return QStringLiteral("waiting-for-resume");
    }
    return QString();
}

RunStatus StatusOf(const RunEngine &engine, const QDateTime &now)
{
    RunStatus s;
    const RunState state = engine.runState();
    s.state = RunStateName(state);
    s.operation = engine.state().OperationText();
    if (state == RunState::Counting || state == RunState::Warning || state == RunState::Executing) {
        const QDateTime due = engine.triggerTime().isValid() ? engine.triggerTime() : engine.targetTime();
        s.targetTime = Iso(due);
        if (due.isValid())
            s.remainingSeconds = std::max<qint64>(0, (now.msecsTo(due) + 500) / 1000);
    }
    if (state != RunState::Idle)
        s.resumeTime = Iso(engine.resumeTime());
    return s;
}

}  // namespace zk
