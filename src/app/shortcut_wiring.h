// The shortcut maker, opened from the main window on the command line of the
// current settings: it writes a desktop launcher file and may open its folder.
#pragma once

#include <QString>

namespace zk {

struct AppState;
class Launcher;
class MainWindow;

// A command line that would run something else opens no maker: the window
// says why. dataFolder holds the command-line help text.
void OpenShortcutMaker(const AppState &state, Launcher &launcher, const QString &desktopDir,
                       const QString &dataFolder, MainWindow &window);

}  // namespace zk
