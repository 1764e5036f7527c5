#include "platform/linux/standins.h"

#include "monitors/power_raw.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <limits>
#include <utility>

namespace zk {

namespace {

QString readLine(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readLine()).trimmed();
}

// Hours of an amount at a rate, in seconds, saturated at the largest
// remaining time the status holds (as UPower's time to empty is).
qint64 RemainingSeconds(qint64 amount, qint64 rate)
{
    constexpr qint64 kMost = 0x7fffffff;
    const qint64 hours = amount / rate;
    if (hours >= kMost / 3600)
        return kMost;
    const qint64 rest = amount % rate;  // under rate
    const qint64 restSeconds = rest <= std::numeric_limits<qint64>::max() / 3600
                                   ? rest * 3600 / rate
                                   : qint64(double(rest) / double(rate) * 3600);
    return std::min(kMost, hours * 3600 + restSeconds);
}

}  // namespace

SysfsPowerStatus::SysfsPowerStatus(QString root) : m_root(std::move(root)) {}

int SysfsPowerStatus::read(PowerStatusRaw &raw)
{
    const QDir dir(m_root);
    if (!dir.exists())
        return kPowerStatusUnsupported;
    bool mainsEntry = false;   // a "Mains" entry: its state tells the line
    bool mainsOnline = false;  // a mains or USB supply feeds the machine
    bool batterySeen = false;
    bool discharging = false;
    bool charging = false;
    int percent = -1;
    qint64 seconds = -1;
    const QStringList entries = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System);
    for (const QString &name : entries) {
        const QString base = dir.filePath(name) + QLatin1Char('/');
        const QString type = readLine(base + QStringLiteral("type"));
        if (type == QLatin1String("Mains") || type == QLatin1String("USB")) {
            mainsEntry = mainsEntry || type == QLatin1String("Mains");
            if (readLine(base + QStringLiteral("online")) == QLatin1String("1"))
                mainsOnline = true;
        } else if (type == QLatin1String("Battery")) {
            // A mouse's or a keyboard's battery does not power the machine.
            if (readLine(base + QStringLiteral("scope")) == QLatin1String("Device"))
                continue;
            if (readLine(base + QStringLiteral("present")) == QLatin1String("0"))
                continue;
            batterySeen = true;
            const QString status = readLine(base + QStringLiteral("status"));
            const bool thisDischarging = status == QLatin1String("Discharging");
            if (thisDischarging)
                discharging = true;
            else if (status == QLatin1String("Charging"))
                charging = true;
            bool ok = false;
            const int c = readLine(base + QStringLiteral("capacity")).toInt(&ok);
            if (ok && percent < 0)
                percent = std::clamp(c, 0, 100);
            // Energy over power (µWh, µW) or charge over current (µAh, µA).
            for (const auto &[amount, rate] : {std::pair{"energy_now", "power_now"}, {"charge_now", "current_now"}}) {
                const qint64 left = readLine(base + QLatin1String(amount)).toLongLong(&ok);
                const bool haveLeft = ok;
                const qint64 flow = readLine(base + QLatin1String(rate)).toLongLong(&ok);
                if (thisDischarging && seconds < 0 && haveLeft && ok && flow > 0 && left >= 0)
                    seconds = RemainingSeconds(left, flow);
            }
        }
    }
    if (mainsOnline || (charging && !discharging))
        raw.acLine = 1;
    else if (discharging || (batterySeen && mainsEntry))
        raw.acLine = 0;
    else if (!batterySeen)
        raw.acLine = 1;
    else
        raw.acLine = 255;  // a battery that neither charges nor discharges, no mains entry
    if (!batterySeen) {
        raw.batteryFlag = 128;
        raw.lifePercent = 255;
        raw.lifeSeconds = -1;
        return kPowerStatusOk;
    }
    raw.batteryFlag = (percent >= 0 ? BatteryLevelFlag(percent) : 0) | (charging ? 8 : 0);
    raw.lifePercent = percent < 0 ? 255 : percent;
    raw.lifeSeconds = raw.acLine == 0 ? seconds : -1;
    return kPowerStatusOk;
}

}  // namespace zk
