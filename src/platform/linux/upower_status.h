// The power status from UPower on the system bus: the manager's OnBattery and
// the display device's presence, state, percentage and time to empty. The
// values are fetched without waiting and kept up to date by UPower's
// PropertiesChanged signals, so a read is a look at a copy. Without UPower
// (not on the bus, or not answered yet) a read asks the fallback.
#pragma once

#include "core/ports/power_status.h"
#include "monitors/power_raw.h"

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

class QDBusServiceWatcher;

namespace zk {

class UPowerStatus final : public QObject, public PowerStatus {
    Q_OBJECT
public:
    static constexpr int kCallTimeoutMs = 10000;

    // fallback may be null (no status without UPower).
    explicit UPowerStatus(PowerStatus *fallback, QObject *parent = nullptr);
    UPowerStatus(const QDBusConnection &bus, PowerStatus *fallback, QObject *parent = nullptr);
    ~UPowerStatus() override;

    int read(PowerStatusRaw &raw) override;

    // True while UPower's values are the ones read.
    bool usingUPower() const { return m_present; }

Q_SIGNALS:
    // The values from UPower changed, or UPower came or went.
    void statusChanged();

private Q_SLOTS:
    void onManagerChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated);
    void onDisplayChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated);

private:
    void fetch();
    void fetchManager();
    void fetchDisplay();
    void applyManager(const QVariantMap &values);
    void applyDisplay(const QVariantMap &values);
    void setAbsent();

    QDBusConnection m_bus;
    PowerStatus *m_fallback;
    QDBusServiceWatcher *m_watcher = nullptr;
    UPowerValues m_values;
    bool m_present = false;     // the manager answered
    quint64 m_generation = 0;   // answers of an older fetch are dropped
};

}  // namespace zk
