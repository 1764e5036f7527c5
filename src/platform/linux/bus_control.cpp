#include "platform/linux/bus_control.h"

#include "zenkoro1_adaptor.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace zk {

QString ServiceNameFor(const QString &uniqueName)
{
    QString suffix = uniqueName;
    suffix.remove(QLatin1Char(':')).replace(QLatin1Char('.'), QLatin1Char('_'));
    return QString::fromLatin1(kBusServicePrefix) + suffix;
}

BusControl::BusControl(std::function<RunStatus()> source, QObject *parent)
    : QObject(parent), m_source(std::move(source))
{
    new Zenkoro1Adaptor(this);  // owned by this object; relays StateChanged
    m_announced = m_source();
}

BusControl::~BusControl()
{
    if (m_registered) {
        // Not waited for: the name goes with the connection anyway.
        QDBusMessage release = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ReleaseName"));
        release << m_service;
        m_bus.send(release);
    }
    if (m_objectRegistered)
        m_bus.unregisterObject(QString::fromLatin1(kBusObjectPath));
}

void BusControl::fail(const QString &why)
{
    if (m_objectRegistered)
        m_bus.unregisterObject(QString::fromLatin1(kBusObjectPath));
    m_objectRegistered = false;
    Q_EMIT unavailable(why);
}

void BusControl::registerOn(const QDBusConnection &bus, const QDBusPendingCall &hello, int timeoutMs)
{
    m_bus = bus;
    if (!m_bus.isConnected()) {
        fail(m_bus.lastError().message().isEmpty() ? QStringLiteral("not connected") : m_bus.lastError().message());
        return;
    }
    const QString path = QString::fromLatin1(kBusObjectPath);
    if (!m_bus.registerObject(path, this, QDBusConnection::ExportAdaptors)) {
        fail(QStringLiteral("the object path %1 is taken").arg(path));
        return;
    }
    m_objectRegistered = true;
    auto *watcher = new QDBusPendingCallWatcher(hello, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, timeoutMs](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QString> reply = *w;
        if (reply.isError())
            fail(QStringLiteral("the bus did not take the connection (%1)").arg(reply.error().message()));
        else
            requestName(reply.value(), timeoutMs);
    });
}

void BusControl::requestName(const QString &uniqueName, int timeoutMs)
{
    const QString name = ServiceNameFor(uniqueName);
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                       QStringLiteral("/org/freedesktop/DBus"),
                                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    constexpr uint kDoNotQueue = 4;
    call << name << kDoNotQueue;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, timeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, name](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<uint> reply = *w;
        constexpr uint kPrimaryOwner = 1;
        if (reply.isError() || reply.value() != kPrimaryOwner) {
            fail(QStringLiteral("the name %1 is taken (%2)")
                     .arg(name, reply.isError() ? reply.error().message() : QString::number(reply.value())));
            return;
        }
        m_service = name;
        m_registered = true;
        m_announced = m_source();
        Q_EMIT registered(name);
    });
}

void BusControl::refresh()
{
    const RunStatus now = m_source();
    QVariantMap changed;
    if (now.state != m_announced.state)
        changed.insert(QStringLiteral("State"), now.state);
    if (now.operation != m_announced.operation)
        changed.insert(QStringLiteral("Operation"), now.operation);
    if (now.targetTime != m_announced.targetTime)
        changed.insert(QStringLiteral("TargetTime"), now.targetTime);
    if (now.resumeTime != m_announced.resumeTime)
        changed.insert(QStringLiteral("ResumeTime"), now.resumeTime);
    const bool stateChanged = now.state != m_announced.state;
    m_announced = now;
    if (changed.isEmpty())
        return;
    // The seconds go down without a signal of their own; they come along
    // with every other change.
    changed.insert(QStringLiteral("RemainingSeconds"), qlonglong(now.remainingSeconds));
    if (stateChanged)
        Q_EMIT StateChanged(now.state);
    if (!m_registered)
        return;
    QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kBusObjectPath),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(kBusInterface) << changed << QStringList();
    m_bus.send(signal);
}

void BusControl::Stop()
{
    if (m_stop && m_stop())
        return;
    if (calledFromDBus())
        sendErrorReply(QString::fromLatin1(kBusNoRunError), QStringLiteral("there is no run to stop"));
}

void BusControl::Show()
{
    Q_EMIT showRequested();
}

}  // namespace zk
