#include "monitors/power_texts.h"

#include <QCoreApplication>

namespace zk {

QString PowerLineText(int acLine)
{
    switch (acLine) {
    //: The power line: on battery.
    case 0: return QCoreApplication::translate("PowerStatus", "バッテリ");
    //: The power line: on mains power.
    case 1: return QCoreApplication::translate("PowerStatus", "AC電源");
    default: return QCoreApplication::translate("PowerStatus", "不明");
    }
}

PowerStatusTexts PowerStatusTextsFrom(const PowerStatusRaw &raw)
{
    PowerStatusTexts t;
    t.line = PowerLineText(raw.acLine);
    const QString unknown = QCoreApplication::translate("PowerStatus", "不明");
    const int flag = raw.batteryFlag;
    if (flag & 128)
        t.charge = QCoreApplication::translate("PowerStatus", "バッテリなし");
    else if (flag & 8)
        t.charge = QCoreApplication::translate("PowerStatus", "充電中");
    else if (flag == 1)
        //: Battery charge level: high.
        t.charge = QCoreApplication::translate("PowerStatus", "多い");
    else if (flag == 2)
        //: Battery charge level: low.
        t.charge = QCoreApplication::translate("PowerStatus", "少い");
    else if (flag == 4)
        //: Battery charge level: critical.
        t.charge = QCoreApplication::translate("PowerStatus", "微量");
    else
        t.charge = unknown;
    t.percent = raw.lifePercent == 255 ? unknown : QString::number(raw.lifePercent) + QStringLiteral("%");
    //: Remaining battery time in seconds.
    const QString seconds = QCoreApplication::translate("PowerStatus", "%1秒");
    t.seconds = raw.lifeSeconds == -1 ? unknown : seconds.arg(raw.lifeSeconds);
    return t;
}

}  // namespace zk
