// Session end, suspend and keep-awake through systemd-logind on the system bus;
// monitor power through the X11 DPMS extension.
#pragma once

#include "platform/power.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QString>

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

class LogindPower final : public SessionPower {
    Q_OBJECT
public:
    // Talks to logind on QDBusConnection::systemBus(), which honours
    // DBUS_SYSTEM_BUS_ADDRESS.
    explicit LogindPower(QObject *parent = nullptr);
    LogindPower(const QDBusConnection &bus, QObject *parent = nullptr);
    ~LogindPower() override;

    bool exitSession(quint32 flags) override;
    bool suspend(bool hibernate, bool force, bool disableWakeEvents) override;
    bool hibernationAllowed() override;
    void setMonitorPower(bool on) override;
    void setKeepAwake(bool on) override;

    // How long one logind call may take before it counts as a refusal.
    void setCallTimeout(int ms) { m_timeoutMs = ms; }
    int callTimeout() const { return m_timeoutMs; }
    // The D-Bus error of the last refused call ("" after a success).
    QString lastError() const { return m_lastError; }
    // True while the keep-awake inhibitor lock is held.
    bool keepsAwake() const { return m_inhibitLock.isValid(); }

private Q_SLOTS:
    void onPrepareForSleep(bool start);

private:
    bool callManager(const QString &method, const QVariantList &args, QDBusMessage *reply = nullptr);
    QString ownSessionId();

    QDBusConnection m_bus;
    int m_timeoutMs = 5000;
    bool m_waitingForResume = false;
    QDBusUnixFileDescriptor m_inhibitLock;
    QString m_lastError;
};

}  // namespace zk
