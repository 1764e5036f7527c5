#include "app/backends.h"

#include "platform/linux/dry_run_power.h"
#include "platform/linux/linux_launcher_backend.h"
#include "platform/linux/linux_screen_text.h"
#include "platform/linux/logind_power.h"
#include "platform/linux/portal_screen_capture.h"
#include "platform/linux/session_bus.h"
#include "platform/linux/session_kind.h"
#include "platform/linux/timerfd_wake_timer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zk {

std::unique_ptr<SessionPower> MakeSessionPower(bool dryRun)
{
    if (!dryRun)
        return std::make_unique<LogindPower>();
    // Reading the answers changes nothing; a dry run waits less for them.
    return std::make_unique<DryRunPower>([](QObject *parent) {
        auto *logind = new LogindPower(parent);
        logind->setStartupTimeout(2000);
        return static_cast<SessionPower *>(logind);
    });
}

SoundSearch CountdownSoundSearch()
{
    SoundSearch search;
    search.currentDir = QDir::currentPath();
    search.programDir = QCoreApplication::applicationDirPath();
    // An installed tree first, wherever it was unpacked (bin/../share), then the desktop's data folders.
    search.dataDirs = QStringList{QCoreApplication::applicationDirPath() + QStringLiteral("/../share")} +
                      QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    search.wavFiles = [](const QString &dir) {
        return QDir(dir).entryList({QStringLiteral("*.wav")}, QDir::Files | QDir::Readable, QDir::Name);
    };
    search.isFile = [](const QString &path) { return QFileInfo(path).isFile(); };
    return search;
}

Backends MakeBackends(bool dryRun)
{
    Backends b;
    b.power = MakeSessionPower(dryRun);
    if (dryRun)
        b.wakeTimer = std::make_unique<DryRunWakeTimer>();
    else
        b.wakeTimer = std::make_unique<TimerfdWakeTimer>(ProbeWakeAbility({QCoreApplication::applicationDirPath()}));
    b.launcherBackend = std::make_unique<LinuxLauncherBackend>();
    b.cpuCounters = std::make_unique<ProcCpu>();
    b.cpu = std::make_unique<CpuSampler>(*b.cpuCounters);
    b.screenText = std::make_unique<LinuxScreenText>();
    b.standins = std::make_unique<LinuxStandins>();
    b.powerStatus = std::make_unique<UPowerStatus>(&b.standins->powerStatus);
    b.logindIdle = std::make_unique<LogindUserIdle>();
    // In a Wayland session the X server (XWayland) sees the input of X11
    // windows only: logind's idle hint is the idle time there.
    const bool wayland = DetectSessionKind() == SessionKind::Wayland;
    b.idle = std::make_unique<FirstKnownIdle>(wayland ? nullptr : &b.standins->idle, b.logindIdle.get());
    b.soundOutput = std::make_unique<QtSoundOutput>();
    b.sound = std::make_unique<CountdownSoundPlayer>(*b.soundOutput, FindCountdownSound(CountdownSoundSearch()));
    // XWayland's root window shows X11 windows only.
    if (wayland)
        b.capture = std::make_unique<PortalScreenCapture>(SessionBus());
    else
        b.capture = std::make_unique<X11ScreenCapture>();
    b.notifier = std::make_unique<FreedesktopNotifier>();
    return b;
}

void Backends::fill(PlatformServices &s) const
{
    if (!s.power)
        s.power = power.get();
    if (!s.wakeTimer)
        s.wakeTimer = wakeTimer.get();
    if (!s.cpu)
        s.cpu = cpu.get();
    if (!s.powerStatus)
        s.powerStatus = powerStatus.get();
    if (!s.idle)
        s.idle = idle.get();
    if (!s.screenText)
        s.screenText = screenText.get();
    if (!s.sound)
        s.sound = sound.get();
    if (!s.capture)
        s.capture = capture.get();
    if (!s.notifier)
        s.notifier = notifier.get();
    standins->fill(s);
}

}  // namespace zk
