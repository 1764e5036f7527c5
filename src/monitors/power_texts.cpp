#include "monitors/power_texts.h"

namespace zk {

QString PowerLineText(int acLine)
{
    switch (acLine) {
    case 0: return kLineBattery;
    case 1: return kLineMains;
    default: return QStringLiteral("不明");
    }
}

PowerStatusTexts PowerStatusTextsFrom(const PowerStatusRaw &raw)
{
    PowerStatusTexts t;
    t.line = PowerLineText(raw.acLine);
    const int flag = raw.batteryFlag;
    if (flag & 128)
        t.charge = QStringLiteral("バッテリなし");
    else if (flag & 8)
        t.charge = QStringLiteral("充電中");
    else if (flag == 1)
        t.charge = QStringLiteral("多い");
    else if (flag == 2)
        t.charge = QStringLiteral("少い");
    else if (flag == 4)
        t.charge = QStringLiteral("微量");
    else
        t.charge = QStringLiteral("不明");
    t.percent = raw.lifePercent == 255 ? QStringLiteral("不明") : QString::number(raw.lifePercent) + QStringLiteral("%");
    t.seconds = raw.lifeSeconds == -1 ? QStringLiteral("不明") : QString::number(raw.lifeSeconds) + QStringLiteral("秒");
    return t;
}

}  // namespace zk
