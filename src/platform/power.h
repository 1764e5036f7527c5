// Session end, suspend, monitor power and keep-awake.
#pragma once

#include <QObject>

namespace zk {

// Flags of an exit request, as the program has always passed them.
namespace ExitFlags {
inline constexpr quint32 Logoff = 0;
inline constexpr quint32 Shutdown = 1;
inline constexpr quint32 Reboot = 2;
inline constexpr quint32 Force = 4;
inline constexpr quint32 PowerOff = 8;
}  // namespace ExitFlags

class SessionPower : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SessionPower() override = default;

    // Ends the session: log-off (0), shutdown (1 or 8: power off), reboot (2),
    // each optionally + 4 (force: do not let applications object).
    // True when the system took the request; false when it refused.
    virtual bool exitSession(quint32 flags) = 0;

    // Suspends (hibernate = true: to disk). False when the system refused;
    // then the machine does not sleep and the caller goes on as if it had
    // resumed. On true, resumed() is emitted once the machine runs again.
    virtual bool suspend(bool hibernate, bool force, bool disableWakeEvents) = 0;

    // Whether hibernation is allowed on this machine.
    virtual bool hibernationAllowed() = 0;

    // Monitor on (true) or off (false).
    virtual void setMonitorPower(bool on) = 0;

    // Keep the system and display awake (true) or let them idle again (false).
    virtual void setKeepAwake(bool on) = 0;

Q_SIGNALS:
    void resumed();
};

}  // namespace zk
