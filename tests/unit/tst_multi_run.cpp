// The multi schedule: which rows run, in which order, which sleep takes
// which wake time, and the run itself on the engine's tick over fakes.
#include "run/multi_run.h"
#include "support/local_zone.h"
#include "unit/run_test_support.h"

#include <QtTest>

using namespace zk;

namespace {

const QDate kDay(2026, 12, 7);

// "h:m op [app]" per row; "" leaves a row empty.
std::array<MultiEntry, kMultiRowCount> Rows(const QStringList &rows)
{
    std::array<MultiEntry, kMultiRowCount> a;
    for (int i = 0; i < rows.size(); ++i) {
        const QString &r = rows[i];
        if (r.isEmpty())
            continue;
        const QStringList f = r.split(QLatin1Char(' '));
        const QStringList hm = f[0].split(QLatin1Char(':'));
        a[size_t(i)] = {hm.value(0), hm.value(1), f.value(1), f.mid(2).join(QLatin1Char(' '))};
    }
    return a;
}

// "hh:mm op row" of each entry, with "+1" for tomorrow.
QStringList Describe(const QList<MultiRunEntry> &table)
{
    QStringList out;
    for (const MultiRunEntry &e : table)
        out << e.due.toString(QStringLiteral("HH:mm")) + (e.due.date() > kDay ? QStringLiteral("+1") : QString()) +
                   QLatin1Char(' ') + e.operation + QLatin1Char(' ') + QString::number(e.row);
    return out;
}

struct Rig : EngineRig {
    QStringList events;  // what the fakes were asked, with the time

    Rig(const QStringList &rows) : EngineRig(QDateTime(kDay, QTime(22, 58, 50)))
    {
        state.MultiRows = Rows(rows);
        state.job.MultiEnabled = 1;
        QObject::connect(&engine.multiRun(), &MultiRun::stepExecuting, &engine, [this](const MultiStep &s) {
            events << clock.now().toString(QStringLiteral("HH:mm:ss ")) + s.operation;
        });
    }
};

}  // namespace

class TestMultiRun : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void collect_data()
    {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("table");
        QTest::newRow("reverse order runs in time order; equal times keep the list order")
            << QTime(21, 0) << QStringList{"23:30 シャットダウン", "6:00 復帰 app", "22:00 スリープ", "22:00 再起動"}
            << QStringList{"22:00 スリープ 2", "22:00 再起動 3", "23:30 シャットダウン 0", "06:00+1 復帰 1"};
        QTest::newRow("rows without hour or minute are left out; empty operations are kept")
            << QTime(21, 0) << QStringList{"22: スリープ", ":30 スリープ", "", "22:10 "}
            << QStringList{"22:10  3"};
        QTest::newRow("this minute, a second past: tomorrow")
            << QTime(9, 0, 30) << QStringList{"9:00 シャットダウン", "9:01 再起動"}
            << QStringList{"09:01 再起動 1", "09:00+1 シャットダウン 0"};
        QTest::newRow("this minute, within its first second: today")
            << QTime(9, 0, 0, 400) << QStringList{"9:00 シャットダウン"} << QStringList{"09:00 シャットダウン 0"};
    }
    void collect()
    {
        QFETCH(QTime, now);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, table);
        QCOMPARE(Describe(CollectMultiRunTable(Rows(rows), QDateTime(kDay, now))), table);
    }

    // Rows whose hour or minute names no time of day are empty rows: never
    // collected, never run (not at once, not later), and said once at the start.
    void impossibleTimesAreEmptyRows()
    {
        Rig r({"abc:xyz シャットダウン", "24:0 シャットダウン", "23:60 シャットダウン", "23:0 再起動"});
        QCOMPARE(DroppedMultiRows(r.state.MultiRows), (QList<int>{0, 1, 2}));
        r.engine.startMultiRun();
        QCOMPARE(r.view.popups.size(), 1);
        QVERIFY(r.view.popups[0].request.text.contains(QStringLiteral("1, 2, 3 行目")));
        r.tick(70);
        QCOMPARE(r.events, QStringList{"23:00:00 再起動"});
        QCOMPARE(r.view.popups.size(), 1);
    }

    // On the days daylight saving time changes a row is due at its
    // wall-clock hour and minute (not at midnight plus its hours).
    void dueAtTheWallClockTimeOnChangeDays()
    {
        const zktest::LocalZone berlin("Europe/Berlin");
        for (const QDate day : {QDate(2025, 3, 30), QDate(2025, 10, 26)}) {
            const QList<MultiRunEntry> t =
                CollectMultiRunTable(Rows({"8:00 シャットダウン", "2:30 スリープ"}), QDateTime(day, QTime(0, 30)));
            QCOMPARE(t.size(), 2);
            QCOMPARE(t[1].due.toString(Qt::ISODate), day.toString(Qt::ISODate) + QStringLiteral("T08:00:00"));
            // 02:30 is skipped in March (03:30 then), and its first showing in October.
            QCOMPARE(t[0].due.toString(Qt::ISODate), day.toString(Qt::ISODate) +
                                                         (day.month() == 3 ? QStringLiteral("T03:30:00")
                                                                           : QStringLiteral("T02:30:00")));
        }
    }

    void pairing()
    {
        const QDateTime now(kDay, QTime(21, 0));
        auto plan = [&](const QStringList &rows, bool keep) {
            QStringList out;
            for (const MultiStep &s : PlanMultiSteps(CollectMultiRunTable(Rows(rows), now), keep))
                out << s.due.toString(QStringLiteral("HH:mm ")) + s.operation + QLatin1Char(' ') +
                           s.resumeAt.toString(QStringLiteral("HH:mm")) + QLatin1Char('|') + s.application;
            return out;
        };
        // The wake row directly after a sleep gives its time and application.
        QCOMPARE(plan({"22:00 スリープ", "6:00 復帰 edit -n", "8:30 シャットダウン"}, true),
                 (QStringList{"22:00 スリープ 06:00|edit -n", "08:30 シャットダウン |"}));
        // A wake row that does not follow a sleep does nothing; an exit ends the plan.
        QCOMPARE(plan({"22:00 再起動", "22:30 復帰 a", "23:00 スリープ"}, true), (QStringList{"22:00 再起動 |"}));
        QCOMPARE(plan({"22:00 スリープ", "22:10 ", "22:30 復帰 a"}, true), (QStringList{"22:00 スリープ |"}));
        // Without keep state the program ends after the first wake-up.
        QCOMPARE(plan({"22:00 休止", "22:30 復帰", "23:00 スタンバイ", "23:30 復帰"}, false),
                 (QStringList{"22:00 休止 22:30|"}));
        QCOMPARE(plan({"22:00 休止", "22:30 復帰", "23:00 スタンバイ", "23:30 復帰"}, true).size(), 2);
    }

    // Sleep at 22:59, wake at 23:01 and start an application, shut down at
    // 23:02: one suspend at its minute with the wake timer at 23:01, the
    // application after the wake-up, one power-off, and the program ends.
    void runsEachStepOnceAtItsTime()
    {
        Rig r({"23:02 シャットダウン", "23:01 復帰 edit -n", "22:59 スリープ"});
        r.engine.startMultiRun();
        r.tick(9);  // 22:58:59
        QVERIFY(r.fake.power.suspendCalls.isEmpty());
        QCOMPARE(r.view.remaining(), QStringLiteral("00:00:01"));
        r.tick();
        QCOMPARE(r.events, QStringList{"22:59:00 スリープ"});
        QCOMPARE(r.fake.wakeTimer.armCalls, QList<qint64>{120});
        // Asleep: ticks (also after the wake-up, before the timer) run nothing more.
        r.tick(30);
        r.fake.power.wake();
        r.tick(5);
        QCOMPARE(r.fake.power.suspendCalls.size(), 1);
        QVERIFY(r.fake.launcher.calls.isEmpty());
        r.clock.set(QDateTime(kDay, QTime(23, 1, 0)));
        r.fake.wakeTimer.fire(r.fake.wakeTimer.lastHandle);
        QCOMPARE(r.fake.launcher.calls, (QList<QPair<QString, QString>>{{"edit", "-n"}}));
        QVERIFY(r.view.quits.isEmpty());  // keep state: the run goes on
        r.tick(59);
        QVERIFY(r.fake.power.exitCalls.isEmpty());
        r.tick();
        QCOMPARE(r.events, (QStringList{"22:59:00 スリープ", "23:02:00 シャットダウン"}));
        QCOMPARE(r.fake.power.exitCalls, (QList<FakeSessionPower::ExitCall>{{SessionEnd::PowerOff}}));
        QCOMPARE(r.view.quits, QList<int>{0});
        r.tick(5);
        QCOMPARE(r.fake.power.exitCalls.size(), 1);
    }

    // A sleep that lasts past the next steps' times: they run at once, in
    // order, each once.
    void latePassedStepsRunAtOnceAndOnce()
    {
        Rig r({"22:59 スリープ", "23:00 復帰", "23:01 スリープ", "23:02 復帰", "23:03 再起動"});
        r.engine.startMultiRun();
        r.tick(10);
        QCOMPARE(r.fake.power.suspendCalls.size(), 1);
        r.clock.set(QDateTime(kDay, QTime(23, 10, 0)));  // woken much later
        r.fake.power.wake();
        r.fake.wakeTimer.fire(r.fake.wakeTimer.lastHandle);
        // The second sleep came due while asleep: it runs now; its wake time has passed too.
        QCOMPARE(r.events, (QStringList{"22:59:00 スリープ", "23:10:00 スリープ"}));
        QCOMPARE(r.fake.wakeTimer.armCalls.last(), qint64(-480));
        r.fake.power.wake();
        r.fake.wakeTimer.fire(r.fake.wakeTimer.lastHandle);
        QCOMPARE(r.events.last(), QStringLiteral("23:10:00 再起動"));
        r.tick(3);
        QCOMPARE(r.fake.power.suspendCalls.size(), 2);
        QCOMPARE(r.fake.power.exitCalls.size(), 1);
    }

    // Where no wake alarm can be armed, a schedule that sleeps with a wake row
    // does not start and says why; one without a wake row runs.
    void sleepWithWakeRowNeedsAWakeAlarm()
    {
        StartEnvironment env;
        env.wakeUnavailable = QStringLiteral("RTC がありません。");
        Rig r({"22:59 スリープ", "23:01 復帰", "23:02 シャットダウン"});
        r.engine.setEnvironment(env);
        r.engine.startMultiRun();
        QVERIFY(!r.engine.multiRun().active());
        QVERIFY(!r.view.locked);
        QCOMPARE(r.view.messages, QStringList{QStringLiteral("復帰タイマーを設定できません。\r\nRTC がありません。")});

        Rig plain({"22:59 スリープ", "23:02 シャットダウン"});
        plain.engine.setEnvironment(env);
        plain.engine.startMultiRun();
        QVERIFY(plain.engine.multiRun().active());
        QVERIFY(plain.view.messages.isEmpty());
    }

    void stopDuringWaitPerformsNothing()
    {
        Rig r({"22:59 シャットダウン"});
        r.engine.startMultiRun();
        r.tick(5);
        r.engine.stopRun();
        QVERIFY(!r.engine.multiRun().active());
        r.tick(120);
        QVERIFY(r.fake.power.log.isEmpty());
        QVERIFY(r.view.quits.isEmpty());
        // A second start collects the rows present then.
        r.state.MultiRows[0].Minute.clear();
        r.engine.startMultiRun();
        QVERIFY(r.engine.multiRun().steps().isEmpty());
    }

    // Nothing to run: the window stays in the running state and says that
    // it waits for the stop button.
    void nothingToRunWaitsForStop()
    {
        Rig r({"23:30 復帰 a", "23:40 "});
        QSignalSpy waiting(&r.engine.multiRun(), &MultiRun::waitingForStop);
        r.engine.startMultiRun();
        QCOMPARE(waiting, QList<QVariantList>{{true}});
        QVERIFY(r.view.locked);
        QVERIFY(r.view.remaining().contains(QStringLiteral("「中止」")));
        r.engine.stopRun();
        QVERIFY(!r.view.locked);
        QVERIFY(r.view.remaining().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMultiRun)
#include "tst_multi_run.moc"
