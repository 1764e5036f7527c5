#include "platform/linux/freedesktop_notifier.h"

#include "platform/linux/session_bus.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QPointer>
#include <QVariantMap>

namespace zk {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
constexpr int kTimeoutMs = 5000;
constexpr uchar kUrgencyNormal = 1;
constexpr uchar kUrgencyCritical = 2;

}  // namespace

const QDBusConnection *FreedesktopNotifier::bus()
{
    if (!m_busTried) {
        m_busTried = true;
        if (!SessionBusConfigured())
            return nullptr;
        QDBusConnection bus = SessionBus();
        if (!bus.isConnected())
            return nullptr;
        // The connection is opened as a peer: Qt adds no match rules for it,
        // and it cannot tell a well-known sender, so the signal is taken from
        // any sender here and checked against the service's owner.
        bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                    SLOT(onActionInvoked(QDBusMessage)));
        QDBusMessage match = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                            QStringLiteral("/org/freedesktop/DBus"),
                                                            QStringLiteral("org.freedesktop.DBus"),
                                                            QStringLiteral("AddMatch"));
        match << QStringLiteral("type='signal',interface='%1',member='ActionInvoked',path='%2'").arg(kInterface, kPath);
        bus.asyncCall(match, kTimeoutMs);
        m_bus = bus;
    }
    return m_bus ? &*m_bus : nullptr;
}

void FreedesktopNotifier::notify(const DesktopNotification &notice, std::function<void(quint32)> sent)
{
    const QDBusConnection *connection = bus();
    if (!connection) {
        if (sent)
            sent(0);
        return;
    }
    QStringList actions;
    for (const auto &[key, label] : notice.actions)
        actions << key << label;
    const QVariantMap hints{
        {QStringLiteral("urgency"), QVariant::fromValue(notice.critical ? kUrgencyCritical : kUrgencyNormal)},
        {QStringLiteral("desktop-entry"), QStringLiteral("zenkoro")},
    };
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call << QStringLiteral("Zenkoro") << quint32(0) << QStringLiteral("zenkoro") << notice.summary << notice.body
         << actions << hints << qint32(-1);
    auto *watcher = new QDBusPendingCallWatcher(connection->asyncCall(call, kTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, sent](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<quint32> reply = *w;
        quint32 id = 0;
        if (!reply.isError()) {
            id = reply.value();
            m_serviceOwner = reply.reply().service();
        }
        if (sent)
            sent(id);
    });
}

void FreedesktopNotifier::close(quint32 id)
{
    const QDBusConnection *connection = id ? bus() : nullptr;
    if (!connection)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("CloseNotification"));
    call << id;
    connection->asyncCall(call, kTimeoutMs);  // a notice already gone is no matter
}

void FreedesktopNotifier::onActionInvoked(const QDBusMessage &message)
{
    const QList<QVariant> args = message.arguments();
    if (args.size() != 2 || m_serviceOwner.isEmpty() || message.service() != m_serviceOwner)
        return;
    Q_EMIT actionInvoked(args.at(0).toUInt(), args.at(1).toString());
}

}  // namespace zk
