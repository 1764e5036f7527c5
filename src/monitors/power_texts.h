// The power status as the short texts the program shows.
#pragma once

#include "core/ports/power_status.h"

namespace zk {

// Line, charge, percent and seconds texts of a raw status.
PowerStatusTexts PowerStatusTextsFrom(const PowerStatusRaw &raw);
// The line text alone: "バッテリ", "AC電源" or "不明" (translated).
QString PowerLineText(int acLine);

}  // namespace zk
