#include "ui/create_main_window.h"

#include "core/run_engine.h"

#include <QGuiApplication>
#include <QScreen>

namespace zk {

std::unique_ptr<MainWindow> createMainWindow(AppState &state, const Clock &clock, RunEngine *engine,
                                             const QString &caption, MainWindowHooks hooks)
{
    auto window = std::make_unique<MainWindow>(state, clock);
    window->setHooks(std::move(hooks));
    window->attachEngine(engine);
    if (!caption.isEmpty())
        window->setCaption(caption);
    window->ensurePolished();
    window->adjustSize();

    QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    QPoint pos(state.WindowLeft / kTwipsPerPixel, state.WindowTop / kTwipsPerPixel);
    const QRect wanted(pos, window->size());
    // Centred when none is stored or the stored place lies off every screen.
    if (state.WindowLeft < 0 || state.WindowTop < 0 || !QGuiApplication::screenAt(wanted.center()))
        pos = area.center() - QPoint(window->width() / 2, window->height() / 2);
    window->move(pos);
    window->show();
    return window;
}

}  // namespace zk
