// The logind request an end of the session becomes: shared by the logind
// backend, which sends it, and the dry run, which prints it.
#pragma once

#include "core/ports/power.h"

#include <QString>
#include <QtGlobal>

namespace zk {

struct LogindExitRequest {
    bool ownSession = false;  // TerminateSession of the own session (log off)
    bool interactive = true;  // false with force
    QString method;           // Manager method: "PowerOff", "Reboot", "TerminateSession"
    QString description;      // "reboot", "power off, force", ...
};

LogindExitRequest LogindRequestFor(SessionEnd how, bool force);

// The number the dry run prints for the request: log off 0, reboot 2,
// power off 8, force +4.
quint32 ExitFlagsNumber(SessionEnd how, bool force);

}  // namespace zk
