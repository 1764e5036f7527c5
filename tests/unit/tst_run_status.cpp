// The run as the session bus and --status show it: the state word, the due
// time (the trigger's while a watched phrase holds) and the seconds left.
#include "run/run_status.h"
#include "unit/run_test_support.h"

#include <QRegularExpression>
#include <QtTest>

using namespace zk;

namespace {

const QDateTime kMonday(QDate(2026, 12, 7), QTime(12, 0, 0));

struct Rig : EngineRig {
    Rig() : EngineRig(kMonday, [](const QString &) { return true; }) {}
    RunStatus status() const { return StatusOf(engine, clock.now()); }
};

QDateTime Parsed(const QString &iso)
{
    return QDateTime::fromString(iso, Qt::ISODate);
}

// ISO 8601 with the offset, so that another process reads the same moment.
bool HasOffset(const QString &iso)
{
    return iso.endsWith(QLatin1Char('Z')) || QRegularExpression(QStringLiteral("[+-]\\d\\d:\\d\\d$")).match(iso).hasMatch();
}

}  // namespace

class TestRunStatus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void countdownWithPhraseTrigger()
    {
        Rig r;
        r.state.job.TimingMode = 0;
        r.state.job.DelayMinutes = QStringLiteral("10");
        r.state.job.Operation = int(OperationKind::Reboot);
        r.state.job.MonitorEnabled = 1;
        r.state.job.MonitorKind = 0;
        r.state.job.MonitorPhrase = QStringLiteral("完了");
        QCOMPARE(r.status(), (RunStatus{"idle", "再起動", QString(), QString(), 0}));

        r.engine.startRun();
        r.tick();
        RunStatus s = r.status();
        QCOMPARE(s.state, QStringLiteral("counting"));
        QCOMPARE(s.remainingSeconds, 599);
        QVERIFY2(HasOffset(s.targetTime), qPrintable(s.targetTime));
        QCOMPARE(Parsed(s.targetTime), kMonday.addSecs(600));
        QCOMPARE(s.resumeTime, QString());

        // The phrase shows: the action is due at the trigger, not the plan.
        r.fake.screenText.setVisible(true, QStringLiteral("Build"), QStringLiteral("完了"));
        r.tick();
        s = r.status();
        QCOMPARE(Parsed(s.targetTime), r.clock.now().addSecs(15));
        QCOMPARE(s.remainingSeconds, 15);
        r.tick();
        QCOMPARE(r.status().state, QStringLiteral("warning"));
        QCOMPARE(r.status().remainingSeconds, 14);
        // Between ticks the seconds are rounded as the countdown label rounds them.
        r.clock.advanceMs(400);
        QCOMPARE(r.status().remainingSeconds, 14);
        r.clock.advanceMs(200);
        QCOMPARE(r.status().remainingSeconds, 13);
        r.clock.advanceMs(400);

        // It goes away: back to the planned time.
        r.fake.screenText.setVisible(false);
        r.tick();
        s = r.status();
        QCOMPARE(s.state, QStringLiteral("counting"));
        QCOMPARE(Parsed(s.targetTime), kMonday.addSecs(600));

        r.engine.stopRun();
        QCOMPARE(r.status(), (RunStatus{"idle", "再起動", QString(), QString(), 0}));
    }

    void sleepThatWakes()
    {
        Rig r;
        r.state.job.TimingMode = 0;
        r.state.job.DelayMinutes = QStringLiteral("0");
        r.state.job.Operation = int(OperationKind::Sleep);
        const QDateTime wake = kMonday.addSecs(3600);
        r.state.job.ResumeEnabled = 1;
        r.state.job.ResumeAtClock = 1;
        r.state.job.ResumeDateParts = {"2026", "12", "7", "13", "0"};
        r.engine.startRun();
        RunStatus s = r.status();
        QCOMPARE(s.state, QStringLiteral("warning"));  // five seconds left: inside the warning lead at once
        QVERIFY2(HasOffset(s.resumeTime), qPrintable(s.resumeTime));
        QCOMPARE(Parsed(s.resumeTime), wake);
        r.tick(6);  // the zero-minute wait is over: the machine sleeps
        s = r.status();
        QVERIFY2(s.state == u"waiting-for-resume" || s.state == u"executing", qPrintable(s.state));
        QCOMPARE(s.remainingSeconds, 0);
        QCOMPARE(Parsed(s.resumeTime), wake);
    }
};

QTEST_GUILESS_MAIN(TestRunStatus)
#include "tst_run_status.moc"
