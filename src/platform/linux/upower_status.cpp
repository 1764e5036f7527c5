#include "platform/linux/upower_status.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

#include <functional>
#include <optional>

namespace zk {

namespace {

const QString kService = QStringLiteral("org.freedesktop.UPower");
const QString kManagerPath = QStringLiteral("/org/freedesktop/UPower");
const QString kManager = QStringLiteral("org.freedesktop.UPower");
const QString kDisplayPath = QStringLiteral("/org/freedesktop/UPower/devices/DisplayDevice");
const QString kDevice = QStringLiteral("org.freedesktop.UPower.Device");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

QVariant Plain(const QVariant &v)
{
    if (v.userType() == qMetaTypeId<QDBusVariant>())
        return v.value<QDBusVariant>().variant();
    return v;
}

}  // namespace

UPowerStatus::UPowerStatus(PowerStatus *fallback, QObject *parent)
    : UPowerStatus(QDBusConnection::systemBus(), fallback, parent)
{
}

UPowerStatus::UPowerStatus(const QDBusConnection &bus, PowerStatus *fallback, QObject *parent)
    : QObject(parent), m_bus(bus), m_fallback(fallback)
{
    if (!m_bus.isConnected())
        return;
    m_bus.connect(kService, kManagerPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                  SLOT(onManagerChanged(QString, QVariantMap, QStringList)));
    m_bus.connect(kService, kDisplayPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                  SLOT(onDisplayChanged(QString, QVariantMap, QStringList)));
    m_watcher = new QDBusServiceWatcher(kService, m_bus,
                                        QDBusServiceWatcher::WatchForRegistration |
                                            QDBusServiceWatcher::WatchForUnregistration,
                                        this);
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] { fetch(); });
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        ++m_generation;
        setAbsent();
    });
    fetch();
}

UPowerStatus::~UPowerStatus()
{
    if (!m_bus.isConnected())
        return;
    m_bus.disconnect(kService, kManagerPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                     SLOT(onManagerChanged(QString, QVariantMap, QStringList)));
    m_bus.disconnect(kService, kDisplayPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                     SLOT(onDisplayChanged(QString, QVariantMap, QStringList)));
}

int UPowerStatus::read(PowerStatusRaw &raw)
{
    if (m_present) {
        raw = RawFromUPower(m_values);
        return kPowerStatusOk;
    }
    return m_fallback ? m_fallback->read(raw) : kPowerStatusUnsupported;
}

void UPowerStatus::fetch()
{
    ++m_generation;
    fetchManager();
    fetchDisplay();
}

namespace {

// GetAll of one object; done gets the values, or nullopt for an error.
void GetAll(QDBusConnection &bus, QObject *owner, const QString &path, const QString &interface,
                   std::function<void(std::optional<QVariantMap>)> done)
{
    QDBusMessage msg = QDBusMessage::createMethodCall(kService, path, kProperties, QStringLiteral("GetAll"));
    msg.setArguments({interface});
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(msg, UPowerStatus::kCallTimeoutMs), owner);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, owner, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        const QDBusMessage reply = watcher->reply();
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return done(std::nullopt);
        done(qdbus_cast<QVariantMap>(reply.arguments().constFirst()));
    });
}

}  // namespace

void UPowerStatus::fetchManager()
{
    const quint64 generation = m_generation;
    GetAll(m_bus, this, kManagerPath, kManager, [this, generation](std::optional<QVariantMap> values) {
        if (generation != m_generation)
            return;
        if (!values || !values->contains(QStringLiteral("OnBattery")))
            return setAbsent();
        applyManager(*values);
    });
}

void UPowerStatus::fetchDisplay()
{
    const quint64 generation = m_generation;
    GetAll(m_bus, this, kDisplayPath, kDevice, [this, generation](std::optional<QVariantMap> values) {
        if (generation != m_generation)
            return;
        if (!values) {
            // An UPower without a display device: the battery is unknown.
            m_values.haveDisplay = false;
            if (m_present)
                Q_EMIT statusChanged();
            return;
        }
        applyDisplay(*values);
    });
}

void UPowerStatus::setAbsent()
{
    const bool was = m_present;
    m_present = false;
    m_values = UPowerValues();
    if (was)
        Q_EMIT statusChanged();
}

void UPowerStatus::applyManager(const QVariantMap &values)
{
    const auto it = values.constFind(QStringLiteral("OnBattery"));
    if (it != values.constEnd()) {
        m_values.onBattery = Plain(*it).toBool();
        m_present = true;
    }
    Q_EMIT statusChanged();
}

void UPowerStatus::applyDisplay(const QVariantMap &values)
{
    m_values.haveDisplay = true;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        const QVariant v = Plain(*it);
        if (it.key() == QLatin1String("IsPresent"))
            m_values.isPresent = v.toBool();
        else if (it.key() == QLatin1String("State"))
            m_values.state = v.toUInt();
        else if (it.key() == QLatin1String("Percentage"))
            m_values.percentage = v.toDouble();
        else if (it.key() == QLatin1String("TimeToEmpty"))
            m_values.timeToEmpty = v.toLongLong();
    }
    Q_EMIT statusChanged();
}

void UPowerStatus::onManagerChanged(const QString &interface, const QVariantMap &changed,
                                    const QStringList &invalidated)
{
    if (interface != kManager)
        return;
    if (invalidated.contains(QStringLiteral("OnBattery")))
        return fetchManager();
    if (changed.contains(QStringLiteral("OnBattery")))
        applyManager(changed);
}

void UPowerStatus::onDisplayChanged(const QString &interface, const QVariantMap &changed,
                                    const QStringList &invalidated)
{
    if (interface != kDevice)
        return;
    if (!invalidated.isEmpty())
        return fetchDisplay();
    if (!changed.isEmpty())
        applyDisplay(changed);
}

}  // namespace zk
