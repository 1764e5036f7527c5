// End to end: the real zenkoro binary, headless, performs its power action
// through a logind-shaped service (python3-dbusmock's logind template) on a
// private system bus, and only through it.
#include <QDateTime>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifndef Q_MOC_RUN
#include "support/logind_mock.h"
#include "support/run_zenkoro.h"
#endif

#include <csignal>

using zktest::Describe;
using zktest::LogindMock;
using zktest::Result;

namespace {

const QString kDenied = LogindMock::raising("org.freedesktop.DBus.Error.AccessDenied");
const QString kRetryNotice = QStringLiteral("強制終了します。");

}  // namespace

class TestE2ePower : public QObject {
    Q_OBJECT

    LogindMock m_mock;
    QTemporaryDir m_home;

    // A started zenkoro with the given arguments; its settings file is a
    // fresh, missing one, so the defaults apply.
    void start(QProcess &p, QStringList args) const
    {
        args.prepend(m_home.path() + "/Conf.txt");
        args.prepend("--conf");
        QProcessEnvironment env = zktest::ZenkoroEnvironment(m_home.path(), m_mock.environment());
        env.insert("LC_ALL", "C.UTF-8");
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("ZENKORO_BIN"), args);
    }

    Result run(const QStringList &args, int timeoutMs = 60000) const
    {
        QProcess p;
        start(p, args);
        return zktest::Finish(p, timeoutMs);
    }

    QStringList powerCalls() const { return m_mock.powerCalls(); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QFile::exists(qEnvironmentVariable("ZENKORO_BIN")));
        QVERIFY(m_home.isValid());
        QVERIFY2(m_mock.startBus(), qPrintable(m_mock.error()));
    }

    void init()
    {
        QVERIFY2(m_mock.startLogind(), qPrintable(m_mock.error()));
        QVERIFY(m_mock.clearCalls());
    }

    void actionReachesLogind_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("mockCode");  // the method's body in the mock; empty: the template's
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("interactive");
        QTest::addColumn<bool>("notice");  // the retry notice, for a refusal
        const QStringList reboot{"-reboot"};
        QTest::newRow("reboot") << reboot << "" << QStringList{"Reboot"} << true << false;
        QTest::newRow("forced shutdown: non-interactive power off")
            << QStringList{"-shutdown", "-force"} << "" << QStringList{"PowerOff"} << false << false;
        QTest::newRow("refused reboot is tried once more")
            << reboot << kDenied << QStringList{"Reboot", "Reboot"} << true << true;
        // logind answers only after a polkit prompt: the request is waited
        // for, not taken for a refusal and sent a second time.
        QTest::newRow("slow reboot is waited for") << reboot << "time.sleep(7)" << QStringList{"Reboot"} << true
                                                   << false;
    }
    void actionReachesLogind()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, mockCode);
        QFETCH(QStringList, calls);
        QFETCH(bool, interactive);
        QFETCH(bool, notice);
        if (!mockCode.isEmpty())
            QVERIFY(m_mock.addManagerMethod(calls[0], "b", "", mockCode));
        const double started = QDateTime::currentMSecsSinceEpoch() / 1000.0;
        const Result r = run(QStringList{"-auto"} + args + QStringList{"-time", "0", "-zero_time", "2"});
        QVERIFY2(r.exitCode >= 0, qPrintable(Describe(r)));
        if (!notice)
            QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        QCOMPARE(powerCalls(), calls);
        QCOMPARE(m_mock.calls(calls[0])[0].args, QVariantList{interactive});
        // Never early: the target is two seconds after the start.
        const auto logged = m_mock.loggedCalls(calls[0]);
        QVERIFY(!logged.isEmpty());
        QVERIFY2(logged[0].time - started >= 1.9,
                 qPrintable(QStringLiteral("%1 came %2 s after the start").arg(calls[0]).arg(logged[0].time - started)));
        QVERIFY2(!r.out.trimmed().isEmpty(), "a headless run prints its countdown");
        QVERIFY2((r.out + r.err).contains(kRetryNotice) == notice, qPrintable(Describe(r)));
    }

    void standbyWaitsForPrepareForSleepFalse()
    {
        QProcess p;
        start(p, {"-auto", "-standby", "-time", "0", "-zero_time", "1"});
        QVERIFY(p.waitForStarted(10000));
        if (!LogindMock::waitFor([this] { return !m_mock.calls("Suspend").isEmpty(); }, 30000))
            QFAIL(qPrintable(Describe(zktest::Finish(p, 100))));
        QCOMPARE(m_mock.calls("Suspend")[0].args, QVariantList{true});
        // Suspended: it waits for the machine to come back.
        QVERIFY(!p.waitForFinished(1000));
        QVERIFY(m_mock.emitPrepareForSleep(true));
        QVERIFY(!p.waitForFinished(1000));
        QVERIFY(m_mock.emitPrepareForSleep(false));
        // Keep state is off: back from the sleep, the program ends.
        const Result r = zktest::Finish(p, 30000);
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        QCOMPARE(powerCalls(), QStringList{"Suspend"});
    }

    // Hibernation asked for by -hibernation, or held by a settings file (where
    // it goes through the operation list's check as a choice from the list
    // would: refused, it keeps the operation selected before the file was read).
    void hibernationFollowsCanHibernate_data()
    {
        QTest::addColumn<bool>("fromFile");
        QTest::addColumn<QString>("canHibernate");
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("messages");  // -1: not looked at
        QTest::newRow("option, disabled: reboot stays") << false << "no" << 1 << -1;
        QTest::newRow("file, disabled: the default stays") << true << "no" << 0 << 1;
        QTest::newRow("file, allowed: hibernation") << true << "yes" << 3 << 0;
    }
    void hibernationFollowsCanHibernate()
    {
        QFETCH(bool, fromFile);
        QFETCH(QString, canHibernate);
        QFETCH(int, operation);
        QFETCH(int, messages);
        QVERIFY2(m_mock.startLogind(QJsonObject{{"CanHibernate", canHibernate}}), qPrintable(m_mock.error()));
        QFile conf(m_home.path() + "/Conf.txt");
        if (fromFile) {
            QVERIFY(conf.open(QIODevice::WriteOnly));
            conf.write("-1,-1,3,\r\n");
            conf.close();
        }
        const Result r = run(fromFile ? QStringList{"--explain"} : QStringList{"--explain", "-reboot", "-hibernation"});
        QVERIFY(!fromFile || conf.remove());
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        QCOMPARE(r.json.value("Operation").toInt(-1), operation);
        if (messages >= 0)
            QCOMPARE(r.err.count(QStringLiteral(
                         "無効: 「休止」は無効となっています。\n[電源のオプション]から「休止」を有効にして下さい。")),
                     messages);
        // The answer came from logind, and asking was all that happened.
        QVERIFY(!m_mock.calls("CanHibernate").isEmpty());
        QVERIFY(powerCalls().isEmpty());
    }

    // With --dry-run the program prints the request (the lines themselves
    // are the dry backend's own test) and logind hears nothing.
    void dryRunMakesNoCall()
    {
        const Result r = run({"-auto", "-reboot", "-time", "0", "-zero_time", "1", "--dry-run"});
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        QVERIFY2(r.out.startsWith("dry-run: ") || r.out.contains("\ndry-run: "), qPrintable(Describe(r)));
        QCOMPARE(r.out.count("org.freedesktop.login1.Manager.Reboot"), 1);
        QCOMPARE(m_mock.calls().size(), 0);
    }

    // A stop signal during the countdown, while a refused reboot waits for
    // its retry, or while logind has not answered yet: the program ends
    // without a further request.
    void stopSignalTakesNoFurtherAction_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<QString>("mockCode");  // empty: stopped during the countdown
        QTest::newRow("SIGTERM during the countdown") << int(SIGTERM) << "";
        QTest::newRow("SIGINT during the countdown") << int(SIGINT) << "";
        QTest::newRow("SIGTERM before the retry") << int(SIGTERM) << kDenied;
        QTest::newRow("SIGTERM while unanswered") << int(SIGTERM) << "time.sleep(5); " + kDenied;
    }
    void stopSignalTakesNoFurtherAction()
    {
        QFETCH(int, signalNumber);
        QFETCH(QString, mockCode);
        const bool duringCountdown = mockCode.isEmpty();
        if (!duringCountdown)
            QVERIFY(m_mock.addManagerMethod("Reboot", "b", "", mockCode));
        QProcess p;
        start(p, duringCountdown ? QStringList{"-auto", "-reboot", "-time", "1"}
                                 : QStringList{"-auto", "-reboot", "-time", "0", "-zero_time", "1"});
        QVERIFY(p.waitForStarted(10000));
        // Counting down once it prints; the mock's log file tells that the
        // call came even while the mock is busy answering.
        const bool ready = duringCountdown
                               ? p.waitForReadyRead(15000)
                               : LogindMock::waitFor([this] { return !m_mock.loggedCalls("Reboot").isEmpty(); }, 30000);
        if (!ready)
            QFAIL(qPrintable(Describe(zktest::Finish(p, 100))));
        QCOMPARE(p.state(), QProcess::Running);
        ::kill(pid_t(p.processId()), signalNumber);
        const Result r = zktest::Finish(p, 30000);
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        QCOMPARE(powerCalls(), duringCountdown ? QStringList() : QStringList{"Reboot"});
        // A refusal that comes after the stop reaches nobody: no notice.
        if (mockCode.startsWith("time.sleep"))
            QVERIFY2(!(r.out + r.err).contains(kRetryNotice), qPrintable(Describe(r)));
    }

    void missingLogindDoesNotHang()
    {
        m_mock.stopLogind();
        const Result r = run({"-auto", "-reboot", "-time", "0", "-zero_time", "1"}, 90000);
        QVERIFY2(r.exitCode >= 0, qPrintable(Describe(r)));
        QVERIFY2((r.out + r.err).contains(kRetryNotice), qPrintable(Describe(r)));
    }
};

QTEST_GUILESS_MAIN(TestE2ePower)
#include "tst_e2e_power.moc"
