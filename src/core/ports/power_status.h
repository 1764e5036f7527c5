// The machine's power line and battery, and the time since the last user input.
#pragma once

#include <QString>

namespace zk {

// The four status texts (line: "バッテリ", "AC電源", "不明"; charge; percent; seconds).
struct PowerStatusTexts {
    QString line;
    QString charge;
    QString percent;
    QString seconds;
    bool operator==(const PowerStatusTexts &) const = default;
};

// Raw status as the system reports it.
struct PowerStatusRaw {
    int acLine = 255;        // 0 battery, 1 mains, 255 unknown
    int batteryFlag = 255;   // 1 high, 2 low, 4 critical, 8 charging, 128 no battery, 255 unknown
    int lifePercent = 255;   // 0..100, 255 unknown
    qint64 lifeSeconds = -1; // -1 unknown
};

// Result codes of PowerStatus::read.
inline constexpr int kPowerStatusOk = 0;
inline constexpr int kPowerStatusFailed = -1;
inline constexpr int kPowerStatusUnsupported = -2;

class PowerStatus {
public:
    virtual ~PowerStatus() = default;
    // Fills raw; kPowerStatusOk, kPowerStatusUnsupported or kPowerStatusFailed
    // (raw is left as it was on a failure).
    virtual int read(PowerStatusRaw &raw) = 0;
};

class UserIdle {
public:
    virtual ~UserIdle() = default;
    // Milliseconds since the last keyboard or mouse input; -1 when unknown.
    virtual qint64 idleMilliseconds() = 0;
};

}  // namespace zk
