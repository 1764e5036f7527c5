// Every platform service the logic uses, bundled so that the application can
// wire the real, fake or dry-run set in one place. A null pointer means the
// service is missing: the logic then takes a neutral value (no trigger, no
// sound, a refused power call).
#pragma once

#include "core/ports/app_launcher.h"
#include "core/ports/capture.h"
#include "core/ports/cpu_monitor.h"
#include "core/ports/desktop_notifier.h"
#include "core/ports/power.h"
#include "core/ports/power_status.h"
#include "core/ports/screen_text.h"
#include "core/ports/sound.h"
#include "core/ports/wake_timer.h"

namespace zk {

struct PlatformServices {
    SessionPower *power = nullptr;
    WakeTimer *wakeTimer = nullptr;
    ScreenText *screenText = nullptr;
    CpuMonitor *cpu = nullptr;
    PowerStatus *powerStatus = nullptr;
    UserIdle *idle = nullptr;
    AppLauncher *launcher = nullptr;
    CountdownSound *sound = nullptr;
    ScreenCapture *capture = nullptr;
    DesktopNotifier *notifier = nullptr;
};

}  // namespace zk
