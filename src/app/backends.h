// The backends a run talks to the system through, made in one place. With
// --dry-run the power and wake-timer backends only report the calls; the
// others are the same as in a real run.
#pragma once

#include "core/ports/launcher_backend.h"
#include "core/ports/services.h"
#include "monitors/cpu_sampler.h"
#include "platform/linux/proc_cpu.h"
#include "platform/linux/qt_sound_output.h"
#include "platform/linux/x11_screen_capture.h"
#include "shell/countdown_sound.h"
#include "platform/linux/freedesktop_notifier.h"
#include "platform/linux/logind_idle.h"
#include "platform/linux/standins.h"
#include "platform/linux/upower_status.h"

#include <memory>

namespace zk {

struct Backends {
    std::unique_ptr<SessionPower> power;
    std::unique_ptr<WakeTimer> wakeTimer;
    std::unique_ptr<LauncherBackend> launcherBackend;
    // CPU usage from /proc.
    std::unique_ptr<ProcCpu> cpuCounters;
    std::unique_ptr<CpuSampler> cpu;
    // The screen text watcher (window titles and texts of the desktop).
    std::unique_ptr<ScreenText> screenText;
    // The services whose full implementation comes later.
    std::unique_ptr<LinuxStandins> standins;
    // The power status from UPower, else from the kernel's entries; the idle
    // time from the X server, else from logind (only logind in a Wayland session).
    std::unique_ptr<UPowerStatus> powerStatus;
    std::unique_ptr<LogindUserIdle> logindIdle;
    std::unique_ptr<FirstKnownIdle> idle;
    // The countdown sound (the file found at start-up) and the screen capture.
    std::unique_ptr<QtSoundOutput> soundOutput;
    std::unique_ptr<CountdownSoundPlayer> sound;
    // The capture: from the X server, or in a Wayland session through the desktop portal.
    std::unique_ptr<ScreenCapture> capture;
    // The desktop's notification service (it changes no power state: a dry
    // run sends its notices too).
    std::unique_ptr<FreedesktopNotifier> notifier;

    // Puts the power, wake-timer, CPU, screen-text, power-status, idle, sound, capture and notice backends and the
    // stand-ins into the slots of s that are still empty.
    void fill(PlatformServices &s) const;
};

Backends MakeBackends(bool dryRun);

// Where this process looks for its countdown sound.
SoundSearch CountdownSoundSearch();

// The power backend alone: logind, or with dryRun the dry run that still
// asks logind the hibernation questions.
std::unique_ptr<SessionPower> MakeSessionPower(bool dryRun);

}  // namespace zk
