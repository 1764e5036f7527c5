// The running program on the session bus, through the real binary on a
// private bus (the test runs under dbus-run-session): what `zenkoro --status`
// and `zenkoro --stop` see and do, and what a panel applet that listens for
// PropertiesChanged is told; copies in other PID namespaces, copies and a bus
// that do not answer; the warning as a desktop notice (dbusmock's notification
// daemon on the same bus) and its "中止" button.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifndef Q_MOC_RUN
#include "support/logind_mock.h"
#include "support/run_zenkoro.h"
#endif

using zktest::Describe;
using zktest::Result;

#include <csignal>

namespace {

// The name of the copy with this pid (as the bus sees it); empty when none.
QString ServiceOf(qint64 pid)
{
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    for (const QString &name : bus->registeredServiceNames().value())
        if (name.startsWith(u"org.zenkoro.Zenkoro1.instance") && bus->servicePid(name).value() == pid)
            return name;
    return QString();
}

// The pid of the program a `unshare --fork` runs (its only child).
qint64 ChildOf(const QProcess &p)
{
    QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(p.processId()));
    return children.open(QIODevice::ReadOnly) ? children.readAll().trimmed().toLongLong() : 0;
}

// python3-dbusmock's notification daemon on the test's session bus.
struct NotificationMock {
    static constexpr const char *kService = "org.freedesktop.Notifications";
    static constexpr const char *kPath = "/org/freedesktop/Notifications";
    std::unique_ptr<QProcess> process =
        zktest::StartDBusMock(QProcessEnvironment::systemEnvironment(), {"--template", "notification_daemon"});
    ~NotificationMock() { zktest::StopProcess(process); }

    static QList<zktest::MockCall> calls(const QString &method)
    {
        return zktest::MockCalls(QDBusConnection::sessionBus(), kService, kPath, method);
    }
    // A press on the button `key` of notice `id`.
    static bool invoke(quint32 id, const QString &key)
    {
        QDBusMessage m = QDBusMessage::createMethodCall(kService, kPath, "org.freedesktop.DBus.Mock", "EmitSignal");
        const QVariantList args{QVariant::fromValue(QDBusVariant(id)), QVariant::fromValue(QDBusVariant(key))};
        m.setArguments({QString(kService), "ActionInvoked", "us", QVariant::fromValue(args)});
        return QDBusConnection::sessionBus().call(m).type() == QDBusMessage::ReplyMessage;
    }
    static bool closed(quint32 id)
    {
        const QList<zktest::MockCall> closes = calls("CloseNotification");
        return std::ranges::any_of(closes, [id](const auto &c) { return c.args.value(0).toUInt() == id; });
    }
};

}  // namespace

class TestBusControl : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;

    // A headless countdown that the test controls only over the bus.
    void start(QProcess &p, const QStringList &args) const
    {
        p.setProcessEnvironment(zktest::ZenkoroEnvironment(m_home.path()));
        p.start(qEnvironmentVariable("ZENKORO_BIN"), QStringList{"--dry-run", "--conf", m_home.filePath("Conf.txt")} + args);
    }

    static bool registered(qint64 pid) { return !ServiceOf(pid).isEmpty(); }
    static bool registered(const QProcess &p) { return registered(p.processId()); }

    Result client(const QStringList &args) const { return zktest::RunZenkoro(args, m_home.path()); }

    // The objects of a --status answer, by pid.
    static QHash<qint64, QJsonObject> byPid(const Result &r)
    {
        QHash<qint64, QJsonObject> objects;
        for (const QJsonValue &v : QJsonDocument::fromJson(r.out.toUtf8()).array())
            objects.insert(v.toObject().value("pid").toInteger(), v.toObject());
        return objects;
    }

private slots:
    // Two countdowns: both answer --status; --stop needs a PID while both run,
    // and a stopped run ends with status 0 and no power action.
    void statusAndStop()
    {
        QProcess a, b;
        start(a, {"-auto", "-shutdown", "-time", "5"});
        start(b, {"-auto", "-reboot", "-time", "10"});
        QTRY_VERIFY_WITH_TIMEOUT(registered(a) && registered(b), 20000);

        const Result answer = client({"--status"});
        const QHash<qint64, QJsonObject> running = byPid(answer);
        QVERIFY2(answer.exitCode == 0 && running.size() == 2, qPrintable(Describe(answer)));
        const QJsonObject sa = running.value(a.processId());
        QCOMPARE(sa.value("State").toString(), QStringLiteral("counting"));
        QCOMPARE(sa.value("Operation").toString(), QStringLiteral("シャットダウン"));
        const qint64 remaining = sa.value("RemainingSeconds").toInteger(-1);
        QVERIFY2(remaining > 280 && remaining <= 300, qPrintable(QString::number(remaining)));
        QVERIFY(QDateTime::fromString(sa.value("TargetTime").toString(), Qt::ISODate).isValid());

        // Several and no PID: both listed, nothing stopped.
        const Result ambiguous = client({"--stop"});
        QVERIFY2(ambiguous.exitCode == 2 && ambiguous.err.contains(QString::number(a.processId())) &&
                     ambiguous.err.contains(QString::number(b.processId())),
                 qPrintable(Describe(ambiguous)));
        QVERIFY(registered(a) && registered(b));

        QCOMPARE(client({"--stop", QString::number(a.processId())}).exitCode, 0);
        const Result endA = zktest::Finish(a, 10000);
        QVERIFY2(endA.exitCode == 0 && !endA.out.contains("dry-run:"), qPrintable(Describe(endA)));
        QCOMPARE(b.state(), QProcess::Running);

        // The only one left needs no PID.
        QVERIFY2(client({"--stop"}).exitCode == 0, "--stop of the only copy");
        QCOMPARE(zktest::Finish(b, 10000).exitCode, 0);

        const Result none = client({"--status"});
        QVERIFY2(none.exitCode == 0 && none.out.trimmed() == u"[]", qPrintable(Describe(none)));
        const Result nothingToStop = client({"--stop"});
        QVERIFY2(nothingToStop.exitCode == 1 && !nothingToStop.err.isEmpty(), qPrintable(Describe(nothingToStop)));
        // A mistyped PID is not taken for "the only one".
        QCOMPARE(client({"--stop", "12x"}).exitCode, 2);
        QCOMPARE(client({"--stop", "-auto"}).exitCode, 2);
    }

    // With a notification service, the warning phase is also a critical
    // notice with "中止"; pressing it stops the run with no power action and
    // withdraws the notice. A listener learns of the warning phase from
    // PropertiesChanged and StateChanged, without asking.
    void warning()
    {
        NotificationMock mock;
        QTRY_VERIFY_WITH_TIMEOUT(QDBusConnection::sessionBus().interface()->isServiceRegistered(mock.kService), 20000);
        QDBusConnection bus = QDBusConnection::sessionBus();
        QVERIFY(bus.connect(QString(), "/org/zenkoro/Zenkoro1", "org.freedesktop.DBus.Properties", "PropertiesChanged",
                            this, SLOT(propertiesChanged(QDBusMessage))));
        QVERIFY(bus.connect(QString(), "/org/zenkoro/Zenkoro1", "org.zenkoro.Zenkoro1", "StateChanged", this,
                            SLOT(stateChanged(QString))));
        // Warning 15 s before the action, which is 20 s away: from about 5 s on.
        QProcess p;
        start(p, {"-auto", "-shutdown", "-time", "0", "-zero_time", "20"});
        QTRY_VERIFY_WITH_TIMEOUT(registered(p), 20000);
        const QString owner = bus.interface()->serviceOwner(ServiceOf(p.processId())).value();
        auto warned = [&] {  // with the seconds left
            for (const auto &c : std::as_const(m_changes))
                if (c.first == owner && c.second.value("State").toString() == u"warning")
                    return c.second.value("RemainingSeconds").toLongLong() > 0;
            return false;
        };
        QTRY_VERIFY_WITH_TIMEOUT(warned(), 15000);
        QVERIFY(m_states.contains(QStringLiteral("warning")));

        QTRY_COMPARE_WITH_TIMEOUT(NotificationMock::calls("Notify").size(), 1, 5000);
        const QVariantList n = NotificationMock::calls("Notify")[0].args;
        QVERIFY2(n.value(3).toString().startsWith("Zenkoroシャットダウン"), qPrintable(n.value(3).toString()));
        QCOMPARE(n.value(4).toString(), QStringLiteral("まもなくシャットダウン"));
        QCOMPARE(n.value(5).toStringList(), (QStringList{"stop", "中止"}));
        const QVariant urgency = qdbus_cast<QVariantMap>(n.value(6)).value("urgency");
        QCOMPARE(urgency.metaType(), QMetaType::fromType<uchar>());
        QCOMPARE(urgency.toInt(), 2);
        QVERIFY(NotificationMock::invoke(1, "stop"));  // the mock numbers its notices from 1
        const Result r = zktest::Finish(p, 10000);
        QVERIFY2(r.exitCode == 0 && !r.out.contains("dry-run:"), qPrintable(Describe(r)));
        QTRY_VERIFY_WITH_TIMEOUT(NotificationMock::closed(1), 5000);
    }

    // Copies with the same pid in PID namespaces of their own (sandboxes):
    // each has its own name, --status shows both with the pids this side
    // sees, and --stop PID stops only the one named.
    void pidNamespaces()
    {
        QProcess a, b;
        for (QProcess *p : {&a, &b}) {
            p->setProcessEnvironment(zktest::ZenkoroEnvironment(m_home.path()));
            p->start("unshare", {"--pid", "--fork", "--kill-child", "--mount-proc", qEnvironmentVariable("ZENKORO_BIN"), "--dry-run",
                                 "--conf", m_home.filePath("Conf.txt"), "-auto", "-shutdown", "-time", "10"});
        }
        QTRY_VERIFY_WITH_TIMEOUT(registered(ChildOf(a)) && registered(ChildOf(b)), 20000);
        const qint64 pa = ChildOf(a), pb = ChildOf(b);

        const Result answer = client({"--status"});
        const QHash<qint64, QJsonObject> running = byPid(answer);
        QVERIFY2(answer.exitCode == 0 && running.contains(pa) && running.contains(pb), qPrintable(Describe(answer)));

        QCOMPARE(client({"--stop", QString::number(pb)}).exitCode, 0);
        QCOMPARE(zktest::Finish(b, 10000).exitCode, 0);
        QCOMPARE(a.state(), QProcess::Running);
        QCOMPARE(client({"--stop", QString::number(pa)}).exitCode, 0);
        QCOMPARE(zktest::Finish(a, 10000).exitCode, 0);
    }

    // A window without a run has nothing to stop; a copy that does not answer
    // (stopped with SIGSTOP) is named, and the others still answer.
    void idleAndSilentCopies()
    {
        QProcess window, counting, silent;
        QProcessEnvironment env = zktest::ZenkoroEnvironment(m_home.path());
        env.insert("DISPLAY", ":zenkoro-none");  // a window, drawn offscreen
        env.insert("QT_QPA_PLATFORM", "offscreen");
        window.setProcessEnvironment(env);
        window.start(qEnvironmentVariable("ZENKORO_BIN"), {"--dry-run", "--conf", m_home.filePath("Conf.txt")});
        start(counting, {"-auto", "-shutdown", "-time", "10"});
        start(silent, {"-auto", "-reboot", "-time", "10"});
        QTRY_VERIFY_WITH_TIMEOUT(registered(window) && registered(counting) && registered(silent), 20000);

        const Result idle = client({"--stop", QString::number(window.processId())});
        QVERIFY2(idle.exitCode == 1 && idle.out.isEmpty() && idle.err.contains("停止するものがありません"),
                 qPrintable(Describe(idle)));
        QCOMPARE(window.state(), QProcess::Running);

        ::kill(pid_t(silent.processId()), SIGSTOP);
        const QString pid = QString::number(silent.processId());
        const Result status = client({"--status"});
        QVERIFY2(status.exitCode == 1 && status.err.contains(pid) && status.err.contains("応答しませんでした"),
                 qPrintable(Describe(status)));
        const QHash<qint64, QJsonObject> answered = byPid(status);
        QCOMPARE(answered.value(counting.processId()).value("State").toString(), QStringLiteral("counting"));
        QCOMPARE(answered.value(window.processId()).value("State").toString(), QStringLiteral("idle"));
        QVERIFY(!answered.contains(silent.processId()));

        const Result stop = client({"--stop", pid});
        QVERIFY2(stop.exitCode == 1 && stop.err.contains(pid) && stop.err.contains("応答しませんでした") &&
                     !stop.err.contains("invalid type"),
                 qPrintable(Describe(stop)));
        ::kill(pid_t(silent.processId()), SIGCONT);
        for (QProcess *p : {&window, &counting, &silent}) {
            p->terminate();
            QCOMPARE(zktest::Finish(*p, 10000).exitCode, 0);
        }
    }

    // A session bus whose daemon is stopped, or none at all: a run goes on
    // without it and still ends on SIGTERM; the clients give up with a message.
    void withoutAnsweringBus_data()
    {
        QTest::addColumn<bool>("stalled");
        QTest::addColumn<QString>("message");
        QTest::newRow("stalled") << true << "応答しませんでした";
        QTest::newRow("none") << false << "session D-Bus bus";
    }
    void withoutAnsweringBus()
    {
        QFETCH(bool, stalled);
        QFETCH(QString, message);
        QProcessEnvironment env = zktest::ZenkoroEnvironment(m_home.path());
        QProcess daemon;
        QTemporaryDir runtime;  // no bus socket in it
        env.insert("XDG_RUNTIME_DIR", runtime.path());
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        if (stalled) {
            daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
            QVERIFY(daemon.waitForReadyRead(10000));
            env.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromUtf8(daemon.readLine()).trimmed());
            ::kill(pid_t(daemon.processId()), SIGSTOP);
        }
        auto run = [&](QProcess &p, const QStringList &args) {
            p.setProcessEnvironment(env);
            p.start(qEnvironmentVariable("ZENKORO_BIN"), args);
        };
        QProcess now, later;
        run(now, {"--dry-run", "-auto", "-reboot", "-time", "0", "-zero_time", "1"});
        run(later, {"--dry-run", "-auto", "-shutdown", "-time", "10"});
        const Result acted = zktest::Finish(now, 30000);
        QVERIFY2(acted.exitCode == 0 && acted.out.contains("dry-run: ExitSession flags=2") && acted.err.isEmpty(),
                 qPrintable(Describe(acted)));
        later.terminate();
        const Result stopped = zktest::Finish(later, 30000);
        QVERIFY2(stopped.exitCode == 0 && !stopped.out.contains("dry-run:"), qPrintable(Describe(stopped)));
        for (const char *option : {"--status", "--stop"}) {
            QProcess c;
            run(c, {option});
            const Result r = zktest::Finish(c, 30000);
            QVERIFY2(r.exitCode == 1 && r.err.contains(message), qPrintable(Describe(r)));
        }
        daemon.kill();
        daemon.waitForFinished();
    }

public slots:
    void propertiesChanged(const QDBusMessage &m)
    {
        if (m.arguments().size() == 3 && m.arguments().at(0).toString() == u"org.zenkoro.Zenkoro1")
            m_changes.append({m.service(), qdbus_cast<QVariantMap>(m.arguments().at(1))});
    }
    void stateChanged(const QString &state) { m_states.append(state); }

private:
    QList<QPair<QString, QVariantMap>> m_changes;  // sender, changed properties
    QStringList m_states;
};

QTEST_GUILESS_MAIN(TestBusControl)
#include "tst_bus_control.moc"
