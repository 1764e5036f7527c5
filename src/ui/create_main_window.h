// The one call the program's main makes to get its window on a desktop.
#pragma once

#include "ui/main_window.h"

#include <memory>

namespace zk {

class RunEngine;
class SettingsWriter;

// The settings file the window's buttons save to ("設定を保存", the start and
// immediate-action buttons, unticking the extended box) and what "既定値に戻す"
// resets from.
struct SettingsStore {
    SettingsWriter *writer = nullptr;  // the program's one writer of the settings file
    QString desktopDir;                // the default capture folder
};

// Builds frmZenkoro for a state that has been loaded and parsed, makes it the
// engine's view (engine may be null), sets the caption the start-up chose
// (the command-line caption after a parsed command line), places it where
// the settings file says (centred when negative) and shows it. The hooks
// saveSettings and resetDefaults are those of `settings`. The engine's load
// timer is left to the caller.
std::unique_ptr<MainWindow> createMainWindow(AppState &state, const Clock &clock, RunEngine *engine,
                                             const QString &caption, const SettingsStore &settings,
                                             MainWindowHooks hooks);

}  // namespace zk
