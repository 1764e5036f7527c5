// The --dry-run backends: one "dry-run:" line per call, success, and a
// suspend that resumes one second later.
#include "platform/linux/dry_run_power.h"
#include "support/capture_stdout.h"

#include <QSignalSpy>
#include <QtTest>

#include <optional>

using zk::DryRunPower;
using zk::DryRunWakeTimer;
using zktest::CaptureStdout;

class TestDryRunPower : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void requestPrintsTheLogindCall_data()
    {
        QTest::addColumn<int>("how");  // a SessionEnd; -1 standby, -2 hibernation
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("line");
        QTest::newRow("reboot") << int(zk::SessionEnd::Reboot) << false
                                << "dry-run: ExitSession flags=2 (reboot) -> org.freedesktop.login1.Manager.Reboot "
                                   "interactive=true\n";
        QTest::newRow("forced power off") << int(zk::SessionEnd::PowerOff) << true
                                          << "dry-run: ExitSession flags=12 (power off, force) -> "
                                             "org.freedesktop.login1.Manager.PowerOff interactive=false\n";
        QTest::newRow("forced log off") << int(zk::SessionEnd::Logoff) << true
                                        << "dry-run: ExitSession flags=4 (log off, force) -> "
                                           "org.freedesktop.login1.Manager.TerminateSession (own session)\n";
        QTest::newRow("standby") << -1 << false
                                 << "dry-run: Suspend hibernate=false force=false disableWake=false -> "
                                    "org.freedesktop.login1.Manager.Suspend interactive=true\n";
        QTest::newRow("forced hibernate") << -2 << true
                                          << "dry-run: Suspend hibernate=true force=true disableWake=false -> "
                                             "org.freedesktop.login1.Manager.Hibernate interactive=false\n";
    }
    void requestPrintsTheLogindCall()
    {
        QFETCH(int, how);
        QFETCH(bool, force);
        QFETCH(QString, line);
        DryRunPower power([] { return true; });
        QSignalSpy resumed(&power, &zk::SessionPower::resumed);
        std::optional<bool> answer;
        const QByteArray out = CaptureStdout([&] {
            if (how < 0)
                power.suspend(how == -2, force, false, nullptr, [&](bool ok) { answer = ok; });
            else
                power.endSession(zk::SessionEnd(how), force, nullptr, [&](bool ok) { answer = ok; });
        });
        QCOMPARE(QString::fromUtf8(out), line);
        // Answered from the event loop, as logind would.
        QVERIFY(!answer);
        QTRY_COMPARE(answer, std::optional<bool>(true));
        // A suspend resumes one second later, not synchronously: the caller
        // gets to show its waiting state first.
        QCOMPARE(resumed.size(), 0);
        if (how < 0) {
            QVERIFY(resumed.wait(5000));
            QVERIFY(!resumed.wait(1500));
        }
    }

    void hibernationAllowedAsksTheQueryAndPrintsNothing()
    {
        for (const bool answer : {true, false}) {
            int asked = 0;
            DryRunPower power([&] {
                ++asked;
                return answer;
            });
            std::optional<bool> allowed;
            const QByteArray out = CaptureStdout([&] {
                power.queryHibernationAllowed(nullptr, [&](bool ok) { allowed = ok; });
                QTRY_VERIFY(allowed.has_value());
            });
            QCOMPARE(allowed, std::optional<bool>(answer));
            QCOMPARE(power.hibernationAllowedAtStartup(), answer);
            QCOMPARE(asked, 2);
            QVERIFY(out.isEmpty());
        }
    }

    void monitorAndKeepAwakeLines()
    {
        DryRunPower power([] { return true; });
        const QByteArray out = CaptureStdout([&] {
            power.setMonitorPower(true);
            power.setMonitorPower(false);
            power.setKeepAwake(true);
            power.setKeepAwake(true);  // renewed every second: not repeated
            power.setKeepAwake(true);
            power.setKeepAwake(false);
            power.setKeepAwake(false);
        });
        QCOMPARE(QString::fromUtf8(out), QStringLiteral("dry-run: MonitorPower on\n"
                                                        "dry-run: MonitorPower off\n"
                                                        "dry-run: KeepAwake on\n"
                                                        "dry-run: KeepAwake off\n"));
    }

    void wakeTimerPrintsArmAndCancel()
    {
        DryRunWakeTimer timer;
        QSignalSpy fired(&timer, &zk::WakeTimer::fired);
        int handle = 0;
        const QByteArray out = CaptureStdout([&] { handle = timer.arm(0); });
        const QRegularExpression line(QStringLiteral("^dry-run: ArmWakeTimer seconds=0 due=\\d{4}-\\d\\d-\\d\\dT\\d\\d:"
                                                     "\\d\\d:\\d\\d(Z|[+-]\\d\\d:\\d\\d) -> handle %1\\n$")
                                          .arg(handle));
        QVERIFY2(handle != 0 && line.match(QString::fromUtf8(out)).hasMatch(), out.constData());
        QVERIFY(fired.wait(5000));
        QCOMPARE(fired.at(0).at(0).toInt(), handle);

        // The printed due time is `seconds` from now, in whole seconds; cancelled, it does not fire.
        const QDateTime before = QDateTime::currentDateTime().addSecs(1);
        const QByteArray later = CaptureStdout([&] { timer.cancel(timer.arm(1)); });
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("seconds=1 due=(\\S+) -> handle (\\d+)\\n"
                                                                            "dry-run: CancelWakeTimer handle=\\2\\n$"))
                                              .match(QString::fromUtf8(later));
        QVERIFY2(m.hasMatch(), later.constData());
        const QDateTime due = QDateTime::fromString(m.captured(1), Qt::ISODate);
        QVERIFY(due >= before.addMSecs(-before.time().msec()) && due <= after);
        QVERIFY(!fired.wait(2000));
    }
};

QTEST_GUILESS_MAIN(TestDryRunPower)
#include "tst_dry_run_power.moc"
