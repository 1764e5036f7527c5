// The power sequence reports once it is done, and how the program goes on.
#include "run/power_sequence.h"
#include "support/fake/fake_clock.h"
#include "support/fake/fake_services.h"

#include <QSignalSpy>
#include <QtTest>

using namespace zk;

Q_DECLARE_METATYPE(zk::PowerOutcome)

class TestPowerSequence : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void finishedOutcome_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<bool>("resume");
        QTest::addColumn<int>("keep");
        QTest::addColumn<int>("recount");
        QTest::addColumn<PowerOutcome>("outcome");
        const int reboot = int(OperationKind::Reboot);
        const int sleep = int(OperationKind::Sleep);
        QTest::newRow("exit accepted") << reboot << false << 1 << 0 << PowerOutcome::ProgramEnds;
        QTest::newRow("suspend, woken by hand") << sleep << false << 1 << 0 << PowerOutcome::ProgramEnds;
        QTest::newRow("resume, keep state off") << sleep << true << 0 << 0 << PowerOutcome::ProgramEnds;
        QTest::newRow("resume, keep state") << sleep << true << 1 << 0 << PowerOutcome::RunGoesOn;
        QTest::newRow("resume, recount") << sleep << true << 1 << 30 << PowerOutcome::Recount;
    }
    void finishedOutcome()
    {
        QFETCH(int, operation);
        QFETCH(bool, resume);
        QFETCH(int, keep);
        QFETCH(int, recount);
        QFETCH(PowerOutcome, outcome);
        AppState state;
        FakeClock clock;
        FakePlatform fake;
        state.job.Operation = operation;
        state.job.ResumeKeepState = keep;
        state.cl.ResumeRecountMinutes = recount;
        if (resume)
            state.cl.ResumeTime = clock.now().addSecs(600);
        PowerSequence seq(state, clock);
        seq.setServices(fake.services());
        QSignalSpy finished(&seq, &PowerSequence::finished);
        QSignalSpy text(&seq, &PowerSequence::remainingText);

        seq.run(OperationKind(operation));
        if (operation == int(OperationKind::Sleep)) {
            QVERIFY(finished.isEmpty());  // asleep
            fake.power.wake();
            if (resume) {
                QVERIFY(seq.waitingForWake());
                QCOMPARE(text.value(0).value(0).toString(), QStringLiteral("復帰待中"));
                QVERIFY(finished.isEmpty());
                fake.wakeTimer.fire(fake.wakeTimer.lastHandle);
            }
        }
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished[0][0].value<PowerOutcome>(), outcome);
        QCOMPARE(seq.keepAwakeActive(), outcome != PowerOutcome::ProgramEnds);
    }

};

QTEST_GUILESS_MAIN(TestPowerSequence)
#include "tst_power_sequence.moc"
