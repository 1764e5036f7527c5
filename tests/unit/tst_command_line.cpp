#include "core/command_line.h"
#include "core/job_edit.h"
#include "app/long_options.h"
#include "core/run_plan.h"
#include "core/text.h"
#include "settings/defaults.h"

#include <QTest>
#include <cfloat>

using namespace zk;

namespace {

// Sunday 2026-12-06 08:00:00.
const QDateTime kNow(QDate(2026, 12, 6), QTime(8, 0, 0));

struct Run {
    AppState state;
    ParseResult result;
    QStringList launched;
    bool hibernation = true;
    bool launchOk = true;

    Run &parse(const QString &args)
    {
        ParseHooks hooks;
        hooks.setDefaults = [](AppState &s) { SetDefaults(s, kNow, QStringLiteral("/home/u/Desktop")); };
        hooks.launch = [this](const QString &p, const QString &a) {
            launched << p + QLatin1Char('|') + a;
            return launchOk;
        };
        hooks.hibernationAllowed = [this] { return hibernation; };
        result = ParseCommandLine(args, state, kNow, hooks);
        return *this;
    }
};

}  // namespace

class TstCommandLine : public QObject {
    Q_OBJECT
private slots:
    void nothingToParse()
    {
        for (const QString &args : {QString(), QStringLiteral("   "), QStringLiteral("word without hyphen")}) {
            Run r;
            r.parse(args);
            QVERIFY(!r.result.parsed);
            QVERIFY(!r.result.error);
            QVERIFY(r.state.job == JobSettings());
        }
    }

    void autoResetsEarlierParameters()
    {
        Run a;
        a.parse(QStringLiteral("-auto -reboot -time 10"));
        QCOMPARE(a.state.job.Operation, 1);
        QCOMPARE(a.state.job.DelayMinutes, QStringLiteral("  10"));
        QVERIFY(a.state.cl.AutoStart);
        QCOMPARE(a.result.caption, CaptionFor(QStringLiteral("再起動")));

        Run b;
        b.parse(QStringLiteral("-reboot -auto -time 10"));
        QCOMPARE(b.state.job.Operation, 0);
        QCOMPARE(b.state.job.DelayMinutes, QStringLiteral("  10"));

        // Values the defaults leave alone survive "auto".
        Run c;
        c.state.job.MultiEnabled = 1;
        c.state.job.ResumeWeekdays = {0, 1, 1, 1, 1, 1, 0};
        c.state.job.Force = 1;
        c.parse(QStringLiteral("-a"));
        QCOMPARE(c.state.job.MultiEnabled, 1);
        QCOMPARE(c.state.job.ResumeWeekdays[0], 0);
        QCOMPARE(c.state.job.Force, 0);
        QCOMPARE(c.result.caption, CommandLineCaption());
    }

    void aliases_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<int>("operation");
        QTest::newRow("s") << "-r -s" << 0;
        QTest::newRow("r") << "-r" << 1;
        QTest::newRow("l") << "-l" << 2;
        QTest::newRow("h") << "-h" << 3;
        QTest::newRow("hidernation") << "-hidernation" << 3;
        QTest::newRow("b") << "-b" << 4;
        QTest::newRow("upper case") << "-REBOOT" << 1;
    }
    void aliases()
    {
        QFETCH(QString, args);
        QFETCH(int, operation);
        Run r;
        r.parse(args);
        QCOMPARE(r.state.job.Operation, operation);
    }

    void operationsDependOnPlatform()
    {
        Run noHibernate;
        noHibernate.hibernation = false;
        noHibernate.parse(QStringLiteral("-reboot -hibernation"));
        QCOMPARE(noHibernate.state.job.Operation, 1);
        QVERIFY(noHibernate.result.messages.isEmpty());

        Run nine;
        nine.state.platform = PlatformVersion{1, 4};
        nine.state.operations = BuildOperationList(nine.state.platform);
        nine.parse(QStringLiteral("-standby"));
        QCOMPARE(nine.state.job.Operation, 0);
        nine.parse(QStringLiteral("-hibernation"));
        QCOMPARE(nine.state.job.Operation, 0);

        // NT 3 has no fourth and fifth entry to select.
        Run nt3;
        nt3.state.platform = PlatformVersion{2, 3};
        nt3.state.operations = BuildOperationList(nt3.state.platform);
        nt3.parse(QStringLiteral("-standby"));
        QCOMPARE(nt3.state.job.Operation, 0);
    }

    void operationChangeClearsResume()
    {
        Run r;
        r.parse(QStringLiteral("-resume 30 -standby"));
        QCOMPARE(r.state.job.ResumeEnabled, 0);
        QCOMPARE(r.state.job.ResumeAfterMinutes, QStringLiteral(" 30"));
        Run s;
        s.parse(QStringLiteral("-standby -resume 30"));
        QCOMPARE(s.state.job.ResumeEnabled, 1);
        QCOMPARE(s.state.job.ResumeAtClock, 0);
    }

    void timeParameter()
    {
        Run r;
        r.parse(QStringLiteral("-time 8:05"));
        QCOMPARE(r.state.job.TimingMode, 1);
        QCOMPARE(r.state.job.ClockHour, QStringLiteral("8"));
        QCOMPARE(r.state.job.ClockMinute, QStringLiteral("5"));

        Run minutes;
        minutes.state.job.TimingMode = 1;
        minutes.parse(QStringLiteral("-t 1440"));
        QCOMPARE(minutes.state.job.DelayMinutes, QStringLiteral("1440"));
        QCOMPARE(minutes.state.job.TimingMode, 1);  // the mode is left alone

        Run outOfRange;
        outOfRange.parse(QStringLiteral("-time 24:00"));
        QCOMPARE(outOfRange.state.job.ClockHour, QStringLiteral("24"));

        Run twoColons;
        twoColons.parse(QStringLiteral("-time 1:2:3"));
        QCOMPARE(twoColons.state.job.TimingMode, 0);
        QCOMPARE(twoColons.state.job.DelayMinutes, QStringLiteral("  90"));

        Run bare;
        bare.parse(QStringLiteral("-time"));
        QVERIFY(!bare.result.error);
    }

    void parameterErrors_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("bad clock") << "-reboot -time 8:x -force"
                                   << QStringList{"時刻の記述が不正です！\r\nパラメーターエラー", "パラメータエラー\r\ntime 8:x"};
        QTest::newRow("bad minutes") << "-time ten"
                                     << QStringList{"時間が不正です！\r\nパラメーターエラー", "パラメータエラー\r\ntime ten"};
        QTest::newRow("exec_week without value") << "-exec_week" << QStringList{"パラメータエラー\r\nexec_week"};
        QTest::newRow("weekday mask too long") << "-resume_week 11111111" << QStringList{"パラメータエラー\r\nresume_week 11111111"};
        QTest::newRow("lead time beyond 16 bits") << "-popup_time 40000" << QStringList{"パラメータエラー\r\npopup_time 40000"};
        // Beyond 64 bits a number is not 0 but beyond every limit.
        const QString e24 = QStringLiteral("1000000000000000000000000");
        QTest::newRow("lead time beyond 64 bits") << "-popup_time " + e24 << QStringList{"パラメータエラー\r\npopup_time " + e24};
        QTest::newRow("zero time beyond 64 bits") << "-zero_time " + e24 << QStringList{"パラメータエラー\r\nzero_time " + e24};
        QTest::newRow("recount beyond 64 bits") << "-resume_recount " + e24
                                                << QStringList{"パラメータエラー\r\nresume_recount " + e24};
        QTest::newRow("resume minute beyond 64 bits") << "-resume 7:" + e24 << QStringList{"パラメータエラー\r\nresume 7:" + e24};
    }
    void parameterErrors()
    {
        QFETCH(QString, args);
        QFETCH(QStringList, texts);
        Run r;
        r.parse(args);
        QVERIFY(r.result.error);
        QStringList got;
        for (const UserMessage &m : r.result.messages) {
            QCOMPARE(m.title, ProgramTitle());
            got << m.text;
        }
        QCOMPARE(got, texts);
        // Parameters after the failing one are not applied.
        QCOMPARE(r.state.job.Force, 0);
    }

    // Numbers taken into boxes stay plain digits that read back as the value
    // given, however large; beyond a double they read as the largest one.
    void largeNumbersInBoxes_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<double>("value");
        QTest::newRow("sixteen digits") << "1000000000000000" << 1e15;
        QTest::newRow("twenty-one digits") << "123456789012345678901" << 123456789012345678901.0;
        QTest::newRow("beyond a double") << QStringLiteral("1") + QString(400, QLatin1Char('0')) << DBL_MAX;
    }
    void largeNumbersInBoxes()
    {
        QFETCH(QString, word);
        QFETCH(double, value);
        Run minutes;
        minutes.parse(QStringLiteral("-time ") + word + QStringLiteral(" -battery ") + word);
        Run clock;
        clock.parse(QStringLiteral("-time 7:") + word + QStringLiteral(" -resume ") + word);
        Run cpu;
        cpu.parse(QStringLiteral("-cpu_utl ") + word + QLatin1Char(' ') + word);
        const JobSettings &m = minutes.state.job;
        const JobSettings &c = clock.state.job;
        const JobSettings &u = cpu.state.job;
        for (const QString &box : {m.DelayMinutes, m.IdleSeconds, c.ClockMinute, c.ResumeAfterMinutes, u.CpuLowerLimit,
                                   u.CpuAverageSeconds}) {
            QVERIFY2(!box.contains(QLatin1Char('e')), qPrintable(box));
            QCOMPARE(LeadingNumber(box), value);
        }
    }

    // A large number given on the command line meets the same limit as a
    // number just over it.
    void largeNumbersMeetTheLimits_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("refusal");
        const QString minutes = QStringLiteral("分後：14400以下の数値を入力");
        QTest::newRow("14401 minutes") << "-auto -time 14401" << minutes;
        QTest::newRow("sixteen digits") << "-auto -time 1000000000000000" << minutes;
        QTest::newRow("beyond a double") << QStringLiteral("-auto -time 1") + QString(400, QLatin1Char('0')) << minutes;
        QTest::newRow("resume after sixteen digits") << "-auto -standby -time 5 -resume 1000000000000000"
                                                     << "復帰までの時間が長過ぎます。";
    }
    void largeNumbersMeetTheLimits()
    {
        QFETCH(QString, args);
        QFETCH(QString, refusal);
        Run r;
        r.parse(args);
        QVERIFY(!r.result.error);
        const RunPlan p = PlanStart(r.state, kNow, StartEnvironment{});
        QCOMPARE(p.outcome, PlanOutcome::Refused);
        QCOMPARE(p.text, refusal);
    }

    void phrasesArriveLowerCase()
    {
        Run r;
        r.parse(QStringLiteral("-appear Error Occurred"));
        QCOMPARE(r.state.job.MonitorEnabled, 1);
        QCOMPARE(r.state.job.MonitorKind, 0);
        QCOMPARE(r.state.job.PhraseEvent, 0);
        QCOMPARE(r.state.job.MonitorPhrase, QStringLiteral("error occurred"));

        Run d;
        d.parse(QStringLiteral("-disappear <a -b  c>"));
        QCOMPARE(d.state.job.PhraseEvent, 1);
        QCOMPARE(d.state.job.MonitorPhrase, QStringLiteral("a -b  c"));

        Run empty;
        empty.parse(QStringLiteral("-appear"));
        QCOMPARE(empty.state.job.MonitorEnabled, 0);
    }

    void bracketsProtectSwitches()
    {
        Run r;
        r.parse(QStringLiteral("-resume_ap <prog.exe -x -y 2>"));
        QCOMPARE(r.state.job.AppCommand, QStringLiteral("prog.exe -x -y 2"));
        QCOMPARE(r.state.cl.ResumeAppCommand, QStringLiteral("prog.exe -x -y 2"));
        Run open;
        open.parse(QStringLiteral("-resume_ap prog.exe -x -y 2"));
        QCOMPARE(open.state.job.AppCommand, QStringLiteral("prog.exe"));
        Run clear;
        clear.state.job.AppCommand = QStringLiteral("old");
        clear.parse(QStringLiteral("-resume_ap"));
        QCOMPARE(clear.state.job.AppCommand, QString());
    }

    void cpuAndBattery()
    {
        Run one;
        one.parse(QStringLiteral("-cpu_utl 5"));
        QCOMPARE(one.state.job.MonitorKind, 1);
        QCOMPARE(one.state.job.CpuLowerLimit, QStringLiteral("5"));
        QCOMPARE(one.state.job.CpuAverageSeconds, QStringLiteral(" 20"));
        Run two;
        two.parse(QStringLiteral("-cpu_utl 2.5 60"));
        QCOMPARE(two.state.job.CpuLowerLimit, QStringLiteral("2.5"));
        QCOMPARE(two.state.job.CpuAverageSeconds, QStringLiteral("60"));
        Run three;
        three.parse(QStringLiteral("-cpu_utl 1 60 9"));
        QCOMPARE(three.state.job.CpuLowerLimit, QStringLiteral("1"));
        QCOMPARE(three.state.job.CpuAverageSeconds, QStringLiteral(" 20"));
        Run kindOnly;
        kindOnly.parse(QStringLiteral("-battery"));
        QCOMPARE(kindOnly.state.job.MonitorEnabled, 1);
        QCOMPARE(kindOnly.state.job.MonitorKind, 2);
        QCOMPARE(kindOnly.state.job.IdleSeconds, QStringLiteral(" 30"));
        Run proc;
        proc.parse(QStringLiteral("-cpu_proc Firefox"));
        QCOMPARE(proc.state.job.CpuProcess, QStringLiteral("? firefox"));
        QCOMPARE(proc.state.monitorMode(), MonitorMode::CpuProc);
    }

    void flags_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<int>("topmost");
        QTest::addColumn<int>("beep");
        QTest::addColumn<int>("monitorOn");
        QTest::newRow("bare") << "-topmost -no_beep -monitor_off" << 1 << 0 << 0;
        QTest::newRow("yes") << "-topmost y -no_beep y -monitor_off y" << 1 << 0 << 0;
        QTest::newRow("no") << "-topmost n -no_beep n -monitor_off n" << 0 << 1 << 1;
    }
    void flags()
    {
        QFETCH(QString, args);
        QFETCH(int, topmost);
        QFETCH(int, beep);
        QFETCH(int, monitorOn);
        Run r;
        r.state.job.Topmost = 1 - topmost;
        r.state.job.CountdownSound = 1 - beep;
        r.state.job.ResumeMonitorOn = 1 - monitorOn;
        r.parse(args);
        QCOMPARE(r.state.job.Topmost, topmost);
        QCOMPARE(r.state.job.CountdownSound, beep);
        QCOMPARE(r.state.job.ResumeMonitorOn, monitorOn);
    }

    void commandLineValues()
    {
        Run r;
        r.parse(QStringLiteral("-exec_week 01 -resume_recount 0 -popup_time 7.5 -zero_time 2 -resume_ap_psw -nodisp "
                               "-resume_nohold -multi -f"));
        QCOMPARE(r.state.cl.ExecWeekMask, QStringLiteral("0100000"));
        QCOMPARE(r.state.cl.ResumeRecountMinutes, 1);
        QCOMPARE(r.state.cl.PopupLeadSeconds, 8);
        QCOMPARE(r.state.cl.ZeroTimeSeconds, 2);
        QVERIFY(r.state.cl.HideBeforeSuspend);
        QVERIFY(r.state.cl.NoDisplay);
        QCOMPARE(r.state.job.ResumeKeepState, 0);
        QCOMPARE(r.state.job.MultiEnabled, 1);
        QCOMPARE(r.state.job.Force, 1);
        Run bare;
        bare.parse(QStringLiteral("-resume_recount"));
        QCOMPARE(bare.state.cl.ResumeRecountMinutes, 1);
    }

    void resumeAtClock()
    {
        // 07:30 at 08:00 on Sunday is Monday 07:30; Monday's box decides.
        Run r;
        r.state.job.AppCommand = QStringLiteral("before");
        r.parse(QStringLiteral("-standby -resume 7:30 -resume_ap <app.exe -q>"));
        QCOMPARE(r.state.cl.ResumeTime, QDateTime(QDate(2026, 12, 7), QTime(7, 30)));
        QCOMPARE(r.state.job.ResumeEnabled, 1);
        QCOMPARE(r.state.job.ResumeAtClock, 1);
        QCOMPARE(r.state.job.ResumeDateParts, (std::array<QString, 5>{"2026", "12", "7", "7", "30"}));
        QCOMPARE(r.state.job.AppCommand, QStringLiteral("app.exe -q"));

        Run off;
        off.state.job.setResumeWeekday(2, 0);
        off.parse(QStringLiteral("-standby -resume 7:30"));
        QCOMPARE(off.state.job.ResumeEnabled, 0);
        QVERIFY(off.state.cl.ResumeTime.isValid());

        Run later;
        later.parse(QStringLiteral("-standby -resume 8:00"));
        QCOMPARE(later.state.cl.ResumeTime, QDateTime(QDate(2026, 12, 6), QTime(8, 0)));

        Run week;
        week.parse(QStringLiteral("-resume_week 0x1"));
        QCOMPARE(week.state.job.ResumeWeekdays, (std::array<int, 7>{0, 1, 1, 1, 1, 1, 1}));
    }

    void resumeList()
    {
        Run r;
        bool called = false;
        ParseHooks hooks;
        hooks.applyWeeklyResumeList = [&](AppState &s) {
            called = true;
            s.cl.ResumeTime = QDateTime(QDate(2026, 12, 8), QTime(6, 15));
            s.cl.ResumeAppCommand = QStringLiteral("wake.sh");
        };
        ParseCommandLine(QStringLiteral("-standby -resume_list"), r.state, kNow, hooks);
        QVERIFY(called);
        QCOMPARE(r.state.job.ResumeEnabled, 1);
        QCOMPARE(r.state.job.AppCommand, QStringLiteral("wake.sh"));
        QCOMPARE(r.state.job.ResumeDateParts[2], QStringLiteral("8"));
    }

    void apStartsAtOnce()
    {
        Run r;
        r.parse(QStringLiteral("-ap <\"/opt/my app/run\" -v x> -reboot"));
        QCOMPARE(r.launched, QStringList{"\"/opt/my app/run\"|-v x"});
        QCOMPARE(r.state.cl.ApPath, QStringLiteral("\"/opt/my app/run\""));
        QCOMPARE(r.state.job.Operation, 1);

        Run fail;
        fail.launchOk = false;
        fail.parse(QStringLiteral("-ap missing arg"));
        QVERIFY(fail.result.error);
        QCOMPARE(fail.result.messages.first().text,
                 QStringLiteral("パラメーターエラー\r\nap       = missing\r\nパラメータ= arg"));
    }

    void unknownNamesIgnored()
    {
        Run r;
        r.parse(QStringLiteral("-bogus 1 2 - -reboot"));
        QVERIFY(!r.result.error);
        QCOMPARE(r.state.job.Operation, 1);
    }

    void joinArguments()
    {
        QCOMPARE(JoinArguments({"-ap", "/tmp/my prog", "-x"}), QStringLiteral("-ap \"/tmp/my prog\" -x"));
        QCOMPARE(JoinArguments({"<a b>", "\"c d\""}), QStringLiteral("<a b> \"c d\""));
        Run r;
        r.parse(JoinArguments({"-ap", "/tmp/my prog", "-reboot"}));
        QCOMPARE(r.state.cl.ApPath, QStringLiteral("\"/tmp/my prog\""));
        QCOMPARE(r.state.job.Operation, 1);
    }

    void longOptions()
    {
        const LongOptions o = TakeLongOptions({"--conf", "/x/Conf.txt", "-auto", "--explain", "--dry-run", "-r"});
        QCOMPARE(o.conf, QStringLiteral("/x/Conf.txt"));
        QVERIFY(o.explain && o.dryRun && !o.save);
        QCOMPARE(o.rest, (QStringList{"-auto", "-r"}));
        QVERIFY(!TakeLongOptions({"--conf"}).error.isEmpty());
        QVERIFY(!TakeLongOptions({"--bogus"}).error.isEmpty());
    }

    void editsOfTheRecord()
    {
        JobSettings j;
        SetTimingMode(j, 1, kNow);
        QCOMPARE(j.ClockHour, QStringLiteral("8"));
        QCOMPARE(j.ClockMinute, QStringLiteral("0"));
        j.ClockHour = QString();
        j.ClockMinute = QStringLiteral("5");
        SetTimingMode(j, 0, kNow);
        QCOMPARE(j.TimingMode, 0);
        QCOMPARE(j.ClockHour, QString());

        j.ResumeDateParts = {"2020", "1", "2", "3", "4"};
        FixResumeDate(j, kNow.date());
        QCOMPARE(j.ResumeDateParts, (std::array<QString, 5>{"2026", "12", "6", "3", "4"}));
        j.ResumeDateParts = {"2027", "1", "2", "3", "4"};
        FixResumeDate(j, kNow.date());
        QCOMPARE(j.ResumeDateParts[0], QStringLiteral("2027"));
    }

    void operationLists()
    {
        QCOMPARE(BuildOperationList({1, 4}).size(), 3);
        QCOMPARE(BuildOperationList({2, 3}).size(), 3);
        QCOMPARE(BuildOperationList({2, 5}).value(4), QStringLiteral("スタンバイ"));
        QCOMPARE(BuildOperationList({2, 6}).value(4), QStringLiteral("スリープ"));
        QCOMPARE(BuildOperationList(kLinuxPlatform),
                 (QStringList{"シャットダウン", "再起動", "ログオフ", "休止", "スリープ"}));
        QCOMPARE(VersionText(2, 4, 5), QStringLiteral("2.45"));
    }
};

QTEST_APPLESS_MAIN(TstCommandLine)
#include "tst_command_line.moc"
