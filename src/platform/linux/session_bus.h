// The session bus, reached without ever waiting on it. Qt's own
// QDBusConnection::sessionBus() registers with the bus (Hello) in a blocking
// call on the one thread that serves every D-Bus connection of the process,
// the system bus to logind included: a session bus daemon that does not
// answer would stall the power action. Here the bus's address is opened as a
// plain connection and Hello goes out as an ordinary call with a time limit;
// messages sent meanwhile wait behind it.
#pragma once

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QString>
#include <optional>

namespace zk {

// True when a session bus is configured (DBUS_SESSION_BUS_ADDRESS, or the
// user's bus socket in XDG_RUNTIME_DIR). Without one nothing connects, so
// that no bus is started on demand.
bool SessionBusConfigured();

// The program's session bus connection for the thread of the application,
// opened on first use; not connected when no bus is configured or its socket
// cannot be opened. Never blocks.
QDBusConnection SessionBus();

// The answer to SessionBus()'s Hello (the unique name), within `timeoutMs`
// of the first use.
QDBusPendingCall SessionBusHello();

// A session bus connection of its own under `name`, registered with the bus
// before it returns; nullopt with `error` saying why when there is no bus or
// it did not answer within `timeoutMs` (then `silent` is set). Blocks the
// calling thread: for the command-line client and worker threads only.
std::optional<QDBusConnection> OpenSessionBus(const QString &name, int timeoutMs, QString *error,
                                              bool *silent = nullptr);

}  // namespace zk
