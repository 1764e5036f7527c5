// Every platform service the logic uses, bundled so that the application can
// wire the real, fake or dry-run set in one place. A null pointer means the
// service is missing: the logic then takes a neutral value (no trigger, no
// sound, a refused power call).
#pragma once

#include "platform/app_launcher.h"
#include "platform/capture.h"
#include "platform/cpu_monitor.h"
#include "platform/power.h"
#include "platform/power_status.h"
#include "platform/screen_text.h"
#include "platform/sound.h"
#include "platform/wake_timer.h"

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
};

}  // namespace zk
