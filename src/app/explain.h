// The program's state as data, for --explain.
#pragma once

#include "core/job.h"
#include "platform/linux/wake_ability.h"

#include <QJsonObject>

namespace zk {

// Every JobSettings field, the command-line values, the operation text and the caption.
QJsonObject ExplainState(const AppState &state, const QString &caption);

// Whether a wake alarm can be armed: {"Possible", "Way" ("direct": by the
// program itself, "helper": through zenkoro-wake, "none"), "Helper", "Reason"}.
QJsonObject ExplainWake(const WakeAbility &ability);

struct StartEnvironment;

// All that --explain prints: the state, the settings file's fields, the plan
// a start would make now (its ResumeTime the computed one), the steps a multi
// run would take in run order, whether and how a real run can wake the
// machine (also under --dry-run), and the rows left out because their time is
// no time of day.
QJsonObject ExplainRun(const AppState &state, const QString &caption, const QDateTime &now,
                       const StartEnvironment &env);

}  // namespace zk
