// A private system bus (dbus-daemon) with python3-dbusmock's logind template
// on it, for tests and benchmarks that talk to a real logind-shaped service
// without touching the machine's own logind.
#pragma once

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <ctime>
#include <memory>
#include <sys/prctl.h>

namespace zktest {

// One logged method call of a python3-dbusmock object. `time` is seconds since
// the epoch: whole seconds from MockCalls(), milliseconds from loggedCalls().
struct MockCall {
    double time = 0;
    QString method;
    QVariantList args;  // MockCalls() only
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
        const QString config = m_dir.path() + QStringLiteral("/system-bus.conf");
        const QString socket = m_dir.path() + QStringLiteral("/system_bus_socket");
        QFile f(config);
        if (!f.open(QIODevice::WriteOnly))
            return fail(QStringLiteral("cannot write %1").arg(config));
        f.write(QStringLiteral(R"(<busconfig>
  <type>system</type>
  <listen>unix:path=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
  </policy>
</busconfig>
)")
                    .arg(socket)
                    .toUtf8());
        f.close();

        m_daemon = std::make_unique<QProcess>();
        m_daemon->setChildProcessModifier(DieWithParent);
        m_daemon->start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config,
                                                        QStringLiteral("--print-address"), QStringLiteral("--nofork")});
        if (!m_daemon->waitForStarted(5000))
            return fail(QStringLiteral("dbus-daemon did not start: %1").arg(m_daemon->errorString()));
        // The address is printed once the socket listens.
        QByteArray out;
        while (!out.contains('\n') && m_daemon->waitForReadyRead(10000))
            out += m_daemon->readAllStandardOutput();
        m_address = QString::fromUtf8(out.left(out.indexOf('\n'))).trimmed();
        if (m_address.isEmpty())
            return fail(QStringLiteral("dbus-daemon printed no address: %1")
                            .arg(QString::fromUtf8(m_daemon->readAllStandardError())));
        m_connectionName = QStringLiteral("zk-logind-mock-") + m_address;
        m_bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(m_address, m_connectionName));
        if (!m_bus->isConnected())
            return fail(QStringLiteral("cannot connect to %1: %2").arg(m_address, m_bus->lastError().message()));
        return true;
    }

    // The environment for programs that see the private bus as their system bus.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
        return env;
    }

    // This helper's own connection to the private bus.
    QDBusConnection connection() const { return *m_bus; }

    // Starts python3-dbusmock's template `name` with its `parameters` (e.g.
    // {"CanHibernate": "no"}) on the private bus, its calls logged to `log`, and
    // waits until `service` is on the bus; null when that fails (*error says why).
    std::unique_ptr<QProcess> startTemplate(const QString &name, const QString &service, const QJsonObject &parameters,
                                            const QString &log, QString *error) const
    {
        QStringList args{QStringLiteral("--system"), QStringLiteral("--template"), name, QStringLiteral("-l"), log};
        if (!parameters.isEmpty())
            args << QStringLiteral("-p") << QString::fromUtf8(QJsonDocument(parameters).toJson(QJsonDocument::Compact));
        std::unique_ptr<QProcess> p = StartDBusMock(environment(), args);
        if (p && waitFor([&] { return registered(service); }, 20000))
            return p;
        *error = QStringLiteral("%1 did not appear on the private bus").arg(service);
        StopProcess(p);
        return p;
    }

    // Ends a mock that startTemplate() started, and waits until `service` is off the bus.
    void stopTemplate(std::unique_ptr<QProcess> &p, const QString &service) const
    {
        if (!p)
            return;
        StopProcess(p);
        waitFor([&] { return !registered(service); }, 5000);
    }

    bool registered(const QString &service) const
    {
        return m_bus && m_bus->interface()->isServiceRegistered(service).value();
    }

    bool startLogind(const QJsonObject &parameters = {})
    {
        stopLogind();
        const QString service = QString::fromLatin1(kService);
        m_mock = startTemplate(QStringLiteral("logind"), service, parameters, logPath(), &m_error);
        return bool(m_mock);
    }

    // Takes the logind mock off the bus (a machine without logind).
    void stopLogind() { stopTemplate(m_mock, QString::fromLatin1(kService)); }

    // A call on the mock's main object; the reply (or error) message.
    QDBusMessage call(const QString &interface, const QString &method, const QVariantList &args = {}) const
    {
        QDBusMessage msg = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                                          interface, method);
        msg.setArguments(args);
        return m_bus->call(msg, QDBus::Block, 10000);
    }

    // Every logged method call (of `method` only, when given) since the start or the last clearCalls().
    QList<MockCall> calls(const QString &method = {}) const
    {
        return MockCalls(*m_bus, QString::fromLatin1(kService), QString::fromLatin1(kPath), method);
    }

    // The names of the calls that would change the machine's power state or end
    // the session, in order.
    QStringList powerCalls() const
    {
        static const QStringList power{"PowerOff",         "Reboot",      "Suspend",       "Hibernate",
                                       "HybridSleep",      "SuspendThenHibernate",          "TerminateSession",
                                       "KillSession",      "TerminateUser", "KillUser"};
        QStringList names;
        for (const MockCall &c : calls())
            if (power.contains(c.method))
                names << c.method;
        return names;
    }

    // The calls from the mock's log file, with millisecond time stamps.
    QList<MockCall> loggedCalls(const QString &method = {}) const
    {
        QList<MockCall> result;
        QFile f(logPath());
        if (!f.open(QIODevice::ReadOnly))
            return result;
        for (const QByteArray &line : f.readAll().split('\n')) {
            const QList<QByteArray> words = line.split(' ');  // stamp, method, arguments
            bool ok = false;
            const double stamp = words[0].toDouble(&ok);
            const QString name = QString::fromUtf8(words.value(1));
            if (ok && name != u"emit" && (method.isEmpty() || name == method))
                result << MockCall{stamp, name, {}};
        }
        return result;
    }

    // A call of the mock's own interface (org.freedesktop.DBus.Mock); whether it was answered.
    bool mockCall(const QString &method, const QVariantList &args = {}) const
    {
        return call(QString::fromLatin1(kMock), method, args).type() == QDBusMessage::ReplyMessage;
    }

    bool clearCalls() const { return mockCall(QStringLiteral("ClearCalls")); }

    // Emits org.freedesktop.login1.Manager.PrepareForSleep(start) from the mock.
    bool emitPrepareForSleep(bool start) const
    {
        return mockCall(QStringLiteral("EmitSignal"), {QString::fromLatin1(kManager), QStringLiteral("PrepareForSleep"),
                                                       QStringLiteral("b"), QVariantList{start}});
    }

    // Adds or replaces a Manager method; `code` is the mock's Python body
    // (set `ret`, or raise dbus.exceptions.DBusException).
    bool addManagerMethod(const QString &name, const QString &inSig, const QString &outSig, const QString &code) const
    {
        return mockCall(QStringLiteral("AddMethod"), {QString::fromLatin1(kManager), name, inSig, outSig, code});
    }

    // A method body for addManagerMethod() that refuses with the D-Bus error `name`.
    static QString raising(const QString &name)
    {
        return QStringLiteral("raise dbus.exceptions.DBusException('refused', name='%1')").arg(name);
    }

    // Adds session `id` of user 1000 on seat0 to the mock.
    bool addSession(const QString &id) const
    {
        return mockCall(QStringLiteral("AddSession"),
                        {id, QStringLiteral("seat0"), quint32(1000), QStringLiteral("someone"), true});
    }

    // Sets a property of an object on the private bus.
    bool setProperty(const QString &service, const QString &path, const QString &interface, const QString &name,
                     const QVariant &value) const
    {
        QDBusMessage msg =
            QDBusMessage::createMethodCall(service, path, QStringLiteral("org.freedesktop.DBus.Properties"), "Set");
        msg.setArguments({interface, name, QVariant::fromValue(QDBusVariant(value))});
        return m_bus->call(msg, QDBus::Block, 10000).type() == QDBusMessage::ReplyMessage;
    }

    // Sets a property of the mock's session `id`.
    bool setSession(const QString &id, const QString &name, const QVariant &value) const
    {
        return setProperty(QString::fromLatin1(kService), QStringLiteral("/org/freedesktop/login1/session/") + id,
                           QStringLiteral("org.freedesktop.login1.Session"), name, value);
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

    // How many inhibitor locks the mock holds; -1 when it does not answer.
    int inhibitorCount() const
    {
        const QDBusMessage reply = call(QString::fromLatin1(kManager), QStringLiteral("ListInhibitors"));
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return -1;
        const QDBusArgument arg = reply.arguments().constFirst().value<QDBusArgument>();
        int count = 0;
        for (arg.beginArray(); !arg.atEnd(); ++count) {
            arg.beginStructure();
            arg.endStructure();
        }
        arg.endArray();
        return count;
    }

    // Polls `condition` every 20 ms until it holds or `ms` pass, letting
    // events run so that queued signals arrive.
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
