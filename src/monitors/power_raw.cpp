#include "monitors/power_raw.h"

#include <algorithm>
#include <cmath>

namespace zk {

int BatteryLevelFlag(int percent)
{
    if (percent > 66)
        return 1;
    if (percent < 5)
        return 4;
    if (percent < 33)
        return 2;
    return 0;
}

int WholePercent(double percentage)
{
    if (!std::isfinite(percentage))
        return 0;
    // nearbyint rounds half to even in the default rounding mode.
    return int(std::nearbyint(std::clamp(percentage, 0.0, 100.0)));
}

PowerStatusRaw RawFromUPower(const UPowerValues &v)
{
    PowerStatusRaw raw;
    raw.acLine = !v.onBattery ? 255 : *v.onBattery ? 0 : 1;
    if (!v.haveDisplay)
        return raw;  // battery unknown
    if (!v.isPresent) {
        raw.batteryFlag = 128;
        return raw;
    }
    raw.lifePercent = WholePercent(v.percentage);
    raw.batteryFlag = BatteryLevelFlag(raw.lifePercent) | (v.state == kUPowerCharging ? 8 : 0);
    // Like the line's remaining time: only known on battery.
    if (raw.acLine == 0 && v.timeToEmpty > 0)
        raw.lifeSeconds = std::min<qint64>(v.timeToEmpty, 0x7fffffff);
    return raw;
}

}  // namespace zk
