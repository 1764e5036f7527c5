// The run's own wiring, with or without a window.
#pragma once

namespace zk {

struct AppState;
class MainWindow;
class RunEngine;
class RunView;
class SessionLimitNotices;

// Without a display: a line for each step of the multi schedule as its
// countdown begins. Nobody can press the stop button, so the program ends
// once every step is done (with a failure when none could run), and "中止"
// of the warning's desktop notice ends it too.
void FollowHeadlessRun(RunEngine &engine, RunView &view);

// What the desktop session limits of the features in use, said once each
// when a run starts: on standard error (the log of a scheduled run) and, with
// a window, in a popup unless alerts are off.
void TellSessionLimitsAtStart(RunEngine &engine, SessionLimitNotices &notices, const AppState &state,
                              MainWindow *window);

}  // namespace zk
