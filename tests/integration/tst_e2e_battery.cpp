// End to end: the real zenkoro binary, headless, watches the battery through
// python3-dbusmock's upower template and the idle time through the logind
// template's session hint, both on a private system bus, with --dry-run.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifndef Q_MOC_RUN
#include "support/logind_mock.h"
#include "support/run_zenkoro.h"
#include "support/upower_mock.h"
#endif

using zktest::Describe;
using zktest::LogindMock;
using zktest::Result;
using zktest::UPowerMock;

class TestE2eBattery : public QObject {
    Q_OBJECT

    LogindMock m_bus;
    std::unique_ptr<UPowerMock> m_upower;
    QTemporaryDir m_home;

    void start(QProcess &p, const QStringList &args) const
    {
        QProcessEnvironment env = zktest::ZenkoroEnvironment(m_home.path(), m_bus.environment());
        env.insert("LC_ALL", "C.UTF-8");
        env.insert("XDG_SESSION_ID", "c1");  // the mock's session with the idle hint
        p.setProcessEnvironment(env);
        p.start(qEnvironmentVariable("ZENKORO_BIN"),
                QStringList{"--conf", m_home.path() + "/Conf.txt", "--dry-run", "-auto", "-shutdown"} + args);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_bus.startBus() && m_bus.startLogind(), qPrintable(m_bus.error()));
        QVERIFY(m_bus.addSession("c1"));
        // Nobody has touched the session for ten minutes.
        QVERIFY(m_bus.setSessionIdleFor("c1", 600));
        m_upower = std::make_unique<UPowerMock>(m_bus);
    }

    void onBatteryAndIdleFires()
    {
        QVERIFY2(m_upower->start({{"OnBattery", true}}), qPrintable(m_upower->error()));
        QVERIFY(m_upower->setDisplay(true, 2, 40.0, 1800));
        QProcess p;
        start(p, {"-battery", "30"});
        const Result r = zktest::Finish(p, 90000);
        QVERIFY2(r.exitCode == 0 && r.out.contains("dry-run: ExitSession flags=8 (power off)"),
                 qPrintable(Describe(r)));
        QCOMPARE(m_bus.powerCalls(), QStringList());
    }

    void onMainsNeverFires()
    {
        QVERIFY2(m_upower->start({{"OnBattery", false}}), qPrintable(m_upower->error()));
        QVERIFY(m_upower->setDisplay(true, 1, 40.0, 0));
        QProcess p;
        start(p, {"-battery", "0"});
        // It asked UPower for the line...
        QVERIFY2(LogindMock::waitFor([this] { return m_upower->log().contains("GetAll /org/freedesktop/UPower "); },
                                     30000),
                 qPrintable(m_upower->log()));
        // ... and was still counting down, without an action, long after a
        // run on battery would have acted (one step and the 15 s warning).
        QVERIFY(!p.waitForFinished(25000));
        p.terminate();
        const Result r = zktest::Finish(p, 30000);
        QVERIFY2(r.exitCode == 0 && !r.out.contains("dry-run:"), qPrintable(Describe(r)));
    }
};

QTEST_GUILESS_MAIN(TestE2eBattery)
#include "tst_e2e_battery.moc"
