// The run engine driven by a fake clock and fake services: countdown,
// warning phase, monitors, exit and suspend, resume and stop, and the run
// status that the session bus and --status show. Also the trigger registry
// the engine takes its monitors from.
#include "monitors/trigger.h"
#include "run/run_status.h"
#include "support/local_zone.h"
#include "unit/run_test_support.h"

#include <QtTest>

using namespace zk;

Q_DECLARE_METATYPE(std::optional<bool>)

namespace {

const QDateTime kMonday(QDate(2026, 12, 7), QTime(12, 0, 0));

enum class Setup {
    PhraseShown, PhraseGone, PhraseCutShort, ScreenUnreadable,
    CpuLow, CpuAtLimit, CpuAtSpan, CpuEndlessSpan, CpuUnmeasured,
    BatteryIdle, BatteryBusy, MainsIdle
};

struct Rig : EngineRig {
    // A run of m minutes (zero: the five-second wait) with operation op.
    explicit Rig(const QString &m = QStringLiteral("10"), int op = int(OperationKind::Shutdown), int force = 0)
        : EngineRig(kMonday, [](const QString &p) { return p.startsWith(QLatin1String("/opt/")); })
    {
        state.job.TimingMode = 0;
        state.job.DelayMinutes = m;
        state.job.Operation = op;
        state.job.Force = force;
    }
    PowerSequence &seq() { return engine.powerSequence(); }
    RunStatus status() const { return StatusOf(engine, clock.now()); }
    // A sleep at once that wakes the machine secs after now.
    void sleepWaking(int secs)
    {
        state.job.DelayMinutes = QStringLiteral("0");
        state.job.Operation = int(OperationKind::Sleep);
        resumeAt(kMonday.addSecs(secs));
    }
    // Start and run the five seconds of a zero-minute countdown.
    void runToAction()
    {
        engine.startRun();
        tick(5);
    }
    // Watch the screen for a phrase: appearing (event 0) or disappearing (1).
    void watchPhrase(const QString &phrase, int event = 0)
    {
        state.job.MonitorEnabled = 1;
        state.job.MonitorKind = 0;
        state.job.PhraseEvent = event;
        state.job.MonitorPhrase = phrase;
    }
    bool idle() const { return !view.locked && !engine.countdownActive(); }
    void resumeAt(const QDateTime &t)
    {
        state.job.ResumeEnabled = 1;
        state.job.ResumeAtClock = 1;
        state.job.ResumeDateParts = {QString::number(t.date().year()), QString::number(t.date().month()),
                                     QString::number(t.date().day()), QString::number(t.time().hour()),
                                     QString::number(t.time().minute())};
    }
};

}  // namespace

class TestRunEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A zero-minute run acts after its five seconds, once, ending the
    // session as its operation says.
    void zeroMinutesActsAfterFiveSeconds()
    {
        // Operation, force, how the session ends: shutdown forced (power off), reboot, log-off forced.
        const QList<std::array<int, 3>> cases{{int(OperationKind::Shutdown), 1, int(SessionEnd::PowerOff)},
                                              {int(OperationKind::Reboot), 0, int(SessionEnd::Reboot)},
                                              {int(OperationKind::Logoff), 1, int(SessionEnd::Logoff)}};
        for (const auto &[op, force, how] : cases) {
            Rig r(QStringLiteral("   0"), op, force);
            r.engine.startRun();
            QVERIFY(r.view.locked);
            QCOMPARE(r.view.fontSize, kRemainingFontNormal);
            QCOMPARE(r.view.color, kColorWarning);  // five seconds are within the warning lead
            r.tick(4);
            QVERIFY(r.fake.power.log.isEmpty());
            QCOMPARE(r.view.remainingHistory,
                     (QStringList{"00:00:05", "00:00:04", "00:00:03", "00:00:02", "00:00:01"}));
            r.tick(2);  // the countdown cannot act a second time
            QCOMPARE(r.fake.power.log, QStringList{QStringLiteral("endSession %1 %2").arg(how).arg(force)});
            QCOMPARE(r.view.quits, QList<int>{0});
        }
    }

    // Minutes are a span on the boot clock: setting the wall clock neither
    // hastens nor delays the action, the label shows the span's remainder,
    // and a resume given in minutes after the action moves with it. A clock
    // time is due by the wall clock.
    void spansFollowTheBootClock_data()
    {
        QTest::addColumn<bool>("clockTime");
        QTest::addColumn<qint64>("stepMinutes");   // the wall clock set this far just after the start
        QTest::addColumn<int>("ticksToAction");    // one-second ticks after the step
        QTest::addColumn<QString>("targetShown");  // the time the caption names
        QTest::newRow("60 minutes, clock set 59 minutes on") << false << qint64(59) << 3600 << "13時59分";
        QTest::newRow("60 minutes, clock set 30 minutes back") << false << qint64(-30) << 3600 << "12時30分";
        QTest::newRow("at 13:00, clock set 59 minutes on") << true << qint64(59) << 60 << "13時00分";
    }
    void spansFollowTheBootClock()
    {
        QFETCH(bool, clockTime);
        QFETCH(qint64, stepMinutes);
        QFETCH(int, ticksToAction);
        QFETCH(QString, targetShown);
        Rig r(QStringLiteral("60"), int(OperationKind::Sleep));
        if (clockTime) {
            r.state.job.TimingMode = 1;
            r.state.job.ClockHour = QStringLiteral("13");
            r.state.job.ClockMinute = QStringLiteral("0");
        }
        r.state.job.ResumeEnabled = 1;
        r.state.job.ResumeAtClock = 0;
        r.state.job.ResumeAfterMinutes = QStringLiteral(" 10");
        r.state.job.ResumeDateParts[0] = QStringLiteral("2026");
        r.engine.startRun();
        r.clock.stepWall(stepMinutes * 60000);
        r.tick(40);
        if (!clockTime)
            QCOMPARE(r.view.remaining(), QStringLiteral("00:59:20"));
        QVERIFY2(r.engine.caption().endsWith(targetShown), qPrintable(r.engine.caption()));
        r.tick(ticksToAction - 41);
        QVERIFY(r.fake.power.suspendCalls.isEmpty());
        QCOMPARE(r.view.remaining(), QStringLiteral("00:00:01"));
        r.tick();
        QCOMPARE(r.fake.power.suspendCalls.size(), 1);
        QCOMPARE(r.fake.wakeTimer.armCalls, QList<qint64>{600});
    }

    // The colours and the warning phase of a two-minute run; the warning is
    // also a critical desktop notice whose "中止" is the stop button.
    void countdownWarningAndStopFromTheNotice()
    {
        Rig r(QStringLiteral("2"));
        r.state.cl.AutoStart = true;
        r.engine.setBaseCaption(QStringLiteral("Zenkoroシャットダウン base"));
        r.engine.startRun();
        // The first state shows at start, before any tick.
        QCOMPARE(r.view.remainingHistory, QStringList{QStringLiteral("00:02:00")});
        QCOMPARE(r.view.caption(), QStringLiteral("00:02:00 　予定時刻 12月07日 12時02分"));
        r.tick(60);  // 60 s left: still a full minute
        QCOMPARE(r.view.color, kColorCountdown);
        r.tick();  // 59 s
        QCOMPARE(r.view.color, kColorLastMinute);
        r.tick(44);  // 15 s: lead reached, not below it
        QCOMPARE(r.view.color, kColorLastMinute);
        QCOMPARE(r.engine.runState(), RunState::Counting);
        QVERIFY(r.fake.notifier.sent.isEmpty());
        QCOMPARE(r.fake.sound.starts, 0);
        r.view.windowRequests.clear();
        r.tick();  // 14 s
        QCOMPARE(r.view.color, kColorWarning);
        QCOMPARE(r.view.caption(), QString(14, QChar(0xFF65)) + QStringLiteral("まもなくシャットダウン"));
        QCOMPARE(r.view.windowRequests, (QStringList{"untray", "topmost 1", "show"}));
        QCOMPARE(r.state.job.Topmost, 1);
        r.tick(5);
        QCOMPARE(r.fake.sound.starts, 1);
        QCOMPARE(r.fake.notifier.sent.size(), 1);
        const DesktopNotification n = r.fake.notifier.sent[0];
        QCOMPARE(n.summary, QStringLiteral("Zenkoroシャットダウン base"));
        QCOMPARE(n.body, QStringLiteral("まもなくシャットダウン"));
        QVERIFY(n.critical);
        QCOMPARE(n.actions, (QList<std::pair<QString, QString>>{{QStringLiteral("stop"), QStringLiteral("中止")}}));
        r.fake.notifier.invoke(2, QStringLiteral("stop"));     // another notice
        r.fake.notifier.invoke(1, QStringLiteral("default"));  // a click on the notice itself
        QCOMPARE(r.engine.runState(), RunState::Warning);
        r.fake.notifier.invoke(1, QStringLiteral("stop"));
        QCOMPARE(r.engine.runState(), RunState::Idle);
        QCOMPARE(r.fake.notifier.closed, QList<quint32>{1});
        QVERIFY(!r.fake.sound.playing);
        QCOMPARE(r.view.caption(), QStringLiteral("Zenkoroシャットダウン base"));
        QVERIFY(r.engine.abortRequested());
        QVERIFY(!r.state.cl.AutoStart);
        r.tick(20);
        QVERIFY(r.fake.power.exitCalls.isEmpty());
    }

    void trayAndMinimiseAtStart()
    {
        for (const bool toTray : {true, false}) {
            Rig r(toTray ? QStringLiteral("10") : QStringLiteral("0"));  // five seconds go to no tray
            r.state.job.TrayIcon = 1;
            r.state.job.MinimizeAtStart = 1;
            r.engine.startRun();
            QCOMPARE(r.view.windowRequests.contains(QStringLiteral("tray")), toTray);
            QCOMPARE(r.view.windowRequests.contains(QStringLiteral("minimize")), toTray);
        }
    }

    // A refused start (here: the resume too close to the action) shows one
    // message, locks nothing and arms no wake timer.
    void refusalLeavesTheRunIdle()
    {
        Rig r(QStringLiteral("5"), int(OperationKind::Sleep));
        r.resumeAt(kMonday.addSecs(5 * 60));
        r.engine.startRun();
        QCOMPARE(r.view.messages.size(), 1);
        QVERIFY(r.idle());
        QCOMPARE(r.engine.runState(), RunState::Idle);
        QVERIFY(r.fake.wakeTimer.armCalls.isEmpty());
    }

    void excludedWeekdayEndsProgram()
    {
        for (const int noAlert : {0, 1}) {
            Rig r;
            r.clock.set(QDateTime(QDate(2026, 12, 12), QTime(8, 0)));  // Saturday
            r.state.cl.ExecWeekMask = QStringLiteral("0111110");
            r.state.job.NoAlert = noAlert;
            r.engine.startRun();
            QVERIFY(r.idle());
            QCOMPARE(r.view.popups.size(), noAlert ? 0 : 1);
            if (!noAlert) {
                QCOMPARE(r.view.popups[0].request.seconds, 8);
                QVERIFY(r.view.popups[0].request.modal);
                QVERIFY(r.view.quits.isEmpty());  // the modal popup is shown first
                r.view.popups[0].closed();
            }
            QCOMPARE(r.view.quits, QList<int>{0});
            QVERIFY(r.fake.power.log.isEmpty());
        }
    }

    // A phrase that shows brings the action to the warning lead from then,
    // blinking; one step without it goes back to the plan. The status names
    // the due time that holds, with the local offset.
    void phraseTriggerHeldAndLost()
    {
        const zktest::LocalZone berlin("Europe/Berlin");
        Rig r;
        r.watchPhrase(QStringLiteral("完了"));
        QCOMPARE(r.status(), (RunStatus{"idle", "シャットダウン", QString(), QString(), 0}));
        r.engine.startRun();
        QVERIFY(r.view.questions.isEmpty());  // not shown at start
        r.tick();
        QVERIFY(!r.engine.triggerTime().isValid());
        QCOMPARE(r.status(), (RunStatus{"counting", "シャットダウン", "2026-12-07T12:10:00+01:00", QString(), 599}));

        r.fake.screenText.setVisible(true, QStringLiteral("Build"), QStringLiteral("完了"));
        r.tick();
        const QDateTime trigger = r.engine.triggerTime();
        QCOMPARE(trigger, r.clock.now().addSecs(15));
        QCOMPARE(r.status(), (RunStatus{"counting", "シャットダウン", "2026-12-07T12:00:17+01:00", QString(), 15}));
        QVERIFY(r.engine.blinking());
        // One tick moves the countdown and the blink together.
        r.tick();
        QVERIFY(!r.view.phraseLabel);
        QCOMPARE(r.status().state, QStringLiteral("warning"));
        r.tick();
        QVERIFY(r.view.phraseLabel);
        QCOMPARE(r.view.remainingHistory.mid(1), (QStringList{"00:09:59", "00:00:15", "00:00:14", "00:00:13"}));
        const QStringList captions = r.view.captions;
        r.engine.tick();  // the same second once more: the view hears of nothing
        QCOMPARE(r.view.remainingHistory.size(), 5);
        QCOMPARE(r.view.captions, captions);
        r.tick();
        QCOMPARE(r.engine.triggerTime(), trigger);  // kept, not moved
        // Between ticks the seconds are rounded as the countdown label rounds them.
        r.clock.advanceMs(400);
        QCOMPARE(r.status().remainingSeconds, 12);
        r.clock.advanceMs(200);
        QCOMPARE(r.status().remainingSeconds, 11);
        r.clock.advanceMs(400);

        r.fake.screenText.setVisible(false);
        r.engine.phraseRecheckTick();  // the re-check ends the blink
        QVERIFY(!r.engine.blinking());
        QVERIFY(!r.view.phraseLabel);
        r.tick();  // one step without the phrase cancels the trigger
        QVERIFY(!r.engine.triggerTime().isValid());
        QCOMPARE(r.engine.runState(), RunState::Counting);
        QCOMPARE(r.view.color, kColorCountdown);
        QCOMPARE(r.view.remaining(), QStringLiteral("00:09:53"));
        QCOMPARE(r.fake.sound.playing, false);
        QCOMPARE(r.status().targetTime, QStringLiteral("2026-12-07T12:10:00+01:00"));

        r.fake.screenText.setVisible(true);
        r.tick();
        QCOMPARE(r.engine.triggerTime(), r.clock.now().addSecs(15));
        r.tick(14);
        QVERIFY(r.fake.power.exitCalls.isEmpty());
        r.tick();
        QCOMPARE(r.fake.power.exitCalls, (QList<FakeSessionPower::ExitCall>{{SessionEnd::PowerOff}}));
    }

    // The watcher's notice of a new answer starts the trigger between ticks;
    // the whole seconds, the clock and losing the trigger stay with the tick.
    void phraseNoticeBetweenTicks()
    {
        Rig r;
        r.watchPhrase(QStringLiteral("完了"));
        r.fake.screenText.holdScans = true;
        r.engine.startRun();
        r.fake.screenText.changeTo(true);  // during the start check: nothing
        QVERIFY(!r.engine.triggerTime().isValid());
        r.fake.screenText.changeTo(false);
        r.fake.screenText.finishScans();
        r.tick();
        const int accumulator = r.engine.tickAccumulator();

        r.clock.advanceMs(300);
        r.fake.screenText.changeTo(false);  // not holding: nothing changes
        QVERIFY(!r.engine.triggerTime().isValid());
        QCOMPARE(r.view.remaining(), QStringLiteral("00:09:59"));
        r.fake.screenText.changeTo(true);
        const QDateTime trigger = r.clock.now().addSecs(15);
        QCOMPARE(r.engine.triggerTime(), trigger);
        QVERIFY(r.view.phraseLabel);
        QCOMPARE(r.view.remaining(), QStringLiteral("00:00:15"));
        QCOMPARE(r.engine.tickAccumulator(), accumulator);
        r.clock.advanceMs(200);
        r.fake.screenText.changeTo(true);  // already holding: the trigger stays
        QCOMPARE(r.engine.triggerTime(), trigger);

        r.clock.advanceMs(500);
        r.engine.tick();
        QCOMPARE(r.engine.tickAccumulator(), accumulator + 1000);
        QCOMPARE(r.engine.runState(), RunState::Warning);
        QCOMPARE(r.view.remaining(), QStringLiteral("00:00:14"));

        // Without a warning lead the action runs at the notice.
        Rig now;
        now.watchPhrase(QStringLiteral("完了"));
        now.state.cl.PopupLeadSeconds = 0;
        now.engine.startRun();
        now.tick();
        now.clock.advanceMs(300);
        now.fake.screenText.changeTo(true);
        QCOMPARE(now.fake.power.exitCalls, (QList<FakeSessionPower::ExitCall>{{SessionEnd::PowerOff}}));
    }

    // The trigger registry: each monitor kind gives the trigger that follows
    // its own service, and no other; only a phrase that holds at the start asks first.
    void holdsFollowsItsService_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("setup");
        QTest::addColumn<std::optional<bool>>("holds");
        const auto yes = std::optional<bool>(true);
        const auto no = std::optional<bool>(false);
        const auto unknown = std::optional<bool>();
        const int phrase = int(MonitorKind::Phrase);
        const int cpu = int(MonitorKind::Cpu);
        const int battery = int(MonitorKind::BatteryIdle);
        QTest::newRow("phrase appears, shown") << phrase << 0 << int(Setup::PhraseShown) << yes;
        QTest::newRow("phrase appears, not shown") << phrase << 0 << int(Setup::PhraseGone) << no;
        QTest::newRow("phrase disappears, gone") << phrase << 1 << int(Setup::PhraseGone) << yes;
        // A look cut short (more on show than a look reads) cannot tell.
        QTest::newRow("phrase disappears, look cut short") << phrase << 1 << int(Setup::PhraseCutShort) << unknown;
        QTest::newRow("phrase, screen unreadable") << phrase << 0 << int(Setup::ScreenUnreadable) << unknown;
        QTest::newRow("cpu under the limit") << cpu << 0 << int(Setup::CpuLow) << yes;
        QTest::newRow("cpu at the limit") << cpu << 0 << int(Setup::CpuAtLimit) << no;
        QTest::newRow("cpu, exactly one span passed") << cpu << 0 << int(Setup::CpuAtSpan) << no;
        QTest::newRow("cpu, a span beyond any date never ends") << cpu << 0 << int(Setup::CpuEndlessSpan) << no;
        QTest::newRow("cpu, nothing measured") << cpu << 0 << int(Setup::CpuUnmeasured) << no;
        QTest::newRow("cpu ignores the screen") << cpu << 0 << int(Setup::PhraseShown) << no;
        QTest::newRow("battery, idle") << battery << 0 << int(Setup::BatteryIdle) << yes;
        QTest::newRow("battery, input 29.5 s ago") << battery << 0 << int(Setup::BatteryBusy) << no;
        QTest::newRow("mains, idle") << battery << 0 << int(Setup::MainsIdle) << no;
        QTest::newRow("stored kind 3 never holds") << 3 << 0 << int(Setup::BatteryIdle) << no;
    }
    void holdsFollowsItsService()
    {
        QFETCH(int, kind);
        QFETCH(int, event);
        QFETCH(int, setup);
        QFETCH(std::optional<bool>, holds);
        AppState state;
        state.job.MonitorEnabled = 1;
        state.job.MonitorKind = kind;
        state.job.PhraseEvent = event;
        state.job.MonitorPhrase = QStringLiteral("done");
        state.job.CpuAverageSeconds = QStringLiteral(" 10");
        state.job.CpuLowerLimit = QStringLiteral(" 1.0");
        state.job.IdleSeconds = QStringLiteral(" 30");
        FakePlatform fake;
        fake.powerStatus.raw.acLine = 1;
        fake.idle.idleMs = 0;
        switch (Setup(setup)) {
        case Setup::PhraseShown: fake.screenText.setVisible(true); break;
        case Setup::PhraseGone: fake.screenText.setVisible(false); break;
        case Setup::PhraseCutShort: fake.screenText.answer.complete = false; break;
        case Setup::ScreenUnreadable: fake.screenText.isAvailable = false; break;
        case Setup::CpuLow: fake.cpu.average = QStringLiteral(" 0.5"); break;
        case Setup::CpuAtLimit: fake.cpu.average = QStringLiteral(" 1.0"); break;
        case Setup::CpuAtSpan:
        case Setup::CpuEndlessSpan:
            state.job.CpuAverageSeconds = Setup(setup) == Setup::CpuAtSpan ? QStringLiteral(" 11") : QString(21, u'9');
            fake.cpu.average = QStringLiteral(" 0.5");
            break;
        case Setup::CpuUnmeasured: fake.cpu.average.clear(); break;
        case Setup::BatteryIdle: fake.powerStatus.raw.acLine = 0; fake.idle.idleMs = 30000; break;
        case Setup::BatteryBusy: fake.powerStatus.raw.acLine = 0; fake.idle.idleMs = 29500; break;
        case Setup::MainsIdle: fake.idle.idleMs = 30000; break;
        }
        const std::unique_ptr<Trigger> t = MakeTrigger(state.job.monitorKind(), state, fake.services());
        t->start(kMonday);
        t->readStatus();
        QCOMPARE(t->holds(kMonday.addSecs(11)), holds);
        QString question;
        t->askStartQuestion([&](const QString &q) { question = q; });
        QCOMPARE(!question.isEmpty(), kind == int(MonitorKind::Phrase) && holds == true);
    }

    // A phrase already shown at the start asks first, once the look at the
    // screen has answered (the window is not held up meanwhile); a stop
    // before the answer leaves it unused.
    void phraseAlreadyShownAtStart()
    {
        for (const int answer : {1, 0, -1}) {  // OK, Cancel, stopped before the look answers
            Rig r(QStringLiteral("10"), int(OperationKind::Shutdown), 1);
            r.watchPhrase(QStringLiteral("error"));
            r.fake.screenText.holdScans = true;
            r.fake.screenText.setVisible(true, QStringLiteral("Log"), QStringLiteral("an error"));
            r.state.job.CountdownSound = 0;
            r.engine.startRun();
            QVERIFY(r.view.questions.isEmpty());
            if (answer < 0)
                r.engine.stopRun();
            r.fake.screenText.finishScans();
            QCOMPARE(r.view.questions.size(), answer < 0 ? 0 : 1);
            QVERIFY(!r.engine.countdownActive());
            if (answer >= 0) {
                QCOMPARE(r.view.questions[0].title, QStringLiteral("文言状態検知"));
                QVERIFY(r.engine.blinking());
                r.clock.advanceSecs(3);  // the user takes a moment
                r.view.questions[0].answer(answer == 1);
            }
            if (answer != 1) {
                QVERIFY(r.idle());
                QVERIFY(!r.engine.blinking());
                continue;
            }
            QCOMPARE(r.engine.triggerTime(), r.clock.now().addSecs(30));  // force: 30 s lead
            QVERIFY(r.engine.blinking());
            r.tick();
            QCOMPARE(r.view.caption(), QString(29, QChar(0xFF65)) + QStringLiteral("強制シャットダウン"));
            QCOMPARE(r.fake.sound.starts, 0);  // the sound is off
            r.tick(29);
            QCOMPARE(r.fake.power.exitCalls, (QList<FakeSessionPower::ExitCall>{{SessionEnd::PowerOff, true}}));
        }
    }

    // The CPU watch samples from the start and triggers once its span has
    // passed with the usage under the limit; the stop button clears its texts.
    void cpuWatch()
    {
        Rig r(QStringLiteral("30"));
        r.state.job.MonitorEnabled = 1;
        r.state.job.MonitorKind = 1;  // averaged over the default 20 s
        r.state.job.CpuLowerLimit = QStringLiteral(" 0.1");
        r.fake.cpu.average = QStringLiteral("  0");
        r.engine.startRun();
        QVERIFY(r.fake.cpu.sampling);
        r.tick(21);
        QCOMPARE(r.engine.triggerTime(), r.clock.now().addSecs(15));
        r.engine.stopRun();
        QCOMPARE(r.fake.cpu.stops.value(0), true);
    }

    // The power status is read on the clock tick; a failed read empties the
    // label and the battery watch does not hold.
    void batteryWatchFollowsTheStatusRead()
    {
        Rig r(QStringLiteral("30"));
        r.state.job.MonitorEnabled = 1;
        r.state.job.MonitorKind = 2;
        r.state.job.IdleSeconds = QStringLiteral("  0");
        r.fake.powerStatus.raw.acLine = 0;
        r.engine.startRun();
        r.tick();  // unplugged, idle box 0: holds at the first step
        QVERIFY(!r.view.lineStatus.isEmpty());
        QVERIFY(r.engine.triggerTime().isValid());
        r.fake.powerStatus.result = kPowerStatusFailed;
        r.tick();
        QCOMPARE(r.view.lineStatus, QString());
        QVERIFY(!r.engine.triggerTime().isValid());
    }

    // Woken by hand (no resume time, whatever an earlier run left): AfterResume
    // runs with the monitor as set, and the program ends. A refused suspend
    // goes on as woken.
    void suspend()
    {
        // Operation, force, accepted: sleep, hibernate forced, sleep refused.
        const QList<std::tuple<OperationKind, int, bool>> cases{
            {OperationKind::Sleep, 0, true}, {OperationKind::Hibernate, 1, true}, {OperationKind::Sleep, 0, false}};
        for (const auto &[op, force, accepted] : cases) {
            Rig r(QStringLiteral("0"), int(op), force);
            r.state.job.ResumeMonitorOn = 0;
            r.state.cl.ResumeTime = kMonday.addSecs(3600);  // left from an earlier run, resume now off
            r.fake.power.suspendAnswer = accepted;
            r.runToAction();
            if (accepted) {
                QVERIFY(r.view.quits.isEmpty());
                r.fake.power.wake();
            }
            const int hibernate = op == OperationKind::Hibernate;
            QCOMPARE(r.fake.power.log, (QStringList{QStringLiteral("suspend %1 %2 0").arg(hibernate).arg(force),
                                                    QStringLiteral("monitor 0"), QStringLiteral("keepAwake 1")}));
            QVERIFY(r.fake.wakeTimer.armCalls.isEmpty());
            QCOMPARE(r.view.quits, QList<int>{0});
            QVERIFY(!r.seq().keepAwakeActive());
        }
    }

    void resumeRecount()
    {
        Rig r(QStringLiteral("5"), int(OperationKind::Sleep));
        r.resumeAt(kMonday.addSecs(3600));  // 13:00
        r.state.job.AppCommand = QStringLiteral("\"/opt/my app/run\" --fast");
        r.state.job.LaunchApp = 1;
        r.state.cl.ResumeRecountMinutes = 30;
        r.engine.startRun();
        QCOMPARE(r.view.resumeLabel, QStringLiteral("予定 13:00:00"));
        r.tick(300);
        QCOMPARE(r.fake.wakeTimer.armCalls, QList<qint64>{3300});  // 55 minutes from the action
        // The machine comes back before the wake time (woken by hand): wait for the timer.
        r.clock.advanceSecs(600);
        r.fake.power.wake();
        QCOMPARE(r.engine.runState(), RunState::WaitingForResume);
        QVERIFY(r.fake.launcher.calls.isEmpty());
        r.clock.advanceSecs(2700);
        r.fake.wakeTimer.fire(r.fake.wakeTimer.lastHandle);
        QCOMPARE(r.view.remaining(), QString());
        QVERIFY(r.view.windowRequests.contains(QStringLiteral("hide")));
        QCOMPARE(r.fake.wakeTimer.cancelCalls, QList<int>{1});
        QCOMPARE(r.fake.launcher.calls, (QList<QPair<QString, QString>>{{"/opt/my app/run", "--fast"}}));
        // Recount: "  30" minutes, resume off, auto start through the load timer.
        QCOMPARE(r.state.job.DelayMinutes, QStringLiteral("  30"));
        QVERIFY(!r.state.cl.ResumeTime.isValid());
        QCOMPARE(r.view.multiAndQuickEnabled, 1);
        QVERIFY(!r.view.locked);
        QVERIFY(r.view.windowRequests.endsWith(QStringLiteral("show")));
        r.engine.loadTimerTick();
        QCOMPARE(r.engine.targetTime(), r.clock.now().addSecs(1800));
        // The keep-awake timer stops at user input without ending the program.
        QVERIFY(r.seq().keepAwakeActive());
        r.fake.idle.idleMs = 1000;
        r.seq().keepAwakeTick();
        QVERIFY(!r.seq().keepAwakeActive());
        QVERIFY(r.view.quits.isEmpty());
        // The new run suspends without waking again, releasing our keep-awake first.
        r.tick(1800);
        QCOMPARE(r.fake.power.suspendCalls.size(), 2);
        QCOMPARE(r.fake.wakeTimer.armCalls.size(), 1);
        QCOMPARE(r.fake.power.keepAwakeCalls.last(), false);
    }

    // The wake timer may report before the machine's resume signal: after
    // the suspend, or already while it is armed (the countdown ran late and
    // the resume time has passed). The report is not lost.
    void wakeTimerReportsEarly()
    {
        for (const bool whileArmed : {false, true}) {
            Rig r;
            r.sleepWaking(60);
            r.state.job.ResumeKeepState = 0;
            r.fake.wakeTimer.fireWhenArmed = whileArmed;
            r.engine.startRun();
            r.clock.advanceSecs(120);
            r.engine.countdownTick();
            QCOMPARE(r.fake.wakeTimer.armCalls, QList<qint64>{-60});
            if (!whileArmed)
                r.fake.wakeTimer.fire(r.fake.wakeTimer.lastHandle);
            QVERIFY(r.view.quits.isEmpty());
            r.fake.power.wake();
            QTRY_COMPARE(r.view.quits, QList<int>{0});  // keep state off: ends after AfterResume
            QCOMPARE(r.fake.power.monitorCalls, QList<bool>{true});
        }
    }

    // Woken with keep state, the machine is kept awake until the user's
    // input; an application that fails to start says so in a centred popup.
    void keepAwakeTick()
    {
        // The last input 4.9 s ago ends the wait, 6 s ago does not; an unknown idle time ends it.
        const QList<std::pair<qint64, bool>> cases{{4900, true}, {6000, false}, {-1, true}};
        for (const auto &[idleMs, ends] : cases) {
            Rig r;
            r.sleepWaking(120);
            r.state.job.AppCommand = QStringLiteral("/opt/app\r\n-a b");
            r.fake.launcher.answer = false;
            r.runToAction();
            r.fake.power.wake();
            r.fake.wakeTimer.fire(r.fake.wakeTimer.lastHandle);
            QCOMPARE(r.view.popups.size(), 1);  // the application did not start
            QVERIFY(r.view.popups[0].request.centred);
            QVERIFY(r.seq().keepAwakeActive());  // the resume handling goes on
            r.fake.idle.idleMs = idleMs;
            r.seq().keepAwakeTick();
            QCOMPARE(r.seq().keepAwakeActive(), !ends);
            QCOMPARE(r.view.quits.size(), ends ? 1 : 0);
        }
    }

    // With the window hidden before a suspend, the wake-up cancels the wake
    // timer at once, without "復帰待中" and without showing the window.
    void hideBeforeSuspend()
    {
        Rig r;
        r.sleepWaking(600);
        r.state.cl.HideBeforeSuspend = true;
        r.runToAction();
        QCOMPARE(r.view.windowRequests.last(), QStringLiteral("hide"));
        r.fake.power.wake();
        QCOMPARE(r.fake.wakeTimer.cancelCalls, QList<int>{1});
        QVERIFY(!r.view.remainingHistory.contains(QStringLiteral("復帰待中")));
        QVERIFY(r.seq().keepAwakeActive());
        QCOMPARE(r.view.windowRequests.last(), QStringLiteral("hide"));
    }

    // The status of a sleep that wakes names the resume time; a stop while
    // waiting for the wake-up ends the program, and a late timer runs nothing.
    void stopWhileWaitingForWakeEndsProgram()
    {
        const zktest::LocalZone berlin("Europe/Berlin");
        Rig r;
        r.sleepWaking(600);
        r.engine.startRun();
        const QString resume = QStringLiteral("2026-12-07T12:10:00+01:00");
        QCOMPARE(r.status(), (RunStatus{"warning", "スリープ", "2026-12-07T12:00:05+01:00", resume, 5}));
        r.tick(5);
        r.fake.power.wake();
        QCOMPARE(r.view.remaining(), QStringLiteral("復帰待中"));
        QCOMPARE(r.status(), (RunStatus{"waiting-for-resume", "スリープ", QString(), resume, 0}));
        r.engine.stopRun();
        QCOMPARE(r.fake.wakeTimer.cancelCalls, QList<int>{1});
        QCOMPARE(r.view.quits, QList<int>{0});
        r.fake.wakeTimer.fire(1);
        QVERIFY(r.fake.power.monitorCalls.isEmpty());
    }

    // Where the wake timer cannot be armed, the engine's own timer takes its place.
    void wakeTimerArmFailureStillEndsWait()
    {
        Rig r;
        r.sleepWaking(600);
        r.fake.wakeTimer.failArm = true;
        r.runToAction();
        r.fake.power.wake();
        QCOMPARE(r.view.remaining(), QStringLiteral("復帰待中"));
        QVERIFY(r.view.quits.isEmpty());
        QVERIFY(r.seq().resumeFallbackPending());
        r.seq().resumeFallbackTimeout();
        QCOMPARE(r.fake.power.monitorCalls, QList<bool>{true});
        QVERIFY(r.seq().keepAwakeActive());
    }

    // A polkit prompt may hold the answer for minutes: nothing sends a
    // second request while the first is unanswered.
    void exitWaitsForTheAnswer()
    {
        // Accepted; refused; refused and stopped during the wait before the retry.
        const QList<std::pair<bool, bool>> cases{{true, false}, {false, false}, {false, true}};
        for (const auto &[accepted, stop] : cases) {
            Rig r(QStringLiteral("0"), int(OperationKind::Reboot));
            r.fake.power.holdAnswers = true;
            r.fake.power.exitAnswer = accepted;
            r.runToAction();
            QVERIFY(r.seq().exitCallPending());
            r.seq().exitRetryTimeout();
            r.tick(3);
            QCOMPARE(r.fake.power.exitCalls, (QList<FakeSessionPower::ExitCall>{{SessionEnd::Reboot}}));
            QVERIFY(r.view.quits.isEmpty());
            QCOMPARE(r.fake.power.answerHeld(), 1);
            QVERIFY(!r.seq().exitCallPending());
            QCOMPARE(r.seq().exitRetryPending(), !accepted);
            if (accepted) {
                QCOMPARE(r.view.quits, QList<int>{0});
                continue;
            }
            QCOMPARE(r.view.fontSize, kRemainingFontNotice);
            if (stop) {
                r.engine.stopRun();
                QVERIFY(!r.seq().exitRetryPending());
                r.seq().exitRetryTimeout();  // a late timeout changes nothing
                QCOMPARE(r.fake.power.exitCalls.size(), 1);
                QCOMPARE(r.view.quits, QList<int>{0});
                continue;
            }
            // The retry's answer is awaited as well before the program ends.
            r.seq().exitRetryTimeout();
            QCOMPARE(r.fake.power.exitCalls,
                     (QList<FakeSessionPower::ExitCall>{{SessionEnd::Reboot}, {SessionEnd::Reboot}}));
            QVERIFY(r.view.quits.isEmpty());
            QCOMPARE(r.fake.power.answerHeld(), 1);
            QCOMPARE(r.view.quits, QList<int>{0});
        }
    }

    // The stop button works while the answer is awaited; the late answer
    // brings no retry, no notice, no resume handling and no second end.
    void answerAfterStopChangesNothing()
    {
        // A reboot accepted (the stop ends the program), a standby refused (it does not).
        for (const bool reboot : {true, false}) {
            Rig r(QStringLiteral("0"), int(reboot ? OperationKind::Reboot : OperationKind::Sleep));
            r.fake.power.holdAnswers = true;
            r.fake.power.exitAnswer = true;
            r.fake.power.suspendAnswer = false;
            r.runToAction();
            r.engine.stopRun();
            QVERIFY(r.idle());
            QCOMPARE(r.view.quits, reboot ? QList<int>{0} : QList<int>{});
            const QStringList calls = r.fake.power.log;
            const QStringList shown = r.view.remainingHistory;
            QCOMPARE(r.fake.power.answerHeld(), 1);
            r.tick(12);
            QCOMPARE(r.fake.power.log, calls);
            QCOMPARE(r.view.remainingHistory, shown);
            QVERIFY(!r.seq().exitRetryPending());
            QCOMPARE(r.view.quits, reboot ? QList<int>{0} : QList<int>{});
        }
    }

    void resumeOnlyWaits()
    {
        for (const bool stop : {false, true}) {
            Rig r;
            r.state.job.ResumeOnly = 1;
            r.resumeAt(kMonday.addSecs(300));
            r.state.job.AppCommand = QStringLiteral("/opt/tool");
            r.state.job.ResumeKeepState = 0;
            r.engine.startRun();
            QCOMPARE(r.view.remaining(), QStringLiteral("復帰待ち中"));
            QVERIFY(r.view.windowRequests.contains(QStringLiteral("tray")));
            QCOMPARE(r.fake.wakeTimer.armCalls, QList<qint64>{300});
            QVERIFY(!r.engine.countdownActive());
            if (stop) {
                r.engine.stopRun();
                QCOMPARE(r.fake.wakeTimer.cancelCalls, QList<int>{1});
                QVERIFY(!r.view.locked);
                QCOMPARE(r.engine.runState(), RunState::Idle);
            }
            r.fake.wakeTimer.fire(1);
            QVERIFY(r.fake.power.suspendCalls.isEmpty());
            QCOMPARE(r.fake.launcher.calls.size(), stop ? 0 : 1);
            QCOMPARE(r.fake.power.monitorCalls.isEmpty(), stop);
            QCOMPARE(r.view.quits, stop ? QList<int>{} : QList<int>{0});
        }
    }

    // An excluded resume weekday cancels the run with a red popup; with
    // NoAlert the run goes on without resume: no wake timer.
    void resumeWeekdayExcluded()
    {
        for (const int noAlert : {0, 1}) {
            Rig r(QStringLiteral("0"), int(OperationKind::Sleep));
            r.resumeAt(QDateTime(QDate(2026, 12, 13), QTime(7, 30)));  // a Sunday
            r.state.job.setResumeWeekday(1, 0);
            r.state.job.NoAlert = noAlert;
            r.engine.startRun();
            QCOMPARE(r.view.popups.size(), noAlert ? 0 : 1);
            if (!noAlert) {
                QVERIFY(r.view.popups[0].request.red);
                QVERIFY(r.idle());
                continue;
            }
            QCOMPARE(r.state.job.ResumeEnabled, 0);
            r.tick(5);
            QCOMPARE(r.fake.power.suspendCalls.size(), 1);
            QVERIFY(r.fake.wakeTimer.armCalls.isEmpty());
        }
    }

    // The capture before the action: the window hides, the action waits for
    // the capture's answer (or its time limit), and a plain notice says
    // whether the file was made. Acting withdraws the warning notice, also
    // when the notification service answers only after that.
    void captureBeforeAction()
    {
        // Written or failed, and the answer: 0 at once, 1 later, 2 never (the limit gives it up).
        const QList<std::pair<bool, int>> cases{{true, 0}, {false, 0}, {true, 1}, {true, 2}};
        for (const auto &[written, answer] : cases) {
            Rig r(QStringLiteral("0"), int(OperationKind::Reboot));
            r.state.job.CaptureOnExit = 1;
            r.state.CaptureFolder = QStringLiteral("/home/u/Desktop/");
            r.fake.capture.answer = written;
            r.fake.capture.hold = answer != 0;
            r.fake.notifier.holdIds = true;
            r.runToAction();
            QCOMPARE(r.view.windowRequests.last(), QStringLiteral("hide"));
            r.fake.notifier.answerHeld();
            QCOMPARE(r.fake.notifier.closed, QList<quint32>{1});
            r.engine.captureStep();
            QCOMPARE(r.fake.capture.names, QStringList{QStringLiteral("/home/u/Desktop/Cap120005")});
            if (answer != 0) {
                QVERIFY(r.view.popups.isEmpty());
                if (answer == 1)
                    r.fake.capture.answerHeld();
                else
                    r.engine.captureTimedOut();
            }
            r.fake.capture.answerHeld();  // an answer after giving up changes nothing
            QCOMPARE(r.view.popups.size(), 1);
            QString text = QStringLiteral("/home/u/Desktop/ にキャプチャーファイル\r\n/home/u/Desktop/Cap120005.jpg ") +
                           (written && answer != 2 ? QStringLiteral("を作成しました。") : QStringLiteral("を作成できませんでした。"));
            QCOMPARE(r.view.popups[0].request.text, text);
            const DesktopNotification n = r.fake.notifier.sent.value(1);
            QCOMPARE(n.body, text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            QVERIFY(!n.critical && n.actions.isEmpty());
            QCOMPARE(r.fake.power.exitCalls, (QList<FakeSessionPower::ExitCall>{{SessionEnd::Reboot}}));
        }
    }

    void stopDuringCaptureTakesNoAction()
    {
        for (const bool captureStarted : {false, true}) {
            Rig r(QStringLiteral("0"), int(OperationKind::Reboot));
            r.state.job.CaptureOnExit = 1;
            r.fake.capture.hold = true;
            r.runToAction();
            if (captureStarted)
                r.engine.captureStep();
            r.engine.stopRun();
            r.engine.captureStep();
            r.fake.capture.answerHeld();
            QVERIFY(r.fake.power.exitCalls.isEmpty());
            QVERIFY(r.view.quits.isEmpty());
            QVERIFY(!r.view.locked);
            QCOMPARE(r.view.windowRequests.last(), QStringLiteral("show"));
        }
    }

    void windowClose()
    {
        // Running with the tray icon on: to the tray; running without it: stop and close; idle: close.
        const QList<std::pair<bool, int>> cases{{true, 1}, {true, 0}, {false, 1}};
        for (const auto &[running, tray] : cases) {
            Rig r;
            r.state.job.TrayIcon = tray;
            r.state.cl.AutoStart = true;
            if (running)
                r.engine.startRun();
            r.view.windowRequests.clear();
            const bool closes = !running || !tray;
            QCOMPARE(r.engine.closeRequested(), closes);
            QVERIFY(r.state.cl.AutoStart);  // unlike the stop button: kept for the unload
            if (closes) {
                QVERIFY(r.idle());
                QVERIFY(r.view.windowRequests.contains(QStringLiteral("untray")));
            } else {
                QVERIFY(r.engine.countdownActive());
                QCOMPARE(r.view.windowRequests, QStringList{QStringLiteral("tray")});
            }
        }
    }

    // The load timer, one shot from the event loop after loading, reads the
    // settings and starts what the command line asked for.
    void loadTimerAutoStart()
    {
        Rig r;
        int loads = 0;
        int multi = 0;
        r.engine.setLoadHook([&] { ++loads; });
        r.engine.setMultiStartHook([&] { ++multi; });
        r.engine.loadTimerTick();  // no auto: nothing starts
        QCOMPARE(loads, 1);
        QVERIFY(!r.engine.countdownActive());
        r.state.cl.AutoStart = true;
        r.state.job.MultiEnabled = 1;
        r.engine.loadTimerTick();
        QCOMPARE(multi, 1);
        QVERIFY(!r.engine.countdownActive());
        r.state.job.MultiEnabled = 0;
        r.engine.startLoadTimer();
        QVERIFY(!r.engine.countdownActive());
        QTRY_VERIFY(r.engine.countdownActive());
        QCOMPARE(r.engine.targetTime(), r.clock.now().addSecs(600));
    }
};

QTEST_GUILESS_MAIN(TestRunEngine)
#include "tst_run_engine.moc"
