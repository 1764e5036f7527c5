// python3-dbusmock's upower template on the private system bus of a
// LogindMock, for tests that read the power status from a real UPower-shaped
// service.
#pragma once

#include "support/logind_mock.h"

namespace zktest {

class UPowerMock {
public:
    static constexpr const char *kService = "org.freedesktop.UPower";

    explicit UPowerMock(const LogindMock &bus) : m_bus(bus) {}
    ~UPowerMock() { stop(); }

    QString error() const { return m_error; }
    // The mock's log of the calls it answered (one line each).
    QString log() const
    {
        QFile f(m_dir.filePath(QStringLiteral("upower-mock.log")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    // Starts the template with the given parameters (e.g. {"OnBattery": true})
    // and waits until its name is on the bus.
    bool start(const QJsonObject &parameters = {})
    {
        stop();
        m_process = m_bus.startTemplate(QStringLiteral("upower"), QString::fromLatin1(kService), parameters,
                                        m_dir.filePath(QStringLiteral("upower-mock.log")), &m_error);
        return bool(m_process);
    }

    // Takes UPower off the bus.
    void stop() { m_bus.stopTemplate(m_process, QString::fromLatin1(kService)); }

    // Sets the manager's OnBattery (a PropertiesChanged signal follows).
    bool setOnBattery(bool on) const
    {
        return m_bus.setProperty(QString::fromLatin1(kService), QStringLiteral("/org/freedesktop/UPower"),
                                 QStringLiteral("org.freedesktop.UPower"), QStringLiteral("OnBattery"), on);
    }

    // Sets the display device's presence, state, percentage and time to empty.
    bool setDisplay(bool present, quint32 state, double percentage, qint64 timeToEmpty) const
    {
        const QString display = QStringLiteral("/org/freedesktop/UPower/devices/DisplayDevice");
        const auto set = [&](const char *name, const QVariant &value) {
            return m_bus.setProperty(QString::fromLatin1(kService), display,
                                     QStringLiteral("org.freedesktop.UPower.Device"), QString::fromLatin1(name), value);
        };
        return set("Type", QVariant::fromValue(quint32(present ? 2 : 0))) && set("State", QVariant::fromValue(state)) &&
               set("Percentage", percentage) && set("TimeToEmpty", QVariant::fromValue(timeToEmpty)) &&
               set("IsPresent", present);
    }

private:
    const LogindMock &m_bus;
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    QString m_error;
};

}  // namespace zktest
