// The logind request an exit request becomes: shared by the logind backend,
// which sends it, and the dry run, which prints it.
#pragma once

#include <QString>
#include <QtGlobal>

namespace zk {

// What an exit request becomes on logind.
struct LogindExitRequest {
    enum Kind { Invalid, Logoff, PowerOff, Reboot };
    Kind kind = Invalid;
    bool interactive = true;  // false with the force flag
    QString method;           // Manager method: "PowerOff", "Reboot", "TerminateSession"; empty when invalid
    QString description;      // "reboot", "power off, force", ...
};

// Maps the exit flags (log-off 0, shutdown 1, reboot 2, force +4, power-off 8)
// to the logind request. Shutdown and power-off both power the machine off.
// Any other combination (reboot together with shutdown, unknown bits) is
// Invalid: it is refused rather than guessed.
LogindExitRequest MapExitFlags(quint32 flags);

}  // namespace zk
