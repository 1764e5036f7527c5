#include "platform/linux/bus_client.h"

#include "platform/linux/bus_control.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <algorithm>

namespace zk {

namespace {

QString ServiceOf(qint64 pid)
{
    return QString::fromLatin1(kBusServicePrefix) + QString::number(pid);
}

bool Failed(const QDBusMessage &reply, QString *error)
{
    if (reply.type() == QDBusMessage::ReplyMessage)
        return false;
    if (error)
        *error = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    return true;
}

}  // namespace

std::optional<QDBusConnection> ConnectSessionBusForControl(QString *error)
{
    if (!SessionBusConfigured()) {
        if (error)
            *error = QStringLiteral("no session D-Bus bus (DBUS_SESSION_BUS_ADDRESS is not set)");
        return std::nullopt;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        if (error)
            *error = QStringLiteral("cannot reach the session D-Bus bus: ") + bus.lastError().message();
        return std::nullopt;
    }
    return bus;
}

QList<qint64> ListRunningInstances(const QDBusConnection &bus, QString *error)
{
    QList<qint64> pids;
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames")),
        QDBus::Block, kBusCallTimeoutMs);
    if (Failed(reply, error) || reply.arguments().isEmpty())
        return pids;
    const QString prefix = QString::fromLatin1(kBusServicePrefix);
    for (const QString &name : reply.arguments().first().toStringList()) {
        if (!name.startsWith(prefix))
            continue;
        bool ok = false;
        const qint64 pid = name.mid(prefix.size()).toLongLong(&ok);
        if (ok && pid > 0)
            pids << pid;
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

std::optional<QVariantMap> ReadInstance(const QDBusConnection &bus, qint64 pid, QString *error)
{
    QDBusMessage call = QDBusMessage::createMethodCall(ServiceOf(pid), QString::fromLatin1(kBusObjectPath),
                                                       QStringLiteral("org.freedesktop.DBus.Properties"),
                                                       QStringLiteral("GetAll"));
    call << QString::fromLatin1(kBusInterface);
    const QDBusMessage reply = bus.call(call, QDBus::Block, kBusCallTimeoutMs);
    if (Failed(reply, error))
        return std::nullopt;
    const QDBusReply<QVariantMap> map(reply);
    if (!map.isValid()) {
        if (error)
            *error = map.error().message();
        return std::nullopt;
    }
    return map.value();
}

bool StopInstance(const QDBusConnection &bus, qint64 pid, QString *error)
{
    const QDBusMessage reply =
        bus.call(QDBusMessage::createMethodCall(ServiceOf(pid), QString::fromLatin1(kBusObjectPath),
                                                QString::fromLatin1(kBusInterface), QStringLiteral("Stop")),
                 QDBus::Block, kBusCallTimeoutMs);
    return !Failed(reply, error);
}

}  // namespace zk
