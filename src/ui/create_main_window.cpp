#include "ui/create_main_window.h"

#include "run/run_engine.h"

#include <QCoreApplication>

namespace zk {

std::unique_ptr<MainWindow> createMainWindow(AppState &state, const Clock &clock, MainWindowServices &services,
                                             RunEngine *engine, const QString &caption)
{
    auto window = std::make_unique<MainWindow>(state, clock, services);
    QObject::connect(window.get(), &MainWindow::programEnds, qApp, [](int code) { QCoreApplication::exit(code); });
    window->attachEngine(engine);
    if (!caption.isEmpty())
        window->setCaption(caption);
    window->ensurePolished();
    window->adjustSize();
    window->placeAsStored();
    window->show();
    return window;
}

}  // namespace zk
