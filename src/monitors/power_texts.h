// The power status as the short texts the program shows.
#pragma once

#include "core/ports/power_status.h"

namespace zk {

// Line, charge, percent and seconds texts of a raw status.
PowerStatusTexts PowerStatusTextsFrom(const PowerStatusRaw &raw);
// The line text alone: "バッテリ", "AC電源" or "不明".
QString PowerLineText(int acLine);

inline const QString kLineBattery = QStringLiteral("バッテリ");
inline const QString kLineMains = QStringLiteral("AC電源");

}  // namespace zk
