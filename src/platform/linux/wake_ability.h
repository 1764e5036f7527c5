// Whether this process can arm a timer that wakes the machine from a suspend,
// and how: itself (it holds CAP_WAKE_ALARM, as root does), through the
// zenkoro-wake helper (which holds only that capability), or not at all.
#pragma once

#include <QString>

namespace zk {

struct WakeAbility {
    enum Way { Direct, Helper, None };
    Way way = None;
    QString helperPath;  // Helper: the program to start
    QString reason;      // None: why not, for the user
    bool possible() const { return way != None; }
    // "direct", "helper", "none": the --explain field's word.
    QString wayName() const;
};

struct WakeProbeEnvironment {
    // The folder the program runs from; the helper is looked for beside it,
    // then in ../libexec/zenkoro.
    QString programDir;
    // Where sysfs is (tests point this at a tree of their own).
    QString sysfsRoot = QStringLiteral("/sys");
    // The process status file whose CapEff line is read.
    QString procStatus = QStringLiteral("/proc/self/status");
};

// The helper program's name.
inline constexpr char kWakeHelperName[] = "zenkoro-wake";

// Looks, without starting anything: the real-time clock's wake alarm in
// sysfs, the process's effective capabilities, the helper's file capability.
WakeAbility ProbeWakeAbility(const WakeProbeEnvironment &env);

// The helper's path for this program folder ("" when there is none).
QString FindWakeHelper(const QString &programDir);

}  // namespace zk
