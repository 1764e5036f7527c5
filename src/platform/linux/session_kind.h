// Which kind of desktop session the program runs in. A Wayland session is
// one whose compositor speaks Wayland, even when this program's own window
// goes through XWayland: the other programs' native windows are Wayland
// windows, absent from X11's client list.
#pragma once

#include "core/session_limits.h"

#include <QString>

namespace zk {

struct SessionEnvironment {
    QString platformName;     // QGuiApplication::platformName(); empty without a GUI
    QString xdgSessionType;   // XDG_SESSION_TYPE
    bool waylandDisplay = false;  // WAYLAND_DISPLAY is set
    bool x11Display = false;      // DISPLAY is set
};

SessionKind SessionKindOf(const SessionEnvironment &env);

// This process's session environment and kind.
SessionEnvironment CurrentSessionEnvironment();
SessionKind DetectSessionKind();

}  // namespace zk
