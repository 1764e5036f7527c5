// The weekly resume table: which wake time and application it gives, and the
// editing rules of its form.
#include "core/command_line.h"
#include "resume/weekly_resume.h"
#include "support/fake/fake_clock.h"
#include "support/local_zone.h"

#include <QtTest>

using namespace zk;

namespace {

// Monday 7 December 2026.
QDateTime Monday(int h, int m = 0)
{
    return QDateTime(QDate(2026, 12, 7), QTime(h, m));
}

// "row=h:m:app" items; the mask is Sunday first.
AppState Make(const QString &mask, const QStringList &rows)
{
    AppState s;
    for (int w = 1; w <= 7; ++w)
        s.job.setResumeWeekday(w, mask[w - 1] == QLatin1Char('1') ? 1 : 0);
    for (const QString &item : rows) {
        const int eq = int(item.indexOf(QLatin1Char('=')));
        const QStringList f = item.mid(eq + 1).split(QLatin1Char(':'));
        ResumeEntry &e = s.WeeklyResumeTable[size_t(item.left(eq).toInt())];
        e.Hour = f.value(0);
        e.Minute = f.value(1);
        e.Application = f.value(2);
    }
    return s;
}

}  // namespace

class TestWeeklyResume : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void choice_data()
    {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QStringList>("rows");  // 0 = default, 1 = Sunday .. 7 = Saturday
        QTest::addColumn<QDateTime>("expected");
        QTest::addColumn<QString>("application");
        const QDate tue(2026, 12, 8);
        QTest::newRow("default passed today: tomorrow")
            << Monday(8) << "1111111" << QStringList{"0=7:0:def"} << QDateTime(tue, QTime(7, 0)) << "def";
        QTest::newRow("same date: the weekday row wins over an earlier default")
            << Monday(8) << "1111111" << QStringList{"0=7:0:def", "3=9:30:tue"} << QDateTime(tue, QTime(9, 30))
            << "tue";
        QTest::newRow("only Wednesday ticked")
            << Monday(8) << "0001000" << QStringList{"0=6:0:def"} << QDateTime(QDate(2026, 12, 9), QTime(6, 0))
            << "def";
        QTest::newRow("only Monday, time passed: next week is not looked at")
            << Monday(8) << "0100000" << QStringList{"0=7:0:def"} << QDateTime() << "";
        QTest::newRow("only Monday, time to come") << Monday(6) << "0100000" << QStringList{"0=7:0:def"}
                                                   << Monday(7) << "def";
        QTest::newRow("earlier day wins: default today, weekday row tomorrow")
            << Monday(8) << "1111111" << QStringList{"0=10:0:def", "3=6:0:tue"} << Monday(10) << "def";
        QTest::newRow("earlier day wins: weekday row today, default tomorrow")
            << Monday(8) << "1111111" << QStringList{"0=7:0:def", "2=9:0:mon"} << Monday(9) << "mon";
        QTest::newRow("Saturday wraps to Sunday")
            << QDateTime(QDate(2026, 12, 12), QTime(23, 0)) << "1000000" << QStringList{"1=6:0:sun"}
            << QDateTime(QDate(2026, 12, 13), QTime(6, 0)) << "sun";
        QTest::newRow("a row without minute is skipped, default or weekday")
            << Monday(8) << "1111111" << QStringList{"0=9:", "2=10:"} << QDateTime() << "";
        QTest::newRow("strictly after now: this very minute is not taken")
            << Monday(8) << "0100000" << QStringList{"2=8:0:x"} << QDateTime() << "";
        QTest::newRow("rows whose time is no time of day give none")
            << Monday(8) << "1111111"
            << QStringList{"0=-5:0:def", "2=abc:xyz:mon", "5=24:0:thu", "6=8:-30:fri"}
            << QDateTime() << "";
    }
    void choice()
    {
        QFETCH(QDateTime, now);
        QFETCH(QString, mask);
        QFETCH(QStringList, rows);
        QFETCH(QDateTime, expected);
        QFETCH(QString, application);
        AppState s = Make(mask, rows);
        s.cl.ResumeTime = now.addDays(30);  // an earlier result goes
        s.cl.ResumeAppCommand = QStringLiteral("old");
        FakeClock clock(now);
        ApplyWeeklyResumeList(s, clock);
        QCOMPARE(s.cl.ResumeTime, expected);
        QCOMPARE(s.cl.ResumeAppCommand, application);
    }

    // "リスト値セット" shows the result in the boxes, or empties them as
    // "クリア" does; -resume_list sets the resume without a button.
    void boxesAndCommandLine()
    {
        AppState s = Make("1111111", {"0=7:5:app -x"});
        FakeClock clock(Monday(8));
        ApplyWeeklyResumeList(s, clock);
        ShowResumeInBoxes(s.job, s.cl);
        QCOMPARE(s.job.ResumeDateParts, (std::array<QString, 5>{"2026", "12", "8", "7", "5"}));
        QCOMPARE(s.job.AppCommand, QStringLiteral("app -x"));
        s.WeeklyResumeTable[0] = ResumeEntry();
        ApplyWeeklyResumeList(s, clock);
        ShowResumeInBoxes(s.job, s.cl);
        QCOMPARE(s.job.ResumeDateParts, (std::array<QString, 5>{}));
        QVERIFY(s.job.AppCommand.isEmpty());

        // The list's clock time is used even when the file had the minutes mode.
        AppState c = Make("1111111", {"0=7:5:app"});
        c.job.ResumeAtClock = 0;
        ParseHooks hooks;
        hooks.applyWeeklyResumeList = [&](AppState &st) { ApplyWeeklyResumeList(st, clock); };
        ParseCommandLine(QStringLiteral("-standby -resume_list"), c, clock.now(), hooks);
        QCOMPARE(c.cl.ResumeTime, QDateTime(QDate(2026, 12, 8), QTime(7, 5)));
        QCOMPARE(c.job.ResumeAtClock, 1);
    }

    // Impossible rows are said once, by name.
    void droppedRowsAreNamed()
    {
        AppState s = Make("1111111", {"0=-5:0", "2=9:0:mon", "3=8.9:0"});
        FakeClock clock(Monday(8));
        QCOMPARE(ApplyWeeklyResumeList(s, clock),
                 QStringLiteral("復帰リストの 「基本」、「火曜」 の行は時刻が正しくない（時は 0〜23、分は 0〜59）ため、時刻の無い行として扱います。"));
        QCOMPARE(s.cl.ResumeTime, Monday(9));
        s.WeeklyResumeTable[0] = s.WeeklyResumeTable[3] = ResumeEntry();
        QVERIFY(ApplyWeeklyResumeList(s, clock).isEmpty());
    }

    // The wake time is the row's wall-clock hour and minute also on the days
    // daylight saving time begins and ends.
    void wallClockOnChangeDays()
    {
        const zktest::LocalZone berlin("Europe/Berlin");
        for (const QDate day : {QDate(2025, 3, 30), QDate(2025, 10, 26)}) {
            AppState s = Make("1111111", {"0=8:0:def"});
            FakeClock clock(QDateTime(day.addDays(-1), QTime(22, 0)));
            ApplyWeeklyResumeList(s, clock);
            QCOMPARE(s.cl.ResumeTime.toString(Qt::ISODate), day.toString(Qt::ISODate) + QStringLiteral("T08:00:00"));
        }
    }

    void formSpinners()
    {
        WeekRowEdit r;
        WeekSpinHour(r, 0);
        QCOMPARE(r.hour, QStringLiteral("0"));  // empty: 0, and the minute too
        QCOMPARE(r.minute, QStringLiteral("0"));
        WeekSpinHour(r, 1);
        QCOMPARE(r.hour, QStringLiteral("23"));
        WeekSpinMinute(r, 1);
        QCOMPARE(r.minute, QStringLiteral("59"));
        r.minute = QStringLiteral("30");
        WeekSpinHour(r, 0);
        QCOMPARE(r.minute, QStringLiteral("30"));  // a minute is kept
        r.hour.clear();
        WeekHourEdited(r);
        QVERIFY(r.minute.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestWeeklyResume)
#include "tst_weekly_resume.moc"
