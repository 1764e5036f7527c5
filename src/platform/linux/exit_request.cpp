#include "platform/linux/exit_request.h"

namespace zk {

LogindExitRequest LogindRequestFor(SessionEnd how, bool force)
{
    LogindExitRequest r;
    r.interactive = !force;
    switch (how) {
    case SessionEnd::Logoff:
        r.ownSession = true;
        r.method = QStringLiteral("TerminateSession");
        r.description = QStringLiteral("log off");
        break;
    case SessionEnd::PowerOff:
        r.method = QStringLiteral("PowerOff");
        r.description = QStringLiteral("power off");
        break;
    case SessionEnd::Reboot:
        r.method = QStringLiteral("Reboot");
        r.description = QStringLiteral("reboot");
        break;
    }
    if (force)
        r.description += QStringLiteral(", force");
    return r;
}

quint32 ExitFlagsNumber(SessionEnd how, bool force)
{
    const quint32 base = how == SessionEnd::PowerOff ? 8 : how == SessionEnd::Reboot ? 2 : 0;
    return base + (force ? 4 : 0);
}

}  // namespace zk
