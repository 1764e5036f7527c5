#include "platform/linux/bus_client.h"

#include "platform/linux/bus_control.h"
#include "platform/linux/session_bus.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <algorithm>

namespace zk {

namespace {

QDBusMessage BusCall(const QString &method)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                          QStringLiteral("org.freedesktop.DBus"), method);
}

bool Failed(const QDBusMessage &reply, QString *error)
{
    if (reply.type() == QDBusMessage::ReplyMessage)
        return false;
    if (error)
        *error = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    return true;
}

CopyReply ReplyOf(const QDBusMessage &reply)
{
    CopyReply r;
    if (reply.type() == QDBusMessage::ReplyMessage) {
        r.answer = CopyAnswer::Answered;
        return r;
    }
    const QString name = reply.errorName();
    r.error = reply.errorMessage().isEmpty() ? name : reply.errorMessage();
    if (name == u"org.freedesktop.DBus.Error.ServiceUnknown" || name == u"org.freedesktop.DBus.Error.NameHasNoOwner")
        r.answer = CopyAnswer::Gone;
    else if (name == u"org.freedesktop.DBus.Error.NoReply" || name == u"org.freedesktop.DBus.Error.Timeout")
        r.answer = CopyAnswer::Silent;
    else if (name == QLatin1String(kBusNoRunError))
        r.answer = CopyAnswer::NoRun;
    return r;
}

}  // namespace

std::optional<QDBusConnection> ConnectSessionBusForControl(QString *error, bool *silent)
{
    return OpenSessionBus(QStringLiteral("zk-control"), kBusCallTimeoutMs, error, silent);
}

QList<RunningCopy> ListRunningInstances(const QDBusConnection &bus, QString *error)
{
    QList<RunningCopy> copies;
    const QDBusMessage reply = bus.call(BusCall(QStringLiteral("ListNames")), QDBus::Block, kBusCallTimeoutMs);
    if (Failed(reply, error) || reply.arguments().isEmpty())
        return copies;
    const QString prefix = QString::fromLatin1(kBusServicePrefix);
    for (const QString &name : reply.arguments().first().toStringList()) {
        if (!name.startsWith(prefix))
            continue;
        // The bus daemon answers for the copy: the pid in the daemon's PID
        // namespace, whatever the copy's own namespace says.
        QDBusMessage ask = BusCall(QStringLiteral("GetConnectionUnixProcessID"));
        ask << name;
        const QDBusMessage pid = bus.call(ask, QDBus::Block, kBusCallTimeoutMs);
        if (pid.type() == QDBusMessage::ReplyMessage && !pid.arguments().isEmpty())  // else it has just ended
            copies.append({name, pid.arguments().first().toLongLong()});
    }
    std::sort(copies.begin(), copies.end(), [](const RunningCopy &a, const RunningCopy &b) { return a.pid < b.pid; });
    return copies;
}

QList<CopyReply> ReadInstances(const QDBusConnection &bus, const QList<RunningCopy> &copies)
{
    QList<QDBusPendingCall> calls;
    for (const RunningCopy &copy : copies) {
        QDBusMessage call = QDBusMessage::createMethodCall(copy.service, QString::fromLatin1(kBusObjectPath),
                                                           QStringLiteral("org.freedesktop.DBus.Properties"),
                                                           QStringLiteral("GetAll"));
        call << QString::fromLatin1(kBusInterface);
        calls << bus.asyncCall(call, kBusCallTimeoutMs);
    }
    QList<CopyReply> replies;
    for (QDBusPendingCall &call : calls) {
        call.waitForFinished();
        CopyReply r = ReplyOf(call.reply());
        if (r.answer == CopyAnswer::Answered) {
            const QDBusPendingReply<QVariantMap> map(call);
            r.properties = map.value();
        }
        replies << r;
    }
    return replies;
}

CopyReply StopInstance(const QDBusConnection &bus, const RunningCopy &copy)
{
    return ReplyOf(bus.call(QDBusMessage::createMethodCall(copy.service, QString::fromLatin1(kBusObjectPath),
                                                           QString::fromLatin1(kBusInterface), QStringLiteral("Stop")),
                            QDBus::Block, kBusCallTimeoutMs));
}

}  // namespace zk
