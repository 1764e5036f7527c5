#include "app/window_wiring.h"

#include "app/backends.h"
#include "app/cpu_wiring.h"
#include "app/shortcut_wiring.h"
#include "app/window_services.h"
#include "core/ports/services.h"
#include "ui/main_window.h"
#include "ui/power_state_window.h"
#include "ui/text_view_window.h"

namespace zk {

void WireMainWindow(MainWindow &window, const WindowWiring &wiring, const QList<UserMessage> &startMessages)
{
    MainWindow *w = &window;
    Launcher *launcher = &wiring.launcher;
    const QString dataFolder = wiring.dataFolder;
    QObject::connect(w, &MainWindow::applicationHelpRequested, w, [launcher, dataFolder, w] {
        OpenHelpFile(*launcher, dataFolder + QStringLiteral("/command_ap.txt"), HelpPlacement::AsOpened, w);
    });
    QObject::connect(w, &MainWindow::commandLineHelpRequested, w, [launcher, dataFolder, w] {
        OpenHelpFile(*launcher, dataFolder + QStringLiteral("/command_line.txt"), HelpPlacement::TopLeftLarge, w);
    });
    AppState *state = &wiring.state;
    QObject::connect(w, &MainWindow::commandLineRequested, w, [state, w] { ShowCommandLineWindow(*state, w); });
    const QString desktopDir = wiring.desktopDir;
    QObject::connect(w, &MainWindow::shortcutRequested, w, [state, launcher, desktopDir, dataFolder, w] {
        OpenShortcutMaker(*state, *launcher, desktopDir, dataFolder, *w);
    });
    ShowCpuSampler(*wiring.backends.cpu, window);
    PlatformServices *services = &wiring.services;
    SessionPower *power = wiring.backends.power.get();
    QObject::connect(w, &MainWindow::powerStateRequested, w,
                     [services, power, w] { PowerStateWindow::open(services->powerStatus, power, w); });
    for (const UserMessage &m : startMessages)
        window.showMessage(m.title, m.text, QString());
    FollowNoBattery(*wiring.backends.powerStatus, w, [w](bool noBattery) { w->setNoBattery(noBattery); });
}

}  // namespace zk
