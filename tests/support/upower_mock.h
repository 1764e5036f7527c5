// python3-dbusmock's upower template on the private system bus of a
// LogindMock, for tests that read the power status from a real UPower-shaped
// service.
//
//   zktest::LogindMock bus;  bus.startBus();
//   zktest::UPowerMock upower(bus);
//   upower.start({{"OnBattery", true}});
//   upower.setDisplay(true, 2, 57.0, 3600);  // present, discharging, 57 %, 1 h
#pragma once

#include "support/logind_mock.h"

#include <QDBusObjectPath>

namespace zktest {

class UPowerMock {
public:
    static constexpr const char *kService = "org.freedesktop.UPower";
    static constexpr const char *kPath = "/org/freedesktop/UPower";
    static constexpr const char *kDisplay = "/org/freedesktop/UPower/devices/DisplayDevice";

    explicit UPowerMock(const LogindMock &bus) : m_bus(bus) {}
    UPowerMock(const UPowerMock &) = delete;
    UPowerMock &operator=(const UPowerMock &) = delete;
    ~UPowerMock() { stop(); }

    QString error() const { return m_error; }
    // The mock's log of the calls it answered (one line each).
    QString logPath() const { return m_dir.path() + QStringLiteral("/upower-mock.log"); }
    QString log() const
    {
        QFile f(logPath());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    // Starts the template with the given parameters (e.g. {"OnBattery": true})
    // and waits until its name is on the bus.
    bool start(const QJsonObject &parameters = {})
    {
        stop();
        QStringList args{QStringLiteral("--system"), QStringLiteral("--template"), QStringLiteral("upower"),
                         QStringLiteral("-l"), logPath()};
        if (!parameters.isEmpty())
            args << QStringLiteral("-p") << QString::fromUtf8(QJsonDocument(parameters).toJson(QJsonDocument::Compact));
        if (!(m_process = StartDBusMock(m_bus.environment(), args)))
            return fail(QStringLiteral("dbusmock did not start"));
        if (!LogindMock::waitFor([this] { return registered(); }, 20000))
            return fail(QStringLiteral("org.freedesktop.UPower did not appear on the private bus"));
        return true;
    }

    // Takes UPower off the bus.
    void stop()
    {
        if (!m_process)
            return;
        StopProcess(m_process);
        LogindMock::waitFor([this] { return !registered(); }, 5000);
    }

    bool registered() const
    {
        return m_bus.connection().interface()->isServiceRegistered(QString::fromLatin1(kService)).value();
    }

    // Sets the manager's OnBattery (a PropertiesChanged signal follows).
    bool setOnBattery(bool on) const
    {
        return set(QString::fromLatin1(kPath), QStringLiteral("org.freedesktop.UPower"), QStringLiteral("OnBattery"),
                   on);
    }

    // Sets the display device's presence, state, percentage and time to empty.
    bool setDisplay(bool present, quint32 state, double percentage, qint64 timeToEmpty) const
    {
        const QString device = QStringLiteral("org.freedesktop.UPower.Device");
        const QString path = QString::fromLatin1(kDisplay);
        return set(path, device, QStringLiteral("Type"), QVariant::fromValue(quint32(present ? 2 : 0))) &&
               set(path, device, QStringLiteral("State"), QVariant::fromValue(state)) &&
               set(path, device, QStringLiteral("Percentage"), percentage) &&
               set(path, device, QStringLiteral("TimeToEmpty"), QVariant::fromValue(timeToEmpty)) &&
               set(path, device, QStringLiteral("IsPresent"), present);
    }

private:
    bool set(const QString &path, const QString &interface, const QString &name, const QVariant &value) const
    {
        QDBusMessage msg = QDBusMessage::createMethodCall(QString::fromLatin1(kService), path,
                                                          QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("Set"));
        msg.setArguments({interface, name, QVariant::fromValue(QDBusVariant(value))});
        const QDBusMessage reply = m_bus.connection().call(msg, QDBus::Block, 10000);
        return reply.type() == QDBusMessage::ReplyMessage;
    }

    bool fail(const QString &message)
    {
        m_error = message;
        return false;
    }

    const LogindMock &m_bus;
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    QString m_error;
};

}  // namespace zktest
