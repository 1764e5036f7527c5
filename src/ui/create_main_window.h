// The one call the program's main makes to get its window on a desktop.
#pragma once

#include "ui/main_window.h"

#include <memory>

namespace zk {

class RunEngine;

// Builds frmZenkoro for a state that has been loaded and parsed, makes it the
// engine's view (engine may be null), sets the caption the start-up chose
// (the command-line caption after a parsed command line), places it where
// the settings file says (centred when negative) and shows it. The program
// ends with the window: its exit code goes to QCoreApplication::exit. The
// engine's load timer is left to the caller.
std::unique_ptr<MainWindow> createMainWindow(AppState &state, const Clock &clock, MainWindowServices &services,
                                             RunEngine *engine, const QString &caption);

}  // namespace zk
