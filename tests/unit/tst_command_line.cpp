// The command line: the parser (parameters, errors, the long options and the
// language), and the generated line, whose exact text for typical settings
// must parse back to the same run, or there must be no line at all.
#include "core/command_line.h"
#include "core/command_line_generator.h"
#include "app/long_options.h"
#include "app/translations.h"
#include "monitors/power_texts.h"
#include "shell/tray_text.h"
#include "core/text.h"
#include "settings/defaults.h"
#include "support/same_run.h"
#include "support/state_fields.h"

#include <QHash>
#include <QTest>
#include <QTranslator>
#include <cfloat>
#include <functional>

using Edit = std::function<void(zk::AppState &)>;
Q_DECLARE_METATYPE(Edit)

using namespace zk;

namespace {

// Sunday 2026-12-06 08:00:00.
const QDateTime kNow(QDate(2026, 12, 6), QTime(8, 0, 0));
const QString kDesktop = QStringLiteral("/home/u/Desktop");

struct Run {
    AppState state;
    ParseResult result;
    QStringList launched;
    bool hibernation = true;
    bool launchOk = true;

    Run &parse(const QString &args)
    {
        ParseHooks hooks;
        hooks.setDefaults = [](AppState &s) { SetDefaults(s, kNow, kDesktop); };
        hooks.launch = [this](const QString &p, const QString &a) {
            launched << p + QLatin1Char('|') + a;
            return launchOk;
        };
        hooks.hibernationAllowed = [this] { return hibernation; };
        result = ParseCommandLine(args, state, kNow, hooks);
        return *this;
    }
};

AppState Edited(const Edit &edit)
{
    AppState s;
    SetDefaults(s, kNow, kDesktop);
    if (edit)
        edit(s);
    return s;
}

// Why the line, run in a new process with the same settings file, does not
// start the same run as the settings ("" when it does).
QString RunDifference(const AppState &original, const QString &line)
{
    Run r;
    r.state = original;
    r.state.cl = CommandLineValues();
    if (r.parse(line).result.error)
        return QStringLiteral("a parameter error");
    if (!r.state.cl.AutoStart)
        return QStringLiteral("no automatic start");
    QString why;
    return zktest::SameRun(original, r.state, &why) ? QString() : why;
}

// Sets each "Name=value" of the state.
Edit Set(const QStringList &entries)
{
    return [entries](AppState &s) { zktest::StateField::Apply(s, entries); };
}

}  // namespace

class TstCommandLine : public QObject {
    Q_OBJECT
private slots:
    void nothingToParse()
    {
        for (const QString &args : {QString(), QStringLiteral("   ")}) {
            Run r;
            r.parse(args);
            QVERIFY(!r.result.parsed && !r.result.error);
            QVERIFY(r.state.job == JobSettings());
        }
    }

    void autoResetsEarlierParameters()
    {
        Run a;
        a.parse(QStringLiteral("-auto -reboot -time 10"));
        QCOMPARE(a.state.job.Operation, 1);
        QVERIFY(a.state.cl.AutoStart);
        QCOMPARE(a.result.caption, CaptionFor(QStringLiteral("再起動")));

        Run b;
        b.parse(QStringLiteral("-reboot -auto -time 10"));
        QCOMPARE(b.state.job.Operation, 0);
        QCOMPARE(b.state.job.DelayMinutes, QStringLiteral("  10"));

        Run c;
        c.state.job.Force = 1;
        c.parse(QStringLiteral("-a"));
        QCOMPARE(c.state.job.Force, 0);
        QCOMPARE(c.result.caption, CommandLineCaption());

        // Hibernation where it is not allowed is passed over, without a message.
        Run d;
        d.hibernation = false;
        d.parse(QStringLiteral("-reboot -hibernation"));
        QCOMPARE(d.state.job.Operation, 1);
        QVERIFY(d.result.messages.isEmpty());
    }

    // Parameters and the values they leave: "Name=value" set before the parse,
    // and expected after it (a value may start with blanks).
    void parameters_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("args");
        QTest::addColumn<QStringList>("after");
        const auto row = [](const char *tag, const char *args, const QStringList &after, const QStringList &before = {}) {
            QTest::newRow(tag) << before << QString::fromUtf8(args) << after;
        };
        // Operation words and their short forms.
        row("s", "-r -s", {"Operation=0"});
        row("r", "-r", {"Operation=1"});
        row("l", "-l", {"Operation=2"});
        row("h", "-h", {"Operation=3"});
        row("hidernation", "-hidernation", {"Operation=3"});
        row("b", "-b", {"Operation=4"});
        row("upper case", "-REBOOT", {"Operation=1"});
        // A change of operation after "resume" clears it.
        row("operation after resume", "-resume 30 -standby", {"ResumeEnabled=0", "ResumeAfterMinutes= 30"});
        row("resume after operation", "-standby -resume 30", {"ResumeEnabled=1", "ResumeAtClock=0"});
        // time: a clock time, or minutes that leave the mode alone.
        row("time at a clock time", "-time 8:05", {"TimingMode=1", "ClockHour=8", "ClockMinute=5"});
        row("t in minutes", "-t 1440", {"DelayMinutes=1440", "TimingMode=1"}, {"TimingMode=1"});
        row("time 24:00 taken as written", "-time 24:00", {"ClockHour=24"});
        // Phrases arrive lower case; brackets keep their hyphens.
        row("appear", "-appear Error Occurred",
            {"MonitorEnabled=1", "MonitorKind=0", "PhraseEvent=0", "MonitorPhrase=error occurred"});
        row("disappear in brackets", "-disappear <a -b  c>", {"PhraseEvent=1", "MonitorPhrase=a -b  c"});
        row("resume_ap in brackets", "-resume_ap <prog.exe -x -y 2>",
            {"AppCommand=prog.exe -x -y 2", "ResumeAppCommand=prog.exe -x -y 2"});
        row("resume_ap without value clears", "-resume_ap", {"AppCommand="}, {"AppCommand=old"});
        // CPU and battery.
        row("cpu_utl limit", "-cpu_utl 5", {"MonitorKind=1", "CpuLowerLimit=5", "CpuAverageSeconds= 20"});
        row("cpu_utl limit and seconds", "-cpu_utl 2.5 60", {"CpuLowerLimit=2.5", "CpuAverageSeconds=60"});
        row("cpu_utl three words", "-cpu_utl 1 60 9", {"CpuLowerLimit=1", "CpuAverageSeconds= 20"});
        row("battery without value", "-battery", {"MonitorEnabled=1", "MonitorKind=2", "IdleSeconds= 30"});
        row("cpu_proc", "-cpu_proc Firefox",
            {"CpuProcess=? firefox", QStringLiteral("MonitorMode=%1").arg(int(MonitorMode::CpuProc))});
        // Flags: bare, y and n.
        const QStringList flagsOn{"Topmost=0", "CountdownSound=1", "ResumeMonitorOn=1"};
        const QStringList flagsOff{"Topmost=1", "CountdownSound=0", "ResumeMonitorOn=0"};
        row("flags bare", "-topmost -no_beep -monitor_off", flagsOff, flagsOn);
        row("flags yes", "-topmost y -no_beep y -monitor_off y", flagsOff, flagsOn);
        row("flags no", "-topmost n -no_beep n -monitor_off n", flagsOn, flagsOff);
        // Values only the command line gives.
        row("command-line values",
            "-exec_week 01 -resume_recount 0 -popup_time 7.5 -zero_time 2 -resume_ap_psw -nodisp -resume_nohold -multi -f",
            {"ExecWeekMask=0100000", "ResumeRecountMinutes=1", "PopupLeadSeconds=8", "ZeroTimeSeconds=2",
             "HideBeforeSuspend=true", "NoDisplay=true", "ResumeKeepState=0", "MultiEnabled=1", "Force=1"});
        row("resume_recount without value", "-resume_recount", {"ResumeRecountMinutes=1"});
    }
    void parameters()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, args);
        QFETCH(QStringList, after);
        Run r;
        zktest::StateField::Apply(r.state, before);
        r.parse(args);
        QVERIFY(r.result.parsed);
        QVERIFY(!r.result.error);
        for (const QString &a : after)
            QCOMPARE(zktest::StateField::Entry(r.state, a), a);
    }

    // Every word of the grammar is taken: with its value where it needs one
    // (and refused without it), bare and with a surplus word where it does not.
    void everyWordOfTheGrammar()
    {
        const QStringList bare{"auto", "a", "multi", "shutdown", "s", "reboot", "r", "logoff", "l", "hibernation", "h",
                               "hidernation", "standby", "b", "force", "f", "cpu_utl", "cpu_proc", "battery", "resume_ap",
                               "resume_ap_psw", "resume_only", "resume_list", "resume_nohold", "resume_recount", "nodisp",
                               "n", "topmost", "monitor_off", "minimize", "tasktray", "no_beep", "ie", "capture", "nodisp_alert"};
        const QStringList valued{"exec_week 0111110", "time 10", "t 8:30", "appear done", "disappear <a -b>", "ap prog",
                                 "resume 7:00", "resume_week 0111110", "popup_time 30", "zero_time 5"};
        for (const QString &word : bare) {
            for (const QString &args : {"-" + word, "-" + word + " y"}) {
                Run r;
                r.parse(args);
                QVERIFY2(r.result.parsed && !r.result.error, qPrintable(args));
            }
        }
        for (const QString &parameter : valued) {
            Run r;
            r.parse("-" + parameter);
            QVERIFY2(r.result.parsed && !r.result.error, qPrintable(parameter));
            const QString name = parameter.section(QLatin1Char(' '), 0, 0);
            Run without;
            without.parse("-" + name + " -reboot");
            QVERIFY2(without.result.error, qPrintable(name));
            QCOMPARE(without.result.messages.value(0).text,
                     "「-" + name + "」に値がありません！\r\nパラメーターエラー");
        }
    }

    void parameterErrors_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("bad clock") << "-reboot -time 8:x -force"
                                   << QStringList{"時刻の記述が不正です！\r\nパラメーターエラー", "パラメータエラー\r\ntime 8:x"};
        QTest::newRow("bad minutes") << "-time ten"
                                     << QStringList{"時間が不正です！\r\nパラメーターエラー", "パラメータエラー\r\ntime ten"};
        // A misspelt or unknown word, a word without its hyphen, a lone hyphen.
        QTest::newRow("misspelt names") << "-auto -rebot -tme 10"
                                        << QStringList{"「-rebot」は不明なパラメータです！\r\nパラメーターエラー", "パラメータエラー\r\nrebot"};
        // A program's own switches outside angle brackets are parameters of ours.
        QTest::newRow("switches outside brackets") << "-resume_ap prog.exe -x -y 2"
                                                   << QStringList{"「-x」は不明なパラメータです！\r\nパラメーターエラー", "パラメータエラー\r\nx"};
        QTest::newRow("word without hyphen") << "reboot -auto"
                                             << QStringList{"「reboot」は不明なパラメータです！\r\nパラメーターエラー", "パラメータエラー\r\nreboot"};
        QTest::newRow("lone hyphen") << "-auto - -reboot" << QStringList{"「-」は不明なパラメータです！\r\nパラメーターエラー", "パラメータエラー\r\n"};
        QTest::newRow("phrase of blanks") << "-auto -appear < >"
                                          << QStringList{"「-appear」に値がありません！\r\nパラメーターエラー", "パラメータエラー\r\nappear < >"};
        QTest::newRow("time with two colons") << "-time 1:2:3"
                                              << QStringList{"時刻の記述が不正です！\r\nパラメーターエラー", "パラメータエラー\r\ntime 1:2:3"};
        QTest::newRow("weekday mask too long") << "-resume_week 11111111" << QStringList{"パラメータエラー\r\nresume_week 11111111"};
        QTest::newRow("lead time beyond 16 bits") << "-popup_time 40000" << QStringList{"パラメータエラー\r\npopup_time 40000"};
        // Beyond 64 bits a number is not 0 but beyond every limit.
        const QString e24 = QStringLiteral("1000000000000000000000000");
        QTest::newRow("lead time beyond 64 bits") << "-popup_time " + e24 << QStringList{"パラメータエラー\r\npopup_time " + e24};
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

    // The program's own arguments: the long options taken out, the rest joined into one line.
    void longOptionsAndJoin()
    {
        QCOMPARE(JoinArguments({"-ap", "/tmp/my prog", "-x"}), QStringLiteral("-ap \"/tmp/my prog\" -x"));
        QCOMPARE(JoinArguments({"<a b>", "\"c d\""}), QStringLiteral("<a b> \"c d\""));
        const LongOptions o = TakeLongOptions({"--conf", "/x/Conf.txt", "-auto", "--explain", "--dry-run", "-r"});
        QCOMPARE(o.conf, QStringLiteral("/x/Conf.txt"));
        QVERIFY(o.explain && o.dryRun && !o.save);
        QCOMPARE(o.rest, (QStringList{"-auto", "-r"}));
        QVERIFY(!TakeLongOptions({"--conf"}).error.isEmpty());
        QVERIFY(!TakeLongOptions({"--bogus"}).error.isEmpty());
        QCOMPARE(TakeLongOptions({"--lang", "en", "-r"}).language, std::optional(UiLanguage::English));
        QCOMPARE(TakeLongOptions({"--lang=ja"}).rest, QStringList());
        QCOMPARE(TakeLongOptions({"--lang=ja"}).language, std::optional(UiLanguage::Japanese));
        QVERIFY(!TakeLongOptions({"-r"}).language);
        for (const QStringList &bad : {QStringList{"--lang"}, QStringList{"--lang", "EN"}, QStringList{"--lang="}})
            QVERIFY(!TakeLongOptions(bad).error.isEmpty());
    }

    void operationLists()
    {
        QCOMPARE(OperationListTexts(), (QStringList{"シャットダウン", "再起動", "ログオフ", "休止", "スリープ"}));
        for (const OperationKind k : kOperationKinds)
            QCOMPARE(OperationFromText(OperationText(k)), k);
        QCOMPARE(OperationFromText(QStringLiteral("スタンバイ")), OperationKind::Sleep);
        QCOMPARE(OperationFromText(QStringLiteral("復帰")), std::nullopt);
        QCOMPARE(VersionText(2, 4, 5), QStringLiteral("2.45"));
    }

    void generatedLine_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("expected");  // null: only the round trip
        QTest::newRow("defaults") << Edit() << "-auto -shutdown -time 90";
        QTest::newRow("multi writes no run")
            << Set({"MultiEnabled=1", "Operation=1", "Force=1", "ResumeEnabled=1", "TrayIcon=1", "Topmost=0"})
            << "-auto -multi -tasktray y -topmost n";
        QTest::newRow("resume after minutes keeps the padding")
            << Set({"ResumeEnabled=1", "ResumeAtClock=0", "ResumeAfterMinutes= 10"})
            << "-auto -shutdown -time 90 -resume  10";
        QTest::newRow("clock time, sleep, force")
            << Set({"Operation=4", "TimingMode=1", "ClockHour=23", "ClockMinute=5", "Force=1"})
            << "-auto -standby -time 23:5 -force";
        QTest::newRow("clock time with an empty hour box") << Set({"TimingMode=1", "ClockMinute=30"})
            << "-auto -shutdown -time 0:30";
        QTest::newRow("logoff and hibernation words") << Set({"Operation=3", "DelayMinutes= 1.5 "})
            << "-auto -hibernation -time 1.5";
        QTest::newRow("cpu with a process")
            << Set({"Operation=2", "MonitorEnabled=1", "MonitorKind=1", "CpuLowerLimit=  5", "CpuAverageSeconds= 60",
                    "CpuProcess= 1234 firefox-esr "})
            << "-auto -logoff -time 90 -cpu_utl 5 60 -cpu_proc firefox-esr";
        QTest::newRow("cpu of the machine") << Set({"MonitorEnabled=1", "MonitorKind=1"})
            << "-auto -shutdown -time 90 -cpu_utl 0.1 20";
        QTest::newRow("battery") << Set({"MonitorEnabled=1", "MonitorKind=2", "IdleSeconds= 300"})
            << "-auto -shutdown -time 90 -battery 300";
        QTest::newRow("disappearing phrase as it stands")
            << Set({"MonitorEnabled=1", "PhraseEvent=1", "MonitorPhrase=Download Complete"})
            << "-auto -shutdown -time 90 -disappear Download Complete";
        QTest::newRow("monitor box off writes nothing") << Set({"MonitorKind=2"}) << "-auto -shutdown -time 90";
        QTest::newRow("resume at a clock time with an application")
            << Set({"Operation=4", "ResumeEnabled=1", "ResumeAtClock=1", "ResumeYear=2026", "ResumeMonth=12",
                    "ResumeDay=7", "ResumeHour=7", "ResumeMinute=30", "AppCommand=xterm -e top"})
            << "-auto -standby -time 90 -resume 7:30 -resume_ap < xterm -e top >";
        QTest::newRow("application not launched is not written")
            << Set({"ResumeEnabled=1", "ResumeYear=2026", "ResumeMonth=12", "ResumeDay=7", "ResumeHour=7",
                    "ResumeMinute=30", "LaunchApp=0", "AppCommand=xterm"})
            << "-auto -shutdown -time 90 -resume 7:30";
        QTest::newRow("application without resume is not written") << Set({"AppCommand=xterm"})
            << "-auto -shutdown -time 90";
        QTest::newRow("every option")
            << Set({"NoAlert=1", "MinimizeAtStart=1", "TrayIcon=1", "CaptureOnExit=1", "IeMonitor=1", "ResumeOnly=1",
                    "Topmost=0", "CountdownSound=0", "ResumeMonitorOn=0", "ResumeKeepState=0"})
            << "-auto -shutdown -time 90 -nodisp_alert y -minimize y -tasktray y -capture y -ie y -resume_only "
              "-topmost n -no_beep y -monitor_off y -resume_nohold y";
        QTest::newRow("never written") << Edit([](AppState &s) {
            s.cl.ExecWeekMask = QStringLiteral("0111110");
            s.cl.PopupLeadSeconds = 60;
            s.cl.ZeroTimeSeconds = 9;
            s.cl.ResumeRecountMinutes = 5;
            s.cl.HideBeforeSuspend = true;
            s.job.ExtendedMenu = 1;
            s.job.ShowQuickButtons = 1;
            s.job.ResumeWeekdays = {0, 0, 0, 0, 0, 0, 0};
        }) << "-auto -shutdown -time 90";
        QTest::newRow("hour beyond range") << Set({"TimingMode=1", "ClockHour=25", "ClockMinute=70"}) << QString();
        QTest::newRow("application with a line break")
            << Set({"Operation=4", "ResumeEnabled=1", "ResumeAtClock=0", "AppCommand=app\r\n-x"})
            << QString();
    }
    // Every line also goes through the parser, which must give the same run.
    void generatedLine()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, expected);
        const AppState original = Edited(edit);
        QString error;
        const QString line = BuildCommandLine(original, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        if (!expected.isNull())
            QCOMPARE(line, expected);
        const QString why = RunDifference(original, line);
        QVERIFY2(why.isEmpty(), qPrintable(line + QStringLiteral(": ") + why));
    }

    // Values typed or loaded that the grammar has trouble with: the line
    // must run the same as the settings, or there must be no line.
    void generatedHostileValues_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("refusal");  // null: must round-trip; else a word the message holds
        // The option after the phrase is there for it to swallow.
        auto phrase = [](const char *text, int event = 0) {
            return Set({"MonitorEnabled=1", "MonitorKind=0", QStringLiteral("PhraseEvent=%1").arg(event),
                        "MonitorPhrase=" + QString::fromUtf8(text), "Topmost=0"});
        };
        auto app = [](const char *text) {
            return Set({"Operation=4", "ResumeEnabled=1", "ResumeAtClock=0", "AppCommand=" + QString::fromUtf8(text),
                        "CountdownSound=0"});
        };
        auto box = [](QString JobSettings::*field, const QString &text, int kind = -1, int timing = 0) {
            return Edit([field, text, kind, timing](AppState &s) {
                s.job.TimingMode = timing;
                if (kind >= 0) {
                    s.job.MonitorEnabled = 1;
                    s.job.MonitorKind = kind;
                }
                s.job.*field = text;
                s.job.NoAlert = 1;
            });
        };
        auto resumeAfter = [](const QString &text) {
            return Set({"ResumeEnabled=1", "ResumeAtClock=0", "ResumeAfterMinutes=" + text});
        };
        auto resumeAt = [](const char *hour, const char *minute) {
            return Set({"ResumeEnabled=1", "ResumeAtClock=1", "ResumeYear=2026", "ResumeMonth=12", "ResumeDay=7",
                        "ResumeHour=" + QString::fromUtf8(hour), "ResumeMinute=" + QString::fromUtf8(minute)});
        };
        const QString beyondDouble = QStringLiteral("1") + QString(400, QLatin1Char('0'));
        const QString no;  // round trip

        QTest::newRow("phrase with parameters in it") << phrase("build done -reboot -time 0") << no;
        QTest::newRow("phrase starting with a hyphen") << phrase("-x done", 1) << no;
        QTest::newRow("phrase with brackets and a hyphen") << phrase("a <b> -c") << no;
        QTest::newRow("phrase with a lone <") << phrase("x < y") << no;
        QTest::newRow("phrase with > before a hyphen") << phrase("a> -b") << "監視文言";
        QTest::newRow("phrase with blanks around") << phrase("  done  \r\n") << no;
        QTest::newRow("phrase with inner full-width space") << phrase("完了　しました") << no;
        QTest::newRow("phrase with full-width spaces around") << phrase("　完了　") << "監視文言";
        QTest::newRow("phrase of blanks only") << phrase("   ") << "監視文言";
        QTest::newRow("application with a redirection") << app("sh -c 'echo a > /tmp/x'") << no;
        QTest::newRow("application with both brackets") << app("tool <in.txt >out.txt -v") << no;
        QTest::newRow("application with a full-width space") << app("gedit メモ　1.txt") << no;
        QTest::newRow("application in upper case") << app("/opt/App/run") << "大文字";
        QTest::newRow("lone > in both phrase and application") << Edit([phrase, app](AppState &s) {
            phrase("x > y")(s);
            app("sh -c 'a > b'")(s);
        }) << "復帰時に実行するプログラム";
        QTest::newRow("empty CPU limit") << Edit([box](AppState &s) {
            box(&JobSettings::CpuLowerLimit, QString(), 1)(s);
            s.job.CpuAverageSeconds = QStringLiteral(" 60");
        }) << no;
        QTest::newRow("CPU limit as text, seconds as two words") << Edit([box](AppState &s) {
            box(&JobSettings::CpuLowerLimit, QStringLiteral("abc"), 1)(s);
            s.job.CpuAverageSeconds = QStringLiteral("30 40");
        }) << no;
        QTest::newRow("negative CPU limit") << box(&JobSettings::CpuLowerLimit, QStringLiteral("-5"), 1) << "下限";
        QTest::newRow("process name with a blank") << box(&JobSettings::CpuProcess, QStringLiteral("? my app"), 1)
                                                   << "監視プロセス";
        QTest::newRow("process name in upper case")
            << box(&JobSettings::CpuProcess, QStringLiteral(" 1234 Firefox "), 1) << no;
        QTest::newRow("process name with a <") << box(&JobSettings::CpuProcess, QStringLiteral("77 a<b"), 1) << no;
        QTest::newRow("minutes with a colon") << box(&JobSettings::DelayMinutes, QStringLiteral("10:30")) << no;
        QTest::newRow("minutes as text") << box(&JobSettings::DelayMinutes, QStringLiteral("1e5")) << no;
        QTest::newRow("minutes beyond a double") << box(&JobSettings::DelayMinutes, beyondDouble) << no;
        QTest::newRow("negative minutes") << box(&JobSettings::DelayMinutes, QStringLiteral("-5")) << "分後";
        QTest::newRow("negative hour") << box(&JobSettings::ClockHour, QStringLiteral("-1"), -1, 1) << "時";
        QTest::newRow("negative minute") << box(&JobSettings::ClockMinute, QStringLiteral("-30"), -1, 1) << no;
        QTest::newRow("empty resume minutes") << resumeAfter(QString()) << no;
        QTest::newRow("negative resume minutes") << resumeAfter(QStringLiteral(" -5")) << no;
        QTest::newRow("resume hour as text") << resumeAt("abc", "30") << "時";
        QTest::newRow("resume hour beyond the parser") << resumeAt("200000", "0") << "時";
        QTest::newRow("resume minute carried") << resumeAt("7", "90") << no;
    }
    void generatedHostileValues()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, refusal);
        const AppState original = Edited(edit);
        QString error;
        const QString line = BuildCommandLine(original, &error);
        if (!refusal.isNull()) {
            QVERIFY2(line.isEmpty(), qPrintable(line));
            QVERIFY2(error.contains(refusal), qPrintable(error));
            return;
        }
        QVERIFY2(!line.isEmpty(), qPrintable(error));
        const QString why = RunDifference(original, line);
        QVERIFY2(why.isEmpty(), qPrintable(line + QStringLiteral(": ") + why));
    }
    // The language of the texts from the locale variables.
    void languageFromLocale_data()
    {
        QTest::addColumn<QStringList>("vars");  // LANGUAGE, LC_ALL, LC_MESSAGES, LANG
        QTest::addColumn<bool>("english");
        QTest::newRow("nothing set") << QStringList{"", "", "", ""} << false;
        QTest::newRow("C.UTF-8") << QStringList{"", "", "", "C.UTF-8"} << false;
        QTest::newRow("POSIX") << QStringList{"", "POSIX", "", "en_US.UTF-8"} << false;
        QTest::newRow("other language") << QStringList{"", "", "", "de_DE@euro"} << true;
        QTest::newRow("LC_MESSAGES before LANG") << QStringList{"", "", "en_GB", "ja_JP.UTF-8"} << true;
        QTest::newRow("LC_ALL before LC_MESSAGES") << QStringList{"", "ja_JP.UTF-8", "en_GB", ""} << false;
        QTest::newRow("LANGUAGE first, its first entry") << QStringList{"ja:en", "en_US", "", ""} << false;
        QTest::newRow("LANGUAGE English") << QStringList{"en_US:ja", "ja_JP.UTF-8", "", ""} << true;
    }
    void languageFromLocale()
    {
        QFETCH(QStringList, vars);
        QFETCH(bool, english);
        const QHash<QString, QString> env{{"LANGUAGE", vars[0]}, {"LC_ALL", vars[1]}, {"LC_MESSAGES", vars[2]},
                                          {"LANG", vars[3]}};
        const UiLanguage got = LanguageFromLocale([&](const char *name) { return env.value(QLatin1String(name)); });
        QCOMPARE(got, english ? UiLanguage::English : UiLanguage::Japanese);
    }

    // Japanese needs no translation; English is found in the resources.
    void englishTranslationInstalled()
    {
        QVERIFY(InstallTranslations(UiLanguage::Japanese));
        QCOMPARE(PowerLineText(0), QStringLiteral("バッテリ"));
        QVERIFY(InstallTranslations(UiLanguage::English));
        QCOMPARE(PowerLineText(0), QStringLiteral("Battery"));
        QCOMPARE(TrayTimeText(QDateTime(QDate(2026, 3, 4), QTime(7, 5)), QDate(2026, 3, 1)),
                 QStringLiteral("2026-03-04 07:05"));
        for (QTranslator *t : QCoreApplication::instance()->findChildren<QTranslator *>())
            QCoreApplication::removeTranslator(t);
    }
};

QTEST_GUILESS_MAIN(TstCommandLine)
#include "tst_command_line.moc"
