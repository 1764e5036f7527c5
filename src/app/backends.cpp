#include "app/backends.h"

#include "platform/linux/dry_run_power.h"
#include "platform/linux/linux_launcher_backend.h"
#include "platform/linux/linux_screen_text.h"
#include "platform/linux/logind_power.h"
#include "platform/linux/timerfd_wake_timer.h"

namespace zk {

std::unique_ptr<SessionPower> MakeSessionPower(bool dryRun)
{
    if (!dryRun)
        return std::make_unique<LogindPower>();
    // Reading the answers changes nothing; a dry run waits less for them.
    return std::make_unique<DryRunPower>([](QObject *parent) {
        auto *logind = new LogindPower(parent);
        logind->setStartupTimeout(2000);
        return static_cast<SessionPower *>(logind);
    });
}

Backends MakeBackends(bool dryRun)
{
    Backends b;
    b.power = MakeSessionPower(dryRun);
    if (dryRun)
        b.wakeTimer = std::make_unique<DryRunWakeTimer>();
    else
        b.wakeTimer = std::make_unique<TimerfdWakeTimer>();
    b.launcherBackend = std::make_unique<LinuxLauncherBackend>();
    b.screenText = std::make_unique<LinuxScreenText>();
    b.standins = std::make_unique<LinuxStandins>();
    return b;
}

void Backends::fill(PlatformServices &s) const
{
    if (!s.power)
        s.power = power.get();
    if (!s.wakeTimer)
        s.wakeTimer = wakeTimer.get();
    if (!s.screenText)
        s.screenText = screenText.get();
    standins->fill(s);
}

}  // namespace zk
