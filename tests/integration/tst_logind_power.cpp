// LogindPower against a logind-shaped service: python3-dbusmock's logind
// template on a private system bus.
#include "app/backends.h"
#include "platform/linux/logind_power.h"
#include "platform/linux/x11_dpms.h"
#ifndef Q_MOC_RUN
#include "support/capture_stdout.h"
#include "support/logind_mock.h"
#endif

#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

#include <unistd.h>

using zk::LogindPower;
using zk::SessionPower;
using zktest::LogindMock;

namespace {

// The answer of one asynchronous power call, waited for with the event loop
// running; nullopt when none came within ms.
std::optional<bool> AnswerOf(const std::function<void(QObject *, SessionPower::Answer)> &call, int ms = 20000)
{
    std::optional<bool> answer;
    QObject context;  // a late answer after giving up is not delivered
    call(&context, [&answer](bool ok) { answer = ok; });
    if (!QTest::qWaitFor([&] { return answer.has_value(); }, ms))
        return std::nullopt;
    return answer;
}

std::optional<bool> ExitAnswer(SessionPower &power, zk::SessionEnd how, bool force = false)
{
    return AnswerOf([&](QObject *c, SessionPower::Answer done) { power.endSession(how, force, c, std::move(done)); });
}

std::optional<bool> SuspendAnswer(SessionPower &power, bool hibernate, bool force)
{
    return AnswerOf(
        [&](QObject *c, SessionPower::Answer done) { power.suspend(hibernate, force, false, c, std::move(done)); });
}

std::optional<bool> HibernationAnswer(SessionPower &power)
{
    return AnswerOf([&](QObject *c, SessionPower::Answer done) { power.queryHibernationAllowed(c, std::move(done)); });
}

const std::optional<bool> kYes(true);
const std::optional<bool> kNo(false);

}  // namespace

class TestLogindPower : public QObject {
    Q_OBJECT

    LogindMock m_mock;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_mock.startBus(), qPrintable(m_mock.error()));
        // Before anything touches QDBusConnection::systemBus().
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_mock.busAddress().toUtf8());
    }

    void init()
    {
        // Each case starts with a fresh mock: no methods replaced, no calls.
        QVERIFY2(m_mock.startLogind(), qPrintable(m_mock.error()));
    }

    // Each request is one call of its logind method, interactive unless forced;
    // a suspend resumes on the PrepareForSleep(false) that follows it, once.
    void requestCallsLogind_data()
    {
        QTest::addColumn<int>("how");  // a SessionEnd; -1 standby, -2 hibernation
        QTest::addColumn<bool>("force");
        QTest::addColumn<QString>("method");
        QTest::newRow("power off") << int(zk::SessionEnd::PowerOff) << false << "PowerOff";
        QTest::newRow("forced reboot") << int(zk::SessionEnd::Reboot) << true << "Reboot";
        QTest::newRow("standby") << -1 << false << "Suspend";
        QTest::newRow("forced hibernate") << -2 << true << "Hibernate";
    }
    void requestCallsLogind()
    {
        QFETCH(int, how);
        QFETCH(bool, force);
        QFETCH(QString, method);
        LogindPower power;
        QSignalSpy resumed(&power, &zk::SessionPower::resumed);
        const auto answer =
            how < 0 ? SuspendAnswer(power, how == -2, force) : ExitAnswer(power, zk::SessionEnd(how), force);
        QVERIFY2(answer == kYes, qPrintable(power.lastError()));
        QCOMPARE(m_mock.powerCalls(), QStringList{method});
        QCOMPARE(m_mock.calls(method)[0].args, QVariantList{!force});
        if (how >= 0)
            return;
        // Going to sleep is not the end of it.
        QVERIFY(m_mock.emitPrepareForSleep(true));
        QVERIFY(!resumed.wait(500));
        QVERIFY(m_mock.emitPrepareForSleep(false));
        QVERIFY(resumed.wait(5000));
        // A later sleep of someone else's does not resume this one again.
        QVERIFY(m_mock.emitPrepareForSleep(false));
        QVERIFY(!resumed.wait(500));
    }

    // Log off ends this process's session: the one logind names for its pid,
    // else the id from the session path (real logind escapes "7" as "_37")
    // when the session object cannot be read, else XDG_SESSION_ID.
    void logoffTerminatesOwnSession_data()
    {
        QTest::addColumn<QString>("lookup");  // GetSessionByPID's body in the mock
        QTest::addColumn<QByteArray>("xdgSessionId");
        QTest::addColumn<QString>("session");  // TerminateSession's argument; empty: no call, a refusal
        const QString none = LogindMock::raising("org.freedesktop.login1.NoSessionForPID");
        const QString path = "ret = '/org/freedesktop/login1/session/";
        QTest::newRow("own session") << path + "c7'" << QByteArray() << "c7";
        QTest::newRow("unreadable, escaped path") << path + "_37'" << QByteArray() << "7";
        QTest::newRow("XDG_SESSION_ID names one") << none << QByteArray("42") << "42";
        QTest::newRow("no session at all") << none << QByteArray() << "";
    }
    void logoffTerminatesOwnSession()
    {
        QFETCH(QString, lookup);
        QFETCH(QByteArray, xdgSessionId);
        QFETCH(QString, session);
        QVERIFY(m_mock.addSession("c7"));
        QVERIFY(m_mock.addManagerMethod("GetSessionByPID", "u", "o", lookup));
        const std::optional<QByteArray> saved =
            qEnvironmentVariableIsSet("XDG_SESSION_ID") ? std::optional(qgetenv("XDG_SESSION_ID")) : std::nullopt;
        const auto restore = qScopeGuard([&] { saved ? qputenv("XDG_SESSION_ID", *saved) : qunsetenv("XDG_SESSION_ID"); });
        xdgSessionId.isEmpty() ? qunsetenv("XDG_SESSION_ID") : qputenv("XDG_SESSION_ID", xdgSessionId);
        LogindPower power;
        QCOMPARE(ExitAnswer(power, zk::SessionEnd::Logoff, true), std::optional<bool>(!session.isEmpty()));
        QCOMPARE(m_mock.calls("GetSessionByPID").value(0).args, QVariantList{quint32(::getpid())});
        QCOMPARE(m_mock.powerCalls(), session.isEmpty() ? QStringList() : QStringList{"TerminateSession"});
        if (!session.isEmpty())
            QCOMPARE(m_mock.calls("TerminateSession")[0].args, QVariantList{session});
    }

    // Refused by logind, or with no logind at all: every request is a
    // refusal, and nothing resumes.
    void refusalIsFalseAndNeverResumes()
    {
        const QString denied = LogindMock::raising("org.freedesktop.DBus.Error.AccessDenied");
        QVERIFY(m_mock.addManagerMethod("Reboot", "b", "", denied));
        QVERIFY(m_mock.addManagerMethod("Suspend", "b", "", denied));
        LogindPower power;
        QSignalSpy resumed(&power, &zk::SessionPower::resumed);
        QCOMPARE(ExitAnswer(power, zk::SessionEnd::Reboot), kNo);
        QVERIFY(power.lastError().contains("AccessDenied"));
        QCOMPARE(SuspendAnswer(power, false, false), kNo);
        QCOMPARE(m_mock.powerCalls(), (QStringList{"Reboot", "Suspend"}));
        QVERIFY(m_mock.emitPrepareForSleep(false));
        QVERIFY(!resumed.wait(500));

        m_mock.stopLogind();
        QCOMPARE(ExitAnswer(power, zk::SessionEnd::Logoff), kNo);
        QCOMPARE(SuspendAnswer(power, true, true), kNo);
        QCOMPARE(HibernationAnswer(power), kNo);
        QVERIFY(!power.hibernationAllowedAtStartup());
        power.setKeepAwake(true);
        QTRY_COMPARE(power.pendingCalls(), 0);
        QVERIFY(!power.keepsAwake());
        QCOMPARE(resumed.size(), 0);
    }

    void hibernationAllowedOnlyOnYes()
    {
        for (const bool allowed : {true, false}) {
            const QString answer = allowed ? "yes" : "challenge";
            QVERIFY2(m_mock.startLogind(QJsonObject{{"CanHibernate", answer}}), qPrintable(m_mock.error()));
            LogindPower power;
            QCOMPARE(HibernationAnswer(power), std::optional<bool>(allowed));
            // Before the window exists the same question is answered at once.
            QCOMPARE(power.hibernationAllowedAtStartup(), allowed);
            QCOMPARE(m_mock.calls("CanHibernate").size(), 2);
            // Asking is all it does.
            QVERIFY(m_mock.powerCalls().isEmpty());
        }
    }

    void keepAwakeHoldsOneInhibitLock()
    {
        {
            LogindPower power;
            power.setKeepAwake(true);
            // The keep-awake phase renews the request every second: one lock
            // only, also while the first request is under way.
            power.setKeepAwake(true);
            QTRY_VERIFY(power.keepsAwake());
            power.setKeepAwake(true);
            QCOMPARE(m_mock.calls("Inhibit").size(), 1);
            QCOMPARE(m_mock.calls("Inhibit")[0].args,
                     (QVariantList{"idle:sleep", "Zenkoro", QString::fromUtf8("復帰状態維持"), "block"}));
            QCOMPARE(m_mock.inhibitorCount(), 1);

            power.setKeepAwake(false);
            QVERIFY(!power.keepsAwake());
            // logind drops the inhibitor when the last copy of its descriptor closes.
            QVERIFY(LogindMock::waitFor([this] { return m_mock.inhibitorCount() == 0; }, 5000));
            // Taken again, the lock ends with the object.
            power.setKeepAwake(true);
            QTRY_VERIFY(power.keepsAwake());
            QCOMPARE(m_mock.inhibitorCount(), 1);
        }
        QVERIFY(LogindMock::waitFor([this] { return m_mock.inhibitorCount() == 0; }, 5000));
    }

    void dryRunOnlyReadsFromLogind()
    {
        QVERIFY2(m_mock.startLogind(QJsonObject{{"CanHibernate", "no"}}), qPrintable(m_mock.error()));
        // The power backend of a dry run, as the program makes it.
        const std::unique_ptr<SessionPower> power = zk::MakeSessionPower(true);
        QCOMPARE(HibernationAnswer(*power), kNo);
        QVERIFY(!power->hibernationAllowedAtStartup());
        const QByteArray out = zktest::CaptureStdout([&] {
            ExitAnswer(*power, zk::SessionEnd::Reboot);
            ExitAnswer(*power, zk::SessionEnd::Logoff, true);
            SuspendAnswer(*power, true, false);
            power->setKeepAwake(true);
            power->setMonitorPower(false);
        });
        QCOMPARE(out.count("dry-run: "), 5);
        // The machine's power state is never touched: the only call is the question.
        QCOMPARE(m_mock.calls().size(), m_mock.calls("CanHibernate").size());
        QCOMPARE(m_mock.inhibitorCount(), 0);
    }

    // logind answers after a polkit prompt, later than a blocking call would
    // wait: the call does not block, the answer comes through the event loop,
    // and none reaches an asker that is gone; one later than the call timeout
    // is a refusal.
    void lateAnswers()
    {
        QVERIFY(m_mock.addManagerMethod("Reboot", "b", "", "time.sleep(7)"));
        QVERIFY(m_mock.addManagerMethod("PowerOff", "b", "", "time.sleep(2)"));
        LogindPower power;
        std::optional<bool> answer;
        int toTheGone = 0;
        QObject context;
        power.endSession(zk::SessionEnd::Reboot, false, &context, [&](bool ok) { answer = ok; });
        {
            QObject gone;
            power.endSession(zk::SessionEnd::PowerOff, false, &gone, [&toTheGone](bool) { ++toTheGone; });
            QCOMPARE(power.pendingCalls(), 2);
        }
        QVERIFY(!answer);
        QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), 60000);
        QVERIFY2(*answer, qPrintable(power.lastError()));
        QTRY_COMPARE_WITH_TIMEOUT(power.pendingCalls(), 0, 20000);
        QCOMPARE(toTheGone, 0);
        QCOMPARE(m_mock.powerCalls(), (QStringList{"Reboot", "PowerOff"}));
        power.setCallTimeout(1000);
        QCOMPARE(ExitAnswer(power, zk::SessionEnd::Reboot), kNo);
        QVERIFY2(power.lastError().contains("NoReply") || power.lastError().contains("Timeout")
                     || power.lastError().contains("no reply"),
                 qPrintable(power.lastError()));
        m_mock.stopLogind();  // do not leave the mock busy for the next case
    }

    // DPMS on an X server; without one nothing happens, and logind hears nothing either way.
    void monitorPower()
    {
        const QByteArray saved = qgetenv("DISPLAY");
        const auto restore = qScopeGuard([&] { saved.isEmpty() ? qunsetenv("DISPLAY") : qputenv("DISPLAY", saved); });
        qunsetenv("DISPLAY");
        QVERIFY(!zk::ForceMonitorPower(false));
        QCOMPARE(zk::MonitorPowerLevel(), -1);
        LogindPower power;
        power.setMonitorPower(false);
        power.setMonitorPower(true);
        QVERIFY(m_mock.calls().isEmpty());

        QProcess xvfb;
        xvfb.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp"});
        if (!xvfb.waitForStarted(5000))
            QSKIP("Xvfb is not installed");
        QByteArray number;
        while (!number.contains('\n') && xvfb.waitForReadyRead(10000))
            number += xvfb.readAllStandardOutput();
        QVERIFY2(!number.trimmed().isEmpty(), "Xvfb printed no display number");
        qputenv("DISPLAY", ":" + number.trimmed());
        const int before = zk::MonitorPowerLevel();
        const bool off = zk::ForceMonitorPower(false);
        const int afterOff = zk::MonitorPowerLevel();
        const bool on = zk::ForceMonitorPower(true);
        const QList<int> levels{afterOff, zk::MonitorPowerLevel()};
        xvfb.terminate();
        xvfb.waitForFinished(3000);
        // A server without DPMS has nothing to switch, and no X error ends us.
        QCOMPARE(off, before >= 0);
        QCOMPARE(on, before >= 0);
        if (before >= 0)
            QCOMPARE(levels, (QList<int>{3, 0}));
    }
};

QTEST_GUILESS_MAIN(TestLogindPower)
#include "tst_logind_power.moc"
