// Wake timer over timerfd: an absolute wall-clock expiry that also wakes the
// machine from a suspend when the process may set wake alarms.
#pragma once

#include "core/ports/wake_timer.h"

#include <QHash>

class QSocketNotifier;

namespace zk {

class TimerfdWakeTimer final : public WakeTimer {
    Q_OBJECT
public:
    using WakeTimer::WakeTimer;
    ~TimerfdWakeTimer() override;

    // The expiry is set as an absolute CLOCK_REALTIME_ALARM time, so the time
    // spent suspended counts and the alarm brings the machine back. Without
    // CAP_WAKE_ALARM the timer falls back to CLOCK_REALTIME: it still fires
    // at the due time once the machine runs, but cannot wake it.
    int arm(qint64 seconds) override;
    void cancel(int handle) override;

    // Whether the timer of that handle can wake the machine from a suspend.
    bool wakesSystem(int handle) const;
    // Number of armed timers.
    int armedCount() const { return int(m_timers.size()); }

private:
    struct Entry {
        int fd = -1;
        bool alarm = false;
        QSocketNotifier *notifier = nullptr;
    };
    void onReadable(int handle);
    void release(Entry &entry);

    QHash<int, Entry> m_timers;
    int m_nextHandle = 1;
};

}  // namespace zk
