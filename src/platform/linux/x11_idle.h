// Time since the last keyboard or mouse input, from the X server's IDLETIME
// counter (the XSync extension). Without an X display the time is unknown.
#pragma once

#include "core/ports/power_status.h"

namespace zk {

class X11UserIdle final : public UserIdle {
public:
    // Each question opens its own short connection, so a display that goes
    // away between questions only makes the time unknown.
    qint64 idleMilliseconds() override;
};

}  // namespace zk
