// The generated command line: its exact text for typical settings, and round
// trips through the parser, which must give the same run or no line at all.
#include "core/command_line.h"
#include "core/command_line_generator.h"
#include "settings/defaults.h"
#include "support/same_run.h"
#include "support/state_fields.h"

#include <QTest>
#include <functional>

using Edit = std::function<void(zk::AppState &)>;
Q_DECLARE_METATYPE(Edit)

using namespace zk;

namespace {

// Sunday 2026-12-06 08:00:00.
const QDateTime kNow(QDate(2026, 12, 6), QTime(8, 0, 0));
const QString kDesktop = QStringLiteral("/home/u/Desktop");

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
    AppState parsed = original;
    parsed.cl = CommandLineValues();
    ParseHooks hooks;
    hooks.setDefaults = [](AppState &s) { SetDefaults(s, kNow, kDesktop); };
    hooks.launch = [](const QString &, const QString &) { return true; };
    hooks.hibernationAllowed = [] { return true; };
    if (ParseCommandLine(line, parsed, kNow, hooks).error)
        return QStringLiteral("a parameter error");
    if (!parsed.cl.AutoStart)
        return QStringLiteral("no automatic start");
    QString why;
    return zktest::SameRun(original, parsed, &why) ? QString() : why;
}

// Sets each "Name=value" of the state.
Edit Set(const QStringList &entries)
{
    return [entries](AppState &s) { zktest::StateField::Apply(s, entries); };
}

}  // namespace

class TstCommandLineGenerator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void text_data()
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
    void text()
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
    void hostileValues_data()
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
        QTest::newRow("phrase in upper case") << phrase("Error Occurred") << no;
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
        QTest::newRow("process name in upper case") << box(&JobSettings::CpuProcess, QStringLiteral(" 1234 Firefox "), 1)
                                                    << no;
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
    void hostileValues()
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
};

QTEST_GUILESS_MAIN(TstCommandLineGenerator)
#include "tst_command_line_generator.moc"
