// Session end, suspend and keep-awake through systemd-logind on the system bus;
// monitor power through the X11 DPMS extension.
#pragma once

#include "core/ports/power.h"
#include "platform/linux/exit_request.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QString>
#include <functional>

namespace zk {

class LogindPower final : public SessionPower {
    Q_OBJECT
public:
    // How long a call may wait for logind: long enough for the user to answer
    // a polkit prompt; a call still unanswered then counts as a refusal.
    static constexpr int kCallTimeoutMs = 5 * 60 * 1000;
    // The limit of the blocking start-up question.
    static constexpr int kStartupTimeoutMs = 5000;

    // Talks to logind on QDBusConnection::systemBus(), which honours
    // DBUS_SYSTEM_BUS_ADDRESS.
    explicit LogindPower(QObject *parent = nullptr);
    LogindPower(const QDBusConnection &bus, QObject *parent = nullptr);
    ~LogindPower() override;

    void endSession(SessionEnd how, bool force, QObject *context, Answer done) override;
    void suspend(bool hibernate, bool force, bool disableWakeEvents, QObject *context, Answer done) override;
    void queryHibernationAllowed(QObject *context, Answer done) override;
    bool hibernationAllowedAtStartup() override;
    void setMonitorPower(bool on) override;
    void setKeepAwake(bool on) override;

    void setCallTimeout(int ms) { m_timeoutMs = ms; }
    void setStartupTimeout(int ms) { m_startupTimeoutMs = ms; }
    // The D-Bus error of the last refused call ("" after a success).
    QString lastError() const { return m_lastError; }
    // True while the keep-awake inhibitor lock is held.
    bool keepsAwake() const { return m_inhibitLock.isValid(); }
    // Calls sent to logind and not answered yet.
    int pendingCalls() const { return m_pending; }

private Q_SLOTS:
    void onPrepareForSleep(bool start);

private:
    using ReplyHandler = std::function<void(const QDBusMessage &reply)>;
    // Sends msg without waiting; handler gets the reply (or the error) from
    // the event loop, unless context (when given) is gone by then.
    void send(const QDBusMessage &msg, QObject *context, ReplyHandler handler);
    void callManager(const QString &method, const QVariantList &args, QObject *context, ReplyHandler handler);
    // True for a reply; otherwise records the error in lastError().
    bool accepted(const QDBusMessage &reply);
    // The id of this process's login session ("" when there is none).
    void findOwnSession(QObject *context, std::function<void(const QString &id)> found);

    QDBusConnection m_bus;
    int m_timeoutMs = kCallTimeoutMs;
    int m_startupTimeoutMs = kStartupTimeoutMs;
    int m_pending = 0;
    bool m_waitingForResume = false;
    bool m_keepAwakeWanted = false;
    bool m_inhibitPending = false;
    QDBusUnixFileDescriptor m_inhibitLock;
    QString m_lastError;
};

}  // namespace zk
