// What the main window asks for, answered by the program: the help texts, the
// command-line window, the shortcut maker, the power state window, the CPU
// sampler's texts and whether the machine has a battery.
#pragma once

#include "core/command_line.h"

#include <QList>
#include <QString>

namespace zk {

struct AppState;
struct Backends;
struct PlatformServices;
class Launcher;
class MainWindow;

struct WindowWiring {
    AppState &state;
    Launcher &launcher;
    const Backends &backends;
    PlatformServices &services;
    QString desktopDir;
    QString dataFolder;  // the help texts
};

// Connects the window's requests, then shows the messages of the start
// (about the settings file and the resume list) in it.
void WireMainWindow(MainWindow &window, const WindowWiring &wiring, const QList<UserMessage> &startMessages);

}  // namespace zk
