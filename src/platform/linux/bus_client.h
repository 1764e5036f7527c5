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

// The session bus, or nullopt with `error` saying why it cannot be reached;
// `silent` is set when the bus did not answer within kBusCallTimeoutMs.
std::optional<QDBusConnection> ConnectSessionBusForControl(QString *error, bool *silent = nullptr);

// A registered copy: its bus name and its process id as the bus sees it.
struct RunningCopy {
    QString service;
    qint64 pid = 0;
};

// The registered copies, by ascending pid.
QList<RunningCopy> ListRunningInstances(const QDBusConnection &bus, QString *error = nullptr);

// How a copy answered a call.
enum class CopyAnswer {
    Answered,
    Gone,     // it ended since the listing
    Silent,   // no answer within kBusCallTimeoutMs (a stopped or hung process)
    NoRun,    // Stop(): it has no run to stop
    Failed,   // another error, in `error`
};

struct CopyReply {
    CopyAnswer answer = CopyAnswer::Failed;
    QVariantMap properties;  // Answered to ReadInstances
    QString error;
};

// Every property of org.zenkoro.Zenkoro1 of each copy, asked of all at once.
QList<CopyReply> ReadInstances(const QDBusConnection &bus, const QList<RunningCopy> &copies);

// Calls Stop() on the copy.
CopyReply StopInstance(const QDBusConnection &bus, const RunningCopy &copy);

}  // namespace zk
