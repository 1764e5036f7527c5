// Wake timer over timerfd: an absolute wall-clock expiry that also wakes the
// machine from a suspend when the process may set wake alarms.
#pragma once

#include "core/ports/wake_timer.h"
#include "platform/linux/wake_ability.h"

#include <QHash>

class QProcess;
class QSocketNotifier;

namespace zk {

class TimerfdWakeTimer final : public WakeTimer {
    Q_OBJECT
public:
    // `ability` says how a wake alarm can be armed (ProbeWakeAbility); without
    // it, by this process itself.
    explicit TimerfdWakeTimer(QObject *parent = nullptr);
    explicit TimerfdWakeTimer(const WakeAbility &ability, QObject *parent = nullptr);
    ~TimerfdWakeTimer() override;

    // The expiry is an absolute CLOCK_REALTIME_ALARM time, so the time spent
    // suspended counts and the alarm brings the machine back: armed by this
    // process when it holds CAP_WAKE_ALARM, else by the zenkoro-wake helper,
    // which reports over a pipe when it fired. Where neither can be had, or
    // the helper fails, a CLOCK_REALTIME timer still ends the wait at the due
    // time once the machine runs, and the reason is printed on stderr.
    int arm(qint64 seconds) override;
    void cancel(int handle) override;
    QString unavailableReason() const override { return m_ability.reason; }

    // Whether the timer of that handle can wake the machine from a suspend.
    bool wakesSystem(int handle) const;
    // Number of armed timers.
    int armedCount() const { return int(m_timers.size()); }
    // The helper process of that handle (nullptr when it has none).
    QProcess *helperOf(int handle) const;

Q_SIGNALS:
    // The helper of that handle has armed its alarm.
    void helperArmed(int handle);

private:
    struct Entry {
        int fd = -1;
        bool alarm = false;
        qint64 due = 0;  // seconds since the epoch
        long dueNsec = 0;
        QSocketNotifier *notifier = nullptr;
        QProcess *helper = nullptr;
        QByteArray pending;  // the helper's output not yet read as a line
    };
    bool armFd(Entry &entry, int clock);
    void onReadable(int handle);
    void onHelperOutput(int handle);
    void onHelperEnded(int handle);
    void fallBack(int handle, const QString &why);
    void fire(int handle);
    void release(Entry &entry);

    WakeAbility m_ability;

    QHash<int, Entry> m_timers;
    int m_nextHandle = 1;
};

}  // namespace zk
