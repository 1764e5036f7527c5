// `zenkoro --status` and `zenkoro --stop [PID]`: the command-line clients of
// the running copies on the session bus. Each returns the exit status.
//   --status: one JSON object per running copy (its pid and properties) in a
//             JSON array, one object a line; "[]" when none runs. 0, or 1
//             without a session bus.
//   --stop:   stops the copy with the given PID, or the only one. 0 when it
//             took the request; 1 without a bus, when none (or not that PID)
//             runs, or when it did not answer; 2 when several run and no PID
//             was given (they are listed on standard error).
#pragma once

#include <QtGlobal>
#include <cstdio>

namespace zk {

int StatusCommand(std::FILE *out = stdout, std::FILE *err = stderr);
int StopCommand(qint64 pid, std::FILE *out = stdout, std::FILE *err = stderr);

}  // namespace zk
