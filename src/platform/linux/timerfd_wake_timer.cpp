#include "platform/linux/timerfd_wake_timer.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <limits>
#include <sys/timerfd.h>
#include <unistd.h>

namespace zk {

TimerfdWakeTimer::~TimerfdWakeTimer()
{
    for (Entry &entry : m_timers)
        release(entry);
}

int TimerfdWakeTimer::arm(qint64 seconds)
{
    bool alarm = true;
    int fd = ::timerfd_create(CLOCK_REALTIME_ALARM, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0 && (errno == EPERM || errno == EINVAL)) {
        // No CAP_WAKE_ALARM (or no RTC alarm support): a plain wall-clock timer.
        alarm = false;
        fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    }
    if (fd < 0)
        return 0;

    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    itimerspec spec{};
    // Due time = now + seconds, to the nanosecond of now; a due time that is
    // already past makes the timer expire at once. An all-zero it_value would
    // disarm it, which the clock never reads.
    constexpr qint64 maxSeconds = std::numeric_limits<time_t>::max() / 2;
    const qint64 delta = seconds > 0 ? std::min(seconds, maxSeconds) : 0;
    spec.it_value.tv_sec = now.tv_sec + time_t(delta);
    spec.it_value.tv_nsec = now.tv_nsec;
    if (::timerfd_settime(fd, TFD_TIMER_ABSTIME, &spec, nullptr) != 0) {
        ::close(fd);
        return 0;
    }

    const int handle = m_nextHandle++;
    if (m_nextHandle <= 0)
        m_nextHandle = 1;
    Entry entry;
    entry.fd = fd;
    entry.alarm = alarm;
    entry.notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(entry.notifier, &QSocketNotifier::activated, this, [this, handle] { onReadable(handle); });
    m_timers.insert(handle, entry);
    return handle;
}

void TimerfdWakeTimer::onReadable(int handle)
{
    auto it = m_timers.find(handle);
    if (it == m_timers.end())
        return;
    std::uint64_t expirations = 0;
    const ssize_t n = ::read(it->fd, &expirations, sizeof expirations);
    if (n != ssize_t(sizeof expirations))
        return;  // spurious wake-up (EAGAIN) or a clock change: keep waiting
    Entry entry = *it;
    m_timers.erase(it);
    release(entry);
    Q_EMIT fired(handle);
}

void TimerfdWakeTimer::cancel(int handle)
{
    auto it = m_timers.find(handle);
    if (it == m_timers.end())
        return;
    Entry entry = *it;
    m_timers.erase(it);
    release(entry);
}

bool TimerfdWakeTimer::wakesSystem(int handle) const
{
    const auto it = m_timers.constFind(handle);
    return it != m_timers.cend() && it->alarm;
}

void TimerfdWakeTimer::release(Entry &entry)
{
    if (entry.notifier) {
        entry.notifier->setEnabled(false);
        entry.notifier->deleteLater();
        entry.notifier = nullptr;
    }
    if (entry.fd >= 0) {
        ::close(entry.fd);
        entry.fd = -1;
    }
}

}  // namespace zk
