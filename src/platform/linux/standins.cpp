#include "platform/linux/standins.h"

#include <QDir>
#include <QFile>

namespace zk {

namespace {

QString readLine(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readLine()).trimmed();
}

}  // namespace

SysfsPowerStatus::SysfsPowerStatus(QString root) : m_root(std::move(root)) {}

int SysfsPowerStatus::read(PowerStatusRaw &raw)
{
    const QDir dir(m_root);
    if (!dir.exists())
        return kPowerStatusUnsupported;
    bool mainsSeen = false;
    bool mainsOnline = false;
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
            mainsSeen = true;
            if (readLine(base + QStringLiteral("online")) == QLatin1String("1"))
                mainsOnline = true;
        } else if (type == QLatin1String("Battery")) {
            if (readLine(base + QStringLiteral("present")) == QLatin1String("0"))
                continue;
            batterySeen = true;
            const QString status = readLine(base + QStringLiteral("status"));
            if (status == QLatin1String("Discharging"))
                discharging = true;
            else if (status == QLatin1String("Charging"))
                charging = true;
            bool ok = false;
            const int c = readLine(base + QStringLiteral("capacity")).toInt(&ok);
            if (ok && percent < 0)
                percent = std::clamp(c, 0, 100);
            const qint64 energy = readLine(base + QStringLiteral("energy_now")).toLongLong(&ok);
            const bool haveEnergy = ok;
            const qint64 power = readLine(base + QStringLiteral("power_now")).toLongLong(&ok);
            if (discharging && haveEnergy && ok && power > 0)
                seconds = energy * 3600 / power;
        }
    }
    if (mainsOnline)
        raw.acLine = 1;
    else if (batterySeen && (discharging || !mainsSeen))
        raw.acLine = 0;
    else if (!batterySeen)
        raw.acLine = 1;
    else
        raw.acLine = 255;
    if (!batterySeen) {
        raw.batteryFlag = 128;
        raw.lifePercent = 255;
        raw.lifeSeconds = -1;
        return kPowerStatusOk;
    }
    int flag = 0;
    if (percent >= 0)
        flag = percent > 66 ? 1 : percent < 5 ? 4 : percent < 33 ? 2 : 0;
    if (charging)
        flag |= 8;
    raw.batteryFlag = flag;
    raw.lifePercent = percent < 0 ? 255 : percent;
    raw.lifeSeconds = seconds;
    return kPowerStatusOk;
}

}  // namespace zk
