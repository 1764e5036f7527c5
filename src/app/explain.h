// The program's state as data, for --explain.
#pragma once

#include "core/job.h"

#include <QJsonObject>

namespace zk {

// Every JobSettings field, the command-line values, the operation text and the caption.
QJsonObject ExplainState(const AppState &state, const QString &caption);

}  // namespace zk
