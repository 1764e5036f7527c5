// The other side of BusControl: finds the running copies of the program on
// the session bus, reads their properties and asks one to stop
// (`zenkoro --status`, `zenkoro --stop`). Blocking calls with a time limit,
// for the command-line client only.
#pragma once

#include <QDBusConnection>
#include <QList>
#include <QString>
#include <QVariantMap>
#include <optional>

namespace zk {

inline constexpr int kBusCallTimeoutMs = 5000;

// The session bus, or nullopt with `error` saying why it cannot be reached.
std::optional<QDBusConnection> ConnectSessionBusForControl(QString *error);

// The pids of the registered copies, in ascending order.
QList<qint64> ListRunningInstances(const QDBusConnection &bus, QString *error = nullptr);

// Every property of org.zenkoro.Zenkoro1 of the copy with this pid; nullopt
// when it does not answer (it may just have ended).
std::optional<QVariantMap> ReadInstance(const QDBusConnection &bus, qint64 pid, QString *error = nullptr);

// Calls Stop() on the copy with this pid.
bool StopInstance(const QDBusConnection &bus, qint64 pid, QString *error = nullptr);

}  // namespace zk
