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

}  // namespace zk
