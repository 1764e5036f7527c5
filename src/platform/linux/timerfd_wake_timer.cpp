#include "platform/linux/timerfd_wake_timer.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <limits>
#include <sys/timerfd.h>
#include <unistd.h>

namespace zk {

namespace {

void PrintCannotWake(const QString &why)
{
    const QByteArray line = (QStringLiteral("zenkoro: ") + QCoreApplication::translate("WakeTimer", "復帰タイマーを設定できません: ") + why + QLatin1Char('\n')).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

}  // namespace

TimerfdWakeTimer::TimerfdWakeTimer(QObject *parent)
    : TimerfdWakeTimer(WakeAbility{WakeAbility::Direct, QString(), QString()}, parent)
{
}

TimerfdWakeTimer::TimerfdWakeTimer(const WakeAbility &ability, QObject *parent)
    : WakeTimer(parent), m_ability(ability)
{
}

TimerfdWakeTimer::~TimerfdWakeTimer()
{
    for (Entry &entry : m_timers)
        release(entry);
}

bool TimerfdWakeTimer::armFd(Entry &entry, int clock)
{
    const int fd = ::timerfd_create(clock, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0)
        return false;
    itimerspec spec{};
    // A due time that is already past makes the timer expire at once; an
    // all-zero it_value would disarm it.
    spec.it_value.tv_sec = time_t(std::max<qint64>(entry.due, 1));
    spec.it_value.tv_nsec = entry.dueNsec;
    if (::timerfd_settime(fd, TFD_TIMER_ABSTIME, &spec, nullptr) != 0) {
        ::close(fd);
        return false;
    }
    entry.fd = fd;
    entry.alarm = clock == CLOCK_REALTIME_ALARM;
    return true;
}

int TimerfdWakeTimer::arm(qint64 seconds)
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    constexpr qint64 maxSeconds = std::numeric_limits<time_t>::max() / 4;
    const qint64 delta = seconds > 0 ? std::min(seconds, maxSeconds) : 0;
    Entry entry;
    // Due time = now + seconds, to the nanosecond of now.
    entry.due = qint64(now.tv_sec) + delta;
    entry.dueNsec = now.tv_nsec;

    const int handle = m_nextHandle++;
    if (m_nextHandle <= 0)
        m_nextHandle = 1;

    if (m_ability.way == WakeAbility::Helper) {
        auto *helper = new QProcess(this);
        entry.helper = helper;
        helper->setProcessChannelMode(QProcess::SeparateChannels);
        connect(helper, &QProcess::readyReadStandardOutput, this, [this, handle] { onHelperOutput(handle); });
        connect(helper, &QProcess::finished, this, [this, handle] { onHelperEnded(handle); });
        connect(helper, &QProcess::errorOccurred, this, [this, handle](QProcess::ProcessError e) {
            if (e == QProcess::FailedToStart)
                onHelperEnded(handle);
        });
        m_timers.insert(handle, entry);
        // The helper takes whole seconds: rounded up, it never fires early.
        helper->start(m_ability.helperPath, {QString::number(entry.due + (entry.dueNsec > 0 ? 1 : 0))});
        return handle;
    }

    const bool armed = (m_ability.way == WakeAbility::Direct && armFd(entry, CLOCK_REALTIME_ALARM)) ||
                       armFd(entry, CLOCK_REALTIME);
    if (!armed)
        return 0;
    if (!entry.alarm)
        PrintCannotWake(m_ability.reason.isEmpty() ? QCoreApplication::translate("WakeTimer", "CLOCK_REALTIME_ALARM を使えません。") : m_ability.reason);
    entry.notifier = new QSocketNotifier(entry.fd, QSocketNotifier::Read, this);
    connect(entry.notifier, &QSocketNotifier::activated, this, [this, handle] { onReadable(handle); });
    m_timers.insert(handle, entry);
    return handle;
}

void TimerfdWakeTimer::onReadable(int handle)
{
    auto it = m_timers.find(handle);
    if (it == m_timers.end() || it->fd < 0)
        return;
    std::uint64_t expirations = 0;
    const ssize_t n = ::read(it->fd, &expirations, sizeof expirations);
    if (n != ssize_t(sizeof expirations))
        return;  // spurious wake-up (EAGAIN) or a clock change: keep waiting
    fire(handle);
}

void TimerfdWakeTimer::onHelperOutput(int handle)
{
    auto it = m_timers.find(handle);
    if (it == m_timers.end() || !it->helper)
        return;
    it->pending += it->helper->readAllStandardOutput();
    qsizetype nl;
    while ((nl = it->pending.indexOf('\n')) >= 0) {
        const QByteArray line = it->pending.left(nl).trimmed();
        it->pending.remove(0, nl + 1);
        if (line.startsWith("armed")) {
            it->alarm = true;
            Q_EMIT helperArmed(handle);
        } else if (line == "fired") {
            fire(handle);
            return;
        } else if (line.startsWith("error")) {
            fallBack(handle, QString::fromUtf8(line.mid(5).trimmed()));
            return;
        }
        it = m_timers.find(handle);
        if (it == m_timers.end())
            return;
    }
}

void TimerfdWakeTimer::onHelperEnded(int handle)
{
    auto it = m_timers.find(handle);
    if (it == m_timers.end() || !it->helper)
        return;
    onHelperOutput(handle);  // a "fired" may still be in the pipe
    it = m_timers.find(handle);
    if (it == m_timers.end() || !it->helper)
        return;
    const QString err = QString::fromLocal8Bit(it->helper->readAllStandardError()).trimmed();
    fallBack(handle, it->helper->error() == QProcess::FailedToStart
                         ? QCoreApplication::translate("WakeTimer", "%1 を起動できません。").arg(m_ability.helperPath)
                         //: %1: the helper program, %2: what it said.
                         : QCoreApplication::translate("WakeTimer", "%1 が終了しました。%2").arg(m_ability.helperPath, err));
}

void TimerfdWakeTimer::fallBack(int handle, const QString &why)
{
    auto it = m_timers.find(handle);
    if (it == m_timers.end())
        return;
    PrintCannotWake(why);
    QProcess *helper = it->helper;
    it->helper = nullptr;
    it->alarm = false;
    if (helper) {
        helper->disconnect(this);
        helper->kill();
        helper->deleteLater();
    }
    // The wait still ends at the due time once the machine runs.
    if (!armFd(*it, CLOCK_REALTIME)) {
        fire(handle);
        return;
    }
    it->notifier = new QSocketNotifier(it->fd, QSocketNotifier::Read, this);
    connect(it->notifier, &QSocketNotifier::activated, this, [this, handle] { onReadable(handle); });
}

void TimerfdWakeTimer::fire(int handle)
{
    auto it = m_timers.find(handle);
    if (it == m_timers.end())
        return;
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

QProcess *TimerfdWakeTimer::helperOf(int handle) const
{
    const auto it = m_timers.constFind(handle);
    return it != m_timers.cend() ? it->helper : nullptr;
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
    if (entry.helper) {
        // Closing its input cancels the helper; it ends at once.
        entry.helper->disconnect(this);
        entry.helper->closeWriteChannel();
        QProcess *helper = entry.helper;
        connect(helper, &QProcess::finished, helper, &QObject::deleteLater);
        if (helper->state() == QProcess::NotRunning)
            helper->deleteLater();
        entry.helper = nullptr;
    }
}

}  // namespace zk
