// Session end, suspend, monitor power and keep-awake.
#pragma once

#include <QObject>
#include <functional>

namespace zk {

// How a session ends.
enum class SessionEnd { PowerOff, Reboot, Logoff };

// The calls that ask the system for something never block: the system may
// take as long as the user needs to answer an authorisation prompt, and the
// window stays alive meanwhile. The answer comes later through the callback,
// once, and only while `context` still exists (a null context: always). A
// backend may also answer before the call returns.
class SessionPower : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SessionPower() override = default;

    using Answer = std::function<void(bool ok)>;

    // Ends the session: powers off, reboots or logs off; force: applications
    // may not object. Answers true when the system took the request, false
    // when it refused.
    virtual void endSession(SessionEnd how, bool force, QObject *context, Answer done) = 0;

    // Suspends (hibernate = true: to disk). Answers false when the system
    // refused; then the machine does not sleep and the caller goes on as if
    // it had resumed. After true, resumed() is emitted once the machine runs
    // again.
    virtual void suspend(bool hibernate, bool force, bool disableWakeEvents, QObject *context, Answer done) = 0;

    // Whether hibernation is allowed on this machine.
    virtual void queryHibernationAllowed(QObject *context, Answer done) = 0;
    // The same question answered at once, with a short time limit: only for
    // the start-up, before the window and the event loop run.
    virtual bool hibernationAllowedAtStartup() = 0;

    // Monitor on (true) or off (false).
    virtual void setMonitorPower(bool on) = 0;

    // Keep the system and display awake (true) or let them idle again (false).
    virtual void setKeepAwake(bool on) = 0;

Q_SIGNALS:
    void resumed();
};

}  // namespace zk
