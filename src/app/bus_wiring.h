// The run on the session bus: a BusControl that reads the engine's status and
// announces it at every state change and clock tick. Null without a session
// bus (the program runs as before). The bus is reached without waiting: the
// countdown never depends on it. When the name cannot be had (the bus does
// not answer within the time of a bus call, or refuses), a line on standard
// error says why and the run goes on without it.
#pragma once

#include "core/clock.h"
#include "run/run_engine.h"
#include "platform/linux/bus_control.h"

#include <functional>
#include <memory>

namespace zk {

std::unique_ptr<BusControl> PublishRun(RunEngine &engine, const Clock &clock);

class MainWindow;

// What scripts and panel applets ask over the bus. Stop() is the stop
// button: without a window (window null) endHeadlessRun stops the run and
// ends the program; a window without a run has nothing to stop and the caller
// is told. Show() brings the window up.
void ObeyBus(BusControl &bus, RunEngine &engine, std::function<void()> endHeadlessRun, MainWindow *window);

}  // namespace zk
