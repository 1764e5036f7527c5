// End to end: the real zenkoro binary, headless, performs its power action
// through a logind-shaped service (python3-dbusmock's logind template) on a
// private system bus, and only through it.
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifndef Q_MOC_RUN
#include "support/logind_mock.h"
#endif

#include <csignal>

using zktest::LogindMock;

namespace {

const QStringList kPowerMethods{"PowerOff", "Reboot", "Suspend", "Hibernate", "HybridSleep", "SuspendThenHibernate",
                                "TerminateSession", "KillSession", "TerminateUser", "KillUser"};

}  // namespace

class TestE2ePower : public QObject {
    Q_OBJECT

    LogindMock m_mock;
    QTemporaryDir m_home;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = m_mock.environment();
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        env.insert("HOME", m_home.path());
        env.insert("XDG_CONFIG_HOME", m_home.path() + "/config");
        env.insert("LC_ALL", "C.UTF-8");
        return env;
    }

    // A started zenkoro with the given arguments; its settings file is a
    // fresh, missing one, so the defaults apply.
    void start(QProcess &p, QStringList args) const
    {
        args.prepend(m_home.path() + "/Conf.txt");
        args.prepend("--conf");
        p.setProcessEnvironment(environment());
        p.start(qEnvironmentVariable("ZENKORO_BIN"), args);
    }

    struct Finished {
        bool finished = false;
        int exitCode = -1;
        QProcess::ExitStatus status = QProcess::CrashExit;
        QString out;
        QString err;
    };

    Finished run(const QStringList &args, int timeoutMs = 60000) const
    {
        QProcess p;
        start(p, args);
        return finish(p, timeoutMs);
    }

    static Finished finish(QProcess &p, int timeoutMs)
    {
        Finished f;
        f.finished = p.waitForFinished(timeoutMs);
        if (!f.finished) {
            p.kill();
            p.waitForFinished(3000);
        }
        f.exitCode = p.exitCode();
        f.status = p.exitStatus();
        f.out = QString::fromUtf8(p.readAllStandardOutput());
        f.err = QString::fromUtf8(p.readAllStandardError());
        return f;
    }

    // (QVERIFY2 evaluates its message even when the check holds: pass this
    // only where the process has ended, or under an explicit failure branch.)
    static QString describe(const Finished &f)
    {
        return QStringLiteral("finished=%1 exit=%2 status=%3\nstdout:\n%4\nstderr:\n%5")
            .arg(f.finished)
            .arg(f.exitCode)
            .arg(int(f.status))
            .arg(f.out, f.err);
    }

    QStringList powerCalls() const
    {
        QStringList names;
        for (const auto &c : m_mock.calls())
            if (kPowerMethods.contains(c.method))
                names << c.method;
        return names;
    }

    bool waitForCall(const QString &method, int count, int ms) const
    {
        return LogindMock::waitFor([&] { return m_mock.calls(method).size() >= count; }, ms);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QFile::exists(qEnvironmentVariable("ZENKORO_BIN")));
        QVERIFY(m_home.isValid());
        QVERIFY2(m_mock.startBus(), qPrintable(m_mock.error()));
        QVERIFY2(m_mock.startLogind(), qPrintable(m_mock.error()));

    }

    void init()
    {
        QVERIFY2(m_mock.startLogind(), qPrintable(m_mock.error()));
        QVERIFY(m_mock.clearCalls());
    }

    void rebootAfterZeroTimeCallsRebootOnce()
    {
        const double started = QDateTime::currentMSecsSinceEpoch() / 1000.0;
        const Finished f = run({"-auto", "-reboot", "-time", "0", "-zero_time", "2"});
        QVERIFY2(f.finished && f.status == QProcess::NormalExit && f.exitCode == 0, qPrintable(describe(f)));
        QCOMPARE(powerCalls(), QStringList{"Reboot"});
        QCOMPARE(m_mock.calls("Reboot")[0].args, QVariantList{true});
        // Never early: the target is two seconds after the start.
        const auto logged = m_mock.loggedCalls("Reboot");
        QCOMPARE(logged.size(), 1);
        QVERIFY2(logged[0].time - started >= 1.9,
                 qPrintable(QStringLiteral("Reboot came %1 s after the start").arg(logged[0].time - started)));
        QVERIFY2(!f.out.trimmed().isEmpty(), "a headless run prints its countdown");
    }

    void forcedShutdownPowersOffNonInteractively()
    {
        const Finished f = run({"-auto", "-shutdown", "-force", "-time", "0", "-zero_time", "1"});
        QVERIFY2(f.finished && f.status == QProcess::NormalExit && f.exitCode == 0, qPrintable(describe(f)));
        QCOMPARE(powerCalls(), QStringList{"PowerOff"});
        QCOMPARE(m_mock.calls("PowerOff")[0].args, QVariantList{false});
    }

    void standbyWaitsForPrepareForSleepFalse()
    {
        QProcess p;
        start(p, {"-auto", "-standby", "-time", "0", "-zero_time", "1"});
        QVERIFY(p.waitForStarted(10000));
        if (!waitForCall("Suspend", 1, 30000))
            QFAIL(qPrintable(describe(finish(p, 100))));
        QCOMPARE(m_mock.calls("Suspend")[0].args, QVariantList{true});
        // Suspended: it waits for the machine to come back.
        QVERIFY(!p.waitForFinished(1000));
        QVERIFY(m_mock.emitPrepareForSleep(true));
        QVERIFY(!p.waitForFinished(1000));
        QVERIFY(m_mock.emitPrepareForSleep(false));
        // Keep state is off: back from the sleep, the program ends.
        const Finished f = finish(p, 30000);
        QVERIFY2(f.finished && f.status == QProcess::NormalExit && f.exitCode == 0, qPrintable(describe(f)));
        QCOMPARE(powerCalls(), QStringList{"Suspend"});
    }

    void hibernationParameterFollowsCanHibernate_data()
    {
        QTest::addColumn<QString>("canHibernate");
        QTest::addColumn<int>("operation");
        QTest::newRow("disabled: reboot stays") << "no" << 1;
        QTest::newRow("allowed: hibernation") << "yes" << 3;
    }
    void hibernationParameterFollowsCanHibernate()
    {
        QFETCH(QString, canHibernate);
        QFETCH(int, operation);
        QVERIFY2(m_mock.startLogind(QJsonObject{{"CanHibernate", canHibernate}}), qPrintable(m_mock.error()));
        const Finished f = run({"--explain", "-reboot", "-hibernation"});
        QVERIFY2(f.finished && f.exitCode == 0, qPrintable(describe(f)));
        const QJsonObject o = QJsonDocument::fromJson(f.out.toUtf8()).object();
        QCOMPARE(o.value("Operation").toInt(-1), operation);
        // The answer came from logind, and asking was all that happened.
        QVERIFY(!m_mock.calls("CanHibernate").isEmpty());
        QVERIFY(powerCalls().isEmpty());
    }

    // A settings file that holds "休止" goes through the operation list's
    // check as a choice from the list would: refused, it keeps the operation
    // selected before the file was read.
    void loadedHibernationFollowsCanHibernate_data()
    {
        QTest::addColumn<QString>("canHibernate");
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("messages");
        QTest::newRow("disabled: the default stays") << "no" << 0 << 1;
        QTest::newRow("allowed: hibernation") << "yes" << 3 << 0;
    }
    void loadedHibernationFollowsCanHibernate()
    {
        QFETCH(QString, canHibernate);
        QFETCH(int, operation);
        QFETCH(int, messages);
        QVERIFY2(m_mock.startLogind(QJsonObject{{"CanHibernate", canHibernate}}), qPrintable(m_mock.error()));
        QFile conf(m_home.path() + "/Conf.txt");
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write("-1,-1,3,\r\n");
        conf.close();
        const Finished f = run({"--explain"});
        QVERIFY(conf.remove());
        QVERIFY2(f.finished && f.exitCode == 0, qPrintable(describe(f)));
        QCOMPARE(QJsonDocument::fromJson(f.out.toUtf8()).object().value("Operation").toInt(-1), operation);
        QCOMPARE(f.err.count(QStringLiteral("無効: 「休止」は無効となっています。\n[電源のオプション]から「休止」を有効にして下さい。")),
                 messages);
        QVERIFY(powerCalls().isEmpty());
    }

    void dryRunMakesNoCall_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("line");
        QTest::newRow("reboot") << QStringList{"-auto", "-reboot", "-time", "0", "-zero_time", "1", "--dry-run"}
                                << "dry-run: ExitSession flags=2 (reboot) -> org.freedesktop.login1.Manager.Reboot "
                                   "interactive=true";
        QTest::newRow("forced shutdown")
            << QStringList{"-auto", "-shutdown", "-force", "-time", "0", "-zero_time", "1", "--dry-run"}
            << "dry-run: ExitSession flags=12 (power off, force) -> org.freedesktop.login1.Manager.PowerOff "
               "interactive=false";
        // The dry suspend resumes by itself after a second; keep state is off.
        QTest::newRow("standby") << QStringList{"-auto", "-standby", "-time", "0", "-zero_time", "1", "--dry-run"}
                                 << "dry-run: Suspend hibernate=false force=false disableWake=false -> "
                                    "org.freedesktop.login1.Manager.Suspend interactive=true";
    }
    void dryRunMakesNoCall()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, line);
        const Finished f = run(args);
        QVERIFY2(f.finished && f.status == QProcess::NormalExit && f.exitCode == 0, qPrintable(describe(f)));
        QVERIFY2(f.out.contains(line + "\n"), qPrintable(describe(f)));
        QCOMPARE(f.out.count(line), 1);
        QStringList methods;
        for (const auto &c : m_mock.calls())
            methods << c.method;
        QCOMPARE(methods, QStringList());
    }

    void stopSignalDuringCountdownTakesNoAction_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void stopSignalDuringCountdownTakesNoAction()
    {
        QFETCH(int, signalNumber);
        QProcess p;
        start(p, {"-auto", "-reboot", "-time", "1"});
        QVERIFY(p.waitForStarted(10000));
        // Counting down once it prints.
        if (!p.waitForReadyRead(15000))
            QFAIL(qPrintable(describe(finish(p, 100))));
        QCOMPARE(p.state(), QProcess::Running);
        ::kill(pid_t(p.processId()), signalNumber);
        const Finished f = finish(p, 15000);
        QVERIFY2(f.finished && f.status == QProcess::NormalExit && f.exitCode == 0, qPrintable(describe(f)));
        QVERIFY(powerCalls().isEmpty());
    }

    void refusedRebootIsTriedOnceMore()
    {
        QVERIFY(m_mock.addManagerMethod(
            "Reboot", "b", "",
            "raise dbus.exceptions.DBusException('denied', name='org.freedesktop.DBus.Error.AccessDenied')"));
        const Finished f = run({"-auto", "-reboot", "-time", "0", "-zero_time", "1"});
        QVERIFY2(f.finished && f.status == QProcess::NormalExit, qPrintable(describe(f)));
        QCOMPARE(powerCalls(), (QStringList{"Reboot", "Reboot"}));
        QVERIFY2((f.out + f.err).contains(QStringLiteral("強制終了します。")), qPrintable(describe(f)));
    }

    void stopSignalDuringRetryWaitEndsWithoutSecondTry()
    {
        QVERIFY(m_mock.addManagerMethod(
            "Reboot", "b", "",
            "raise dbus.exceptions.DBusException('denied', name='org.freedesktop.DBus.Error.AccessDenied')"));
        QProcess p;
        start(p, {"-auto", "-reboot", "-time", "0", "-zero_time", "1"});
        QVERIFY(p.waitForStarted(10000));
        if (!waitForCall("Reboot", 1, 30000))
            QFAIL(qPrintable(describe(finish(p, 100))));
        p.terminate();
        const Finished f = finish(p, 15000);
        QVERIFY2(f.finished && f.status == QProcess::NormalExit && f.exitCode == 0, qPrintable(describe(f)));
        QCOMPARE(powerCalls(), QStringList{"Reboot"});
    }

    void slowRebootIsWaitedForAndNotRepeated()
    {
        // logind answers only after a polkit prompt: the request is waited
        // for, not taken for a refusal and sent a second time.
        QVERIFY(m_mock.addManagerMethod("Reboot", "b", "", "time.sleep(7)"));
        const Finished f = run({"-auto", "-reboot", "-time", "0", "-zero_time", "1"});
        QVERIFY2(f.finished && f.status == QProcess::NormalExit && f.exitCode == 0, qPrintable(describe(f)));
        QCOMPARE(powerCalls(), QStringList{"Reboot"});
        QVERIFY2(!(f.out + f.err).contains(QStringLiteral("強制終了します。")), qPrintable(describe(f)));
    }

    void stopSignalWhileRebootIsUnansweredTakesNoFurtherAction()
    {
        QVERIFY(m_mock.addManagerMethod(
            "Reboot", "b", "",
            "time.sleep(5); raise dbus.exceptions.DBusException('denied', name='org.freedesktop.DBus.Error.AccessDenied')"));
        QProcess p;
        start(p, {"-auto", "-reboot", "-time", "0", "-zero_time", "1"});
        QVERIFY(p.waitForStarted(10000));
        // The mock is busy answering: its log file tells that the call came.
        if (!LogindMock::waitFor([this] { return !m_mock.loggedCalls("Reboot").isEmpty(); }, 30000))
            QFAIL(qPrintable(describe(finish(p, 100))));
        p.terminate();
        const Finished f = finish(p, 30000);
        QVERIFY2(f.finished && f.status == QProcess::NormalExit && f.exitCode == 0, qPrintable(describe(f)));
        // The refusal came to nobody: no notice, no second request.
        QVERIFY2(!(f.out + f.err).contains(QStringLiteral("強制終了します。")), qPrintable(describe(f)));
        QCOMPARE(powerCalls(), QStringList{"Reboot"});
    }

    void missingLogindDoesNotHang()
    {
        m_mock.stopLogind();
        const Finished f = run({"-auto", "-reboot", "-time", "0", "-zero_time", "1"}, 90000);
        QVERIFY2(f.finished && f.status == QProcess::NormalExit, qPrintable(describe(f)));
        QVERIFY2((f.out + f.err).contains(QStringLiteral("強制終了します。")), qPrintable(describe(f)));
    }
};

QTEST_GUILESS_MAIN(TestE2ePower)
#include "tst_e2e_power.moc"
