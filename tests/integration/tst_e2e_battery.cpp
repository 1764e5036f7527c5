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

#include <csignal>

using zktest::Describe;
using zktest::LogindMock;
using zktest::Result;
using zktest::UPowerMock;

namespace {

// The battery run fires after one step and the 15 s warning phase; the
// mains run is watched for longer than that.
constexpr int kMainsSpanMs = 25000;

}  // namespace

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
        QVERIFY(QFile::exists(qEnvironmentVariable("ZENKORO_BIN")));
        QVERIFY(m_home.isValid());
        QVERIFY2(m_bus.startBus(), qPrintable(m_bus.error()));
        QVERIFY2(m_bus.startLogind(), qPrintable(m_bus.error()));
        const QString error = m_bus.addSession("c1");
        QVERIFY2(error.isEmpty(), qPrintable(error));
        // Nobody has touched the session for ten minutes.
        QVERIFY(m_bus.setSessionIdleFor("c1", 600));
        m_upower = std::make_unique<UPowerMock>(m_bus);
    }

    void cleanup() { m_upower->stop(); }

    void onBatteryAndIdleFires()
    {
        QVERIFY2(m_upower->start({{"OnBattery", true}}), qPrintable(m_upower->error()));
        QVERIFY(m_upower->setDisplay(true, 2, 40.0, 1800));
        QProcess p;
        start(p, {"-battery", "30"});
        const Result r = zktest::Finish(p, 90000);
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        QVERIFY2(r.out.contains("dry-run: ExitSession flags=8 (power off) -> org.freedesktop.login1.Manager.PowerOff "
                                "interactive=true\n"),
                 qPrintable(Describe(r)));
        QStringList methods;
        for (const auto &c : m_bus.calls())
            methods << c.method;
        QVERIFY2(!methods.contains("PowerOff"), qPrintable(methods.join(' ')));
    }

    void onMainsNeverFires()
    {
        QVERIFY2(m_upower->start({{"OnBattery", false}}), qPrintable(m_upower->error()));
        QVERIFY(m_upower->setDisplay(true, 1, 40.0, 0));
        QProcess p;
        start(p, {"-battery", "0"});
        QVERIFY(p.waitForStarted(10000));
        // It asked UPower for the line...
        QVERIFY2(LogindMock::waitFor([this] { return m_upower->log().contains("GetAll /org/freedesktop/UPower "); },
                                     30000),
                 qPrintable(m_upower->log()));
        // ... and was still counting down, without an action, long after a
        // run on battery would have acted.
        QVERIFY(!p.waitForFinished(kMainsSpanMs));
        ::kill(pid_t(p.processId()), SIGTERM);
        const Result r = zktest::Finish(p, 30000);
        QVERIFY2(r.exitCode == 0, qPrintable(Describe(r)));
        QVERIFY2(!r.out.contains("dry-run:"), qPrintable(Describe(r)));
    }
};

QTEST_GUILESS_MAIN(TestE2eBattery)
#include "tst_e2e_battery.moc"
