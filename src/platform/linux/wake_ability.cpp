#include "platform/linux/wake_ability.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/xattr.h>

#include <cstdint>
#include <cstring>

namespace zk {

namespace {

constexpr int kCapWakeAlarm = 35;

// Whether the effective set of the status file's CapEff line holds CAP_WAKE_ALARM.
bool HasWakeAlarmCapability(const QString &procStatus)
{
    QFile f(procStatus);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = f.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (!line.startsWith("CapEff:"))
            continue;
        bool ok = false;
        const quint64 mask = line.mid(7).trimmed().toULongLong(&ok, 16);
        return ok && (mask & (quint64(1) << kCapWakeAlarm));
    }
    return false;
}

// Whether the file carries CAP_WAKE_ALARM as a permitted and effective file
// capability (the security.capability attribute that setcap writes).
bool FileHasWakeAlarmCapability(const QString &path)
{
    unsigned char buf[64];
    const QByteArray native = QFile::encodeName(path);
    const ssize_t n = ::getxattr(native.constData(), "security.capability", buf, sizeof buf);
    if (n < 4 + 8 * 2)
        return false;  // no attribute, or a version 1 one (32 capabilities only)
    auto le32 = [&](int offset) {
        return std::uint32_t(buf[offset]) | std::uint32_t(buf[offset + 1]) << 8 |
               std::uint32_t(buf[offset + 2]) << 16 | std::uint32_t(buf[offset + 3]) << 24;
    };
    const std::uint32_t magic = le32(0);
    const bool effective = magic & 0x000001;  // VFS_CAP_FLAGS_EFFECTIVE
    // data[1].permitted holds capabilities 32..63.
    const std::uint32_t permittedHigh = le32(4 + 8);
    return effective && (permittedHigh & (1u << (kCapWakeAlarm - 32)));
}

// Whether sysfs shows a real-time clock that can raise a wake alarm. A
// container's sysfs may leave the folder of such clocks out altogether while
// the kernel's alarm timers work: a missing folder tells nothing, and only a
// folder without a wake-capable clock means there is none.
bool HasRtcAlarm(const QString &sysfsRoot)
{
    const QDir rtc(sysfsRoot + QStringLiteral("/class/rtc"));
    if (!rtc.exists())
        return true;
    const QStringList clocks = rtc.entryList({QStringLiteral("rtc*")}, QDir::Dirs | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : clocks) {
        if (QFileInfo::exists(rtc.filePath(name) + QStringLiteral("/wakealarm")))
            return true;
    }
    return false;
}

}  // namespace

QString WakeAbility::wayName() const
{
    switch (way) {
    case Direct: return QStringLiteral("direct");
    case Helper: return QStringLiteral("helper");
    case None: break;
    }
    return QStringLiteral("none");
}

QString FindWakeHelper(const QString &programDir)
{
    const QDir dir(programDir);
    for (const QString &candidate : {dir.filePath(QLatin1String(kWakeHelperName)),
                                     dir.filePath(QStringLiteral("../libexec/zenkoro/") + QLatin1String(kWakeHelperName))}) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return QDir::cleanPath(info.absoluteFilePath());
    }
    return QString();
}

WakeAbility ProbeWakeAbility(const WakeProbeEnvironment &env)
{
    WakeAbility a;
    if (!HasRtcAlarm(env.sysfsRoot)) {
        a.reason = QCoreApplication::translate("WakeTimer", "復帰アラームを設定できるリアルタイムクロック (RTC) がありません。");
        return a;
    }
    if (HasWakeAlarmCapability(env.procStatus)) {
        a.way = WakeAbility::Direct;
        return a;
    }
    const QString helper = FindWakeHelper(env.programDir);
    if (helper.isEmpty()) {
        a.reason = //: %1: the helper's file name, %2: the folder it was looked for in.
            QCoreApplication::translate("WakeTimer", "復帰用の補助プログラム %1 が %2 にありません。")
                       .arg(QLatin1String(kWakeHelperName), QDir::toNativeSeparators(env.programDir));
        return a;
    }
    if (!FileHasWakeAlarmCapability(helper)) {
        a.reason = QCoreApplication::translate("WakeTimer", "%1 に CAP_WAKE_ALARM の権限がありません (setcap cap_wake_alarm+ep %1)。")
                       .arg(helper);
        return a;
    }
    a.way = WakeAbility::Helper;
    a.helperPath = helper;
    return a;
}

}  // namespace zk
