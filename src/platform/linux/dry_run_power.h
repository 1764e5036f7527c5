// Backends for --dry-run: every power, session, wake-timer, monitor and
// keep-awake call prints one "dry-run:" line on standard output and succeeds;
// nothing changes the machine's power state.
#pragma once

#include "core/ports/power.h"
#include "core/ports/wake_timer.h"

#include <QHash>
#include <functional>

class QTimer;

namespace zk {

class DryRunPower final : public SessionPower {
    Q_OBJECT
public:
    // The hibernation questions go to the real backend (reading changes
    // nothing), so a dry run takes the same path as the real run would:
    // makeReal(this) makes it on the first question. Without an answer (or
    // without makeReal) it is false, as in a real run.
    explicit DryRunPower(std::function<SessionPower *(QObject *parent)> makeReal, QObject *parent = nullptr);
    // hibernationQuery answers the hibernation questions instead.
    DryRunPower(std::function<bool()> hibernationQuery, QObject *parent = nullptr);

    // Answers from the event loop, like a real call.
    void endSession(SessionEnd how, bool force, QObject *context, Answer done) override;
    // Succeeds and emits resumed() one second later.
    void suspend(bool hibernate, bool force, bool disableWakeEvents, QObject *context, Answer done) override;
    // Not printed: they are questions, and --explain prints its plan on the
    // same standard output.
    void queryHibernationAllowed(QObject *context, Answer done) override;
    bool hibernationAllowedAtStartup() override;
    void setMonitorPower(bool on) override;
    // Printed when the state changes (the keep-awake phase repeats it).
    void setKeepAwake(bool on) override;

private:
    SessionPower *real();
    void answerLater(QObject *context, Answer done, bool ok);

    std::function<SessionPower *(QObject *parent)> m_makeReal;
    std::function<bool()> m_hibernationQuery;
    SessionPower *m_real = nullptr;
    QTimer *m_resumeTimer;
    int m_keepAwake = -1;  // -1 never set, else 0/1
};

class DryRunWakeTimer final : public WakeTimer {
    Q_OBJECT
public:
    using WakeTimer::WakeTimer;

    // Prints the call; the timer is real (a QTimer) so that a dry run waits
    // for the resume time as the real one would, but it wakes nothing.
    int arm(qint64 seconds) override;
    void cancel(int handle) override;

private:
    QHash<int, QTimer *> m_timers;
    int m_nextHandle = 1;
};

// Writes "dry-run: " + text + newline to standard output and flushes it.
void PrintDryRunLine(const QString &text);

}  // namespace zk
