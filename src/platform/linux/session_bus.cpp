#include "platform/linux/session_bus.h"

#include <QDBusMessage>
#include <QDBusPendingReply>
#include <QFileInfo>

namespace zk {

namespace {

constexpr int kHelloTimeoutMs = 5000;

QString Address()
{
    const QString given = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!given.isEmpty())
        return given;
    const QString socket = qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") || !QFileInfo::exists(socket))
        return QString();
    // A D-Bus address escapes every byte outside a small set as %XX.
    QString escaped;
    for (const char c : socket.toUtf8()) {
        if (QByteArrayView("-_/.\\*").contains(c) || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
            (c >= 'A' && c <= 'Z'))
            escaped += QLatin1Char(c);
        else
            escaped += QStringLiteral("%%1").arg(uchar(c), 2, 16, QLatin1Char('0'));
    }
    return QStringLiteral("unix:path=") + escaped;
}

// Opens `address` without registering and sends Hello.
QDBusConnection Open(const QString &name, int timeoutMs, QDBusPendingCall *hello)
{
    const QString address = Address();
    QDBusConnection bus = address.isEmpty() ? QDBusConnection(QString()) : QDBusConnection::connectToPeer(address, name);
    if (bus.isConnected())
        *hello = bus.asyncCall(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                              QStringLiteral("/org/freedesktop/DBus"),
                                                              QStringLiteral("org.freedesktop.DBus"),
                                                              QStringLiteral("Hello")),
                               timeoutMs);
    return bus;
}

struct Shared {
    QDBusConnection bus{QString()};
    QDBusPendingCall hello = QDBusPendingCall::fromCompletedCall(
        QDBusMessage::createError(QStringLiteral("org.freedesktop.DBus.Error.Disconnected"),
                                  QStringLiteral("no session bus")));
    bool opened = false;
};

Shared &TheShared()
{
    static Shared shared;
    if (!shared.opened) {
        shared.opened = true;
        if (SessionBusConfigured())
            shared.bus = Open(QStringLiteral("zk-session"), kHelloTimeoutMs, &shared.hello);
    }
    return shared;
}

}  // namespace

bool SessionBusConfigured()
{
    return !Address().isEmpty();
}

QDBusConnection SessionBus()
{
    return TheShared().bus;
}

QDBusPendingCall SessionBusHello()
{
    return TheShared().hello;
}

std::optional<QDBusConnection> OpenSessionBus(const QString &name, int timeoutMs, QString *error, bool *silent)
{
    if (!SessionBusConfigured()) {
        if (error)
            *error = QStringLiteral("no session D-Bus bus (DBUS_SESSION_BUS_ADDRESS is not set)");
        return std::nullopt;
    }
    QDBusPendingCall hello = QDBusPendingCall::fromError(QDBusError());
    QDBusConnection bus = Open(name, timeoutMs, &hello);
    if (!bus.isConnected()) {
        if (error)
            *error = QStringLiteral("cannot reach the session D-Bus bus: ") + bus.lastError().message();
        QDBusConnection::disconnectFromPeer(name);
        return std::nullopt;
    }
    hello.waitForFinished();
    if (hello.isError()) {
        if (silent)
            *silent = hello.error().type() == QDBusError::NoReply || hello.error().type() == QDBusError::Timeout;
        if (error)
            *error = hello.error().message();
        QDBusConnection::disconnectFromPeer(name);
        return std::nullopt;
    }
    return bus;
}

}  // namespace zk
