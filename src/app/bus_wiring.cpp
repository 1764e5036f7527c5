#include "app/bus_wiring.h"

#include "run/run_status.h"
#include "platform/linux/bus_client.h"
#include "platform/linux/session_bus.h"
#include "ui/main_window.h"

#include <QPointer>

#include <cstdio>

namespace zk {

std::unique_ptr<BusControl> PublishRun(RunEngine &engine, const Clock &clock)
{
    if (!SessionBusConfigured())
        return nullptr;
    const QDBusConnection bus = SessionBus();
    if (!bus.isConnected())  // a bus named but gone: as without one
        return nullptr;
    auto control = std::make_unique<BusControl>([&engine, &clock] { return StatusOf(engine, clock.now()); });
    QObject::connect(control.get(), &BusControl::unavailable, control.get(), [](const QString &why) {
        std::fputs(QStringLiteral("zenkoro: not on the session bus: %1\n").arg(why).toUtf8().constData(), stderr);
        std::fflush(stderr);
    });
    control->registerOn(bus, SessionBusHello(), kBusCallTimeoutMs);
    QObject::connect(&engine, &RunEngine::runStateChanged, control.get(), &BusControl::refresh);
    QObject::connect(&engine, &RunEngine::ticked, control.get(), &BusControl::refresh);
    return control;
}

void ObeyBus(BusControl &bus, RunEngine &engine, std::function<void()> endHeadlessRun, MainWindow *window)
{
    bus.setStopHandler([&engine, end = std::move(endHeadlessRun), headless = window == nullptr] {
        if (headless) {
            end();
            return true;
        }
        if (!engine.runActive())
            return false;
        engine.stopRun();
        return true;
    });
    QObject::connect(&bus, &BusControl::showRequested, &engine, [window = QPointer<MainWindow>(window)] {
        if (window)
            window->trayShowAction();
    });
}

}  // namespace zk
