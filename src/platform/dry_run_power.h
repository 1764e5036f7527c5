// Backends for --dry-run: every power, session, wake-timer, monitor and
// keep-awake call prints one "dry-run:" line on standard output and succeeds;
// nothing changes the machine's power state.
#pragma once

#include "platform/power.h"
#include "platform/wake_timer.h"

#include <QHash>
#include <functional>

class QTimer;

namespace zk {

class DryRunPower final : public SessionPower {
    Q_OBJECT
public:
    // hibernationQuery answers hibernationAllowed(); by default the real
    // logind is asked (reading changes nothing), so a dry run takes the same
    // path as the real run would. Without an answer from logind it is false,
    // as in a real run.
    explicit DryRunPower(QObject *parent = nullptr);
    DryRunPower(std::function<bool()> hibernationQuery, QObject *parent = nullptr);

    bool exitSession(quint32 flags) override;
    // Succeeds and emits resumed() one second later.
    bool suspend(bool hibernate, bool force, bool disableWakeEvents) override;
    // Not printed: it is a query, and --explain prints its plan on the same
    // standard output.
    bool hibernationAllowed() override;
    void setMonitorPower(bool on) override;
    // Printed when the state changes (the keep-awake phase repeats it).
    void setKeepAwake(bool on) override;

private:
    std::function<bool()> m_hibernationQuery;
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
