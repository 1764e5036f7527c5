// Numbers, parameters and dates as the program reads and writes them; the
// rules of a job's boxes and buttons; the command history and its list.
#include "core/datetime.h"
#include "core/job_edit.h"
#include "core/text.h"
#include "input/command_history.h"

#include <QTest>
#include <cfloat>
#include <limits>
#include <tuple>

#include "support/local_zone.h"

using namespace zk;

namespace {

QStringList entries(const HistorySettings &h)
{
    return h.HistoryText.split(QLatin1Char('\t'));
}

QStringList texts(const HistoryList &l)
{
    QStringList t;
    for (const HistoryRow &r : l.rows)
        t << r.text;
    return t;
}

}  // namespace

class TstText : public QObject {
    Q_OBJECT
private slots:
    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("padded list text") << "  90" << 90.0;
        QTest::newRow("trailing text") << "12abc" << 12.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("negative") << "-5" << -5.0;
        QTest::newRow("leading dot") << ".5x" << 0.5;
        QTest::newRow("full-width digits are not digits") << QString::fromUtf8("１２") << 0.0;
        QTest::newRow("beyond a double stays the largest") << QStringLiteral("9") + QString(400, QLatin1Char('9')) << DBL_MAX;
        QTest::newRow("below the smallest fraction") << QStringLiteral("0.") + QString(400, QLatin1Char('0')) + "1" << 0.0;
    }
    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(LeadingNumber(text), value);
    }

    void halfToEven()
    {
        const std::pair<double, qint64> cases[] = {
            {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {1e19, std::numeric_limits<qint64>::max()}};
        for (const auto &[value, rounded] : cases)
            QCOMPARE(RoundHalfEven(value), rounded);
    }

    // Written numbers stay plain digits and read back as the same value.
    void numberText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");  // null: only the read-back
        QTest::newRow("fraction") << 0.1 << "0.1";
        QTest::newRow("sixteen digits") << 1e15 << "1000000000000000";
        QTest::newRow("small fraction") << 1e-7 << "0.0000001";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("seventeen significant digits") << 0.1 + 0.2 << QString();
        QTest::newRow("largest double") << DBL_MAX << QString();
        QTest::newRow("smallest double") << 5e-324 << QString();
    }
    void numberText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        const QString written = NumberText(value);
        if (!text.isNull())
            QCOMPARE(written, text);
        QVERIFY2(!written.contains(QLatin1Char('e')), qPrintable(written));
        QCOMPARE(LeadingNumber(written), value);
    }

    void isNumeric()
    {
        for (const char *yes : {"10", " 1.5 "})
            QVERIFY2(IsNumeric(QString::fromLatin1(yes)), yes);
        for (const char *no : {"", "8x", "x", "-"})
            QVERIFY2(!IsNumeric(QString::fromLatin1(no)), no);
    }

    void splitParameters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("plain") << " -auto -time 10" << QStringList{"", "auto", "time 10"};
        QTest::newRow("bracket keeps separator")
            << " -resume_ap <prog -x -y> -auto" << QStringList{"", "resume_ap <prog -x -y>", "auto"};
        QTest::newRow("single hyphen in value") << " -appear a-b c" << QStringList{"", "appear a-b c"};
        QTest::newRow("no separator") << "abc" << QStringList{"abc"};
        QTest::newRow("unbalanced close") << " -a> -b" << QStringList{"", "a>", "b"};
    }
    void splitParameters()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, parts);
        QCOMPARE(SplitParameters(text, " -", "<", ">"), parts);
    }

    void collapseAndStrip()
    {
        QCOMPARE(CollapseSpaces(QStringLiteral("  a   b  ")), QStringLiteral("a b"));
        // A run of mixed spaces keeps its first one; a full-width space is not trimmed.
        QCOMPARE(CollapseSpaces(QString::fromUtf8("a\u3000 b")), QString::fromUtf8("a\u3000b"));
        QCOMPARE(CollapseSpaces(QString::fromUtf8("a \u3000b")), QStringLiteral("a b"));
        QCOMPARE(StripBrackets(QStringLiteral("  <x y>  "), "<", ">"), QStringLiteral("x y"));
        QCOMPARE(StripBrackets(QStringLiteral("<x"), "<", ">"), QStringLiteral("<x"));
        QCOMPARE(StripBrackets(QStringLiteral("< x >"), "<", ">"), QStringLiteral("x"));
        QCOMPARE(StripBrackets(QStringLiteral("<>"), "<", ">"), QString());
    }

    void yesNo()
    {
        for (const char *y : {"y", "Y", "yes", "YES"})
            QCOMPARE(YesNo(QString::fromLatin1(y)), 1);
        for (const char *n : {"n", "Yes", "", "1", "true"})
            QCOMPARE(YesNo(QString::fromLatin1(n)), 0);
    }

    void commandAndParameterPart()
    {
        const std::tuple<const char *, const char *, const char *> cases[] = {
            {"notepad.exe a.txt", "notepad.exe", "a.txt"},
            {" \"C:\\Program Files\\x.exe\"  -a b ", "\"C:\\Program Files\\x.exe\"", "-a b"},
            {"\"abc def", "\"abc def", ""},
            {"", "", ""}};
        for (const auto &[command, program, parameters] : cases) {
            QCOMPARE(CommandPart(QString::fromUtf8(command)), QString::fromUtf8(program));
            QCOMPARE(ParameterPart(QString::fromUtf8(command)), QString::fromUtf8(parameters));
        }
    }

    void dates()
    {
        // 2026-12-06 is a Sunday.
        QCOMPARE(WeekdayNumber(QDate(2026, 12, 6)), 1);
        QCOMPARE(WeekdayNumber(QDate(2026, 12, 12)), 7);
        const QDateTime t(QDate(2026, 3, 4), QTime(5, 6, 7));
        QCOMPARE(FormatMonthDayHourMinute(t), QString::fromUtf8("03月04日 05時06分"));
        QCOMPARE(FormatShortDate(t), QString::fromUtf8("3月4日 5時6分"));
        QCOMPARE(FormatLongDate(t), QString::fromUtf8("2026年03月04日(水曜日) 05:06"));
        QCOMPARE(FormatClock(t), QStringLiteral("05:06:07"));
        QCOMPARE(FormatHms(3661), QStringLiteral("01:01:01"));
        QCOMPARE(ToDayCount(QDateTime(QDate(1899, 12, 31), QTime(12, 0))), 1.5);
        QCOMPARE(FromDayCount(ToDayCount(t)), t);
    }

    // A clock time is the wall clock's hour and minute of its date, also on
    // the days daylight saving time begins (02:00-03:00 skipped) and ends
    // (02:00-03:00 shown twice); values too large for any date give none.
    void wallClockTimes_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<qint64>("hours");
        QTest::addColumn<qint64>("minutes");
        QTest::addColumn<QString>("expected");  // ISO 8601 with the offset; "" = invalid
        const QDate spring(2025, 3, 30), autumn(2025, 10, 26);
        QTest::newRow("08:00 when summer time begins") << spring << qint64(8) << qint64(0) << "2025-03-30T08:00:00+02:00";
        QTest::newRow("08:00 when summer time ends") << autumn << qint64(8) << qint64(0) << "2025-10-26T08:00:00+01:00";
        QTest::newRow("carried into the change day") << autumn.addDays(-1) << qint64(31) << qint64(60)
                                                     << "2025-10-26T08:00:00+01:00";
        QTest::newRow("skipped 02:30 is 03:30") << spring << qint64(2) << qint64(30) << "2025-03-30T03:30:00+02:00";
        QTest::newRow("repeated 02:30 is its first showing") << autumn << qint64(2) << qint64(30)
                                                             << "2025-10-26T02:30:00+02:00";
        QTest::newRow("hour 3000000000000") << autumn << qint64(3000000000000) << qint64(0) << "";
        QTest::newRow("hour 9999999999999999") << autumn << qint64(9999999999999999) << qint64(-1) << "";
        QTest::newRow("minute -2^62") << autumn << qint64(0) << -(qint64(1) << 62) << "";
    }
    void wallClockTimes()
    {
        QFETCH(QDate, date);
        QFETCH(qint64, hours);
        QFETCH(qint64, minutes);
        QFETCH(QString, expected);
        const zktest::LocalZone berlin("Europe/Berlin");
        const QDateTime t = AtClock(date, hours, minutes);
        QCOMPARE(t.isValid() ? t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODate) : QString(), expected);
        if (t.isValid())
            QCOMPARE(AtClockMs(date, (hours * 60 + minutes) * 60000), t);
    }

    // The time a multi or resume list row names: whole hours 0..23 and
    // minutes 0..59 read as the boxes read numbers; any other text names none.
    void rowClockTimes()
    {
        const QList<std::tuple<QString, QString, QTime>> rows = {
            {"8", "30", QTime(8, 30)},   {" 23", "59", QTime(23, 59)}, {"7abc", "0", QTime(7, 0)},
            {"0", "0", QTime(0, 0)},     {"24", "0", QTime()},         {"3000000000000", "0", QTime()},
            {"abc", "xyz", QTime()},     {" ", "5", QTime()},          {"8", "-30", QTime()},
            {"8.9", "0", QTime()},       {"-5", "0", QTime()},         {"8", "60", QTime()},
        };
        for (const auto &[hour, minute, expected] : rows)
            QVERIFY2(RowClockTime(hour, minute).value_or(QTime()) == expected, qPrintable(hour + u',' + minute));
    }

    // The rules of the boxes and buttons of a job: spinning, correcting,
    // filtering, what an operation allows.
    void spinAndCorrectBoxes()
    {
        // {text, direction (0 up, 1 down), highest, expected}
        const std::tuple<const char *, int, int, const char *> spins[] = {
            {"23", 0, 23, "0"}, {"0", 1, 59, "59"}, {"", 0, 23, "1"}, {"30", 0, 23, "0"}, {"09", 0, 59, "10"}};
        for (const auto &[text, direction, high, expected] : spins)
            QCOMPARE(SpinValue(QString::fromLatin1(text), direction, high, 0), QString::fromLatin1(expected));
        // {text, max, expected}: 25 hours give 23, empty gives 0, values in range stay.
        const std::tuple<const char *, int, const char *> corrections[] = {
            {"25", 23, "23"}, {"", 23, "0"}, {"07", 23, "07"}, {"59", 59, "59"}};
        for (const auto &[text, max, expected] : corrections)
            QCOMPARE(CorrectClockBox(QString::fromLatin1(text), max), QString::fromLatin1(expected));
    }

    void digitsOnly()
    {
        QCOMPARE(DigitsOnly(QStringLiteral("1７a2-3")), QStringLiteral("123"));  // full-width digits are not digits
        QCOMPARE(DigitsOnly(QStringLiteral("  9x0"), true), QStringLiteral("  90"));
        QCOMPARE(DigitsOnly(QStringLiteral("  9 0"), false), QStringLiteral("90"));
        QCOMPARE(DigitsOnly(QStringLiteral(" a1.5b-"), true, true), QStringLiteral(" 1.5"));  // the CPU lower limit
    }

    void resumeAllowed()
    {
        for (const OperationKind op : kOperationKinds)
            QCOMPARE(ResumeUsable(op, false), op == OperationKind::Sleep || op == OperationKind::Hibernate);
        QVERIFY(!ResumeUsable(std::nullopt, false));
        QVERIFY(ResumeUsable(OperationKind::Reboot, true));
    }

    // An operation read at start-up goes through the operation list's check.
    void loadedOperationIsChecked()
    {
        // {loaded, allowed, expected}: hibernation refused leaves the default (with a
        // message), allowed is taken; sleep needs no permission.
        const std::tuple<int, bool, int> cases[] = {{3, false, 0}, {3, true, 3}, {4, false, 4}};
        for (const auto &[loaded, allowed, expected] : cases) {
            AppState s;
            s.job.Operation = loaded;
            const bool permitted = allowed;
            const auto shown = KeepAllowedOperation(s, 0, [permitted] { return permitted; });
            QCOMPARE(s.job.Operation, expected);
            QCOMPARE(shown, expected == loaded ? std::nullopt : std::optional(UserMessage{
                "無効", "「休止」は無効となっています。\r\n[電源のオプション]から「休止」を有効にして下さい。"}));
        }
    }

    void timingModeFillsOnlyWhenBothEmpty()
    {
        const QDateTime now(QDate(2026, 12, 7), QTime(9, 5, 30));
        JobSettings j;
        SetTimingMode(j, 1, now);
        QCOMPARE(j.TimingMode, 1);
        QCOMPARE(j.ClockHour, QStringLiteral("9"));
        QCOMPARE(j.ClockMinute, QStringLiteral("5"));

        JobSettings k;
        k.ClockMinute = QStringLiteral("30");
        SetTimingMode(k, 2, now);
        QCOMPARE(k.TimingMode, 1);
        QCOMPARE(k.ClockHour, QString());
        QCOMPARE(k.ClockMinute, QStringLiteral("30"));
        SetTimingMode(k, 0, now);
        QCOMPARE(k.TimingMode, 0);
    }

    void fixResumeDate()
    {
        const QDate today(2026, 12, 6);
        JobSettings j;
        j.ResumeDateParts = {"2020", "1", "2", "3", "4"};
        FixResumeDate(j, today);
        QCOMPARE(j.ResumeDateParts, (std::array<QString, 5>{"2026", "12", "6", "3", "4"}));
        j.ResumeDateParts = {"2027", "1", "2", "3", "4"};
        FixResumeDate(j, today);
        QCOMPARE(j.ResumeDateParts[0], QStringLiteral("2027"));
    }

    // Which operation each quick button runs.
    void quickButtons()
    {
        QList<int> indexes;
        for (const QuickButtonSpec &b : QuickButtons())
            indexes << b.index;
        QCOMPARE(indexes, (QList<int>{0, 1, 3, 4}));
    }

    void quickActionClearsMonitorAndResume()
    {
        AppState s;
        s.job.MonitorEnabled = 1;
        s.job.ResumeEnabled = 1;
        s.job.TimingMode = 1;
        s.job.DelayMinutes = QStringLiteral("  90");
        ApplyQuickAction(s, 4);
        QCOMPARE(s.job.Operation, 4);
        QCOMPARE(s.job.TimingMode, 0);
        QCOMPARE(s.job.DelayMinutes, QStringLiteral("   0"));
        QCOMPARE(s.job.Force, 1);
        QCOMPARE(s.job.MonitorEnabled, 0);
        QCOMPARE(s.job.ResumeEnabled, 0);
        QVERIFY(s.cl.AutoStart);
    }

    void resumeDateSpin_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("direction");
        QTest::addColumn<QStringList>("after");
        const QStringList base{"2026", "12", "31", "23", "59"};
        QTest::newRow("year up") << base << 0 << 0 << QStringList{"2027", "12", "31", "23", "59"};
        QTest::newRow("year wraps to this year") << QStringList{"2027", "1", "1", "0", "0"} << 0 << 0
                                                 << QStringList{"2026", "1", "1", "0", "0"};
        QTest::newRow("month up wraps, day cut") << base << 1 << 0 << QStringList{"2026", "1", "31", "23", "59"};
        QTest::newRow("month to February cuts day") << QStringList{"2026", "1", "31", "8", "0"} << 1 << 0
                                                    << QStringList{"2026", "2", "28", "8", "0"};
        QTest::newRow("day wraps at month end") << base << 2 << 0 << QStringList{"2026", "12", "1", "23", "59"};
        QTest::newRow("day down wraps to 30 in November") << QStringList{"2026", "11", "1", "8", "0"} << 2 << 1
                                                          << QStringList{"2026", "11", "30", "8", "0"};
        QTest::newRow("empty year fills all") << QStringList{"", "", "", "", ""} << 3 << 0
                                              << QStringList{"2026", "12", "7", "9", "5"};
        QTest::newRow("empty own box, year set: nothing")
            << QStringList{"2026", "12", "", "8", "0"} << 2 << 0 << QStringList{"2026", "12", "", "8", "0"};
    }
    void resumeDateSpin()
    {
        QFETCH(QStringList, before);
        QFETCH(int, box);
        QFETCH(int, direction);
        QFETCH(QStringList, after);
        std::array<QString, 5> parts;
        std::copy(before.begin(), before.end(), parts.begin());
        const bool changed = SpinResumeDate(parts, box, direction, QDateTime(QDate(2026, 12, 7), QTime(9, 5)));
        QCOMPARE(QStringList(parts.begin(), parts.end()), after);
        QCOMPARE(changed, before != after);
    }

    // The command history and the rows of its drop-down list.
    void addKeepsNewestFirstOnceAndWithinTheLimit()
    {
        HistorySettings h;
        for (const char *c : {"a", "b", " a "})
            AddToHistory(h, QString::fromLatin1(c));
        QCOMPARE(entries(h), (QStringList{"a", "b"}));

        h.HistoryMax = 3;
        h.HistoryText = QStringLiteral("c\tb\ta");
        AddToHistory(h, QStringLiteral("d"));
        QCOMPARE(entries(h), (QStringList{"d", "c", "b"}));

        // Moving an entry to the head keeps the others up to the limit.
        h.HistoryMax = 2;
        h.HistoryText = QStringLiteral("b\ta");
        AddToHistory(h, QStringLiteral("a"));
        QCOMPARE(entries(h), (QStringList{"a", "b"}));

        // Case counts; a tab inside a command would split it in two.
        h.HistoryMax = 10;
        h.HistoryText = QStringLiteral("A");
        AddToHistory(h, QStringLiteral("x\ty"));
        QCOMPARE(entries(h), (QStringList{"x y", "A"}));

        // An empty box is an empty head; the next command takes its place.
        AddToHistory(h, QString());
        QCOMPARE(entries(h), (QStringList{"", "x y", "A"}));
        AddToHistory(h, QStringLiteral("z"));
        QCOMPARE(entries(h), (QStringList{"z", "x y", "A"}));

        // A lowered limit cuts at the next addition; one entry at the least.
        h.HistoryMax = 0;
        AddToHistory(h, QStringLiteral("q"));
        QCOMPARE(h.HistoryText, QStringLiteral("q"));
    }

    void menuStaysWithinItsLimits()
    {
        QCOMPARE(StepHistoryRows(20, 1), 20);
        QCOMPARE(StepHistoryRows(1, -1), 1);
        QCOMPARE(StepHistoryRows(7, 1), 8);
        QCOMPARE(StepHistoryMax(100, 1), 100);
        QCOMPARE(StepHistoryMax(1, -1), 1);
        // A file may hold numbers outside the menu's range.
        QCOMPARE(StepHistoryRows(500, -1), 20);
        QCOMPARE(StepHistoryMax(-3, 1), 1);

        QCOMPARE(ToggleHistorySort(QString(), 0), QStringLiteral("0"));
        QCOMPARE(ToggleHistorySort(QStringLiteral("0"), 1), QStringLiteral("1"));
        QCOMPARE(ToggleHistorySort(QStringLiteral("1"), 1), QString());

        // The arrow keys in the list.
        QCOMPARE(StepHistoryRow(-1, -1, 3), 0);
        QCOMPARE(StepHistoryRow(-1, 1, 3), 0);
        QCOMPARE(StepHistoryRow(0, -1, 3), 0);
        QCOMPARE(StepHistoryRow(1, 1, 3), 2);
        QCOMPARE(StepHistoryRow(2, 1, 3), 2);
        QCOMPARE(StepHistoryRow(-1, 1, 0), -1);
    }

    void colours()
    {
        QCOMPARE(ParseHistoryColor("12345"), std::nullopt);
        QCOMPARE(ParseHistoryColor("xyzxyz"), std::nullopt);

        HistorySettings h;
        h.HistoryColors = DefaultHistoryColors();
        h.HistoryText = QStringLiteral("run /SHUTDOWN\tplain\tx /capture /sound\t\ty /capture");
        HistoryList l = OpenHistoryList(h, h.HistoryOddColor, h.HistoryColors, QStringLiteral("plain"));
        QCOMPARE(texts(l), (QStringList{"run /SHUTDOWN", "plain", "x /capture /sound", "y /capture"}));
        QCOMPARE(l.rows[0].textColor, std::optional(RunColor{255, 0, 0}));  // "/shutdown:0000ff"
        QCOMPARE(l.rows[1].textColor, std::nullopt);
        QCOMPARE(l.rows[2].textColor, std::optional(RunColor{0, 0, 255}));  // "/sound" is listed first
        QCOMPARE(l.rows[3].textColor, std::optional(RunColor{0, 128, 0}));
        QCOMPARE(l.current, 1);
        QCOMPARE(l.oddColor, std::optional(RunColor{224, 255, 255}));
        const QList<bool> odd{l.rows[0].oddBack, l.rows[1].oddBack, l.rows[2].oddBack, l.rows[3].oddBack};
        QCOMPARE(odd, (QList<bool>{false, true, false, true}));

        // Switched off from the menu; an entry without a word colours nothing.
        l = OpenHistoryList(h, QString(), QStringLiteral("\t:0000ff\t/CAP:ff0000"), QString());
        QCOMPARE(l.oddColor, std::nullopt);
        QVERIFY(!l.rows[1].oddBack);
        QCOMPARE(l.rows[0].textColor, std::nullopt);
        QCOMPARE(l.rows[2].textColor, std::optional(RunColor{0, 0, 255}));
        QCOMPARE(l.current, -1);
    }

    void sortedRowsDeleteExactlyTheEntryShown()
    {
        HistorySettings h;
        h.HistoryText = QStringLiteral("b\tC\ta\tB");
        h.HistorySort = QStringLiteral("0");
        HistoryList l = OpenHistoryList(h, QString(), QString(), QString());
        QCOMPARE(texts(l), (QStringList{"a", "b", "B", "C"}));  // equal without case: stored order
        RemoveHistoryEntry(h, l.rows[2]);
        QCOMPARE(h.HistoryText, QStringLiteral("b\tC\ta"));

        h.HistorySort = QStringLiteral("1");
        l = OpenHistoryList(h, QString(), QString(), QStringLiteral("a"));
        QCOMPARE(texts(l), (QStringList{"C", "b", "a"}));
        QCOMPARE(l.current, 2);
        RemoveHistoryEntry(h, l.rows[0]);
        QCOMPARE(h.HistoryText, QStringLiteral("b\ta"));

        // Empty entries go with the rebuild.
        h.HistoryText = QStringLiteral("\tx\t\ty");
        h.HistorySort.clear();
        l = OpenHistoryList(h, QString(), QString(), QString());
        RemoveHistoryEntry(h, l.rows[1]);
        QCOMPARE(h.HistoryText, QStringLiteral("x"));
    }
};

QTEST_APPLESS_MAIN(TstText)
#include "tst_text.moc"
