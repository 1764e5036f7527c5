// Writes the current settings as a command line that repeats the same run.
#pragma once

#include "core/job.h"

#include <QString>

namespace zk {

// "y" for 1, "n" for anything else.
QString YesNoText(int value);

// The command line for the main run of the state (no trailing space). Only
// the run itself is written: weekday masks, wake lists and lead times never are.
QString BuildCommandLine(const AppState &state);

// What the --command-line option prints.
inline QString CommandLineFor(const AppState &state) { return BuildCommandLine(state); }

// The command word of an operation's display text ("-shutdown" ...); empty
// for a text that is no operation.
QString OperationPiece(const QString &operationText);

}  // namespace zk
