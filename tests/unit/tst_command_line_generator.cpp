// The generated command line: its exact text for typical settings, and round
// trips through the parser, which must give the same run except where the
// grammar cannot carry a setting.
#include "core/command_line.h"
#include "core/command_line_generator.h"
#include "core/text.h"
#include "settings/defaults.h"

#include <QTest>
#include <functional>

using Edit = std::function<void(zk::AppState &)>;
Q_DECLARE_METATYPE(Edit)

using namespace zk;

namespace {

// Sunday 2026-12-06 08:00:00.
const QDateTime kNow(QDate(2026, 12, 6), QTime(8, 0, 0));
const QString kDesktop = QStringLiteral("/home/u/Desktop");


AppState DefaultState()
{
    AppState s;
    SetDefaults(s, kNow, kDesktop);
    return s;
}

AppState Edited(const Edit &edit)
{
    AppState s = DefaultState();
    if (edit)
        edit(s);
    return s;
}

ParseResult Parse(const QString &line, AppState &state)
{
    ParseHooks hooks;
    hooks.setDefaults = [](AppState &s) { SetDefaults(s, kNow, kDesktop); };
    hooks.launch = [](const QString &, const QString &) { return true; };
    hooks.hibernationAllowed = [] { return true; };
    return ParseCommandLine(line, state, kNow, hooks);
}

QString Num(const QString &text)
{
    return NumberText(LeadingNumber(text));
}

// What decides a run, with the texts of boxes read as the run reads them.
QStringList RunOf(const AppState &s)
{
    const JobSettings &j = s.job;
    QStringList r;
    r << QStringLiteral("multi=%1").arg(j.MultiEnabled);
    if (!j.MultiEnabled) {
        r << QStringLiteral("operation=%1").arg(j.Operation);
        r << QStringLiteral("timing=%1").arg(j.TimingMode);
        if (j.TimingMode == 1)
            r << QStringLiteral("clock=%1:%2").arg(Num(j.ClockHour), Num(j.ClockMinute));
        else
            r << QStringLiteral("delay=%1").arg(Num(j.DelayMinutes));
        r << QStringLiteral("force=%1").arg(j.Force);
        r << QStringLiteral("monitor=%1").arg(j.MonitorEnabled);
        if (j.MonitorEnabled) {
            r << QStringLiteral("kind=%1").arg(j.MonitorKind);
            if (j.MonitorKind == 0)
                r << QStringLiteral("phrase=%1/%2").arg(j.PhraseEvent).arg(j.MonitorPhrase);
            if (j.MonitorKind == 1)
                r << QStringLiteral("cpu=%1/%2/%3")
                         .arg(Num(j.CpuLowerLimit), Num(j.CpuAverageSeconds), ParameterPart(j.CpuProcess.trimmed()));
            if (j.MonitorKind == 2)
                r << QStringLiteral("idle=%1").arg(Num(j.IdleSeconds));
        }
        r << QStringLiteral("resume=%1").arg(j.ResumeEnabled);
        if (j.ResumeEnabled) {
            if (j.ResumeAtClock)
                r << QStringLiteral("resume at=%1:%2").arg(Num(j.ResumeDateParts[3]), Num(j.ResumeDateParts[4]));
            else
                r << QStringLiteral("resume after=%1").arg(Num(j.ResumeAfterMinutes));
            r << QStringLiteral("app=%1").arg(j.LaunchApp && !j.AppCommand.isEmpty() ? j.AppCommand : QString());
        }
    }
    QString options = QStringLiteral("options=");
    for (int v : {j.NoAlert, j.MinimizeAtStart, j.TrayIcon, j.CaptureOnExit, j.IeMonitor, j.ResumeOnly, j.Topmost,
                  j.CountdownSound, j.ResumeMonitorOn})
        options += QString::number(v);
    r << options << QStringLiteral("keep=%1").arg(j.ResumeKeepState);
    return r;
}

}  // namespace

class TstCommandLineGenerator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void yesNoText()
    {
        QCOMPARE(YesNoText(1), QStringLiteral("y"));
        QCOMPARE(YesNoText(0), QStringLiteral("n"));
        QCOMPARE(YesNoText(2), QStringLiteral("n"));
        QCOMPARE(YesNoText(-1), QStringLiteral("n"));
    }

    void text_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("expected");  // null: only the round trip
        QTest::newRow("defaults") << Edit() << "-auto -shutdown -time 90";
        QTest::newRow("topmost off, silent") << Edit([](AppState &s) {
            s.job.Topmost = 0;
            s.job.CountdownSound = 0;
        }) << "-auto -shutdown -time 90 -topmost n -no_beep y";
        QTest::newRow("multi writes no run") << Edit([](AppState &s) {
            s.job.MultiEnabled = 1;
            s.job.Operation = 1;
            s.job.Force = 1;
            s.job.ResumeEnabled = 1;
            s.job.TrayIcon = 1;
            s.job.Topmost = 0;
        }) << "-auto -multi -tasktray y -topmost n";
        QTest::newRow("resume after minutes keeps the padding") << Edit([](AppState &s) {
            s.job.ResumeEnabled = 1;
            s.job.ResumeAtClock = 0;
            s.job.ResumeAfterMinutes = QStringLiteral(" 10");
        }) << "-auto -shutdown -time 90 -resume  10";
        QTest::newRow("clock time, sleep, force") << Edit([](AppState &s) {
            s.job.Operation = 4;
            s.job.TimingMode = 1;
            s.job.ClockHour = QStringLiteral("23");
            s.job.ClockMinute = QStringLiteral("5");
            s.job.Force = 1;
        }) << "-auto -standby -time 23:5 -force";
        QTest::newRow("clock time with an empty hour box") << Edit([](AppState &s) {
            s.job.TimingMode = 1;
            s.job.ClockMinute = QStringLiteral("30");
        }) << "-auto -shutdown -time 0:30";
        QTest::newRow("standby on an older list") << Edit([](AppState &s) {
            s.platform = PlatformVersion{2, 5};
            s.operations = BuildOperationList(s.platform);
            s.job.Operation = 4;
        }) << "-auto -standby -time 90";
        QTest::newRow("no operation on a 9x list") << Edit([](AppState &s) {
            s.platform = PlatformVersion{1, 4};
            s.operations = BuildOperationList(s.platform);
            s.job.Operation = 3;
        }) << "-auto -time 90";
        QTest::newRow("logoff and hibernation words") << Edit([](AppState &s) {
            s.job.Operation = 3;
            s.job.DelayMinutes = QStringLiteral(" 1.5 ");
        }) << "-auto -hibernation -time 1.5";
        QTest::newRow("cpu with a process") << Edit([](AppState &s) {
            s.job.Operation = 2;
            s.job.MonitorEnabled = 1;
            s.job.MonitorKind = 1;
            s.job.CpuLowerLimit = QStringLiteral("  5");
            s.job.CpuAverageSeconds = QStringLiteral(" 60");
            s.job.CpuProcess = QStringLiteral(" 1234 firefox-esr ");
        }) << "-auto -logoff -time 90 -cpu_utl 5 60 -cpu_proc firefox-esr";
        QTest::newRow("cpu of the machine") << Edit([](AppState &s) {
            s.job.MonitorEnabled = 1;
            s.job.MonitorKind = 1;
        }) << "-auto -shutdown -time 90 -cpu_utl 0.1 20";
        QTest::newRow("battery") << Edit([](AppState &s) {
            s.job.MonitorEnabled = 1;
            s.job.MonitorKind = 2;
            s.job.IdleSeconds = QStringLiteral(" 300");
        }) << "-auto -shutdown -time 90 -battery 300";
        QTest::newRow("disappearing phrase as it stands") << Edit([](AppState &s) {
            s.job.MonitorEnabled = 1;
            s.job.PhraseEvent = 1;
            s.job.MonitorPhrase = QStringLiteral("Download Complete");
        }) << "-auto -shutdown -time 90 -disappear Download Complete";
        QTest::newRow("monitor box off writes nothing") << Edit([](AppState &s) {
            s.job.MonitorKind = 2;
        }) << "-auto -shutdown -time 90";
        QTest::newRow("resume at a clock time with an application") << Edit([](AppState &s) {
            s.job.Operation = 4;
            s.job.ResumeEnabled = 1;
            s.job.ResumeAtClock = 1;
            s.job.ResumeDateParts = {"2026", "12", "7", "7", "30"};
            s.job.AppCommand = QStringLiteral("xterm -e top");
        }) << "-auto -standby -time 90 -resume 7:30 -resume_ap < xterm -e top >";
        QTest::newRow("application not launched is not written") << Edit([](AppState &s) {
            s.job.ResumeEnabled = 1;
            s.job.ResumeDateParts = {"2026", "12", "7", "7", "30"};
            s.job.LaunchApp = 0;
            s.job.AppCommand = QStringLiteral("xterm");
        }) << "-auto -shutdown -time 90 -resume 7:30";
        QTest::newRow("application without resume is not written") << Edit([](AppState &s) {
            s.job.AppCommand = QStringLiteral("xterm");
        }) << "-auto -shutdown -time 90";
        QTest::newRow("every option") << Edit([](AppState &s) {
            s.job.NoAlert = 1;
            s.job.MinimizeAtStart = 1;
            s.job.TrayIcon = 1;
            s.job.CaptureOnExit = 1;
            s.job.IeMonitor = 1;
            s.job.ResumeOnly = 1;
            s.job.Topmost = 0;
            s.job.CountdownSound = 0;
            s.job.ResumeMonitorOn = 0;
            s.job.ResumeKeepState = 0;
        }) << "-auto -shutdown -time 90 -nodisp_alert y -minimize y -tasktray y -capture y -ie y -resume_only "
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
        QTest::newRow("empty phrase leaves no blank at the end") << Edit([](AppState &s) {
            s.job.MonitorEnabled = 1;
        }) << "-auto -shutdown -time 90 -appear";
        QTest::newRow("reboot in 10") << Edit([](AppState &s) {
            s.job.Operation = 1;
            s.job.DelayMinutes = QStringLiteral("  10");
        }) << QString();
        QTest::newRow("clock time with force") << Edit([](AppState &s) {
            s.job.Operation = 2;
            s.job.TimingMode = 1;
            s.job.ClockHour = QStringLiteral("23");
            s.job.ClockMinute = QStringLiteral("45");
            s.job.Force = 1;
        }) << QString();
        QTest::newRow("hour beyond range") << Edit([](AppState &s) {
            s.job.TimingMode = 1;
            s.job.ClockHour = QStringLiteral("25");
            s.job.ClockMinute = QStringLiteral("70");
        }) << QString();
        QTest::newRow("hibernation") << Edit([](AppState &s) { s.job.Operation = 3; }) << QString();
        QTest::newRow("appear, lower case") << Edit([](AppState &s) {
            s.job.MonitorEnabled = 1;
            s.job.MonitorPhrase = QStringLiteral("error occurred");
        }) << QString();
        QTest::newRow("disappear with a full-width space") << Edit([](AppState &s) {
            s.job.MonitorEnabled = 1;
            s.job.PhraseEvent = 1;
            s.job.MonitorPhrase = QStringLiteral("完了　しました");
        }) << QString();
        QTest::newRow("cpu of a process") << Edit([](AppState &s) {
            s.job.MonitorEnabled = 1;
            s.job.MonitorKind = 1;
            s.job.CpuLowerLimit = QStringLiteral(" 2.5");
            s.job.CpuAverageSeconds = QStringLiteral(" 45");
            s.job.CpuProcess = QStringLiteral("? ffmpeg");
        }) << QString();
        QTest::newRow("cpu of the machine") << Edit([](AppState &s) {
            s.job.MonitorEnabled = 1;
            s.job.MonitorKind = 1;
            s.job.CpuLowerLimit = QStringLiteral(" 10");
        }) << QString();
        QTest::newRow("battery") << Edit([](AppState &s) {
            s.job.MonitorEnabled = 1;
            s.job.MonitorKind = 2;
            s.job.IdleSeconds = QStringLiteral(" 600");
        }) << QString();
        QTest::newRow("resume after minutes with an application") << Edit([](AppState &s) {
            s.job.Operation = 4;
            s.job.ResumeEnabled = 1;
            s.job.ResumeAtClock = 0;
            s.job.ResumeAfterMinutes = QStringLiteral(" 10");
            s.job.AppCommand = QStringLiteral("/usr/bin/xterm -e top -d 5");
        }) << QString();
        QTest::newRow("resume at a clock time tomorrow") << Edit([](AppState &s) {
            s.job.Operation = 4;
            s.job.ResumeEnabled = 1;
            s.job.ResumeDateParts = {"2026", "12", "7", "7", "30"};
            s.job.AppCommand = QStringLiteral("\"/opt/my app/run\" -x");
        }) << QString();
        QTest::newRow("application with a line break") << Edit([](AppState &s) {
            s.job.Operation = 4;
            s.job.ResumeEnabled = 1;
            s.job.ResumeAtClock = 0;
            s.job.AppCommand = QStringLiteral("app\r\n-x");
        }) << QString();
        QTest::newRow("multi with options") << Edit([](AppState &s) {
            s.job.MultiEnabled = 1;
            s.job.CaptureOnExit = 1;
            s.job.CountdownSound = 0;
        }) << QString();
    }
    // Every row but the lossy ones also goes through the parser, which must give the same run.
    void text()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, expected);
        const AppState original = Edited(edit);
        const QString line = BuildCommandLine(original);
        if (!expected.isNull())
            QCOMPARE(line, expected);
        // Lines the grammar cannot carry back: no operation word, upper case, an empty phrase.
        const QByteArrayList lossy{"no operation on a 9x list", "disappearing phrase as it stands",
                                   "empty phrase leaves no blank at the end"};
        if (lossy.contains(QTest::currentDataTag()))
            return;
        AppState parsed = original;  // the settings file the generated line runs with
        parsed.cl = CommandLineValues();  // a new process: no command-line values yet
        const ParseResult result = Parse(line, parsed);
        QVERIFY2(!result.error, qPrintable(line));
        QVERIFY(parsed.cl.AutoStart);
        QCOMPARE(RunOf(parsed), RunOf(original));
    }

    // Where the grammar cannot carry a setting, the parsed run differs in the known ways.
    void knownDifferences()
    {
        // Upper case is lost.
        {
            const AppState s = Edited([](AppState &st) {
                st.job.MonitorEnabled = 1;
                st.job.MonitorPhrase = QStringLiteral("Error Occurred");
                st.job.ResumeEnabled = 1;
                st.job.ResumeAtClock = 0;
                st.job.AppCommand = QStringLiteral("/opt/App/Run");
            });
            AppState p = s;
            Parse(BuildCommandLine(s), p);
            QCOMPARE(p.job.MonitorPhrase, QStringLiteral("error occurred"));
            QCOMPARE(p.job.AppCommand, QStringLiteral("/opt/app/run"));
        }
        // A phrase is not bracketed: " -" ends it; the application survives.
        {
            const AppState s = Edited([](AppState &st) {
                st.job.MonitorEnabled = 1;
                st.job.MonitorPhrase = QStringLiteral("done -ok");
                st.job.ResumeEnabled = 1;
                st.job.ResumeAtClock = 0;
                st.job.AppCommand = QStringLiteral("tool -ok");
            });
            AppState p = s;
            QVERIFY(!Parse(BuildCommandLine(s), p).error);
            QCOMPARE(p.job.MonitorPhrase, QStringLiteral("done"));
            QCOMPARE(p.job.AppCommand, QStringLiteral("tool -ok"));
        }
        // A clock-time resume keeps hour and minute only; the day follows the
        // clock and the weekday box decides whether resume is on.
        {
            const AppState s = Edited([](AppState &st) {
                st.job.ResumeEnabled = 1;
                st.job.ResumeDateParts = {"2027", "1", "20", "7", "30"};
            });
            AppState p = s;
            Parse(BuildCommandLine(s), p);
            QCOMPARE(p.job.ResumeEnabled, 1);
            QCOMPARE(p.job.ResumeDateParts, (std::array<QString, 5>{"2026", "12", "7", "7", "30"}));

            AppState off = s;
            off.job.setResumeWeekday(2, 0);  // Monday, the day 7:30 falls on after 8:00 on Sunday
            AppState q = off;
            Parse(BuildCommandLine(off), q);
            QCOMPARE(q.job.ResumeEnabled, 0);
        }
        // Values the generator never writes come back as defaults.
        {
            AppState s = DefaultState();
            s.cl.ExecWeekMask = QStringLiteral("0111110");
            s.cl.ZeroTimeSeconds = 30;
            AppState p = s;
            p.cl = CommandLineValues();
            Parse(BuildCommandLine(s), p);
            QCOMPARE(p.cl.ExecWeekMask, CommandLineValues().ExecWeekMask);
            QCOMPARE(p.cl.ZeroTimeSeconds, CommandLineValues().ZeroTimeSeconds);
        }
    }
};

QTEST_GUILESS_MAIN(TstCommandLineGenerator)
#include "tst_command_line_generator.moc"
