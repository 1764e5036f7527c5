#include "platform/linux/bus_control.h"

#include "zenkoro1_adaptor.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QVariantMap>

namespace zk {

bool SessionBusConfigured()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
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
        m_bus.unregisterService(m_service);
        m_bus.unregisterObject(QString::fromLatin1(kBusObjectPath));
    }
}

bool BusControl::registerOn(const QDBusConnection &bus, qint64 pid, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!bus.isConnected())
        return fail(bus.lastError().message().isEmpty() ? QStringLiteral("not connected") : bus.lastError().message());
    m_bus = bus;
    const QString path = QString::fromLatin1(kBusObjectPath);
    if (!m_bus.registerObject(path, this, QDBusConnection::ExportAdaptors))
        return fail(QStringLiteral("the object path %1 is taken").arg(path));
    const QString name = QString::fromLatin1(kBusServicePrefix) + QString::number(pid);
    if (!m_bus.registerService(name)) {
        m_bus.unregisterObject(path);
        return fail(QStringLiteral("the name %1 is taken (%2)").arg(name, m_bus.lastError().message()));
    }
    m_service = name;
    m_registered = true;
    m_announced = m_source();
    return true;
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
    Q_EMIT stopRequested();
}

void BusControl::Show()
{
    Q_EMIT showRequested();
}

}  // namespace zk
