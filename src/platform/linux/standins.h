// Fallback Linux services of the run. The power status of the kernel's power-supply class and the idle time of
// the X server (x11_idle.h) are the first choices' fallbacks: see
// upower_status.h and logind_idle.h.
#pragma once

#include "platform/linux/x11_idle.h"
#include "core/ports/services.h"

#include <QString>

namespace zk {

class NullUserIdle final : public UserIdle {
public:
    qint64 idleMilliseconds() override { return -1; }
};

// Power status from /sys/class/power_supply (or another folder of the same
// layout), the status used where UPower is missing: an online mains or USB
// supply, or a charging battery -> AC line 1; a discharging battery, or a
// battery beside an offline mains entry -> 0; no battery of the machine's own
// (a mouse's does not count) -> mains without a battery.
class SysfsPowerStatus final : public PowerStatus {
public:
    explicit SysfsPowerStatus(QString root = QStringLiteral("/sys/class/power_supply"));
    int read(PowerStatusRaw &raw) override;

private:
    QString m_root;
};

}  // namespace zk

namespace zk {

// The stand-ins above, owned in one place; fill() puts them into the slots
// of a service set that are still empty.
struct LinuxStandins {
    SysfsPowerStatus powerStatus;
    X11UserIdle idle;

    void fill(PlatformServices &s)
    {
        if (!s.powerStatus)
            s.powerStatus = &powerStatus;
        if (!s.idle)
            s.idle = &idle;
    }
};

}  // namespace zk
