// The CPU usage sampler's wiring: what it finds goes into the settings, and
// with a window its texts and the process list go there.
#pragma once

#include <functional>

namespace zk {

struct AppState;
class CpuSampler;
class MainWindow;

// A "? name" process selector the sampler found one process for is kept in
// the settings, then settingsChanged is told.
void KeepCpuSelector(CpuSampler &sampler, AppState &state, std::function<void()> settingsChanged);

// The sampler's texts show in the window; the process selector's entries,
// asked for each time its list opens, are put in when they come.
void ShowCpuSampler(CpuSampler &sampler, MainWindow &window);

}  // namespace zk
