// Processor-time counters and the process list from /proc: /proc/stat for
// the whole machine, /proc/<pid>/stat for one process.
#pragma once

#include "core/ports/cpu_counters.h"

namespace zk {

class ProcCpu final : public CpuCounterSource {
public:
    // Processes are named by their executable's file name (/proc/<pid>/exe);
    // where that cannot be read (another user's process), by the file name of
    // its first argument, or its command name when the first argument was
    // changed. Kernel threads and ended processes are left out.
    QList<ProcessRow> processes() override;
    CpuCounters read(qint64 pid) override;
};

}  // namespace zk
