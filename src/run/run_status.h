// What a run looks like from outside the program (the D-Bus properties and
// `zenkoro --status`): the run state as a word, the operation, when the
// action is due, when the machine wakes, and the seconds left.
#pragma once

#include "run/run_engine.h"

#include <QDateTime>
#include <QString>

namespace zk {

struct RunStatus {
    QString state;          // idle, counting, warning, executing, waiting-for-resume
    QString operation;      // the operation text ("シャットダウン", ...)
    QString targetTime;     // ISO 8601 with the local offset; empty when no action is due
    QString resumeTime;     // ISO 8601 with the local offset; empty when the run wakes nothing
    qint64 remainingSeconds = 0;  // to targetTime, rounded as the countdown shows it; 0 when none
    bool operator==(const RunStatus &) const = default;
};

QString RunStateName(RunState state);

// The status of the engine's run at `now`. The due time is the trigger's
// when a watched condition holds, else the planned target.
RunStatus StatusOf(const RunEngine &engine, const QDateTime &now);

}  // namespace zk
