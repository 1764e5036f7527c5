// End to end: the real zenkoro binary runs a multi schedule from its
// settings file against python3-dbusmock's logind on a private system bus,
// started by faketime at a chosen wall-clock time (monotonic time real, so
// that the timers run normally).
#include <QDateTime>
#include <QFile>
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


class TestE2eMulti : public QObject {
    Q_OBJECT

    LogindMock m_mock;
    QTemporaryDir m_home;
    QString m_faketime;

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
        if (!conf.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        conf.write((f.join(',') + ",\r\n").toUtf8());
        return true;
    }

    // zenkoro started at the fake local time `at` (faketime's library
    // preloaded, so that the process is zenkoro itself and gets the signals).
    void start(QProcess &p, const QString &at, QStringList args) const
    {
        args = QStringList{"--conf", m_home.path() + "/Conf.txt"} + args;
        QProcessEnvironment env = zktest::ZenkoroEnvironment(m_home.path(), m_mock.environment());
        env.insert("LC_ALL", "C.UTF-8");
        zktest::PreloadFaketime(env, m_faketime, at);
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("ZENKORO_BIN"), args);
    }

    QStringList powerCalls() const { return m_mock.powerCalls(); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QFile::exists(qEnvironmentVariable("ZENKORO_BIN")));
        m_faketime = zktest::FaketimeLibrary();
        QVERIFY2(!m_faketime.isEmpty(), "faketime is not installed (./zk installs it)");
        QVERIFY(m_home.isValid());
        QVERIFY2(m_mock.startBus(), qPrintable(m_mock.error()));
    }

    void init()
    {
        QVERIFY2(m_mock.startLogind(), qPrintable(m_mock.error()));
        QVERIFY(m_mock.clearCalls());
    }

    // Rows in reverse order: sleep at 22:59 waking at 23:00 with an
    // application, power off at 23:01. One Suspend, the application after
    // the wake time, one PowerOff, and the program ends.
    void sleepWakeShutdown()
    {
        const QString marker = m_home.path() + "/launched";
        QFile::remove(marker);
        QVERIFY(writeConf({{"23", "1", "シャットダウン", ""},
                           {"23", "0", "復帰", "/usr/bin/touch " + marker},
                           {"22", "59", "スリープ", ""}}));
        QProcess p;
        start(p, "2026-12-07 22:58:55", {"-auto"});
        QVERIFY(p.waitForStarted(10000));
        if (!LogindMock::waitFor([this] { return !m_mock.calls("Suspend").isEmpty(); }, 30000))
            QFAIL(qPrintable(Describe(zktest::Finish(p, 100))));
        QCOMPARE(powerCalls(), QStringList{"Suspend"});
        // The machine sleeps and comes back; the wake time has not come yet.
        QVERIFY(m_mock.emitPrepareForSleep(true));
        QVERIFY(m_mock.emitPrepareForSleep(false));
        QVERIFY(!p.waitForFinished(3000));
        QVERIFY(!QFile::exists(marker));
        // 23:00: the application starts; nothing else happens before 23:01.
        if (!LogindMock::waitFor([&] { return QFile::exists(marker); }, 80000))
            QFAIL(qPrintable(Describe(zktest::Finish(p, 100))));
        QCOMPARE(powerCalls(), QStringList{"Suspend"});
        const Result r = zktest::Finish(p, 90000);
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        QCOMPARE(powerCalls(), (QStringList{"Suspend", "PowerOff"}));
        // Each step printed its line as its countdown began, in time order.
        const qsizetype sleepLine = r.out.indexOf(QStringLiteral("連続指定 1/2: 12月07日 22時59分 スリープ 復帰 12月07日 23時00分"));
        const qsizetype offLine = r.out.indexOf(QStringLiteral("連続指定 2/2: 12月07日 23時01分 シャットダウン"));
        QVERIFY2(sleepLine >= 0 && offLine > sleepLine, qPrintable(Describe(r)));
        // The PowerOff came at 23:01 of the fake clock: about a minute after the wake time.
        const auto suspend = m_mock.loggedCalls("Suspend");
        const auto off = m_mock.loggedCalls("PowerOff");
        QVERIFY(!suspend.isEmpty() && !off.isEmpty());
        QVERIFY2(off[0].time - suspend[0].time > 115, qPrintable(QString::number(off[0].time - suspend[0].time)));
    }

    // SIGTERM acts as the stop button: during the wait nothing is performed.
    void stopDuringWaitPerformsNothing()
    {
        QVERIFY(writeConf({{"22", "59", "シャットダウン", ""}}));
        QProcess p;
        start(p, "2026-12-07 22:58:50", {"-auto"});
        QVERIFY(p.waitForStarted(10000));
        QVERIFY(LogindMock::waitFor([&] { return p.readAllStandardOutput().contains("連続指定 1/1"); }, 10000));
        ::kill(pid_t(p.processId()), SIGTERM);
        const Result r = zktest::Finish(p, 10000);
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        QVERIFY(powerCalls().isEmpty());
    }

    // The headless dry run of rows for the next two minutes: the suspend
    // with the wake time of the following 復帰 row, then the exit, in time
    // order, and status 0.
    void dryRunInTimeOrder()
    {
        // Equal times keep the list's order: the wake row, then the reboot.
        QVERIFY(writeConf({{"23", "0", "復帰", ""}, {"23", "0", "再起動", ""}, {"22", "59", "スリープ", ""}}));
        QProcess p;
        start(p, "2026-12-07 22:58:57", {"-auto", "--dry-run"});
        const Result r = zktest::Finish(p, 90000);
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        const qsizetype arm = r.out.indexOf(QStringLiteral("dry-run: ArmWakeTimer seconds=60 due=2026-12-07T23:00:00"));
        const qsizetype suspend = r.out.indexOf(QStringLiteral("dry-run: Suspend hibernate=false"));
        const qsizetype exit = r.out.indexOf(QStringLiteral("dry-run: ExitSession flags=2 (reboot)"));
        QVERIFY2(arm >= 0 && suspend > arm && exit > suspend, qPrintable(Describe(r)));
        QVERIFY(powerCalls().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestE2eMulti)
#include "tst_e2e_multi.moc"
