// The raw power status (line, battery flag, percent, seconds) made from what
// Linux reports: UPower's properties or the kernel's power-supply entries.
#pragma once

#include "core/ports/power_status.h"

#include <optional>

namespace zk {

// The level bits of the battery flag for a charge in percent: 1 above 66,
// 2 under 33, 4 under 5, 0 between (the flag then reads "不明").
int BatteryLevelFlag(int percent);

// Percent as the status shows it: rounded half to even, within 0..100.
int WholePercent(double percentage);

// UPower's values: the manager's OnBattery and the display device (the
// combined battery of the machine).
struct UPowerValues {
    std::optional<bool> onBattery;  // none: the manager did not answer
    bool haveDisplay = false;       // the display device answered
    bool isPresent = false;
    quint32 state = 0;              // 1 charging, 2 discharging, 4 full, ...
    double percentage = 0;
    qint64 timeToEmpty = 0;         // seconds; 0 = unknown
};

inline constexpr quint32 kUPowerCharging = 1;

PowerStatusRaw RawFromUPower(const UPowerValues &v);

}  // namespace zk
