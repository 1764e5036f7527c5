#include "app/bus_wiring.h"

#include "core/run_status.h"

#include <QCoreApplication>

namespace zk {

std::unique_ptr<BusControl> PublishRun(RunEngine &engine, const Clock &clock, QString *error)
{
    if (!SessionBusConfigured())
        return nullptr;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())  // a bus named but gone: as without one
        return nullptr;
    auto control = std::make_unique<BusControl>([&engine, &clock] { return StatusOf(engine, clock.now()); });
    if (!control->registerOn(bus, QCoreApplication::applicationPid(), error))
        return nullptr;
    QObject::connect(&engine, &RunEngine::runStateChanged, control.get(), &BusControl::refresh);
    QObject::connect(&engine, &RunEngine::ticked, control.get(), &BusControl::refresh);
    return control;
}

}  // namespace zk
