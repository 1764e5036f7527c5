// End to end: the real zenkoro binary, headless, performs its power action
// through a logind-shaped service (python3-dbusmock's logind template) on a
// private system bus, and only through it; it watches the battery through the
// upower template there, and runs a multi schedule started by faketime at a
// chosen wall-clock time (monotonic time real, so that the timers run normally).
#include <QDateTime>
#include <QFile>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifndef Q_MOC_RUN
#include "support/logind_mock.h"
#include "support/run_zenkoro.h"
#include "support/upower_mock.h"
#endif

#include <csignal>

using zktest::Describe;
using zktest::LogindMock;
using zktest::Result;

class TestE2ePower : public QObject {
    Q_OBJECT

    LogindMock m_mock;
    QTemporaryDir m_home;

    // A started zenkoro with the given arguments, at the fake local time `at`
    // when given; its settings file is a missing one unless a test writes it.
    void start(QProcess &p, const QStringList &args, const QString &at = {}) const
    {
        QProcessEnvironment env = zktest::ZenkoroEnvironment(m_home.path(), m_mock.environment());
        env.insert("LC_ALL", "C.UTF-8");
        env.insert("XDG_SESSION_ID", "c1");  // the session that the battery run adds to the mock
        if (!at.isEmpty())
            zktest::PreloadFaketime(env, zktest::FaketimeLibrary(), at);
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("ZENKORO_BIN"), QStringList{"--conf", m_home.path() + "/Conf.txt"} + args);
    }

    Result run(const QStringList &args) const
    {
        QProcess p;
        start(p, args);
        return zktest::Finish(p, 90000);
    }

    // A settings file with these multi rows ({hour, minute, operation, application} each).
    bool writeConf(const QList<QStringList> &rows) const
    {
        QStringList f(310);
        f[9] = "1";   // MultiEnabled
        f[41] = "1";  // ResumeKeepState: the schedule goes on after a wake-up
        for (int r = 0; r < rows.size(); ++r)
            for (int k = 0; k < 4; ++k)
                f[109 + 10 * r + k] = rows[r].value(k);
        QFile conf(m_home.path() + "/Conf.txt");
        return conf.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               conf.write((f.join(',') + ",\r\n").toUtf8()) > 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QFile::exists(qEnvironmentVariable("ZENKORO_BIN")));
        QVERIFY2(!zktest::FaketimeLibrary().isEmpty(), "faketime is not installed (./zk installs it)");
        QVERIFY(m_home.isValid());
        QVERIFY2(m_mock.startBus(), qPrintable(m_mock.error()));
    }

    void init()
    {
        QVERIFY2(m_mock.startLogind(), qPrintable(m_mock.error()));
    }

    void actionReachesLogind_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("mockCode");  // the method's body in the mock; empty: the template's
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("notice");  // the retry notice, for a refusal
        const QStringList reboot{"-reboot"};
        QTest::newRow("reboot") << reboot << "" << QStringList{"Reboot"} << false;
        QTest::newRow("forced shutdown: non-interactive power off")
            << QStringList{"-shutdown", "-force"} << "" << QStringList{"PowerOff"} << false;
        const QString denied = LogindMock::raising("org.freedesktop.DBus.Error.AccessDenied");
        QTest::newRow("refused reboot is tried again") << reboot << denied << QStringList{"Reboot", "Reboot"} << true;
    }
    void actionReachesLogind()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, mockCode);
        QFETCH(QStringList, calls);
        QFETCH(bool, notice);
        if (!mockCode.isEmpty())
            QVERIFY(m_mock.addManagerMethod(calls[0], "b", "", mockCode));
        const double started = QDateTime::currentMSecsSinceEpoch() / 1000.0;
        const Result r = run(QStringList{"-auto"} + args + QStringList{"-time", "0", "-zero_time", "2"});
        QVERIFY2(notice ? r.exitCode >= 0 : r.exitCode == 0, qPrintable(Describe(r)));
        QCOMPARE(m_mock.powerCalls(), calls);
        QCOMPARE(m_mock.calls(calls[0])[0].args, QVariantList{!args.contains("-force")});
        // Never early: the target is two seconds after the start.
        const double delay = m_mock.loggedCalls(calls[0]).value(0).time - started;
        QVERIFY2(delay >= 1.9, qPrintable(QStringLiteral("%1 came %2 s after the start").arg(calls[0]).arg(delay)));
        QVERIFY2((r.out + r.err).contains("強制終了します。") == notice, qPrintable(Describe(r)));
    }

    // Hibernation asked for by -hibernation, or held by a settings file (where
    // it goes through the operation list's check as a choice from the list
    // would: refused, it keeps the operation selected before the file was read).
    void hibernationFollowsCanHibernate_data()
    {
        QTest::addColumn<bool>("fromFile");
        QTest::addColumn<QString>("canHibernate");
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("message");  // the refusal on standard error
        QTest::newRow("option, disabled: reboot stays") << false << "no" << 1 << false;
        QTest::newRow("file, disabled: the default stays") << true << "no" << 0 << true;
    }
    void hibernationFollowsCanHibernate()
    {
        QFETCH(bool, fromFile);
        QFETCH(QString, canHibernate);
        QFETCH(int, operation);
        QFETCH(bool, message);
        QVERIFY2(m_mock.startLogind(QJsonObject{{"CanHibernate", canHibernate}}), qPrintable(m_mock.error()));
        QFile conf(m_home.path() + "/Conf.txt");
        QVERIFY(!fromFile || (conf.open(QIODevice::WriteOnly) && conf.write("-1,-1,3,\r\n") > 0));
        conf.close();
        const Result r = run(fromFile ? QStringList{"--explain"} : QStringList{"--explain", "-reboot", "-hibernation"});
        QVERIFY(!fromFile || conf.remove());
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        QCOMPARE(r.json.value("Operation").toInt(-1), operation);
        QCOMPARE(r.err.contains("無効: 「休止」は無効となっています。\n[電源のオプション]から「休止」を有効にして下さい。"), message);
        // The answer came from logind.
        QVERIFY(!m_mock.calls("CanHibernate").isEmpty());
    }

    // A stop signal during the countdown: the program ends without a request.
    void stopSignalTakesNoAction()
    {
        for (const int signalNumber : {SIGTERM, SIGINT}) {
            QProcess p;
            start(p, {"-auto", "-reboot", "-time", "1"});
            // Counting down once it prints.
            if (!p.waitForReadyRead(15000))
                QFAIL(qPrintable(Describe(zktest::Finish(p, 100))));
            ::kill(pid_t(p.processId()), signalNumber);
            const Result r = zktest::Finish(p, 30000);
            QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        }
        QVERIFY(m_mock.powerCalls().isEmpty());
    }

    // On battery (UPower) and idle (the session's idle hint in logind) a dry
    // run acts, and logind hears nothing.
    void onBatteryAndIdleActs()
    {
        QVERIFY(m_mock.addSession("c1"));
        QVERIFY(m_mock.setSessionIdleFor("c1", 600));
        zktest::UPowerMock upower(m_mock);
        QVERIFY2(upower.start({{"OnBattery", true}}), qPrintable(upower.error()));
        QVERIFY(upower.setDisplay(true, 2, 40.0, 1800));
        const Result r = run({"--dry-run", "-auto", "-shutdown", "-battery", "30"});
        QVERIFY2(r.exitCode == 0 && r.out.contains("dry-run: ExitSession flags=8 (power off)"),
                 qPrintable(Describe(r)));
        QCOMPARE(m_mock.powerCalls(), QStringList());
    }

    // Multi rows in reverse order: sleep at 22:59 waking at 23:00 with an
    // application, power off at 23:01. One Suspend, the application after
    // the wake time, one PowerOff, and the program ends.
    void multiSleepWakeShutdown()
    {
        const QString marker = m_home.path() + "/launched";
        QVERIFY(writeConf({{"23", "1", "シャットダウン", ""},
                           {"23", "0", "復帰", "/usr/bin/touch " + marker},
                           {"22", "59", "スリープ", ""}}));
        const auto removeConf = qScopeGuard([this] { QFile::remove(m_home.path() + "/Conf.txt"); });
        QProcess p;
        start(p, {"-auto"}, "2026-12-07 22:58:55");
        if (!LogindMock::waitFor([this] { return !m_mock.calls("Suspend").isEmpty(); }, 30000))
            QFAIL(qPrintable(Describe(zktest::Finish(p, 100))));
        QCOMPARE(m_mock.powerCalls(), QStringList{"Suspend"});
        // The machine sleeps and comes back; the wake time has not come yet.
        QVERIFY(m_mock.emitPrepareForSleep(true));
        QVERIFY(m_mock.emitPrepareForSleep(false));
        QVERIFY(!p.waitForFinished(3000));
        QVERIFY(!QFile::exists(marker));
        // 23:00: the application starts; nothing else happens before 23:01.
        if (!LogindMock::waitFor([&] { return QFile::exists(marker); }, 80000))
            QFAIL(qPrintable(Describe(zktest::Finish(p, 100))));
        QCOMPARE(m_mock.powerCalls(), QStringList{"Suspend"});
        const Result r = zktest::Finish(p, 90000);
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        QCOMPARE(m_mock.powerCalls(), (QStringList{"Suspend", "PowerOff"}));
        // Each step printed its line as its countdown began, in time order.
        const qsizetype sleepLine = r.out.indexOf(QStringLiteral("連続指定 1/2: 12月07日 22時59分 スリープ 復帰 12月07日 23時00分"));
        const qsizetype offLine = r.out.indexOf(QStringLiteral("連続指定 2/2: 12月07日 23時01分 シャットダウン"));
        QVERIFY2(sleepLine >= 0 && offLine > sleepLine, qPrintable(Describe(r)));
        // The PowerOff came at 23:01 of the fake clock: about a minute after the wake time.
        const double gap = m_mock.loggedCalls("PowerOff").value(0).time - m_mock.loggedCalls("Suspend").value(0).time;
        QVERIFY2(gap > 115, qPrintable(QString::number(gap)));
    }
};

QTEST_GUILESS_MAIN(TestE2ePower)
#include "tst_e2e_power.moc"
