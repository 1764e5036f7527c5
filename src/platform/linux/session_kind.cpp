#include "platform/linux/session_kind.h"

#include <QGuiApplication>

namespace zk {

SessionKind SessionKindOf(const SessionEnvironment &env)
{
    if (env.platformName.startsWith(QLatin1String("wayland")))
        return SessionKind::Wayland;
    if (env.xdgSessionType == QLatin1String("wayland"))
        return SessionKind::Wayland;
    if (env.waylandDisplay && !env.x11Display)
        return SessionKind::Wayland;
    return SessionKind::X11;
}

SessionEnvironment CurrentSessionEnvironment()
{
    SessionEnvironment env;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        env.platformName = QGuiApplication::platformName();
    env.xdgSessionType = qEnvironmentVariable("XDG_SESSION_TYPE");
    env.waylandDisplay = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    env.x11Display = !qEnvironmentVariableIsEmpty("DISPLAY");
    return env;
}

SessionKind DetectSessionKind()
{
    return SessionKindOf(CurrentSessionEnvironment());
}

}  // namespace zk
