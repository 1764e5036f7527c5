// The run on the session bus: a BusControl that reads the engine's status and
// announces it at every state change and clock tick. Null without a session
// bus (the program runs as before) or when the name cannot be had; `error`
// then says why (empty when there simply is no bus).
#pragma once

#include "core/clock.h"
#include "core/run_engine.h"
#include "platform/linux/bus_control.h"

#include <memory>

namespace zk {

std::unique_ptr<BusControl> PublishRun(RunEngine &engine, const Clock &clock, QString *error = nullptr);

}  // namespace zk
