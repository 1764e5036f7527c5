#include "platform/linux/exit_request.h"

#include "core/ports/power.h"

namespace zk {

LogindExitRequest MapExitFlags(quint32 flags)
{
    LogindExitRequest r;
    const bool force = (flags & ExitFlags::Force) != 0;
    const quint32 base = flags & ~ExitFlags::Force;
    r.interactive = !force;
    switch (base) {
    case ExitFlags::Logoff:
        r.kind = LogindExitRequest::Logoff;
        r.method = QStringLiteral("TerminateSession");
        r.description = QStringLiteral("log off");
        break;
    case ExitFlags::Shutdown:
    case ExitFlags::PowerOff:
    case ExitFlags::Shutdown | ExitFlags::PowerOff:
        r.kind = LogindExitRequest::PowerOff;
        r.method = QStringLiteral("PowerOff");
        r.description = QStringLiteral("power off");
        break;
    case ExitFlags::Reboot:
        r.kind = LogindExitRequest::Reboot;
        r.method = QStringLiteral("Reboot");
        r.description = QStringLiteral("reboot");
        break;
    default:
        r.kind = LogindExitRequest::Invalid;
        r.description = QStringLiteral("invalid");
        break;
    }
    if (force)
        r.description += QStringLiteral(", force");
    return r;
}

}  // namespace zk
