// The start plan: target and resume times and every refusal of a start.
#include "run/run_plan.h"
#include "core/command_line.h"
#include "support/local_zone.h"

#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using namespace zk;

Q_DECLARE_METATYPE(zk::AppState)

namespace {

const QDateTime kMonday(QDate(2026, 12, 7), QTime(12, 0, 0));  // a Monday

StartEnvironment envWith(const QStringList &existing = {})
{
    StartEnvironment env;
    env.fileExists = [existing](const QString &p) { return existing.contains(p); };
    return env;
}

AppState minutes(const QString &m)
{
    AppState s;
    s.job.TimingMode = 0;
    s.job.DelayMinutes = m;
    return s;
}

AppState clockMode(const QString &h, const QString &m)
{
    AppState s;
    s.job.TimingMode = 1;
    s.job.ClockHour = h;
    s.job.ClockMinute = m;
    return s;
}

// A sleep in five minutes with the resume box ticked.
AppState sleepWithResume(int atClock)
{
    AppState s = minutes("5");
    s.job.Operation = int(OperationKind::Sleep);
    s.job.ResumeEnabled = 1;
    s.job.ResumeAtClock = atClock;
    return s;
}

// Outcome, title, text and field of a refusal, for one comparison.
QStringList Refusal(const RunPlan &p)
{
    return {p.outcome == PlanOutcome::Refused ? QStringLiteral("refused") : QStringLiteral("not refused"), p.title,
            p.text, p.focusField};
}

void setResumeBoxes(AppState &s, const QDateTime &t)
{
    s.job.ResumeDateParts = {QString::number(t.date().year()), QString::number(t.date().month()),
                             QString::number(t.date().day()), QString::number(t.time().hour()),
                             QString::number(t.time().minute())};
}

}  // namespace

class TestRunPlan : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void minutesMode_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("zeroTime");
        QTest::addColumn<qint64>("expectedSecs");  // -1 = refused
        QTest::addColumn<QString>("refusal");
        QTest::newRow("zero uses the five-second default") << "   0" << 5 << qint64(5) << "";
        QTest::newRow("zero with zero_time 2") << "   0" << 2 << qint64(2) << "";
        QTest::newRow("ninety minutes") << "  90" << 5 << qint64(90 * 60) << "";
        QTest::newRow("14400 is ten days") << "14400" << 5 << qint64(10 * 86400) << "";
        QTest::newRow("one minute more is refused") << "14401" << 5 << qint64(-1) << "分後：14400以下の数値を入力";
        QTest::newRow("negative minutes are refused") << "-5" << 5 << qint64(-1) << "0 以上の整数を入力して下さい。";
        QTest::newRow("text reads as zero") << "abc" << 5 << qint64(5) << "";
        QTest::newRow("digits beyond a double are refused")
            << QStringLiteral("1") + QString(400, QLatin1Char('0')) << 5 << qint64(-1) << "分後：14400以下の数値を入力";
    }
    void minutesMode()
    {
        QFETCH(QString, box);
        QFETCH(int, zeroTime);
        QFETCH(qint64, expectedSecs);
        QFETCH(QString, refusal);
        AppState s = minutes(box);
        s.cl.ZeroTimeSeconds = zeroTime;
        const RunPlan p = PlanStart(s, kMonday, envWith());
        if (expectedSecs < 0) {
            QCOMPARE(Refusal(p), (QStringList{"refused", "入力エラー", refusal, "cmbTime"}));
            QCOMPARE(p.stop, StopOrder::AfterMessage);
        } else {
            QCOMPARE(p.outcome, PlanOutcome::Start);
            QCOMPARE(kMonday.secsTo(p.targetTime), expectedSecs);
        }
    }

    void clockModeTarget_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<QDateTime>("expected");
        const QDate d(2026, 12, 7);
        QTest::newRow("07:00 at 07:00:30 is tomorrow") << QDateTime(d, QTime(7, 0, 30)) << "7" << "0"
                                                      << QDateTime(d.addDays(1), QTime(7, 0));
        QTest::newRow("07:00 at 06:59:59 is today") << QDateTime(d, QTime(6, 59, 59)) << "7" << "0"
                                                   << QDateTime(d, QTime(7, 0));
        QTest::newRow("24:00 is midnight, no further day") << QDateTime(d, QTime(12, 0)) << "24" << "0"
                                                          << QDateTime(d.addDays(1), QTime(0, 0));
        QTest::newRow("minutes carry into hours") << QDateTime(d, QTime(12, 0)) << "13" << "90"
                                                 << QDateTime(d, QTime(14, 30));
    }
    void clockModeTarget()
    {
        QFETCH(QDateTime, now);
        QFETCH(QString, hour);
        QFETCH(QString, minute);
        QFETCH(QDateTime, expected);
        const RunPlan p = PlanStart(clockMode(hour, minute), now, envWith());
        QCOMPARE(p.outcome, PlanOutcome::Start);
        QCOMPARE(p.targetTime, expected);
    }

    // On the days daylight saving time begins and ends, "-time 08:00",
    // "-resume 08:30" and the resume boxes mean 08:00 and 08:30 on the wall
    // clock of that date, however many hours have passed since midnight.
    void wallClockOnChangeDays()
    {
        const zktest::LocalZone berlin("Europe/Berlin");
        for (const QDate day : {QDate(2025, 3, 30), QDate(2025, 10, 26)}) {
            const QDateTime now(day, QTime(0, 30));
            const QString date = day.toString(Qt::ISODate);
            AppState s;
            QVERIFY(!ParseCommandLine(QStringLiteral("-standby -time 08:00 -resume 08:30"), s, now, {}).error);
            const RunPlan p = PlanStart(s, now, envWith());
            QCOMPARE(p.outcome, PlanOutcome::Start);
            QCOMPARE(p.targetTime.toString(Qt::ISODate), date + QStringLiteral("T08:00:00"));
            QCOMPARE(p.resumeTime.toString(Qt::ISODate), date + QStringLiteral("T08:30:00"));

            AppState boxes;
            boxes.job.ResumeEnabled = boxes.job.ResumeOnly = 1;
            setResumeBoxes(boxes, QDateTime(day, QTime(8, 0)));
            QCOMPARE(PlanStart(boxes, now, envWith()).resumeTime.toString(Qt::ISODate), date + QStringLiteral("T08:00:00"));
        }
    }

    // A clock time or a resume span beyond any date is refused, not wrapped
    // around to a date that comes early.
    void spansBeyondAnyDate_data()
    {
        QTest::addColumn<AppState>("state");
        QTest::addColumn<QStringList>("refusal");
        const QStringList clock{"refused", "入力エラー", "時刻の記述が不正です！", "txtH"};
        QTest::newRow("hour") << clockMode(QStringLiteral("100000000000000"), QStringLiteral("0")) << clock;
        QTest::newRow("negative hour") << clockMode(QStringLiteral("-100000000000000"), QStringLiteral("0")) << clock;
        QTest::newRow("minute beyond a double") << clockMode(QStringLiteral("0"), QStringLiteral("9") + QString(400, QLatin1Char('9')))
                                                << clock;
        AppState resume = sleepWithResume(0);
        setResumeBoxes(resume, kMonday);
        resume.job.ResumeAfterMinutes = QStringLiteral("1000000000000000");
        QTest::newRow("resume minutes") << resume
                                        << QStringList{"refused", "入力エラー", "復帰までの時間が長過ぎます。", "cmb復帰分"};
    }
    void spansBeyondAnyDate()
    {
        QFETCH(AppState, state);
        QFETCH(QStringList, refusal);
        QCOMPARE(Refusal(PlanStart(state, kMonday, envWith())), refusal);
    }

    void excludedWeekday_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<int>("noAlert");
        QTest::addColumn<bool>("skipped");
        QTest::newRow("Saturday excluded") << "0111110" << 0 << true;
        QTest::newRow("Saturday excluded, no alert") << "0111110" << 1 << true;
        QTest::newRow("Saturday allowed") << "1000001" << 0 << false;
        QTest::newRow("short mask does not reach Saturday") << "01" << 0 << false;
    }
    void excludedWeekday()
    {
        QFETCH(QString, mask);
        QFETCH(int, noAlert);
        QFETCH(bool, skipped);
        AppState s = clockMode("9", "5");
        s.cl.ExecWeekMask = mask;
        s.job.NoAlert = noAlert;
        const QDateTime saturday(QDate(2026, 12, 12), QTime(8, 0));
        const RunPlan p = PlanStart(s, saturday, envWith());
        QCOMPARE(p.outcome, skipped ? PlanOutcome::Skip : PlanOutcome::Start);
        QCOMPARE(p.showPopup, skipped && !noAlert);
        if (skipped) {
            QCOMPARE(p.popupText, QStringLiteral("予定日（12月12日 9時5分）は exec_week ") + mask +
                                      QStringLiteral(" の指定により\r\n実行をパスします。"));
            const QJsonObject j = ExplainPlan(p);
            QCOMPARE(j.value(QStringLiteral("Outcome")).toString(), QStringLiteral("skip"));
            QCOMPARE(j.value(QStringLiteral("Refusal")).toObject().value(QStringLiteral("Text")).toString(), p.popupText);
        }
    }

    void escapeTokenInPhrase()
    {
        // Refused: a placeholder. Accepted: the prefix alone or of another word, a placeholder without its
        // closing sign or in other capitals, and a placeholder under the CPU kind (the phrase is not looked at).
        const QList<std::tuple<QString, int, bool>> cases{
            {"abc%JUGEMU_JUGEMU_GOKO_NO_comma%", 0, true}, {"%JUGEMU_JUGEMU_GOKO_NO_", 0, false},
            {"a %JUGEMU_JUGEMU_GOKO_NO_Tab% b", 0, false}, {"%JUGEMU_JUGEMU_GOKO_NO_Cr", 0, false},
            {"%jugemu_jugemu_goko_no_comma%", 0, false}, {"abc%JUGEMU_JUGEMU_GOKO_NO_comma%", 1, false}};
        for (const auto &[phrase, monitorKind, refused] : cases) {
            AppState s = minutes("10");
            s.job.MonitorEnabled = 1;
            s.job.MonitorKind = monitorKind;
            s.job.MonitorPhrase = phrase;
            const RunPlan p = PlanStart(s, kMonday, envWith());
            if (refused)
                QCOMPARE(Refusal(p), (QStringList{"refused", "入力文字エラー", "御客さん！ご冗談は止めて下さい！", "txt監視文言"}));
            else
                QCOMPARE(p.outcome, PlanOutcome::Start);
        }
    }

    void resumeTime_data()
    {
        QTest::addColumn<int>("atClock");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QDateTime>("expected");
        QTest::newRow("ten minutes after the action") << 0 << QStringList{"2026", "12", "7", "12", "0"}
                                                      << kMonday.addSecs(15 * 60);
        // Month 13 of 2026 is January 2027; day 32 of it is 1 February; 25:61 is 02:01 the next day.
        QTest::newRow("boxes carry over") << 1 << QStringList{"2026", "13", "32", "25", "61"}
                                          << QDateTime(QDate(2027, 2, 2), QTime(2, 1));
        QTest::newRow("empty year box: no resume") << 1 << QStringList{"", "", "", "", ""} << QDateTime();
    }
    void resumeTime()
    {
        QFETCH(int, atClock);
        QFETCH(QStringList, boxes);
        QFETCH(QDateTime, expected);
        AppState s = sleepWithResume(atClock);
        s.job.ResumeAfterMinutes = QStringLiteral(" 10");
        for (int i = 0; i < 5; ++i)
            s.job.ResumeDateParts[size_t(i)] = boxes[i];
        const RunPlan p = PlanStart(s, kMonday, envWith());
        QCOMPARE(p.outcome, PlanOutcome::Start);
        QCOMPARE(p.resumeTime, expected);
    }

    // A resume must come after the action by the margin; with "resume only",
    // after the start.
    void resumeTooEarly_data()
    {
        QTest::addColumn<int>("resumeOnly");
        QTest::addColumn<int>("startSecs");   // the start, in seconds after 12:00
        QTest::addColumn<int>("resumeSecs");  // the resume boxes (whole minutes), in seconds after 12:00
        QTest::addColumn<QString>("refusal"); // empty = accepted
        const QString afterAction = QStringLiteral("復帰予定日時はスリープ予定時刻(+1分)以降にして下さい！");
        const QString afterStart = QStringLiteral("復帰予定日時は現在時刻(+1分)以降にして下さい！");
        // The sleep comes five minutes after the start.
        QTest::newRow("10 s after the action") << 0 << -10 << 300 << afterAction;
        QTest::newRow("one minute after the action") << 0 << 0 << 360 << QString();
        QTest::newRow("resume only, 15 s ahead") << 1 << 45 << 60 << afterStart;
        QTest::newRow("resume only, 30 s ahead") << 1 << 30 << 60 << QString();
    }
    void resumeTooEarly()
    {
        QFETCH(int, resumeOnly);
        QFETCH(int, startSecs);
        QFETCH(int, resumeSecs);
        QFETCH(QString, refusal);
        AppState s = resumeOnly ? minutes("90") : sleepWithResume(1);
        s.job.ResumeEnabled = 1;
        s.job.ResumeOnly = resumeOnly;
        setResumeBoxes(s, kMonday.addSecs(resumeSecs));
        const RunPlan p = PlanStart(s, kMonday.addSecs(startSecs), envWith());
        if (refusal.isEmpty()) {
            QCOMPARE(p.outcome, PlanOutcome::Start);
            QCOMPARE(p.resumeTime, kMonday.addSecs(resumeSecs));
            QCOMPARE(p.targetTime.isValid(), !resumeOnly);
        } else {
            QCOMPARE(Refusal(p), (QStringList{"refused", "エラー発生", refusal, ""}));
            QCOMPARE(p.stop, StopOrder::BeforeMessage);
        }
    }

    // The year (a letter in it) and the day (empty) must hold numbers.
    void resumeBoxesMustHoldNumbers()
    {
        const QList<std::tuple<int, QString, QString>> cases{{0, "20x6", "年"}, {2, "", "日"}};
        for (const auto &[box, value, name] : cases) {
            AppState s = sleepWithResume(1);
            setResumeBoxes(s, kMonday.addSecs(3600));
            s.job.ResumeDateParts[size_t(box)] = value;
            QCOMPARE(Refusal(PlanStart(s, kMonday, envWith())),
                     (QStringList{"refused", "入力エラー", "復帰予定日時の「" + name + "」には数値を入力して下さい。",
                                  QStringLiteral("txtResume_%1").arg(box)}));
        }
    }

    void contradiction()
    {
        AppState s = minutes("5");
        s.job.ResumeOnly = 1;
        s.job.ResumeEnabled = 0;
        QCOMPARE(Refusal(PlanStart(s, kMonday, envWith())).mid(0, 3),
                 (QStringList{"refused", "矛盾", "「復帰」にチェックするか「復帰のみ」をオフにするかにして下さい。"}));
    }

    void applicationPath_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("launchApp");
        QTest::addColumn<QString>("refusedPath");  // empty = accepted
        QTest::newRow("quoted existing path") << "\"/opt/my app/run\" -x" << 1 << "";
        QTest::newRow("typo in the path") << "\"/opt/my app/rnu\" -x" << 1 << "/opt/my app/rnu";
        QTest::newRow("unquoted missing program") << "/usr/bin/nothere arg" << 1 << "/usr/bin/nothere";
        QTest::newRow("launch off: not checked") << "/usr/bin/nothere arg" << 0 << "";
        QTest::newRow("line breaks become spaces") << "/opt/tool\r\n-v" << 1 << "";
        // The program folder is /opt.
        QTest::newRow("relative path in the program folder") << "tool -v" << 1 << "";
        QTest::newRow("relative path missing there") << "my app/run" << 1 << "my";
    }
    void applicationPath()
    {
        QFETCH(QString, command);
        QFETCH(int, launchApp);
        QFETCH(QString, refusedPath);
        AppState s = sleepWithResume(0);
        setResumeBoxes(s, kMonday);
        s.job.LaunchApp = launchApp;
        s.job.AppCommand = command;
        StartEnvironment env = envWith({QStringLiteral("/opt/my app/run"), QStringLiteral("/opt/tool")});
        env.programDir = QStringLiteral("/opt");
        const RunPlan p = PlanStart(s, kMonday, env);
        if (refusedPath.isEmpty()) {
            QCOMPARE(p.outcome, PlanOutcome::Start);
        } else {
            QCOMPARE(Refusal(p), (QStringList{"refused", "パスエラー", "記述されたパスは無効です。\r\n\r\n" + refusedPath,
                                              "txtExecAp"}));
            QCOMPARE(p.stop, StopOrder::None);
        }
    }

    void existingFileIsNotAFolder()
    {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("prog")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(ExistingFile(f.fileName()));
        QVERIFY(!ExistingFile(dir.path()));
        QVERIFY(!ExistingFile(dir.filePath(QStringLiteral("nothing"))));
    }

    void selfRestartTimeLimit()
    {
        const QList<std::pair<QString, bool>> cases{{"-auto -reboot -time 61", true}, {"-auto -reboot -time 60", false},
                                                    {"-auto -t 90", true}, {"-t 90 -time 30", false},
                                                    {"-auto -reboot", false}};
        for (const auto &[parameters, refused] : cases) {
            AppState s = sleepWithResume(0);
            setResumeBoxes(s, kMonday);
            s.job.AppCommand = QStringLiteral("/usr/bin/zenkoro ") + parameters;
            const RunPlan p = PlanStart(s, kMonday, envWith({QStringLiteral("/usr/bin/zenkoro")}));
            QCOMPARE(p.outcome, refused ? PlanOutcome::Refused : PlanOutcome::Start);
            if (refused)
                QCOMPARE(p.text, QStringLiteral("Zenkoroのパラメーターの時間 time,t は 60以内にして下さい。"));
        }
    }

    void resumeWeekdayExcluded_data()
    {
        QTest::addColumn<int>("noAlert");
        QTest::addColumn<int>("resumeOnly");
        QTest::addColumn<ResumeDayRule>("rule");
        QTest::newRow("popup and stop") << 0 << 0 << ResumeDayRule::CancelRun;
        QTest::newRow("no alert drops the resume") << 1 << 0 << ResumeDayRule::DropResume;
        QTest::newRow("no alert, resume only: program ends") << 1 << 1 << ResumeDayRule::EndProgram;
    }
    void resumeWeekdayExcluded()
    {
        QFETCH(int, noAlert);
        QFETCH(int, resumeOnly);
        QFETCH(ResumeDayRule, rule);
        AppState s = sleepWithResume(1);
        s.job.ResumeOnly = resumeOnly;
        s.job.NoAlert = noAlert;
        const QDateTime sunday(QDate(2026, 12, 13), QTime(7, 30));
        setResumeBoxes(s, sunday);
        s.job.setResumeWeekday(1, 0);  // Sunday off
        const RunPlan p = PlanStart(s, kMonday, envWith());
        QCOMPARE(p.outcome, PlanOutcome::Start);
        QCOMPARE(p.resumeDay, rule);
        if (rule == ResumeDayRule::CancelRun)
            QCOMPARE(p.resumePopupText,
                     QStringLiteral("復帰予定日は \r\n2026年12月13日(日曜日) 07:30\r\n復帰無効曜日です。処理をキャンセルします。"));
        const QJsonObject j = ExplainPlan(p);
        QCOMPARE(j.contains(QStringLiteral("Refusal")), rule != ResumeDayRule::DropResume);
        if (rule == ResumeDayRule::DropResume)
            QCOMPARE(j.value(QStringLiteral("ResumeTime")).toString(), QString());
    }

    void explainJson()
    {
        AppState s = sleepWithResume(0);
        s.job.ResumeAfterMinutes = QStringLiteral(" 10");
        setResumeBoxes(s, kMonday);
        QCOMPARE(ExplainPlan(s, kMonday, envWith()), (QJsonObject{{"Outcome", "start"},
                                                                   {"TargetTime", "2026-12-07T12:05:00"},
                                                                   {"ResumeTime", "2026-12-07T12:15:00"}}));
        s.job.DelayMinutes = QStringLiteral("20000");
        const QJsonObject refusal{{"Title", "入力エラー"}, {"Text", "分後：14400以下の数値を入力"}};
        QCOMPARE(ExplainPlan(s, kMonday, envWith()), (QJsonObject{{"Outcome", "refused"}, {"Refusal", refusal}}));
    }

    void formatRemaining()
    {
        // A day and more, just under a day, half a second (rounds up), zero.
        const QList<std::pair<qint64, QString>> cases{
            {qint64(26 * 3600) * 1000, "1日 02:00:00"}, {86399000, "23:59:59"}, {500, "00:00:01"}, {0, "00:00:00"}};
        for (const auto &[ms, text] : cases)
            QCOMPARE(FormatRemaining(ms), text);
    }

    void warningLead()
    {
        // Force, popup_time (-1: none), the lead: no force, force, popup_time wins, popup_time 0, the 16-bit limit.
        const QList<std::array<int, 3>> cases{{0, -1, 15}, {1, -1, 30}, {1, 7, 7}, {0, 0, 0}, {0, 100000, 32767}};
        for (const auto &[force, popup, lead] : cases) {
            AppState s;
            s.job.Force = force;
            s.cl.PopupLeadSeconds = popup;
            QCOMPARE(WarningLeadSeconds(s), lead);
        }
    }
};

QTEST_GUILESS_MAIN(TestRunPlan)
#include "tst_run_plan.moc"
