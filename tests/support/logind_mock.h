// A private system bus (dbus-daemon) with python3-dbusmock's logind template
// on it, for tests and benchmarks that talk to a real logind-shaped service
// without touching the machine's own logind.
//
// Header-only, QtCore and QtDBus. Usage:
//   zktest::LogindMock mock;
//   if (!mock.startBus() || !mock.startLogind()) fail(mock.error());
//   child.setProcessEnvironment(mock.environment());   // for other processes
//   mock.exportAddress();  // for QDBusConnection::systemBus() in this process
//   ... mock.calls() ...
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>
#include <QVariant>

#include <memory>

#include <csignal>
#include <ctime>
#include <sys/prctl.h>

namespace zktest {

// One logged method call of a python3-dbusmock object. `time` is seconds since
// the epoch: whole seconds from MockCalls(), milliseconds from loggedCalls().
struct MockCall {
    double time = 0;
    QString method;
    QVariantList args;  // MockCalls() only
    QString argsText;   // loggedCalls() only: the mock's rendering of the arguments
};

// The calls the mock object `path` of `service` logged (of `method` only, when
// given), from its GetCalls, in order.
inline QList<MockCall> MockCalls(const QDBusConnection &bus, const QString &service, const QString &path,
                                 const QString &method = {})
{
    const auto unwrap = [](QVariant v) {
        while (v.userType() == qMetaTypeId<QDBusVariant>())
            v = v.value<QDBusVariant>().variant();
        return v;
    };
    QList<MockCall> result;
    QDBusMessage msg = QDBusMessage::createMethodCall(service, path, QStringLiteral("org.freedesktop.DBus.Mock"),
                                                      QStringLiteral("GetCalls"));
    const QDBusMessage reply = bus.call(msg, QDBus::Block, 10000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return result;
    const QDBusArgument arg = reply.arguments().constFirst().value<QDBusArgument>();
    arg.beginArray();
    while (!arg.atEnd()) {
        MockCall c;
        quint64 stamp = 0;
        arg.beginStructure();
        arg >> stamp >> c.method;
        arg.beginArray();
        while (!arg.atEnd()) {
            QDBusVariant v;
            arg >> v;
            c.args << unwrap(v.variant());
        }
        arg.endArray();
        arg.endStructure();
        c.time = double(stamp);
        if (method.isEmpty() || c.method == method)
            result << c;
    }
    arg.endArray();
    return result;
}

// A test killed by its time limit must not leave the bus and the mocks behind.
inline void DieWithParent() { ::prctl(PR_SET_PDEATHSIG, SIGTERM); }

// python3-dbusmock started with `args` in `env` (its output thrown away);
// null when it did not start.
inline std::unique_ptr<QProcess> StartDBusMock(const QProcessEnvironment &env, const QStringList &args)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(env);
    p->setProgram(QStringLiteral("/usr/bin/python3"));
    p->setArguments(QStringList{QStringLiteral("-m"), QStringLiteral("dbusmock")} + args);
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setChildProcessModifier(DieWithParent);
    p->start();
    if (!p->waitForStarted(5000))
        p.reset();
    return p;
}

// Ends a process started by a mock helper, and forgets it.
inline void StopProcess(std::unique_ptr<QProcess> &p)
{
    if (!p)
        return;
    p->terminate();
    if (!p->waitForFinished(3000))
        p->kill();
    p->waitForFinished(1000);
    p.reset();
}

class LogindMock {
public:
    static constexpr const char *kService = "org.freedesktop.login1";
    static constexpr const char *kPath = "/org/freedesktop/login1";
    static constexpr const char *kManager = "org.freedesktop.login1.Manager";
    static constexpr const char *kMock = "org.freedesktop.DBus.Mock";

    using Call = MockCall;

    LogindMock() = default;
    LogindMock(const LogindMock &) = delete;
    LogindMock &operator=(const LogindMock &) = delete;
    ~LogindMock()
    {
        stopLogind();
        if (m_daemon)
            QDBusConnection::disconnectFromBus(m_connectionName);
        StopProcess(m_daemon);
    }

    QString error() const { return m_error; }
    QString busAddress() const { return m_address; }
    QString logPath() const { return m_dir.path() + QStringLiteral("/logind-mock.log"); }

    // Starts dbus-daemon on a socket in a fresh temporary folder, with a
    // policy that lets everybody own and call everything.
    bool startBus()
    {
        if (!m_dir.isValid())
            return fail(QStringLiteral("no temporary folder"));
        const QString config = m_dir.path() + QStringLiteral("/system-bus.conf");
        const QString socket = m_dir.path() + QStringLiteral("/system_bus_socket");
        QFile f(config);
        if (!f.open(QIODevice::WriteOnly))
            return fail(QStringLiteral("cannot write %1").arg(config));
        f.write(QStringLiteral(R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_type="method_return"/>
    <allow send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="signal"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
  </policy>
</busconfig>
)")
                    .arg(socket)
                    .toUtf8());
        f.close();

        m_daemon = std::make_unique<QProcess>();
        m_daemon->setProgram(QStringLiteral("dbus-daemon"));
        m_daemon->setArguments({QStringLiteral("--config-file=") + config, QStringLiteral("--print-address"),
                                QStringLiteral("--nofork")});
        m_daemon->setProcessChannelMode(QProcess::SeparateChannels);
        m_daemon->setChildProcessModifier(DieWithParent);
        m_daemon->start();
        if (!m_daemon->waitForStarted(5000))
            return fail(QStringLiteral("dbus-daemon did not start: %1").arg(m_daemon->errorString()));
        // The address is printed once the socket listens.
        QDeadlineTimer deadline(10000);
        QByteArray out;
        while (!out.contains('\n') && !deadline.hasExpired()) {
            if (!m_daemon->waitForReadyRead(int(deadline.remainingTime())))
                break;
            out += m_daemon->readAllStandardOutput();
        }
        m_address = QString::fromUtf8(out.left(out.indexOf('\n'))).trimmed();
        if (m_address.isEmpty())
            return fail(QStringLiteral("dbus-daemon printed no address: %1")
                            .arg(QString::fromUtf8(m_daemon->readAllStandardError())));
        m_connectionName = QStringLiteral("zk-logind-mock-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        m_bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(m_address, m_connectionName));
        if (!m_bus->isConnected())
            return fail(QStringLiteral("cannot connect to %1: %2").arg(m_address, m_bus->lastError().message()));
        return true;
    }

    // Makes QDBusConnection::systemBus() of this process use the private bus.
    // Call it before anything in the process touches the system bus.
    void exportAddress() const { qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_address.toUtf8()); }

    // The environment for programs that should see the private bus as their
    // system bus.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
        return env;
    }

    // This helper's own connection to the private bus.
    QDBusConnection connection() const { return *m_bus; }

    // Starts the logind template with the given template parameters
    // (e.g. {"CanHibernate": "no"}) and waits until its name is on the bus.
    bool startLogind(const QJsonObject &parameters = {})
    {
        if (!m_bus)
            return fail(QStringLiteral("startBus() first"));
        stopLogind();
        QStringList args{QStringLiteral("--system"), QStringLiteral("--template"), QStringLiteral("logind"),
                         QStringLiteral("-l"), logPath()};
        if (!parameters.isEmpty())
            args << QStringLiteral("-p") << QString::fromUtf8(QJsonDocument(parameters).toJson(QJsonDocument::Compact));
        if (!(m_mock = StartDBusMock(environment(), args)))
            return fail(QStringLiteral("dbusmock did not start"));
        if (!waitFor([this] { return serviceRegistered(); }, 20000))
            return fail(QStringLiteral("org.freedesktop.login1 did not appear on the private bus"));
        return true;
    }

    // Takes the logind mock off the bus (a machine without logind).
    void stopLogind()
    {
        if (!m_mock)
            return;
        StopProcess(m_mock);
        if (m_bus)
            waitFor([this] { return !serviceRegistered(); }, 5000);
    }

    bool serviceRegistered() const
    {
        return m_bus && m_bus->interface()->isServiceRegistered(QString::fromLatin1(kService)).value();
    }

    // A call on the mock's main object; the reply (or error) message.
    QDBusMessage call(const QString &interface, const QString &method, const QVariantList &args = {}) const
    {
        QDBusMessage msg = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                                          interface, method);
        msg.setArguments(args);
        return m_bus->call(msg, QDBus::Block, 10000);
    }

    // Every logged method call (of `method` only, when given) since the start or the last clearCalls().
    QList<Call> calls(const QString &method = {}) const
    {
        return MockCalls(*m_bus, QString::fromLatin1(kService), QString::fromLatin1(kPath), method);
    }

    // The names of the calls that would change the machine's power state or end
    // the session, in order.
    QStringList powerCalls() const
    {
        static const QStringList power{"PowerOff",         "Reboot",       "Suspend",          "Hibernate",
                                       "HybridSleep",      "SuspendThenHibernate", "TerminateSession",
                                       "KillSession",      "TerminateUser", "KillUser"};
        QStringList names;
        for (const Call &c : calls())
            if (power.contains(c.method))
                names << c.method;
        return names;
    }

    // The calls from the mock's log file, with millisecond time stamps.
    QList<Call> loggedCalls(const QString &method = {}) const
    {
        QList<Call> result;
        QFile f(logPath());
        if (!f.open(QIODevice::ReadOnly))
            return result;
        const QList<QByteArray> lines = f.readAll().split('\n');
        for (const QByteArray &line : lines) {
            const int space = line.indexOf(' ');
            if (space <= 0)
                continue;
            bool ok = false;
            const double stamp = line.left(space).toDouble(&ok);
            if (!ok)
                continue;
            const QByteArray rest = line.mid(space + 1);
            const int end = rest.indexOf(' ');
            Call c;
            c.time = stamp;
            c.method = QString::fromUtf8(end < 0 ? rest : rest.left(end));
            c.argsText = end < 0 ? QString() : QString::fromUtf8(rest.mid(end + 1));
            if (c.method == QLatin1String("emit"))
                continue;
            if (method.isEmpty() || c.method == method)
                result << c;
        }
        return result;
    }

    bool clearCalls() const
    {
        return call(QString::fromLatin1(kMock), QStringLiteral("ClearCalls")).type() == QDBusMessage::ReplyMessage;
    }

    // Emits org.freedesktop.login1.Manager.PrepareForSleep(start) from the mock.
    bool emitPrepareForSleep(bool start) const
    {
        const QDBusMessage reply =
            call(QString::fromLatin1(kMock), QStringLiteral("EmitSignal"),
                 {QString::fromLatin1(kManager), QStringLiteral("PrepareForSleep"), QStringLiteral("b"),
                  QVariant::fromValue(QVariantList{QVariant::fromValue(QDBusVariant(start))})});
        return reply.type() == QDBusMessage::ReplyMessage;
    }

    // Adds or replaces a Manager method; `code` is the mock's Python body
    // (set `ret`, or raise dbus.exceptions.DBusException).
    bool addManagerMethod(const QString &name, const QString &inSig, const QString &outSig, const QString &code) const
    {
        const QDBusMessage reply = call(QString::fromLatin1(kMock), QStringLiteral("AddMethod"),
                                        {QString::fromLatin1(kManager), name, inSig, outSig, code});
        return reply.type() == QDBusMessage::ReplyMessage;
    }

    // A method body for addManagerMethod() that refuses with the D-Bus error `name`.
    static QString raising(const QString &name)
    {
        return QStringLiteral("raise dbus.exceptions.DBusException('refused', name='%1')").arg(name);
    }

    // Adds session `id` of user 1000 on seat0 to the mock; the error text, empty when it worked.
    QString addSession(const QString &id) const
    {
        const QDBusMessage r = call(QString::fromLatin1(kMock), QStringLiteral("AddSession"),
                                    {id, QStringLiteral("seat0"), QVariant::fromValue(quint32(1000)),
                                     QStringLiteral("someone"), true});
        return r.type() == QDBusMessage::ReplyMessage ? QString() : QStringLiteral("AddSession: ") + r.errorMessage();
    }

    // Sets a property of the mock's session `id`.
    bool setSession(const QString &id, const QString &name, const QVariant &value) const
    {
        QDBusMessage msg = QDBusMessage::createMethodCall(
            QString::fromLatin1(kService), QStringLiteral("/org/freedesktop/login1/session/") + id,
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
        msg.setArguments({QStringLiteral("org.freedesktop.login1.Session"), name, QVariant::fromValue(QDBusVariant(value))});
        return m_bus->call(msg).type() == QDBusMessage::ReplyMessage;
    }

    // Marks session `id` idle since `seconds` ago, on both clocks logind keeps the hint by.
    bool setSessionIdleFor(const QString &id, qint64 seconds) const
    {
        timespec ts{};
        ::clock_gettime(CLOCK_MONOTONIC, &ts);
        const quint64 ago = quint64(seconds) * 1000000;
        const quint64 monotonicUs = quint64(ts.tv_sec) * 1000000 + quint64(ts.tv_nsec) / 1000;
        const quint64 wallUs = quint64(QDateTime::currentMSecsSinceEpoch()) * 1000;
        return setSession(id, QStringLiteral("IdleSinceHintMonotonic"), QVariant::fromValue(monotonicUs - ago)) &&
               setSession(id, QStringLiteral("IdleSinceHint"), QVariant::fromValue(wallUs - ago)) &&
               setSession(id, QStringLiteral("IdleHint"), true);
    }

    // The inhibitor locks the mock holds: (what, who, why, mode) each.
    QList<QStringList> inhibitors() const
    {
        QList<QStringList> result;
        const QDBusMessage reply = call(QString::fromLatin1(kManager), QStringLiteral("ListInhibitors"));
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return result;
        const QDBusArgument arg = reply.arguments().constFirst().value<QDBusArgument>();
        arg.beginArray();
        while (!arg.atEnd()) {
            QString what, who, why, mode;
            quint32 uid = 0, pid = 0;
            arg.beginStructure();
            arg >> what >> who >> why >> mode >> uid >> pid;
            arg.endStructure();
            result << QStringList{what, who, why, mode};
        }
        arg.endArray();
        return result;
    }

    // Polls `condition` every 20 ms until it holds or `ms` pass. The mock runs
    // in its own process, so nothing here needs this process's event loop;
    // events are still let run so that queued signals arrive.
    template <typename F>
    static bool waitFor(F condition, int ms)
    {
        QDeadlineTimer deadline(ms);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            if (QCoreApplication::instance())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(20);
        }
        return true;
    }

private:
    bool fail(const QString &message)
    {
        m_error = message;
        return false;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_daemon;
    std::unique_ptr<QProcess> m_mock;
    std::unique_ptr<QDBusConnection> m_bus;
    QString m_connectionName;
    QString m_address;
    QString m_error;
};

}  // namespace zktest
