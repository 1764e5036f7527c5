// Writes the current settings as a command line that repeats the same run.
#pragma once

#include "core/job.h"

#include <QString>

namespace zk {

// "y" for 1, "n" for anything else.
QString YesNoText(int value);

// The command line for the main run of the state (no trailing space). Only
// the run itself is written: weekday masks, wake lists and lead times never are.
// Every value is written so that ParseCommandLine reads it back as the same
// run; a value the grammar cannot carry back (a phrase or an application
// whose angle brackets cannot be enclosed, upper case in the application,
// a negative number after a blank, ...) makes the result empty, and *error
// (when given) tells the user which value and why.
// The --command-line option prints it.
QString BuildCommandLine(const AppState &state, QString *error = nullptr);

// The command word of an operation ("-shutdown" ...).
QString OperationPiece(OperationKind kind);

}  // namespace zk
